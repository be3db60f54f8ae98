// The serial port library: small result codes of its own, no log, no state.
#ifndef TCUDVNT_SIO_H
#define TCUDVNT_SIO_H

#include <cstdint>

#include "entry/ldi.h"
#include "platform/comm.h"

namespace tcudv {

inline constexpr int32_t SIO_OK = 0;
inline constexpr int32_t SIO_OPEN_FAILED = 1;   // also: time-outs not set; last drain read failed
inline constexpr int32_t SIO_SHORT_WRITE = 2;
inline constexpr int32_t SIO_GET_STATE_FAILED = 4;
inline constexpr int32_t SIO_SET_STATE_FAILED = 5;
inline constexpr int32_t SIO_IO_FAILED = 7;    // read, write or close failed; read timed out

int32_t SioOpen(const char* name, const LdiLineParams* lineParams, uint16_t portSettings,
                CommHandle* handle);
int32_t SioClose(CommHandle handle);
// Returns the previous time-out in units of 10 ms, or 0 on failure.
int32_t SioSetReadTimeout(CommHandle handle, int32_t timeout);
int32_t SioPurgeInput(CommHandle handle);
int32_t SioSendBreak(uint32_t milliseconds, CommHandle handle);
int32_t SioWrite(CommHandle handle, const void* data, uint32_t count, uint32_t* written);
int32_t SioRead(CommHandle handle, void* destination, uint32_t count, uint32_t* bytesRead);
int32_t SioSleep(uint32_t milliseconds);

}  // namespace tcudv

#endif
