// What the main-window logic needs of the window itself, and the plain values
// it hands the window to show. FrmMain implements MainView on Win32; native
// tests fake it. The logic computes every text, colour and enabled state; the
// view only applies them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "drives/drive_tables.h"
#include "mainwindow/main_state.h"
#include "startup/settings.h"

namespace kelvra {

// Text colours as 0xRRGGBB.
namespace colour {
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kLightGrey = 0xE0E0E0;
}  // namespace colour

// The LED images: 0 grey (free), 1 red (inactive; busy), 2 green (active;
// ready), 3 cyan (not managed), 4 blue (conflict), 5 yellow (unused by the list).
enum class Led : int { Grey = 0, Red = 1, Green = 2, Cyan = 3, Blue = 4, Yellow = 5 };

// One list row as shown: the four column texts, their text colours, the LED.
struct RowView {
    std::wstring texts[4];  // drive (+ label part), permanent, type, path
    uint32_t colours[4] = {colour::kBlack, colour::kBlack, colour::kBlack, colour::kBlack};
    Led led = Led::Grey;
    bool operator==(const RowView& o) const;
};
using RowViews = std::array<RowView, kDriveRows>;  // rows 1..26 are used

// Enabled state, caption and face colour of every command button. A face of
// kButtonFace means the system's normal button colour.
constexpr uint32_t kButtonFace = 0xFFFFFFFFu;
struct CommandView {
    std::array<bool, kCommandCount> enabled{};
    std::array<std::wstring, kCommandCount> captions;
    std::array<uint32_t, kCommandCount> faces{kButtonFace, kButtonFace, kButtonFace, kButtonFace,
                                              kButtonFace, kButtonFace, kButtonFace, kButtonFace};
};

// The five status-bar panels and the caption of the path column.
struct StatusView {
    std::array<std::wstring, 5> panels;
    std::wstring pathCaption;
};

// The busy indicator's modes.
enum class BusyMode { Init, On, Off };

// Every call but SelectedRow does nothing unless a view overrides it, so a
// view without a window need not spell out what it does not show.
class MainView {
  public:
    virtual ~MainView() = default;
    // DriveIndex (1..26) of the list's selected row; 0 when none is selected.
    virtual DriveIndex SelectedRow() = 0;
    virtual void SelectRow(DriveIndex /*index*/) {}
    virtual void FocusList() {}
    // Applies the rows (1..26), then sizes the columns to their contents when
    // autoSize (resizing not allowed).
    virtual void ShowRows(const RowViews& /*rows*/, bool /*autoSize*/) {}
    virtual void ShowCommands(const CommandView& /*commands*/) {}
    virtual void ShowStatus(const StatusView& /*status*/) {}
    // Ready LED, hourglass and, for Init and the Off after it, the splash;
    // lets pending window messages run so the change is painted at once.
    virtual void ShowBusy(BusyMode /*mode*/) {}
    // The button bar as a whole (disabled while a command runs).
    virtual void EnableButtonBar(bool /*enabled*/) {}
    // The menu bar's two menus (disabled while a move is pending).
    virtual void EnableMenus(bool /*enabled*/) {}
    // The list layout as the user arranged it, for a save; none without a list.
    virtual std::optional<ListLayout> CaptureLayout() { return std::nullopt; }

    // Settings changed while the window is open (the configuration window):
    // LED strip and button bar shown per ShowLEDs and ShowButtons, the parts
    // laid out again, columns fitted when resizing is not allowed.
    virtual void ApplyLayout() {}
    virtual void ApplyGridLines() {}
    // The resize permission per AllowResize: back to the designed size when
    // it was turned off, the stored column layout when it was turned on.
    virtual void ApplyResizePolicy() {}
    // The notification-area check (every 5 s) on or off.
    virtual void SetTrayTimer(bool /*on*/) {}
    // Menu, column and button texts from the current text table.
    virtual void ApplyLanguage() {}
    // A call that makes the window run ShowDriveAnswers soon, on its own
    // thread. It may be called from any thread, at any time, also after the
    // window is gone. None (the default): the view cannot be woken, and
    // the list asks every drive at once, as a list without worker threads.
    virtual std::function<void()> AnswerWaker() { return {}; }
};

// Stands in where there is no main window (a run that never loads it, or
// after it closed): shows nothing, and its selected row is the one the
// logic holds.
class NullMainView : public MainView {
  public:
    explicit NullMainView(const DriveIndex& selected) : selected_(selected) {}
    DriveIndex SelectedRow() override { return selected_; }

  private:
    const DriveIndex& selected_;
};

}  // namespace kelvra
