// The module file as the host sees it: resources read back through the Win32
// resource and version APIs, and its export and import tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expected_resources.h"
#include "hostsim.h"
#include "test_paths.h"

namespace {

constexpr WORD kLanguage = 0x0C09;

class ResourcesTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    module_ =
        LoadLibraryExA(ModulePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  static void TearDownTestSuite() { FreeLibrary(module_); }

  static std::string Resource(const char *type, int id = 1100) {
    HRSRC info =
        FindResourceExA(module_, type, MAKEINTRESOURCEA(id), kLanguage);
    if (info == nullptr) return "<missing>";
    const char *bytes =
        static_cast<const char *>(LockResource(LoadResource(module_, info)));
    return std::string(bytes, SizeofResource(module_, info));
  }

  static HMODULE module_;
};
HMODULE ResourcesTest::module_;

TEST_F(ResourcesTest, ResourcesHoldTheirExactBytes) {
  ASSERT_NE(module_, nullptr);
  EXPECT_EQ(Resource("STR#"), ExpectedErrorTexts());
  EXPECT_EQ(Resource("XOPF"), ExpectedFunctionTable());
  EXPECT_EQ(Resource("XOPI"), ExpectedInformationRecord());
  std::string text;
  EXPECT_TRUE(hostsim::ReadIndexedString(module_, 1100, 3, text));
  EXPECT_EQ(text, "GetProcAddress for Inp32 Failed.");
  EXPECT_FALSE(hostsim::ReadIndexedString(module_, 1100, 4, text));
}

std::string VersionString(const std::vector<char> &block, const char *key) {
  char *value = nullptr;
  UINT length = 0;
  std::string path = std::string("\\StringFileInfo\\0c0904b0\\") + key;
  if (!VerQueryValueA(block.data(), path.c_str(),
                      reinterpret_cast<void **>(&value), &length))
    return "<missing>";
  return length ? std::string(value, strnlen(value, length)) : "";
}

TEST_F(ResourcesTest, VersionResource) {
  std::string path = ModulePath();
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\",
                             reinterpret_cast<void **>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwStrucVersion, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed->dwFileFlags, 0x1u);
  EXPECT_EQ(fixed->dwFileOS, 0x00040004u);
  EXPECT_EQ(fixed->dwFileType, 2u);
  EXPECT_EQ(fixed->dwFileSubtype, 0u);
  EXPECT_EQ(fixed->dwFileDateMS | fixed->dwFileDateLS, 0u);

  std::string copyright = VersionString(block, "LegalCopyright");
  EXPECT_NE(copyright, "<missing>");
  EXPECT_FALSE(copyright.empty());
  for (const auto &s : ExpectedVersionStrings(copyright))
    EXPECT_EQ(VersionString(block, s.first.c_str()), s.second) << s.first;

  WORD *translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void **>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0C09);
  EXPECT_EQ(translation[1], 0x04B0);
}

} // namespace
