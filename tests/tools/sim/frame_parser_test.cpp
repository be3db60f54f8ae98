#include "sim/frame_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tcudv::sim {
namespace {

struct DecodeCase {
  const char* frame;
  const char* reason;  // empty for a well-formed frame
  int node;
  char command;
  ValueId id;
  const char* value;
};

class SimFrameDecode : public testing::TestWithParam<DecodeCase> {};

TEST_P(SimFrameDecode, SplitsNodeCommandIdAndValue) {
  const DecodeCase& c = GetParam();
  const ReceivedItem item = DecodeFrame(c.frame);
  EXPECT_EQ(item.raw, c.frame);
  if (std::string(c.reason).empty()) {
    ASSERT_EQ(item.kind, Received::kFrame) << item.reason;
    EXPECT_EQ(item.node, c.node);
    EXPECT_EQ(item.command, c.command);
    EXPECT_EQ(item.id, c.id);
    EXPECT_EQ(item.value, c.value);
  } else {
    EXPECT_EQ(item.kind, Received::kMalformed);
    EXPECT_EQ(item.reason, c.reason);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SimFrameDecode,
    testing::Values(
        DecodeCase{"N01TA*", "", 1, 'T', kIdA, ""}, DecodeCase{"N99TA*", "", 99, 'T', kIdA, ""},
        // Ids that are prefixes of others: for T and R the id runs to the "*".
        DecodeCase{"N05TB*", "", 5, 'T', kIdB, ""}, DecodeCase{"N05TBB*", "", 5, 'T', kIdBB, ""},
        DecodeCase{"N12TH*", "", 12, 'T', kIdH, ""}, DecodeCase{"N12THC*", "", 12, 'T', kIdHC, ""},
        DecodeCase{"N07TAA*", "", 7, 'T', kIdAA, ""}, DecodeCase{"N07RG*", "", 7, 'R', kIdG, ""},
        DecodeCase{"N07RH*", "", 7, 'R', kIdH, ""},
        // For V and C the value starts at the first digit, sign or point.
        DecodeCase{"N01VB0150*", "", 1, 'V', kIdB, "0150"},
        DecodeCase{"N01VBB0150*", "", 1, 'V', kIdBB, "0150"},
        DecodeCase{"N01VH-0020*", "", 1, 'V', kIdH, "-0020"},
        DecodeCase{"N01VHC+12*", "", 1, 'V', kIdHC, "+12"},
        DecodeCase{"N01VAA050.5*", "", 1, 'V', kIdAA, "050.5"},
        DecodeCase{"N01VC.5*", "", 1, 'V', kIdC, ".5"},
        DecodeCase{"N01VB-012.4*", "", 1, 'V', kIdB, "-012.4"},
        DecodeCase{"N01VB1A*", "", 1, 'V', kIdB, "1A"},
        DecodeCase{"N03CS1*", "", 3, 'C', kIdS, "1"}, DecodeCase{"N03CU2*", "", 3, 'C', kIdU, "2"},
        DecodeCase{"N00TA*", "bad-node", 0, 0, kIdA, ""},
        DecodeCase{"N1ATA*", "bad-node", 0, 0, kIdA, ""},
        DecodeCase{"N 1TA*", "bad-node", 0, 0, kIdA, ""},
        DecodeCase{"N01XA*", "bad-command", 0, 0, kIdA, ""},
        DecodeCase{"N01ta*", "bad-command", 0, 0, kIdA, ""},
        DecodeCase{"N01T*", "too-short", 0, 0, kIdA, ""},
        DecodeCase{"N01TA1*", "unknown-id", 0, 0, kIdA, ""},
        DecodeCase{"N01TAB*", "unknown-id", 0, 0, kIdA, ""},
        DecodeCase{"N01TN*", "unknown-id", 0, 0, kIdA, ""},
        DecodeCase{"N01RG1*", "unknown-id", 0, 0, kIdA, ""},
        DecodeCase{"N01V0150*", "unknown-id", 0, 0, kIdA, ""},
        DecodeCase{"N01VXY5*", "unknown-id", 0, 0, kIdA, ""},
        DecodeCase{"N01VB*", "no-value", 0, 0, kIdA, ""},
        DecodeCase{"N01CS*", "no-value", 0, 0, kIdA, ""}));

struct StreamCase {
  const char* name;
  std::string bytes;
  std::vector<std::pair<Received, std::string>> items;  // kind and raw bytes, in order
};

std::vector<std::pair<Received, std::string>> Collect(FrameParser& parser,
                                                      const std::vector<std::string>& pieces) {
  std::vector<ReceivedItem> items;
  for (const std::string& piece : pieces) parser.Feed(piece, items);
  parser.FlushNoise(items);
  std::vector<std::pair<Received, std::string>> out;
  for (const ReceivedItem& item : items) out.emplace_back(item.kind, item.raw);
  return out;
}

TEST(SimFrameStream, CutsBackToBackFramesAndResynchronises) {
  const std::string tooLong = "N01VB" + std::string(30, '1');
  const std::vector<StreamCase> cases = {
      {"back to back",
       "N01TA*N02TBB*N03VB0150*",
       {{Received::kFrame, "N01TA*"},
        {Received::kFrame, "N02TBB*"},
        {Received::kFrame, "N03VB0150*"}}},
      {"garbage around frames",
       "\r\nxx N01TA*zz*N02TB*",
       {{Received::kNoise, "\r\nxx "},
        {Received::kFrame, "N01TA*"},
        {Received::kNoise, "zz*"},
        {Received::kFrame, "N02TB*"}}},
      {"an N breaks off a frame",
       "N01TN02TA*",
       {{Received::kMalformed, "N01T"}, {Received::kFrame, "N02TA*"}}},
      {"a frame without end is cut at 32 bytes",
       tooLong + "*N01TA*",
       {{Received::kMalformed, tooLong.substr(0, kMaxFrameLength)},
        {Received::kNoise, tooLong.substr(kMaxFrameLength) + "*"},
        {Received::kFrame, "N01TA*"}}},
      {"a malformed frame between good ones",
       "N01TA*N00TA*N01TB*",
       {{Received::kFrame, "N01TA*"},
        {Received::kMalformed, "N00TA*"},
        {Received::kFrame, "N01TB*"}}},
  };
  for (const StreamCase& c : cases) {
    FrameParser parser;
    EXPECT_EQ(Collect(parser, {c.bytes}), c.items) << c.name;
  }
}

TEST(SimFrameStream, AFrameSplitAtAnyByteIsTheSameFrame) {
  const std::string stream = "N01VB0150*N12THC*";
  for (size_t cut = 0; cut <= stream.size(); ++cut) {
    FrameParser parser;
    const auto items = Collect(parser, {stream.substr(0, cut), stream.substr(cut)});
    const std::vector<std::pair<Received, std::string>> expected = {
        {Received::kFrame, "N01VB0150*"}, {Received::kFrame, "N12THC*"}};
    EXPECT_EQ(items, expected) << "cut at " << cut;
  }
}

TEST(SimFrameStream, LongNoiseComesInBoundedPiecesAndNothingIsLost) {
  const std::string noise(200, 'x');
  FrameParser parser;
  const auto items = Collect(parser, {noise + "N01TA*"});
  std::string joined;
  for (size_t i = 0; i + 1 < items.size(); ++i) {
    EXPECT_EQ(items[i].first, Received::kNoise);
    EXPECT_LE(items[i].second.size(), kMaxNoiseLength);
    joined += items[i].second;
  }
  EXPECT_EQ(joined, noise);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.back(), std::make_pair(Received::kFrame, std::string("N01TA*")));
}

}  // namespace
}  // namespace tcudv::sim
