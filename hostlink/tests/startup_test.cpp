// Start-up state and the handles the host hands out.
#include <gtest/gtest.h>

#include "hostlink.h"
#include "hostsim.h"

namespace {

TEST(StartupTest, InitStoresTheRecordHandle) {
  Handle record = hostsim::NewHostRecord();
  InitHostLink(record);
  EXPECT_EQ(HostRecordHandle, record);
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
