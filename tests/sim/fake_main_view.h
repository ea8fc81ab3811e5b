// A MainView for native tests: records what the logic applied and plays the
// list's selection.
#pragma once

#include <optional>
#include <vector>

#include "mainwindow/main_view.h"

namespace kelvra::sim {

class FakeMainView : public NullMainView {
  public:
    FakeMainView() : NullMainView(selected) {}

    DriveIndex selected = 0;
    RowViews rows{};
    bool autoSized = false;
    int showRowsCalls = 0;
    CommandView commands;
    int showCommandsCalls = 0;
    StatusView status;
    // What the user sees of the busy state: indicator, button bar, focus.
    bool busyShown = false;
    bool buttonBarEnabled = true;
    int focusCalls = 0;
    bool menusEnabled = true;
    // Handed to every save, when set.
    std::optional<ListLayout> layout;

    void SelectRow(DriveIndex index) override { selected = index; }
    void FocusList() override { ++focusCalls; }
    void ShowRows(const RowViews& r, bool autoSize) override {
        rows = r;
        autoSized = autoSize;
        ++showRowsCalls;
    }
    void ShowCommands(const CommandView& c) override {
        commands = c;
        ++showCommandsCalls;
    }
    void ShowStatus(const StatusView& s) override { status = s; }
    void ShowBusy(BusyMode mode) override { busyShown = mode != BusyMode::Off; }
    void EnableButtonBar(bool enabled) override { buttonBarEnabled = enabled; }
    void EnableMenus(bool enabled) override { menusEnabled = enabled; }
    std::optional<ListLayout> CaptureLayout() override { return layout; }
    int applyLayoutCalls = 0, gridLineCalls = 0, resizePolicyCalls = 0, languageCalls = 0;
    std::vector<bool> trayTimer;  // every SetTrayTimer call
    void ApplyLayout() override { ++applyLayoutCalls; }
    void ApplyGridLines() override { ++gridLineCalls; }
    void ApplyResizePolicy() override { ++resizePolicyCalls; }
    void SetTrayTimer(bool on) override { trayTimer.push_back(on); }
    void ApplyLanguage() override { ++languageCalls; }
};

}  // namespace kelvra::sim
