#include "entry/operation_table.h"

#include "core/lifecycle.h"
#include "entry/block_operations.h"
#include "entry/ldi_info.h"
#include "params/address_parser.h"
#include "protocol/single_read.h"
#include "protocol/single_write.h"

namespace tcudv {

const Operation kOperationTable[kOperationCount] = {
    nullptr,              // 0
    ColdStart,            // 1
    WarmStart,            // 2
    SingleAddressParser,  // 3
    BlockAddressParser,   // 4
    SingleRead,           // 5
    BlockRead,            // 6
    SingleWrite,          // 7
    nullptr,              // 8
    nullptr,              // 9
    BlockWrite,           // 10
    EndLdi,               // 11
    CloseCom,             // 12
    ReOpenCom,            // 13
    GetLdiInfo,           // 14
    ChangeLdiParams,      // 15
    nullptr,              // 16
};

}  // namespace tcudv
