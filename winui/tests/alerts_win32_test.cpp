// Alerts answered by a second thread pressing the box's buttons, and window
// placement checked against the real screen metrics.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "hostsim.h"
#include "winui.h"

namespace {

constexpr int kCloseBox = 0; // answer by the close box instead of a button
constexpr DWORD kPatienceMs = 10000;

// Waits on its own thread for the visible box with `caption`, notes its
// owner and buttons, then answers it. Should the box outlive the answer,
// it is ended anyway so that no test can hang.
class BoxAnswerer {
public:
  BoxAnswerer(const char *caption, int answer)
      : caption_(caption), answer_(answer), thread_([this] { Run(); }) {}
  ~BoxAnswerer() { Join(); }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

  HWND owner() const { return owner_; }
  const std::set<int> &buttons() const { return buttons_; }
  bool forced() const { return forced_; }

private:
  HWND FindBox() {
    for (DWORD waited = 0; waited < kPatienceMs; waited += 20) {
      HWND box = FindWindowA("#32770", caption_);
      if (box && IsWindowVisible(box)) return box;
      Sleep(20);
    }
    return nullptr;
  }

  bool WaitUntilGone(HWND box) {
    for (DWORD waited = 0; waited < kPatienceMs; waited += 20) {
      if (!IsWindow(box)) return true;
      Sleep(20);
    }
    return false;
  }

  void NoteBox(HWND box) {
    owner_ = GetWindow(box, GW_OWNER);
    for (int id = IDOK; id <= IDNO; ++id) {
      if (IsWindowVisible(GetDlgItem(box, id))) buttons_.insert(id);
    }
  }

  void Run() {
    HWND box = FindBox();
    if (box == nullptr) return; // the box never came: the alert failed
    NoteBox(box);
    if (answer_ == kCloseBox) {
      PostMessageA(box, WM_CLOSE, 0, 0);
    } else {
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, answer_)));
    }
    if (WaitUntilGone(box)) return;
    forced_ = true;
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(box, WM_COMMAND, IDNO, 0);
  }

  const char *caption_;
  int answer_;
  HWND owner_ = nullptr;
  std::set<int> buttons_;
  std::atomic<bool> forced_{false};
  std::thread thread_;
};

class AlertTest : public ::testing::Test {
protected:
  // The host's client window exists before any box looks for its owner.
  HWND client_ = static_cast<HWND>(GetIgorClientHWND());

  void ExpectBox(BoxAnswerer &answerer, std::set<int> buttons) {
    answerer.Join();
    EXPECT_EQ(answerer.owner(), client_);
    EXPECT_EQ(answerer.buttons(), buttons);
    EXPECT_FALSE(answerer.forced());
  }
};

TEST_F(AlertTest, OkShowsOneButtonOverTheHostWindow) {
  BoxAnswerer answerer("winui ok", IDOK);
  AlertOK("winui ok", "Press OK");
  ExpectBox(answerer, {IDOK});
}

TEST_F(AlertTest, OkCancelGivesOneOnlyForOk) {
  {
    BoxAnswerer answerer("winui okcancel 1", IDOK);
    EXPECT_EQ(AlertOKCancel("winui okcancel 1", "Press OK"), 1);
    ExpectBox(answerer, {IDOK, IDCANCEL});
  }
  {
    BoxAnswerer answerer("winui okcancel 2", IDCANCEL);
    EXPECT_EQ(AlertOKCancel("winui okcancel 2", "Press Cancel"), -1);
  }
  {
    BoxAnswerer answerer("winui okcancel 3", kCloseBox);
    EXPECT_EQ(AlertOKCancel("winui okcancel 3", "Close me"), -1);
    answerer.Join();
    EXPECT_FALSE(answerer.forced());
  }
}

TEST_F(AlertTest, YesNoGivesTwoForAnythingButYes) {
  {
    BoxAnswerer answerer("winui yesno 1", IDYES);
    EXPECT_EQ(AlertYesNo("winui yesno 1", "Press Yes"), 1);
    ExpectBox(answerer, {IDYES, IDNO});
  }
  {
    BoxAnswerer answerer("winui yesno 2", IDNO);
    EXPECT_EQ(AlertYesNo("winui yesno 2", "Press No"), 2);
  }
  {
    // Wine ends a closed Yes/No box with Cancel; Windows ignores the close
    // box there and the answerer ends it. Either way it reads as No.
    BoxAnswerer answerer("winui yesno 3", kCloseBox);
    EXPECT_EQ(AlertYesNo("winui yesno 3", "Close me"), 2);
  }
}

TEST_F(AlertTest, YesNoCancelMapsEachAnswer) {
  {
    BoxAnswerer answerer("winui ync 1", IDYES);
    EXPECT_EQ(AlertYesNoCancel("winui ync 1", "Press Yes"), 1);
    ExpectBox(answerer, {IDCANCEL, IDYES, IDNO});
  }
  {
    BoxAnswerer answerer("winui ync 2", IDNO);
    EXPECT_EQ(AlertYesNoCancel("winui ync 2", "Press No"), 2);
  }
  {
    BoxAnswerer answerer("winui ync 3", IDCANCEL);
    EXPECT_EQ(AlertYesNoCancel("winui ync 3", "Press Cancel"), -1);
  }
  {
    BoxAnswerer answerer("winui ync 4", kCloseBox);
    EXPECT_EQ(AlertYesNoCancel("winui ync 4", "Close me"), -1);
    answerer.Join();
    EXPECT_FALSE(answerer.forced());
  }
}

// Hidden pop-up windows: no frame to keep within a minimum or maximum size.
HWND MakeWindow(int32_t left, int32_t top, int32_t width, int32_t height) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WinuiPlacementTest";
  RegisterClassA(&wc); // fails harmlessly once registered
  return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, left, top, width,
                         height, nullptr, nullptr, wc.hInstance, nullptr);
}

class WindowPlacementTest : public ::testing::Test {
protected:
  void TearDown() override {
    for (HWND w : windows_)
      DestroyWindow(w);
  }

  HWND Make(int32_t left, int32_t top, int32_t width, int32_t height) {
    HWND w = MakeWindow(left, top, width, height);
    EXPECT_NE(w, nullptr) << "no window (is an X display running?)";
    windows_.push_back(w);
    return w;
  }

  // Places a width × height window over `reference`; its final rectangle.
  RECT Place(HWND reference, int32_t width, int32_t height) {
    HWND window = Make(5, 5, width, height);
    EXPECT_NE(PlaceWindowOver(window, reference), 0);
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
  }

  void ExpectRect(const RECT &r, int32_t left, int32_t top, int32_t right,
                  int32_t bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
  }

  const int32_t screenWidth_ = GetSystemMetrics(SM_CXFULLSCREEN);
  const int32_t screenHeight_ = GetSystemMetrics(SM_CYFULLSCREEN);
  std::vector<HWND> windows_;
};

TEST_F(WindowPlacementTest, CentresTwentyBelowTheReferenceTop) {
  ASSERT_GE(screenWidth_, 400);
  ASSERT_GE(screenHeight_, 220);
  ExpectRect(Place(Make(100, 50, 400, 400), 200, 150), 200, 70, 400, 220);
  ExpectRect(Place(Make(0, 0, 101, 10), 51, 10), 25, 20, 76, 30);
}

TEST_F(WindowPlacementTest, KeepsLeftRightAndBottomOnTheScreen) {
  ExpectRect(Place(Make(-300, 10, 400, 50), 400, 50), 0, 30, 400, 80);
  HWND low = Make(100, screenHeight_ - 138, 400, 100);
  ExpectRect(Place(low, 200, 300), 200, screenHeight_ - 300, 400,
             screenHeight_);
  // Too wide: the right edge is kept, the left goes off the screen.
  ExpectRect(Place(Make(0, 0, 100, 100), screenWidth_ + 100, 10), -100, 20,
             screenWidth_, 30);
}

TEST_F(WindowPlacementTest, NoReferenceMeansTheHostClientWindow) {
  RECT client = {};
  GetWindowRect(static_cast<HWND>(GetIgorClientHWND()), &client);
  int32_t left = (client.left + client.right) / 2 - 100;
  ExpectRect(Place(nullptr, 200, 150), left, client.top + 20, left + 200,
             client.top + 170);
}

} // namespace
