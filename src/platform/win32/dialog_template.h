// Dialog templates built in memory, so a dialog needs no resource script
// and can live in any module; dialog units scale with the font and the DPI.
#pragma once

#include <vector>

#include "platform/win32/windows_api.h"

namespace kelvra::win32 {

// Predefined window-class atoms of dialog item templates.
inline constexpr WORD kButtonClass = 0x0080;
inline constexpr WORD kEditClass = 0x0081;
inline constexpr WORD kStaticClass = 0x0082;
inline constexpr WORD kComboBoxClass = 0x0085;

// Builds a dialog template in memory, so the box needs no resource script
// and can live in any module. Items start on DWORD boundaries; the vector's
// storage is aligned at least that far.
class DialogTemplate {
  public:
    DialogTemplate(DWORD style, short cx, short cy, WORD items) {
        Dword(style);
        Dword(0);  // extended style
        Word(items);
        Word(0);  // x, y: centred by DS_CENTER
        Word(0);
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        Word(0);  // empty title, set later as wide text
        Word(8);  // DS_SETFONT: point size and face
        String(L"MS Shell Dlg");
    }

    void Item(WORD windowClass, WORD id, DWORD style, short x, short y, short cx, short cy) {
        if (words_.size() % 2) Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF);
        Word(windowClass);
        Word(0);  // empty text, set in WM_INITDIALOG
        Word(0);  // no creation data
    }

    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()); }

  private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void String(const wchar_t* s) {
        while (*s) Word(static_cast<WORD>(*s++));
        Word(0);
    }

    std::vector<WORD> words_;
};

}  // namespace kelvra::win32
