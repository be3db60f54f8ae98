#include "sim/reply_formatter.h"

namespace tcudv::sim {
namespace {

constexpr int64_t kPow10[4] = {1, 10, 100, 1000};

}  // namespace

std::string FormatFixed(int64_t milli, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > 3) decimals = 3;
  const int64_t magnitude = milli < 0 ? -milli : milli;
  const int64_t step = kPow10[3 - decimals];
  const int64_t scaled = (magnitude + step / 2) / step;
  std::string text = (milli < 0 && scaled != 0) ? "-" : "";
  text += std::to_string(scaled / kPow10[decimals]);
  if (decimals > 0) {
    const std::string fraction = std::to_string(scaled % kPow10[decimals]);
    text += '.';
    text.append(static_cast<size_t>(decimals) - fraction.size(), '0');
    text += fraction;
  }
  return text;
}

std::string FormatReply(int64_t milli, int decimals) {
  std::string text = FormatFixed(milli, decimals);
  if (text[0] != '-') text.insert(text.begin(), ' ');
  text += "\r\n";
  return text;
}

std::string FormatOutputStatus(const std::array<bool, 4>& digits) {
  std::string text = " ";
  for (int place = 3; place >= 0; --place) text += digits[place] ? '1' : '0';
  text += "\r\n";
  return text;
}

}  // namespace tcudv::sim
