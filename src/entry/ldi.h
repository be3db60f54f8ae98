/*
 * TCUDVNT: the host's view of the driver.
 *
 * One export, LdiMain, called with the C calling convention (cdecl) and one
 * argument, the host call record. Every record below is a plain C struct with
 * its fields in wire order.
 *
 * Layouts. On the 32-bit Windows target (the product, TCUDVNT.dll) every
 * pointer is 4 bytes wide and each record has exactly the offsets written
 * beside its fields; the build proves it with static_asserts. On 64-bit builds
 * (Linux, the 64-bit Windows test build) the same declarations with natural
 * alignment give wider records: the 64-bit offsets are written in the second
 * column. Records without pointers are the same on every target.
 */
#ifndef TCUDVNT_LDI_H
#define TCUDVNT_LDI_H

#include <stdint.h>

#if defined(_WIN32)
#define LDI_CALL __cdecl
#else
#define LDI_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes of every operation and of LdiMain. */
enum {
  LDI_OK = 0,      /* success; every call once the driver has ended */
  LDI_REFUSED = 1, /* the driver refuses the request or cannot satisfy it */
  LDI_FAILED = 2   /* the port or the line failed; or no such operation */
};

/* Operation codes (the host call record's operation field). */
enum {
  LDI_OP_COLD_START = 1,
  LDI_OP_WARM_START = 2,
  LDI_OP_SINGLE_ADDRESS_PARSER = 3,
  LDI_OP_BLOCK_ADDRESS_PARSER = 4,
  LDI_OP_SINGLE_READ = 5,
  LDI_OP_BLOCK_READ = 6,
  LDI_OP_SINGLE_WRITE = 7,
  LDI_OP_BLOCK_WRITE = 10,
  LDI_OP_END_LDI = 11,
  LDI_OP_CLOSE_COM = 12,
  LDI_OP_RE_OPEN_COM = 13,
  LDI_OP_GET_LDI_INFO = 14,
  LDI_OP_CHANGE_LDI_PARAMS = 15
};

/* Gate data type letters. */
enum { LDI_TYPE_FLOAT = 'L', LDI_TYPE_WORD = 'W', LDI_TYPE_BIT = 'B' };

/* Host gate kinds (gate address record, kind). */
enum {
  LDI_KIND_ANALOG16 = 0,
  LDI_KIND_ANALOG16_ALT = 1,
  LDI_KIND_FLOAT = 3,
  LDI_KIND_DIGITAL = 6,
  LDI_KIND_STRING = 7
};

/* Line parameters: the serial line's settings, 8 bytes on every target. */
typedef struct LdiLineParams {
  uint16_t baudRate; /* 0: bits per second, at most 65535 */
  uint16_t dataBits; /* 2: 5 to 8 */
  uint16_t stopBits; /* 4: 0 one, 1 one and a half, 2 two */
  uint16_t parity;   /* 6: 0 none, 1 odd, 2 even, 3 mark, 4 space */
} LdiLineParams;

/* Host call record: LdiMain's argument.        32-bit / 64-bit offsets */
typedef struct LdiCall {
  void* workspace;     /*  0 /  0: the instance's workspace */
  uint32_t operation;  /*  4 /  8: operation code 0 to 16 */
  uint32_t instance;   /*  8 / 12: instance number (names the init file) */
  uint32_t unused12;   /* 12 / 16 */
  void* record;        /* 16 / 24: the operation's record */
} LdiCall;             /* 20 / 32 bytes */

/* Driver info record, filled by operation 14.   32-bit / 64-bit offsets */
typedef struct LdiInfo {
  uint32_t infoTag;                /*  0 /  0: 70 */
  const char* name;                /*  4 /  8: two NUL-terminated texts in a row */
  const char* banner;              /*  8 / 16: the 206-byte banner */
  uint32_t workspaceSize;          /* 12 / 24: 2896 */
  int32_t defaultReplyTimeout;     /* 16 / 28: 4, in units of 10 ms */
  LdiLineParams defaultLineParams; /* 20 / 32: 9600, 7, 0, 2 */
  uint32_t unused28;               /* 28 / 40: 0 */
} LdiInfo;                         /* 32 / 48 bytes */

/* Start-up record of operation 1 (ColdStart), 28 bytes on every target. */
typedef struct LdiStartup {
  char portName[12];        /*  0: NUL-terminated, at most 11 characters */
  uint32_t openPort;        /* 12: not 0: open the port */
  int32_t replyTimeout;     /* 16: units of 10 ms */
  LdiLineParams lineParams; /* 20 */
} LdiStartup;

/* Port parameter record of operation 15 (ChangeLdiParams), 24 bytes. */
typedef struct LdiPortParams {
  char portName[12];        /*  0: the port to use from now on */
  uint32_t replyTimeout;    /* 12: 0 and 0xFFFFFFFF keep the current one */
  LdiLineParams lineParams; /* 16: a baud rate of 0 keeps all four */
} LdiPortParams;

/* Gate address record of operation 3.           32-bit / 64-bit offsets */
typedef struct LdiGateAddress {
  const char* address; /*  0 /  0: the address text, as 01SET or 05OST3 */
  uint32_t unused4;    /*  4 /  8 */
  int32_t kind;        /*  8 / 12: the host's gate kind (LDI_KIND_...) */
  uint32_t unused12;   /* 12 / 16 */
  uint32_t node;       /* 16 / 20: written: node 1 to 99 */
  uint32_t type;       /* 20 / 24: written: 'L', 'W' or 'B' */
  uint32_t param;      /* 24 / 28: written: parameter index 0 to 27 */
  int32_t bit;         /* 28 / 32: written: digit 0 to 3, or -1 */
  uint32_t width;      /* 32 / 36: written: 32, 16 or 1 */
} LdiGateAddress;      /* 36 / 40 bytes */

/* Gate I/O record of operations 5 and 7.         32-bit / 64-bit offsets */
typedef struct LdiGateIo {
  const char* label; /*  0 /  0: the gate's name, printed by write failures */
  uint32_t unused4;  /*  4 /  8 */
  uint32_t node;     /*  8 / 12 */
  uint32_t type;     /* 12 / 16 */
  uint32_t param;    /* 16 / 20 */
  int32_t bit;       /* 20 / 24 */
  uint32_t unused24; /* 24 / 28 */
  uint32_t aux;      /* 28 / 32: set to 0 during a bit write's inner read */
  uint32_t unused32; /* 32 / 36 */
  uint32_t unused36; /* 36 / 40 */
  void* value;       /* 40 / 48: the 4-byte value cell */
} LdiGateIo;         /* 44 / 56 bytes */

/* Size of the workspace the host allocates per instance, on every target. */
#define LDI_WORKSPACE_SIZE 2896u

int32_t LDI_CALL LdiMain(LdiCall* call);

#ifdef __cplusplus
}
#endif

#endif
