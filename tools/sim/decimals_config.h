// Decimal places per node and value id, from the defaults, "--decimals" options and files.
#ifndef TCUDV_SIM_DECIMALS_CONFIG_H
#define TCUDV_SIM_DECIMALS_CONFIG_H

#include <array>
#include <string>
#include <string_view>

#include "sim/value_ids.h"

namespace tcudv::sim {

// Rows 0 to 99 by node; row 0 only takes what a file says for it.
using DecimalsTable = std::array<std::array<int, kValueIdCount>, 100>;

DecimalsTable DefaultDecimals();

// "NODES:NAME=D[,NAME=D...]": NODES a node list, NAME a mnemonic with decimals or RESOLUTION
// (TMP, INP, SET, AL1, AL2, DEV and CDB), D 0 to 3. Returns an error text, empty on success.
std::string ApplyDecimalsOption(std::string_view setting, DecimalsTable& table);

// One line of the driver's initialisation file: "SET 5 = 1", "RESOLUTION 7 = 2" or "IFG = 250"
// (the gap is the driver's and changes nothing here). Empty and blank lines are skipped.
// Returns an error text, empty on success.
std::string ApplyDecimalsLine(std::string_view line, DecimalsTable& table);

// Every line of a file of that form; the error names the line.
std::string ApplyDecimalsFile(const std::string& path, DecimalsTable& table);

}  // namespace tcudv::sim

#endif
