// Dimension sizes, values and texts, data offsets, and surveying waves.
#include <cstring>

#include "../../services/tests/wave_host_test.h"
#include "waves.h"

namespace {

class DimensionsTest : public WaveHostTest {
protected:
  std::vector<int32_t> Garbage() { return std::vector<int32_t>(11, -7); }
};

TEST_F(DimensionsTest, SizesOfEachLayout) {
  int32_t count = -1;
  std::vector<int32_t> sizes = Garbage();
  Handle empty = hostsim::MakeWave(0, 4, {0});
  EXPECT_TRUE(SendsNothing(
      [&] { EXPECT_EQ(GetWaveDims(empty, &count, sizes.data()), 0); }));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(sizes, std::vector<int32_t>(11, 0));
  Handle flat = hostsim::MakeWave(0, 4, {6});
  EXPECT_EQ(GetWaveDims(flat, &count, sizes.data()), 0);
  EXPECT_EQ(sizes, std::vector<int32_t>({6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(GetWaveDims(flat, &count, nullptr), 0);

  Handle grid = hostsim::MakeWave(1, 4, {5, 3});
  std::memcpy(*grid + 80, "\x07\0\0\0", 4); // a size after the ending 0
  sizes = Garbage();
  EXPECT_EQ(GetWaveDims(grid, &count, sizes.data()), 0);
  EXPECT_EQ(count, 2);
  std::vector<int32_t> expected(11, 0);
  expected[0] = 5;
  expected[1] = 3;
  EXPECT_EQ(sizes, expected);
  EXPECT_EQ(GetWaveDims(grid, &count, nullptr), 0);
  // Four dimensions: the word after the last size is no fifth.
  Handle full = hostsim::MakeWave(1, 4, {2, 3, 4, 5});
  std::memcpy(*full + 84, "\x09\0\0\0", 4);
  sizes = Garbage();
  EXPECT_EQ(GetWaveDims(full, &count, sizes.data()), 0);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(sizes, std::vector<int32_t>({2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0}));

  Handle served = hostsim::MakeWave(2, 4, {6, 2});
  sizes = Garbage();
  EXPECT_EQ(GetWaveDims(served, &count, sizes.data()), 0);
  EXPECT_EQ(LastCode(), 0x4E);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{hostsim::PointerItem(served),
                                  hostsim::PointerItem(&count),
                                  hostsim::PointerItem(sizes.data())}));
  expected[0] = 6;
  expected[1] = 2;
  EXPECT_EQ(sizes, expected);
}

TEST_F(DimensionsTest, ValuesByDimensionIndex) {
  Handle flat = hostsim::MakeWave(0, 4, {3});
  Handle grid = hostsim::MakeWave(1, 4, {3});
  for (Handle wave : {flat, grid}) {
    hostsim::SetDimValues(wave, -1, 1.5, 2.5);
    hostsim::SetDimValues(wave, 0, 3.5, 4.5);
  }
  hostsim::SetDimValues(grid, 3, 5.5, 6.5);
  double a = 0, b = 0;
  EXPECT_EQ(GetWaveDimValues(flat, -1, &a, &b), 0);
  EXPECT_EQ(a, 1.5);
  EXPECT_EQ(b, 2.5);
  EXPECT_EQ(GetWaveDimValues(flat, 0, &a, &b), 0);
  EXPECT_EQ(a, 3.5);
  EXPECT_EQ(b, 4.5);
  EXPECT_EQ(GetWaveDimValues(grid, 0, &a, &b), 0);
  EXPECT_EQ(a + b, 8);
  EXPECT_EQ(GetWaveDimValues(grid, 3, &a, &b), 0); // not in use, still read
  EXPECT_EQ(a, 5.5);
  EXPECT_EQ(b, 6.5);
  EXPECT_EQ(GetWaveDimValues(grid, -1, &a, &b), 0);
  EXPECT_EQ(a, 1.5);
  a = b = 9;
  EXPECT_EQ(GetWaveDimValues(flat, 1, &a, &b), WaveDimIndexError);
  EXPECT_EQ(GetWaveDimValues(grid, 4, &a, &b), WaveDimIndexError);
  EXPECT_EQ(GetWaveDimValues(grid, -2, &a, &b), WaveDimIndexError);
  EXPECT_EQ(a + b, 18);

  Handle served = hostsim::MakeWave(2, 4, {3});
  hostsim::SetDimValues(served, 0, 7.5, 8.5);
  EXPECT_EQ(GetWaveDimValues(served, 0, &a, &b), 0);
  EXPECT_EQ(LastCode(), 0x50);
  EXPECT_EQ(hostsim::LastServiceCall().items.size(), 3u);
  EXPECT_EQ(a, 7.5);
}

TEST_F(DimensionsTest, Layout0TextsComeInPairs) {
  Handle flat = hostsim::MakeWave(0, 4, {3});
  char text[64] = "stale";
  EXPECT_EQ(SetWaveDimText(flat, 0, "s"), 0);
  EXPECT_EQ(LastCode(), 0x35);
  EXPECT_EQ(LastItem(2), 0);
  EXPECT_EQ(SetWaveDimText(flat, -1, "V"), 0);
  EXPECT_EQ(LastItem(1), 0);
  EXPECT_EQ(hostsim::DimText(flat, 0), "s");
  EXPECT_EQ(GetWaveDimText(flat, -1, text), 0);
  EXPECT_EQ(LastCode(), 0x34);
  EXPECT_STREQ(text, "V");
  EXPECT_EQ(GetWaveDimText(flat, 0, text), 0);
  EXPECT_STREQ(text, "s");
  EXPECT_TRUE(SendsNothing([&] {
    EXPECT_EQ(GetWaveDimText(flat, 2, text), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(SetWaveDimText(flat, 2, "x"), 0);
    std::strcpy(text, "stale");
    EXPECT_EQ(GetWaveIndexedText(flat, 1, 2, text), 0);
    EXPECT_EQ(WaveRequest55(flat, 1, 2, 3), 0);
  }));
  EXPECT_STREQ(text, "");
}

TEST_F(DimensionsTest, OtherLayoutsAskForTexts) {
  Handle grid = hostsim::MakeWave(1, 4, {3, 2});
  char text[64] = "stale";
  const int32_t w = hostsim::PointerItem(grid);
  EXPECT_EQ(SetWaveDimText(grid, 1, "m"), 0);
  EXPECT_EQ(LastCode(), 0x53);
  EXPECT_EQ(GetWaveDimText(grid, 1, text), 0);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{w, 1, hostsim::PointerItem(text)}));
  EXPECT_STREQ(text, "m");
  EXPECT_EQ(GetWaveDimText(grid, 7, text), hostsim::kBadDimensionError);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(WaveRequest55(grid, 0, 1, hostsim::PointerItem("row")), 0);
  EXPECT_EQ(LastCode(), 0x55);
  EXPECT_EQ(GetWaveIndexedText(grid, 0, 1, text), 0);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{w, 0, 1, hostsim::PointerItem(text)}));
  EXPECT_STREQ(text, "row");
  hostsim::FailServiceRequest(1, 45); // the host's answer, passed on
  EXPECT_EQ(WaveRequest51(1, 2, 3, 4), 45);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(LastCode(), 0x51);
}

TEST_F(DimensionsTest, DataOffsets) {
  Handle flat = hostsim::MakeWave(0, 4, {3});
  Handle grid = hostsim::MakeWave(1, 4, {3});
  Handle served = hostsim::MakeWave(2, 4, {3});
  int32_t offset = 0;
  EXPECT_EQ(GetWaveDataOffset(flat, 0, &offset), 0);
  EXPECT_EQ(offset, 110);
  EXPECT_EQ(GetWaveDataOffset(grid, 0, &offset), 0);
  EXPECT_EQ(offset, 320);
  EXPECT_TRUE(SendsNothing([&] {
    EXPECT_EQ(GetWaveDataOffset(flat, 1, &offset), HostTooOldError);
  }));
  EXPECT_EQ(GetWaveDataOffset(grid, 1, &offset), hostsim::kBadSelectorError);
  EXPECT_EQ(LastCode(), 0x56);
  EXPECT_EQ(GetWaveDataOffset(served, 0, &offset), 0);
  EXPECT_EQ(offset, hostsim::kServedDataOffset);
  std::memset(*grid + 16, 0, 2); // no numeric data
  EXPECT_EQ(GetWaveDataOffset(grid, 0, &offset), WaveNotNumericError);
}

TEST_F(DimensionsTest, SurveyLocksAndRestores) {
  WaveHandle waves[3] = {hostsim::MakeWave(0, 0x10, {5}), nullptr,
                         hostsim::MakeWave(1, 0x05, {4, 2})};
  int32_t types[3], counts[3], states[3] = {9, 9, 9};
  void *data[3];
  EXPECT_EQ(SurveyWaves(waves, 3, types, counts, states, data), 8);
  EXPECT_EQ(types[0], 0x10);
  EXPECT_EQ(counts[2], 8);
  EXPECT_EQ(types[1] | counts[1] | states[1], 0);
  EXPECT_EQ(data[1], nullptr);
  EXPECT_EQ(data[0], *waves[0] + 110);
  MoveHHi(waves[2]);
  EXPECT_EQ(data[2], *waves[2] + 320); // locked: it stayed put
  int32_t locked = HGetState(waves[2]);
  RestoreWaveStates(waves, 2, states); // the first two only
  EXPECT_EQ(HGetState(waves[0]), states[0]);
  EXPECT_EQ(HGetState(waves[2]), locked);
  RestoreWaveStates(waves, 3, states);
  EXPECT_EQ(HGetState(waves[2]), states[2]);
  MoveHHi(waves[2]);
  EXPECT_NE(data[2], *waves[2] + 320);
  WaveHandle none[2] = {nullptr, nullptr};
  EXPECT_EQ(SurveyWaves(none, 2, types, counts, nullptr, data), 0);
  RestoreWaveStates(none, 2, nullptr);
  // A single null wave's entry is cleared too.
  types[0] = counts[0] = states[0] = 9;
  data[0] = &types[1];
  EXPECT_EQ(SurveyWaves(none, 1, types, counts, states, data), 0);
  EXPECT_EQ(types[0] | counts[0] | states[0], 0);
  EXPECT_EQ(data[0], nullptr);
}

} // namespace
