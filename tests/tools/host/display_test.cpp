// What the tool draws: code page 437 in UTF-8, the banner, the poll table, the progress bar.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "banner_display.h"
#include "cp437.h"
#include "entry/ldi.h"
#include "poll_table.h"
#include "progress_bar.h"

namespace tcudv::host {
namespace {

std::string Repeat(const std::string& text, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

// The code point of one UTF-8 sequence, or -1 when it is not one well-formed sequence.
long DecodeOne(const std::string& text) {
  const auto b = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  if (text.size() == 2 && (b(0) & 0xE0) == 0xC0 && (b(1) & 0xC0) == 0x80) {
    long cp = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    return cp >= 0x80 ? cp : -1;
  }
  if (text.size() == 3 && (b(0) & 0xF0) == 0xE0 && (b(1) & 0xC0) == 0x80 && (b(2) & 0xC0) == 0x80) {
    long cp = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    return cp >= 0x800 ? cp : -1;
  }
  return -1;
}

TEST(Cp437, BoxCharactersAndLettersBecomeTheirUnicodeCharacters) {
  struct Case {
    unsigned char byte;
    const char* utf8;
  };
  const Case cases[] = {
      {0xC9, "\u2554"}, {0xCD, "\u2550"}, {0xBB, "\u2557"}, {0xBA, "\u2551"}, {0xC8, "\u255A"},
      {0xBC, "\u255D"}, {0xB3, "\u2502"}, {0xC4, "\u2500"}, {0xDA, "\u250C"}, {0xD9, "\u2518"},
      {0xDB, "\u2588"}, {0xB0, "\u2591"}, {0x80, "\u00C7"}, {0x81, "\u00FC"}, {0x9E, "\u20A7"},
      {0xE1, "\u00DF"}, {0xE3, "\u03C0"}, {0xF8, "\u00B0"}, {0xFD, "\u00B2"}, {0xFF, "\u00A0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.byte));
    EXPECT_EQ(Cp437ToUtf8(std::string(1, static_cast<char>(c.byte))), c.utf8);
  }
}

TEST(Cp437, AsciiStaysAndEveryUpperByteIsOneDistinctCharacter) {
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
  EXPECT_EQ(Cp437ToUtf8(ascii), ascii);

  std::set<long> codePoints;
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    SCOPED_TRACE(byte);
    const long cp = DecodeOne(Cp437ToUtf8(std::string(1, static_cast<char>(byte))));
    EXPECT_GE(cp, 0xA0);
    codePoints.insert(cp);
  }
  EXPECT_EQ(codePoints.size(), 128u);

  EXPECT_EQ(Cp437ToUtf8("a\xC9z"), "a\u2554z");
}

TEST(BannerDisplay, TheDriversBoxIsDrawnWithoutItsControlCharacters) {
  const std::string top = "\u2554" + Repeat("\u2550", 65) + "\u2557";
  const std::string middle =
      "\u2551  TCUDV :  RED Lion-PLC LDI-driver (32 bit)" + std::string(22, ' ') + "\u2551";
  const std::string bottom = "\u255A" + Repeat("\u2550", 65) + "\u255D";

  LdiInfo info{};
  LdiCall call{};
  call.operation = LDI_OP_GET_LDI_INFO;
  call.record = &info;
  ASSERT_EQ(LdiMain(&call), LDI_OK);
  ASSERT_NE(info.banner, nullptr);
  EXPECT_EQ(Lines(ReadableBanner(info.banner)), (std::vector<std::string>{top, middle, bottom}));

  EXPECT_EQ(ReadableBanner("\x08\n\n\xC9\xBB\x07\n\x7F\xC8\xBC\n"), "\u2554\u2557\n\u255A\u255D");
  EXPECT_EQ(ReadableBanner("\x08\n"), "");
}

TEST(PollTable, RowsLineUpUnderTheHeader) {
  std::vector<PollRow> rows(3);
  rows[0] = {"01SET", "150.0", "ok", 123, 0, 4};
  rows[1] = {"05OST3", "1", "ok", 7, 1, 4};
  rows[2] = {"09TMP", "-", "line failure (result 2)", 1480, 4, 4};
  const std::vector<std::string> lines = RenderPollTable(rows, 4, 10);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "round 4 of 10");

  const std::string& header = lines[1];
  const size_t valueEnd = header.find("VALUE") + 5;
  const size_t statusAt = header.find("STATUS");
  const size_t msEnd = header.find("MS") + 2;
  const size_t failuresAt = header.find("FAILURES");
  const struct {
    const char* gate;
    const char* value;
    const char* status;
    const char* ms;
    const char* failures;
  } expected[] = {{"01SET", "150.0", "ok", "123", "0 of 4"},
                  {"05OST3", "1", "ok", "7", "1 of 4"},
                  {"09TMP", "-", "line failure (result 2)", "1480", "4 of 4"}};
  for (size_t i = 0; i < 3; ++i) {
    const std::string& line = lines[2 + i];
    SCOPED_TRACE(line);
    EXPECT_EQ(line.rfind(expected[i].gate, 0), 0u);
    // Values and times end under their headings; statuses and counts start under theirs.
    EXPECT_EQ(
        line.substr(valueEnd - std::strlen(expected[i].value), std::strlen(expected[i].value)),
        expected[i].value);
    EXPECT_EQ(line.substr(statusAt, std::strlen(expected[i].status)), expected[i].status);
    EXPECT_EQ(line.substr(msEnd - std::strlen(expected[i].ms), std::strlen(expected[i].ms)),
              expected[i].ms);
    EXPECT_EQ(line.substr(failuresAt), expected[i].failures);
  }

  EXPECT_EQ(RenderPollTable(rows, 7, 0)[0], "round 7 (Ctrl-C ends)");
  EXPECT_EQ(PlainPollLine(rows[2], 4),
            "round 4: 09TMP = -, line failure (result 2), 1480 ms, failures 4 of 4");
  EXPECT_EQ(PlainPollLine(PollRow{"01SET"}, 1), "round 1: 01SET = -, -, - ms, failures 0 of 0");
}

TEST(ProgressBar, FillsInProportionAndCounts) {
  EXPECT_EQ(ProgressBar(0, 99, 10), "[..........]  0/99");
  EXPECT_EQ(ProgressBar(50, 100, 10), "[#####.....]  50/100");
  EXPECT_EQ(ProgressBar(99, 99, 10), "[##########]  99/99");
  EXPECT_EQ(ProgressBar(120, 99, 4), "[####]  99/99");
  EXPECT_EQ(ProgressBar(0, 0, 3), "[###]  0/0");
}

}  // namespace
}  // namespace tcudv::host
