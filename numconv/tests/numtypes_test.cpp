#include "numconv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr uint32_t kValidRealCodes[] = {0x02, 0x04, 0x08, 0x10,
                                        0x20, 0x48, 0x50, 0x60};

TEST(DecodeNumType, ReadsSizeKindAndComplexFlag) {
  int32_t bytes = 0, kind = 0, isComplex = 0;
  EXPECT_EQ(0, DecodeNumType(0x05, &bytes, &kind, &isComplex));
  EXPECT_EQ(8, bytes);
  EXPECT_EQ(NumKindFloat, kind);
  EXPECT_EQ(1, isComplex);

  EXPECT_EQ(0, DecodeNumType(0x61, &bytes, &kind, &isComplex));
  EXPECT_EQ(4, bytes);
  EXPECT_EQ(NumKindUnsigned, kind);
  EXPECT_EQ(1, isComplex);

  EXPECT_EQ(0, DecodeNumType(0x10, &bytes, &kind, &isComplex));
  EXPECT_EQ(2, bytes);
  EXPECT_EQ(NumKindSigned, kind);
  EXPECT_EQ(0, isComplex);
}

TEST(DecodeNumType, NoTypeWritesOnlyTheComplexFlag) {
  for (uint32_t code : {0u, 1u}) {
    int32_t bytes = -7, kind = -9, isComplex = -1;
    EXPECT_EQ(NumTypeNotNumericError,
              DecodeNumType(code, &bytes, &kind, &isComplex));
    EXPECT_EQ(static_cast<int32_t>(code), isComplex);
    EXPECT_EQ(-7, bytes);
    EXPECT_EQ(-9, kind);
  }
}

TEST(DecodeNumType, RejectsEveryCodeOutsideTheTable) {
  int invalid = 0;
  for (uint32_t code = 2; code < 0x200; ++code) {
    bool valid = false;
    for (uint32_t real : kValidRealCodes)
      valid = valid || (code & ~1u) == real;
    int32_t bytes = -7, kind = -9, isComplex = -1;
    int32_t result = DecodeNumType(code, &bytes, &kind, &isComplex);
    EXPECT_EQ(valid ? 0 : NumTypeInvalidError, result) << code;
    EXPECT_EQ(static_cast<int32_t>(code & 1), isComplex);
    if (!valid) {
      EXPECT_EQ(-7, bytes);
      EXPECT_EQ(-9, kind);
      ++invalid;
    }
  }
  EXPECT_EQ(0x200 - 2 - 16, invalid);
  int32_t bytes = 0, kind = 0, isComplex = 0;
  for (uint32_t negative : {0xFFFFFFFFu, 0x80000004u, 0xFFFFFF02u})
    EXPECT_EQ(NumTypeInvalidError,
              DecodeNumType(negative, &bytes, &kind, &isComplex));
}

TEST(EncodeNumType, RoundTripsEveryValidCode) {
  for (uint32_t real : kValidRealCodes) {
    for (uint32_t code : {real, real | 1}) {
      int32_t bytes = 0, kind = 0, isComplex = 0, encoded = -1;
      ASSERT_EQ(0, DecodeNumType(code, &bytes, &kind, &isComplex));
      EXPECT_EQ(0, EncodeNumType(bytes, kind, &encoded));
      EXPECT_EQ(static_cast<int32_t>(real), encoded);
    }
  }
}

TEST(EncodeNumType, RejectsPairsOutsideTheTableWithoutWriting) {
  const int32_t pairs[][2] = {{8, 1}, {2, 3}, {4, 0}, {8, 2}, {1, 3},
                              {3, 1}, {0, 2}, {4, 4}, {-4, 1}};
  for (const auto &pair : pairs) {
    int32_t code = -5;
    EXPECT_EQ(NumTypeInvalidError, EncodeNumType(pair[0], pair[1], &code));
    EXPECT_EQ(-5, code);
  }
  int32_t code = 0;
  EXPECT_EQ(0, EncodeNumType(1, 2, &code));
  EXPECT_EQ(0x48, code);
}

TEST(ReverseValueBytes, ReversesEachValueOfAnySize) {
  unsigned char pairs[] = {1, 2, 3, 4, 5, 6};
  ReverseValueBytes(pairs, 2, 3);
  EXPECT_EQ(0, std::memcmp(pairs, "\x02\x01\x04\x03\x06\x05", 6));

  unsigned char triples[] = {1, 2, 3, 4, 5, 6};
  ReverseValueBytes(triples, 3, 2);
  EXPECT_EQ(0, std::memcmp(triples, "\x03\x02\x01\x06\x05\x04", 6));

  unsigned char eights[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  ReverseValueBytes(eights, 8, 1);
  EXPECT_EQ(0, std::memcmp(eights, "\x08\x07\x06\x05\x04\x03\x02\x01\x09", 9));
}

TEST(ReverseValueBytes, LeavesDataAloneWhenThereIsNothingToReverse) {
  const unsigned char original[] = {1, 2, 3, 4, 5, 6};
  unsigned char data[6];
  const int32_t shapes[][2] = {{2, 0}, {1, 6}, {0, 3}, {2, -3}, {-2, -3}};
  for (const auto &shape : shapes) {
    std::memcpy(data, original, sizeof data);
    ReverseValueBytes(data, shape[0], shape[1]);
    EXPECT_EQ(0, std::memcmp(data, original, sizeof data))
        << shape[0] << " x " << shape[1];
  }
}

TEST(StoreFloatAsInteger, TruncatesAndWrapsWithoutSaturating) {
  EXPECT_EQ(2, StoreFloatAsInteger(2.9));
  EXPECT_EQ(-2, StoreFloatAsInteger(-2.9));
  EXPECT_EQ(0, StoreFloatAsInteger(-0.5));
  EXPECT_EQ(127, static_cast<int8_t>(StoreFloatAsInteger(127.9)));
  EXPECT_EQ(-128, static_cast<int8_t>(StoreFloatAsInteger(128.0)));
  EXPECT_EQ(128, static_cast<uint8_t>(StoreFloatAsInteger(128.0)));
  EXPECT_EQ(127, static_cast<int8_t>(StoreFloatAsInteger(-129.0)));
  EXPECT_EQ(44, static_cast<uint8_t>(StoreFloatAsInteger(300.7)));
  EXPECT_EQ(0xFFFF, static_cast<uint16_t>(StoreFloatAsInteger(-1.5)));
  EXPECT_EQ(0xFFFFFFFFu,
            static_cast<uint32_t>(StoreFloatAsInteger(4294967295.0)));
  EXPECT_EQ(-1, static_cast<int32_t>(StoreFloatAsInteger(4294967295.0)));
  EXPECT_EQ(0, static_cast<int32_t>(StoreFloatAsInteger(1e20)));
}

TEST(StoreFloatAsInteger, GivesZeroOutsideTheSigned64BitRange) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double outside :
       {std::nan(""), -std::nan("7"), inf, -inf, 0x1p63, -0x1p64, 1e300})
    EXPECT_EQ(0, StoreFloatAsInteger(outside)) << outside;
  EXPECT_EQ(INT64_MIN, StoreFloatAsInteger(-0x1p63));
  EXPECT_EQ(INT64_C(0x7FFFFFFFFFFFFC00),
            StoreFloatAsInteger(0x1.fffffffffffffp62));
}

} // namespace
