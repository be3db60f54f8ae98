#include "sim/frame_parser.h"

namespace tcudv::sim {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Where a value text may begin after the id of a V or C frame.
bool StartsValue(char c) {
  return IsDigit(c) || c == '-' || c == '+' || c == '.';
}

ReceivedItem Malformed(std::string_view raw, const char* reason) {
  ReceivedItem item;
  item.kind = Received::kMalformed;
  item.raw = raw;
  item.reason = reason;
  return item;
}

}  // namespace

ReceivedItem DecodeFrame(std::string_view frame) {
  // "N", two digits, command, id, "*" at the least.
  if (frame.size() < 6 || frame.front() != 'N' || frame.back() != '*') {
    return Malformed(frame, frame.size() < 6 ? "too-short" : "bad-frame");
  }
  if (!IsDigit(frame[1]) || !IsDigit(frame[2])) return Malformed(frame, "bad-node");
  const int node = (frame[1] - '0') * 10 + (frame[2] - '0');
  if (node == 0) return Malformed(frame, "bad-node");
  const char command = frame[3];
  if (command != 'T' && command != 'V' && command != 'C' && command != 'R') {
    return Malformed(frame, "bad-command");
  }
  const std::string_view body = frame.substr(4, frame.size() - 5);
  std::string_view idText = body;
  std::string_view value;
  if (command == 'V' || command == 'C') {
    size_t start = 0;
    while (start < body.size() && !StartsValue(body[start])) ++start;
    idText = body.substr(0, start);
    value = body.substr(start);
    if (value.empty()) return Malformed(frame, "no-value");
  }
  const std::optional<ValueId> id = FindValueId(idText);
  if (!id) return Malformed(frame, "unknown-id");
  ReceivedItem item;
  item.kind = Received::kFrame;
  item.raw = frame;
  item.node = node;
  item.command = command;
  item.id = *id;
  item.value = value;
  return item;
}

void FrameParser::Feed(std::string_view bytes, std::vector<ReceivedItem>& out) {
  for (const char c : bytes) {
    if (c == 'N') {
      // Nothing in a frame but its start is an "N": a new one means the old one broke off.
      if (!frame_.empty()) out.push_back(Malformed(frame_, "interrupted"));
      FlushNoise(out);
      frame_.assign(1, c);
      continue;
    }
    if (frame_.empty()) {
      noise_ += c;
      if (noise_.size() >= kMaxNoiseLength) FlushNoise(out);
      continue;
    }
    frame_ += c;
    if (c == '*') {
      out.push_back(DecodeFrame(frame_));
      frame_.clear();
    } else if (frame_.size() >= kMaxFrameLength) {
      out.push_back(Malformed(frame_, "too-long"));
      frame_.clear();
    }
  }
}

void FrameParser::FlushNoise(std::vector<ReceivedItem>& out) {
  if (noise_.empty()) return;
  ReceivedItem item;
  item.kind = Received::kNoise;
  item.raw = std::move(noise_);
  noise_.clear();
  out.push_back(std::move(item));
}

}  // namespace tcudv::sim
