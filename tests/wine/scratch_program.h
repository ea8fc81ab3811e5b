// A copy of Kelvra.exe in a scratch program folder with a settings file of
// the test's own. Whatever the test started is ended, and every drive letter
// defined while it ran is removed, when it is over, whether it passed or not.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "version.h"
#include "wine/e2e_support.h"

namespace kelvra::e2e {

inline const char kMainClass[] = "KelvraMainWindow";
inline const std::string kMainTitle = "Kelvra V" KELVRA_VERSION_TEXT;
constexpr int kListId = 100;
constexpr int kFirstButtonId = 110;  // + the command's number, New first
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr int kTypeColumn = 2;
constexpr int kPathColumn = 3;

inline std::string Letter(char letter) {
    return std::string(1, letter);
}
inline int Row(char letter) {
    return letter - 'A';
}
inline bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}
// Screenshots are taken only when a folder for them is named.
inline void Shot(const std::string& name) {
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("KELVRA_SHOT_DIR", folder, sizeof folder) || !folder[0]) return;
    EXPECT_TRUE(SaveScreenshot(std::string(folder) + "/" + name + ".png")) << name;
}

class ScratchProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        devices_ = std::make_unique<DosDeviceGuard>();
        folder_ = MakeScratchFolder("ctx");
        ASSERT_TRUE(CopyInto(BuildFolder() + "Kelvra.exe", folder_));
        // A popup opens with its corner at the pointer: kept there, the
        // pointer rests on the border and selects no item by itself.
        SetCursorPos(100, 100);
    }
    void TearDown() override {
        for (auto& process : processes_) End(*process);
        processes_.clear();
        RemoveTree(folder_);
        devices_.reset();
    }

    std::string Exe() const { return folder_ + "Kelvra.exe"; }
    std::string Ini() const { return folder_ + "kelvra.ini"; }
    std::string Setting(const std::string& key) const { return IniRead(Ini(), UserSection(), key); }
    void WriteSettings(const std::string& lines) const {
        WriteBytes(Ini(), "[" + UserSection() + "]\r\n" + lines);
    }

    // Starts Kelvra.exe with the arguments; null when it could not start.
    Process* Start(const std::string& arguments) {
        processes_.push_back(std::make_unique<Process>());
        Process* process = processes_.back().get();
        return process->Start(Exe(), arguments) ? process : nullptr;
    }

    // A plain start: the main window shown, with the rows of the first scan.
    bool Launch() {
        main_ = list_ = nullptr;
        // A Kelvra still saving from before would take the start over.
        if (!WaitUntil([] { return WindowsTitled("Kelvra V").empty(); })) return false;
        mainProcess_ = Start("");
        if (!mainProcess_) return false;
        main_ = WaitForVisibleWindow(mainProcess_->id(), kMainClass, "Kelvra V");
        if (!main_) return false;
        list_ = GetDlgItem(main_, kListId);
        return WaitUntil(
            [&] { return ListRowCount(list_) == 26 && !ListText(list_, 0, 0).empty(); });
    }
    // Closes the main window as the user does; true when the program then
    // ended normally.
    bool Close() {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        DWORD code = 1;
        return mainProcess_->Wait(kStateTimeout, &code) && code == 0;
    }
    std::string RowType(char letter) const { return ListText(list_, Row(letter), kTypeColumn); }

    std::string folder_;
    Process* mainProcess_ = nullptr;
    HWND main_ = nullptr, list_ = nullptr;

  private:
    static void End(Process& process) {
        if (!process.Running()) return;
        for (HWND hwnd : WindowsOf(process.id(), "Kelvra V")) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        if (!process.Wait(5000)) process.Kill();
    }

    std::unique_ptr<DosDeviceGuard> devices_;
    std::vector<std::unique_ptr<Process>> processes_;
};

}  // namespace kelvra::e2e
