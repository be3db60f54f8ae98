#include "entry/operation_table.h"

#include "entry/block_operations.h"
#include "entry/ldi_info.h"
#include "params/address_parser.h"
#include "protocol/single_read.h"
#include "protocol/single_write.h"

namespace tcudv {

const Operation kOperationTable[kOperationCount] = {
    nullptr,              // 0
    nullptr,              // 1 ColdStart
    nullptr,              // 2 WarmStart
    SingleAddressParser,  // 3
    BlockAddressParser,   // 4
    SingleRead,           // 5
    BlockRead,            // 6
    SingleWrite,          // 7
    nullptr,              // 8
    nullptr,              // 9
    BlockWrite,           // 10
    nullptr,              // 11 EndLdi
    nullptr,              // 12 CloseCom
    nullptr,              // 13 ReOpenCom
    GetLdiInfo,           // 14
    nullptr,              // 15 ChangeLdiParams
    nullptr,              // 16
};

}  // namespace tcudv
