// A MainView for native tests: records what the logic applied and plays the
// list's selection.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
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

    // Made wakeable like the window (Wakeable()): the wake calls are
    // counted, from whatever thread they come.
    struct Wakes {
        std::mutex mutex;
        std::condition_variable cv;
        int count = 0;
    };
    std::shared_ptr<Wakes> wakes;
    void Wakeable() { wakes = std::make_shared<Wakes>(); }
    std::function<void()> AnswerWaker() override {
        if (!wakes) return {};
        return [w = wakes] {
            std::lock_guard<std::mutex> lock(w->mutex);
            ++w->count;
            w->cv.notify_all();
        };
    }
    // Waits (at most 10 s) until the view was woken `count` times in all.
    bool AwaitWakes(int count) {
        std::unique_lock<std::mutex> lock(wakes->mutex);
        return wakes->cv.wait_for(lock, std::chrono::seconds(10),
                                  [&] { return wakes->count >= count; });
    }
};

}  // namespace kelvra::sim
