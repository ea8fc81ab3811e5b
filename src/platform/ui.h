// The user-interface boundary: everything that shows something to the user or
// asks. The Win32 windows implement it; tests use ScriptedUi, which records
// what was shown and returns scripted answers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvra {

// A drive letter as an index, 1 = A ... 26 = Z (as in drives/drive_tables.h,
// which the boundary does not need to pull in).
using DriveIndex = int;

// Message-box styles and answers, with the values of the Windows message box.
namespace mb {
constexpr unsigned kOk = 0x0;
constexpr unsigned kYesNo = 0x4;
constexpr unsigned kIconCritical = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconExclamation = 0x30;
constexpr unsigned kIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace mb

class Ui {
  public:
    virtual ~Ui() = default;
    // A modal message box; returns the button pressed (mb::kIdOk, ...).
    virtual int MessageBox(const std::wstring& text, const std::wstring& caption,
                           unsigned style) = 0;
    // A single-line input box; false when the user cancels.
    virtual bool InputBox(const std::wstring& prompt, const std::wstring& caption,
                          const std::wstring& defaultText, std::wstring& answer) = 0;
    // The system's folder chooser owned by the main window: the chosen path
    // as the shell returns it, or empty when the user cancels. Wide, so that
    // a folder the code page cannot name is not silently replaced by a
    // look-alike; the caller converts it.
    virtual std::wstring BrowseForFolder(const std::wstring& title) = 0;
    // The hint window: the text, a "do not show again" check box (unticked
    // at the start) and an OK button, modal. Returns whether the box was
    // ticked when the window closed (OK, Esc or the close box).
    virtual bool HintBox(const std::wstring& caption, const std::wstring& text,
                         const std::wstring& checkCaption, const std::wstring& okCaption) = 0;
    // A popup menu of drive letters at the mouse pointer, modal, even while
    // the owner window is hidden: a disabled title line, the letters offered
    // ("A:" ... "Z:"), and a cancel item. Returns the chosen letter, or 0 when
    // the user cancels or closes the menu.
    virtual DriveIndex LetterPopup(const std::wstring& title,
                                   const std::vector<DriveIndex>& letters,
                                   const std::wstring& cancelCaption) = 0;
    // Makes `window` (a window handle; 0 for none) the owner of what the Ui
    // shows from now on, and returns the owner before.
    virtual std::uintptr_t SwapOwner(std::uintptr_t window) = 0;
};

// Lends the Ui a modal window of our own as owner for a scope, so that the
// window is disabled under the message boxes shown meanwhile, as the main
// window is.
class UiOwnerScope {
  public:
    UiOwnerScope(Ui& ui, std::uintptr_t window) : ui_(ui), previous_(ui.SwapOwner(window)) {}
    ~UiOwnerScope() { ui_.SwapOwner(previous_); }
    UiOwnerScope(const UiOwnerScope&) = delete;
    UiOwnerScope& operator=(const UiOwnerScope&) = delete;

  private:
    Ui& ui_;
    std::uintptr_t previous_;
};

}  // namespace kelvra
