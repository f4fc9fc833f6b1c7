// The module file as the host sees it: resources read back through the Win32
// resource and version APIs, and its export and import tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST_F(ResourcesTest, ErrorTextsAreThreeStringsAndTheEndMarker) {
  ASSERT_NE(module_, nullptr);
  std::string bytes = Resource("STR#");
  ASSERT_EQ(bytes.size(), 88u);
  EXPECT_EQ(bytes, std::string("LoadLibrary Failed.\0"
                               "GetProcAddress for Oup32 Failed.\0"
                               "GetProcAddress for Inp32 Failed.\0\0\0",
                               88));
  std::string text;
  EXPECT_TRUE(hostsim::ReadIndexedString(module_, 1100, 3, text));
  EXPECT_EQ(text, "GetProcAddress for Inp32 Failed.");
  EXPECT_FALSE(hostsim::ReadIndexedString(module_, 1100, 4, text));
}

TEST_F(ResourcesTest, FunctionTableDescribesTwoFunctions) {
  std::string bytes = Resource("XOPF");
  const unsigned char expected[39] = {
      'W', 'r', 'i', 't',  'e',  'P', 'o', 'r', 't', 0,   0x00, 0x28, 4,
      0,   4,   0,   4,    0,    0,   0,   'R', 'e', 'a', 'd',  'P',  'o',
      'r', 't', 0,   0x00, 0x28, 4,   0,   4,   0,   0,   0,    0,    0};
  ASSERT_EQ(bytes.size(), sizeof expected);
  EXPECT_EQ(bytes, std::string(reinterpret_cast<const char *>(expected),
                               sizeof expected));
  std::vector<hostsim::ExternalFunction> table;
  ASSERT_TRUE(hostsim::ParseFunctionTable(expected, sizeof expected, table));
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].paramTypes, std::vector<int32_t>({4, 4}));
  EXPECT_EQ(table[1].paramTypes, std::vector<int32_t>({4}));
  EXPECT_EQ(table[1].category, 0x2800);
  // A table cut short anywhere is refused, not read past its end.
  for (size_t n = 0; n < sizeof expected - 1; ++n) {
    EXPECT_FALSE(hostsim::ParseFunctionTable(expected, n, table)) << n;
  }
}

TEST_F(ResourcesTest, InformationRecord) {
  EXPECT_EQ(Resource("XOPI"), std::string("\4\0\0\0\0\0\0\0\xF4\1", 10));
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

  const std::pair<const char *, const char *> strings[] = {
      {"Comments", "Kestrin is an Igor Pro extension."},
      {"CompanyName", "Mollard"},
      {"FileDescription", "Kestrin"},
      {"FileVersion", "1, 0, 0, 1"},
      {"InternalName", "Kestrin"},
      {"LegalTrademarks", ""},
      {"OriginalFilename", "Kestrin.xop"},
      {"PrivateBuild", ""},
      {"ProductName", "Mollard Kestrin"},
      {"ProductVersion", "1, 0, 0, 1"},
      {"SpecialBuild", ""}};
  for (const auto &s : strings)
    EXPECT_EQ(VersionString(block, s.first), s.second) << s.first;
  EXPECT_NE(VersionString(block, "LegalCopyright"), "<missing>");

  WORD *translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void **>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0C09);
  EXPECT_EQ(translation[1], 0x04B0);
}

} // namespace
