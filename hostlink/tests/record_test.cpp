// The record protocol against the simulated host, whose blocks move.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "host_record_test.h"
#include "hostlink.h"
#include "hostsim.h"

namespace {

constexpr int32_t kEchoCount = 9001; // answers with the number of items
constexpr int32_t kSilent = 9002;    // stores nothing

int32_t EchoCount(const hostsim::ServiceCall &call) {
  return static_cast<int32_t>(call.items.size()) + 100;
}
int32_t Silent(const hostsim::ServiceCall &) { return 0; }
HOSTSIM_SERVICE(kEchoCount, EchoCount);
HOSTSIM_SERVICE(kSilent, Silent);

class RecordTest : public HostRecordTest {
protected:
  HostRecord Record() {
    HostRecord r;
    std::memset(&r, 0, sizeof r);
    // A record with more than 16 items is larger than the structure.
    size_t size = static_cast<size_t>(GetHandleSize(HostRecordHandle));
    std::memcpy(&r, *HostRecordHandle, std::min(size, sizeof r));
    return r;
  }
};

TEST_F(RecordTest, ItemsLandInArgumentOrderInAFullSizeRecord) {
  EXPECT_EQ(HostCall6(kEchoCount, 11, 22, 33, 44, 55, 66), 106);
  HostRecord r = Record();
  EXPECT_EQ(GetHandleSize(HostRecordHandle), 104);
  EXPECT_EQ(+r.itemCount, 6);
  const int32_t expected[] = {11, 22, 33, 44, 55, 66};
  EXPECT_EQ(std::memcmp(r.items, expected, sizeof expected), 0);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            std::vector<int32_t>(expected, expected + 6));
  EXPECT_EQ(hostsim::LastServiceCall().code, kEchoCount);
}

TEST_F(RecordTest, EachPrimitiveSendsItsOwnItemCount) {
  EXPECT_EQ(HostCall0(kEchoCount), 100);
  EXPECT_EQ(+Record().itemCount, 0);
  EXPECT_EQ(HostCall1(kEchoCount, 1), 101);
  EXPECT_EQ(HostCall2(kEchoCount, 1, 2), 102);
  EXPECT_EQ(HostCall3(kEchoCount, 1, 2, 3), 103);
  EXPECT_EQ(HostCall4(kEchoCount, 1, 2, 3, 4), 104);
  EXPECT_EQ(HostCall5(kEchoCount, 1, 2, 3, 4, 5), 105);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            std::vector<int32_t>({1, 2, 3, 4, 5}));
}

TEST_F(RecordTest, ASilentServiceYieldsZero) {
  SetHostResult(77);
  EXPECT_EQ(HostCall0(kSilent), 0);
}

TEST_F(RecordTest, ALargerRecordShrinksTo104Bytes) {
  SetHandleSize(HostRecordHandle, 400);
  HostCall1(kEchoCount, 5);
  EXPECT_EQ(GetHandleSize(HostRecordHandle), 104);
}

TEST_F(RecordTest, ResizingKeepsTheFixedPart) {
  SetHostLong2(0x12345678);
  SetHostLong26(-5);
  HostCall2(kEchoCount, 1, 2);
  EXPECT_EQ(+Record().hostLong2, 0x12345678);
  EXPECT_EQ(GetHostLong26(), -5);
}

TEST_F(RecordTest, MessageKeepsOnlySixteenBits) {
  SetHostMessage(65541);
  EXPECT_EQ(GetHostMessage(), 5);
  SetHostMessage(0xFFFF);
  EXPECT_EQ(GetHostMessage(), -1);
  HostCall0(65536 + kEchoCount); // only the low 16 bits travel
  EXPECT_EQ(hostsim::LastServiceCall().code, kEchoCount);
}

TEST_F(RecordTest, ItemsOutsideTheCountReadAsZero) {
  HostCall3(kEchoCount, 7, 8, 9);
  EXPECT_EQ(GetHostItem(0), 7);
  EXPECT_EQ(GetHostItem(2), 9);
  EXPECT_EQ(GetHostItem(3), 0);
  EXPECT_EQ(GetHostItem(-1), 0);
}

TEST_F(RecordTest, ACountBeyondTheRecordReadsAsZero) {
  HostRecord *r = reinterpret_cast<HostRecord *>(*HostRecordHandle);
  r->itemCount = 16; // the record is only 40 bytes long
  EXPECT_EQ(GetHostItem(0), 0);
  EXPECT_EQ(GetHostItem(15), 0);
}

TEST_F(RecordTest, AccessorsReachTheirOwnFields) {
  HostRecord *r = reinterpret_cast<HostRecord *>(*HostRecordHandle);
  r->hostLong10 = 4242;
  EXPECT_EQ(GetHostLong10(), 4242);
  SetHostResult(-9);
  EXPECT_EQ(+r->result, -9);
  EXPECT_EQ(GetHostResult(), -9);
  SetMessageEntry(reinterpret_cast<MessageEntryProc>(0x1234));
  EXPECT_EQ(+r->messageEntry, 0x1234u);
}

Handle seenByCallback;
void RecordingCallback(Handle h) {
  seenByCallback = h;
  reinterpret_cast<HostRecord *>(*h)->result = 31;
}

TEST_F(RecordTest, TheCallbackReceivesTheHandleItself) {
  HostRecord *r = reinterpret_cast<HostRecord *>(*HostRecordHandle);
  r->callback =
      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&RecordingCallback));
  EXPECT_EQ(HostCall0(1), 31);
  EXPECT_EQ(seenByCallback, HostRecordHandle);
}

TEST_F(RecordTest, AHostThatMovesTheRecordOnEveryCallDisturbsNothing) {
  hostsim::SetMoveRecordOnCallback(true);
  for (int k = 0; k < 50; ++k) {
    char *before = *HostRecordHandle;
    EXPECT_EQ(HostCall4(kEchoCount, k, k + 1, k + 2, k + 3), 104);
    EXPECT_NE(*HostRecordHandle, before);
    EXPECT_EQ(GetHostItem(3), k + 3);
  }
}

TEST_F(RecordTest, FallsBackToTheExactSizeWhen104BytesCannotBeHad) {
  hostsim::FailMemoryRequests(1);
  EXPECT_EQ(HostCall2(kEchoCount, 1, 2), 102);
  EXPECT_EQ(GetHandleSize(HostRecordHandle), 48);
}

TEST_F(RecordTest, NeverWritesItemsPastTheRecordWhenResizingFails) {
  // The record stays at its 40 bytes: the items have nowhere to go, and a
  // request the host would read past the record is not sent.
  int32_t services = hostsim::ServiceCallCount();
  hostsim::FailMemoryRequests(1, 2);
  EXPECT_EQ(HostCall6(kEchoCount, 1, 2, 3, 4, 5, 6), MemoryFullError);
  EXPECT_EQ(hostsim::ServiceCallCount(), services);
  EXPECT_EQ(GetHandleSize(HostRecordHandle), 40);
  EXPECT_EQ(+Record().itemCount, 6);
  // The next call finds memory again and goes on normally.
  EXPECT_EQ(HostCall1(kEchoCount, 9), 101);
}

TEST_F(RecordTest, MoreThanSixteenItemsGetRoomForAll) {
  SetRecHandle(20);
  EXPECT_EQ(GetHandleSize(HostRecordHandle), 120);
  EXPECT_EQ(+Record().itemCount, 20);
}

TEST_F(RecordTest, AnInjectedServiceFailureReachesTheCaller) {
  hostsim::FailServiceRequest(2, -77);
  EXPECT_EQ(HostCall0(kEchoCount), 100);
  EXPECT_EQ(HostCall0(kEchoCount), -77);
  EXPECT_EQ(HostCall0(kEchoCount), 100);
}

// The reference tells authors how to aim --fail-memory and --fail-service at
// a routine, and which MemError codes to compare with: hold it to that.
TEST_F(RecordTest, RequestsCostWhatTheReferenceSaysAndMemErrorUsesItsNames) {
  int32_t memory = hostsim::MemoryRequestCount();
  int32_t services = hostsim::ServiceCallCount();
  HostCall3(kSilent, 1, 2, 3);
  EXPECT_EQ(hostsim::MemoryRequestCount(), memory + 1);
  EXPECT_EQ(hostsim::ServiceCallCount(), services + 1);
  hostsim::FailMemoryRequests(1); // the first resize fails, the second holds
  HostCall0(kSilent);
  EXPECT_EQ(hostsim::MemoryRequestCount(), memory + 3);
  EXPECT_EQ(hostsim::ServiceCallCount(), services + 2);

  hostsim::FailMemoryRequests(1);
  EXPECT_EQ(NewPtr(8), nullptr);
  EXPECT_EQ(MemError(), MemoryFullError);
  Handle h = NewHandle(4);
  HLock(h);
  SetHandleSize(h, 8);
  EXPECT_EQ(MemError(), MemoryLockedError);
  DisposeHandle(h);
  EXPECT_EQ(GetHandleSize(h), 0);
  EXPECT_EQ(MemError(), NilHandleError);
}

TEST_F(RecordTest, UnknownServicesAnswerWithAnErrorAndAreLogged) {
  size_t before = hostsim::UnknownServiceCodes().size();
  EXPECT_EQ(HostCall1(31999, 1), hostsim::kUnknownServiceError);
  ASSERT_EQ(hostsim::UnknownServiceCodes().size(), before + 1);
  EXPECT_EQ(hostsim::UnknownServiceCodes().back(), 31999);
}

} // namespace
