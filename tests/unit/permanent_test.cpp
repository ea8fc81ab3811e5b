#include "startup/permanent.h"

#include <gtest/gtest.h>

#include "drives/drive_entries.h"
#include "drives/keywords.h"
#include "drives/scan.h"
#include "platform/inireg.h"
#include "unit/test_machine.h"

namespace kelvra {
namespace {

using test::TestMachine;

const char* kSection = "USER=TESTER";

std::string Read(TestMachine& m, const std::string& key) {
    int32_t status = 0;
    return ReadIniString(m.sim, TestMachine::kUserIni, kSection, key, "<missing>", status);
}

void SetRow(Program& p, char letter, const char* type, const char* path, const char* permanent,
            const char* state = "", const char* label = "") {
    DriveRecord& row = p.drives.main[DriveIndexOf(letter)];
    row = DriveRecord{std::string(1, letter) + ":", type, path, permanent, state, label};
}

TEST(DriveEntry, LoadReportsPresenceAndLeavesArgumentsWithoutAFile) {
    TestMachine m;
    Program& p = m.Started();
    std::string path = "keep", label = "keep";
    EXPECT_EQ(LoadDriveEntry(p, SettingsSection(p), 'd', path, label), kIniFailed);
    EXPECT_EQ(path, "keep");
    EXPECT_EQ(label, "keep");
    EXPECT_EQ(p.startup.LastStatus, kIniFailed);

    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=TESTER]\r\nSubstPath_D=C:\\Data\r\nSubstPathLabel_D=Work\r\n"
                  "SubstPath_E=\r\nSubstPathLabel_E=Only a label\r\n");
    ASSERT_TRUE(ReadSettingsFile(p));  // as every scan does first
    EXPECT_EQ(LoadDriveEntry(p, SettingsSection(p), 'd', path, label), kIniOk);
    EXPECT_EQ(path, "C:\\Data");
    EXPECT_EQ(label, "Work");
    EXPECT_EQ(LoadDriveEntry(p, SettingsSection(p), 'E', path, label), kIniFailed);
    EXPECT_EQ(path, "");
    EXPECT_EQ(label, "Only a label");
    EXPECT_EQ(LoadDriveEntry(p, SettingsSection(p), 'F', path, label), kIniFailed);
}

TEST(DriveEntry, RestoreDefinesOnlyStoredActiveSubstDrives) {
    TestMachine m;
    Program& p = m.Started();
    m.sim.AddFolder("C:\\Data");
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=TESTER]\r\nSubstPath_D=C:\\Data\r\nSubstPath_E=!C:\\Data\r\n"
                  "SubstPath_F=\\\\srv\\share\r\nSubstPath_G=!\\\\srv\\share\r\n"
                  "SubstPath_H=C:\\Gone\r\n");
    RestorePermanentDrives(p, 0);
    EXPECT_EQ(m.sim.DosDeviceTargets('D'), std::vector<std::string>{"\\??\\C:\\Data"});
    EXPECT_TRUE(m.sim.DosDeviceTargets('E').empty());
    EXPECT_TRUE(m.sim.DosDeviceTargets('F').empty());
    EXPECT_TRUE(m.sim.DosDeviceTargets('G').empty());
    // No check that the folder still exists: the scan shows such a drive as inactive.
    EXPECT_EQ(m.sim.DosDeviceTargets('H'), std::vector<std::string>{"\\??\\C:\\Gone"});

    TestMachine one;
    Program& q = one.Started();
    one.sim.AddFile(TestMachine::kUserIni,
                    "[USER=TESTER]\r\nSubstPath_D=C:\\Data\r\nSubstPath_E=C:\\Data\r\n");
    RestorePermanentDrives(q, 5);
    EXPECT_TRUE(one.sim.DosDeviceTargets('D').empty());
    EXPECT_EQ(one.sim.DosDeviceTargets('E').size(), 1u);
    RestorePermanentDrives(q, 27);  // outside the table: nothing happens
    RestorePermanentDrives(q, -1);
    EXPECT_TRUE(one.sim.DosDeviceTargets('D').empty());
}

// A definition on a letter in use would stack over its device for the
// session: over a stick on E:, or over C:, which holds the settings file.
TEST(DriveEntry, RestoreLeavesLettersInUseAloneAndKeepsTheirEntries) {
    TestMachine m;
    Program& p = m.Started();
    m.sim.AddFolder("C:\\Data");
    m.sim.AddDrive('E', kDriveRemovable, "STICK", "FAT32");
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=TESTER]\r\nSubstPath_C=C:\\Data\r\nSubstPath_E=C:\\Data\r\n"
                  "SubstPath_G=C:\\Data\r\n");
    m.sim.ResetCalls();
    RestorePermanentDrives(p, 0);
    EXPECT_EQ(m.sim.Calls("GetLogicalDriveStrings"), 1);  // one list serves every letter
    EXPECT_EQ(m.sim.Calls("DefineDosDevice"), 1);
    EXPECT_TRUE(m.sim.DosDeviceTargets('C').empty());
    EXPECT_TRUE(m.sim.DosDeviceTargets('E').empty());
    EXPECT_EQ(m.sim.DosDeviceTargets('G'), std::vector<std::string>{"\\??\\C:\\Data"});

    // The entries stay; the list shows C: and E: as taken by another device,
    // and a save writes all three back unchanged.
    RefreshAll(p);
    EXPECT_TRUE(LetterTakenByOtherDevice(p, "C:"));
    EXPECT_TRUE(LetterTakenByOtherDevice(p, "E:"));
    EXPECT_FALSE(LetterTakenByOtherDevice(p, "G:"));
    SaveSettings(p);
    for (const char* key : {"SubstPath_C", "SubstPath_E", "SubstPath_G"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(Read(m, key), "C:\\Data");
    }

    // A second restore (a second logon start) does not stack onto G: either.
    RestorePermanentDrives(p, 0);
    EXPECT_EQ(m.sim.DosDeviceTargets('G').size(), 1u);
}

TEST(DriveEntry, RestoreWithoutADriveListOrEntriesDefinesNothing) {
    TestMachine m;
    Program& p = m.Started();
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=TESTER]\r\nSubstPath_G=C:\\Data\r\nSubstPath_H=!C:\\Data\r\n");
    m.sim.Fail("GetLogicalDriveStrings");  // no letter is known to be free
    RestorePermanentDrives(p, 0);
    EXPECT_TRUE(m.sim.DosDeviceTargets('G').empty());
    EXPECT_EQ(Read(m, "SubstPath_G"), "C:\\Data");

    m.sim.Heal("GetLogicalDriveStrings");
    m.sim.ResetCalls();
    RestorePermanentDrives(p, DriveIndexOf('H'));  // deactivated: nothing to restore
    EXPECT_EQ(m.sim.Calls("GetLogicalDriveStrings"), 0);
    EXPECT_EQ(m.sim.Calls("DefineDosDevice"), 0);
}

TEST(DriveEntry, WritingMirrorsTheMainTable) {
    TestMachine m;
    Program& p = m.Started();
    m.sim.AddFile(TestMachine::kUserIni,
                  "[USER=TESTER]\r\nSubstPath_H=C:\\Stale\r\nSubstPathLabel_H=Stale\r\n");
    p.drives.scanned = true;
    for (DriveIndex i = 1; i <= kDriveCount; ++i) SetRow(p, DriveLetter(i), kw::kFree, "", "");
    SetRow(p, 'D', "SUBST (FIXED)", "C:\\Data", "YES", "", "Work");
    SetRow(p, 'E', kw::kSubstInactive, "C:\\Old", "YES", "DISABLED");
    SetRow(p, 'F', "SUBST (FIXED)", "C:\\Temp", "", "", "Temp label");
    SetRow(p, 'N', kw::kRemote, "\\\\srv\\share", "YES", "", "Net");
    SetRow(p, 'O', kw::kRemoteInactive, "\\\\srv\\old", "YES", "DISABLED");
    SetRow(p, 'P', kw::kRemoteInactive, "\\\\srv\\gone", "YES");
    SetRow(p, 'C', kw::kFixed, "", "", "", "System label");
    SetRow(p, 'S', "Subst", "C:\\New", "YES");  // interim keyword of a new drive
    SaveSettings(p);

    EXPECT_EQ(Read(m, "SubstPath_D"), "C:\\Data");
    EXPECT_EQ(Read(m, "SubstPathLabel_D"), "Work");
    EXPECT_EQ(Read(m, "SubstPath_E"), "!C:\\Old");
    EXPECT_EQ(Read(m, "SubstPath_F"), "<missing>");        // temporary drive...
    EXPECT_EQ(Read(m, "SubstPathLabel_F"), "Temp label");  // ...keeps its label
    EXPECT_EQ(Read(m, "SubstPath_N"), "<missing>");        // Windows remembers it
    EXPECT_EQ(Read(m, "SubstPathLabel_N"), "Net");
    EXPECT_EQ(Read(m, "SubstPath_O"), "!\\\\srv\\old");
    EXPECT_EQ(Read(m, "SubstPath_P"), "<missing>");
    EXPECT_EQ(Read(m, "SubstPathLabel_C"), "<missing>");
    EXPECT_EQ(Read(m, "SubstPath_S"), "C:\\New");
    EXPECT_EQ(Read(m, "SubstPath_H"), "<missing>");
    EXPECT_EQ(Read(m, "SubstPathLabel_H"), "<missing>");
}

TEST(DriveEntry, AnUnscannedTableLeavesStoredDrivesAlone) {
    TestMachine m;
    Program& p = m.Started();
    p.startup.Local = true;
    m.sim.AddFile(TestMachine::kUserIni, "[USER=TESTER]\r\nSubstPath_D=C:\\Data\r\n");
    m.sim.SetRegistryString(kHkeyCurrentUser, kRunKey, kRunValue, "\"x\" /autostart");
    SaveSettings(p);
    EXPECT_EQ(Read(m, "SubstPath_D"), "C:\\Data");
    std::string value;
    EXPECT_TRUE(m.sim.RegistryValue(kHkeyCurrentUser, kRunKey, kRunValue, value));
}

// A program on a local disk whose drive table has been scanned: the state in
// which a save may change the autostart entry.
Program& LocalAndScanned(TestMachine& m) {
    Program& p = m.Started();
    p.drives.scanned = true;
    p.startup.Local = true;
    return p;
}

struct AutostartCase {
    const char* name;
    bool local;
    const char* type;  // of row D
    const char* state;
    bool permAutostart;
    bool stay;
    const char* expected;  // nullptr: no value
};

class Autostart : public ::testing::TestWithParam<AutostartCase> {};

TEST_P(Autostart, FollowsThePermanentSubstDrives) {
    const AutostartCase& c = GetParam();
    TestMachine m;
    Program& p = m.Started();
    p.drives.scanned = true;
    p.startup.Local = c.local;
    p.settings.PermAutostart = c.permAutostart;
    p.settings.AutostartStay = c.stay;
    SetRow(p, 'D', c.type, "C:\\Data", "YES", c.state);
    m.sim.SetRegistryString(kHkeyCurrentUser, kRunKey, kRunValue, "before");
    UpdateAutostartEntry(p);
    std::string value;
    bool present = m.sim.RegistryValue(kHkeyCurrentUser, kRunKey, kRunValue, value);
    if (!c.local) {
        EXPECT_EQ(value, "before");  // never touched off a local disk
    } else if (c.expected) {
        EXPECT_EQ(value, c.expected);
    } else {
        EXPECT_FALSE(present) << value;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Autostart,
    ::testing::Values(AutostartCase{"ActiveSubst", true, "SUBST (FIXED)", "", false, false,
                                    "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /autostart"},
                      AutostartCase{"ActiveSubstStay", true, "SUBST (FIXED)", "", false, true,
                                    "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /autostart /stay"},
                      AutostartCase{"InactiveButNotDisabled", true, "SUBST (INACTIVE)", "", false,
                                    false, "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /autostart"},
                      AutostartCase{"OnlyDeactivated", true, "SUBST (INACTIVE)", "DISABLED", false,
                                    false, nullptr},
                      AutostartCase{"NetworkOnly", true, "REMOTE", "", false, false, nullptr},
                      AutostartCase{"NoneButPermAutostart", true, "FREE", "", true, false,
                                    "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /autostart"},
                      AutostartCase{"NotLocal", false, "SUBST (FIXED)", "", true, true, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Autostart, MakesTheRunKeyWhenItIsMissing) {
    TestMachine m;
    Program& p = LocalAndScanned(m);
    p.settings.PermAutostart = true;
    ASSERT_EQ(m.sim.RegDeleteKey(kHkeyCurrentUser, kRunKey), 0);
    UpdateAutostartEntry(p);
    std::string value;
    EXPECT_TRUE(m.sim.RegistryValue(kHkeyCurrentUser, kRunKey, kRunValue, value));
}

TEST(Autostart, RegistryRefusalIsSilent) {
    TestMachine m;
    Program& p = LocalAndScanned(m);
    p.settings.PermAutostart = true;
    m.sim.DenyRegistryWrites(kHkeyCurrentUser, kRunKey);
    UpdateAutostartEntry(p);
    EXPECT_EQ(p.startup.LastStatus, oserr::kAccessDenied);
    std::string value;
    EXPECT_FALSE(m.sim.RegistryValue(kHkeyCurrentUser, kRunKey, kRunValue, value));
}

TEST(Autostart, TheOnlyPermanentDriveMadeTemporaryLosesEntryAndRunValue) {
    TestMachine m;
    Program& p = LocalAndScanned(m);
    SetRow(p, 'D', "SUBST (FIXED)", "C:\\Data", "YES");
    SaveSettings(p);
    EXPECT_EQ(Read(m, "SubstPath_D"), "C:\\Data");
    std::string value;
    EXPECT_TRUE(m.sim.RegistryValue(kHkeyCurrentUser, kRunKey, kRunValue, value));
    p.drives.main[4].Permanent.clear();
    SaveSettings(p);
    EXPECT_EQ(Read(m, "SubstPath_D"), "<missing>");
    EXPECT_FALSE(m.sim.RegistryValue(kHkeyCurrentUser, kRunKey, kRunValue, value));
}

// Every save keeps the autostart entry up: one open of the Run key, and a
// write only where the value is not what it must be.
TEST(Autostart, ASaveWritesTheRunValueOnlyWhenItDiffers) {
    const std::string command = "\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /autostart";
    struct Case {
        const char* name;
        bool wanted;          // PermAutostart
        const char* before;   // the Run value; nullptr: none
        int query, set, del;  // RegQueryValueEx, RegSetValueEx, RegDeleteValue
    };
    const Case cases[] = {
        {"holds the command", true, command.c_str(), 1, 0, 0},
        {"holds another command", true, "\"D:\\Old\\Kelvra.exe\" /autostart", 1, 1, 0},
        {"missing", true, nullptr, 1, 1, 0},
        {"not wanted", false, command.c_str(), 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        Program& p = LocalAndScanned(m);
        p.settings.PermAutostart = c.wanted;
        if (c.before) m.sim.SetRegistryString(kHkeyCurrentUser, kRunKey, kRunValue, c.before);
        m.sim.ResetCalls();
        SaveSettings(p);
        EXPECT_EQ(m.sim.Calls("RegSetValueEx"), c.set);
        EXPECT_EQ(m.sim.Calls("RegDeleteValue"), c.del);
        // The next save finds the value as it must be.
        m.sim.ResetCalls();
        p.settings.GridLines = !p.settings.GridLines;
        SaveSettings(p);
        EXPECT_EQ(m.sim.Calls("ReadFileStatus"), 1);
        EXPECT_EQ(m.sim.Calls("ReplaceFileContents"), 1);
        EXPECT_EQ(m.sim.Calls("RegCreateKeyEx"), 1);
        EXPECT_EQ(m.sim.Calls("RegQueryValueEx"), c.query);
        EXPECT_EQ(m.sim.Calls("RegCloseKey"), 1);
        EXPECT_EQ(m.sim.TotalCalls(), 4 + c.query + c.del);
        std::string value;
        EXPECT_EQ(m.sim.RegistryValue(kHkeyCurrentUser, kRunKey, kRunValue, value), c.wanted);
        if (c.wanted) {
            EXPECT_EQ(value, command);
        }
    }
}

}  // namespace
}  // namespace kelvra
