// End-to-end tests of the real Kelvra.exe and kelvrashell.exe under Wine.
#include <cstdio>

#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class KelvraTest : public ScratchProgramTest {
  protected:
    // A plain start that shows the window, then a close like the user's.
    void StartAndClose(const std::string& arguments) { StartAndClose(Exe(), arguments); }
    void StartAndClose(const std::string& exe, const std::string& arguments) {
        Process* kelvra = Start(arguments, exe);
        ASSERT_NE(kelvra, nullptr);
        HWND window = WaitForWindow(kelvra->id(), "Kelvra V", kStateTimeout);
        ASSERT_NE(window, nullptr) << "no main window";
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(kelvra->Wait(kStateTimeout)) << "did not end after close";
    }
};

TEST_F(KelvraTest, AutostartRestoresStoredSubstDrivesAndEndsWithoutWindow) {
    const char active = FreeLetter('Y');
    const char disabled = FreeLetter(active - 1);
    ASSERT_NE(active, 0);
    ASSERT_NE(disabled, 0);
    const std::string data = MakeScratchFolder("data");
    const std::string target = data.substr(0, data.size() - 1);
    WriteSettings("SubstPath_" + Letter(active) + "=" + target + "\r\nSubstPath_" +
                  Letter(disabled) + "=!" + target + "\r\n");
    Process* kelvra = Start("/autostart");
    ASSERT_NE(kelvra, nullptr);
    DWORD code = 1;
    ASSERT_TRUE(kelvra->Wait(kStateTimeout, &code)) << "kept running";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WindowsOf(kelvra->id(), "Kelvra V").empty());

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
                                                            {"PermAutostartAdmin", "0"},
                                                            {"ShowHints", "111"},
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
    WriteBytes(Ini(), other + "[" + UserSection() +
                          "]\r\nDontShowBusySplash=1\r\nExpertMode=1\r\nGridLines=0\r\n");
    StartAndClose("");
    const std::string contents = ReadBytes(Ini());
    EXPECT_EQ(contents.substr(0, other.size()), other);
    EXPECT_EQ(IniRead(Ini(), UserSection(), "DontShowBusySplash"), "1");
    EXPECT_EQ(IniRead(Ini(), UserSection(), "ExpertMode"), "1");
    EXPECT_EQ(IniRead(Ini(), UserSection(), "GridLines"), "0");  // read, kept, written
    EXPECT_EQ(IniRead(Ini(), UserSection(), "ShowLEDs"), "1");
}

TEST_F(KelvraTest, SecondPlainStartBringsTheFirstForwardAndEnds) {
    WriteBytes(Ini(), "");
    Process* first = Start("");
    ASSERT_NE(first, nullptr);
    HWND window = WaitForWindow(first->id(), "Kelvra V", kStateTimeout);
    ASSERT_NE(window, nullptr);
    // The version in the title is read back from the file's version resource.
    EXPECT_EQ(WindowTitle(window), kMainTitle);
    ShowWindow(window, SW_MINIMIZE);
    Process* second = Start("");
    ASSERT_NE(second, nullptr);
    DWORD code = 1;
    ASSERT_TRUE(second->Wait(kStateTimeout, &code)) << "second instance kept running";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WindowsOf(second->id(), "Kelvra V").empty());
    EXPECT_EQ(WindowsTitled("Kelvra V").size(), 1u);
    EXPECT_FALSE(IsIconic(window)) << "the first window was not shown again";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first->Wait(kStateTimeout));
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
    WriteSettings(c.settings);
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

// kelvrashell.exe beside a stand-in for Kelvra that writes down the command
// line it was given.
class LauncherTest : public ScratchProgramTest {
  protected:
    void SetUp() override {
        ScratchProgramTest::SetUp();
        ASSERT_TRUE(CopyInto(BuildFolder() + "kelvrashell.exe", folder_));
        ASSERT_TRUE(CopyInto(BuildFolder() + "cmdline_recorder.exe", folder_, "Kelvra.exe"));
    }
};

TEST_F(LauncherTest, CutStartsKelvraWithTheSameCommandLine) {
    for (const std::string arguments : {"/cut=\"X:\\\"", "/CUT=\"K:\\\" extra"}) {
        DeleteFileA((folder_ + "recorded.txt").c_str());
        Process shell;
        ASSERT_TRUE(shell.Start(folder_ + "kelvrashell.exe", arguments));
        ASSERT_TRUE(shell.Wait(kStateTimeout));
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
        HWND box = WaitForBox(shell.id(), "kelvrashell", kStateTimeout);
        ASSERT_NE(box, nullptr) << "no box with a title and a text";
        EXPECT_EQ(WindowTitle(box), "kelvrashell");
        EXPECT_EQ(LongWindowText(GetDlgItem(box, kMessageBoxTextId)),
                  "Shell Context Extension for Win 98/Win ME");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(shell.Wait(kStateTimeout));
        // A started stand-in would write its file at once; give it a moment.
        EXPECT_FALSE(WaitUntil([&] { return FileThere(folder_ + "recorded.txt"); }, 1000));
    }
}

}  // namespace
}  // namespace kelvra::e2e
