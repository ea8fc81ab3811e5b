// A copy of Kelvra.exe in a scratch program folder with a settings file of
// the test's own. Whatever the test started is ended, and every drive letter
// defined while it ran is removed, when it is over, whether it passed or not.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/win32/main_ids.h"
#include "version.h"
#include "wine/e2e_support.h"

namespace kelvra::e2e {

inline const std::string kMainClass = Utf8(kMainClassName);
inline const std::string kMainTitle = "Kelvra V" KELVRA_VERSION_TEXT;
// Windows of the program that the tests drive, beside the main window.
inline const char kSplashClass[] = "KelvraSplash";
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr int kHintTextId = 101, kHintCheckId = 102;
enum InfoId : int { kInfoTitle = 101, kInfoNotice, kInfoPack, kInfoPackAuthor, kInfoWebsite };
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
inline POINT Centre(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
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
        folder_ = MakeScratchFolder("prog");
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
    // A shipped language pack in the program's "languages" folder.
    bool AddPack(const std::string& file) const {
        CreateDirectoryA((folder_ + "languages").c_str(), nullptr);
        return CopyInto(SourcePath("languages/" + file), folder_ + "languages\\");
    }

    // Starts the program (the scratch copy unless `exe` names another);
    // null when it could not start.
    Process* Start(const std::string& arguments, const std::string& exe = "") {
        processes_.push_back(std::make_unique<Process>());
        Process* process = processes_.back().get();
        return process->Start(exe.empty() ? Exe() : exe, arguments) ? process : nullptr;
    }

    // A plain start: the main window shown, with the rows of the first scan.
    bool Launch(const std::string& exe = "") {
        return LaunchWindow(exe) && WaitUntil([&] {
                   return ListRowCount(list_) == 26 && !ListText(list_, 0, 0).empty();
               });
    }
    // Only up to the visible main window: a 32-bit program's list rows
    // cannot be read from this 64-bit driver (the item record differs).
    bool LaunchWindow(const std::string& exe = "") {
        main_ = list_ = status_ = nullptr;
        // A Kelvra still saving from before would take the start over.
        if (!WaitUntil([] { return WindowsTitled("Kelvra V").empty(); })) {
            ADD_FAILURE() << "another Kelvra window is still open";
            return false;
        }
        mainProcess_ = Start("", exe);
        if (!mainProcess_) return false;
        main_ = WaitForVisibleWindow(Pid(), kMainClass, "Kelvra V");
        if (!main_) return false;
        list_ = GetDlgItem(main_, kIdList);
        status_ = GetDlgItem(main_, kIdStatus);
        return true;
    }
    // Closes the main window as the user does; true when the program then
    // ended normally.
    bool Close() {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        DWORD code = 1;
        return mainProcess_->Wait(kStateTimeout, &code) && code == 0;
    }
    DWORD Pid() const { return mainProcess_->id(); }

    std::string RowText(char letter, int column = 0) const {
        return ListText(list_, Row(letter), column);
    }
    bool WaitForRow(char letter, int column, const std::function<bool(const std::string&)>& ok,
                    DWORD milliseconds = kStateTimeout) const {
        return WaitUntil([&] { return ok(RowText(letter, column)); }, milliseconds, 100);
    }
    // Selects the letter's row with the list focused, as the arrow keys would.
    bool Select(char letter) {
        return FocusControl(main_, list_) && SelectListRow(list_, Row(letter));
    }
    bool Press(char letter, WORD key, std::initializer_list<WORD> modifiers = {}) {
        return Select(letter) && PressKey(key, modifiers);
    }
    // Returns once the program takes messages again: a command it runs has
    // ended or waits in a box of its own. Once a dialog has closed, the
    // command goes on at once, so its next box (if any) is open by then.
    void Settle() const {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStateTimeout, &result);
    }

    std::string folder_;
    Process* mainProcess_ = nullptr;
    HWND main_ = nullptr, list_ = nullptr, status_ = nullptr;

  private:
    // Ends the program however it stands: boxes a failed test left open are
    // cancelled first (the chooser and every box of ours take Cancel), and
    // other windows closed, so the close can save.
    static void End(Process& process) {
        if (!process.Running()) return;
        WaitUntil([&] {
            bool open = false;
            for (HWND window : VisibleWindowsOf(process.id(), "", "")) {
                const std::string cls = ClassOf(window);
                if (cls == kMainClass || cls == "#32768") continue;
                open = true;
                if (cls == "#32770")
                    PressDialogButton(window, IDCANCEL);
                else
                    PostMessageW(window, WM_CLOSE, 0, 0);
            }
            return !open;
        });
        for (HWND hwnd : WindowsOf(process.id(), "Kelvra V")) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        if (!process.Wait(kStateTimeout)) process.Kill();
    }

    std::unique_ptr<DosDeviceGuard> devices_;
    std::vector<std::unique_ptr<Process>> processes_;
};

}  // namespace kelvra::e2e
