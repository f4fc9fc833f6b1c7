// The host version, read from real version resources on disk.
#include <windows.h>

#include <gtest/gtest.h>

#include "hostlink.h"
#include "hostsim.h"

namespace {

std::string OwnPath() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

// A copy of this test executable presenting file version v.
class VersionTest : public ::testing::Test {
protected:
  void TearDown() override {
    if (copy_) FreeLibrary(copy_);
    DeleteFileA(path_.c_str());
    hostsim::ResetHostModule();
    hostsim::FailMemoryRequests(0);
    EXPECT_EQ(hostsim::LivePtrCount(), ptrsBefore_);
  }

  int32_t VersionOfCopy(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    path_ = std::string(dir) + "hostver_copy.exe";
    const uint16_t v[4] = {a, b, c, d};
    EXPECT_TRUE(hostsim::WriteVersionedCopy(OwnPath(), path_, v));
    copy_ = LoadLibraryExA(path_.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    EXPECT_NE(copy_, nullptr);
    hostsim::SetHostModule(copy_);
    return ReadHostVersion();
  }

  HMODULE copy_ = nullptr;
  std::string path_;
  int32_t ptrsBefore_ = hostsim::LivePtrCount();
};

TEST_F(VersionTest, CombinesTheFirstThreeFields) {
  EXPECT_EQ(VersionOfCopy(5, 0, 4, 0), 504);
  FreeLibrary(copy_);
  copy_ = nullptr;
  EXPECT_EQ(VersionOfCopy(3, 1, 2, 9), 312);
  FreeLibrary(copy_);
  copy_ = nullptr;
  EXPECT_EQ(VersionOfCopy(6, 10, 2, 0), 702); // fields are not clamped
}

TEST_F(VersionTest, FileWithoutAVersionResourceGivesZero) {
  // The test executable itself carries no version resource.
  hostsim::ResetHostModule();
  EXPECT_EQ(ReadHostVersion(), 0);
}

TEST_F(VersionTest, NoHostModuleGivesZero) {
  hostsim::SetHostModule(nullptr);
  EXPECT_EQ(ReadHostVersion(), 0);
}

TEST_F(VersionTest, NoMemoryForTheBlockGivesZero) {
  VersionOfCopy(6, 3, 7, 0);
  hostsim::FailMemoryRequests(1);
  EXPECT_EQ(ReadHostVersion(), 0);
}

TEST_F(VersionTest, InitHostLinkStoresTheVersion) {
  VersionOfCopy(4, 0, 9, 0);
  Handle record = hostsim::NewHostRecord();
  InitHostLink(record);
  EXPECT_EQ(HostVersion, 409);
  DisposeHandle(record);
  HostRecordHandle = nullptr;
  HostVersion = 0;
}

} // namespace
