// Host memory: handles whose blocks move, states, and leak counting.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "hostsim.h"

namespace {

TEST(MemoryTest, ResizeMovesTheBlockAndKeepsItsContents) {
  Handle h = NewHandle(4);
  ASSERT_NE(h, nullptr);
  std::memcpy(*h, "abcd", 4);
  char *before = *h;
  SetHandleSize(h, 8);
  EXPECT_EQ(MemError(), 0);
  EXPECT_NE(*h, before);
  EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
  EXPECT_EQ(GetHandleSize(h), 8);
  SetHandleSize(h, 2);
  EXPECT_EQ(std::memcmp(*h, "ab", 2), 0);
  DisposeHandle(h);
}

TEST(MemoryTest, LockedBlocksStayPut) {
  Handle h = NewHandle(16);
  int32_t state = HGetState(h);
  MoveHHi(h);
  HLock(h);
  char *locked = *h;
  MoveHHi(h);
  EXPECT_EQ(*h, locked);
  SetHandleSize(h, 32);
  EXPECT_EQ(MemError(), hostsim::kMemLocked);
  EXPECT_EQ(*h, locked);
  HSetState(h, state);
  MoveHHi(h);
  EXPECT_NE(*h, locked);
  DisposeHandle(h);
}

TEST(MemoryTest, CountsLiveBlocks) {
  int32_t handles = hostsim::LiveHandleCount(), ptrs = hostsim::LivePtrCount();
  Handle h = NewHandle(0);
  void *p = NewPtr(10);
  EXPECT_EQ(hostsim::LiveHandleCount(), handles + 1);
  EXPECT_EQ(hostsim::LivePtrCount(), ptrs + 1);
  DisposeHandle(h);
  DisposePtr(p);
  EXPECT_EQ(hostsim::LiveHandleCount(), handles);
  EXPECT_EQ(hostsim::LivePtrCount(), ptrs);
}

TEST(MemoryTest, BadHandlesAreReportedNotFollowed) {
  Handle h = NewHandle(4);
  DisposeHandle(h);
  SetHandleSize(h, 10);
  EXPECT_EQ(MemError(), hostsim::kNilHandle);
  EXPECT_EQ(GetHandleSize(nullptr), 0);
  EXPECT_EQ(MemError(), hostsim::kNilHandle);
  DisposePtr(reinterpret_cast<void *>(0x10));
  EXPECT_EQ(MemError(), hostsim::kNilHandle);
}

TEST(MemoryTest, InjectedFailuresHitTheChosenRequests) {
  hostsim::FailMemoryRequests(2, 2);
  Handle a = NewHandle(1);
  EXPECT_NE(a, nullptr);
  EXPECT_EQ(NewPtr(1), nullptr);
  EXPECT_EQ(MemError(), hostsim::kMemFull);
  SetHandleSize(a, 5);
  EXPECT_EQ(MemError(), hostsim::kMemFull);
  EXPECT_EQ(GetHandleSize(a), 1);
  SetHandleSize(a, 5);
  EXPECT_EQ(MemError(), 0);
  DisposeHandle(a);
}

TEST(ScrapTest, KeepsTextOfTheGivenLength) {
  EXPECT_EQ(SetScrapData(0, 3, 0x54455854, "abcdef"), 0);
  EXPECT_EQ(hostsim::ScrapText(), "abc");
  EXPECT_NE(SetScrapData(0, 3, 0x50494354, "xyz"), 0);
  EXPECT_EQ(hostsim::ScrapText(), "abc");
}

// The host's clock counts 60 ticks a second of the machine's own clock; a
// native host has no module, client window or module strings.
TEST(SurroundingsTest, TheClockRunsAtSixtyTicksASecond) {
  using Clock = std::chrono::steady_clock;
  hostsim::SetTickSource(nullptr);
  Clock::time_point start = Clock::now();
  uint32_t before = TickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  uint32_t ticks = TickCount() - before;
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      Clock::now() - start);
  EXPECT_GE(ticks, 10u); // 12, less the clock's granularity
  EXPECT_LE(ticks, elapsed.count() * 60 / 1000 + 2);
#ifndef _WIN32
  char text[256] = "stale";
  hostsim::ResetHostModule();
  EXPECT_EQ(GetIgorModule(), nullptr);
  EXPECT_EQ(GetIgorClientHWND(), nullptr);
  EXPECT_EQ(GetWinIndString(nullptr, text, 1100, 1), -1);
#endif
}

TEST(IndexedStringTest, FindsStringsOfAList) {
  const char list[] = "one\0two\0\0";
  std::string text;
  EXPECT_TRUE(hostsim::IndexedString(list, sizeof list, 2, text));
  EXPECT_EQ(text, "two");
  EXPECT_FALSE(hostsim::IndexedString(list, sizeof list, 3, text));
  EXPECT_FALSE(hostsim::IndexedString(list, sizeof list, 0, text));
  EXPECT_FALSE(hostsim::IndexedString(list, 5, 2, text) && text != "t");
}

} // namespace
