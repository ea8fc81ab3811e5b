// A MainView for native tests: records what the logic applied and plays the
// list's selection.
#pragma once

#include <functional>
#include <vector>

#include "mainwindow/main_view.h"
#include "startup/settings.h"

namespace kelvra::sim {

class FakeMainView : public MainView {
  public:
    DriveIndex selected = 0;
    RowViews rows{};
    bool autoSized = false;
    int showRowsCalls = 0;
    CommandView commands;
    int showCommandsCalls = 0;
    StatusView status;
    std::vector<BusyMode> busy;
    std::vector<bool> buttonBar;  // every EnableButtonBar call
    bool menusEnabled = true;
    int focusCalls = 0;
    // Run by CaptureLayout, when set.
    std::function<void(Settings&)> layout;

    DriveIndex SelectedRow() override { return selected; }
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
    void ShowBusy(BusyMode mode) override { busy.push_back(mode); }
    void EnableButtonBar(bool enabled) override { buttonBar.push_back(enabled); }
    void EnableMenus(bool enabled) override { menusEnabled = enabled; }
    void CaptureLayout(Settings& settings) override {
        if (layout) layout(settings);
    }
    int applyLayoutCalls = 0, gridLineCalls = 0, resizePolicyCalls = 0, languageCalls = 0;
    std::vector<bool> trayTimer;  // every SetTrayTimer call
    void ApplyLayout() override { ++applyLayoutCalls; }
    void ApplyGridLines() override { ++gridLineCalls; }
    void ApplyResizePolicy() override { ++resizePolicyCalls; }
    void SetTrayTimer(bool on) override { trayTimer.push_back(on); }
    void ApplyLanguage() override { ++languageCalls; }
};

}  // namespace kelvra::sim
