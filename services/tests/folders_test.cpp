// The current folder and folder paths against the simulated folder tree, on
// hosts that resolve every path and on older ones that need help.
#include <string>

#include "simulated_host.h"

namespace {

class FoldersTest : public SimulatedHostTest {
protected:
  void SetUp() override {
    SimulatedHostTest::SetUp();
    data_ = hostsim::NewFolder(hostsim::RootFolder(), "data");
    run_ = hostsim::NewFolder(data_, "run1");
  }
  FolderHandle data_ = 0;
  FolderHandle run_ = 0;
};

TEST_F(FoldersTest, CurrentFolderFollowsSwitches) {
  FolderHandle folder = -1;
  EXPECT_EQ(FetchCurrentFolder(&folder), 0);
  EXPECT_EQ(folder, hostsim::RootFolder());
  EXPECT_EQ(SwitchCurrentFolder(run_), 0);
  EXPECT_EQ(FetchCurrentFolder(&folder), 0);
  EXPECT_EQ(folder, run_);
  EXPECT_EQ(SwitchCurrentFolder(run_ + 100), hostsim::kNoSuchFolderError);
  EXPECT_EQ(hostsim::CurrentFolder(), run_);
  EXPECT_EQ(FetchHostFolder(RootFolderSelector, &folder), 0);
  EXPECT_EQ(folder, hostsim::RootFolder());
}

TEST_F(FoldersTest, NewerHostsGetEveryPathUnchanged) {
  const std::string longPath(1000, 'x');
  for (int32_t version : {301, 400}) {
    HostVersion = version;
    for (const std::string &path :
         {std::string(""), std::string(":"), std::string("root:"), longPath}) {
      FolderHandle folder = 0;
      FolderFromPath(run_, path.c_str(), &folder);
      EXPECT_EQ(LastCode(), 108);
      EXPECT_EQ(LastItem(0), run_);
      EXPECT_EQ(LastItem(1), hostsim::PointerItem(path.c_str()));
      EXPECT_EQ(LastItem(2), hostsim::PointerItem(&folder));
    }
  }
  FolderHandle folder = 0;
  EXPECT_EQ(FolderFromPath(0, "root:data:run1", &folder), 0);
  EXPECT_EQ(folder, run_);
}

TEST_F(FoldersTest, OlderHostsResolveTheSingleColonLocally) {
  HostVersion = 300;
  FolderHandle folder = 0;
  int32_t before = hostsim::ServiceCallCount();
  EXPECT_EQ(FolderFromPath(run_, ":", &folder), 0);
  EXPECT_EQ(folder, run_);
  EXPECT_EQ(RequestsSince(before), 0);

  SwitchCurrentFolder(data_);
  EXPECT_EQ(FolderFromPath(0, ":", &folder), 0);
  EXPECT_EQ(LastCode(), 106);
  EXPECT_EQ(folder, data_);
  hostsim::AnswerNextRequest(106, 77);
  EXPECT_EQ(FolderFromPath(0, ":", &folder), 77);
}

TEST_F(FoldersTest, OlderHostsAskForTheRootByValue) {
  HostVersion = 300;
  for (const char *path : {"root:", "ROOT:", "rOoT:"}) {
    FolderHandle folder = 0;
    EXPECT_EQ(FolderFromPath(run_, path, &folder), 0);
    EXPECT_EQ(LastCode(), 105);
    EXPECT_EQ(LastItem(0), 0);
    EXPECT_EQ(folder, hostsim::RootFolder());
  }
  FolderHandle folder = 0;
  EXPECT_EQ(FolderFromPath(run_, "root", &folder), 0);
  EXPECT_EQ(LastCode(), 108);
  EXPECT_EQ(hostsim::LastPathRequest(), "root");
}

TEST_F(FoldersTest, OlderHostsGetOtherPathsWithoutTheTrailingColon) {
  HostVersion = 300;
  FolderHandle folder = 0;
  EXPECT_EQ(FolderFromPath(0, "root:data:run1:", &folder), 0);
  EXPECT_EQ(hostsim::LastPathRequest(), "root:data:run1");
  EXPECT_EQ(folder, run_);
  EXPECT_EQ(FolderFromPath(data_, "", &folder), 0);
  EXPECT_EQ(LastCode(), 108);
  EXPECT_EQ(hostsim::LastPathRequest(), "");
  EXPECT_EQ(folder, data_);
  EXPECT_EQ(FolderFromPath(data_, "::", &folder), 0);
  EXPECT_EQ(hostsim::LastPathRequest(), ":");
}

TEST_F(FoldersTest, OlderHostsTakePathsOfAtMost400Characters) {
  HostVersion = 300;
  std::string path = ":" + std::string(398, 'a') + ":";
  FolderHandle folder = -1;
  EXPECT_EQ(FolderFromPath(0, path.c_str(), &folder),
            hostsim::kNoSuchFolderError);
  EXPECT_EQ(hostsim::LastPathRequest(), path.substr(0, 399));

  path += "b";
  int32_t before = hostsim::ServiceCallCount();
  EXPECT_EQ(FolderFromPath(run_, path.c_str(), &folder), PathTooLongError);
  EXPECT_EQ(folder, 0);
  EXPECT_EQ(RequestsSince(before), 0);
}

TEST_F(FoldersTest, OlderHostsRefuseMissingArguments) {
  HostVersion = 300;
  FolderHandle folder = -1;
  EXPECT_EQ(FolderFromPath(0, nullptr, &folder), NullHandleError);
  EXPECT_EQ(folder, -1);
  EXPECT_EQ(FolderFromPath(0, ":", nullptr), NullHandleError);
}

} // namespace
