#include "sim/fault_injector.h"

#include <charconv>
#include <iterator>

namespace tcudv::sim {
namespace {

constexpr const char* kNames[kFaultKinds] = {"hash", "garbage", "drop", "cut", "long", "delay"};

// Replies a controller gives for a value it cannot show.
constexpr const char* kHashReplies[] = {" #\r\n", " ####\r\n", " #### \r\n"};
constexpr char kGarbageFirst[] = {'?', 'X', '*', '>', '0'};
// A long line is 41 to 64 bytes before its CR LF: past the 40 the driver's reader takes.
constexpr size_t kLongMin = 41;
constexpr size_t kLongSpan = 24;

}  // namespace

const char* FaultName(Fault fault) {
  return fault == Fault::kNone ? "none" : kNames[static_cast<int>(fault)];
}

std::optional<Fault> FindFault(std::string_view name) {
  for (int i = 0; i < kFaultKinds; ++i) {
    if (name == kNames[i]) return static_cast<Fault>(i);
  }
  return std::nullopt;
}

std::string ParseFaultRates(std::string_view setting, FaultRates& rates) {
  FaultRates changed = rates;
  std::string_view rest = setting;
  while (true) {
    const size_t comma = rest.find(',');
    const std::string_view item = rest.substr(0, comma);
    const size_t equals = item.find('=');
    const std::optional<Fault> fault =
        equals == std::string_view::npos ? std::nullopt : FindFault(item.substr(0, equals));
    if (!fault) {
      return "--fault-rate: bad item '" + std::string(item) +
             "' (KIND=RATE, KIND one of hash, garbage, drop, cut, long, delay)";
    }
    const std::string_view text = item.substr(equals + 1);
    double rate = -1.0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), rate);
    if (status != std::errc() || end != text.data() + text.size() || !(rate >= 0.0) || rate > 1.0) {
      return "--fault-rate: the rate of " + std::string(item.substr(0, equals)) +
             " must be a number from 0 to 1";
    }
    changed[static_cast<int>(*fault)] = rate;
    if (comma == std::string_view::npos) break;
    rest = rest.substr(comma + 1);
  }
  double total = 0.0;
  for (const double rate : changed) total += rate;
  if (total > 1.0 + 1e-9) return "--fault-rate: the rates add up to more than 1";
  rates = changed;
  return {};
}

FaultInjector::FaultInjector(uint64_t seed, const FaultRates& rates)
    : random_(seed), rates_(rates) {
  for (const double rate : rates_) active_ = active_ || rate > 0.0;
}

double FaultInjector::Draw() {
  return static_cast<double>(random_() >> 11) * (1.0 / 9007199254740992.0);
}

uint64_t FaultInjector::DrawBelow(uint64_t bound) {
  return random_() % bound;
}

FaultedReply FaultInjector::Apply(const std::string& reply) {
  FaultedReply out;
  out.bytes = reply;
  if (!active_) return out;
  const double u = Draw();
  double edge = 0.0;
  for (int i = 0; i < kFaultKinds; ++i) {
    edge += rates_[i];
    if (rates_[i] > 0.0 && u < edge) {
      out.fault = static_cast<Fault>(i);
      break;
    }
  }
  switch (out.fault) {
    case Fault::kNone:
      break;
    case Fault::kHash:
      out.bytes = kHashReplies[DrawBelow(std::size(kHashReplies))];
      break;
    case Fault::kGarbage:
      out.bytes[0] = kGarbageFirst[DrawBelow(std::size(kGarbageFirst))];
      break;
    case Fault::kDrop:
      out.bytes.clear();
      break;
    case Fault::kCut:
      // Keep 1 to all but one byte, so the CR LF never arrives whole.
      out.bytes.resize(reply.size() < 2 ? 0 : 1 + DrawBelow(reply.size() - 1));
      break;
    case Fault::kLong: {
      const size_t length = kLongMin + DrawBelow(kLongSpan);
      std::string line = reply.substr(0, reply.size() - 2);
      line.resize(length, '0');
      out.bytes = line + "\r\n";
      break;
    }
    case Fault::kDelay:
      out.late = true;
      break;
  }
  return out;
}

}  // namespace tcudv::sim
