#include "params/parameter_table.h"

namespace tcudv {
namespace {

// Rows that share a value id share one text.
const char kIdA[] = "A";
const char kIdG[] = "G";
const char kIdH[] = "H";
const char kIdBB[] = "BB";

}  // namespace

const char* const kMnemonic[kParameterCount] = {
    "TMP", "INP", "SET", "PWR", "PBD", "INT", "DER", "AL1", "AL2", "DEV", "OFP", "RMP", "CRG", "CDB",
    "RAT", "BIA", "CTR", "SEM", "OST", "PB2", "IT2", "DT2", "IN2", "RSP", "SP2", "HCR", "A1R", "A2R"};

const char* const kValueId[kParameterCount] = {
    kIdA, kIdA, "B", "C", "D", "E", "F", kIdG, kIdH, "I",  "J",   "K",  "L",  "M",
    "O",  "Q",  "S", "U", "W", "X", "Y", "Z",  "AA", kIdBB, kIdBB, "HC", kIdG, kIdH};

const uint8_t kFlags[kParameterCount] = {3, 3, 7, 6, 6, 6, 6, 7, 7, 3,  6, 6, 6, 7,
                                         6, 6, 16, 16, 2, 6, 6, 6, 2, 2, 2, 2, 8, 8};

const uint32_t kDefaultResolution[kParameterCount] = {0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 0,
                                                      3, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1, 1, 0, 0};

}  // namespace tcudv
