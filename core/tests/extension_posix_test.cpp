// The extension's start-up, message dispatch and external functions, with
// the port library played by stand-ins that record every call.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "entry.h"
#include "hostsim.h"
#include "library.h"
#include "ports.h"

namespace {

struct FakeLibrary {
  bool present = true, hasOut32 = true, hasInp32 = true;
  std::vector<std::string> lookups;
  int opens = 0, closes = 0;
  std::vector<std::pair<uint32_t, uint32_t>> writes;
  std::vector<uint32_t> reads;
  int16_t nextReading = 0;
} fake;

char libraryToken;

void FakeOut32(uint32_t port, uint32_t value) {
  fake.writes.push_back({port, value});
}
int16_t FakeInp32(uint32_t port) {
  fake.reads.push_back(port);
  return fake.nextReading;
}

} // namespace

extern "C" {
void *OpenLibrary(const char *name) {
  ++fake.opens;
  return fake.present && std::string(name) == "inpout32.dll" ? &libraryToken
                                                             : nullptr;
}
void *FindLibraryEntry(void *, const char *name) {
  fake.lookups.push_back(name);
  if (std::string(name) == "Out32" && fake.hasOut32)
    return reinterpret_cast<void *>(FakeOut32);
  if (std::string(name) == "Inp32" && fake.hasInp32)
    return reinterpret_cast<void *>(FakeInp32);
  return nullptr;
}
void CloseLibrary(void *library) {
  EXPECT_EQ(library, &libraryToken);
  ++fake.closes;
}
}

namespace {

class ExtensionTest : public ::testing::Test {
protected:
  void SetUp() override {
    fake = FakeLibrary();
    record_ = hostsim::NewHostRecord();
  }
  void TearDown() override {
    Message(MsgCleanup, {}); // leaves the module unbound for the next test
    DisposeHandle(record_);
    HostRecordHandle = nullptr;
    hostsim::SetMoveRecordOnCallback(false);
  }

  int32_t Start() {
    StartExtension(record_);
    return Record()->result;
  }

  HostRecord *Record() { return reinterpret_cast<HostRecord *>(*record_); }

  // Delivers a message the way the host does, through the installed entry.
  int32_t Message(int32_t code, std::vector<int32_t> items) {
    SetHandleSize(record_, 40 + 4 * static_cast<int32_t>(items.size()));
    Record()->message = static_cast<int16_t>(code);
    Record()->itemCount = static_cast<int16_t>(items.size());
    if (!items.empty())
      std::memcpy(Record()->items, items.data(), 4 * items.size());
    Record()->result = -12345;
    auto entry = reinterpret_cast<MessageEntryProc>(
        static_cast<uintptr_t>(Record()->messageEntry));
    if (entry == nullptr) return -1;
    entry();
    return Record()->result;
  }

  Handle record_ = nullptr;
};

TEST_F(ExtensionTest, StartsAndInstallsTheMessageEntry) {
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(HostRecordHandle, record_);
  EXPECT_EQ(
      +Record()->messageEntry,
      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&HandleHostMessage)));
  EXPECT_EQ(fake.lookups, std::vector<std::string>({"Out32", "Inp32"}));
}

TEST_F(ExtensionTest, StopsAtTheFirstMissingPiece) {
  fake.present = false;
  EXPECT_EQ(Start(), 10001);
  EXPECT_TRUE(fake.lookups.empty());
  EXPECT_NE(+Record()->messageEntry, 0u); // installed whatever the outcome

  fake = FakeLibrary();
  fake.hasOut32 = false;
  EXPECT_EQ(Start(), 10002);
  EXPECT_EQ(fake.lookups, std::vector<std::string>({"Out32"}));

  fake = FakeLibrary();
  fake.hasInp32 = false;
  EXPECT_EQ(Start(), 10003);
  EXPECT_EQ(Inp32Proc, nullptr);
  EXPECT_NE(Out32Proc, nullptr);
}

TEST_F(ExtensionTest, HandsOutFunctionAddressesByIndex) {
  Start();
  EXPECT_EQ(Message(MsgFunctionAddress, {0}),
            static_cast<int32_t>(reinterpret_cast<uintptr_t>(&WritePort)));
  EXPECT_EQ(Message(MsgFunctionAddress, {1}),
            static_cast<int32_t>(reinterpret_cast<uintptr_t>(&ReadPort)));
  EXPECT_EQ(Message(MsgFunctionAddress, {2}), 0);
  EXPECT_EQ(Message(MsgFunctionAddress, {}), Message(MsgFunctionAddress, {0}));
  EXPECT_EQ(Message(7, {1}), 0);
  EXPECT_EQ(Message(-3, {}), 0);
}

TEST_F(ExtensionTest, CleanupReleasesTheLibraryOnce) {
  Start();
  EXPECT_EQ(Message(MsgCleanup, {}), 0);
  EXPECT_EQ(Message(MsgCleanup, {}), 0);
  EXPECT_EQ(fake.closes, 1);
}

double Bits(uint64_t bits) {
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}

TEST_F(ExtensionTest, WritePortConvertsPortAndValue) {
  Start();
  struct Case {
    double port, value;
    uint32_t sentPort, sentValue;
  } cases[] = {
      {888, 255.9, 888, 255},
      {888, -1, 888, 0xFFFF},
      {888.7, 1, 888, 1},
      {-1, 0, 0xFFFFFFFF, 0},
      {888, 65541, 888, 5},
      {NAN, NAN, 0, 0},
      {INFINITY, -INFINITY, 0, 0},
      {9.3e18, 1, 0, 1},
      {-2.5, 70000.9, 0xFFFFFFFE, 4464},
      {4294967296.0 + 7, 3, 7, 3},
      {-9223372036854775808.0, 2, 0, 2},
  };
  for (const Case &c : cases) {
    WritePortParams p = {c.value, c.port, 0};
    EXPECT_EQ(WritePort(&p), 0);
    EXPECT_EQ(std::memcmp(&p.result, &c.value, 8), 0);
    ASSERT_FALSE(fake.writes.empty());
    EXPECT_EQ(fake.writes.back(), std::make_pair(c.sentPort, c.sentValue))
        << c.port << " " << c.value;
  }
  // The result is the value exactly as given, NaN payload and all.
  WritePortParams p = {Bits(0x7FF8000000000123), 888, 0};
  WritePort(&p);
  EXPECT_EQ(std::memcmp(&p.result, &p.value, 8), 0);
}

TEST_F(ExtensionTest, ReadPortSignExtendsTheReading) {
  Start();
  const std::pair<uint16_t, double> cases[] = {
      {0xFF80, -128}, {0x0080, 128}, {0x7FFF, 32767}, {0x8000, -32768}, {0, 0}};
  for (const auto &c : cases) {
    fake.nextReading = static_cast<int16_t>(c.first);
    ReadPortParams p = {889.9, 0};
    EXPECT_EQ(ReadPort(&p), 0);
    EXPECT_EQ(p.result, c.second);
    EXPECT_EQ(fake.reads.back(), 889u);
  }
}

TEST_F(ExtensionTest, FunctionsRefuseWithoutABoundLibrary) {
  fake.hasInp32 = false;
  Start();
  WritePortParams w = {3, 888, 0};
  ReadPortParams r = {888, 99};
  EXPECT_EQ(WritePort(&w), 10001);
  EXPECT_EQ(w.result, 3);
  EXPECT_EQ(ReadPort(&r), 10001);
  EXPECT_EQ(+r.result, 0);
  EXPECT_TRUE(fake.writes.empty());

  fake = FakeLibrary();
  Start();
  Message(MsgCleanup, {});
  EXPECT_EQ(WritePort(&w), 10001);
  EXPECT_EQ(ReadPort(&r), 10001);
  EXPECT_TRUE(fake.writes.empty() && fake.reads.empty());
}

TEST_F(ExtensionTest, MessagesSurviveAHostThatMovesTheRecord) {
  Start();
  hostsim::SetMoveRecordOnCallback(true);
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(Message(MsgFunctionAddress, {1}),
              static_cast<int32_t>(reinterpret_cast<uintptr_t>(&ReadPort)));
  }
}

} // namespace
