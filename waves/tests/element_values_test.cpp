// Element values and whole-wave copies for every number type, in both known
// layouts and in the host's own, checked against the simulated host's view
// of the same wave.
#include <cmath>
#include <cstring>
#include <limits>

#include "../../services/tests/wave_host_test.h"
#include "waves.h"

namespace {

const int32_t kRealTypes[] = {0x02, 0x04, 0x08, 0x10, 0x20, 0x48, 0x50, 0x60};

class ElementValuesTest : public WaveHostTest {
protected:
  // The host's own reading of every value of the wave.
  std::vector<double> HostValues(Handle wave, size_t count) {
    std::vector<double> values(count);
    EXPECT_EQ(HostCall2(0x59, hostsim::PointerItem(wave),
                        hostsim::PointerItem(values.data())),
              0);
    return values;
  }
};

TEST_F(ElementValuesTest, LinearIndexFollowsDimensionZeroFastest) {
  Handle wave = hostsim::MakeWave(1, 4, {4, 3});
  int32_t linear = -1;
  const int32_t inRange[4] = {1, 2, 999, -999}; // entries 2, 3 not read
  EXPECT_EQ(WaveLinearIndex(wave, inRange, &linear), 0);
  EXPECT_EQ(linear, 9);
  for (auto bad : {std::vector<int32_t>{4, 0}, {0, 3}, {-1, 0}}) {
    EXPECT_EQ(WaveLinearIndex(wave, bad.data(), &linear), WaveIndexError);
  }
}

TEST_F(ElementValuesTest, WritesFollowTheStorageRules) {
  unsigned char data[16] = {};
  const struct {
    int32_t numType, width;
    double value;
    uint32_t stored;
  } cases[] = {{0x48, 1, 300.7, 44},
               {0x50, 2, -1.0, 0xFFFF},
               {0x20, 4, NAN, 0},
               {0x08, 1, 2.5, 2},
               {0x08, 1, -2.5, 0xFE},
               {0x60, 4, 1e30, 0},
               {0x60, 4, 4294967295.0, 0xFFFFFFFF}};
  for (const auto &c : cases) {
    std::memset(data, 0, sizeof data);
    const double value[2] = {c.value, 0};
    EXPECT_EQ(WriteElementValue(c.numType, data, 1, value), 0);
    uint32_t stored = 0;
    std::memcpy(&stored, data + c.width, c.width); // element 1
    EXPECT_EQ(stored, c.stored) << c.numType << " " << c.value;
  }
  const double huge[2] = {1e39, 0};
  float single = 0;
  WriteElementValue(0x02, &single, 0, huge);
  EXPECT_TRUE(std::isinf(single));
}

TEST_F(ElementValuesTest, ReadsTakeOneOrTwoValues) {
  const int16_t complexData[8] = {0, 1, 2, 3, -4, 5, 6, 7};
  double value[2] = {0, 0};
  EXPECT_EQ(ReadElementValue(0x11, complexData, 2, value), 0);
  EXPECT_EQ(value[0], -4.0);
  EXPECT_EQ(value[1], 5.0);
  const uint32_t big = 4294967295u;
  value[1] = 123;
  EXPECT_EQ(ReadElementValue(0x60, &big, 0, value), 0);
  EXPECT_EQ(value[0], 4294967295.0);
  EXPECT_EQ(value[1], 123); // a real type leaves the imaginary part alone
}

TEST_F(ElementValuesTest, InvalidNumberTypesTouchNothing) {
  double data[2] = {1, 2}, value[2] = {7, 8};
  for (int32_t bad : {0x40, 0x06, 0x80, -1}) {
    EXPECT_EQ(ReadElementValue(bad, data, 0, value), WaveNumTypeError);
    EXPECT_EQ(WriteElementValue(bad, data, 0, value), WaveNumTypeError);
  }
  for (int32_t none : {0, 1}) {
    EXPECT_EQ(ReadElementValue(none, data, 0, value), WaveNotNumericError);
    EXPECT_EQ(WriteElementValue(none, data, 0, value), WaveNotNumericError);
  }
  EXPECT_EQ(value[0], 7);
  EXPECT_EQ(data[0], 1);
}

// Every type, complex or not, in each layout: elements written one at a
// time read back through the host, and whole copies agree with it.
TEST_F(ElementValuesTest, EveryTypeInEveryLayout) {
  for (int32_t layout : {0, 1, 2}) {
    for (int32_t real : kRealTypes) {
      for (int32_t numType : {real, real | 1}) {
        SCOPED_TRACE(layout * 1000 + numType);
        std::vector<int32_t> dims =
            layout == 0 ? std::vector<int32_t>{6} : std::vector<int32_t>{3, 2};
        Handle wave = hostsim::MakeWave(layout, numType, dims);
        int32_t perElement = (numType & 1) ? 2 : 1;
        std::vector<double> expected;
        for (int32_t e = 0; e < 6; ++e) {
          int32_t indices[4] = {layout == 0 ? e : e % 3, e / 3};
          const double value[2] = {double(e * 7 + 1), double(e + 100)};
          ASSERT_EQ(SetWaveElement(wave, indices, value), 0);
          double back[2] = {-1, -1};
          ASSERT_EQ(GetWaveElement(wave, indices, back), 0);
          EXPECT_EQ(back[0], value[0]);
          expected.insert(expected.end(), value, value + perElement);
        }
        EXPECT_EQ(HostValues(wave, expected.size()), expected);
        std::vector<double> copied(expected.size(), -1);
        EXPECT_EQ(CopyWaveToDoubles(wave, copied.data()), 0);
        EXPECT_EQ(copied, expected);
        for (double &v : copied)
          v += 1;
        EXPECT_EQ(CopyDoublesToWave(wave, copied.data()), 0);
        EXPECT_EQ(HostValues(wave, copied.size()), copied);
      }
    }
  }
}

TEST_F(ElementValuesTest, IndicesOutsideTheWaveChangeNothing) {
  Handle flat = hostsim::MakeWave(0, 0x20, {3});
  Handle grid = hostsim::MakeWave(1, 0x20, {2, 2});
  Handle empty = hostsim::MakeWave(1, 0x20, {0});
  const double value[2] = {5, 0};
  double out[2] = {9, 9};
  for (int32_t index : {3, -1, 1000000}) {
    const int32_t indices[4] = {index, 0};
    EXPECT_EQ(SetWaveElement(flat, indices, value), WaveIndexError);
    EXPECT_EQ(GetWaveElement(flat, indices, out), WaveIndexError);
    const int32_t swapped[4] = {0, index};
    EXPECT_EQ(SetWaveElement(grid, swapped, value), WaveIndexError);
  }
  const int32_t zero[4] = {0, 0};
  EXPECT_EQ(SetWaveElement(empty, zero, value), WaveIndexError);
  EXPECT_EQ(out[0], 9);
  EXPECT_EQ(HostValues(flat, 3), std::vector<double>(3, 0.0));
  EXPECT_EQ(HostValues(grid, 4), std::vector<double>(4, 0.0));
}

TEST_F(ElementValuesTest, CopiesKeepBitsAndTheHandleState) {
  Handle wave = hostsim::MakeWave(1, 0x04, {3});
  const double nan = std::numeric_limits<double>::quiet_NaN();
  double in[3] = {-nan, 1.5, -0.0}, out[3] = {};
  int32_t before = HGetState(wave);
  EXPECT_EQ(CopyDoublesToWave(wave, in), 0);
  EXPECT_EQ(HGetState(wave), before);
  HLock(wave);
  int32_t locked = HGetState(wave);
  EXPECT_EQ(CopyWaveToDoubles(wave, out), 0);
  EXPECT_EQ(HGetState(wave), locked);
  EXPECT_EQ(std::memcmp(in, out, sizeof in), 0);
  std::memcpy(*wave + 16, "\x06\x00", 2); // an invalid number type
  EXPECT_EQ(CopyWaveToDoubles(wave, out), WaveNumTypeError);
  std::memcpy(*wave + 16, "\x01\x00", 2);
  EXPECT_EQ(CopyDoublesToWave(wave, in), WaveNotNumericError);
  EXPECT_EQ(HGetState(wave), locked);
}

TEST_F(ElementValuesTest, HostServedWavesSendEveryRequest) {
  Handle wave = hostsim::MakeWave(2, 0x04, {2});
  int32_t indices[4] = {1};
  double value[2] = {3, 0}, buffer[2] = {};
  const int32_t w = hostsim::PointerItem(wave);
  SetWaveElement(wave, indices, value);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{w, hostsim::PointerItem(indices),
                                  hostsim::PointerItem(value)}));
  EXPECT_EQ(LastCode(), 0x58);
  GetWaveElement(wave, indices, value);
  EXPECT_EQ(LastCode(), 0x57);
  CopyWaveToDoubles(wave, buffer);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{w, hostsim::PointerItem(buffer)}));
  EXPECT_EQ(LastCode(), 0x59);
  EXPECT_EQ(buffer[1], 3);
  CopyDoublesToWave(wave, buffer);
  EXPECT_EQ(LastCode(), 0x5A);
  indices[0] = 2;
  EXPECT_EQ(GetWaveElement(wave, indices, value), hostsim::kElementIndexError);
}

} // namespace
