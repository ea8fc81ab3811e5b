#include "startup/startup.h"

#include <gtest/gtest.h>

#include "platform/inireg.h"
#include "unit/test_machine.h"

namespace kelvra {
namespace {

using test::TestMachine;

const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* kSharedIni = "C:\\Program Files\\Kelvra\\kelvra.ini";
const char* kUserFolder = "C:\\Documents and Settings\\Tester\\Application Data\\Brannock\\Kelvra";

struct VersionCase {
    uint32_t platform, major, minor;
    const wchar_t* refusal;  // nullptr: the program runs
};

class StartupVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(StartupVersion, RefusesOnly95AndOldNt) {
    const VersionCase& c = GetParam();
    TestMachine m;
    m.sim.SetVersion(c.major, c.minor, 1000, c.platform);
    Dispatch d = RunStartup(m.program);
    if (c.refusal) {
        EXPECT_EQ(d, Dispatch::End);
        ASSERT_EQ(m.ui.Boxes().size(), 1u);
        EXPECT_EQ(m.ui.Boxes()[0].text, c.refusal);
        EXPECT_EQ(m.ui.Boxes()[0].style & 0xF0, mb::kIconCritical);
        // Nothing else ran: no settings folder was made.
        EXPECT_FALSE(m.sim.PathExists(kUserFolder));
    } else {
        EXPECT_EQ(d, Dispatch::MainWindow);
        EXPECT_TRUE(m.ui.Boxes().empty());
        EXPECT_EQ(m.program.startup.IsWin9x, c.platform == kPlatformWindows);
        EXPECT_EQ(m.program.startup.IsNT, c.platform != kPlatformWindows);
        EXPECT_EQ(m.program.startup.NetworkKeyPrefix,
                  c.platform == kPlatformWindows ? "Network\\Persistent\\" : "Network\\");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, StartupVersion,
    ::testing::Values(VersionCase{kPlatformWindows, 4, 0, L"Windows 95 is not supported!"},
                      VersionCase{kPlatformNt, 4, 0, L"Windows NT 4.0 is not supported!"},
                      VersionCase{kPlatformNt, 3, 51, L"Windows NT 3.51 is not supported!"},
                      VersionCase{kPlatformWindows, 4, 10, nullptr},  // 98
                      VersionCase{kPlatformWindows, 4, 90, nullptr},  // ME
                      VersionCase{kPlatformNt, 5, 0, nullptr},        // 2000
                      VersionCase{kPlatformNt, 10, 0, nullptr}));

TEST(Startup, FillsVersionUserAndFolders) {
    TestMachine m;
    m.sim.SetUserName("Jörg");
    RunStartup(m.program);
    const StartupState& s = m.program.startup;
    EXPECT_EQ(s.ApplicationVersion, "2.3.19");  // major.minor.revision of 2.3.0.19
    EXPECT_EQ(s.User, "Jörg");
    EXPECT_EQ(s.ApplicationPath, "C:\\Program Files\\Kelvra\\");
    EXPECT_EQ(s.AppDataPath, TestMachine::kAppData);
    EXPECT_EQ(s.HintCount, 3);
}

TEST(Startup, UsesProgramFolderFileFirst) {
    TestMachine m;
    m.sim.AddFile(kSharedIni, "[USER=TESTER]\r\nGridLines=0\r\n");
    m.sim.AddFile(TestMachine::kUserIni, "[USER=TESTER]\r\nGridLines=1\r\n");
    RunStartup(m.program);
    EXPECT_EQ(m.program.startup.IniFilePath, kSharedIni);
    EXPECT_TRUE(m.program.startup.GlobalINI);
    EXPECT_FALSE(m.program.startup.NoINIAtStart);
    EXPECT_FALSE(m.program.settings.GridLines);
}

TEST(Startup, FallsBackToApplicationDataAndMakesItsFolders) {
    TestMachine m;
    RunStartup(m.program);
    EXPECT_EQ(m.program.startup.IniFilePath, TestMachine::kUserIni);
    EXPECT_FALSE(m.program.startup.GlobalINI);
    EXPECT_TRUE(m.program.startup.NoINIAtStart);
    EXPECT_TRUE(DirExists(m.sim, kUserFolder));
    EXPECT_FALSE(m.sim.PathExists(TestMachine::kUserIni));  // the first save makes it
}

TEST(Startup, GlobalProfileComesOnlyFromTheProgramFolderFile) {
    TestMachine perUser;
    perUser.sim.AddFolder(kUserFolder);
    perUser.sim.AddFile(TestMachine::kUserIni, "[GLOBAL]\r\ndontusepersonalprofile=1\r\n");
    RunStartup(perUser.program);
    EXPECT_FALSE(perUser.program.startup.GlobalProfile);
    EXPECT_EQ(perUser.program.startup.User, "Tester");

    TestMachine shared;
    shared.sim.AddFile(kSharedIni, "[GLOBAL]\r\ndontusepersonalprofile=1\r\nGridLines=0\r\n");
    RunStartup(shared.program);
    EXPECT_TRUE(shared.program.startup.GlobalProfile);
    EXPECT_EQ(shared.program.startup.User, "<Global>");
    EXPECT_FALSE(shared.program.settings.GridLines);  // read from section GLOBAL
    // Both from the one read of the file, not key by key.
    for (TestMachine* m : {&perUser, &shared}) {
        EXPECT_EQ(m->sim.Calls("GetPrivateProfileString"), 0);
        EXPECT_EQ(m->sim.Calls("ReadFileStatus"), 1);
    }
}

TEST(Startup, UnreadableAppDataGivesABackslash) {
    TestMachine m;
    RegKey key = 0;
    ASSERT_EQ(m.sim.RegOpenKeyEx(kHkeyCurrentUser, kShellFolders, 0x3F, key), 0);
    m.sim.RegDeleteValue(key, "AppData");
    m.sim.RegCloseKey(key);
    EXPECT_EQ(RunStartup(m.program), Dispatch::MainWindow);
    EXPECT_EQ(m.program.startup.AppDataPath, "\\");
    EXPECT_EQ(m.program.startup.IniFilePath, "\\Brannock\\Kelvra\\kelvra.ini");
}

TEST(Startup, GoesOnWhenTheSettingsFolderCannotBeMade) {
    TestMachine m;
    m.sim.SetFolderReadOnly(TestMachine::kAppData);
    EXPECT_EQ(RunStartup(m.program), Dispatch::MainWindow);
    EXPECT_FALSE(m.sim.PathExists(kUserFolder));
    EXPECT_TRUE(m.program.settings.GridLines);  // defaults
    SaveSettings(m.program);
    EXPECT_EQ(m.program.startup.LastStatus, kIniFailed);
    EXPECT_FALSE(m.sim.PathExists(TestMachine::kUserIni));
}

TEST(Startup, SecondPlainStartBringsTheFirstWindowForward) {
    TestMachine m;
    m.sim.AddTopWindow(0x10, "Untitled - Notepad", 7, "notepad.exe");
    m.sim.AddTopWindow(0x20, "Kelvra V2.3.19", 8);
    m.sim.AddTopWindow(0x30, "Kelvra V2.3.19 - Info", 8);
    EXPECT_EQ(RunStartup(m.program), Dispatch::End);
    EXPECT_EQ(m.sim.ActivatedWindows(), std::vector<std::uintptr_t>{0x20});
}

TEST(Startup, AutostartWithAWindowOpenOnlyActivates) {
    TestMachine m;
    m.sim.AddFolder("C:\\Data");
    m.sim.AddFile(TestMachine::kUserIni, "[USER=TESTER]\r\nSubstPath_D=C:\\Data\r\n");
    m.sim.AddTopWindow(0x20, "Kelvra V2.3.19", 8);
    m.sim.SetCommandLine("/autostart");
    EXPECT_EQ(RunStartup(m.program), Dispatch::End);
    EXPECT_TRUE(m.sim.DosDeviceTargets('D').empty());
    EXPECT_EQ(m.sim.ActivatedWindows().size(), 1u);
}

TEST(Startup, ContextCommandsRunNextToAnOpenWindow) {
    TestMachine m;
    m.sim.AddTopWindow(0x20, "Kelvra V2.3.19", 8);
    m.sim.SetCommandLine("/set=\"C:\\Data\"");
    EXPECT_EQ(RunStartup(m.program), Dispatch::ContextCommand);
    EXPECT_TRUE(m.sim.ActivatedWindows().empty());
}

TEST(Startup, WindowSearchIsCaseSensitiveAndCollectsAll) {
    TestMachine m;
    m.sim.AddTopWindow(0x10, "kelvra v1", 1, "a.exe");
    m.sim.AddTopWindow(0x20, "Kelvra V1", 2, "b.exe");
    m.sim.AddTopWindow(0, "Kelvra V2", 3, "c.exe");  // no handle: never a match
    m.sim.AddTopWindow(0x40, "x Kelvra V3", 4, "d.exe");
    WindowSearchResult r = SearchWindows(m.sim, "Kelvra V");
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.titles, (std::vector<std::string>{"Kelvra V1", "x Kelvra V3"}));
    EXPECT_EQ(r.handles, (std::vector<std::string>{"32", "64"}));
    EXPECT_EQ(r.processIds, (std::vector<std::string>{"2", "4"}));
    EXPECT_EQ(r.exeNames, (std::vector<std::string>{"b.exe", "d.exe"}));
    EXPECT_FALSE(SearchWindows(m.sim, "Nothing").found);
}

struct SwitchCase {
    const char* commandLine;
    Dispatch dispatch;
    bool stay, develop, local;
};

class StartupSwitches : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(StartupSwitches, AreFoundInAnyCaseAndPosition) {
    const SwitchCase& c = GetParam();
    TestMachine m;
    m.sim.SetCommandLine(c.commandLine);
    EXPECT_EQ(RunStartup(m.program), c.dispatch);
    EXPECT_EQ(m.program.startup.Stay, c.stay);
    EXPECT_EQ(m.program.startup.Develop, c.develop);
    EXPECT_EQ(m.program.startup.Local, c.local);
    EXPECT_EQ(m.program.startup.CommandLine, c.commandLine);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, StartupSwitches,
    ::testing::Values(SwitchCase{"", Dispatch::MainWindow, false, false, false},
                      SwitchCase{"/autostart", Dispatch::End, false, false, false},
                      SwitchCase{"/Stay /AutoStart", Dispatch::AutostartWindow, true, false, false},
                      SwitchCase{"/stay", Dispatch::MainWindow, true, false, false},
                      SwitchCase{"xyz/LOCALabc /develop", Dispatch::MainWindow, false, true, true},
                      SwitchCase{"/autostart /set=C:\\x", Dispatch::End, false, false, false},
                      SwitchCase{"/CUT=\"K:\\\"", Dispatch::ContextCommand, false, false, false},
                      SwitchCase{"   \t\x01\xff//", Dispatch::MainWindow, false, false, false}));

TEST(Startup, SurvivesAHugeCommandLine) {
    TestMachine m;
    std::string huge(200000, 'x');
    huge += " /Local";
    m.sim.SetCommandLine(huge);
    EXPECT_EQ(RunStartup(m.program), Dispatch::MainWindow);
    EXPECT_TRUE(m.program.startup.Local);
}

TEST(Startup, AutostartStayWithTrayGoesToTheNotificationArea) {
    TestMachine m;
    m.sim.AddFolder(kUserFolder);
    m.sim.AddFile(TestMachine::kUserIni, "[USER=TESTER]\r\nMinimizeToSystray=1\r\n");
    m.sim.SetCommandLine("/autostart /stay");
    EXPECT_EQ(RunStartup(m.program), Dispatch::AutostartTray);
}

TEST(Startup, AutostartRestoresStoredSubstDrives) {
    TestMachine m;
    m.sim.AddFolder("C:\\Data");
    m.sim.AddFolder("C:\\Old");
    m.sim.AddFolder(kUserFolder);
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=TESTER]\r\nSubstPath_D=C:\\Data\r\nSubstPath_E=!C:\\Old\r\n"
                  "SubstPath_N=\\\\server\\share\r\n[USER=OTHER]\r\nSubstPath_F=C:\\Data\r\n");
    m.sim.SetCommandLine("/AUTOSTART");
    EXPECT_EQ(RunStartup(m.program), Dispatch::End);
    EXPECT_EQ(m.sim.DosDeviceTargets('D'), std::vector<std::string>{"\\??\\C:\\Data"});
    EXPECT_TRUE(m.sim.DosDeviceTargets('E').empty());  // deactivated
    EXPECT_TRUE(m.sim.DosDeviceTargets('N').empty());  // a network path is never a subst
    EXPECT_TRUE(m.sim.DosDeviceTargets('F').empty());  // another user's drive
}

}  // namespace
}  // namespace kelvra
