// The dialog demo: a popup menu filled from a host list, a checkbox and a
// number field, set through the support library and captured from the
// screen.
#include "dialog_demo_win32.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "dialog_template_win32.h"
#include "hostsim.h"
#include "lists.h"
#include "png_file.h"
#include "winui.h"

namespace hostsim {
namespace {

enum DemoItem : int32_t { kWaveMenu = 200, kBaseline = 201, kGain = 202 };

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

HWND MakeDialog() {
  DialogTemplate t("Acquisition settings", 190, 96);
  t.Item(-1, kStaticAtom, SS_LEFT, 12, 10, "Wave:", 10, 40);
  t.Item(kWaveMenu, kComboAtom, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 10,
         80, "", 55, 120);
  t.Item(kBaseline, kButtonAtom, BS_AUTOCHECKBOX | WS_TABSTOP, 32, 12,
         "Subtract baseline", 55, 120);
  t.Item(-1, kStaticAtom, SS_LEFT, 54, 10, "Gain:", 10, 40);
  t.Item(kGain, kEditAtom, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 52, 13, "",
         55, 60);
  t.Item(IDOK, kButtonAtom, BS_DEFPUSHBUTTON | WS_TABSTOP, 74, 14, "OK", 125,
         50);
  return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t.Get(), nullptr,
                                    QuietDialogProc, 0);
}

// Lets the dialog paint itself before it is captured.
void PumpMessages(DWORD milliseconds) {
  DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < milliseconds) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

// The window as it stands on the screen, as rows of RGB pixels.
bool CaptureWindow(HWND window, uint32_t &width, uint32_t &height,
                   std::vector<uint8_t> &rgb) {
  RECT r;
  GetWindowRect(window, &r);
  width = static_cast<uint32_t>(r.right - r.left);
  height = static_cast<uint32_t>(r.bottom - r.top);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER),
                    LONG(width),
                    -LONG(height),
                    1,
                    24,
                    BI_RGB,
                    0,
                    0,
                    0,
                    0,
                    0};
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  void *bits = nullptr;
  HBITMAP bitmap =
      CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = bitmap != nullptr && width > 0 && height > 0;
  if (ok) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, int(width), int(height), screen, r.left, r.top,
                SRCCOPY);
    GdiFlush();
    size_t stride = (width * 3 + 3) & ~size_t{3};
    rgb.resize(size_t{width} * height * 3);
    for (size_t y = 0; ok && y < height; ++y) {
      const uint8_t *row = static_cast<const uint8_t *>(bits) + y * stride;
      for (size_t x = 0; x < width; ++x) {
        uint8_t *px = &rgb[(y * width + x) * 3];
        px[0] = row[x * 3 + 2], px[1] = row[x * 3 + 1], px[2] = row[x * 3];
      }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

void FillThroughTheLibrary(HWND dialog) {
  SetHostList(56, {"sweep_0001", "sweep_0002", "baseline", "fit_result"});
  InsertHostList38(dialog, kWaveMenu, 0, 0, 10000);
  SelectPopupItem(dialog, kWaveMenu, 2);
  WriteCheckState(dialog, kBaseline, 1);
  const double gain = 2.5;
  SetItemDouble(dialog, kGain, &gain);
  PlaceWindowOver(dialog, nullptr);
}

void PrintReadBack(HWND dialog) {
  int32_t number = 0;
  char text[256]; // an entry text is read through 256 bytes
  GetPopupSelection(dialog, kWaveMenu, &number, text);
  double gain = 0;
  GetItemDouble(dialog, kGain, &gain);
  std::printf("popup entry %d \"%s\", baseline %s, gain %g\n", number, text,
              IsItemChecked(dialog, kBaseline) ? "on" : "off", gain);
}

} // namespace

int RunDialogDemo(const std::string &pngPath) {
  HostRecordHandle = NewHostRecord();
  HWND dialog = MakeDialog();
  int status = 1;
  if (dialog == nullptr) {
    std::fprintf(stderr, "Igor: no dialog (error %lu; is there a display?)\n",
                 GetLastError());
  } else {
    FillThroughTheLibrary(dialog);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    PumpMessages(700);
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
    if (CaptureWindow(dialog, width, height, rgb) &&
        WritePngFile(pngPath, width, height, rgb)) {
      PrintReadBack(dialog);
      std::printf("wrote %s (%ux%u)\n", pngPath.c_str(), width, height);
      status = 0;
    }
    DestroyWindow(dialog);
  }
  ClearHostLists();
  DisposeHandle(HostRecordHandle);
  HostRecordHandle = nullptr;
  return status;
}

} // namespace hostsim
