// Kelvra.exe: runs the start-up procedure, then whatever it chose.
#include "mainwindow/win32/frm_main.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/win32_ui.h"
#include "platform/win32/windows_api.h"
#include "program.h"
#include "startup/context.h"
#include "startup/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    // Never destroyed: a worker still waiting on a drive whose server went
    // away uses it while the process ends (its thread is detached, so it
    // keeps nothing from ending).
    kelvra::Win32Os& os = *new kelvra::Win32Os;
    kelvra::Win32Ui ui;
    kelvra::Program program(os, ui);
    const kelvra::Dispatch dispatch = kelvra::RunStartup(program);

    switch (dispatch) {
        case kelvra::Dispatch::End:
            return 0;
        case kelvra::Dispatch::ContextCommand:
            // A path that names nothing ends the run without a word.
            if (!kelvra::StartContextCommand(program, program.startup.CommandLine)) return 0;
            break;
        default:
            break;
    }
    int exitCode = 0;
    {
        kelvra::FrmMain frmMain(program);
        if (frmMain.Load(instance)) {
            ui.SetOwner(frmMain.hwnd());
            if (dispatch == kelvra::Dispatch::ContextCommand) {
                // The window stays hidden: it only lends the command its
                // list, its popup owner and its unload, which saves.
                kelvra::ContextCommand(program);
                frmMain.Unload();
            } else if (dispatch == kelvra::Dispatch::AutostartTray) {
                frmMain.StartInTray();
            } else {
                frmMain.Show();
            }
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                // The main window sees its keys first, then the dialog
                // manager gives Tab and access keys their usual meaning.
                if (frmMain.PreTranslate(msg)) continue;
                if (frmMain.hwnd() && IsDialogMessageW(frmMain.hwnd(), &msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            exitCode = static_cast<int>(msg.wParam);
        }
    }
    return exitCode;
}
