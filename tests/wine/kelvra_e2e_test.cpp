// End-to-end tests of the real Kelvra.exe and kelvrashell.exe under Wine.
#include <gtest/gtest.h>

#include <cstdio>

#include "version.h"
#include "wine/e2e_support.h"

namespace kelvra::e2e {
namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const DWORD kStartTimeout = 15000;

// A program folder holding a copy of Kelvra.exe, removed after the test.
class KelvraTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = MakeScratchFolder("prog");
        ASSERT_TRUE(CopyInto(BuildFolder() + "Kelvra.exe", folder_));
    }
    void TearDown() override {
        for (HWND hwnd : WindowsTitled("Kelvra V")) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
        }
        Sleep(200);
        RemoveTree(folder_);
    }
    std::string Exe() const { return folder_ + "Kelvra.exe"; }
    std::string SharedIni() const { return folder_ + "kelvra.ini"; }

    // A plain start that shows the window, then a close like the user's.
    void StartAndClose(const std::string& arguments) { StartAndClose(Exe(), arguments); }
    void StartAndClose(const std::string& exe, const std::string& arguments) {
        Process kelvra;
        ASSERT_TRUE(kelvra.Start(exe, arguments));
        HWND window = WaitForWindow(kelvra.id(), "Kelvra V", kStartTimeout);
        ASSERT_NE(window, nullptr) << "no main window";
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(kelvra.Wait(kStartTimeout)) << "did not end after close";
    }

    std::string folder_;
};

TEST_F(KelvraTest, AutostartRestoresStoredSubstDrivesAndEndsWithoutWindow) {
    const char active = FreeLetter('Y');
    const char disabled = FreeLetter(active - 1);
    ASSERT_NE(active, 0);
    ASSERT_NE(disabled, 0);
    const std::string data = MakeScratchFolder("data");
    const std::string target = data.substr(0, data.size() - 1);
    WriteBytes(SharedIni(), "[" + UserSection() + "]\r\nSubstPath_" + std::string(1, active) + "=" +
                                target + "\r\nSubstPath_" + std::string(1, disabled) + "=!" +
                                target + "\r\n");
    Process kelvra;
    ASSERT_TRUE(kelvra.Start(Exe(), "/autostart"));
    DWORD code = 1;
    ASSERT_TRUE(kelvra.Wait(kStartTimeout, &code)) << "kept running";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WindowsOf(kelvra.id(), "Kelvra V").empty());

    char answer[MAX_PATH] = {};
    const std::string activeDevice = std::string(1, active) + ":";
    const std::string disabledDevice = std::string(1, disabled) + ":";
    ASSERT_GT(QueryDosDeviceA(activeDevice.c_str(), answer, MAX_PATH), 0u);
    EXPECT_EQ(std::string(answer), "\\??\\" + target);
    EXPECT_EQ(QueryDosDeviceA(disabledDevice.c_str(), answer, MAX_PATH), 0u);
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, activeDevice.c_str(), nullptr);
    RemoveTree(data);
}

TEST_F(KelvraTest, FirstSaveWritesEverySettingWithItsDefault) {
    const std::string appData = MakeScratchFolder("appdata");
    AppDataRedirect redirect(appData.substr(0, appData.size() - 1));
    StartAndClose("");
    const std::string ini = appData + "Brannock\\Kelvra\\kelvra.ini";
    ASSERT_TRUE(FileThere(ini));
    const std::string section = UserSection();
    EXPECT_NE(ReadBytes(ini).find("[" + section + "]"), std::string::npos);
    const std::pair<const char*, const char*> defaults[] = {{"MinimizeToSystray", "0"},
                                                            {"AllowResize", "0"},
                                                            {"GridLines", "1"},
                                                            {"ShowLEDs", "1"},
                                                            {"ShowButtons", "1"},
                                                            {"ShowDrivelabels", "1"},
                                                            {"ShowDrivelabelA", "0"},
                                                            {"ShowDrivelabelB", "0"},
                                                            {"ShowFilesystem", "0"},
                                                            {"AutostartStay", "0"},
                                                            {"PermAutostart", "0"},
                                                            {"ShowHints", "11"},
                                                            {"LastPos", "<center>"},
                                                            {"ColumnOrder", "1/2/3/4"},
                                                            {"ShowDeviceNames", "0"},
                                                            {"ShowWarnings", "1"},
                                                            {"SubstDefaultPermanent", "1"},
                                                            {"SubstPermanentLink", "0"},
                                                            {"NetDefaultPermanent", "1"},
                                                            {"NetPermanentLink", "0"},
                                                            {"ShowWarningsSCE", "1"},
                                                            {"SubstDefaultPermanentSCE", "1"},
                                                            {"SubstPermanentLinkSCE", "0"},
                                                            {"NetDefaultPermanentSCE", "1"},
                                                            {"NetPermanentLinkSCE", "0"},
                                                            {"Language", "Deutsch"}};
    for (const auto& [key, value] : defaults) EXPECT_EQ(IniRead(ini, section, key), value) << key;
    // The layout is saved as the window showed it: fitted columns, design width.
    unsigned widths[4] = {}, windowWidth = 0;
    char rest = 0;
    EXPECT_EQ(sscanf(IniRead(ini, section, "ColumnWidth").c_str(), "%u/%u/%u/%u%c", &widths[0],
                     &widths[1], &widths[2], &widths[3], &rest),
              4)
        << IniRead(ini, section, "ColumnWidth");
    for (unsigned w : widths) EXPECT_GT(w, 0u);
    EXPECT_EQ(sscanf(IniRead(ini, section, "WindowWidth").c_str(), "%u%c", &windowWidth, &rest), 1)
        << IniRead(ini, section, "WindowWidth");
    EXPECT_GT(windowWidth, 0u);
    // Never written by the program.
    EXPECT_EQ(IniRead(ini, section, "DontShowBusySplash"), "<missing>");
    EXPECT_EQ(IniRead(ini, section, "ExpertMode"), "<missing>");
    RemoveTree(appData);
}

TEST_F(KelvraTest, SaveKeepsHandAddedLinesAndOtherUsersSections) {
    const std::string other = "[USER=SOMEBODY ELSE]\r\nGridLines=0\r\nSubstPath_K=C:\\Theirs\r\n";
    WriteBytes(SharedIni(), other + "[" + UserSection() +
                                "]\r\nDontShowBusySplash=1\r\nExpertMode=1\r\nGridLines=0\r\n");
    StartAndClose("");
    const std::string contents = ReadBytes(SharedIni());
    EXPECT_EQ(contents.substr(0, other.size()), other);
    EXPECT_EQ(IniRead(SharedIni(), UserSection(), "DontShowBusySplash"), "1");
    EXPECT_EQ(IniRead(SharedIni(), UserSection(), "ExpertMode"), "1");
    EXPECT_EQ(IniRead(SharedIni(), UserSection(), "GridLines"), "0");  // read, kept, written
    EXPECT_EQ(IniRead(SharedIni(), UserSection(), "ShowLEDs"), "1");
}

TEST_F(KelvraTest, SecondPlainStartBringsTheFirstForwardAndEnds) {
    WriteBytes(SharedIni(), "");
    Process first;
    ASSERT_TRUE(first.Start(Exe(), ""));
    HWND window = WaitForWindow(first.id(), "Kelvra V", kStartTimeout);
    ASSERT_NE(window, nullptr);
    // The version in the title is read back from the file's version resource.
    EXPECT_EQ(WindowTitle(window), "Kelvra V" KELVRA_VERSION_TEXT);
    ShowWindow(window, SW_MINIMIZE);
    Process second;
    ASSERT_TRUE(second.Start(Exe(), ""));
    DWORD code = 1;
    ASSERT_TRUE(second.Wait(kStartTimeout, &code)) << "second instance kept running";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WindowsOf(second.id(), "Kelvra V").empty());
    EXPECT_EQ(WindowsTitled("Kelvra V").size(), 1u);
    EXPECT_FALSE(IsIconic(window)) << "the first window was not shown again";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.Wait(kStartTimeout));
}

struct RunCase {
    const char* name;
    const char* settings;
    const char* suffix;  // expected after the quoted program path; nullptr: no value
};

class RunValue : public KelvraTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(RunValue, FollowsTheSettingsWhenLocal) {
    const RunCase& c = GetParam();
    RegistryValueGuard guard(HKEY_CURRENT_USER, kRunKey, "Kelvra");
    SetRegString(HKEY_CURRENT_USER, kRunKey, "Kelvra", "before");
    WriteBytes(SharedIni(), "[" + UserSection() + "]\r\n" + c.settings);
    StartAndClose("/local");
    std::string value;
    bool present = GetRegString(HKEY_CURRENT_USER, kRunKey, "Kelvra", value);
    if (c.suffix) {
        EXPECT_EQ(value, "\"" + Exe() + "\"" + c.suffix);
    } else {
        EXPECT_FALSE(present) << value;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RunValue,
    ::testing::Values(RunCase{"PermAutostart", "PermAutostart=1\r\n", " /autostart"},
                      RunCase{"PermAutostartStay", "PermAutostart=1\r\nAutostartStay=1\r\n",
                              " /autostart /stay"},
                      RunCase{"Off", "PermAutostart=0\r\n", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KelvraTest, RunValueIsNeverTouchedOffALocalDisk) {
    // The test prefix has a removable drive R: backed by a folder of the build.
    ASSERT_EQ(GetDriveTypeA("R:\\"), static_cast<UINT>(DRIVE_REMOVABLE))
        << "the test prefix has no removable drive R: (set up by scripts/lib.sh)";
    const std::string removable = "R:\\kelvra-e2e-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(removable.substr(0, removable.size() - 1).c_str(), nullptr);
    ASSERT_TRUE(CopyInto(BuildFolder() + "Kelvra.exe", removable));
    WriteBytes(removable + "kelvra.ini", "[" + UserSection() + "]\r\nPermAutostart=1\r\n");
    RegistryValueGuard guard(HKEY_CURRENT_USER, kRunKey, "Kelvra");
    const char* const befores[] = {"sentinel", nullptr};
    for (const char* before : befores) {
        if (before)
            SetRegString(HKEY_CURRENT_USER, kRunKey, "Kelvra", before);
        else
            DeleteRegValue(HKEY_CURRENT_USER, kRunKey, "Kelvra");
        StartAndClose(removable + "Kelvra.exe", "");
        if (HasFatalFailure()) return;
        std::string value;
        bool present = GetRegString(HKEY_CURRENT_USER, kRunKey, "Kelvra", value);
        EXPECT_EQ(present, before != nullptr);
        if (before) {
            EXPECT_EQ(value, before);
        }
    }
    EXPECT_EQ(IniRead(removable + "kelvra.ini", UserSection(), "PermAutostart"), "1");  // saved
    RemoveTree(removable);
}

class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = MakeScratchFolder("shell");
        ASSERT_TRUE(CopyInto(BuildFolder() + "kelvrashell.exe", folder_));
        // A stand-in for Kelvra that writes down the command line it was given.
        ASSERT_TRUE(CopyInto(BuildFolder() + "cmdline_recorder.exe", folder_, "Kelvra.exe"));
    }
    void TearDown() override { RemoveTree(folder_); }
    std::string folder_;
};

TEST_F(LauncherTest, CutStartsKelvraWithTheSameCommandLine) {
    for (const std::string arguments : {"/cut=\"X:\\\"", "/CUT=\"K:\\\" extra"}) {
        DeleteFileA((folder_ + "recorded.txt").c_str());
        Process shell;
        ASSERT_TRUE(shell.Start(folder_ + "kelvrashell.exe", arguments));
        ASSERT_TRUE(shell.Wait(kStartTimeout));
        std::string recorded;
        for (int i = 0; i < 100 && recorded.empty(); ++i) {
            Sleep(50);
            recorded = ReadBytes(folder_ + "recorded.txt");
        }
        EXPECT_EQ(recorded, arguments);
    }
}

TEST_F(LauncherTest, WithoutCutItShowsItsBoxAndStartsNothing) {
    for (const std::string arguments : {"", "/set=\"C:\\Data\""}) {
        SCOPED_TRACE("arguments '" + arguments + "'");
        Process shell;
        ASSERT_TRUE(shell.Start(folder_ + "kelvrashell.exe", arguments));
        HWND box = WaitForBox(shell.id(), "kelvrashell", kStartTimeout);
        ASSERT_NE(box, nullptr) << "no box with a title and a text";
        EXPECT_EQ(WindowTitle(box), "kelvrashell");
        EXPECT_EQ(LongWindowText(GetDlgItem(box, kMessageBoxTextId)),
                  "Shell Context Extension for Win 98/Win ME");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(shell.Wait(kStartTimeout));
        // A started stand-in would write its file at once; give it a moment.
        EXPECT_FALSE(WaitUntil([&] { return FileThere(folder_ + "recorded.txt"); }, 1000));
    }
}

}  // namespace
}  // namespace kelvra::e2e
