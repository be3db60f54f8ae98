// The comm interface on Windows: the kernel32 serial functions, one for one.
// comm.h comes first: <windows.h> defines DTR_CONTROL_* and RTS_CONTROL_* as
// macros of the same values, which would otherwise rewrite comm.h's names.
#include "platform/comm.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

static_assert(DTR_CONTROL_HANDSHAKE == 2 && RTS_CONTROL_TOGGLE == 3, "comm.h's codes are the DCB's");

namespace tcudv {
namespace {

// Windows handles fit 32 bits: kept truncated, widened back with sign extension
// (INVALID_HANDLE_VALUE, -1, so meets kInvalidHandle both ways).
CommHandle ToCommHandle(HANDLE h) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h));
}

HANDLE ToNative(CommHandle v) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(static_cast<int32_t>(v)));
}

void ToDcb(const LineState& s, DCB* dcb) {
  dcb->BaudRate = s.baudRate;
  dcb->ByteSize = s.byteSize;
  dcb->Parity = s.parity;
  dcb->StopBits = s.stopBits;
  dcb->fBinary = s.fBinary ? 1 : 0;
  dcb->fParity = s.fParity ? 1 : 0;
  dcb->fOutxCtsFlow = s.fOutxCtsFlow ? 1 : 0;
  dcb->fOutxDsrFlow = s.fOutxDsrFlow ? 1 : 0;
  dcb->fDtrControl = s.fDtrControl & 3u;
  dcb->fDsrSensitivity = s.fDsrSensitivity ? 1 : 0;
  dcb->fTXContinueOnXoff = s.fTXContinueOnXoff ? 1 : 0;
  dcb->fOutX = s.fOutX ? 1 : 0;
  dcb->fInX = s.fInX ? 1 : 0;
  dcb->fErrorChar = s.fErrorChar ? 1 : 0;
  dcb->fNull = s.fNull ? 1 : 0;
  dcb->fRtsControl = s.fRtsControl & 3u;
  dcb->fAbortOnError = s.fAbortOnError ? 1 : 0;
  dcb->XonLim = s.xonLim;
  dcb->XoffLim = s.xoffLim;
  dcb->XonChar = s.xonChar;
  dcb->XoffChar = s.xoffChar;
  dcb->ErrorChar = s.errorChar;
  dcb->EofChar = s.eofChar;
  dcb->EvtChar = s.evtChar;
}

void FromDcb(const DCB& dcb, LineState* s) {
  s->baudRate = dcb.BaudRate;
  s->byteSize = dcb.ByteSize;
  s->parity = dcb.Parity;
  s->stopBits = dcb.StopBits;
  s->fBinary = dcb.fBinary != 0;
  s->fParity = dcb.fParity != 0;
  s->fOutxCtsFlow = dcb.fOutxCtsFlow != 0;
  s->fOutxDsrFlow = dcb.fOutxDsrFlow != 0;
  s->fDtrControl = static_cast<uint8_t>(dcb.fDtrControl);
  s->fDsrSensitivity = dcb.fDsrSensitivity != 0;
  s->fTXContinueOnXoff = dcb.fTXContinueOnXoff != 0;
  s->fOutX = dcb.fOutX != 0;
  s->fInX = dcb.fInX != 0;
  s->fErrorChar = dcb.fErrorChar != 0;
  s->fNull = dcb.fNull != 0;
  s->fRtsControl = static_cast<uint8_t>(dcb.fRtsControl);
  s->fAbortOnError = dcb.fAbortOnError != 0;
  s->xonLim = dcb.XonLim;
  s->xoffLim = dcb.XoffLim;
  s->xonChar = dcb.XonChar;
  s->xoffChar = dcb.XoffChar;
  s->errorChar = dcb.ErrorChar;
  s->eofChar = dcb.EofChar;
  s->evtChar = dcb.EvtChar;
}

// The state is read into a DCB whose DCBlength is 28.
constexpr DWORD kDcbLength = 28;
static_assert(sizeof(DCB) == kDcbLength, "a DCB is 28 bytes");

}  // namespace

CommHandle CommOpen(const char* name) {
  const HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return kInvalidHandle;
  return ToCommHandle(h);
}

bool CommClose(CommHandle handle) { return CloseHandle(ToNative(handle)) != 0; }

bool CommGetState(CommHandle handle, LineState* state) {
  DCB dcb{};
  dcb.DCBlength = kDcbLength;
  if (!GetCommState(ToNative(handle), &dcb)) return false;
  FromDcb(dcb, state);
  return true;
}

bool CommSetState(CommHandle handle, const LineState& state) {
  // Read first, so that the DCB's own reserved fields go back as they were.
  DCB dcb{};
  dcb.DCBlength = kDcbLength;
  if (!GetCommState(ToNative(handle), &dcb)) return false;
  ToDcb(state, &dcb);
  return SetCommState(ToNative(handle), &dcb) != 0;
}

bool CommGetTimeouts(CommHandle handle, CommTimeouts* timeouts) {
  COMMTIMEOUTS t{};
  if (!GetCommTimeouts(ToNative(handle), &t)) return false;
  timeouts->readIntervalTimeout = t.ReadIntervalTimeout;
  timeouts->readTotalTimeoutMultiplier = t.ReadTotalTimeoutMultiplier;
  timeouts->readTotalTimeoutConstant = t.ReadTotalTimeoutConstant;
  timeouts->writeTotalTimeoutMultiplier = t.WriteTotalTimeoutMultiplier;
  timeouts->writeTotalTimeoutConstant = t.WriteTotalTimeoutConstant;
  return true;
}

bool CommSetTimeouts(CommHandle handle, const CommTimeouts& timeouts) {
  COMMTIMEOUTS t{};
  t.ReadIntervalTimeout = timeouts.readIntervalTimeout;
  t.ReadTotalTimeoutMultiplier = timeouts.readTotalTimeoutMultiplier;
  t.ReadTotalTimeoutConstant = timeouts.readTotalTimeoutConstant;
  t.WriteTotalTimeoutMultiplier = timeouts.writeTotalTimeoutMultiplier;
  t.WriteTotalTimeoutConstant = timeouts.writeTotalTimeoutConstant;
  return SetCommTimeouts(ToNative(handle), &t) != 0;
}

bool CommSetupQueues(CommHandle handle, uint32_t inputSize, uint32_t outputSize) {
  return SetupComm(ToNative(handle), inputSize, outputSize) != 0;
}

bool CommClearError(CommHandle handle, QueueCounts* counts) {
  DWORD errors = 0;
  COMSTAT status{};
  if (!ClearCommError(ToNative(handle), &errors, &status)) return false;
  if (counts != nullptr) {
    counts->cbInQue = status.cbInQue;
    counts->cbOutQue = status.cbOutQue;
  }
  return true;
}

bool CommSetRts(CommHandle handle) { return EscapeCommFunction(ToNative(handle), SETRTS) != 0; }

bool CommClearRts(CommHandle handle) { return EscapeCommFunction(ToNative(handle), CLRRTS) != 0; }

bool CommRead(CommHandle handle, void* buffer, uint32_t count, uint32_t* bytesRead) {
  DWORD got = 0;
  const BOOL ok = ReadFile(ToNative(handle), buffer, count, &got, nullptr);
  if (bytesRead != nullptr) *bytesRead = got;
  return ok != 0;
}

bool CommWrite(CommHandle handle, const void* data, uint32_t count, uint32_t* bytesWritten) {
  DWORD put = 0;
  const BOOL ok = WriteFile(ToNative(handle), data, count, &put, nullptr);
  if (bytesWritten != nullptr) *bytesWritten = put;
  return ok != 0;
}

bool CommSetBreak(CommHandle handle) { return SetCommBreak(ToNative(handle)) != 0; }

bool CommClearBreak(CommHandle handle) { return ClearCommBreak(ToNative(handle)) != 0; }

void CommSleep(uint32_t milliseconds) { Sleep(milliseconds); }

uint32_t CommTickCount() { return GetTickCount(); }

}  // namespace tcudv
