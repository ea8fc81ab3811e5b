// The main window's commands: the keys, the menu bar, the list's popup and
// its drag and drop, each turned into a call of the logic.
#include <windowsx.h>

#include "auxwindows/win32/frm_debug.h"
#include "auxwindows/win32/frm_info.h"
#include "config/win32/frm_konfig.h"
#include "language/language.h"
#include "mainwindow/commands.h"
#include "mainwindow/main_window.h"
#include "mainwindow/menus.h"
#include "mainwindow/win32/frm_main.h"
#include "mainwindow/win32/main_ids.h"
#include "platform/win32/shell_launch.h"
#include "platform/win32/window_support.h"
#include "program.h"
#include "startup/settings.h"

namespace kelvra {

// The list's popup at the pointer, or for the keyboard (no position) at the
// selected row.
void FrmMain::ShowContextMenu(int x, int y) {
    if (program_.main.Busy) return;
    const POINT at = x == -1 && y == -1 ? list_.PopupPoint() : POINT{x, y};
    Command chosen;
    if (menu_.TrackListPopup(ContextMenuEntries(program_), at, chosen)) RunCommand(chosen);
}

void FrmMain::OnCommand(int id) {
    if (id >= kIdButtonFirst && id < kIdButtonFirst + kCommandCount)
        RunCommand(static_cast<Command>(id - kIdButtonFirst));
    else
        RunAction(MainMenu::ActionOf(id));
}

void FrmMain::RunAction(KeyAction action) {
    Command command;
    if (CommandOfAction(action, command)) {
        if (action == KeyAction::Kill) MessageBeep(0);
        // With the mode off the move command cancels the pending move.
        if (action == KeyAction::CancelMove) program_.main.MoveMode = false;
        RunCommand(command);
        return;
    }
    switch (action) {
        case KeyAction::Refresh:
            DisplayRefresh(program_);
            break;
        case KeyAction::DeviceNames:
            SwitchDeviceNames(program_);
            break;
        case KeyAction::Debug: {
            TimerStates timers;
            for (int i = 0; i < 3; ++i) {
                timers[i].Interval = timerIntervals_[i];
                timers[i].Enabled = timerEnabled_[i];
            }
            ShowDebugWindow(hwnd_, program_, timers);
            break;
        }
        case KeyAction::Config:
            ShowConfigWindow(hwnd_, program_);
            UpdateCommands(program_);
            // The box "start at the last position" may have just been ticked.
            if (program_.settings.LastPos != "<center>") {
                RECT r;
                GetWindowRect(hwnd_, &r);
                if (!IsIconic(hwnd_))
                    program_.settings.LastPos = LastPosText(r.left, r.top, win32::SystemDpi());
            }
            break;
        case KeyAction::Info:
            ShowInfoWindow(hwnd_, program_);
            break;
        case KeyAction::Help:
        case KeyAction::KeyboardHelp:
            win32::OpenHtmlHelp(hwnd_, program_.os.AnsiToWide(program_.language.HelpFile),
                                action == KeyAction::Help ? nullptr : L"Tastatur.html");
            break;
        case KeyAction::History:
            win32::OpenDocument(
                program_.os.AnsiToWide(program_.startup.ApplicationPath + "history.txt"));
            break;
        case KeyAction::Exit:
            Unload();
            break;
        default:
            break;
    }
}

void FrmMain::RunCommand(Command command) {
    static constexpr void (*kClicks[kCommandCount])(Program&) = {
        cmdNew_Click,        cmdMove_Click,           cmdKill_Click,   cmdFix_Click,
        cmdDeactivate_Click, cmdDeactivateperm_Click, cmdRename_Click, cmdLink_Click};
    kClicks[static_cast<int>(command)](program_);
}

bool FrmMain::PreTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    if (!IsWindowEnabled(hwnd_)) return false;  // a modal window of ours is open
    if (dragging_ && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        EndDrag(false);
        return true;
    }
    Modifiers m;
    m.ctrl = GetKeyState(VK_CONTROL) < 0;
    m.shift = GetKeyState(VK_SHIFT) < 0;
    m.alt = GetKeyState(VK_MENU) < 0;
    const KeyAction action =
        MapKey(static_cast<int>(msg.wParam), m, program_.main, program_.startup.IsNT);
    if (action == KeyAction::None) return false;
    RunAction(action);
    return true;
}

LRESULT FrmMain::OnNotify(NMHDR* header) {
    if (header->hwndFrom == list_.hwnd()) {
        switch (header->code) {
            case NM_CUSTOMDRAW: {
                auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
                if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) leds_.FollowTop(list_.TopIndex());
                return list_.OnCustomDraw(draw);
            }
            case LVN_ITEMCHANGED: {
                auto* change = reinterpret_cast<NMLISTVIEW*>(header);
                if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
                    !(change->uOldState & LVIS_SELECTED))
                    lsvView_ItemClick(program_);
                return 0;
            }
            case LVN_COLUMNCLICK: {
                auto* click = reinterpret_cast<NMLISTVIEW*>(header);
                const std::wstring& path = Text(program_.language, TextKey::main_columnpath);
                if (!path.empty() && list_.ColumnCaption(click->iSubItem).rfind(path, 0) == 0)
                    SwitchDeviceNames(program_);
                return 0;
            }
            case LVN_BEGINDRAG: {
                auto* drag = reinterpret_cast<NMLISTVIEW*>(header);
                if (!program_.main.MoveMode && lsvView_MouseDown(program_, drag->iItem + 1)) {
                    dragging_ = true;
                    SetCapture(hwnd_);
                }
                return 0;
            }
            case LVN_ENDSCROLL:
                leds_.Invalidate();
                return 0;
        }
        return 0;
    }
    if (header->hwndFrom == list_.Header() &&
        (header->code == HDN_ITEMCHANGEDW || header->code == HDN_ITEMCHANGEDA)) {
        // Fitting columns changes several widths in a row: one fit after
        // them all is enough.
        if (!fitListPosted_) fitListPosted_ = PostMessageW(hwnd_, kFitListMessage, 0, 0);
        return 0;
    }
    if (header->code == NM_CUSTOMDRAW && buttons_.Owns(header->hwndFrom))
        return buttons_.OnCustomDraw(reinterpret_cast<NMCUSTOMDRAW*>(header));
    return 0;
}

void FrmMain::OnDragMove(int x, int y) {
    const DriveIndex row = list_.HitTest(hwnd_, x, y);
    const DriveIndex highlight = lsvView_DragOver(program_, row < 0 ? 0 : row);
    list_.SetDropHighlight(highlight);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(highlight ? 32512 : 32648)));  // arrow, no
}

// A drag ends with the button released (a drop: the move runs on the last
// target, which is none outside a free row), or cancelled by Esc or the
// capture lost.
void FrmMain::EndDrag(bool dropped) {
    dragging_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    list_.SetDropHighlight(0);
    if (dropped)
        lsvView_DragComplete(program_);
    else
        lsvView_DragCancel(program_);
}

}  // namespace kelvra
