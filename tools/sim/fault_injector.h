// Seeded reply faults: the same seed and the same frames give the same faults.
#ifndef TCUDV_SIM_FAULT_INJECTOR_H
#define TCUDV_SIM_FAULT_INJECTOR_H

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace tcudv::sim {

enum class Fault : int {
  kNone = -1,
  kHash = 0,  // "#" as the second character
  kGarbage,   // a first character that is neither blank nor "-"
  kDrop,      // no reply
  kCut,       // part of the reply, then silence
  kLong,      // more than 40 bytes before CR LF
  kDelay,     // the reply comes after the late-reply delay
};

inline constexpr int kFaultKinds = 6;

// The word options and the event log use: "hash", ..., "delay", and "none".
const char* FaultName(Fault fault);
std::optional<Fault> FindFault(std::string_view name);

// Rates per fault kind, each 0 to 1, together at most 1.
using FaultRates = std::array<double, kFaultKinds>;

// "kind=rate[,kind=rate...]" into `rates`; returns an error text, empty on success.
std::string ParseFaultRates(std::string_view setting, FaultRates& rates);

struct FaultedReply {
  Fault fault = Fault::kNone;
  std::string bytes;  // what goes on the line; empty for a dropped reply
  bool late = false;  // to be sent after the late-reply delay instead of the usual one
};

class FaultInjector {
 public:
  FaultInjector(uint64_t seed, const FaultRates& rates);

  // Chooses the fault, if any, for one reply and applies it. With all rates 0 the reply is
  // passed on and no random number is drawn.
  FaultedReply Apply(const std::string& reply);

 private:
  // Uniform in [0, 1), made the same way on every platform.
  double Draw();
  uint64_t DrawBelow(uint64_t bound);

  std::mt19937_64 random_;
  FaultRates rates_;
  bool active_ = false;
};

}  // namespace tcudv::sim

#endif
