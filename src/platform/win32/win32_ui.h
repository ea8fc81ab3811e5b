// The Ui boundary on real Windows: the standard message box, our input box
// the shell's folder chooser and the letter popup, all owned by the main window
// once it exists.
#pragma once

#include <utility>

#include "platform/ui.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

class Win32Ui : public Ui {
  public:
    void SetOwner(HWND owner) { owner_ = owner; }
    int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned style) override;
    bool InputBox(const std::wstring& prompt, const std::wstring& caption,
                  const std::wstring& defaultText, std::wstring& answer) override;
    std::wstring BrowseForFolder(const std::wstring& title) override;
    bool HintBox(const std::wstring& caption, const std::wstring& text,
                 const std::wstring& checkCaption, const std::wstring& okCaption) override;
    DriveIndex LetterPopup(const std::wstring& title, const std::vector<DriveIndex>& letters,
                           const std::wstring& cancelCaption) override;
    std::uintptr_t SwapOwner(std::uintptr_t window) override {
        return reinterpret_cast<std::uintptr_t>(
            std::exchange(owner_, reinterpret_cast<HWND>(window)));
    }

  private:
    HWND owner_ = nullptr;
};

}  // namespace kelvra
