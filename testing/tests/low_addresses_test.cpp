// The low-address runner that native tests and fuzz targets run under: the
// heap stays below 4 GiB however far it grows.
#include <gtest/gtest.h>

#include <cstdlib>

#include "low_addresses.h"

namespace {

// The brk heap starts at a random place up to 1 GiB past the data; the
// runner's stack must not stand in its way, or a large block comes from a
// high mapping that a record item cuts short.
TEST(LowAddresses, LargeHeapBlockStaysLow) {
  if (sizeof(void *) == 4) GTEST_SKIP() << "every address is low";
  constexpr size_t kBytes = size_t{768} << 20;
  auto *block = static_cast<char *>(std::malloc(kBytes));
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(IsLowAddress(block + kBytes - 1));
  std::free(block);
}

} // namespace
