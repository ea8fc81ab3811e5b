// Kelvra.exe: runs the start-up procedure, then whatever it chose.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <objbase.h>

#include "mainwindow/win32/frm_main.h"
#include "mainwindow/win32/win32_ui.h"
#include "platform/win32/win32_os.h"
#include "program.h"
#include "startup/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    kelvra::Win32Os os;
    kelvra::Win32Ui ui;
    kelvra::Program program(os, ui);
    const kelvra::Dispatch dispatch = kelvra::RunStartup(program);

    int exitCode = 0;
    bool visible = false;
    switch (dispatch) {
        case kelvra::Dispatch::End:
        // Context commands need the main window's list and menus; until they
        // exist such a start ends without doing anything.
        case kelvra::Dispatch::ContextCommand:
            OleUninitialize();
            return 0;
        case kelvra::Dispatch::MainWindow:
        case kelvra::Dispatch::AutostartWindow:
            visible = true;
            break;
        case kelvra::Dispatch::AutostartTray:
            visible = false;
            break;
    }
    kelvra::FrmMain frmMain(program);
    if (frmMain.Load(instance, visible)) {
        ui.SetOwner(frmMain.hwnd());
        if (dispatch == kelvra::Dispatch::AutostartTray) frmMain.TrayIconSet();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        exitCode = static_cast<int>(msg.wParam);
    }
    OleUninitialize();
    return exitCode;
}
