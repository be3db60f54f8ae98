// The comm interface on POSIX: termios and ioctl, so that a tty behaves as the
// serial library expects of a Windows comm port (exclusive, raw, timed reads).
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/comm.h"

namespace tcudv {
namespace {

// ---- the port table -------------------------------------------------------

// The kernel keeps no read time-outs and none of the DCB fields termios cannot
// hold, so each open port has a record here: fixed, no heap, slots claimed atomically.
struct PortRecord {
  std::atomic<int> claimed{0};  // 0 free, 1 taken
  std::atomic<int> fd{-1};      // published once the record is filled
  bool tty = false;             // false: the null device or a plain file, no port state
  bool framingKept = false;     // the device keeps no framing (a pseudo-terminal): report ours
  LineState kept{};             // the fields termios cannot hold
  CommTimeouts timeouts{};
};

constexpr size_t kPortSlots = 64;
PortRecord ports[kPortSlots];

PortRecord* Claim() {
  for (PortRecord& port : ports) {
    int expected = 0;
    if (port.claimed.compare_exchange_strong(expected, 1, std::memory_order_acq_rel)) return &port;
  }
  return nullptr;
}

void Release(PortRecord* port) {
  port->fd.store(-1, std::memory_order_release);
  port->claimed.store(0, std::memory_order_release);
}

// The handle is the descriptor plus one: never 0, never kInvalidHandle.
CommHandle HandleOf(int fd) {
  return static_cast<CommHandle>(fd) + 1u;
}

PortRecord* PortOf(CommHandle handle) {
  if (handle == 0 || handle == kInvalidHandle || handle - 1u > 0x7FFFFFFFu) return nullptr;
  const int fd = static_cast<int>(handle - 1u);
  for (PortRecord& port : ports) {
    if (port.fd.load(std::memory_order_acquire) == fd) return &port;
  }
  return nullptr;
}

// A port with line state: a tty opened here.
PortRecord* TtyOf(CommHandle handle) {
  PortRecord* port = PortOf(handle);
  return port != nullptr && port->tty ? port : nullptr;
}

int FdOf(const PortRecord* port) {
  return port->fd.load(std::memory_order_relaxed);
}

// ---- time -----------------------------------------------------------------

int64_t NowNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

constexpr int64_t kNoDeadline = INT64_MAX;

// Milliseconds until the deadline for poll, rounded up; -1 to wait without end.
int PollWait(int64_t deadlineNs) {
  if (deadlineNs == kNoDeadline) return -1;
  const int64_t left = deadlineNs - NowNs();
  if (left <= 0) return 0;
  const int64_t ms = (left + 999999) / 1000000;
  return ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms);
}

// ---- line speed -----------------------------------------------------------

struct SpeedCode {
  uint32_t rate;
  speed_t code;
};

constexpr SpeedCode kSpeeds[] = {
    {50, B50},           {75, B75},     {110, B110},   {134, B134},     {150, B150},
    {200, B200},         {300, B300},   {600, B600},   {1200, B1200},   {1800, B1800},
    {2400, B2400},       {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400},
#ifdef B57600
    {57600, B57600},
#endif
#ifdef B115200
    {115200, B115200},
#endif
#ifdef B230400
    {230400, B230400},
#endif
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B500000
    {500000, B500000},
#endif
#ifdef B576000
    {576000, B576000},
#endif
#ifdef B921600
    {921600, B921600},
#endif
#ifdef B1000000
    {1000000, B1000000},
#endif
#ifdef B1152000
    {1152000, B1152000},
#endif
#ifdef B1500000
    {1500000, B1500000},
#endif
#ifdef B2000000
    {2000000, B2000000},
#endif
#ifdef B2500000
    {2500000, B2500000},
#endif
#ifdef B3000000
    {3000000, B3000000},
#endif
#ifdef B3500000
    {3500000, B3500000},
#endif
#ifdef B4000000
    {4000000, B4000000},
#endif
};

bool SpeedCodeOf(uint32_t rate, speed_t* code) {
  for (const SpeedCode& s : kSpeeds) {
    if (s.rate == rate) {
      *code = s.code;
      return true;
    }
  }
  return false;
}

uint32_t RateOf(speed_t code) {
  for (const SpeedCode& s : kSpeeds) {
    if (s.code == code) return s.rate;
  }
  return 0;
}

#if defined(__linux__) && defined(CBAUD) &&                                                  \
    (defined(__x86_64__) || defined(__i386__) || defined(__aarch64__) || defined(__arm__) || \
     defined(__riscv))
// Linux's termios2 (the asm-generic layout), for rates without a B constant.
struct KernelTermios2 {
  tcflag_t c_iflag;
  tcflag_t c_oflag;
  tcflag_t c_cflag;
  tcflag_t c_lflag;
  cc_t c_line;
  cc_t c_cc[19];
  speed_t c_ispeed;
  speed_t c_ospeed;
};
constexpr unsigned long kGetTermios2 = _IOR('T', 0x2A, KernelTermios2);
constexpr unsigned long kSetTermios2 = _IOW('T', 0x2B, KernelTermios2);
constexpr tcflag_t kBOther = 0010000;

bool SetOtherRate(int fd, uint32_t rate) {
  KernelTermios2 t{};
  if (ioctl(fd, kGetTermios2, &t) != 0) return false;
  t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << 16));  // output and input speed
  t.c_cflag |= kBOther | (kBOther << 16);
  t.c_ispeed = rate;
  t.c_ospeed = rate;
  return ioctl(fd, kSetTermios2, &t) == 0;
}

uint32_t ActualRate(int fd, const termios& t) {
  KernelTermios2 t2{};
  if (ioctl(fd, kGetTermios2, &t2) == 0 && t2.c_ospeed != 0) return t2.c_ospeed;
  return RateOf(cfgetospeed(&t));
}
#else
bool SetOtherRate(int, uint32_t) {
  return false;
}  // only the standard rates here
uint32_t ActualRate(int, const termios& t) {
  return RateOf(cfgetospeed(&t));
}
#endif

// ---- modem lines ----------------------------------------------------------

bool ModemBits(int fd, int bits, bool raise) {
  return ioctl(fd, raise ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

// ---- open -----------------------------------------------------------------

// A name that starts with "/", "./" or "../" is taken as a path.
bool IsPath(const char* name) {
  return name[0] == '/' || std::strncmp(name, "./", 2) == 0 || std::strncmp(name, "../", 3) == 0;
}

// "NUL" is the null device, a path is taken as it is, any other name is a
// device under /dev: "ttyUSB0", "pts/3".
bool PathOf(const char* name, char* path, size_t size) {
  const char* prefix = "";
  if (std::strcmp(name, "NUL") == 0) {
    name = "/dev/null";
  } else if (!IsPath(name)) {
    prefix = "/dev/";
  }
  const size_t prefixLength = std::strlen(prefix);
  const size_t nameLength = std::strlen(name);
  if (nameLength == 0 || prefixLength + nameLength + 1 > size) return false;
  std::memcpy(path, prefix, prefixLength);
  std::memcpy(path + prefixLength, name, nameLength + 1);
  return true;
}

// A Windows comm handle has no line discipline: input and output pass untouched.
void MakeRaw(termios* t) {
  t->c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL |
                                       IXON | IXOFF | IXANY | INPCK | IGNPAR);
#ifdef IUCLC
  t->c_iflag &= ~static_cast<tcflag_t>(IUCLC);
#endif
#ifdef IMAXBEL
  t->c_iflag &= ~static_cast<tcflag_t>(IMAXBEL);
#endif
  t->c_oflag &= ~static_cast<tcflag_t>(OPOST);
  t->c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
  t->c_cflag |= CREAD | CLOCAL;
  t->c_cc[VMIN] = 0;
  t->c_cc[VTIME] = 0;
}

// What a Windows port reports before anyone configured it, for the fields termios lacks.
LineState StartingKeptFields() {
  LineState kept{};
  kept.fBinary = true;
  kept.fDtrControl = DTR_CONTROL_ENABLE;
  kept.fRtsControl = RTS_CONTROL_ENABLE;
  kept.xonLim = 2048;
  kept.xoffLim = 512;
  kept.xonChar = 0x11;
  kept.xoffChar = 0x13;
  return kept;
}

}  // namespace

CommHandle CommOpen(const char* name) {
  char path[256];
  if (name == nullptr || !PathOf(name, path, sizeof path)) return kInvalidHandle;

  const int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kInvalidHandle;

  const bool tty = isatty(fd) == 1;
  if (tty) {
    // Exclusive as on Windows: the lock stops a second open from this process
    // or another (TIOCEXCL alone does not stop root).
    termios t{};
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0 || tcgetattr(fd, &t) != 0) {
      close(fd);
      return kInvalidHandle;
    }
    MakeRaw(&t);
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
      close(fd);
      return kInvalidHandle;
    }
  }

  PortRecord* port = Claim();
  if (port == nullptr) {
    if (tty) ioctl(fd, TIOCNXCL);
    close(fd);
    return kInvalidHandle;
  }
  port->tty = tty;
  port->framingKept = false;
  port->kept = StartingKeptFields();
  port->timeouts = CommTimeouts{0, 0, 0, 0, 0};
  port->fd.store(fd, std::memory_order_release);
  return HandleOf(fd);
}

bool CommClose(CommHandle handle) {
  PortRecord* port = PortOf(handle);
  if (port == nullptr) return false;
  const int fd = FdOf(port);
  if (port->tty) ioctl(fd, TIOCNXCL);
  Release(port);
  return close(fd) == 0;
}

bool CommGetState(CommHandle handle, LineState* state) {
  PortRecord* port = TtyOf(handle);
  if (port == nullptr) return false;
  const int fd = FdOf(port);
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;

  LineState s = port->kept;
  s.baudRate = ActualRate(fd, t);
  switch (t.c_cflag & CSIZE) {
    case CS5:
      s.byteSize = 5;
      break;
    case CS6:
      s.byteSize = 6;
      break;
    case CS7:
      s.byteSize = 7;
      break;
    default:
      s.byteSize = 8;
      break;
  }
  if (!(t.c_cflag & PARENB)) {
    s.parity = 0;
#ifdef CMSPAR
  } else if (t.c_cflag & CMSPAR) {
    s.parity = (t.c_cflag & PARODD) ? 3 : 4;
#endif
  } else {
    s.parity = (t.c_cflag & PARODD) ? 1 : 2;
  }
  if (!(t.c_cflag & CSTOPB)) {
    s.stopBits = 0;
  } else {
    s.stopBits = port->kept.stopBits == 1 ? 1 : 2;  // one and a half is kept; the line has two
  }
  if (port->framingKept) {
    s.byteSize = port->kept.byteSize;
    s.parity = port->kept.parity;
    s.stopBits = port->kept.stopBits;
  }
#ifdef CRTSCTS
  s.fOutxCtsFlow = (t.c_cflag & CRTSCTS) != 0;
#endif
  s.fOutX = (t.c_iflag & IXON) != 0;
  s.fInX = (t.c_iflag & IXOFF) != 0;
  s.xonChar = static_cast<char>(t.c_cc[VSTART]);
  s.xoffChar = static_cast<char>(t.c_cc[VSTOP]);
  *state = s;
  return true;
}

namespace {

// Whether the device holds everything that was asked of it but the framing.
bool OnlyFramingRefused(int fd, const termios& wanted, tcflag_t framing) {
  termios applied{};
  if (tcgetattr(fd, &applied) != 0) return false;
  return applied.c_iflag == wanted.c_iflag && applied.c_oflag == wanted.c_oflag &&
         applied.c_lflag == wanted.c_lflag &&
         (applied.c_cflag & ~framing) == (wanted.c_cflag & ~framing) &&
         std::memcmp(applied.c_cc, wanted.c_cc, sizeof applied.c_cc) == 0;
}

}  // namespace

bool CommSetState(CommHandle handle, const LineState& state) {
  PortRecord* port = TtyOf(handle);
  if (port == nullptr) return false;
  const int fd = FdOf(port);
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;

  tcflag_t size = 0;
  switch (state.byteSize) {
    case 5:
      size = CS5;
      break;
    case 6:
      size = CS6;
      break;
    case 7:
      size = CS7;
      break;
    case 8:
      size = CS8;
      break;
    default:
      return false;
  }
  t.c_cflag = (t.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | size;

  t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
#ifdef CMSPAR
  t.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
#endif
  switch (state.parity) {
    case 0:
      break;
    case 1:
      t.c_cflag |= PARENB | PARODD;
      break;
    case 2:
      t.c_cflag |= PARENB;
      break;
#ifdef CMSPAR
    case 3:
      t.c_cflag |= PARENB | PARODD | CMSPAR;
      break;
    case 4:
      t.c_cflag |= PARENB | CMSPAR;
      break;
#endif
    default:
      return false;
  }

  switch (state.stopBits) {
    case 0:
      t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
      break;
    case 1:  // one and a half: the nearest a tty has is two
    case 2:
      t.c_cflag |= CSTOPB;
      break;
    default:
      return false;
  }

#ifdef CRTSCTS
  if (state.fOutxCtsFlow) {
    t.c_cflag |= CRTSCTS;
  } else {
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  }
#endif
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
  if (state.fOutX) t.c_iflag |= IXON;
  if (state.fInX) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = static_cast<cc_t>(state.xonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(state.xoffChar);

  if (state.baudRate == 0) return false;  // B0 would hang the line up
  speed_t code = 0;
  const bool standard = SpeedCodeOf(state.baudRate, &code);
  if (standard && (cfsetispeed(&t, code) != 0 || cfsetospeed(&t, code) != 0)) return false;
  // A pseudo-terminal has no framing and forces CS8 without parity: the port
  // takes the state all the same, and reports the framing it was given.
  constexpr tcflag_t kFraming = CSIZE | PARENB | PARODD | CSTOPB
#ifdef CMSPAR
                                | CMSPAR
#endif
      ;
  // The C library calls a change that took no effect at all an error, as when
  // the framing is all that differs on a pseudo-terminal already set up.
  if (tcsetattr(fd, TCSANOW, &t) != 0 &&
      (errno != EINVAL || !OnlyFramingRefused(fd, t, kFraming))) {
    return false;
  }
  if (!standard && !SetOtherRate(fd, state.baudRate)) return false;

  termios applied{};
  if (tcgetattr(fd, &applied) != 0) return false;
  port->framingKept = (applied.c_cflag & kFraming) != (t.c_cflag & kFraming);

  // DTR and RTS as the control fields say; a device without modem lines
  // (a pseudo-terminal) takes the state all the same.
  if (state.fDtrControl == DTR_CONTROL_DISABLE) {
    ModemBits(fd, TIOCM_DTR, false);
  } else {
    ModemBits(fd, TIOCM_DTR, true);
  }
  if (state.fRtsControl == RTS_CONTROL_DISABLE || state.fRtsControl == RTS_CONTROL_TOGGLE) {
    ModemBits(fd, TIOCM_RTS, false);
  } else {
    ModemBits(fd, TIOCM_RTS, true);
  }

  port->kept = state;
  return true;
}

bool CommGetTimeouts(CommHandle handle, CommTimeouts* timeouts) {
  PortRecord* port = TtyOf(handle);
  if (port == nullptr) return false;
  *timeouts = port->timeouts;
  return true;
}

bool CommSetTimeouts(CommHandle handle, const CommTimeouts& timeouts) {
  PortRecord* port = TtyOf(handle);
  if (port == nullptr) return false;
  port->timeouts = timeouts;
  return true;
}

bool CommSetupQueues(CommHandle handle, uint32_t, uint32_t) {
  // The kernel's tty buffers are its own; only a port can be asked.
  return TtyOf(handle) != nullptr;
}

bool CommClearError(CommHandle handle, QueueCounts* counts) {
  PortRecord* port = TtyOf(handle);
  if (port == nullptr) return false;
  const int fd = FdOf(port);
  int in = 0;
  int out = 0;
  if (ioctl(fd, FIONREAD, &in) != 0 || ioctl(fd, TIOCOUTQ, &out) != 0) return false;
#ifdef TIOCSERGETLSR
  // A byte still in the shift register is waiting too: RTS must not drop under it.
  unsigned int lsr = 0;
  if (out == 0 && ioctl(fd, TIOCSERGETLSR, &lsr) == 0 && !(lsr & TIOCSER_TEMT)) out = 1;
#endif
  if (counts != nullptr) {
    counts->cbInQue = in > 0 ? static_cast<uint32_t>(in) : 0;
    counts->cbOutQue = out > 0 ? static_cast<uint32_t>(out) : 0;
  }
  return true;
}

bool CommSetRts(CommHandle handle) {
  PortRecord* port = TtyOf(handle);
  return port != nullptr && ModemBits(FdOf(port), TIOCM_RTS, true);
}

bool CommClearRts(CommHandle handle) {
  PortRecord* port = TtyOf(handle);
  return port != nullptr && ModemBits(FdOf(port), TIOCM_RTS, false);
}

bool CommRead(CommHandle handle, void* buffer, uint32_t count, uint32_t* bytesRead) {
  if (bytesRead != nullptr) *bytesRead = 0;
  PortRecord* port = PortOf(handle);
  if (port == nullptr) return false;
  const int fd = FdOf(port);
  unsigned char* const bytes = static_cast<unsigned char*>(buffer);

  // The Windows rules: interval MAXDWORD and the rest 0 returns at once with
  // what is there; all 0 waits for every byte; else the total time-out
  // multiplier * count + constant, and between bytes the interval, if set.
  const CommTimeouts t = port->timeouts;
  const bool atOnce = t.readIntervalTimeout == 0xFFFFFFFFu && t.readTotalTimeoutMultiplier == 0 &&
                      t.readTotalTimeoutConstant == 0;
  const uint64_t totalMs =
      uint64_t{t.readTotalTimeoutMultiplier} * count + t.readTotalTimeoutConstant;
  const int64_t start = NowNs();
  const int64_t totalDeadline =
      atOnce ? start
      : (t.readTotalTimeoutMultiplier == 0 && t.readTotalTimeoutConstant == 0)
          ? kNoDeadline
          : start + static_cast<int64_t>(totalMs) * 1000000;
  const bool interval = t.readIntervalTimeout != 0 && t.readIntervalTimeout != 0xFFFFFFFFu;

  uint32_t got = 0;
  bool woken = false;  // poll saw the descriptor ready since the last bytes came
  while (got < count) {
    // Bytes already waiting are taken at once: the bytes of a reply mostly come
    // together, and a read costs one system call where poll and read cost two.
    const ssize_t n = read(fd, bytes + got, count - got);
    if (n > 0) {
      got += static_cast<uint32_t>(n);
      if (bytesRead != nullptr) *bytesRead = got;
      woken = false;
      continue;
    }
    // A raw tty answers 0 when nothing is waiting, and after poll saw it ready
    // only when the line hung up; elsewhere 0 is the end of the file.
    if (n == 0 && (!port->tty || woken)) break;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;

    int64_t deadline = totalDeadline;
    if (interval && got > 0) {
      const int64_t gap = NowNs() + int64_t{t.readIntervalTimeout} * 1000000;
      if (gap < deadline) deadline = gap;
    }
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, PollWait(deadline));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (ready == 0) {
      if (deadline != kNoDeadline && NowNs() < deadline) continue;  // poll woke a little early
      break;  // the time-out passed: success with what came
    }
    woken = true;
  }
  return true;
}

bool CommWrite(CommHandle handle, const void* data, uint32_t count, uint32_t* bytesWritten) {
  if (bytesWritten != nullptr) *bytesWritten = 0;
  PortRecord* port = PortOf(handle);
  if (port == nullptr) return false;
  const int fd = FdOf(port);
  const unsigned char* const bytes = static_cast<const unsigned char*>(data);

  // The serial library sets no write time-out (0 and 0: the write waits
  // until the kernel took every byte); one set by others is honoured.
  const CommTimeouts t = port->timeouts;
  const uint64_t totalMs =
      uint64_t{t.writeTotalTimeoutMultiplier} * count + t.writeTotalTimeoutConstant;
  const int64_t deadline =
      totalMs == 0 ? kNoDeadline : NowNs() + static_cast<int64_t>(totalMs) * 1000000;

  uint32_t put = 0;
  while (put < count) {
    const ssize_t n = write(fd, bytes + put, count - put);
    if (n > 0) {
      put += static_cast<uint32_t>(n);
      if (bytesWritten != nullptr) *bytesWritten = put;
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    pollfd p{fd, POLLOUT, 0};
    const int ready = poll(&p, 1, PollWait(deadline));
    if (ready < 0 && errno != EINTR) return false;
    if (ready == 0 && deadline != kNoDeadline && NowNs() >= deadline) break;
  }
  return true;
}

bool CommSetBreak(CommHandle handle) {
  PortRecord* port = TtyOf(handle);
  return port != nullptr && ioctl(FdOf(port), TIOCSBRK) == 0;
}

bool CommClearBreak(CommHandle handle) {
  PortRecord* port = TtyOf(handle);
  return port != nullptr && ioctl(FdOf(port), TIOCCBRK) == 0;
}

void CommSleep(uint32_t milliseconds) {
  timespec wake{};
  clock_gettime(CLOCK_MONOTONIC, &wake);
  wake.tv_sec += milliseconds / 1000;
  wake.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
  if (wake.tv_nsec >= 1000000000L) {
    wake.tv_sec += 1;
    wake.tv_nsec -= 1000000000L;
  }
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
  }
}

uint32_t CommTickCount() {
  return static_cast<uint32_t>(NowNs() / 1000000);
}

}  // namespace tcudv
