// The module check on the Windows build's module and on damaged copies of
// it: each damage is named, and no file, however broken, gets further.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "module_check.h"

namespace {

using hostsim::CheckModule;
using hostsim::ModuleFile;

const std::string kModule = TAVREL_WINDOWS_BUILD "/bin/Tavrel.xop";
const std::string kExtraExport =
    TAVREL_WINDOWS_BUILD "/testmodules/ExtraExport.xop";

std::string ReadBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Problems(const std::string &bytes) {
  std::string text;
  for (const std::string &problem : CheckModule(ModuleFile(bytes)).problems)
    text += problem + "\n";
  return text;
}

std::string Wide(const char *text) {
  std::string wide;
  for (; *text; ++text)
    wide += std::string(1, *text) + '\0';
  return wide;
}

// `bytes` with the one occurrence of `from` replaced by `to`.
std::string Patched(std::string bytes, const std::string &from,
                    const std::string &to) {
  size_t at = bytes.find(from);
  EXPECT_NE(at, std::string::npos) << "nothing to patch";
  EXPECT_EQ(bytes.find(from, at + 1), std::string::npos) << "patch not unique";
  return at == std::string::npos ? bytes : bytes.replace(at, from.size(), to);
}

uint32_t Word32(const std::string &bytes, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

std::string WithWord(std::string bytes, size_t at, uint32_t value, size_t n) {
  std::memcpy(&bytes[at], &value, n);
  return bytes;
}

// Renames every resource-directory entry `name` whose target is a
// subdirectory (`subdirectory`) or a data entry; returns the count. Only the
// resource section is searched: code and data elsewhere may hold the same
// words.
int RenameDirectoryEntries(std::string &bytes, uint32_t name, bool subdirectory,
                           uint32_t newName) {
  size_t header = bytes.find(std::string(".rsrc\0\0\0", 8));
  if (header == std::string::npos) return 0;
  size_t start = Word32(bytes, header + 20), size = Word32(bytes, header + 16);
  int count = 0;
  for (size_t at = start; at + 8 <= bytes.size() && at + 8 <= start + size;
       at += 4) {
    if (Word32(bytes, at) != name ||
        (Word32(bytes, at + 4) >> 31) != uint32_t(subdirectory))
      continue;
    bytes = WithWord(bytes, at, newName, 4);
    ++count;
  }
  return count;
}

class ModuleCheckTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (module_.empty()) GTEST_SKIP() << "no Windows build at " << kModule;
  }
  std::string module_ = ReadBytes(kModule);
};

TEST_F(ModuleCheckTest, TheBuiltModulePassesShowingWhatTheHostReads) {
  hostsim::ModuleCheck check = CheckModule(ModuleFile(module_));
  EXPECT_TRUE(check.problems.empty()) << Problems(module_);
  EXPECT_TRUE(check.notes.empty());
  std::string text = hostsim::DescribeModuleCheck("Tavrel.xop", check);
  for (const char *line :
       {"passes the module check", "0  WritePort(Float64, Float64) -> Float64",
        "1  ReadPort(Float64) -> Float64", "10001  LoadLibrary Failed.",
        "10003  GetProcAddress for Inp32 Failed.",
        "(XOPI 1100): 4, 0, 0, 0, 500", "exports: main\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST_F(ModuleCheckTest, ResourcesTheHostWouldMissAreNamed) {
  EXPECT_EQ(Problems(Patched(module_, std::string("\x04\0", 2) + Wide("STR#"),
                             std::string("\x03\0", 2) + Wide("STR#"))),
            "resource type \"STR\" found where \"STR#\" was expected (type "
            "names are exact, in capitals, and quoted in resource scripts)\n");
  EXPECT_NE(Problems(Patched(module_, Wide("XOPF"), Wide("xopf")))
                .find("resource type \"xopf\" found where \"XOPF\" was "
                      "expected"),
            std::string::npos);

  std::string moved = module_;
  ASSERT_EQ(RenameDirectoryEntries(moved, 1100, true, 1101), 3);
  EXPECT_EQ(Problems(moved),
            "\"XOPF\" resource found under id 1101 where id 1100 was expected\n"
            "\"STR#\" resource found under id 1101 where id 1100 was expected\n"
            "\"XOPI\" resource found under id 1101 where id 1100 was "
            "expected\n");

  // The host takes a resource in another language when its own is missing.
  std::string german = module_;
  ASSERT_EQ(RenameDirectoryEntries(german, 0x0C09, false, 0x0407), 4);
  hostsim::ModuleCheck check = CheckModule(ModuleFile(german));
  EXPECT_TRUE(check.problems.empty()) << Problems(german);
  ASSERT_EQ(check.notes.size(), 3u);
  EXPECT_EQ(check.notes[0], "XOPF 1100 is in language 0x0407, not 0x0C09 as "
                            "the module's own resources are; the host still "
                            "finds it");
}

TEST_F(ModuleCheckTest, ExportsAndImportsBeyondMainAndTheSystemAreNamed) {
  std::string extra = ReadBytes(kExtraExport);
  ASSERT_FALSE(extra.empty()) << "no " << kExtraExport;
  EXPECT_EQ(Problems(extra), "exports \"StartExtension\" besides main: only "
                             "main may be exported\n");
  EXPECT_EQ(Problems(Patched(module_, std::string("Tavrel.xop\0main\0", 16),
                             std::string("Tavrel.xop\0Main\0", 16))),
            "main is not exported: the host calls it first\n"
            "exports \"Main\" besides main: only main may be exported\n");
  EXPECT_EQ(Problems(Patched(module_, "VERSION.dll", "libver1.dll")),
            "imports from \"libver1.dll\", which is neither a Windows system "
            "library nor the host Igor.exe (link the runtime statically)\n");
}

// The build reads tavrel-check's answer from its exit status: 0 the module
// passes, 1 it does not, 2 bad usage (but --help is no error).
TEST_F(ModuleCheckTest, TheCheckProgramAnswersByExitStatus) {
  auto status = [](const std::string &args) {
    std::string command = std::string(TAVREL_CHECK_PROGRAM) + " " + args;
    int result = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  };
  EXPECT_EQ(status(kModule), 0);
  EXPECT_EQ(status(kExtraExport), 1);
  EXPECT_EQ(status(kModule + ".missing"), 1);
  EXPECT_EQ(status(""), 2);
  EXPECT_EQ(status(kModule + " " + kModule), 2);
  EXPECT_EQ(status("-v"), 2);
  EXPECT_EQ(status("--help"), 0);
}

TEST_F(ModuleCheckTest, DamagedFilesAreRefusedWithTheReason) {
  size_t nt = Word32(module_, 0x3C);
  const struct {
    std::string bytes;
    const char *problem;
  } cases[] = {
      {"", "not a Windows module: no MZ header"},
      {module_.substr(0, 0x3F), "not a Windows module: no MZ header"},
      {module_.substr(0, nt + 2), "no PE header where the MZ header points"},
      {module_.substr(0, nt + 30), "the file ends inside its optional header"},
      {module_.substr(0, nt + 24 + 230),
       "the file ends inside its section table"},
      {module_.substr(0, module_.size() / 2), "it was cut short"},
      {module_.substr(0, module_.size() - 1), "it was cut short"},
      {WithWord(module_, nt + 4, 0x8664, 2),
       "built for x86-64, not for 32-bit x86"},
      {WithWord(module_, nt + 4, 0x1C4, 2),
       "built for ARM Thumb-2, not for 32-bit x86"},
      {WithWord(module_, nt + 24, 0x20B, 2),
       "a 64-bit module (PE32+), not a 32-bit one"},
      {WithWord(module_, nt + 6, 0xFFFF, 2), "more than a module can have"},
  };
  for (const auto &c : cases)
    EXPECT_NE(Problems(c.bytes).find(c.problem), std::string::npos)
        << c.problem << " / " << Problems(c.bytes);

  // Garbage: alone, and behind the module's own headers.
  uint32_t state = 12345;
  std::string garbage(module_.size(), '\0'), behind = module_;
  for (size_t k = 0; k < garbage.size(); ++k) {
    state = state * 1103515245u + 12345u;
    garbage[k] = char(state >> 24);
    if (k >= 0x400) behind[k] = garbage[k];
  }
  EXPECT_EQ(Problems(garbage), "not a Windows module: no MZ header\n");
  EXPECT_FALSE(Problems(behind).empty());
}

} // namespace
