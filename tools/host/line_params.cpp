#include "line_params.h"

#include <cctype>

namespace tcudv::host {
namespace {

constexpr const char* kParityNames[] = {"none", "odd", "even", "mark", "space"};
constexpr const char* kStopBitsNames[] = {"1", "1.5", "2"};

std::string Lower(std::string_view text) {
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

std::optional<uint16_t> ParseParity(std::string_view text) {
  const std::string lower = Lower(text);
  for (uint16_t code = 0; code < std::size(kParityNames); ++code) {
    const std::string name = kParityNames[code];
    if (lower == name || lower == name.substr(0, 1)) return code;
  }
  return std::nullopt;
}

std::optional<uint16_t> ParseStopBits(std::string_view text) {
  for (uint16_t code = 0; code < std::size(kStopBitsNames); ++code) {
    if (text == kStopBitsNames[code]) return code;
  }
  return std::nullopt;
}

std::string ParityName(uint16_t code) {
  if (code < std::size(kParityNames)) return kParityNames[code];
  return "code " + std::to_string(code);
}

std::string StopBitsName(uint16_t code) {
  if (code < std::size(kStopBitsNames)) return kStopBitsNames[code];
  return "code " + std::to_string(code);
}

std::string DescribeLine(const LdiLineParams& line) {
  return std::to_string(line.baudRate) + " baud, " + std::to_string(line.dataBits) +
         " data bits, " + (line.parity == 0 ? std::string("no") : ParityName(line.parity)) +
         " parity, " + StopBitsName(line.stopBits) +
         (line.stopBits == 0 ? " stop bit" : " stop bits");
}

}  // namespace tcudv::host
