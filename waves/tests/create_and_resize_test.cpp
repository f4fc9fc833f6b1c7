// Making and resizing waves, and the refusals of hosts that are too old.
#include "../../services/tests/wave_host_test.h"
#include "waves.h"

namespace {

class CreateAndResizeTest : public WaveHostTest {
protected:
  // A slot holding garbage, to see it cleared.
  WaveHandle slot_ = reinterpret_cast<WaveHandle>(0x1234);
};

TEST_F(CreateAndResizeTest, NewWaveHandsTheHostItsItemsInOrder) {
  const char *name = "w";
  EXPECT_EQ(NewWave(&slot_, hostsim::PointerItem(name), 6, 0x50, 7), 0);
  EXPECT_EQ(LastCode(), 0x2A);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{hostsim::PointerItem(&slot_),
                                  hostsim::PointerItem(name), 6, 0x50, 7}));
  ASSERT_TRUE(hostsim::IsWave(slot_));
  EXPECT_EQ(WavePointCount(slot_), 6);
  EXPECT_EQ(ResizeWave(slot_, 9, 0x04), 0);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{hostsim::PointerItem(slot_), 9, 4}));
  EXPECT_EQ(WavePointCount(slot_), 9);
  EXPECT_EQ(WaveRequest2C(slot_), 0);
  EXPECT_EQ(LastCode(), 0x2C);
}

TEST_F(CreateAndResizeTest, OneDimensionGateByVersionAndType) {
  const struct {
    int32_t version, numType;
    bool refused;
  } cases[] = {{150, 0x20, true},  {150, 0x03, false}, {199, 0x48, true},
               {250, 0x20, false}, {250, 0x61, false}, {299, 0x01, true},
               {299, 0x00, true},  {300, 0x00, false}, {300, 0x07, false}};
  Handle wave = hostsim::MakeWave(1, 4, {3});
  for (const auto &c : cases) {
    SCOPED_TRACE(c.version * 1000 + c.numType);
    HostVersion = c.version;
    int32_t before = hostsim::ServiceCallCount();
    int32_t result = NewWave(&slot_, 0, 5, c.numType, 0);
    EXPECT_EQ(result == HostTooOldError, c.refused);
    EXPECT_EQ(RequestsSince(before), c.refused ? 0 : 1);
    if (result != 0) {
      EXPECT_EQ(slot_, nullptr);
    }
    EXPECT_EQ(ResizeWave(wave, 4, c.numType) == HostTooOldError, c.refused);
  }
}

TEST_F(CreateAndResizeTest, DimensionRequestsOnNewHosts) {
  int32_t sizes[11] = {4, 3};
  EXPECT_EQ(NewWaveDims(&slot_, 0, 99, sizes, 0x10, 0), 0);
  EXPECT_EQ(LastCode(), 0x4D);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{hostsim::PointerItem(&slot_), 0, 99,
                                  hostsim::PointerItem(sizes), 0x10, 0}));
  EXPECT_EQ(hostsim::WaveDims(slot_), (std::vector<int32_t>{4, 3}));
  sizes[2] = 2;
  EXPECT_EQ(ResizeWaveDims(slot_, 0x02, sizes), 0);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{hostsim::PointerItem(slot_), 2,
                                  hostsim::PointerItem(sizes)}));
  EXPECT_EQ(hostsim::WaveDims(slot_), (std::vector<int32_t>{4, 3, 2}));
  HostVersion = 300; // the first host with the dimension requests
  EXPECT_EQ(ResizeWaveDims(slot_, 0x02, sizes), 0);
  EXPECT_EQ(LastCode(), 0x4F);
  EXPECT_EQ(NewWaveDims(&slot_, 0, 99, sizes, 0x10, 0), 0);
  EXPECT_EQ(LastCode(), 0x4D);
}

TEST_F(CreateAndResizeTest, OldHostsGetOneDimensionOrARefusal) {
  Handle wave = hostsim::MakeWave(1, 4, {3});
  const struct {
    int32_t version, size0, size1, numType, created, resized;
  } cases[] = {
      {250, 10, 4, 0x04, HostTooOldError, HostTooOldError},
      {250, 10, 0, 0x48, HostTooOldError, HostTooOldError},
      {250, 10, 0, 0x00, HostTooOldError, HostTooOldError},
      {250, 1, 0, 0x04, 0, WaveTooFewPointsError},
      {250, 2, 0, 0x04, 0, 0}, // two points are enough
      {250, 10, 0, 0x01, HostTooOldError, HostTooOldError}, // gate 1
      {150, 10, 0, 0x10, HostTooOldError, HostTooOldError},
      {200, 10, 0, 0x10, 0, 0}, // integers from 200 on
      {150, 10, 0, 0x05, 0, 0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.version * 1000 + c.numType);
    HostVersion = c.version;
    int32_t sizes[11] = {c.size0, c.size1};
    EXPECT_EQ(NewWaveDims(&slot_, 0, 99, sizes, c.numType, 0), c.created);
    if (c.created == 0) {
      EXPECT_EQ(LastCode(), 0x2A);
      EXPECT_EQ(hostsim::LastServiceCall().items.size(), 5u);
      EXPECT_EQ(LastItem(2), c.size0);
    } else {
      EXPECT_EQ(slot_, nullptr);
    }
    EXPECT_EQ(ResizeWaveDims(wave, c.numType, sizes), c.resized);
    if (c.resized == 0) {
      EXPECT_EQ(LastCode(), 0x2B);
      EXPECT_EQ(LastItem(1), c.size0);
    }
  }
}

} // namespace
