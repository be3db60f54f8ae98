// The few serial-port operations the serial library needs, in types of our own.
// One implementation is linked in: comm_win32.cpp, comm_posix.cpp, or the
// tests' fake. Nothing here knows of frames, gates or workspaces.
#ifndef TCUDVNT_COMM_H
#define TCUDVNT_COMM_H

#include <cstdint>

namespace tcudv {

// A port handle as the workspace keeps it: 32 bits, never 0 for an open port.
using CommHandle = uint32_t;
inline constexpr CommHandle kInvalidHandle = 0xFFFFFFFFu;  // a failed open

inline constexpr uint8_t DTR_CONTROL_DISABLE = 0;
inline constexpr uint8_t DTR_CONTROL_ENABLE = 1;
inline constexpr uint8_t DTR_CONTROL_HANDSHAKE = 2;
inline constexpr uint8_t RTS_CONTROL_DISABLE = 0;
inline constexpr uint8_t RTS_CONTROL_ENABLE = 1;
inline constexpr uint8_t RTS_CONTROL_HANDSHAKE = 2;
inline constexpr uint8_t RTS_CONTROL_TOGGLE = 3;

// The line state the library reads, changes in part and writes back.
struct LineState {
  uint32_t baudRate;
  uint8_t byteSize;
  uint8_t parity;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  uint8_t stopBits;  // 0 one, 1 one and a half, 2 two
  bool fBinary;
  bool fParity;
  bool fOutxCtsFlow;
  bool fOutxDsrFlow;
  uint8_t fDtrControl;
  bool fDsrSensitivity;
  bool fTXContinueOnXoff;
  bool fOutX;
  bool fInX;
  bool fErrorChar;
  bool fNull;
  uint8_t fRtsControl;
  bool fAbortOnError;
  uint16_t xonLim;
  uint16_t xoffLim;
  char xonChar;
  char xoffChar;
  char errorChar;
  char eofChar;
  char evtChar;
};

// Read and write time-outs in milliseconds. With interval and multiplier 0 a
// read returns what has come once the constant has passed.
struct CommTimeouts {
  uint32_t readIntervalTimeout;
  uint32_t readTotalTimeoutMultiplier;
  uint32_t readTotalTimeoutConstant;
  uint32_t writeTotalTimeoutMultiplier;
  uint32_t writeTotalTimeoutConstant;
};

struct QueueCounts {
  uint32_t cbInQue;   // bytes received and not yet read
  uint32_t cbOutQue;  // bytes written and not yet on the line
};

// Opens a device exclusively for reading and writing; kInvalidHandle on failure.
CommHandle CommOpen(const char* name);
bool CommClose(CommHandle handle);
bool CommGetState(CommHandle handle, LineState* state);
bool CommSetState(CommHandle handle, const LineState& state);
bool CommGetTimeouts(CommHandle handle, CommTimeouts* timeouts);
bool CommSetTimeouts(CommHandle handle, const CommTimeouts& timeouts);
bool CommSetupQueues(CommHandle handle, uint32_t inputSize, uint32_t outputSize);
// Clears a pending line error and reports the queue counts.
bool CommClearError(CommHandle handle, QueueCounts* counts);
bool CommSetRts(CommHandle handle);
bool CommClearRts(CommHandle handle);
// A read that times out succeeds with the bytes that came, possibly none.
bool CommRead(CommHandle handle, void* buffer, uint32_t count, uint32_t* bytesRead);
bool CommWrite(CommHandle handle, const void* data, uint32_t count, uint32_t* bytesWritten);
bool CommSetBreak(CommHandle handle);
bool CommClearBreak(CommHandle handle);
void CommSleep(uint32_t milliseconds);
// A millisecond tick from an arbitrary start that wraps at 2^32, as GetTickCount:
// only differences mean anything. It bounds waits; it is no port call.
uint32_t CommTickCount();

}  // namespace tcudv

#endif
