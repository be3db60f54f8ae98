#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "entry/ldi.h"
#include "params/parameter_table.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

constexpr int32_t kAnyKind[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8};

// A workspace whose resolution table holds the defaults, as after a start
// without an initialisation file.
struct DefaultWorkspace {
  Workspace workspace{};
  DefaultWorkspace() {
    for (unsigned node = 0; node < kNodeRows; ++node) {
      for (unsigned param = 0; param < kParameterCount; ++param) {
        workspace.resolution[node][param] = static_cast<uint8_t>(kDefaultResolution[param]);
      }
    }
  }
};

// One call of operation 3; the host's text lives in its own buffer so that a
// parser writing into it would be seen.
struct ParseCall {
  std::vector<char> text;
  LdiGateAddress gate{};
  int32_t result = -1;

  ParseCall(const std::string& address, int32_t kind, Workspace* workspace) {
    text.assign(address.begin(), address.end());
    text.push_back('\0');
    gate.address = text.data();
    gate.kind = kind;
    ClearLog();
    LdiCall call{};
    call.workspace = workspace;
    call.operation = LDI_OP_SINGLE_ADDRESS_PARSER;
    call.record = &gate;
    result = LdiMain(&call);
  }
  std::string Text() const { return text.data(); }
};

std::vector<LogLine> OneInfoLine(const std::string& format, const std::string& shown) {
  std::string text = format;
  text.replace(text.find("%s"), 2, shown);
  return {{8, format, text}};
}

struct Accepted {
  const char* address;
  int32_t kind;  // the one kind that fits
  uint32_t node;
  char type;
  uint32_t param;
  int32_t bit;
  uint32_t width;
};

// Every mnemonic at its index, with the type the default resolutions give,
// and the forms of the node and the case the grammar allows.
const Accepted kAccepted[] = {
    {"01TMP", 3, 1, 'L', 0, -1, 32},   {"02INP", 3, 2, 'L', 1, -1, 32},
    {"12set", 3, 12, 'L', 2, -1, 32},  {"05PWR", 3, 5, 'L', 3, -1, 32},
    {"06PBD", 3, 6, 'L', 4, -1, 32},   {"07INT", 0, 7, 'W', 5, -1, 16},
    {"08DER", 1, 8, 'W', 6, -1, 16},   {"09AL1", 3, 9, 'L', 7, -1, 32},
    {"10AL2", 3, 10, 'L', 8, -1, 32},  {"11DEV", 3, 11, 'L', 9, -1, 32},
    {"20OFP", 3, 20, 'L', 10, -1, 32}, {"30RMP", 3, 30, 'L', 11, -1, 32},
    {"40CRG", 3, 40, 'L', 12, -1, 32}, {"50CDB", 3, 50, 'L', 13, -1, 32},
    {"60RAT", 3, 60, 'L', 14, -1, 32}, {"70BIA", 0, 70, 'W', 15, -1, 16},
    {"03CTR", 0, 3, 'W', 16, -1, 16},  {"03SEM", 1, 3, 'W', 17, -1, 16},
    {"05OST0", 6, 5, 'W', 18, 0, 16},  {"05OST1", 6, 5, 'W', 18, 1, 16},
    {"05ost2", 6, 5, 'W', 18, 2, 16},  {"05OST3", 6, 5, 'W', 18, 3, 16},
    {"80PB2", 3, 80, 'L', 19, -1, 32}, {"81IT2", 0, 81, 'W', 20, -1, 16},
    {"82DT2", 0, 82, 'W', 21, -1, 16}, {"83IN2", 3, 83, 'L', 22, -1, 32},
    {"84RSP", 0, 84, 'W', 23, -1, 16}, {"85SP2", 3, 85, 'L', 24, -1, 32},
    {"99HCR", 3, 99, 'L', 25, -1, 32}, {"07A1R", 6, 7, 'B', 26, -1, 1},
    {"07a2r", 6, 7, 'B', 27, -1, 1},   {"01tmp", 3, 1, 'L', 0, -1, 32},
    {"1XTMP", 3, 1, 'L', 0, -1, 32},   {" 1TMP", 3, 1, 'L', 0, -1, 32},
    {"1 TMP", 3, 1, 'L', 0, -1, 32},   {"09Al1", 3, 9, 'L', 7, -1, 32},
};

TEST(AddressParser, AcceptedAddressesGiveNodeTypeParamBitAndWidth) {
  DefaultWorkspace ws;
  for (const Accepted& c : kAccepted) {
    SCOPED_TRACE(c.address);
    ParseCall p(c.address, c.kind, &ws.workspace);
    EXPECT_EQ(p.result, LDI_OK);
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(p.gate.node, c.node);
    EXPECT_EQ(p.gate.type, static_cast<uint32_t>(c.type));
    EXPECT_EQ(p.gate.param, c.param);
    EXPECT_EQ(p.gate.bit, c.bit);
    EXPECT_EQ(p.gate.width, c.width);
    EXPECT_EQ(p.Text(), c.address);
  }
}

TEST(AddressParser, EachAcceptedAddressFitsOnlyItsKind) {
  DefaultWorkspace ws;
  for (const Accepted& c : kAccepted) {
    for (int32_t kind : kAnyKind) {
      const bool fits = kind == c.kind || (c.kind <= 1 && kind <= 1 && kind >= 0);
      SCOPED_TRACE(std::string(c.address) + " kind " + std::to_string(kind));
      ParseCall p(c.address, kind, &ws.workspace);
      EXPECT_EQ(p.result, fits ? LDI_OK : LDI_REFUSED);
      EXPECT_EQ(LogLines().size(), fits ? 0u : 1u);
    }
  }
}

struct Refused {
  const char* address;
  int32_t kind;
  const char* format;
  const char* shown;  // the text the message prints
};

constexpr char kLength[] = "LDIYY> Parse() Address string wrong length '%s'";
constexpr char kPlc[] = "LDIYY> Parse() Illegal PLC addr in '%s'";
constexpr char kGateAddr[] = "LDIYY> Parse() Illegal GATE addr in '%s'";
constexpr char kBitNumber[] = "LDIYY> Parse() Illegal BitNumber in '%s'";
constexpr char kString[] = "LDIYY> SingleParse() no STRING gates allowed gate '%s'";
constexpr char kDigital[] = "LDIYY> SingleParse() gate '%s' should be DIGITAL";
constexpr char kAnalog16[] = "LDIYY> SingleParse() gate '%s' should be analog 16-bit";
constexpr char kFloat[] = "LDIYY> SingleParse() gate '%s' should be analog float";

const Refused kRefused[] = {
    // Length, before anything else; the host's text as given.
    {"01TMPXY", 3, kLength, "01TMPXY"},
    {"01tmp  ", 3, kLength, "01tmp  "},
    {"01tmp0123456789abcdefghijklmnopqrstuvwxyz", 3, kLength,
     "01tmp0123456789abcdefghijklmnopqrstuvwxyz"},
    {"01OST00", 6, kLength, "01OST00"},
    // Node: from here on the upper-cased copy is printed.
    {"00TMP", 3, kPlc, "00TMP"},
    {"aatmp", 3, kPlc, "AATMP"},
    {"", 3, kPlc, ""},
    {"  ", 3, kPlc, "  "},
    {"-1TMP", 3, kPlc, "-1TMP"},
    {"-9tmp", 3, kPlc, "-9TMP"},
    {"-0TMP", 3, kPlc, "-0TMP"},
    {"0", 3, kPlc, "0"},
    {"001TMP", 3, kPlc, "001TMP"},
    // Mnemonic and length of the rest.
    {"01tmx", 3, kGateAddr, "01TMX"},
    {"01XYZ", 3, kGateAddr, "01XYZ"},
    {"01TMP1", 3, kGateAddr, "01TMP1"},
    {"01a1r ", 6, kGateAddr, "01A1R "},
    {"01TM", 3, kGateAddr, "01TM"},
    {"1", 3, kGateAddr, "1"},
    {"01", 3, kGateAddr, "01"},
    {"1TMP", 3, kGateAddr, "1TMP"},
    {"010TMP", 3, kGateAddr, "010TMP"},
    // The bit digit of OST.
    {"01OST", 6, kBitNumber, "01OST"},
    {"01OST4", 6, kBitNumber, "01OST4"},
    {"01ostx", 6, kBitNumber, "01OSTX"},
    {"01OST/", 6, kBitNumber, "01OST/"},
    {"01OST ", 6, kBitNumber, "01OST "},
    // Kinds, printed as the host gave the text.
    {"01tmp", 7, kString, "01tmp"},
    {"03ctr", 7, kString, "03ctr"},
    {"07a1r", 7, kString, "07a1r"},
    {"05ost1", 7, kString, "05ost1"},
    {"07a1r", 0, kDigital, "07a1r"},
    {"07A2R", 3, kDigital, "07A2R"},
    {"07A1R", 2, kDigital, "07A1R"},
    {"05ost1", 0, kDigital, "05ost1"},
    {"05OST3", 3, kDigital, "05OST3"},
    {"03ctr", 3, kAnalog16, "03ctr"},
    {"03SEM", 6, kAnalog16, "03SEM"},
    {"07INT", -1, kAnalog16, "07INT"},
    {"01tmp", 0, kFloat, "01tmp"},
    {"01TMP", 1, kFloat, "01TMP"},
    {"01TMP", 6, kFloat, "01TMP"},
    {"05PWR", 8, kFloat, "05PWR"},
};

TEST(AddressParser, EachRefusalLogsItsOneMessage) {
  DefaultWorkspace ws;
  for (const Refused& c : kRefused) {
    SCOPED_TRACE(std::string("'") + c.address + "' kind " + std::to_string(c.kind));
    ParseCall p(c.address, c.kind, &ws.workspace);
    EXPECT_EQ(p.result, LDI_REFUSED);
    EXPECT_EQ(LogLines(), OneInfoLine(c.format, c.shown));
    EXPECT_EQ(p.Text(), c.address);
  }
}

struct ByResolution {
  const char* address;
  uint32_t node;
  uint32_t param;
  uint8_t resolution;
  char type;
  uint32_t width;
};

// Parameters without PF_RESOLUTION follow the node's resolution; the others
// stay floats whatever it is.
const ByResolution kByResolution[] = {
    {"05PWR", 5, 3, 1, 'L', 32},  {"05PWR", 5, 3, 0, 'W', 16},   {"05PWR", 5, 3, 3, 'L', 32},
    {"07INT", 7, 5, 0, 'W', 16},  {"07INT", 7, 5, 2, 'L', 32},   {"99RAT", 99, 14, 0, 'W', 16},
    {"01HCR", 1, 25, 0, 'W', 16}, {"05TMP", 5, 0, 0, 'L', 32},   {"05TMP", 5, 0, 3, 'L', 32},
    {"05SET", 5, 2, 0, 'L', 32},  {"05CDB", 5, 13, 0, 'L', 32},  {"03CTR", 3, 16, 2, 'W', 16},
    {"07A1R", 7, 26, 3, 'B', 1},  {"05OST1", 5, 18, 2, 'W', 16},
};

int32_t KindFor(char type, int32_t bit) {
  if (type == 'L') return LDI_KIND_FLOAT;
  if (type == 'B' || bit != -1) return LDI_KIND_DIGITAL;
  return LDI_KIND_ANALOG16;
}

TEST(AddressParser, TypeFollowsTheResolutionOfThatNodeAndParameter) {
  for (const ByResolution& c : kByResolution) {
    SCOPED_TRACE(std::string(c.address) + " at resolution " + std::to_string(c.resolution));
    // Only the one entry is set; its neighbours in both directions hold the opposite.
    DefaultWorkspace ws;
    const uint8_t other = c.resolution == 0 ? 1 : 0;
    for (unsigned node = 0; node < kNodeRows; ++node) {
      for (unsigned param = 0; param < kParameterCount; ++param) {
        ws.workspace.resolution[node][param] = other;
      }
    }
    ws.workspace.resolution[c.node][c.param] = c.resolution;

    const int32_t bit = c.param == kParamOst ? 1 : -1;
    ParseCall fitting(c.address, KindFor(c.type, bit), &ws.workspace);
    EXPECT_EQ(fitting.result, LDI_OK);
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(fitting.gate.type, static_cast<uint32_t>(c.type));
    EXPECT_EQ(fitting.gate.width, c.width);
    EXPECT_EQ(fitting.gate.param, c.param);

    // The kind of the other analog type is refused with that type's message.
    if (c.type == 'L' || (c.type == 'W' && bit == -1)) {
      const int32_t wrong = c.type == 'L' ? LDI_KIND_ANALOG16_ALT : LDI_KIND_FLOAT;
      ParseCall p(c.address, wrong, &ws.workspace);
      EXPECT_EQ(p.result, LDI_REFUSED);
      EXPECT_EQ(LogLines(), OneInfoLine(c.type == 'L' ? kFloat : kAnalog16, c.address));
    }
  }
}

TEST(AddressParser, EachWorkspaceHasItsOwnResolutions) {
  DefaultWorkspace withDecimals;
  DefaultWorkspace withoutDecimals;
  withoutDecimals.workspace.resolution[5][3] = 0;
  ParseCall a("05PWR", 3, &withDecimals.workspace);
  ParseCall b("05PWR", 0, &withoutDecimals.workspace);
  EXPECT_EQ(a.result, LDI_OK);
  EXPECT_EQ(a.gate.type, static_cast<uint32_t>('L'));
  EXPECT_EQ(b.result, LDI_OK);
  EXPECT_EQ(b.gate.type, static_cast<uint32_t>('W'));
}

TEST(AddressParser, MissingRecordsAreRefusedWithOneLine) {
  DefaultWorkspace ws;
  char text[] = "01TMP";
  LdiGateAddress noText{};
  noText.kind = 3;
  LdiGateAddress noWorkspace{};
  noWorkspace.address = text;
  noWorkspace.kind = 3;
  struct Case {
    const char* name;
    void* workspace;
    LdiGateAddress* gate;
    const char* line;
  };
  const Case cases[] = {
      {"no record", &ws.workspace, nullptr, "LDIYY> SingleParse() no gate address given"},
      {"no address", &ws.workspace, &noText, "LDIYY> SingleParse() no gate address given"},
      {"no workspace", nullptr, &noWorkspace, "LDIYY> SingleParse() no workspace for gate '01TMP'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearLog();
    LdiCall call{};
    call.workspace = c.workspace;
    call.operation = LDI_OP_SINGLE_ADDRESS_PARSER;
    call.record = c.gate;
    EXPECT_EQ(LdiMain(&call), LDI_REFUSED);
    ASSERT_EQ(LogLines().size(), 1u);
    EXPECT_EQ(LogLines()[0].level, 8);
    EXPECT_EQ(LogLines()[0].text, c.line);
  }
}

}  // namespace
}  // namespace tcudv::test
