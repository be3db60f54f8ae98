// Value cells: what a write puts in them and how a read's value is shown.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "entry/ldi.h"
#include "value_cell.h"
#include "value_display.h"
#include "value_input.h"

namespace tcudv::host {
namespace {

std::array<unsigned char, 4> Bytes(const ValueCell& cell) {
  return {cell.bytes[0], cell.bytes[1], cell.bytes[2], cell.bytes[3]};
}

std::array<unsigned char, 4> FloatBytes(float value) {
  std::array<unsigned char, 4> bytes{};
  std::memcpy(bytes.data(), &value, 4);
  return bytes;
}

TEST(WriteValue, EachTypeTakesItsOwnKindOfNumber) {
  struct Case {
    uint32_t type;
    const char* text;
    std::array<unsigned char, 4> bytes;
  };
  // Words go to bytes 2 and 3, little-endian; bytes 0 and 1 stay 0.
  const Case cases[] = {
      {LDI_TYPE_FLOAT, "150", FloatBytes(150.0f)},  {LDI_TYPE_FLOAT, "-12.35", FloatBytes(-12.35f)},
      {LDI_TYPE_FLOAT, "0", FloatBytes(0.0f)},      {LDI_TYPE_WORD, "25", {0, 0, 0x19, 0x00}},
      {LDI_TYPE_WORD, "-5", {0, 0, 0xFB, 0xFF}},    {LDI_TYPE_WORD, "-32768", {0, 0, 0x00, 0x80}},
      {LDI_TYPE_WORD, "65535", {0, 0, 0xFF, 0xFF}}, {LDI_TYPE_WORD, "4660", {0, 0, 0x34, 0x12}},
      {LDI_TYPE_BIT, "anything", {0, 0, 0, 0}},     {LDI_TYPE_BIT, "", {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, static_cast<char>(c.type)) + " " + c.text);
    ValueCell cell;
    std::memset(cell.bytes, 0xAA, sizeof cell.bytes);  // a cell used before
    EXPECT_EQ(EncodeWriteValue(c.type, c.text, cell), "");
    EXPECT_EQ(Bytes(cell), c.bytes);
  }
}

TEST(WriteValue, ValuesThatDoNotFitTheGateAreRefused) {
  struct Case {
    uint32_t type;
    const char* text;
    const char* reasonPart;
  };
  const Case cases[] = {
      {LDI_TYPE_FLOAT, "abc", "number"},
      {LDI_TYPE_FLOAT, "", "number"},
      {LDI_TYPE_FLOAT, "nan", "number"},
      {LDI_TYPE_FLOAT, "1e40", "number"},
      {LDI_TYPE_WORD, "1.5", "whole number"},
      {LDI_TYPE_WORD, "65536", "-32768 to 65535"},
      {LDI_TYPE_WORD, "-32769", "whole"},
      {LDI_TYPE_WORD, "", "whole"},
      {'X', "1", "data type"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, static_cast<char>(c.type)) + " " + c.text);
    ValueCell cell;
    const std::string reason = EncodeWriteValue(c.type, c.text, cell);
    EXPECT_NE(reason.find(c.reasonPart), std::string::npos) << reason;
  }
}

TEST(ValueDisplay, FloatsShowTheShortestTextThatReadsBack) {
  struct Case {
    float value;
    const char* shown;
  };
  const Case cases[] = {
      {150.0f, "150.0"}, {12.3f, "12.3"},       {-0.5f, "-0.5"},   {0.0f, "0.0"},
      {1.25f, "1.25"},   {-12.4f, "-12.4"},     {99.99f, "99.99"}, {1e10f, "10000000000.0"},
      {0.001f, "0.001"}, {-9999.0f, "-9999.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(FormatFloat(c.value), c.shown);
  }
}

TEST(ValueDisplay, EachTypeShowsItsPartOfTheCell) {
  ValueCell cell;
  StoreFloat(cell, 72.5f);
  EXPECT_EQ(DisplayValue(LDI_TYPE_FLOAT, cell), "72.5");

  // A word shows bytes 2 and 3 only, signed; bytes 0 and 1 may hold anything.
  ValueCell word;
  word.bytes[0] = 0x12;
  word.bytes[1] = 0x34;
  StoreWord(word, 0xFFFB);
  EXPECT_EQ(LoadWord(word), 0xFFFB);
  EXPECT_EQ(word.bytes[0], 0x12);
  EXPECT_EQ(word.bytes[1], 0x34);
  EXPECT_EQ(DisplayValue(LDI_TYPE_WORD, word), "-5");
  StoreWord(word, 1);
  EXPECT_EQ(DisplayValue(LDI_TYPE_WORD, word), "1");
  StoreWord(word, 9999);
  EXPECT_EQ(DisplayValue(LDI_TYPE_WORD, word), "9999");

  EXPECT_EQ(DisplayValue(LDI_TYPE_BIT, cell), "-");
}

}  // namespace
}  // namespace tcudv::host
