// One frame onto the line with RTS around it, one reply line off it.
#include "serial/line.h"

#include "entry/host_log.h"
#include "serial/sio.h"

namespace tcudv {
namespace {

inline constexpr uint32_t kDrainSleepMs = 1;
inline constexpr uint32_t kAfterDrainMs = 15;
// The drain wait's bound: a fixed 5 s, plus 10 ms for every byte of the frame
// (one byte's time at 1200 baud), far beyond what a moving line needs.
inline constexpr uint32_t kDrainBoundMs = 5000;
inline constexpr uint32_t kDrainBoundPerByteMs = 10;
// A reply line holds at most 40 text bytes and CR LF.
inline constexpr size_t kMaxLineBytes = 42;

const char kRtsFailed[] = "LDIYY> Send() EscapeCommFunction() failed";
const char kStatusFailed[] = "LDIYY> Send() ClearCommError() failed";
const char kNotSent[] = "LDIYY> Send() Unable to send message.";
const char kStuck[] = "LDIYY> Send() Output queue did not empty in time, frame abandoned.";

void DropRts(CommHandle handle) {
  if (!CommClearRts(handle)) HostLog(kLogInfo, kRtsFailed);
}

}  // namespace

int32_t Send(const char* frame, uint16_t length, CommHandle handle, uint16_t frameGap) {
  if (frameGap != 0) CommSleep(frameGap);
  if (!CommSetRts(handle)) HostLog(kLogInfo, kRtsFailed);

  uint32_t written = 0;
  const int32_t writeResult = SioWrite(handle, frame, length, &written);

  // Wait for the output queue to empty, so RTS never drops under the last byte.
  const uint32_t bound = kDrainBoundMs + kDrainBoundPerByteMs * length;
  const uint32_t start = CommTickCount();
  for (;;) {
    QueueCounts counts{};
    if (!CommClearError(handle, &counts)) {
      HostLog(kLogInfo, kStatusFailed);
      break;
    }
    CommSleep(kDrainSleepMs);
    if (counts.cbOutQue == 0) break;
    if (CommTickCount() - start >= bound) {
      HostLog(kLogInfo, kStuck);
      DropRts(handle);
      return 2;
    }
  }

  CommSleep(kAfterDrainMs);
  DropRts(handle);

  if (writeResult == SIO_OK && written == length) return 0;
  HostLog(kLogInfo, kNotSent);
  return 2;
}

int32_t ReadReply(char* buffer, size_t bufferSize, CommHandle handle) {
  // The most bytes the line may bring: 42, and never more than leave room for the NUL.
  if (bufferSize < 2) return 1;
  const size_t limit = bufferSize - 1 < kMaxLineBytes ? bufferSize - 1 : kMaxLineBytes;

  if (SioRead(handle, &buffer[0], 1, nullptr) != SIO_OK) return 1;
  for (size_t received = 1; received < limit; ++received) {
    if (SioRead(handle, &buffer[received], 1, nullptr) != SIO_OK) return 1;
    if (buffer[received - 1] == '\r' && buffer[received] == '\n') {
      buffer[received + 1] = '\0';
      return 0;
    }
  }
  return 1;  // no CR LF within the limit: the rest of the line stays unread
}

}  // namespace tcudv
