// Wave header fields: read from the record for layouts 0 and 1, asked of the
// host for any other layout.
#include <cstring>

#include "wave_header.h"
#include "wave_host_test.h"

namespace {

class WaveHeaderTest : public WaveHostTest {
protected:
  template <typename T> void Poke(Handle wave, int32_t offset, T value) {
    std::memcpy(*wave + offset, &value, sizeof value);
  }
};

TEST_F(WaveHeaderTest, Layout0IsReadWithoutAskingTheHost) {
  Handle wave = hostsim::MakeWave(0, 0x10, {7});
  hostsim::SetHeaderValues(wave, 123456789, -2, 9);
  EXPECT_TRUE(SendsNothing([&] {
    EXPECT_EQ(WaveNumberType(wave), 0x10);
    EXPECT_EQ(WavePointCount(wave), 7);
    EXPECT_EQ(WaveDataStart(wave), *wave + 110);
    EXPECT_EQ(WaveHeaderValue93(wave), 123456789);
    EXPECT_EQ(WaveHeaderValue94(wave), -2);
    EXPECT_EQ(WaveHeaderValue95(wave), 0); // layout 0 has no such field
  }));
  Poke<uint16_t>(wave, 0, 0xFFFF);
  EXPECT_EQ(WaveNumberType(wave), -1);
}

TEST_F(WaveHeaderTest, Layout1IsReadWithoutAskingTheHost) {
  Handle wave = hostsim::MakeWave(1, 0x03, {4, 250});
  hostsim::SetHeaderValues(wave, -5, 300, -300);
  EXPECT_TRUE(SendsNothing([&] {
    EXPECT_EQ(WaveNumberType(wave), 0x03);
    EXPECT_EQ(WavePointCount(wave), 1000);
    EXPECT_EQ(WaveDataStart(wave), *wave + 320);
    EXPECT_EQ(WaveHeaderValue93(wave), -5);
    EXPECT_EQ(WaveHeaderValue94(wave), 300);
    EXPECT_EQ(WaveHeaderValue95(wave), -300);
  }));
}

TEST_F(WaveHeaderTest, OtherLayoutsAskTheHostWithTheWave) {
  Handle wave = hostsim::MakeWave(hostsim::kServedLayout, 0x48, {12});
  hostsim::SetHeaderValues(wave, 93, 94, 95);
  const struct {
    int32_t (*accessor)(WaveHandle);
    int32_t code, answer;
  } rows[] = {{WaveNumberType, 34, 0x48},
              {WavePointCount, 35, 12},
              {WaveHeaderValue93, 93, 93},
              {WaveHeaderValue94, 94, 94},
              {WaveHeaderValue95, 95, 95}};
  for (int16_t layout : {2, -1}) {
    Poke<int16_t>(wave, 26, layout);
    for (const auto &row : rows) {
      EXPECT_EQ(row.accessor(wave), row.answer);
      EXPECT_EQ(LastCode(), row.code);
      EXPECT_EQ(hostsim::LastServiceCall().items,
                std::vector<int32_t>{hostsim::PointerItem(wave)});
    }
    char *data = static_cast<char *>(WaveDataStart(wave));
    EXPECT_EQ(LastCode(), 37);
    EXPECT_EQ(data, *wave + hostsim::kServedDataOffset);
  }
}

} // namespace
