// Reading an extension's function table.
#include <gtest/gtest.h>

#include "hostsim.h"

namespace {

const unsigned char kTable[] = {
    'W', 'r', 'i', 't',  'e',  'P', 'o', 'r', 't', 0,   0x00, 0x28, 4,
    0,   4,   0,   4,    0,    0,   0,   'R', 'e', 'a', 'd',  'P',  'o',
    'r', 't', 0,   0x00, 0x28, 4,   0,   4,   0,   0,   0,    0,    0};

TEST(FunctionTableTest, WalksNamesWordsAndTheEndMarker) {
  std::vector<hostsim::ExternalFunction> table;
  ASSERT_TRUE(hostsim::ParseFunctionTable(kTable, sizeof kTable, table));
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].name, "WritePort");
  EXPECT_EQ(table[0].paramTypes, std::vector<int32_t>({4, 4}));
  EXPECT_EQ(table[1].name, "ReadPort");
  EXPECT_EQ(table[1].paramTypes, std::vector<int32_t>({4}));
  EXPECT_EQ(table[1].category, 0x2800);
  EXPECT_EQ(table[1].resultType, 4);
}

TEST(FunctionTableTest, RefusesATableCutShortAnywhere) {
  std::vector<hostsim::ExternalFunction> table;
  for (size_t n = 0; n < sizeof kTable - 1; ++n) {
    EXPECT_FALSE(hostsim::ParseFunctionTable(kTable, n, table)) << n;
  }
}

} // namespace
