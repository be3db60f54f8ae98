// The controller's value ids: what each one answers and takes, and the mnemonics that name it.
#ifndef TCUDV_SIM_VALUE_IDS_H
#define TCUDV_SIM_VALUE_IDS_H

#include <optional>
#include <string_view>

namespace tcudv::sim {

// One row per value id, in this order.
enum ValueId : int {
  kIdA,   // TMP, INP: the process value
  kIdB,   // SET
  kIdC,   // PWR
  kIdD,   // PBD
  kIdE,   // INT
  kIdF,   // DER
  kIdG,   // AL1; its reset is A1R
  kIdH,   // AL2; its reset is A2R
  kIdI,   // DEV
  kIdJ,   // OFP
  kIdK,   // RMP
  kIdL,   // CRG
  kIdM,   // CDB
  kIdO,   // RAT
  kIdQ,   // BIA
  kIdS,   // CTR
  kIdU,   // SEM
  kIdW,   // OST
  kIdX,   // PB2
  kIdY,   // IT2
  kIdZ,   // DT2
  kIdAA,  // IN2
  kIdBB,  // RSP, SP2
  kIdHC,  // HCR
  kValueIdCount
};

struct ValueIdInfo {
  const char* text;     // as it stands in a frame
  const char* name;     // the mnemonic shown in logs and the state file
  bool answersRead;     // T
  bool takesValue;      // V
  bool takesControl;    // C, with 1 or 2
  bool takesReset;      // R
  bool hasDecimals;     // replies carry the node's decimals for it
  int defaultDecimals;  // 0 to 3
};

const ValueIdInfo& Info(ValueId id);

// The id whose text is exactly `text`.
std::optional<ValueId> FindValueId(std::string_view text);

// A parameter mnemonic (any case) as gates and the initialisation file name it.
struct MnemonicInfo {
  const char* mnemonic;
  ValueId id;
  bool setsDecimals;  // a decimals setting for it changes the id's decimals
  bool inResolution;  // the RESOLUTION keyword covers it
};

inline constexpr int kMnemonicCount = 28;
const MnemonicInfo& Mnemonic(int index);
std::optional<MnemonicInfo> FindMnemonic(std::string_view mnemonic);

}  // namespace tcudv::sim

#endif
