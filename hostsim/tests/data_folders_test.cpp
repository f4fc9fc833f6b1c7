// The simulated folder tree: path syntax, namespaces and the legalizer.
#include <gtest/gtest.h>

#include <cstring>

#include "data_folders.h"
#include "hostlink.h"
#include "hostsim.h"
#include "items.h"

namespace {

class DataFoldersTest : public ::testing::Test {
protected:
  void SetUp() override {
    hostsim::ResetFolders();
    root_ = hostsim::RootFolder();
    a_ = hostsim::NewFolder(root_, "A");
    b_ = hostsim::NewFolder(a_, "b");
    c_ = hostsim::NewFolder(root_, "c");
  }
  int32_t Resolve(int32_t start, const std::string &path) {
    int32_t folder = -1;
    int32_t result = hostsim::ResolveFolderPath(start, path, &folder);
    return result == 0 ? folder : -result;
  }
  int32_t root_ = 0, a_ = 0, b_ = 0, c_ = 0;
};

TEST_F(DataFoldersTest, PathsResolveAbsolutelyAndRelatively) {
  const struct {
    const char *path;
    int32_t *folder;
  } cases[] = {{"root", &root_},   {"ROOT:", &root_}, {"root:a:B", &b_},
               {"root:a:b:", &b_}, {"", &a_},         {":", &a_},
               {"b", &b_},         {":b:", &b_},      {"::", &root_},
               {"b::", &a_},       {":b:::c", &c_},   {"rootx", nullptr}};
  for (const auto &c : cases) {
    int32_t expected = c.folder ? *c.folder : -hostsim::kNoSuchFolderError;
    EXPECT_EQ(Resolve(a_, c.path), expected) << c.path;
  }
  EXPECT_EQ(Resolve(root_, "::"), -hostsim::kBadPathError);
  EXPECT_EQ(Resolve(b_ + 100, ":"), -hostsim::kNoSuchFolderError);
  EXPECT_EQ(Resolve(0, "a"), a_); // from the current folder, the root
  EXPECT_EQ(hostsim::FolderPath(b_), "root:A:b");
}

TEST_F(DataFoldersTest, FoldersAndDataObjectsHaveSeparateNamespaces) {
  EXPECT_EQ(hostsim::NewFolder(root_, "a"), 0);
  EXPECT_EQ(hostsim::NewFolder(root_, "x:y"), 0);
  EXPECT_TRUE(hostsim::AddObject(root_, "a", hostsim::kWaveObject));
  EXPECT_FALSE(hostsim::AddObject(root_, "A", hostsim::kStringObject));
  EXPECT_FALSE(hostsim::AddObject(root_, std::string(32, 'n'), 3));
  int32_t type = 0;
  EXPECT_TRUE(hostsim::FindObject(root_, "A", &type));
  EXPECT_EQ(type, hostsim::kWaveObject);
  EXPECT_TRUE(hostsim::FindObject(root_, "C", &type));
  EXPECT_EQ(type, hostsim::kFolderObject);
  EXPECT_FALSE(hostsim::FindObject(root_, "d", &type));
}

TEST_F(DataFoldersTest, TheLegalizerKnowsTwoRules) {
  Handle record = hostsim::NewHostRecord();
  HostRecordHandle = record;
  const struct {
    int32_t rule, limit;
    const char *in, *out;
  } cases[] = {{0, 31, "1 a-b", "X1_a_b"},
               {0, 3, "abcdef", "abc"},
               {1, 31, "it's: 1", "it_s_ 1"},
               {1, 99, "\xE9t\xE9", "\xE9t\xE9"}};
  for (const auto &c : cases) {
    char name[64];
    std::strcpy(name, c.in);
    EXPECT_EQ(HostCall3(152, c.rule, hostsim::PointerItem(name), c.limit), 0);
    EXPECT_STREQ(name, c.out);
  }
  char empty[4] = "";
  EXPECT_EQ(HostCall3(152, 0, hostsim::PointerItem(empty), 31),
            hostsim::kBadNameError);
  HostRecordHandle = nullptr;
  DisposeHandle(record);
}

} // namespace
