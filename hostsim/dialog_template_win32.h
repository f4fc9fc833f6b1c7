// A dialog template built in memory, so that the simulator and the tests can
// show real dialogs without a resource script.
#ifndef TAVREL_HOSTSIM_DIALOG_TEMPLATE_WIN32_H
#define TAVREL_HOSTSIM_DIALOG_TEMPLATE_WIN32_H

#include <windows.h>

#include <initializer_list>
#include <vector>

namespace hostsim {

enum : WORD {
  kButtonAtom = 0x80,
  kEditAtom = 0x81,
  kStaticAtom = 0x82,
  kComboAtom = 0x85
};

class DialogTemplate {
public:
  // Sizes are in dialog units.
  explicit DialogTemplate(const char *caption, short width = 300,
                          short height = 200) {
    Dword(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT);
    Dword(0);
    countAt_ = words_.size();
    Word(0);
    Shorts({10, 10, width, height});
    Word(0); // no menu
    Word(0); // standard dialog class
    Text(caption);
    Word(8); // font size, then face
    Text("MS Shell Dlg");
  }

  void Item(int32_t id, WORD classAtom, DWORD style, short y, short height = 12,
            const char *title = "", short x = 10, short width = 150) {
    if (words_.size() % 2) Word(0); // items start on 4-byte boundaries
    Dword(WS_CHILD | WS_VISIBLE | style);
    Dword(0);
    Shorts({x, y, width, height});
    Word(static_cast<WORD>(id));
    Word(0xFFFF);
    Word(classAtom);
    Text(title);
    Word(0); // no creation data
    ++words_[countAt_];
  }

  const DLGTEMPLATE *Get() const {
    return reinterpret_cast<const DLGTEMPLATE *>(words_.data());
  }

private:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Shorts(std::initializer_list<short> values) {
    for (short v : values)
      Word(static_cast<WORD>(v));
  }
  void Text(const char *ascii) {
    for (; *ascii; ++ascii)
      Word(static_cast<WORD>(*ascii));
    Word(0);
  }

  std::vector<WORD> words_;
  size_t countAt_ = 0;
};

} // namespace hostsim

#endif
