#include "mainwindow/win32/frm_main.h"

#include <dbt.h>
#include <windowsx.h>

#include <string>

#include "drives/scan.h"
#include "language/language.h"
#include "mainwindow/main_window.h"
#include "mainwindow/win32/frm_splash.h"
#include "mainwindow/win32/main_ids.h"
#include "platform/win32/window_support.h"
#include "program.h"
#include "startup/settings.h"

namespace kelvra {
namespace {

// The start-up timer (hint, configuration on a first start), the one-second
// poll, and the check that the tray icon is still there.
constexpr UINT_PTR kTimerIds[3] = {1, 2, 3};

// A volume came or went: a subst or a connection made elsewhere, a medium
// inserted or taken out, a disk attached.
bool AnnouncesVolume(WPARAM event, LPARAM data) {
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return false;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    return header && header->dbch_devicetype == DBT_DEVTYP_VOLUME;
}

// A first scan that ends sooner shows no splash: too short to be read.
constexpr DWORD kSplashDelayMs = 300;

}  // namespace

FrmMain::FrmMain(Program& program) : program_(program) {}

FrmMain::~FrmMain() {
    if (program_.view == this) program_.view = nullptr;
    Destroy();  // before the parts and the font the controls use go
}

bool FrmMain::Load(HINSTANCE instance) {
    Register(kMainClassName, MAKEINTRESOURCEW(32512) /* IDC_ARROW */,
             LoadIconW(instance, MAKEINTRESOURCEW(1)),
             static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXSMICON),
                                           GetSystemMetrics(SM_CYSMICON), 0)));
    LedStrip::Register();

    // The caption is what the single-instance search looks for.
    const std::wstring title = MainWindowTitle(program_);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    if (!Create(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kMainClassName, title.c_str(), style, 0, 0,
                600, 500, nullptr))
        return false;
    program_.view = this;
    tray_.Attach(hwnd_);

    // The controls exist from WM_CREATE: now their visibility, texts, sizes
    // and the size policy.
    Settings& settings = program_.settings;
    ShowWindow(leds_.hwnd(), settings.ShowLEDs ? SW_SHOWNA : SW_HIDE);
    buttons_.SetVisible(settings.ShowButtons);
    program_.main.MoveSource = -1;
    // Texts and grid lines first (they set the buttons' width and the rows'
    // height), so that the size policy lays the window out once.
    list_.ApplyStyles(settings.GridLines);
    ApplyTexts();
    SetResize(settings.AllowResize);

    // The first row starts selected, so the keyboard has a row to work on.
    SelectRow(1);

    // The first scan, with the splash standing while it runs.
    ShowBusy(BusyMode::Init);
    DisplayRefresh(program_);

    // A context command runs on the hidden window: no timers, no position.
    if (!program_.context.ContextPath.empty()) return true;

    StartTimer(0, 100);
    PlaceWindow();
    StartTimer(1, 1000);
    if (settings.MinimizeToSystray) StartTimer(2, 5000);
    return true;
}

void FrmMain::Show() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
    FocusList();
}

void FrmMain::StartInTray() {
    program_.main.TrayIconShown = tray_.Set(true);
    program_.main.MinimizedToTray = true;
}

void FrmMain::StartTimer(int index, UINT interval) {
    SetTimer(hwnd_, kTimerIds[index], interval, nullptr);
    timerIntervals_[index] = interval;
    timerEnabled_[index] = true;
}

void FrmMain::StopTimer(int index) {
    KillTimer(hwnd_, kTimerIds[index]);
    timerIntervals_[index] = 0;
    timerEnabled_[index] = false;
}

// ---------------------------------------------------------------------------
// Window procedure

LRESULT FrmMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (tray_.IsTaskbarCreated(message)) {
        // A restarted shell has lost the icon.
        if (program_.main.TrayIconShown) tray_.Set(true);
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            OnCreate();
            return 0;
        case WM_SIZE:
            if (status_) SendMessageW(status_, WM_SIZE, 0, 0);
            OnResize(wParam);
            return 0;
        case WM_MOVE:
            FrmOnMsg_Move();
            return 0;
        case WM_GETMINMAXINFO:
            if (limitsOn_) {
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                info->ptMinTrackSize = {limits_.minWidth, limits_.minHeight};
                info->ptMaxTrackSize = {limits_.maxWidth, limits_.maxHeight};
            }
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_DEVICECHANGE:
            // Only where the poll runs: a context command's hidden window
            // keeps the table its command works on.
            if (timerEnabled_[1] && AnnouncesVolume(wParam, lParam))
                DriveChangeAnnounced(program_, !IsIconic(hwnd_) && !IsZoomed(hwnd_));
            break;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_MOUSEMOVE:
            if (dragging_) OnDragMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONUP:
            if (dragging_) EndDrag(true);
            return 0;
        case WM_CAPTURECHANGED:
            // Alt+Tab, another program's popup, a box of our own: the user
            // did not drop, so nothing may move.
            if (dragging_) EndDrag(false);
            return 0;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == list_.hwnd())
                ShowContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_SETCURSOR:
            if (busyCursor_) {
                SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            // Keep the focused child across dialogs and the tray, so the
            // keys move the selection again when the window comes back.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
                // Another window in front ends a drag as a lost capture does,
                // also where the system leaves the capture with us.
                if (dragging_) EndDrag(false);
            }
            break;
        case WM_SETFOCUS: {
            HWND target = lastFocus_;
            if (!target || !IsWindow(target) || !IsWindowVisible(target) ||
                !IsWindowEnabled(target))
                target = list_.hwnd();
            if (target) SetFocus(target);
            return 0;
        }
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<RECT*>(lParam));
            return 0;
        case TrayIcon::kMessage:
            OnTrayMessage(lParam);
            return 0;
        case kFitListMessage:
            fitListPosted_ = false;
            FitListHeight();
            return 0;
        case kDriveAnswersMessage:
            ShowDriveAnswers(program_);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The process ends right after this message: save now.
            if (wParam) Unload();
            return 0;
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_DESTROY:
            if (program_.view == this) program_.view = nullptr;
            PostQuitMessage(0);
            return 0;
    }
    return Default(message, wParam, lParam);
}

void FrmMain::OnCreate() {
    dpi_ = win32::WindowDpi(hwnd_);
    CreateFonts();
    leds_.CreateIcons(dpi_);
    menu_.Create(hwnd_);
    list_.Create(hwnd_, font_.get(), dpi_);
    leds_.Create(hwnd_, list_);
    buttons_.Create(hwnd_, font_.get());
    status_ =
        CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd_,
                        reinterpret_cast<HMENU>(kIdStatus), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

// ---------------------------------------------------------------------------
// Resize, move, timers

void FrmMain::OnResize(WPARAM state) {
    MainState& m = program_.main;
    const Settings& s = program_.settings;
    if (state == SIZE_RESTORED && s.AllowResize && list_.hwnd()) SetWidthPos();
    if (resizeGuard_) return;
    if (!s.MinimizeToSystray) {
        m.MinimizedToTray = state == SIZE_MINIMIZED;
        return;
    }
    if (state == SIZE_RESTORED && m.MinimizedToTray) {
        m.MinimizedToTray = false;
        if (program_.startup.IsWin9x) {
            SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
        resizeGuard_ = true;
        tray_.SetTaskbarButton(true);
        resizeGuard_ = false;
        if (m.TrayIconShown) {
            tray_.Set(false);
            m.TrayIconShown = false;
        }
    } else if (state == SIZE_MINIMIZED && !m.MinimizedToTray) {
        m.MinimizedToTray = true;
        resizeGuard_ = true;
        tray_.SetTaskbarButton(false);
        resizeGuard_ = false;
        if (!m.TrayIconShown) m.TrayIconShown = tray_.Set(true);
    }
}

void FrmMain::FrmOnMsg_Move() {
    // Moves before the window took its place (creation, a context command's
    // hidden window) are no positions of the user's.
    if (!hwnd_ || !positioned_ || IsIconic(hwnd_) || IsZoomed(hwnd_)) return;
    if (program_.settings.LastPos == "<center>") return;
    RECT r;
    GetWindowRect(hwnd_, &r);
    program_.settings.LastPos = LastPosText(r.left, r.top, win32::SystemDpi());
}

void FrmMain::OnTimer(UINT_PTR id) {
    if (id == kTimerIds[0]) {
        StopTimer(0);
        ShowStartHints(program_);
        if (program_.startup.NoINIAtStart) RunAction(KeyAction::Config);
    } else if (id == kTimerIds[1]) {
        const bool normal = !IsIconic(hwnd_) && !IsZoomed(hwnd_);
        PollTick(program_, normal);
    } else if (id == kTimerIds[2]) {
        if (program_.settings.MinimizeToSystray && program_.main.TrayIconShown) tray_.Check(false);
    }
}

// ---------------------------------------------------------------------------
// Notification area

void FrmMain::RestoreFromTray() {
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOWNORMAL);
    // A window that was never minimized (autostart into the tray) gets no
    // restore notification of its own.
    if (program_.main.MinimizedToTray) OnResize(SIZE_RESTORED);
    SetForegroundWindow(hwnd_);
}

void FrmMain::OnTrayMessage(LPARAM message) {
    if (message == WM_LBUTTONUP) {
        RestoreFromTray();
    } else if (message == WM_RBUTTONUP) {
        const int chosen = tray_.TrackMenu(program_.language);
        if (chosen == kIdMnuTrayRestore) RestoreFromTray();
        if (chosen == kIdMnuTrayExit) Unload();
    }
}

// ---------------------------------------------------------------------------
// MainView

DriveIndex FrmMain::SelectedRow() {
    return list_.SelectedRow();
}

void FrmMain::SelectRow(DriveIndex index) {
    list_.SelectRow(index);
}

void FrmMain::FocusList() {
    if (list_.hwnd() && IsWindowVisible(hwnd_)) SetFocus(list_.hwnd());
}

void FrmMain::ShowRows(const RowViews& rows, bool autoSize) {
    // The list repaints once, below, not once per cell.
    SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
    list_.ShowRows(rows);
    SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
    // A column without a stored width was fitted before the first rows were
    // there; it is fitted once more to what they hold.
    if (autoSize)
        FitColumns();
    else if (list_.FitPendingColumns())
        FitListHeight();
    InvalidateRect(list_.hwnd(), nullptr, FALSE);
    leds_.Invalidate();
}

std::function<void()> FrmMain::AnswerWaker() {
    // Posting is safe from any thread; to a window that is gone it fails.
    HWND window = hwnd_;
    if (!window) return {};
    return [window] { PostMessageW(window, kDriveAnswersMessage, 0, 0); };
}

void FrmMain::ShowCommands(const CommandView& commands) {
    buttons_.Show(commands);
}

void FrmMain::ShowStatus(const StatusView& status) {
    status_texts_ = status;
    LayoutStatusParts();
    for (int i = 0; i < 5; ++i)
        SendMessageW(status_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(status.panels[i].c_str()));
    if (!status.pathCaption.empty()) list_.SetColumnCaption(3, status.pathCaption);
}

void FrmMain::ShowBusy(BusyMode mode) {
    const bool busy = mode != BusyMode::Off;
    SendMessageW(status_, SB_SETICON, 4,
                 reinterpret_cast<LPARAM>(leds_.Icon(busy ? Led::Red : Led::Green)));
    busyCursor_ = busy;
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(busy ? 32514 : 32512)));
    if (!program_.settings.DontShowBusySplash) {
        if (mode == BusyMode::Init && !splash_)
            splash_ = std::make_unique<DelayedSplash>(
                Text(program_.language, TextKey::splash_netsplash), dpi_, kSplashDelayMs);
        else if (mode == BusyMode::Off)
            splash_.reset();
    }
    // Paint the change now; other pending messages (a close, a timer) wait
    // for the message loop, so nothing runs inside a scan half done.
    UpdateWindow(status_);
}

void FrmMain::EnableButtonBar(bool enabled) {
    buttons_.Enable(enabled);
}

void FrmMain::EnableMenus(bool enabled) {
    menu_.Enable(enabled);
}

void FrmMain::ApplyLayout() {
    const Settings& s = program_.settings;
    ShowWindow(leds_.hwnd(), s.ShowLEDs ? SW_SHOWNA : SW_HIDE);
    buttons_.SetVisible(s.ShowButtons);
    SetWidthPos();
    if (!s.AllowResize) FitColumns();
}

void FrmMain::ApplyGridLines() {
    ApplyListStyles();
}

void FrmMain::ApplyResizePolicy() {
    // Keep what the user arranged while resizing was allowed; SetResize
    // then applies the stored layout or the designed size.
    if (program_.settings.AllowResize) KeepLayout();
    SetResize(program_.settings.AllowResize);
    Display(program_);
    KeepLayout();
}

void FrmMain::SetTrayTimer(bool on) {
    if (on)
        StartTimer(2, 5000);
    else
        StopTimer(2);
}

// The texts of menus, columns and buttons from the text table; the sizes
// follow them.
void FrmMain::ApplyLanguage() {
    ApplyTexts();
    ComputeDesignSize();
    SetWidthPos();
}

void FrmMain::ApplyTexts() {
    menu_.ApplyLanguage(program_.language);
    list_.ApplyLanguage(program_.language);
    buttons_.ApplyLanguage(program_.language);
}

std::optional<ListLayout> FrmMain::CaptureLayout() {
    return ListLayout{ColumnOrderText(list_.ColumnOrder()),
                      ColumnWidthText(list_.ColumnWidths(), dpi_),
                      PixelsToTwips(WindowWidth(), dpi_)};
}

// The settings hold the layout only as of the last save; this brings them up
// to what the window shows.
void FrmMain::KeepLayout() {
    ApplyListLayout(program_.settings, *CaptureLayout());
}

// ---------------------------------------------------------------------------
// Unload

void FrmMain::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    for (int i = 0; i < 3; ++i) KillTimer(hwnd_, kTimerIds[i]);
    timerEnabled_ = {};
    FrmOnMsg_Move();
    ScanAndSaveAtUnload(program_);
    if (program_.main.TrayIconShown) tray_.Set(false);
    program_.main.TrayIconShown = false;
    limitsOn_ = false;
    splash_.reset();
    DestroyWindow(hwnd_);
}

}  // namespace kelvra
