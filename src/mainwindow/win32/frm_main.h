// The main window: the drive list with its LED strip, the command buttons,
// the status bar, the menus, the three timers and the notification-area icon.
// It turns messages into calls of the main-window logic and applies the
// values that logic computes, through the parts that own the controls.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "mainwindow/layout.h"
#include "mainwindow/main_view.h"
#include "mainwindow/win32/button_bar.h"
#include "mainwindow/win32/drive_list.h"
#include "mainwindow/win32/led_strip.h"
#include "mainwindow/win32/main_menu.h"
#include "mainwindow/win32/tray_icon.h"
#include "platform/win32/handles.h"
#include "platform/win32/window.h"

namespace kelvra {

struct Program;
class DelayedSplash;

class FrmMain : public MainView, public win32::Window<FrmMain> {
  public:
    explicit FrmMain(Program& program);
    ~FrmMain() override;

    // Runs the load sequence; the window stays hidden (the caller shows it).
    bool Load(HINSTANCE instance);
    void Show();
    // Hidden start into the notification area (autostart with /stay).
    void StartInTray();
    // The window sees key presses before its controls; true when handled.
    bool PreTranslate(MSG& msg);
    // Stops the timers, saves and closes the window; once.
    void Unload();

    // MainView
    DriveIndex SelectedRow() override;
    void SelectRow(DriveIndex index) override;
    void FocusList() override;
    void ShowRows(const RowViews& rows, bool autoSize) override;
    void ShowCommands(const CommandView& commands) override;
    void ShowStatus(const StatusView& status) override;
    void ShowBusy(BusyMode mode) override;
    void EnableButtonBar(bool enabled) override;
    void EnableMenus(bool enabled) override;
    std::optional<ListLayout> CaptureLayout() override;
    void ApplyLayout() override;
    void ApplyGridLines() override;
    void ApplyResizePolicy() override;
    void SetTrayTimer(bool on) override;
    void ApplyLanguage() override;
    std::function<void()> AnswerWaker() override;

  private:
    friend class win32::Window<FrmMain>;
    // Posted when the user changed a column's width: the list may now need
    // (or no longer need) room for its horizontal scroll bar.
    static constexpr UINT kFitListMessage = WM_APP + 2;
    // Posted by a worker thread: answers about slow drives are in.
    static constexpr UINT kDriveAnswersMessage = WM_APP + 3;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnResize(WPARAM state);
    void FrmOnMsg_Move();
    void OnTimer(UINT_PTR id);
    void OnTrayMessage(LPARAM message);
    void RestoreFromTray();
    void StartTimer(int index, UINT interval);
    void StopTimer(int index);

    // Commands, keys, menus, drag and drop (frm_main_commands.cpp).
    void OnCommand(int id);
    LRESULT OnNotify(NMHDR* header);
    void RunAction(KeyAction action);
    void RunCommand(Command command);
    void ShowContextMenu(int x, int y);
    void OnDragMove(int x, int y);
    void EndDrag(bool dropped);

    // Layout and DPI (frm_main_layout.cpp).
    void PlaceWindow();
    void OnDpiChanged(int dpi, const RECT* suggested);
    void CreateFonts();
    void ComputeDesignSize();
    void FitColumns();
    void FitListHeight();
    void ApplyListHeight();
    void LayoutVertical();
    void LayoutStatusParts();
    void ApplyListStyles();
    // Menu, column and button texts alone, without the layout they change.
    void ApplyTexts();
    void SetWidthPos();
    void SetResize(bool allowResize);
    void KeepLayout();
    int WindowWidth() const;

    Program& program_;
    HWND lastFocus_ = nullptr;  // the child that had the focus when the window lost it
    DriveList list_;            // lsvView
    LedStrip leds_;             // fraLED
    ButtonBar buttons_;
    HWND status_ = nullptr;  // stbMain
    MainMenu menu_;
    TrayIcon tray_;
    std::unique_ptr<DelayedSplash> splash_;
    win32::UniqueFont font_;

    bool fittingHeight_ = false;
    bool fitListPosted_ = false;  // a kFitListMessage is on its way
    int dpi_ = 96;
    int designWidth_ = 0;
    int designHeight_ = 0;
    int frameRoom_ = 0;
    int barWidth_ = 0;
    int buttonHeight_ = 0;
    int listHeight_ = 0;
    // Fixed parts of the height: the list's header, row and borders, the
    // rest of the window around the list, and the buttons' least height.
    ListMetrics listMetrics_;
    int chromeHeight_ = 0;
    int minListHeight_ = 0;
    SizeLimits limits_;
    bool limitsOn_ = false;

    StatusView status_texts_;
    bool busyCursor_ = false;
    bool resizeGuard_ = false;
    bool dragging_ = false;
    bool positioned_ = false;  // placed by the load; moves count from then on
    bool unloaded_ = false;
    std::array<UINT, 3> timerIntervals_{};
    std::array<bool, 3> timerEnabled_{};
};

}  // namespace kelvra
