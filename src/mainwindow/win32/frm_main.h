// The main window: the drive list with its LED strip, the command buttons,
// the status bar, the menus, the three timers and the notification-area icon.
// It turns messages into calls of the main-window logic and applies the
// values that logic computes.
#pragma once

#include <array>
#include <string>

#include "mainwindow/layout.h"
#include "mainwindow/main_view.h"
#include "platform/win32/handles.h"
#include "platform/win32/windows_api.h"

namespace kelvra {

struct Program;
class FrmSplash;

class FrmMain : public MainView {
  public:
    explicit FrmMain(Program& program);
    ~FrmMain() override;
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // Runs the load sequence; the window stays hidden (the caller shows it).
    bool Load(HINSTANCE instance);
    void Show();
    // Hidden start into the notification area (autostart with /stay).
    void StartInTray();
    // The window sees key presses before its controls; true when handled.
    bool PreTranslate(MSG& msg);
    HWND hwnd() const { return hwnd_; }

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

    // Public operations of the window.
    void SetWidthPos();
    void initlang();
    void setresize(bool allowResize);
    void savelistattrib(Settings& settings);
    void FrmOnMsg_Move();
    bool TrayIconSet(bool add);
    bool TrayIconCheck(bool noReadd);
    void SetTaskbarButton(bool on);
    void Unload();

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LedWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data);
    void TrackTipCell(int x, int y);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnResize(WPARAM state);
    void OnTimer(UINT_PTR id);
    void OnCommand(int id);
    LRESULT OnNotify(NMHDR* header);
    LRESULT OnListCustomDraw(NMLVCUSTOMDRAW* draw);
    LRESULT OnButtonCustomDraw(NMCUSTOMDRAW* draw);
    void OnDpiChanged(int dpi, const RECT* suggested);
    void OnTrayMessage(LPARAM message);
    void PaintLeds(HDC dc);
    void RunKey(KeyAction action);
    void RunCommand(Command command);
    void RestoreFromTray();
    void ShowContextMenu(int x, int y);
    void OpenHelp(const wchar_t* topic);
    void OpenDocument(const std::string& path);
    DriveIndex HitTestLetter(int x, int y);
    void SetDropHighlight(DriveIndex row);
    void OnDragMove(int x, int y);
    void EndDrag(bool dropped);

    void CreateFonts();
    void CreateLedIcons();
    void BuildMenu();
    void ComputeDesignSize();
    void ApplyRowImages();
    void FitListHeight();
    void ApplyListHeight();
    int ListInsideWidth();
    std::wstring CutCellText();
    void LayoutVertical();
    void LayoutStatusParts();
    void ApplyListStyles();
    void FitColumn(int column);
    void FitColumns();
    int WindowWidth() const;

    Program& program_;
    HWND hwnd_ = nullptr;
    HWND list_ = nullptr;  // lsvView
    HWND lastFocus_ = nullptr;
    int ledTopIndex_ = 0;  // the list's first visible row when the LEDs were last drawn  // the
                           // child that had the focus when the window lost it
    HWND leds_ = nullptr;  // fraLED
    std::array<HWND, kCommandCount> buttons_{};
    HWND status_ = nullptr;  // stbMain
    HMENU menu_ = nullptr;
    FrmSplash* splash_ = nullptr;

    win32::UniqueGdiObject font_;
    std::array<win32::UniqueIcon, 6> ledIcons_;  // picLEDbase
    HWND tooltip_ = nullptr;                     // a cut cell's whole text
    int tipCell_ = -1;                           // row * 4 + column under the pointer
    std::wstring tipText_;                       // what the tip shows, kept while it shows
    bool fittingHeight_ = false;
    bool listScrolls_ = false;  // the screen is too low for every row

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

    RowViews rows_{};
    bool showRowsDone_ = false;          // rows_ mirrors the list's texts
    std::array<bool, 4> fitWithRows_{};  // columns to fit when rows arrive
    CommandView commands_;
    StatusView status_texts_;
    bool buttonBarEnabled_ = true;
    bool busyCursor_ = false;
    bool resizeGuard_ = false;
    bool dragging_ = false;
    bool positioned_ = false;  // placed by the load; moves count from then on
    bool unloaded_ = false;
    UINT taskbarCreated_ = 0;
    std::array<UINT, 3> timerIntervals_{};
    std::array<bool, 3> timerEnabled_{};
};

}  // namespace kelvra
