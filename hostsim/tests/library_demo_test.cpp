// The simulator's library session runs through on old and new hosts.
#include <gtest/gtest.h>

#include "library_demo.h"

namespace {

TEST(LibraryDemoTest, RunsThroughOnOldAndNewHosts) {
  for (int32_t version : {637, 300}) {
    std::string transcript;
    EXPECT_EQ(hostsim::RunLibraryDemo(version, transcript), 0) << transcript;
    EXPECT_NE(transcript.find("stored as Int16: 1 -2 -25536 7"),
              std::string::npos)
        << transcript;
    EXPECT_NE(
        transcript.find("flags 0x3, wave trace0, mode FAST, at the end: 1"),
        std::string::npos)
        << transcript;
  }
}

} // namespace
