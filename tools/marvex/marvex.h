/*
 * The stand-in MARVEX.DLL: the host library whose err the driver logs through.
 *
 * It is for tests and for the tcudv tool only, never to be installed beside a
 * real host: a real host brings its own MARVEX.DLL, and this one would shadow it.
 *
 * err formats each line and hands it to the sink the loading program set with
 * MarvexSetSink; without a sink the line goes to stderr with its level.
 */
#ifndef TCUDV_MARVEX_H
#define TCUDV_MARVEX_H

#ifdef __cplusplus
extern "C" {
#endif

/* Receives one formatted line, without a line feed, and its level (8 or 32). */
typedef void(__cdecl* MarvexSink)(int level, const char* text);

/* Sets the sink (null: back to stderr) and returns the one set before. */
typedef MarvexSink(__cdecl* MarvexSetSinkFunction)(MarvexSink sink);

#ifdef __cplusplus
}
#endif

#endif
