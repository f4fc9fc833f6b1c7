// Start-up state and the handles the host hands out.
#include <gtest/gtest.h>

#include "hostlink.h"
#include "hostsim.h"

namespace {

// The version routines see before any start-up, read before any test runs.
const int32_t kVersionBeforeStartUp = HostVersion;

TEST(StartupTest, InitStoresTheRecordHandleAndReadsTheVersionAfresh) {
  EXPECT_EQ(kVersionBeforeStartUp, 0);
  Handle record = hostsim::NewHostRecord();
  HostVersion = 999; // left by an earlier caller
  InitHostLink(record);
  EXPECT_EQ(HostRecordHandle, record);
  EXPECT_EQ(HostVersion, ReadHostVersion());
#ifndef _WIN32
  EXPECT_EQ(HostVersion, 0); // no version resource to read
#endif
  DisposeHandle(record);
  HostRecordHandle = nullptr;
}

TEST(StartupTest, ForwardWinMessagePassesTheOwnModuleFirst) {
  int marker;
  hostsim::SetExtensionModule(&marker);
  EXPECT_EQ(ForwardWinMessage(1, 2, 3, 4, 5), 0);
  const hostsim::WinMessageCall &call = hostsim::LastWinMessage();
  EXPECT_EQ(call.module, &marker);
  EXPECT_EQ(std::vector<uint32_t>(call.values, call.values + 5),
            std::vector<uint32_t>({1, 2, 3, 4, 5}));
  EXPECT_EQ(OwnModuleHandle(), &marker);
  hostsim::SetExtensionModule(nullptr);
}

TEST(StartupTest, HostModuleComesFromTheHost) {
  int marker;
  hostsim::SetHostModule(&marker);
  EXPECT_EQ(HostModuleHandle(), &marker);
  hostsim::SetHostModule(nullptr);
  EXPECT_EQ(HostModuleHandle(), nullptr);
  hostsim::ResetHostModule();
}

} // namespace
