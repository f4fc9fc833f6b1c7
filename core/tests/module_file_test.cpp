// The module file as the host reads it, checked from its bytes: the export
// and import tables, the resources and the version resource.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "expected_resources.h"
#include "module_file.h"
#include "test_paths.h"

namespace {

using hostsim::ModuleFile;
using hostsim::VersionNode;

constexpr uint32_t kLanguage = 0x0C09;

hostsim::ModuleExports Exports(const ModuleFile &file) {
  hostsim::ModuleExports exports;
  std::string error;
  EXPECT_TRUE(file.ReadExports(exports, error)) << error;
  return exports;
}

hostsim::ModuleImports Imports(const ModuleFile &file) {
  hostsim::ModuleImports imports;
  std::string error;
  EXPECT_TRUE(file.ReadImports(imports, error)) << error;
  return imports;
}

class ModuleFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!module_.Valid())
      GTEST_SKIP() << "no Windows build at " << ModulePath();
  }

  std::string Resource(const std::string &type, uint32_t id = 1100) {
    std::string data;
    return module_.Resource(type, id, kLanguage, data) ? data : "<missing>";
  }

  ModuleFile module_ = ModuleFile::Open(ModulePath());
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return s;
}

TEST_F(ModuleFileTest, ExportsOnlyMainUnderItsOwnName) {
  hostsim::ModuleExports exports = Exports(module_);
  EXPECT_EQ(exports.moduleName, "Tavrel.xop");
  EXPECT_EQ(exports.names, std::vector<std::string>{"main"});
  EXPECT_EQ(exports.functionCount, 1u);
}

TEST_F(ModuleFileTest, ImportsOnlySystemLibrariesAndTheHost) {
  const std::vector<std::string> allowed = {
      "kernel32.dll", "user32.dll", "version.dll", "msvcrt.dll", "igor.exe"};
  auto imports = Imports(module_);
  ASSERT_TRUE(imports.count("Igor.exe"));
  for (const auto &dll : imports) {
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), Lower(dll.first)),
              allowed.end())
        << dll.first;
  }
}

TEST_F(ModuleFileTest, EveryHostImportIsExportedByTheSimulator) {
  ModuleFile host = ModuleFile::Open(HostExePath());
  ASSERT_TRUE(host.Valid()) << host.Error();
  std::vector<std::string> exported = Exports(host).names;
  auto imports = Imports(module_);
  for (const std::string &name : imports["Igor.exe"]) {
    EXPECT_NE(std::find(exported.begin(), exported.end(), name), exported.end())
        << name << " is not exported by Igor.exe";
  }
}

TEST_F(ModuleFileTest, ResourcesHoldTheirExactBytes) {
  EXPECT_EQ(Resource("STR#"), ExpectedErrorTexts());
  EXPECT_EQ(Resource("XOPF"), ExpectedFunctionTable());
  EXPECT_EQ(Resource("XOPI"), ExpectedInformationRecord());
  EXPECT_EQ(Resource("XOPF", 1101), "<missing>");
}

uint32_t Word32(const std::string &bytes, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

TEST_F(ModuleFileTest, VersionResource) {
  std::string data = Resource("#16", 1);
  VersionNode root;
  ASSERT_TRUE(hostsim::ParseVersionNode(data, 0, root));
  EXPECT_EQ(root.key, "VS_VERSION_INFO");
  ASSERT_EQ(root.value.size(), 52u);
  const uint32_t fixed[13] = {0xFEEF04BD, 0x00010000, 0x00010000, 0x00000001,
                              0x00010000, 0x00000001, 0x3F,       0x1,
                              0x00040004, 2,          0,          0,
                              0};
  for (int k = 0; k < 13; ++k)
    EXPECT_EQ(Word32(root.value, 4 * k), fixed[k]) << "word " << k;

  const VersionNode *files = root.Child("StringFileInfo");
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(root.Child("stringfileinfo"), nullptr); // keys match exactly
  ASSERT_EQ(files->children.size(), 1u);
  const VersionNode &table = files->children[0];
  EXPECT_EQ(table.key, "0c0904b0");
  std::string copyright =
      table.children.size() > 5 ? table.children[5].value : "";
  EXPECT_FALSE(copyright.empty());
  std::vector<std::pair<std::string, std::string>> found;
  for (const VersionNode &s : table.children)
    found.push_back({s.key, s.value});
  EXPECT_EQ(found, ExpectedVersionStrings(copyright)); // keys in order

  const VersionNode *vars = root.Child("VarFileInfo");
  ASSERT_NE(vars, nullptr);
  const VersionNode *translation = vars->Child("Translation");
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation->value, std::string("\x09\x0C\xB0\x04", 4));
}

} // namespace
