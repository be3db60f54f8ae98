#include "sim/value_ids.h"

#include <cctype>

namespace tcudv::sim {
namespace {

// RSP and SP2 share BB: it carries SP2's one decimal, so RSP's word gate reads its integer part.
const ValueIdInfo kInfo[kValueIdCount] = {
    {"A", "TMP", true, false, false, false, true, 0},
    {"B", "SET", true, true, false, false, true, 0},
    {"C", "PWR", true, true, false, false, true, 1},
    {"D", "PBD", true, true, false, false, true, 1},
    {"E", "INT", true, true, false, false, true, 0},
    {"F", "DER", true, true, false, false, true, 0},
    {"G", "AL1", true, true, false, true, true, 0},
    {"H", "AL2", true, true, false, true, true, 0},
    {"I", "DEV", true, false, false, false, true, 0},
    {"J", "OFP", true, true, false, false, true, 1},
    {"K", "RMP", true, true, false, false, true, 1},
    {"L", "CRG", true, true, false, false, true, 1},
    {"M", "CDB", true, true, false, false, true, 0},
    {"O", "RAT", true, true, false, false, true, 3},
    {"Q", "BIA", true, true, false, false, true, 0},
    {"S", "CTR", false, false, true, false, false, 0},
    {"U", "SEM", false, false, true, false, false, 0},
    {"W", "OST", true, false, false, false, false, 0},
    {"X", "PB2", true, true, false, false, true, 1},
    {"Y", "IT2", true, true, false, false, true, 0},
    {"Z", "DT2", true, true, false, false, true, 0},
    {"AA", "IN2", true, false, false, false, true, 1},
    {"BB", "SP2", true, false, false, false, true, 1},
    {"HC", "HCR", true, false, false, false, true, 1},
};

const MnemonicInfo kMnemonics[kMnemonicCount] = {
    {"TMP", kIdA, true, true},   {"INP", kIdA, true, true},   {"SET", kIdB, true, true},
    {"PWR", kIdC, true, false},  {"PBD", kIdD, true, false},  {"INT", kIdE, true, false},
    {"DER", kIdF, true, false},  {"AL1", kIdG, true, true},   {"AL2", kIdH, true, true},
    {"DEV", kIdI, true, true},   {"OFP", kIdJ, true, false},  {"RMP", kIdK, true, false},
    {"CRG", kIdL, true, false},  {"CDB", kIdM, true, true},   {"RAT", kIdO, true, false},
    {"BIA", kIdQ, true, false},  {"CTR", kIdS, false, false}, {"SEM", kIdU, false, false},
    {"OST", kIdW, false, false}, {"PB2", kIdX, true, false},  {"IT2", kIdY, true, false},
    {"DT2", kIdZ, true, false},  {"IN2", kIdAA, true, false}, {"RSP", kIdBB, true, false},
    {"SP2", kIdBB, true, false}, {"HCR", kIdHC, true, false}, {"A1R", kIdG, false, false},
    {"A2R", kIdH, false, false},
};

}  // namespace

const ValueIdInfo& Info(ValueId id) {
  return kInfo[id];
}

std::optional<ValueId> FindValueId(std::string_view text) {
  for (int i = 0; i < kValueIdCount; ++i) {
    if (text == kInfo[i].text) return static_cast<ValueId>(i);
  }
  return std::nullopt;
}

const MnemonicInfo& Mnemonic(int index) {
  return kMnemonics[index];
}

std::optional<MnemonicInfo> FindMnemonic(std::string_view mnemonic) {
  if (mnemonic.size() != 3) return std::nullopt;
  char upper[4] = {};
  for (int i = 0; i < 3; ++i) {
    upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(mnemonic[i])));
  }
  for (const MnemonicInfo& row : kMnemonics) {
    if (std::string_view(row.mnemonic) == upper) return row;
  }
  return std::nullopt;
}

}  // namespace tcudv::sim
