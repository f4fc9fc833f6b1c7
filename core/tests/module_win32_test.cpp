// The built module, loaded by this test host (itself named Igor.exe) exactly
// as the host loads it: start-up, messages, and the external functions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>

#include "hostsim.h"
#include "test_paths.h"

namespace {

constexpr int32_t kWritePort = 0, kReadPort = 1;

class ModuleTest : public ::testing::Test {
protected:
  void Load(const char *variant) {
    SetDllDirectoryA(PortLibDir(variant).c_str());
    std::string error;
    ASSERT_TRUE(hostsim::LoadExtension(ModulePath(), ext_, error)) << error;
  }

  void TearDown() override {
    hostsim::UnloadExtension(ext_);
    SetDllDirectoryA(nullptr);
    SetEnvironmentVariableA("INPOUT32_LOG", nullptr);
    DeleteFileA(logPath_.c_str());
  }

  // Starts a fresh log of port accesses.
  void StartLog() {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    logPath_ = std::string(dir) + "tavrel_ports.log";
    DeleteFileA(logPath_.c_str());
    SetEnvironmentVariableA("INPOUT32_LOG", logPath_.c_str());
  }

  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    std::ifstream in(logPath_);
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }

  double Call(int32_t index, std::vector<double> args,
              int32_t expectStatus = 0) {
    double result = 0;
    EXPECT_EQ(hostsim::CallExternalFunction(ext_, index, args, result),
              expectStatus);
    return result;
  }

  int32_t Message(int32_t code, std::vector<int32_t> items) {
    return hostsim::SendMessageToExtension(ext_, code, items);
  }

  hostsim::Extension ext_;
  std::string logPath_;
};

TEST_F(ModuleTest, StartsWithTheFullPortLibrary) {
  Load("full");
  EXPECT_EQ(ext_.startResult, 0);
  ASSERT_EQ(ext_.functions.size(), 2u);
  EXPECT_EQ(ext_.functions[0].name, "WritePort");
  EXPECT_EQ(ext_.functions[1].name, "ReadPort");
}

TEST_F(ModuleTest, ReportsEachMissingPieceOfThePortLibrary) {
  const std::pair<const char *, int32_t> cases[] = {
      {"none", 10001}, {"no-out32", 10002}, {"no-inp32", 10003}};
  for (const auto &c : cases) {
    Load(c.first);
    EXPECT_EQ(ext_.startResult, c.second) << c.first;
    hostsim::UnloadExtension(ext_);
  }
}

TEST_F(ModuleTest, AnswersFunctionAddressMessages) {
  Load("full");
  HMODULE module = static_cast<HMODULE>(ext_.module);
  int32_t write = Message(15, {0});
  int32_t read = Message(15, {1});
  EXPECT_NE(write, 0);
  EXPECT_NE(read, 0);
  EXPECT_NE(write, read);
  EXPECT_EQ(Message(15, {2}), 0);
  EXPECT_EQ(Message(15, {-1}), 0);
  EXPECT_EQ(Message(15, {}), write); // a missing item reads as 0
  // Both addresses lie inside the module.
  MEMORY_BASIC_INFORMATION info;
  VirtualQuery(reinterpret_cast<void *>(static_cast<uintptr_t>(read)), &info,
               sizeof info);
  EXPECT_EQ(info.AllocationBase, module);
}

TEST_F(ModuleTest, AnswersOtherMessagesWithZero) {
  Load("full");
  EXPECT_EQ(Message(7, {1, 2, 3}), 0);
  EXPECT_EQ(Message(-1, {}), 0);
  EXPECT_EQ(Message(12, {}), 0);
}

TEST_F(ModuleTest, CleanupReleasesThePortLibrary) {
  Load("full");
  ASSERT_NE(GetModuleHandleA("inpout32.dll"), nullptr);
  EXPECT_EQ(Message(12, {}), 0);
  EXPECT_EQ(GetModuleHandleA("inpout32.dll"), nullptr);
  EXPECT_EQ(Message(12, {}), 0); // a second cleanup frees nothing more
  // Nothing in the module (nor gcov's writing in coverage builds) keeps it
  // loaded once the host frees it.
  hostsim::UnloadExtension(ext_);
  EXPECT_EQ(GetModuleHandleA("Tavrel.xop"), nullptr);
}

TEST_F(ModuleTest, WritePortConvertsItsParameters) {
  Load("full");
  StartLog();
  struct Case {
    double port, value;
    const char *logged;
  } cases[] = {
      {888, 255.9, "OUT 00000378 00FF"},
      {888, -1, "OUT 00000378 FFFF"},
      {888.7, 1, "OUT 00000378 0001"},
      {-1, 0, "OUT FFFFFFFF 0000"},
      {888, 65541, "OUT 00000378 0005"},
      {NAN, NAN, "OUT 00000000 0000"},
      {4294967296.0 + 5, 7, "OUT 00000005 0007"},
      {1e300, 2, "OUT 00000000 0002"},
  };
  std::vector<std::string> expected;
  for (const Case &c : cases) {
    double result = Call(kWritePort, {c.port, c.value});
    EXPECT_EQ(std::memcmp(&result, &c.value, 8), 0) << c.logged;
    expected.push_back(c.logged);
  }
  EXPECT_EQ(LogLines(), expected);
}

TEST_F(ModuleTest, WritePortHandsBackTheValueBitForBit) {
  Load("full");
  const uint64_t patterns[] = {0x7FF8000000000123ull, 0xFFF0000000000001ull,
                               0x8000000000000000ull, 0x0000000000000001ull};
  for (uint64_t bits : patterns) {
    double value;
    std::memcpy(&value, &bits, 8);
    double result = 0; // filled byte for byte, never through the x87 stack
    ASSERT_EQ(
        hostsim::CallExternalFunction(ext_, kWritePort, {888, value}, result),
        0);
    uint64_t got;
    std::memcpy(&got, &result, 8);
    EXPECT_EQ(got, bits);
  }
}

TEST_F(ModuleTest, ReadPortSignExtendsSixteenBits) {
  Load("full");
  Call(kWritePort, {0x300, double(0xFF80)});
  EXPECT_EQ(Call(kReadPort, {0x300}), -128.0);
  Call(kWritePort, {0x300, 0x0080});
  EXPECT_EQ(Call(kReadPort, {0x300}), 128.0);
  Call(kWritePort, {0x301, 0x7FFF});
  EXPECT_EQ(Call(kReadPort, {0x301}), 32767.0);
}

TEST_F(ModuleTest, ParallelPortRegistersBehaveLikeHardware) {
  Load("full");
  Call(kWritePort, {0x378, 0x1A5});
  EXPECT_EQ(Call(kReadPort, {0x378}), 0xA5); // the data register is 8 bits
  EXPECT_EQ(Call(kReadPort, {0x379}), 0xDF);
  Call(kWritePort, {0x379, 0});
  EXPECT_EQ(Call(kReadPort, {0x379}), 0xDF); // status is read-only
  Call(kWritePort, {0x37A, 0x04});
  EXPECT_EQ(Call(kReadPort, {0x37A}), 0xC4);
}

TEST_F(ModuleTest, ExternalFunctionsRefuseWhenNothingIsBound) {
  for (const char *variant : {"none", "no-out32", "no-inp32"}) {
    Load(variant);
    StartLog();
    EXPECT_EQ(Call(kWritePort, {888, 3}, 10001), 3.0) << variant;
    EXPECT_EQ(Call(kReadPort, {888}, 10001), 0.0) << variant;
    EXPECT_TRUE(LogLines().empty()) << variant;
    hostsim::UnloadExtension(ext_);
  }
}

TEST_F(ModuleTest, ExternalFunctionsRefuseAfterCleanup) {
  Load("full");
  StartLog();
  Message(12, {});
  EXPECT_EQ(Call(kWritePort, {888, 3}, 10001), 3.0);
  EXPECT_EQ(Call(kReadPort, {888}, 10001), 0.0);
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(ModuleTest, SurvivesAHostThatMovesTheRecordOnEveryCallback) {
  hostsim::SetMoveRecordOnCallback(true);
  Load("full");
  EXPECT_EQ(ext_.startResult, 0);
  EXPECT_EQ(Message(15, {1}), Message(15, {1}));
  hostsim::SetMoveRecordOnCallback(false);
}

TEST_F(ModuleTest, CommandTextDrivesTheFunctions) {
  Load("full");
  double value = 0;
  std::string error;
  ASSERT_TRUE(
      hostsim::EvaluateCommand(ext_, "writeport(0x378, 0x5A)", value, error))
      << error;
  ASSERT_TRUE(hostsim::EvaluateCommand(ext_, " ReadPort( 888 ) ", value, error))
      << error;
  EXPECT_EQ(value, 0x5A);
  for (const char *bad : {"ReadPort(", "ReadPort(1, 2)", "Nope(1)",
                          "ReadPort(1) x", "", "ReadPort(abc)"}) {
    EXPECT_FALSE(hostsim::EvaluateCommand(ext_, bad, value, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

} // namespace
