// The host simulator as a user runs it: Igor.exe started as its own process,
// loading the built module through its function table, reporting start-up
// failures with the module's own texts, presenting a chosen host version and
// capturing the dialog demo.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "test_paths.h"

namespace {

struct ProcessRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output; // stdout and stderr together
};

std::string Quoted(const std::string &s) { return "\"" + s + "\""; }

// Appends whatever the pipe holds now, without waiting for more.
void Drain(HANDLE pipe, std::string &output) {
  DWORD ready = 0, n = 0;
  char buffer[4096];
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &ready, nullptr) &&
         ready > 0 && ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) &&
         n > 0)
    output.append(buffer, n);
}

// Runs the simulator `exe` with `args`, in `directory` (the test's own when
// null). A run that outlives its time is ended and counts as failed; a
// process of its own that keeps the pipe open does not hold the test.
ProcessRun RunIgorAt(const std::string &exe, const std::string &args,
                     const char *directory = nullptr) {
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ProcessRun run;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = writeEnd;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::string line = Quoted(exe) + " " + args;
  PROCESS_INFORMATION pi = {};
  BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0,
                                nullptr, directory, &si, &pi);
  CloseHandle(writeEnd);
  if (started) {
    DWORD start = GetTickCount(), waited = WAIT_TIMEOUT;
    while (waited == WAIT_TIMEOUT && GetTickCount() - start < 180000) {
      waited = WaitForSingleObject(pi.hProcess, 50);
      Drain(readEnd, run.output);
    }
    if (waited == WAIT_OBJECT_0) {
      GetExitCodeProcess(pi.hProcess, &run.exitCode);
    } else {
      TerminateProcess(pi.hProcess, 0xFFFFFFFF);
      run.output += "\n(Igor.exe did not finish in time)";
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  CloseHandle(readEnd);
  return run;
}

ProcessRun RunIgor(const std::string &args, const char *directory = nullptr) {
  return RunIgorAt(HostExePath(), args, directory);
}

std::string TempPath(const std::string &name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return dir + name + std::to_string(GetCurrentProcessId());
}

std::string PortLibs(const char *variant) {
  return "--portlib-dir " + Quoted(PortLibDir(variant)) + " ";
}

bool Has(const ProcessRun &run, const std::string &text) {
  return run.output.find(text) != std::string::npos;
}

TEST(IgorExeTest, LoadsTheModuleAndCleansUpBeforeUnloading) {
  ProcessRun run = RunIgor("--trace " + PortLibs("full") +
                           "\"WritePort(0x378, 0x1A5)\" \"readport(0x378)\" "
                           "\"ReadPort(0x379)\"");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(Has(run, "[host] main -> 0")) << run.output;
  EXPECT_TRUE(Has(run, "WritePort(0x378, 0x1A5) = 421")) << run.output;
  EXPECT_TRUE(Has(run, "readport(0x378) = 165")) << run.output;
  EXPECT_TRUE(Has(run, "ReadPort(0x379) = 223")) << run.output;
  // Message 12 is the last thing the module hears, after the last call.
  size_t cleanup = run.output.rfind("[host] message 12 () -> 0");
  ASSERT_NE(cleanup, std::string::npos) << run.output;
  EXPECT_GT(cleanup, run.output.rfind("[host] message 15"));
  EXPECT_GT(cleanup, run.output.rfind("ReadPort(0x379) = 223"));
}

TEST(IgorExeTest, StartUpFailuresShowTheModuleOwnTexts) {
  const struct {
    const char *variant, *report;
  } cases[] = {
      {"none", "(error 10001): LoadLibrary Failed."},
      {"no-out32", "(error 10002): GetProcAddress for Oup32 Failed."},
      {"no-inp32", "(error 10003): GetProcAddress for Inp32 Failed."},
  };
  for (const auto &c : cases) {
    ProcessRun run = RunIgor(PortLibs(c.variant) + "\"ReadPort(0x379)\"");
    EXPECT_EQ(run.exitCode, 1u) << c.variant << run.output;
    EXPECT_TRUE(Has(run, c.report)) << c.variant << run.output;
    EXPECT_FALSE(Has(run, "ReadPort(0x379) =")) << c.variant;
  }
}

TEST(IgorExeTest, BadOptionsAndBadLinesStopBeforeAnyCall) {
  EXPECT_EQ(RunIgor("--help").exitCode, 0u);
  const char *cases[] = {
      "--fail-memory 0",    "--fail-memory 1:x",     "--fail-memory 2:-1",
      "--fail-service one", "--fail-service 1:",     "--bogus",
      "--script",           "\"wave w Int64 = 1\"",  "\"variable = 3\"",
      "\"wave w = 1, \"",   "\"ReadPort(nothing)\"", "\"ReadPort(0x379) 2\"",
  };
  for (const char *args : cases) {
    ProcessRun run = RunIgor(PortLibs("full") + args + " \"ReadPort(0x379)\"");
    EXPECT_EQ(run.exitCode, 2u) << args << run.output;
    EXPECT_FALSE(Has(run, "ReadPort(0x379) =")) << args << run.output;
  }
  ProcessRun last = RunIgor("--xop");
  EXPECT_EQ(last.exitCode, 2u) << last.output;
  EXPECT_TRUE(Has(last, "--xop needs FILE")) << last.output;
}

// --xop names the module relative to the current folder, whatever
// --portlib-dir says; without it the module lies beside Igor.exe, else in
// the folder above, as the kit lays them out. No module: exit status 1.
TEST(IgorExeTest, FindsTheModuleWhereTheUserPutIt) {
  std::string build = TestExeDirectory() + "\\..";
  ProcessRun relative =
      RunIgor(PortLibs("full") + "--xop bin\\Tavrel.xop \"ReadPort(0x379)\"",
              build.c_str());
  EXPECT_EQ(relative.exitCode, 0u) << relative.output;
  EXPECT_TRUE(Has(relative, "ReadPort(0x379) = 223")) << relative.output;

  std::string kit = TempPath("tavrel_kit_"), simulator = kit + "\\simulator";
  CreateDirectoryA(kit.c_str(), nullptr);
  CreateDirectoryA(simulator.c_str(), nullptr);
  std::string igor = simulator + "\\Igor.exe", xop = kit + "\\Tavrel.xop";
  EXPECT_TRUE(CopyFileA(HostExePath().c_str(), igor.c_str(), FALSE));
  EXPECT_TRUE(CopyFileA(ModulePath().c_str(), xop.c_str(), FALSE));
  ProcessRun above = RunIgorAt(igor, PortLibs("full") + "\"ReadPort(0x379)\"");
  EXPECT_EQ(above.exitCode, 0u) << above.output;
  EXPECT_TRUE(Has(above, "ReadPort(0x379) = 223")) << above.output;
  DeleteFileA(igor.c_str());
  DeleteFileA(xop.c_str());
  RemoveDirectoryA(simulator.c_str());
  RemoveDirectoryA(kit.c_str());

  ProcessRun missing =
      RunIgor(PortLibs("full") + "--xop " + Quoted(ModulePath() + ".missing") +
              " \"ReadPort(0x379)\"");
  EXPECT_EQ(missing.exitCode, 1u) << missing.output;
  EXPECT_TRUE(Has(missing, "cannot load")) << missing.output;
  EXPECT_FALSE(Has(missing, "ReadPort(0x379) =")) << missing.output;
}

// A script's lines run where --script stands (CR LF line ends; blank lines
// and // lines skipped), the fault options reach the requests they count,
// and the first line names the runner's proof token.
TEST(IgorExeTest, ScriptsFaultsAndTheStartProofReachTheRun) {
  std::string script = TempPath("tavrel_script_");
  std::ofstream(script, std::ios::binary)
      << "variable port = 0x378\r\n\r\n// WritePort(port, 9)\r\n \t\r\n"
         "WritePort(port, 5)\r\n";
  SetEnvironmentVariableA("TAVREL_SIMULATOR_PROOF", "proof-4711");
  ProcessRun run =
      RunIgor("--trace --move-record --fail-memory 1 --fail-service 1:77 " +
              PortLibs("full") + "\"WritePort(0x378, 3)\" --script " +
              Quoted(script) + " \"ReadPort(port)\"");
  SetEnvironmentVariableA("TAVREL_SIMULATOR_PROOF", nullptr);
  DeleteFileA(script.c_str());
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(run.output.rfind("[host] simulator started: proof-4711", 0), 0u)
      << run.output;
  // The module's first request reads the host version; failing it still
  // leaves a module that starts.
  EXPECT_TRUE(Has(run, "[host] memory 1: NewPtr(")) << run.output;
  EXPECT_TRUE(Has(run, "-> error -108 (injected)")) << run.output;
  EXPECT_TRUE(Has(run, "[host] main -> 0")) << run.output;
  size_t first = run.output.find("WritePort(0x378, 3) = 3");
  size_t second = run.output.find("WritePort(port, 5) = 5");
  size_t third = run.output.find("ReadPort(port) = 5");
  EXPECT_LT(first, second) << run.output;
  EXPECT_LT(second, third) << run.output;
  EXPECT_NE(third, std::string::npos) << run.output;
  EXPECT_FALSE(Has(run, "WritePort(port, 9)")) << run.output;
}

TEST(IgorExeTest, ScriptVariablesAndWavesFeedTheCalls) {
  ProcessRun run = RunIgor(
      PortLibs("full") + "\"variable port = 0x378\" \"WritePort(port, 7)\" "
                         "\"wave w UInt8 = 1, -1, 2.9\" w \"ReadPort(port)\"");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(Has(run, "WritePort(port, 7) = 7")) << run.output;
  EXPECT_TRUE(Has(run, "wave w UInt8 = 1, 255, 2")) << run.output;
  EXPECT_TRUE(Has(run, "ReadPort(port) = 7")) << run.output;
}

TEST(IgorExeTest, PresentsTheChosenHostVersion) {
  EXPECT_TRUE(Has(RunIgor("--library-demo"), "host version 637"));
  for (const auto &v : {std::make_pair("3.0.1", "host version 301"),
                        std::make_pair("4.0.0.7", "host version 400")}) {
    ProcessRun run =
        RunIgor(std::string("--host-version ") + v.first + " --library-demo");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_TRUE(Has(run, v.second)) << run.output;
  }
  EXPECT_EQ(RunIgor("--host-version 70000 --library-demo").exitCode, 2u);
}

TEST(IgorExeTest, CheckReadsTheModuleWithoutLoadingIt) {
  ProcessRun good = RunIgor("--trace --check " + Quoted(ModulePath()));
  EXPECT_EQ(good.exitCode, 0u) << good.output;
  EXPECT_TRUE(Has(good, "0  WritePort(Float64, Float64) -> Float64"))
      << good.output;
  EXPECT_TRUE(Has(good, "10002  GetProcAddress for Oup32 Failed."));
  EXPECT_FALSE(Has(good, "[host] main")) << good.output;
  const struct {
    std::string file;
    const char *problem;
  } cases[] = {{HostExePath(), "main is not exported"},
               {PortLibDir("full") + "\\inpout32.dll", "no \"XOPF\" resource"},
               {ModulePath() + ".missing", "cannot read"}};
  for (const auto &c : cases) {
    ProcessRun bad = RunIgor("--check " + Quoted(c.file));
    EXPECT_EQ(bad.exitCode, 5u) << c.file << bad.output;
    EXPECT_TRUE(Has(bad, c.problem)) << c.file << bad.output;
  }
}

TEST(IgorExeTest, DialogDemoSavesAPictureOfWhatTheHelpersSet) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::string png = std::string(dir) + "tavrel_dialog_test.png";
  DeleteFileA(png.c_str());
  ProcessRun run = RunIgor("--dialog-demo " + Quoted(png));
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(Has(run, "popup entry 2 \"sweep_0002\", baseline on, gain 2.5"))
      << run.output;
  std::ifstream in(png, std::ios::binary);
  char signature[8] = {};
  in.read(signature, 8);
  EXPECT_EQ(std::string(signature, 8), "\x89PNG\r\n\x1A\n");
  in.close();
  DeleteFileA(png.c_str());
}

} // namespace
