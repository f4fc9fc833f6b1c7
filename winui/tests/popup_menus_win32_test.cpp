// Popup menus on a real combo box: filling from list texts and host lists,
// selecting by number and text, reading the selection, trimming.
#include <cstring>

#include "test_dialog_win32.h"

namespace {

class PopupMenuTest : public TestDialog {
protected:
  std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    LRESULT count = Send(kCombo, CB_GETCOUNT);
    for (LRESULT k = 0; k < count; ++k) {
      std::vector<char> text(Send(kCombo, CB_GETLBTEXTLEN, k) + 1);
      Send(kCombo, CB_GETLBTEXT, k, reinterpret_cast<LPARAM>(text.data()));
      entries.emplace_back(text.data());
    }
    return entries;
  }
  using Strings = std::vector<std::string>;
};

TEST_F(PopupMenuTest, SetUpAppendsAndSelectsByNumber) {
  EXPECT_EQ(SetUpPopupMenu(dialog_, kCombo, 0, "Red;Green;Blue", 2), 0);
  EXPECT_EQ(Entries(), (Strings{"Red", "Green", "Blue"}));
  int32_t number = 0;
  char text[ItemTextBytes] = "stale";
  GetPopupSelection(dialog_, kCombo, &number, text);
  EXPECT_EQ(number, 2);
  EXPECT_STREQ(text, "Green");
  GetPopupSelection(dialog_, kCombo, &number, nullptr); // text is optional
  EXPECT_EQ(number, 2);
  GetPopupSelection(dialog_, kCombo, nullptr, text); // and so is the number
  EXPECT_STREQ(text, "Green");
}

TEST_F(PopupMenuTest, EntryNumberZeroLeavesNothingSelected) {
  SetUpPopupMenu(dialog_, kCombo, 0, "Red;Green;Blue", 0);
  EXPECT_EQ(Send(kCombo, CB_GETCURSEL), CB_ERR);
  int32_t number = 0;
  char text[ItemTextBytes] = "stale";
  GetPopupSelection(dialog_, kCombo, &number, text);
  EXPECT_EQ(number, 1);
  EXPECT_STREQ(text, "");
  SelectPopupItem(dialog_, kCombo, 3);
  SelectPopupItem(dialog_, kCombo, INT32_MIN);
  EXPECT_EQ(Send(kCombo, CB_GETCURSEL), CB_ERR);
}

TEST_F(PopupMenuTest, SelectByTextIgnoresCaseAndKeepsSelectionOnAMiss) {
  SetUpPopupMenu(dialog_, kCombo, 0, "Red;Green;Blue", 1);
  EXPECT_EQ(SelectPopupItemByText(dialog_, kCombo, "Purple"), 0);
  EXPECT_EQ(Send(kCombo, CB_GETCURSEL), 0);
  EXPECT_EQ(SelectPopupItemByText(dialog_, kCombo, "Gre"), 0); // whole text
  EXPECT_EQ(SelectPopupItemByText(dialog_, kCombo, "bLUE"), 3);
  EXPECT_EQ(Send(kCombo, CB_GETCURSEL), 2);
  EXPECT_EQ(SelectPopupItemByText(dialog_, kMissing, "Blue"), 0);
  EXPECT_EQ(SelectPopupItemByText(dialog_, kCombo, nullptr), 0);
  EXPECT_EQ(Send(kCombo, CB_GETCURSEL), 2);
}

TEST_F(PopupMenuTest, InsertsAtAPositionOrAppendsFromTenThousand) {
  AppendPopupItems(dialog_, kCombo, "a;b;c");
  InsertPopupItems(dialog_, kCombo, "x;y", 3, 10000);
  EXPECT_EQ(Entries(), (Strings{"a", "b", "c", "x", "y"}));
  InsertPopupItems(dialog_, kCombo, "p;q", 3, 0);
  EXPECT_EQ(Entries(), (Strings{"p", "q", "a", "b", "c", "x", "y"}));
  InsertPopupItems(dialog_, kCombo, "m;;n;", 5, 2);
  EXPECT_EQ(Entries(),
            (Strings{"p", "q", "m", "", "n", "a", "b", "c", "x", "y"}));
}

TEST_F(PopupMenuTest, ReadsOnlyTheGivenLengthAndCutsLongEntries) {
  const char bytes[] = {'a', ';', 'b', 'X', 'Y'}; // no terminator
  InsertPopupItems(dialog_, kCombo, bytes, 3, 10000);
  EXPECT_EQ(Entries(), (Strings{"a", "b"}));
  Send(kCombo, CB_RESETCONTENT);
  AppendPopupItems(dialog_, kCombo, (std::string(300, 'L') + ";next").c_str());
  EXPECT_EQ(Entries(), (Strings{std::string(255, 'L'), "next"}));
  InsertPopupItems(dialog_, kMissing, "a", 1, 0); // no item: nothing happens
  AppendPopupItems(dialog_, kCombo, nullptr);
  EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(PopupMenuTest, SelectionTextStaysWithinTwoHundredFiftySixBytes) {
  std::string longEntry(400, 'E'); // put in by other means than a list text
  Send(kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longEntry.c_str()));
  SelectPopupItem(dialog_, kCombo, 1);
  char text[ItemTextBytes + 64];
  std::memset(text, 'Z', sizeof text);
  int32_t number = 0;
  GetPopupSelection(dialog_, kCombo, &number, text);
  EXPECT_EQ(number, 1);
  EXPECT_EQ(std::string(text), std::string(255, 'E'));
  for (size_t k = ItemTextBytes; k < sizeof text; ++k) {
    ASSERT_EQ(text[k], 'Z') << "written past 256 bytes at " << k;
  }
}

TEST_F(PopupMenuTest, MissingItemWritesNoOutputs) {
  int32_t number = 42;
  char text[ItemTextBytes] = "kept";
  GetPopupSelection(dialog_, kMissing, &number, text);
  EXPECT_EQ(number, 42);
  EXPECT_STREQ(text, "kept");
}

TEST_F(PopupMenuTest, TrimKeepsTheFirstEntries) {
  AppendPopupItems(dialog_, kCombo, "1;2;3;4;5");
  TrimPopupMenu(dialog_, kCombo, 7);
  EXPECT_EQ(Entries().size(), 5u);
  TrimPopupMenu(dialog_, kCombo, 2);
  EXPECT_EQ(Entries(), (Strings{"1", "2"}));
  TrimPopupMenu(dialog_, kCombo, INT32_MIN);
  EXPECT_TRUE(Entries().empty());
  TrimPopupMenu(dialog_, kMissing, 0);
}

TEST_F(PopupMenuTest, OnlyComboBoxesArePopupMenus) {
  EXPECT_EQ(IsPopupMenu(dialog_, kCombo), 1);
  EXPECT_EQ(IsPopupMenu(dialog_, kCentredEdit), 0); // low style bit, Edit
  EXPECT_EQ(IsPopupMenu(dialog_, kPushButton), 0);
  EXPECT_EQ(IsPopupMenu(dialog_, kMissing), 0);
}

TEST_F(PopupMenuTest, HostListsFillTheMenuAndFreeTheirHandle) {
  AppendPopupItems(dialog_, kCombo, "first;last");
  hostsim::SetHostList(56, {"a", "b"});
  int32_t handles = hostsim::LiveHandleCount();
  EXPECT_EQ(InsertHostList38(dialog_, kCombo, 5, 6, 1), 0);
  EXPECT_EQ(Entries(), (Strings{"first", "a", "b", "last"}));
  EXPECT_EQ(hostsim::LiveHandleCount(), handles);
  const hostsim::ServiceCall &call = hostsim::LastServiceCall();
  EXPECT_EQ(call.code, 56);
  EXPECT_EQ(hostsim::ItemOr0(call, 1), 5);
  EXPECT_EQ(hostsim::ItemOr0(call, 3), 6);
}

TEST_F(PopupMenuTest, HostListErrorsStillFillTheMenu) {
  hostsim::SetHostList(57, {"a", "b"}, 1234);
  EXPECT_EQ(InsertHostList39(dialog_, kCombo, 0, 0, 10000), 1234);
  EXPECT_EQ(hostsim::LastServiceCall().code, 57);
  hostsim::SetHostList(58, {"c"}, 0);
  EXPECT_EQ(InsertHostList3A(dialog_, kCombo, 0, 0, 10000), 0);
  EXPECT_EQ(hostsim::LastServiceCall().code, 58);
  EXPECT_EQ(Entries(), (Strings{"a", "b", "c"}));
  hostsim::FailMemoryRequests(1);
  EXPECT_EQ(InsertHostList38(dialog_, kCombo, 0, 0, 10000), NullHandleError);
  EXPECT_EQ(Entries().size(), 3u);
}

} // namespace
