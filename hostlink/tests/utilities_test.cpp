// Basic utilities against the simulated host.
#include <gtest/gtest.h>

#include <cstring>

#include "host_record_test.h"
#include "hostlink.h"
#include "hostsim.h"

namespace {

using HostTest = HostRecordTest;

TEST(CaseTest, UpperCasesOnlyAsciiLetters) {
  char text[] = "mIxEd 9z\xE9{";
  UpperCaseString(text);
  EXPECT_STREQ(text, "MIXED 9Z\xE9{");
}

TEST(CaseTest, ComparesWithoutRegardToAsciiCase) {
  EXPECT_EQ(CompareNoCase("Wave", "wAVE"), 0);
  EXPECT_EQ(CompareNoCase("", ""), 0);
  EXPECT_EQ(CompareNoCase("a", "B"), -1);
  EXPECT_EQ(CompareNoCase("b", "A"), 1);
  EXPECT_EQ(CompareNoCase("ab", "abc"), -1);
  EXPECT_EQ(CompareNoCase("\x80", "z"), 1); // high bytes sort after letters
  EXPECT_EQ(CompareNoCase("_", "a"), 1);    // folded: 0x5F after 0x41
}

TEST_F(HostTest, FindCharUsesTheLibraryBelow313) {
  HostVersion = 312;
  const char text[] = "a:b:c";
  int32_t calls = hostsim::ServiceCallCount();
  EXPECT_EQ(FindChar(text, ':'), text + 1);
  EXPECT_EQ(FindLastChar(text, ':'), text + 3);
  EXPECT_EQ(FindChar(text, 'x'), nullptr);
  EXPECT_EQ(hostsim::ServiceCallCount(), calls);
}

TEST_F(HostTest, FindCharAsksTheHostFrom313) {
  HostVersion = 313;
  static const char text[] = "a:b:c";
  EXPECT_EQ(FindChar(text, ':'), text + 1);
  EXPECT_EQ(hostsim::LastServiceCall().code, 173);
  EXPECT_EQ(
      hostsim::LastServiceCall().items,
      std::vector<int32_t>(
          {static_cast<int32_t>(reinterpret_cast<uintptr_t>(text)), ':'}));
  EXPECT_EQ(FindLastChar(text, ':'), text + 3);
  EXPECT_EQ(hostsim::LastServiceCall().code, 174);
  EXPECT_EQ(FindLastChar(text, 'q'), nullptr);
}

TEST(ZeroBytesTest, WritesExactlyCountBytes) {
  char bytes[6] = {1, 1, 1, 1, 1, 1};
  ZeroBytes(bytes + 1, 0);
  ZeroBytes(bytes + 1, -5);
  EXPECT_EQ(bytes[1], 1);
  ZeroBytes(bytes + 1, 1);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 1);
  ZeroBytes(bytes + 1, 4);
  const char expected[6] = {1, 0, 0, 0, 0, 1};
  EXPECT_EQ(std::memcmp(bytes, expected, 6), 0);
}

TEST_F(HostTest, LockHandleHighPinsTheBlockAndReturnsTheOldState) {
  Handle h = NewHandle(8);
  char *before = *h;
  int32_t state = LockHandleHigh(h);
  EXPECT_EQ(state, HGetState(h) & ~hostsim::kLockedState);
  char *pinned = *h;
  EXPECT_NE(pinned, before); // moved high first (the simulator always moves)
  MoveHHi(h);
  EXPECT_EQ(*h, pinned);
  HSetState(h, state);
  MoveHHi(h);
  EXPECT_NE(*h, pinned);
  DisposeHandle(h);
}

TEST_F(HostTest, HandleToTextCopiesAndTerminates) {
  Handle h = NewHandle(0);
  ASSERT_EQ(TextToHandle("0123456789", h), 0);
  char dest[12];
  std::memset(dest, 'x', sizeof dest);
  EXPECT_EQ(HandleToText(h, dest, 10), 0);
  EXPECT_STREQ(dest, "0123456789");
  std::memset(dest, 'x', sizeof dest);
  EXPECT_EQ(HandleToText(h, dest, 4), TextTruncatedError);
  EXPECT_STREQ(dest, "0123");
  EXPECT_EQ(dest[5], 'x');
  std::memset(dest, 'x', sizeof dest);
  EXPECT_EQ(HandleToText(h, dest, -3), TextTruncatedError);
  EXPECT_EQ(dest[0], 0);
  EXPECT_EQ(dest[1], 'x');
  DisposeHandle(h);
}

TEST_F(HostTest, NullHandlesGive185) {
  char dest[4] = "abc";
  EXPECT_EQ(HandleToText(nullptr, dest, 3), NullHandleError);
  EXPECT_EQ(dest[0], 0);
  EXPECT_EQ(TextToHandle("abc", nullptr), NullHandleError);
}

TEST_F(HostTest, TextToHandleSizesTheHandleExactly) {
  Handle h = NewHandle(0);
  EXPECT_EQ(TextToHandle("abc", h), 0);
  EXPECT_EQ(GetHandleSize(h), 3);
  EXPECT_EQ(std::memcmp(*h, "abc", 3), 0);
  EXPECT_EQ(TextToHandle("", h), 0);
  EXPECT_EQ(GetHandleSize(h), 0);
  hostsim::FailMemoryRequests(1);
  EXPECT_EQ(TextToHandle("longer", h), ResizeFailedError);
  EXPECT_EQ(GetHandleSize(h), 0);
  DisposeHandle(h);
}

// The tick the library counts its first poll from, read before any test
// polls.
const uint32_t kStartTick = LastPollTick;

uint32_t fakeTicks;
uint32_t FakeTicks() { return fakeTicks; }
int16_t breakState, altState;
int32_t keyReads;
int16_t FakeKeys(int32_t key) {
  ++keyReads;
  return key == 3 ? breakState : key == 18 ? altState : 0;
}

class PollTest : public ::testing::Test {
protected:
  void SetUp() override {
    hostsim::SetTickSource(FakeTicks);
    saved_ = PollAbortKeyReader;
    PollAbortKeyReader = FakeKeys;
    LastPollTick = kStartTick;
    fakeTicks = 1000;
    breakState = altState = 0;
    keyReads = 0;
  }
  void TearDown() override {
    hostsim::SetTickSource(nullptr);
    PollAbortKeyReader = saved_;
  }
  KeyStateReader saved_ = nullptr;
};

TEST_F(PollTest, ChecksAtMostOnceEverySixTicks) {
  EXPECT_EQ(PollAbort(0), 0);
  EXPECT_EQ(LastPollTick, 1000u);
  breakState = static_cast<int16_t>(0x8000);
  fakeTicks = 1005;
  EXPECT_EQ(PollAbort(500), 0); // quiet period: neither keys nor deadline
  EXPECT_EQ(keyReads, 1);
  fakeTicks = 1006;
  EXPECT_EQ(PollAbort(0), -1);
}

TEST_F(PollTest, TheFirstCallCountsFromTickZero) {
  breakState = 1;
  fakeTicks = 5;
  EXPECT_EQ(PollAbort(0), 0);
  EXPECT_EQ(keyReads, 0);
  fakeTicks = 6;
  EXPECT_EQ(PollAbort(0), -1);
}

TEST_F(PollTest, ReportsAPassedDeadlineBeforeTheKeys) {
  breakState = 1;
  EXPECT_EQ(PollAbort(999), 1);
  EXPECT_EQ(keyReads, 0);
  fakeTicks = 1010;
  EXPECT_EQ(PollAbort(1010), -1); // not passed yet: equal is not later
}

// The reader the library starts with: the real keyboard (none natively),
// where no key is held while the tests run.
TEST_F(PollTest, TheBuiltInReaderSeesNoKeyHeld) {
  PollAbortKeyReader = saved_;
  EXPECT_EQ(PollAbortKeyReader(3), 0);
  EXPECT_EQ(PollAbort(0), 0);
}

TEST_F(PollTest, BreakWithAltIsNotAnAbort) {
  breakState = 1;
  altState = static_cast<int16_t>(0x8000);
  EXPECT_EQ(PollAbort(0), 0);
  fakeTicks += 6;
  altState = 0;
  EXPECT_EQ(PollAbort(0), -1);
}

float FloatOf(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}
// Filled in place: a double returned by value on 32-bit x86 passes through
// the x87 stack, which quiets a signalling NaN (unoptimised builds).
void SetDoubleBits(double *d, uint64_t bits) { std::memcpy(d, &bits, 8); }

TEST(NaNTest, SingleTestsAllBits) {
  const std::pair<uint32_t, int32_t> cases[] = {
      {0x7F800000, 0}, {0x7F800001, 1}, {0xFFFFFFFF, 1}, {0xFF800000, 0},
      {0x7FC00000, 1}, {0x00000000, 0}, {0x3F800000, 0}};
  for (const auto &c : cases) {
    float f = FloatOf(c.first);
    EXPECT_EQ(IsNaNSingle(&f), c.second) << std::hex << c.first;
  }
}

TEST(NaNTest, DoubleTestsTheHighWordOnly) {
  const std::pair<uint64_t, int32_t> cases[] = {
      {0x7FF8000000000000, 1}, {0x7FF0000000000000, 0}, {0x7FF0000000000001, 0},
      {0xFFF0000000000001, 0}, {0x7FF0000100000000, 1}, {0xFFF8000000000000, 1},
      {0x3FF0000000000000, 0}};
  for (const auto &c : cases) {
    double d;
    SetDoubleBits(&d, c.first);
    EXPECT_EQ(IsNaNDouble(&d), c.second) << std::hex << c.first;
  }
}

TEST(NaNTest, SettersWriteTheHostPatterns) {
  // Each value is followed by a guard that the setters must not touch.
  struct {
    float f = 1;
    uint32_t afterFloat = 0x55555555;
    double d = 1;
    uint64_t afterDouble = 0x5555555555555555;
  } v;
  float &f = v.f;
  double &d = v.d;
  SetNaNSingle(&f);
  SetNaNDouble(&d);
  uint32_t fb;
  uint64_t db;
  std::memcpy(&fb, &f, 4);
  std::memcpy(&db, &d, 8);
  EXPECT_EQ(fb, 0xFFFFFFFFu);
  EXPECT_EQ(db, 0x7FFFFFFFFFFFFFFFull);
  EXPECT_EQ(v.afterFloat, 0x55555555u);
  EXPECT_EQ(v.afterDouble, 0x5555555555555555u);
  EXPECT_EQ(IsNaNSingle(&f), 1);
  EXPECT_EQ(IsNaNDouble(&d), 1);
}

} // namespace
