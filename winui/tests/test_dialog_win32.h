// A real dialog, built from a template in memory, holding one item of each
// kind the helpers work on. It records every WM_COMMAND notification with
// IsUserItemChange's verdict, judged while the notification is delivered.
#ifndef TAVREL_WINUI_TESTS_TEST_DIALOG_WIN32_H
#define TAVREL_WINUI_TESTS_TEST_DIALOG_WIN32_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "detail/dialog_logic.h"
#include "dialog_template_win32.h"
#include "hostsim.h"
#include "lists.h"
#include "winui.h"

enum TestItem : int32_t {
  kEdit = 100,
  kCentredEdit = 101, // ES_CENTER: a low style bit on a non-combo
  kPushButton = 110,
  kCheckBox = 120,
  kThreeStateBox = 121,
  kFirstRadio = 130, // 130 to 134, plain radio buttons
  kLastRadio = 134,
  kCombo = 140, // drop-down list
  kLabel = 150,
  kMissing = 999
};

struct Notification {
  int32_t item;
  int32_t code;
  int32_t userChange;
};

using hostsim::DialogTemplate;
using hostsim::kButtonAtom;
using hostsim::kComboAtom;
using hostsim::kEditAtom;
using hostsim::kStaticAtom;

inline std::vector<Notification> &NotificationLog() {
  static std::vector<Notification> log;
  return log;
}

inline INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message,
                                            WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND) return FALSE;
  int32_t item = LOWORD(wParam), code = HIWORD(wParam);
  NotificationLog().push_back(
      {item, code, IsUserItemChange(dialog, item, code)});
  return TRUE;
}

class TestDialog : public ::testing::Test {
protected:
  void SetUp() override {
    handlesBefore_ = hostsim::LiveHandleCount();
    HostRecordHandle = hostsim::NewHostRecord();
    DialogTemplate t("winui test dialog");
    t.Item(kEdit, kEditAtom, WS_BORDER | ES_AUTOHSCROLL, 10);
    t.Item(kCentredEdit, kEditAtom, WS_BORDER | ES_CENTER, 25);
    t.Item(kPushButton, kButtonAtom, BS_PUSHBUTTON, 40);
    t.Item(kCheckBox, kButtonAtom, BS_AUTOCHECKBOX, 55);
    t.Item(kThreeStateBox, kButtonAtom, BS_AUTO3STATE, 70);
    for (int32_t id = kFirstRadio; id <= kLastRadio; ++id) {
      DWORD group = id == kFirstRadio ? WS_GROUP : 0;
      t.Item(id, kButtonAtom, BS_RADIOBUTTON | group,
             static_cast<short>(85 + 10 * (id - kFirstRadio)));
    }
    t.Item(kCombo, kComboAtom, CBS_DROPDOWNLIST | WS_VSCROLL, 140, 80);
    t.Item(kLabel, kStaticAtom, SS_LEFT, 160);
    dialog_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t.Get(),
                                         nullptr, RecordingDialogProc, 0);
    ASSERT_NE(dialog_, nullptr) << "no dialog (is an X display running?)";
    NotificationLog().clear();
  }

  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
    hostsim::ClearHostLists();
    hostsim::FailMemoryRequests(0);
    DisposeHandle(HostRecordHandle);
    HostRecordHandle = nullptr;
    EXPECT_EQ(hostsim::LiveHandleCount(), handlesBefore_);
  }

  HWND Item(int32_t id) { return GetDlgItem(dialog_, id); }
  LRESULT Send(int32_t id, UINT message, WPARAM w = 0, LPARAM l = 0) {
    return SendDlgItemMessageA(dialog_, id, message, w, l);
  }
  std::string Text(int32_t id) {
    char text[ItemTextBytes];
    GetItemText(dialog_, id, text);
    return text;
  }

  HWND dialog_ = nullptr;
  int32_t handlesBefore_ = 0;
};

#endif
