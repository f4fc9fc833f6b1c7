#include "numconv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

template <typename T>
T OffsetAndScaleOne(int32_t code, T value, double offset, double scale) {
  OffsetAndScaleValues(code, &value, &offset, &scale, 1);
  return value;
}

TEST(OffsetAndScaleValues, StoresBackByEachTypesRule) {
  EXPECT_EQ(8.0, OffsetAndScaleOne<double>(0x04, 3.0, 1.0, 2.0));
  EXPECT_EQ(-2, OffsetAndScaleOne<int16_t>(0x10, -3, 0.5, 1.0));
  EXPECT_EQ(4, OffsetAndScaleOne<uint8_t>(0x48, 250, 10.0, 1.0));
  EXPECT_EQ(-128, OffsetAndScaleOne<int8_t>(0x08, 127, 1.0, 1.0));
  EXPECT_EQ(0xFFFFu, OffsetAndScaleOne<uint16_t>(0x50, 1, -2.5, 1.0));
  EXPECT_EQ(INT32_MIN,
            OffsetAndScaleOne<int32_t>(0x20, INT32_MAX, 0.0, 1.0 + 0x1p-31));
  EXPECT_EQ(0u, OffsetAndScaleOne<uint32_t>(0x60, 7, 0.0, 1e30));
  // Computed in double, then rounded once to single precision.
  EXPECT_EQ(static_cast<float>((0.1 + 0.2) * 3.0),
            OffsetAndScaleOne<float>(0x02, 0.1f, 0.2, 3.0));
}

TEST(OffsetAndScaleValues, IdentityLeavesDataUntouched) {
  const double nan = std::nan("");
  const double snan = std::numeric_limits<double>::signaling_NaN();
  for (double offset : {0.0, -0.0, nan}) {
    for (double scale : {1.0, nan}) {
      double value = snan;
      OffsetAndScaleValues(0x04, &value, &offset, &scale, 1);
      EXPECT_EQ(0, std::memcmp(&value, &snan, sizeof value));
    }
  }
}

TEST(OffsetAndScaleValues, NaNWithARealChangeReachesTheData) {
  const double nan = std::nan("");
  EXPECT_TRUE(std::isnan(OffsetAndScaleOne<double>(0x04, 1.0, nan, 2.0)));
  EXPECT_EQ(0, OffsetAndScaleOne<int16_t>(0x10, 5, 1.0, nan));
}

TEST(OffsetAndScaleValues, IgnoresComplexAndInvalidCodes) {
  for (int32_t code : {0x05, 0x03, 0x11, 0, 1, 0x40, 0x42, 0x62, -1}) {
    double values[2] = {3.0, 4.0};
    double offset = 1.0, scale = 2.0;
    OffsetAndScaleValues(code, values, &offset, &scale, 2);
    EXPECT_EQ(3.0, values[0]) << code;
    EXPECT_EQ(4.0, values[1]) << code;
  }
}

TEST(OffsetAndScaleValues, TouchesExactlyCountValues) {
  uint16_t values[5] = {1, 2, 3, 4, 5};
  double offset = 10.0, scale = 1.0;
  OffsetAndScaleValues(0x50, values, &offset, &scale, 3);
  const uint16_t expected[5] = {11, 12, 13, 4, 5};
  EXPECT_EQ(0, std::memcmp(expected, values, sizeof values));
  OffsetAndScaleValues(0x50, values, &offset, &scale, -2);
  EXPECT_EQ(0, std::memcmp(expected, values, sizeof values));
}

} // namespace
