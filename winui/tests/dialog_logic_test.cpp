// The portable work behind alerts, dialog items and popup menus: placement
// arithmetic, item numbers, class names, list texts and host lists.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "detail/dialog_logic.h"
#include "hostsim.h"
#include "lists.h"
#include "wrappers.h"

namespace {

void ExpectRect(EdgeRect r, int32_t left, int32_t top, int32_t right,
                int32_t bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

TEST(PlacementTest, CentresBelowTheReferenceTopOnAFullScreenOf1024By738) {
  ExpectRect(PlaceOverReference({100, 50, 500, 450}, 200, 150, 1024, 738), 200,
             70, 400, 220);
  // Odd widths: both halves truncate.
  ExpectRect(PlaceOverReference({0, 0, 101, 10}, 51, 10, 1024, 738), 25, 20, 76,
             30);
}

TEST(PlacementTest, ClampsLeftThenRightThenOnlyTheBottom) {
  ExpectRect(PlaceOverReference({-300, 10, 100, 60}, 400, 50, 1024, 738), 0, 30,
             400, 80);
  ExpectRect(PlaceOverReference({900, 600, 1000, 700}, 200, 300, 1024, 738),
             824, 438, 1024, 738);
  // Wider than the screen: the right edge wins, the left goes negative.
  ExpectRect(PlaceOverReference({0, 0, 100, 100}, 1124, 10, 1024, 738), -100,
             20, 1024, 30);
  // A reference above the screen keeps the window above it too.
  ExpectRect(PlaceOverReference({100, -500, 300, -400}, 100, 50, 1024, 738),
             150, -480, 250, -430);
}

TEST(PlacementTest, FarReferenceEdgesDoNotOverflow) {
  EdgeRect r =
      PlaceOverReference({INT32_MAX - 10, 0, INT32_MAX, 0}, 10, 10, 1024, 738);
  ExpectRect(r, 1014, 20, 1024, 30);
}

TEST(ItemNumberTest, ParsesAsScanfDoesAndZeroesWhatItCannotRead) {
  int32_t value = 7;
  EXPECT_EQ(ParseItemInt(" 42abc", &value), 0);
  EXPECT_EQ(value, 42);
  for (const char *text : {"abc", "", "  ", "-"}) {
    value = 7;
    EXPECT_EQ(ParseItemInt(text, &value), 1) << text;
    EXPECT_EQ(value, 0) << text;
  }
  EXPECT_EQ(ParseItemLong("-2147483648", &value), 0);
  EXPECT_EQ(value, INT32_MIN);
  double real = 5;
  EXPECT_EQ(ParseItemDouble("1e3", &real), 0);
  EXPECT_EQ(real, 1000.0);
  real = 5;
  EXPECT_EQ(ParseItemDouble("x", &real), 1);
  EXPECT_EQ(real, 0.0);
}

TEST(ItemNumberTest, NullArgumentsReadNothing) {
  EXPECT_EQ(ParseItemInt("1", nullptr), 1);
  double real = 5;
  EXPECT_EQ(ParseItemDouble(nullptr, &real), 1);
  EXPECT_EQ(real, 0.0);
}

TEST(ItemNumberTest, FormatsWithIntAndSixDigitFormats) {
  char text[NumberTextBytes];
  FormatItemInt(INT32_MIN, text);
  EXPECT_STREQ(text, "-2147483648");
  FormatItemLong(INT32_MAX, text);
  EXPECT_STREQ(text, "2147483647");
  FormatItemDouble(0.1, text);
  EXPECT_STREQ(text, "0.1");
  FormatItemDouble(3.14159265, text);
  EXPECT_STREQ(text, "3.14159");
  FormatItemDouble(-1.7976931348623157e308, text);
  EXPECT_STREQ(text, "-1.79769e+308");
}

TEST(ItemClassTest, MatchesClassNamesWhateverTheirCase) {
  EXPECT_EQ(ItemClassKindOf("Button"), ButtonItemClass);
  EXPECT_EQ(ItemClassKindOf("radiobutton"), ButtonItemClass);
  EXPECT_EQ(ItemClassKindOf("CheckBox"), ButtonItemClass);
  EXPECT_EQ(ItemClassKindOf("ComboBox"), ComboItemClass);
  EXPECT_EQ(ItemClassKindOf("edit"), EditItemClass);
  EXPECT_EQ(ItemClassKindOf("Static"), OtherItemClass);
  EXPECT_EQ(ItemClassKindOf("ComboBoxEx32"), OtherItemClass);
  EXPECT_EQ(ItemClassKindOf(""), OtherItemClass);
}

TEST(EntryNumberTest, ConvertsBetweenNumbersAndIndices) {
  EXPECT_EQ(IndexOfEntryNumber(1), 0);
  EXPECT_EQ(IndexOfEntryNumber(0), -1);
  EXPECT_EQ(IndexOfEntryNumber(INT32_MIN), -1);
  EXPECT_EQ(EntryNumberOfIndex(0), 1);
  EXPECT_EQ(EntryNumberOfIndex(4), 5);
  EXPECT_EQ(EntryNumberOfIndex(-1), 1); // no selection reads as entry 1
}

using Entries = std::vector<std::pair<std::string, int32_t>>;

void Collect(const char *entry, int32_t position, void *context) {
  static_cast<Entries *>(context)->emplace_back(entry, position);
}

Entries Split(const char *text, int32_t length, int32_t position) {
  Entries entries;
  ForEachListEntry(text, length, position, Collect, &entries);
  return entries;
}

Entries Split(const std::string &text, int32_t position = AppendPosition) {
  return Split(text.data(), static_cast<int32_t>(text.size()), position);
}

TEST(ListEntryTest, SplitsAtSeparatorsWithEmptyEntriesKept) {
  const int32_t end = AppendPosition;
  EXPECT_EQ(Split("a;b;"), (Entries{{"a", end}, {"b", end}}));
  EXPECT_EQ(Split("a;b"), (Entries{{"a", end}, {"b", end}}));
  EXPECT_EQ(Split("a;;b"), (Entries{{"a", end}, {"", end}, {"b", end}}));
  EXPECT_EQ(Split(";"), (Entries{{"", end}}));
  EXPECT_TRUE(Split("").empty());
  EXPECT_TRUE(Split("a;b", -1, 0).empty());
}

TEST(ListEntryTest, PositionsCountUpUntilTheyAppend) {
  EXPECT_EQ(Split("x;y", 0), (Entries{{"x", 0}, {"y", 1}}));
  EXPECT_EQ(Split("x;y;z", 9999),
            (Entries{{"x", 9999}, {"y", 10000}, {"z", 10000}}));
  EXPECT_EQ(Split("x;y", INT32_MAX),
            (Entries{{"x", INT32_MAX}, {"y", INT32_MAX}}));
}

TEST(ListEntryTest, ReadsExactlyTheGivenLength) {
  // No terminator, and bytes after the length that must not be read.
  const char bytes[] = {'a', ';', 'b', 'c', ';', 'd'};
  EXPECT_EQ(Split(bytes, 4, 0), (Entries{{"a", 0}, {"bc", 1}}));
  EXPECT_EQ(Split(bytes, 1, 0), (Entries{{"a", 0}}));
  std::vector<char> unterminated(bytes, bytes + 3);
  EXPECT_EQ(Split(unterminated.data(), 3, 0), (Entries{{"a", 0}, {"b", 1}}));
}

TEST(ListEntryTest, CutsLongEntriesAndStillFindsTheNext) {
  std::string longEntry(300, 'q');
  Entries entries = Split(longEntry + ";next");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].first, std::string(255, 'q'));
  EXPECT_EQ(entries[1].first, "next");
  // One character more than an item text holds.
  EXPECT_EQ(Split(std::string(256, 'r')),
            (Entries{{std::string(255, 'r'), AppendPosition}}));
}

class HostListTest : public ::testing::Test {
protected:
  void SetUp() override {
    handlesBefore_ = hostsim::LiveHandleCount();
    HostRecordHandle = hostsim::NewHostRecord();
    hostsim::ClearHostLists();
  }
  void TearDown() override {
    hostsim::ClearHostLists();
    hostsim::FailMemoryRequests(0);
    DisposeHandle(HostRecordHandle);
    HostRecordHandle = nullptr;
    EXPECT_EQ(hostsim::LiveHandleCount(), handlesBefore_);
  }

  static void Keep(const char *text, int32_t length, void *context) {
    static_cast<std::string *>(context)->assign(text, length);
  }
  // The host may move any block it can while the list is used: the list's
  // must stay put.
  static void KeepWhileTheHostMovesBlocks(const char *text, int32_t length,
                                          void *context) {
    auto list = reinterpret_cast<Handle>(static_cast<uintptr_t>(
        static_cast<uint32_t>(hostsim::LastServiceCall().items[0])));
    hostsim::MoveBlock(list);
    EXPECT_EQ(*list, text);
    Keep(text, length, context);
  }

  int32_t handlesBefore_ = 0;
  std::string received_ = "untouched";
};

TEST_F(HostListTest, PassesItemsAndHandsOverTheListText) {
  hostsim::SetHostList(57, {"wave0", "wave1"});
  int32_t handlesDuring = hostsim::LiveHandleCount();
  EXPECT_EQ(WithHostList(HostService57, 11, -22, KeepWhileTheHostMovesBlocks,
                         &received_),
            0);
  EXPECT_EQ(received_, "wave0;wave1;");
  const hostsim::ServiceCall &call = hostsim::LastServiceCall();
  EXPECT_EQ(call.code, 57);
  ASSERT_EQ(call.items.size(), 4u);
  EXPECT_EQ(call.items[1], 11);
  EXPECT_EQ(call.items[3], -22);
  const char *separator = reinterpret_cast<const char *>(
      static_cast<uintptr_t>(static_cast<uint32_t>(call.items[2])));
  EXPECT_STREQ(separator, ";");
  EXPECT_EQ(hostsim::LiveHandleCount(), handlesDuring); // handle disposed
}

TEST_F(HostListTest, AnErrorStillHandsOverWhatTheHandleHolds) {
  hostsim::SetHostList(56, {"a", "b"}, 1234);
  EXPECT_EQ(WithHostList(HostService56, 0, 0, Keep, &received_), 1234);
  EXPECT_EQ(received_, "a;b;");
  hostsim::SetHostList(58, {}, 99);
  EXPECT_EQ(WithHostList(HostService58, 0, 0, Keep, &received_), 99);
  EXPECT_EQ(received_, "");
}

TEST_F(HostListTest, NoHandleMeansNoRequest) {
  int32_t callsBefore = hostsim::ServiceCallCount();
  hostsim::FailMemoryRequests(1);
  EXPECT_EQ(WithHostList(HostService56, 0, 0, Keep, &received_),
            NullHandleError);
  EXPECT_EQ(hostsim::ServiceCallCount(), callsBefore);
  EXPECT_EQ(received_, "untouched");
}

} // namespace
