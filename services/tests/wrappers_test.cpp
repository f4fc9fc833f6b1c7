// The requests the service wrappers send, checked as the simulated host
// received them, and the wrappers that do more than pass their items on.
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "wave_host_test.h"
#include "wrappers.h"

struct tagRECT {
  int32_t left, top, right, bottom;
};

namespace {

// The plain wrappers' codes and item counts, as the service tables list them.
const std::map<int32_t, int32_t> kPlainItemCounts = {
    {9, 1},
    {70, 1},
    {4, 2},
    {46, 2},
    {75, 3},
    {181, 3},
    {65, 4},
    {74, 4},
    {19, 0},
    {21, 0},
    {73, 0},
    {16, 1},
    {17, 1},
    {40, 1},
    {41, 1},
    {156, 1},
    {158, 1},
    {20, 2},
    {22, 2},
    {60, 2},
    {24, 1},
    {39, 1},
    {167, 5},
    {48, 0},
    {29, 1},
    {30, 1},
    {67, 1},
    {68, 1},
    {161, 1},
    {176, 1},
    {168, 2},
    {177, 2},
    {189, 2},
    {190, 2},
    {193, 2},
    {202, 2},
    {203, 2},
    {204, 2},
    {175, 3},
    {178, 3},
    {179, 3},
    {185, 3},
    {192, 3},
    {195, 3},
    {199, 3},
    {201, 3},
    {200, 4},
    {194, 5},
    {198, 5},
    {187, 6},
    {1, 1},
    {54, 1},
    {36, 2},
    {55, 2},
    {47, 4},
    {50, 5},
    {51, 5},
    {125, 0},
    {126, 0},
    {115, 1},
    {101, 2},
    {102, 2},
    {103, 2},
    {109, 2},
    {110, 2},
    {111, 2},
    {113, 2},
    {117, 2},
    {118, 2},
    {127, 2},
    {91, 3},
    {92, 3},
    {100, 3},
    {104, 3},
    {112, 3},
    {114, 3},
    {116, 3},
    {119, 3},
    {121, 3},
    {122, 4},
    {123, 4},
    {160, 4},
    {120, 5},
    {128, 6},
    // rows that only pass their items: wave header fields, layout-0
    // dimension texts, host lists
    {34, 1},
    {35, 1},
    {37, 1},
    {93, 1},
    {94, 1},
    {95, 1},
    {52, 3},
    {53, 3},
    {56, 4},
    {57, 4},
    {58, 4}};

// Each item is the address of its own zeroed buffer: distinct values that a
// host may safely read as an empty text or write a little into.
char itemBuffers[6][64];
int32_t SampleItem(int k) {
  std::memset(itemBuffers[k], 0, sizeof itemBuffers[k]);
  return hostsim::PointerItem(itemBuffers[k]);
}

#define ARGS_0
#define ARGS_1 SampleItem(0)
#define ARGS_2 ARGS_1, SampleItem(1)
#define ARGS_3 ARGS_2, SampleItem(2)
#define ARGS_4 ARGS_3, SampleItem(3)
#define ARGS_5 ARGS_4, SampleItem(4)
#define ARGS_6 ARGS_5, SampleItem(5)
#define PLAIN_CALL(code, items)                                                \
  {code, [] { return HostService##code(ARGS_##items); }},
const std::map<int32_t, std::function<int32_t()>> kPlainCalls = {
    TAVREL_PLAIN_SERVICES(PLAIN_CALL)};

class WrappersTest : public WaveHostTest {};

TEST_F(WrappersTest, PlainWrappersSendTheirCodeAndItemsInOrder) {
  ASSERT_EQ(kPlainCalls.size(), kPlainItemCounts.size());
  for (const auto &[code, call] : kPlainCalls) {
    SCOPED_TRACE(code);
    ASSERT_EQ(kPlainItemCounts.count(code), 1u);
    int32_t items = kPlainItemCounts.at(code);
    int32_t result = call();
    EXPECT_EQ(LastCode(), code);
    std::vector<int32_t> expected;
    for (int k = 0; k < items; ++k)
      expected.push_back(SampleItem(k));
    EXPECT_EQ(hostsim::LastServiceCall().items, expected);
    EXPECT_EQ(result, call()); // the host's answer, unchanged
  }
}

std::vector<int32_t> Items(std::initializer_list<const void *> addresses) {
  std::vector<int32_t> items;
  for (const void *p : addresses)
    items.push_back(hostsim::PointerItem(p));
  return items;
}

TEST_F(WrappersTest, NamedWrappersPassTheirArguments) {
  double re = 0, im = 0;
  const char *name = "v", *text = "x";
  EXPECT_EQ(FetchNumberByName(name, &re, &im), hostsim::kNoSuchVariableError);
  EXPECT_EQ(LastCode(), 3);
  EXPECT_EQ(hostsim::LastServiceCall().items, Items({name, &re, &im}));
  EXPECT_EQ(StoreNumberByName(name, &re, &im), -1);
  EXPECT_EQ(LastCode(), 5);
  EXPECT_EQ(hostsim::LastServiceCall().items, Items({name, &re, &im}));
  StoreTextByName(name, text);
  EXPECT_EQ(LastCode(), 6);
  EXPECT_EQ(hostsim::LastServiceCall().items, Items({name, text}));
  EXPECT_EQ(HandleFromName(name), 0);
  EXPECT_EQ(LastCode(), 7);
  EXPECT_EQ(hostsim::LastServiceCall().items, Items({name}));
  SendTextWithMode(text, 3);
  EXPECT_EQ(LastCode(), 49);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{hostsim::PointerItem(text), 3}));
  EXPECT_EQ(ReportToHost("hi"), 0);
  EXPECT_EQ(hostsim::Reports().back(), "hi");
}

TEST_F(WrappersTest, OutArgumentsAreSetBeforeOrAfterTheRequest) {
  // The simulated host does not offer these services and writes nothing.
  char text[8] = "old";
  int32_t out = 7;
  EXPECT_EQ(HostService18(text), hostsim::kUnknownServiceError);
  EXPECT_STREQ(text, "");
  std::strcpy(text, "old");
  EXPECT_EQ(HostService164(5, text), hostsim::kUnknownServiceError);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{5, hostsim::PointerItem(text)}));
  EXPECT_EQ(LastCode(), 164);
  HostService165(5, &out);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(LastCode(), 165);
  out = 7;
  EXPECT_EQ(HostService162(&out), hostsim::kUnknownServiceError);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(LastCode(), 162);
  EXPECT_EQ(HostService163(&out), hostsim::kUnknownServiceError);
  EXPECT_EQ(out, 1);
  EXPECT_EQ(LastCode(), 163);
  std::strcpy(text, "old");
  out = 7;
  HostService166(2, text, &out);
  EXPECT_EQ(text[0], 0);
  EXPECT_EQ(out, 0);
  HostService166(2, nullptr, nullptr);
  EXPECT_EQ(hostsim::LastServiceCall().items, (std::vector<int32_t>{2, 0, 0}));
  std::strcpy(text, "old");
  EXPECT_EQ(HostService180(4, text), hostsim::kUnknownServiceError);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(LastCode(), 180);
  std::strcpy(text, "new");
  hostsim::FailServiceRequest(1, 0); // a success: the host's text stays
  EXPECT_EQ(HostService180(4, text), 0);
  EXPECT_STREQ(text, "new");
}

// Reads the floats while the request is in flight: the wrapper's copies live
// only that long.
double floatsSeen[2];
int32_t ReadFloats(const hostsim::ServiceCall &call) {
  for (size_t k = 1; k < call.items.size(); ++k)
    floatsSeen[k - 1] = *hostsim::ItemPointer<double>(call.items[k]);
  return 0;
}
HOSTSIM_SERVICE(188, ReadFloats);
int32_t ReadTwoFloats(const hostsim::ServiceCall &call) {
  return ReadFloats(call);
}
HOSTSIM_SERVICE(191, ReadTwoFloats);

TEST_F(WrappersTest, FloatsTravelAsAddressesOfCopies) {
  EXPECT_EQ(HostService188(3, 2.5), 0);
  EXPECT_EQ(LastItem(0), 3);
  EXPECT_EQ(floatsSeen[0], 2.5);
  EXPECT_EQ(HostService191(4, -1.25, 1e300), 0);
  EXPECT_EQ(hostsim::LastServiceCall().items.size(), 3u);
  EXPECT_EQ(floatsSeen[0], -1.25);
  EXPECT_EQ(floatsSeen[1], 1e300);
}

TEST_F(WrappersTest, VersionGatesRefuseWithoutARequest) {
  HostVersion = 199;
  EXPECT_TRUE(SendsNothing(
      [] { EXPECT_EQ(CreateNamedVariable("v", 0x4004), HostTooOldError); }));
  EXPECT_EQ(CreateNamedVariable("v", 4), 0);
  HostVersion = 200;
  EXPECT_EQ(CreateNamedVariable("w", 0x4004), 0);
  EXPECT_EQ(hostsim::VariableTypeCode("w"), 0x4004);

  HostVersion = 499;
  EXPECT_TRUE(SendsNothing([] {
    EXPECT_EQ(HostService196(1), 0);
    EXPECT_EQ(HostService197(1, 2), 0);
  }));
  HostVersion = 500;
  HostService196(1);
  EXPECT_EQ(LastCode(), 196);
  HostService197(1, 2);
  EXPECT_EQ(hostsim::LastServiceCall().items, (std::vector<int32_t>{1, 2}));
}

TEST_F(WrappersTest, VersionChoicesPickTheRequest) {
  HostVersion = 199;
  EXPECT_EQ(HostService71Or9(), hostsim::kUnknownServiceError);
  EXPECT_EQ(LastCode(), 9);
  EXPECT_STREQ(hostsim::ItemPointer<const char>(LastItem(0)), "");
  HostVersion = 200;
  EXPECT_EQ(HostService71Or9(), 0);
  EXPECT_EQ(LastCode(), 71);
  EXPECT_TRUE(hostsim::LastServiceCall().items.empty());

  Handle wave = hostsim::MakeWave(1, 4, {3}, "w");
  HostVersion = 299;
  EXPECT_EQ(HostService157Or7(0, "w"), hostsim::PointerItem(wave));
  EXPECT_EQ(LastCode(), 7);
  EXPECT_EQ(hostsim::LastServiceCall().items.size(), 1u);
  HostVersion = 300;
  EXPECT_EQ(HostService157Or7(hostsim::CurrentFolder(), "w"),
            hostsim::PointerItem(wave));
  EXPECT_EQ(LastCode(), 157);
  EXPECT_EQ(LastItem(0), hostsim::CurrentFolder());
}

TEST_F(WrappersTest, NameThenHandleSendsTheHandleWhateverItIs) {
  Handle wave = hostsim::MakeWave(0, 4, {3}, "w");
  EXPECT_EQ(HostService1ByName("w"), 0);
  EXPECT_EQ(LastCode(), 1);
  EXPECT_EQ(LastItem(0), hostsim::PointerItem(wave));
  EXPECT_EQ(hostsim::ModifiedNotices(wave), 1);
  EXPECT_EQ(HostService1ByName("none"), hostsim::kNotAWaveError);
  EXPECT_EQ(LastCode(), 1);
  EXPECT_EQ(LastItem(0), 0);
}

uint32_t fakeTicks = 0;
uint32_t FakeTicks() { return fakeTicks; }
// The tick the library throttles from at first, read before any test runs.
const uint32_t kThrottleStart = LastThrottleTick;

TEST_F(WrappersTest, SelectorsAndTheThrottledOne) {
  int32_t (*selectors[])() = {HostSelect1, HostSelect2, HostSelect3,
                              HostSelect4};
  for (int32_t k = 0; k < 4; ++k) {
    hostsim::FailServiceRequest(1, 40 + k); // the host's answer, passed on
    EXPECT_EQ(selectors[k](), 40 + k);
    EXPECT_EQ(LastCode(), 33);
    EXPECT_EQ(hostsim::LastServiceCall().items, (std::vector<int32_t>{k + 1}));
  }
  hostsim::SetTickSource(FakeTicks);
  LastThrottleTick = kThrottleStart;
  fakeTicks = 6;
  EXPECT_TRUE(SendsNothing(ThrottledSelect5));
  fakeTicks = 7; // the first request goes out after tick 6
  EXPECT_FALSE(SendsNothing(ThrottledSelect5));
  fakeTicks = 100;
  int32_t before = hostsim::ServiceCallCount();
  ThrottledSelect5();
  ThrottledSelect5();
  EXPECT_EQ(RequestsSince(before), 1);
  EXPECT_EQ(LastItem(0), 5);
  EXPECT_EQ(LastThrottleTick, 100u);
  fakeTicks = 106;
  EXPECT_TRUE(SendsNothing(ThrottledSelect5));
  fakeTicks = 107;
  EXPECT_FALSE(SendsNothing(ThrottledSelect5));
  hostsim::SetTickSource(nullptr);
}

// The beep is the system's (the terminal bell natively), not the host's.
TEST_F(WrappersTest, TheWarningBeepAsksNothingOfTheHost) {
  EXPECT_TRUE(SendsNothing([] { EXPECT_NE(WarningBeep(), 0); }));
#ifndef _WIN32
  testing::internal::CaptureStderr();
  EXPECT_EQ(WarningBeep(), 1); // the bell was written
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\a");
#endif
}

TEST_F(WrappersTest, StoreNumbersCreatingOnlyWhatIsMissing) {
  EXPECT_EQ(StoreIntegerVariable("n", -3, 0), 0);
  EXPECT_EQ(hostsim::VariableTypeCode("n"), 4);
  double re = 0, im = 1;
  ASSERT_TRUE(hostsim::NumericValue("n", &re, &im));
  EXPECT_EQ(re, -3.0);
  EXPECT_EQ(im, 0.0);
  double value = 2.5, imaginary = -4;
  EXPECT_EQ(StoreRealVariable("n", &value, 0), 0);
  EXPECT_EQ(LastCode(), 5); // stored, nothing created
  EXPECT_EQ(StoreComplexVariable("c", &value, &imaginary, 1), 0);
  EXPECT_EQ(hostsim::VariableTypeCode("c"), 0x4005);
  ASSERT_TRUE(hostsim::NumericValue("c", &re, &im));
  EXPECT_EQ(im, -4.0);
  // A failed creation, and any answer but "missing" to the first store, is
  // passed on: nothing was stored.
  EXPECT_EQ(StoreIntegerVariable("c2345678901234567890123456789012", 1, 0),
            hostsim::kBadNameError);
  hostsim::MakeWave(1, 4, {2}, "w");
  EXPECT_EQ(StoreIntegerVariable("w", 1, 0), hostsim::kWrongObjectTypeError);
  EXPECT_EQ(LastCode(), 5);
  hostsim::FailServiceRequest(3, 77); // missing, created, then refused
  EXPECT_EQ(StoreRealVariable("r", &value, 0), 77);
  hostsim::FailServiceRequest(0, 0);
  HostVersion = 199;
  EXPECT_TRUE(SendsNothing(
      [] { EXPECT_EQ(StoreIntegerVariable("m", 1, 1), HostTooOldError); }));
  EXPECT_EQ(StoreIntegerVariable("m", 1, 0), 0);
  HostVersion = 200; // the first host that takes the flag
  EXPECT_EQ(StoreIntegerVariable("m", 2, 1), 0);
}

TEST_F(WrappersTest, StoreTextsCreatingOnAnyFailure) {
  EXPECT_EQ(StoreTextVariable("s", "abc", 0), 0);
  EXPECT_EQ(hostsim::VariableTypeCode("s"), 0);
  std::string text;
  ASSERT_TRUE(hostsim::TextValue("s", &text));
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(StoreTextVariable("s", "de", 0), 0);
  EXPECT_EQ(LastCode(), 6);
  hostsim::MakeWave(1, 4, {2}, "w"); // the name is taken: creating fails
  EXPECT_EQ(StoreTextVariable("w", "x", 0), hostsim::kNameTakenError);
  HostVersion = 150;
  EXPECT_TRUE(SendsNothing(
      [] { EXPECT_EQ(StoreTextVariable("t", "x", 1), HostTooOldError); }));
}

TEST_F(WrappersTest, TextGoesWhereItsKindSays) {
  const char *text = "abc";
  hostsim::FailServiceRequest(1, 31); // the host's answers, passed on
  EXPECT_EQ(SendTextByKind(text, TextKindMode3), 31);
  EXPECT_EQ(hostsim::LastServiceCall().items,
            (std::vector<int32_t>{hostsim::PointerItem(text), 3}));
  hostsim::FailServiceRequest(1, 32);
  EXPECT_EQ(SendTextByKind(text, TextKindMode1), 32);
  EXPECT_EQ(LastItem(1), 1);
  EXPECT_EQ(SendTextByKind(text, TextKindClipboard), 0);
  EXPECT_EQ(hostsim::ScrapText(), "abc");
  EXPECT_TRUE(SendsNothing([&] { EXPECT_EQ(SendTextByKind(text, 4), 0); }));
}

// Leaves text where the next call's locals will lie, so that a buffer
// reported without being filled shows.
__attribute__((noinline)) void FillTheStack() {
  volatile char junk[1024];
  for (volatile char &c : junk)
    c = 'j';
}

TEST_F(WrappersTest, MissingResourceStringsAreReportedEmpty) {
  char buffer[256] = "stale";
  LoadModuleString(buffer, 1100, 99);
  EXPECT_STREQ(buffer, "");
  FillTheStack();
  EXPECT_EQ(ReportResourceString(1100, 99), 0);
  EXPECT_EQ(hostsim::Reports().back(), "");
}

TEST_F(WrappersTest, RectanglesSwapFieldOrderAndWidth) {
  tagRECT win = {10, 20, 30, 40};
  ShortRect rect;
  EXPECT_EQ(WinRectToShortRect(&win, &rect), &rect);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.bottom, 40);
  EXPECT_EQ(rect.right, 30);
  win = {70000, -1, 0x18000, 5};
  WinRectToShortRect(&win, &rect);
  EXPECT_EQ(rect.left, 70000 - 65536);
  EXPECT_EQ(rect.right, -32768);
  ShortRectToWinRect(&rect, &win);
  EXPECT_EQ(win.left, 4464);
  EXPECT_EQ(win.top, -1);
  EXPECT_EQ(win.right, -32768);
  EXPECT_EQ(win.bottom, 5);
}

} // namespace
