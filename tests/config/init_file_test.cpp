#include "config/init_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "config/temp_current_directory.h"
#include "core/workspace.h"
#include "params/parameter_table.h"
#include "support/log_capture.h"

namespace tcudv::test {
namespace {

using Log = std::vector<std::pair<int, std::string>>;

uint32_t Param(const char* mnemonic) {
  for (uint32_t param = 0; param < kParameterCount; ++param) {
    if (std::strcmp(kMnemonic[param], mnemonic) == 0) return param;
  }
  ADD_FAILURE() << "no parameter " << mnemonic;
  return 0;
}

Log CapturedLog() {
  Log log;
  for (const LogLine& line : LogLines()) log.emplace_back(line.level, line.text);
  return log;
}

std::string Illegal(unsigned line, const char* file = "TCUDV03.INT") {
  return "LDIYY> ReadIntFile() illegal line " + std::to_string(line) + " in '" + file + "'";
}

struct Entry {
  unsigned node;
  const char* mnemonic;
  uint8_t resolution;
};

class InitFile : public ::testing::Test {
 protected:
  void SetUp() override {
    // Garbage everywhere, as a host's fresh allocation may hold.
    std::memset(&workspace, 0xEE, sizeof workspace);
    workspace.frameGap = kDefaultFrameGap;
  }

  void Read(uint32_t instance = 3) {
    LdiCall call{};
    call.workspace = &workspace;
    call.instance = instance;
    ClearLog();
    ReadInitFile(&call);
  }

  // Every entry is its parameter's default but for the ones listed.
  void ExpectTable(const std::vector<Entry>& changed) {
    for (unsigned node = 0; node < kNodeRows; ++node) {
      for (uint32_t param = 0; param < kParameterCount; ++param) {
        unsigned expected = kDefaultResolution[param];
        for (const Entry& entry : changed) {
          if (entry.node == node && Param(entry.mnemonic) == param) expected = entry.resolution;
        }
        ASSERT_EQ(workspace.resolution[node][param], expected)
            << "node " << node << " " << kMnemonic[param];
      }
    }
  }

  TempCurrentDirectory directory;
  Workspace workspace;
};

TEST_F(InitFile, NoFileWarnsOnceAndKeepsTheDefaults) {
  Read();
  EXPECT_EQ(CapturedLog(), (Log{{8, "LDIYY> ColdStart() Warning, no initfile found"}}));
  ExpectTable({});
  EXPECT_EQ(workspace.resolution[7][Param("RAT")], 3);
  EXPECT_EQ(workspace.resolution[7][Param("TMP")], 0);
  EXPECT_EQ(workspace.resolution[99][Param("PWR")], 1);
  EXPECT_EQ(workspace.frameGap, 100);
}

struct LineCase {
  const char* line;
  std::vector<Entry> changed;
  uint16_t gap;
  Log log;
};

const std::vector<Entry> kSeven{{7, "TMP", 1}, {7, "INP", 1}, {7, "SET", 1}, {7, "AL1", 1},
                                {7, "AL2", 1}, {7, "DEV", 1}, {7, "CDB", 1}};
const Log kSet5{{8, "LDIYY> ReadInitFile() plc 5 uses 2 as resolution for SET"}};
const Log kIllegal{{32, Illegal(1)}};

TEST_F(InitFile, EachLineFormHasItsEffectAndMessage) {
  const LineCase cases[] = {
      {"SET 5 = 2", {{5, "SET", 2}}, 100, kSet5},
      {"SET5=2", {{5, "SET", 2}}, 100, kSet5},
      {"SET 5 = 2 ; note", {{5, "SET", 2}}, 100, kSet5},
      {"SET\t5 \t=\t 2", {{5, "SET", 2}}, 100, kSet5},
      {"SET +5 = +2", {{5, "SET", 2}}, 100, kSet5},
      {"SET 5 = 4", {}, 100, kIllegal},
      {"SET 100 = 1", {}, 100, kIllegal},
      {"SET 5 = -1", {}, 100, kIllegal},
      {"SET 5 =", {}, 100, kIllegal},
      {"set 5 = 2", {}, 100, kIllegal},
      {" SET 5 = 2", {}, 100, kIllegal},
      {"   ", {}, 100, kIllegal},
      {"; note", {}, 100, kIllegal},
      {"TMP 0 = 2",
       {{0, "TMP", 2}},
       100,
       {{8, "LDIYY> ReadInitFile() plc 0 uses 2 as resolution for TMP"}}},
      {"A2R 99 = 3",
       {{99, "A2R", 3}},
       100,
       {{8, "LDIYY> ReadInitFile() plc 99 uses 3 as resolution for A2R"}}},
      {"IN2 4 = 0",
       {{4, "IN2", 0}},
       100,
       {{8, "LDIYY> ReadInitFile() plc 4 uses 0 as resolution for IN2"}}},
      {"RESOLUTION 7 = 1", kSeven, 100, {}},
      {"RESOLUTION7=1", kSeven, 100, {}},
      {"RESOLUTION 7 = 9", {}, 100, kIllegal},
      {"RESOLUTION 100 = 1", {}, 100, kIllegal},
      {"resolution 7 = 1", {}, 100, kIllegal},
      {"IFG = 250", {}, 250, {{8, "LDIYY> ReadInitFile() IFG = 250"}}},
      {"IFG = 65636", {}, 100, {{8, "LDIYY> ReadInitFile() IFG = 65636"}}},
      {"IFG = 0", {}, 0, {{8, "LDIYY> ReadInitFile() IFG = 0"}}},
      {"IFG = -1", {}, 65535, {{8, "LDIYY> ReadInitFile() IFG = 4294967295"}}},
      {"IFG=7 ms", {}, 7, {{8, "LDIYY> ReadInitFile() IFG = 7"}}},
      {"IFG 250", {}, 100, kIllegal},
      {"", {}, 100, {}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(std::string("line '") + c.line + "'");
    SetUp();
    TempCurrentDirectory::Write("TCUDV03.INT", std::string(c.line) + "\n");
    Read();
    EXPECT_EQ(CapturedLog(), c.log);
    ExpectTable(c.changed);
    EXPECT_EQ(workspace.frameGap, c.gap);
  }
}

TEST_F(InitFile, LaterLinesOverrideEarlierOnes) {
  struct {
    const char* file;
    uint8_t set7;
  } cases[] = {{"RESOLUTION 7 = 1\nSET 7 = 0\n", 0}, {"SET 7 = 0\nRESOLUTION 7 = 1\n", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TempCurrentDirectory::Write("TCUDV03.INT", c.file);
    Read();
    EXPECT_EQ(workspace.resolution[7][Param("SET")], c.set7);
    EXPECT_EQ(workspace.resolution[7][Param("TMP")], 1);
    EXPECT_EQ(workspace.resolution[7][Param("PWR")], 1);
    EXPECT_EQ(workspace.resolution[7][Param("INT")], 0);
  }
}

TEST_F(InitFile, NameTriesInOrder) {
  struct {
    uint32_t instance;
    std::vector<std::string> present;
    const char* read;  // nullptr: no file found
  } cases[] = {
      {3, {"TCUDV03.INT", "TCUDV3.INT", "TCUDV.INT"}, "TCUDV03.INT"},
      {3, {"TCUDV3.INT", "TCUDV.INT"}, "TCUDV3.INT"},
      {3, {"TCUDV.INT", "TCUDV003.INT"}, "TCUDV.INT"},
      {3, {"TCUDV3.int", "TCUDV03"}, nullptr},
      {12, {"TCUDV12.INT", "TCUDV.INT"}, "TCUDV12.INT"},
      {12, {"TCUDV012.INT", "TCUDV.INT"}, "TCUDV.INT"},
      {0, {"TCUDV00.INT", "TCUDV0.INT"}, "TCUDV00.INT"},
      {0, {"TCUDV0.INT"}, "TCUDV0.INT"},
      {123456, {"TCUDV123456.INT"}, "TCUDV123456.INT"},
      // Seven digits do not fit the 15 characters: never a cut name.
      {1234567, {"TCUDV1234567.INT", "TCUDV1234567.IN", "TCUDV.INT"}, "TCUDV.INT"},
      {1234567, {"TCUDV1234567.INT", "TCUDV1234567.IN"}, nullptr},
      {0xFFFFFFFFu, {"TCUDV4294967295.INT", "TCUDV.INT"}, "TCUDV.INT"},
  };
  for (const auto& c : cases) {
    TempCurrentDirectory fresh;
    SCOPED_TRACE("instance " + std::to_string(c.instance));
    // Each file holds one illegal line, so the message names the file read.
    for (const std::string& name : c.present) TempCurrentDirectory::Write(name, "?\n");
    Read(c.instance);
    if (c.read == nullptr) {
      EXPECT_EQ(CapturedLog(), (Log{{8, "LDIYY> ColdStart() Warning, no initfile found"}}));
    } else {
      EXPECT_EQ(CapturedLog(), (Log{{32, Illegal(1, c.read)}}));
    }
  }
}

TEST_F(InitFile, EmptyLinesAreSilentButCounted) {
  for (const char* end : {"\n", "\r\n"}) {
    SCOPED_TRACE(end[0] == '\r' ? "CR LF" : "LF");
    const std::string e = end;
    TempCurrentDirectory::Write("TCUDV03.INT",
                                "SET 5 = 2" + e + e + "?" + e + e + e + "IFG = 9" + e + "?" + e);
    Read();
    EXPECT_EQ(
        CapturedLog(),
        (Log{kSet5[0], {32, Illegal(3)}, {8, "LDIYY> ReadInitFile() IFG = 9"}, {32, Illegal(7)}}));
    ExpectTable({{5, "SET", 2}});
    EXPECT_EQ(workspace.frameGap, 9);
  }
}

TEST_F(InitFile, CrLfAtEveryOffsetOfALongFile) {
  // Shifted by one byte, the CR LF pairs fall on both odd and even offsets.
  std::string pairs;
  for (int i = 0; i < 600; ++i) pairs += "\r\n";
  for (const std::string& head : {std::string(), std::string("\n")}) {
    SCOPED_TRACE(head.size());
    TempCurrentDirectory::Write("TCUDV03.INT", head + pairs + "?\r\n");
    Read();
    EXPECT_EQ(CapturedLog(), (Log{{32, Illegal(601 + head.size())}}));
  }
}

TEST_F(InitFile, DirectoryOfThatNameIsNoFile) {
  std::filesystem::create_directory("TCUDV03.INT");
  TempCurrentDirectory::Write("TCUDV3.INT", "?\n");
  Read();
  EXPECT_EQ(CapturedLog(), (Log{{32, Illegal(1, "TCUDV3.INT")}}));
}

TEST_F(InitFile, LoneCarriageReturnStaysInTheLine) {
  // Not a line end: the CR makes the line illegal as any other stray character would.
  TempCurrentDirectory::Write("TCUDV03.INT", "\r\nSET 5 = 2\n\rSET 6 = 2\n");
  Read();
  EXPECT_EQ(CapturedLog(), (Log{kSet5[0], {32, Illegal(3)}}));
}

TEST_F(InitFile, ByteOneAEndsTheFile) {
  const char* files[] = {"IFG = 9\n\x1A?\nSET 5 = 2\n", "IFG = 9\n\x1A", "IFG = 9\x1A\n?\n",
                         "IFG = 9\r\x1A\n?\n"};
  for (const char* file : files) {
    SCOPED_TRACE(::testing::PrintToString(std::string(file)));
    TempCurrentDirectory::Write("TCUDV03.INT", file);
    Read();
    EXPECT_EQ(CapturedLog(), (Log{{8, "LDIYY> ReadInitFile() IFG = 9"}}));
    ExpectTable({});
  }
}

TEST_F(InitFile, LongLinesAreTakenInPiecesOf255) {
  // The second piece of a 300-character line starts with an IFG line of its own.
  std::string first = "SET 5 = 2 ;";
  first.resize(255, 'x');
  first += "IFG = 9 ;";
  first.resize(300, 'y');
  TempCurrentDirectory::Write("TCUDV03.INT", first + "\n?\n");
  Read();
  EXPECT_EQ(CapturedLog(), (Log{kSet5[0], {8, "LDIYY> ReadInitFile() IFG = 9"}, {32, Illegal(3)}}));
  EXPECT_EQ(workspace.frameGap, 9);

  struct {
    size_t length;  // characters before the line end
    const char* end;
    std::vector<unsigned> illegal;  // the pieces of z, then the line "?"
  } cases[] = {
      {254, "\n", {2}},    {254, "\r\n", {2}},  // the line end is the 255th character
      {255, "\n", {3}},    {255, "\r\n", {3}},  // the line end alone is an empty line
      {509, "\n", {2, 3}}, {510, "\n", {2, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + (c.end[0] == '\r' ? " CR LF" : " LF"));
    std::string line = "IFG = 9 ;";
    line.resize(c.length, 'z');
    TempCurrentDirectory::Write("TCUDV03.INT", line + c.end + "?" + c.end);
    Read();
    Log expected{{8, "LDIYY> ReadInitFile() IFG = 9"}};
    for (unsigned number : c.illegal) expected.push_back({32, Illegal(number)});
    EXPECT_EQ(CapturedLog(), expected);
  }
}

TEST_F(InitFile, LineCounterIsSixteenBitsWide) {
  TempCurrentDirectory::Write("TCUDV03.INT", std::string(65536, '\n') + "?\n");
  Read();
  EXPECT_EQ(CapturedLog(), (Log{{32, Illegal(1)}}));
}

TEST_F(InitFile, NullWorkspaceIsIgnored) {
  TempCurrentDirectory::Write("TCUDV03.INT", "SET 5 = 2\n");
  LdiCall call{};
  call.instance = 3;
  ClearLog();
  ReadInitFile(&call);
  ReadInitFile(nullptr);
  EXPECT_TRUE(LogLines().empty());
}

}  // namespace
}  // namespace tcudv::test
