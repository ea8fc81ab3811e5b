// The main window. For now a plain window with the program's title and the
// scanned drive table as text, so that the single-instance rule, the scan and
// the save at close work end to end.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace kelvra {

struct Program;

class FrmMain {
  public:
    explicit FrmMain(Program& program) : program_(program) {}
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // Loads the window; shows it when `visible`.
    bool Load(HINSTANCE instance, bool visible);
    // Adds the notification-area icon with the tip "Kelvra".
    void TrayIconSet();
    HWND hwnd() const { return hwnd_; }

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnSize(int width, int height);
    std::wstring DriveTableText();
    void Unload();

    Program& program_;
    HWND hwnd_ = nullptr;
    HWND info_ = nullptr;
    HFONT font_ = nullptr;
    bool trayIconShown_ = false;
};

}  // namespace kelvra
