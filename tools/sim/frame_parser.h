// Cuts the received byte stream into request frames "N..*" and decodes them.
#ifndef TCUDV_SIM_FRAME_PARSER_H
#define TCUDV_SIM_FRAME_PARSER_H

#include <string>
#include <string_view>
#include <vector>

#include "sim/value_ids.h"

namespace tcudv::sim {

// The longest frame taken: the driver builds its frames in 32 bytes.
inline constexpr size_t kMaxFrameLength = 32;
// Bytes outside frames are reported in pieces of at most this many.
inline constexpr size_t kMaxNoiseLength = 64;

enum class Received {
  kFrame,      // a well-formed frame
  kMalformed,  // began with "N" but is no frame; `reason` says why
  kNoise,      // bytes outside any frame
};

struct ReceivedItem {
  Received kind = Received::kNoise;
  std::string raw;     // the bytes as they came
  std::string reason;  // for kMalformed: too-short, bad-node, bad-command, unknown-id, no-value,
                       // too-long, interrupted
  int node = 0;
  char command = 0;  // T, V, C or R
  ValueId id = kIdA;
  std::string value;  // the value text of V and C, as it came
};

// Decodes one complete frame, "N" through "*".
ReceivedItem DecodeFrame(std::string_view frame);

class FrameParser {
 public:
  // Appends what `bytes` completes to `out`; a frame split across calls is kept for the next.
  void Feed(std::string_view bytes, std::vector<ReceivedItem>& out);
  // Reports the noise gathered so far.
  void FlushNoise(std::vector<ReceivedItem>& out);

 private:
  std::string frame_;  // from its "N"; empty when outside a frame
  std::string noise_;
};

}  // namespace tcudv::sim

#endif
