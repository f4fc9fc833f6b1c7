// Dialog item helpers on a real dialog with edit boxes, buttons, check
// boxes, a radio group and a combo box.
#include <climits>
#include <cstring>

#include "test_dialog_win32.h"

namespace {

using DialogItemTest = TestDialog;

TEST_F(DialogItemTest, ShowsHidesAndEnablesItems) {
  EXPECT_NE(HideItem(dialog_, kEdit), 0); // it was visible
  EXPECT_FALSE(IsWindowVisible(Item(kEdit)));
  EXPECT_EQ(ShowItem(dialog_, kEdit), 0); // it was hidden
  EXPECT_TRUE(IsWindowVisible(Item(kEdit)));
  EXPECT_EQ(SetItemEnabled(dialog_, kEdit, 0), 0); // it was enabled
  EXPECT_FALSE(IsWindowEnabled(Item(kEdit)));
  EXPECT_NE(SetItemEnabled(dialog_, kEdit, 7), 0); // it was disabled
  EXPECT_TRUE(IsWindowEnabled(Item(kEdit)));
  EXPECT_EQ(ShowItem(dialog_, kMissing), 0);
  EXPECT_EQ(DisableItem(dialog_, kMissing), 0);
  ShowWindow(dialog_, SW_HIDE);
  MakeDialogVisible(WindowOfDialog(dialog_));
  EXPECT_TRUE(IsWindowVisible(dialog_));
  EXPECT_EQ(WindowOfDialog(dialog_), dialog_);
}

TEST_F(DialogItemTest, ItemClientRectIsInClientCoordinates) {
  MoveWindow(Item(kLabel), 10, 20, 30, 40, FALSE);
  ShortRect rect = {1, 1, 1, 1};
  EXPECT_EQ(ItemClientRect(dialog_, kLabel, &rect), &rect);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.bottom, 60);
  EXPECT_EQ(rect.right, 40);
  ItemClientRect(dialog_, kMissing, &rect);
  EXPECT_EQ(rect.top | rect.left | rect.bottom | rect.right, 0);
  EXPECT_EQ(ItemClientRect(dialog_, kLabel, nullptr), nullptr);
}

TEST_F(DialogItemTest, CheckBoxesReadWriteAndFlip) {
  EXPECT_EQ(WriteCheckState(dialog_, kCheckBox, 1), 1);
  EXPECT_EQ(IsItemChecked(dialog_, kCheckBox), 1);
  EXPECT_EQ(ReadCheckState(dialog_, kCheckBox), 1);
  EXPECT_EQ(FlipCheckState(dialog_, kCheckBox), 0);
  EXPECT_EQ(Send(kCheckBox, BM_GETCHECK), BST_UNCHECKED);
  // Indeterminate reads as unchecked, so a flip checks it.
  WriteCheckState(dialog_, kThreeStateBox, BST_INDETERMINATE);
  EXPECT_EQ(IsItemChecked(dialog_, kThreeStateBox), 0);
  EXPECT_EQ(FlipCheckState(dialog_, kThreeStateBox), 1);
  EXPECT_EQ(Send(kThreeStateBox, BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(IsItemChecked(dialog_, kMissing), 0);
}

TEST_F(DialogItemTest, RadioGroupChecksOnlyTheSelected) {
  auto checked = [this] {
    std::vector<int32_t> ids;
    for (int32_t id = kFirstRadio; id <= kLastRadio; ++id) {
      if (IsItemChecked(dialog_, id)) ids.push_back(id);
    }
    return ids;
  };
  SetRadioGroup(dialog_, kFirstRadio, kLastRadio, 132);
  EXPECT_EQ(checked(), std::vector<int32_t>{132});
  SetRadioGroup(dialog_, kLastRadio, kFirstRadio, kFirstRadio); // reversed
  EXPECT_EQ(checked(), std::vector<int32_t>{132});
  SetRadioGroup(dialog_, kFirstRadio, kLastRadio, 99);
  EXPECT_TRUE(checked().empty());
  SetRadioGroup(dialog_, INT32_MAX - 1, INT32_MAX, 0); // ends at the top
}

TEST_F(DialogItemTest, TextsAreReadThroughTwoHundredFiftySixBytes) {
  EXPECT_NE(SetItemText(dialog_, kEdit, "hello"), 0);
  EXPECT_EQ(Text(kEdit), "hello");
  EXPECT_NE(PutItemText(dialog_, kEdit, ""), 0);
  EXPECT_EQ(Text(kEdit), "");
  std::string longText(300, 'w');
  SetItemText(dialog_, kEdit, longText.c_str());
  char buffer[300];
  std::memset(buffer, 'Z', sizeof buffer);
  EXPECT_EQ(GetItemText(dialog_, kEdit, buffer), 255);
  EXPECT_EQ(std::string(buffer), std::string(255, 'w'));
  for (size_t k = ItemTextBytes; k < sizeof buffer; ++k) {
    ASSERT_EQ(buffer[k], 'Z') << "written past 256 bytes at " << k;
  }
  std::memset(buffer, 'Z', sizeof buffer);
  EXPECT_EQ(GetItemText(dialog_, kMissing, buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(GetItemText(dialog_, kEdit, nullptr), 0);
  EXPECT_EQ(ItemTextBeingSet, 0);
}

TEST_F(DialogItemTest, NumbersReadAsScanfAndShowInTheirFormats) {
  int32_t value = 5;
  SetItemText(dialog_, kEdit, " 42abc");
  EXPECT_EQ(GetItemInt(dialog_, kEdit, &value), 0);
  EXPECT_EQ(value, 42);
  SetItemText(dialog_, kEdit, "abc");
  EXPECT_EQ(GetItemLong(dialog_, kEdit, &value), 1);
  EXPECT_EQ(value, 0);
  SetItemText(dialog_, kEdit, "");
  EXPECT_EQ(GetItemInt(dialog_, kEdit, &value), 1);
  double real = 5;
  SetItemText(dialog_, kEdit, "1e3");
  EXPECT_EQ(GetItemDouble(dialog_, kEdit, &real), 0);
  EXPECT_EQ(real, 1000.0);
  SetItemInt(dialog_, kEdit, INT32_MIN);
  EXPECT_EQ(Text(kEdit), "-2147483648");
  SetItemLong(dialog_, kEdit, 77);
  EXPECT_EQ(Text(kEdit), "77");
  const double tenth = 0.1, pi = 3.14159265;
  SetItemDouble(dialog_, kEdit, &tenth);
  EXPECT_EQ(Text(kEdit), "0.1");
  SetItemDouble(dialog_, kEdit, &pi);
  EXPECT_EQ(Text(kEdit), "3.14159");
  EXPECT_EQ(SetItemDouble(dialog_, kEdit, nullptr), 0);
  EXPECT_EQ(Text(kEdit), "3.14159");
  EXPECT_EQ(GetItemInt(dialog_, kMissing, &value), 1);
}

TEST_F(DialogItemTest, SelectItemTextSelectsAllAndFocuses) {
  SetItemText(dialog_, kEdit, "hello");
  SelectItemText(dialog_, kEdit);
  DWORD start = 1, end = 0;
  Send(kEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
       reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 5u);
  EXPECT_EQ(GetFocus(), Item(kEdit));
  SetFocus(Item(kPushButton));
  SelectItemText(dialog_, 0);
  EXPECT_EQ(GetFocus(), Item(kPushButton));
  // Only what a 256-byte read sees is selected.
  SetItemText(dialog_, kEdit, std::string(300, 's').c_str());
  SelectItemText(dialog_, kEdit);
  Send(kEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
       reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end, 255u);
}

// EN_CHANGE verdicts logged while the notifications were delivered.
std::vector<int32_t> EditChangeVerdicts() {
  std::vector<int32_t> verdicts;
  for (const Notification &n : NotificationLog()) {
    if (n.item == kEdit && n.code == EN_CHANGE)
      verdicts.push_back(n.userChange);
  }
  NotificationLog().clear();
  return verdicts;
}

TEST_F(DialogItemTest, EditChangesCountUnlessTheModuleSetTheText) {
  SetItemText(dialog_, kEdit, "set by the module");
  EXPECT_EQ(EditChangeVerdicts(), std::vector<int32_t>{0});
  SendMessageA(Item(kEdit), WM_CHAR, 'x', 1); // as if typed
  EXPECT_EQ(EditChangeVerdicts(), std::vector<int32_t>{1});
  // A nested set leaves an outer flag raised.
  ItemTextBeingSet = 1;
  SetItemText(dialog_, kEdit, "nested");
  EXPECT_EQ(ItemTextBeingSet, 1);
  ItemTextBeingSet = 0;
  EXPECT_EQ(EditChangeVerdicts(), std::vector<int32_t>{0});
  EXPECT_EQ(IsUserItemChange(dialog_, kEdit, EN_CHANGE), 1);
  EXPECT_EQ(IsUserItemChange(dialog_, kEdit, EN_UPDATE), 0);
}

TEST_F(DialogItemTest, ButtonAndComboChangesByClassWhateverItsCase) {
  EXPECT_EQ(IsUserItemChange(dialog_, kPushButton, BN_CLICKED), 1);
  EXPECT_EQ(IsUserItemChange(dialog_, kCheckBox, BN_CLICKED), 1);
  EXPECT_EQ(IsUserItemChange(dialog_, kPushButton, BN_DOUBLECLICKED), 0);
  EXPECT_EQ(IsUserItemChange(dialog_, kCombo, CBN_CLOSEUP), 1);
  EXPECT_EQ(IsUserItemChange(dialog_, kCombo, CBN_SELENDOK), 0);
  AppendPopupItems(dialog_, kCombo, "a;b");
  EXPECT_EQ(IsUserItemChange(dialog_, kCombo, CBN_SELCHANGE), 1);
  Send(kCombo, CB_SHOWDROPDOWN, TRUE);
  ASSERT_NE(Send(kCombo, CB_GETDROPPEDSTATE), 0);
  EXPECT_EQ(IsUserItemChange(dialog_, kCombo, CBN_SELCHANGE), 0);
  Send(kCombo, CB_SHOWDROPDOWN, FALSE);
  EXPECT_EQ(IsUserItemChange(dialog_, kLabel, 0), 0);
  EXPECT_EQ(IsUserItemChange(dialog_, kMissing, 0), 0);
}

} // namespace
