// The serial port library: eight routines over one port, no state, no log.
#include "serial/sio.h"

#include <cstring>

namespace tcudv {
namespace {

inline constexpr uint32_t kOpenReadConstantMs = 1000;
inline constexpr uint32_t kQueueSize = 1200;
inline constexpr char kErrorChar = static_cast<char>(0xFC);
inline constexpr int32_t kDrainTimeout = 5;  // 50 ms, in units of 10 ms
inline constexpr uint32_t kDrainChunk = 512;

// Line parameters: only the low byte of the three code fields is used.
inline uint8_t LowByte(uint16_t field) { return static_cast<uint8_t>(field & 0xFFu); }

// The port-settings word's three groups; in each the first row present decides.
void ApplyPortSettings(uint16_t word, LineState* state) {
  if (word & 0x0101u) {
    state->fDtrControl = DTR_CONTROL_ENABLE;
  } else if (word & 0x8000u) {
    state->fDtrControl = DTR_CONTROL_HANDSHAKE;
  }

  if (word & 0x0202u) {
    state->fRtsControl = RTS_CONTROL_ENABLE;
  } else if (word & 0x1000u) {
    state->fRtsControl = RTS_CONTROL_HANDSHAKE;
  } else if (word & 0x2000u) {
    state->fRtsControl = RTS_CONTROL_TOGGLE;
  }

  if (word & 0x0010u) {
    state->fOutxCtsFlow = true;
  } else if (word & 0x0020u) {
    state->fOutxDsrFlow = true;
  } else if (word & 0x4000u) {
    state->fDsrSensitivity = true;
  }
}

}  // namespace

int32_t SioOpen(const char* name, const LdiLineParams* lineParams, uint16_t portSettings,
                CommHandle* handle) {
  const CommHandle port = CommOpen(name);
  *handle = port;  // at once, also a failed open's INVALID_HANDLE_VALUE
  if (port == kInvalidHandle) return SIO_OPEN_FAILED;

  // The null device has no port state: opened, nothing configured.
  if (std::strcmp(name, "NUL") == 0) return SIO_OK;

  LineState state{};
  if (!CommGetState(port, &state)) {
    CommClose(port);
    return SIO_GET_STATE_FAILED;
  }
  if (portSettings == 0) return SIO_OK;

  state.baudRate = lineParams->baudRate;
  state.byteSize = LowByte(lineParams->dataBits);
  state.parity = LowByte(lineParams->parity);
  if (state.parity != 0) state.fParity = true;  // a code of 0 leaves fParity as read
  state.stopBits = LowByte(lineParams->stopBits);

  const CommTimeouts timeouts{0, 0, kOpenReadConstantMs, 0, 0};
  if (!CommSetTimeouts(port, timeouts)) {
    CommClose(port);
    return SIO_OPEN_FAILED;
  }

  state.errorChar = kErrorChar;
  state.fErrorChar = false;
  ApplyPortSettings(portSettings, &state);

  if (!CommSetState(port, state)) {
    CommClose(port);
    return SIO_SET_STATE_FAILED;
  }
  CommSetupQueues(port, kQueueSize, kQueueSize);  // result ignored
  return SIO_OK;
}

int32_t SioClose(CommHandle handle) { return CommClose(handle) ? SIO_OK : SIO_IO_FAILED; }

int32_t SioSetReadTimeout(CommHandle handle, int32_t timeout) {
  CommTimeouts timeouts{};
  if (!CommGetTimeouts(handle, &timeouts)) return 0;
  const uint32_t previous = timeouts.readTotalTimeoutConstant;
  const uint32_t wanted = static_cast<uint32_t>(timeout) * 10u;
  if (wanted != previous) {
    timeouts.readTotalTimeoutConstant = wanted;
    if (!CommSetTimeouts(handle, timeouts)) return 0;
  }
  return static_cast<int32_t>(previous / 10u);
}

int32_t SioPurgeInput(CommHandle handle) {
  QueueCounts counts{};
  const bool queried = CommClearError(handle, &counts);
  if (queried && counts.cbInQue == 0) return SIO_OK;

  const int32_t previous = SioSetReadTimeout(handle, kDrainTimeout);
  unsigned char scratch[kDrainChunk];
  bool readOk = false;
  uint32_t got = 0;
  do {
    got = 0;
    readOk = CommRead(handle, scratch, kDrainChunk, &got);
  } while (readOk && got == kDrainChunk);

  if (previous != 0) SioSetReadTimeout(handle, previous);
  return readOk ? SIO_OK : SIO_OPEN_FAILED;
}

int32_t SioSendBreak(uint32_t milliseconds, CommHandle handle) {
  CommSetBreak(handle);
  CommSleep(milliseconds);
  CommClearBreak(handle);
  return SIO_OK;
}

int32_t SioWrite(CommHandle handle, const void* data, uint32_t count, uint32_t* written) {
  uint32_t taken = 0;
  if (!CommWrite(handle, data, count, &taken)) return SIO_IO_FAILED;
  if (written != nullptr) *written = taken;
  return taken == count ? SIO_OK : SIO_SHORT_WRITE;
}

int32_t SioRead(CommHandle handle, void* destination, uint32_t count, uint32_t* bytesRead) {
  if (bytesRead != nullptr) *bytesRead = 0;
  unsigned char* const bytes = static_cast<unsigned char*>(destination);
  uint32_t total = 0;
  do {
    const uint32_t missing = static_cast<uint16_t>(count - total);
    uint32_t got = 0;
    if (!CommRead(handle, bytes + total, missing, &got)) return SIO_IO_FAILED;
    if (got == 0) return SIO_IO_FAILED;  // the time-out passed with no byte
    total += got;
    if (bytesRead != nullptr) *bytesRead = total;
  } while (total < count);
  return SIO_OK;
}

int32_t SioSleep(uint32_t milliseconds) {
  CommSleep(milliseconds);
  return SIO_OK;
}

}  // namespace tcudv
