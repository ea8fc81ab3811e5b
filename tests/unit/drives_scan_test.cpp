#include <gtest/gtest.h>

#include "drives/keywords.h"
#include "drives/scan.h"
#include "drives/subst.h"
#include "drives_machine.h"
#include "platform/inireg.h"
#include "startup/settings.h"

namespace kelvra::test {
namespace {

const DriveRecord& Row(Program& program, char letter) {
    return program.drives.main[DriveIndexOf(letter)];
}

// One machine that holds every typical situation, each on its own letter.
class TypicalScan : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::SimulatedWindows& sim = m.sim;
        m.Started();
        sim.AddFolder("C:\\Data");
        sim.AddFolder("C:\\Long Folder Name");
        sim.AddShare("\\\\srv\\share");
        sim.AddShare("\\\\srv\\docs");
        sim.AddShare("\\\\vboxsvr\\shared", "\\Device\\VBoxMiniRdr");
        sim.AddShare("\\\\.host\\Shared Folders", "\\Device\\VMFolderSharing");

        ASSERT_TRUE(Subst(sim, 'D', "C:\\Data"));  // temporary
        ASSERT_TRUE(Subst(sim, 'E', ShortPathName(sim, "C:\\Long Folder Name")));
        StoreDriveEntry(sim, 'E', "C:\\Long Folder Name");      // permanent, active
        StoreDriveEntry(sim, 'F', "C:\\Data");                  // permanent, unmapped
        StoreDriveEntry(sim, 'G', "!C:\\Data");                 // deactivated
        ASSERT_TRUE(Connect(sim, 'H', "\\\\srv\\share"));       // temporary
        ASSERT_TRUE(Connect(sim, 'I', "\\\\srv\\docs", true));  // persistent
        RememberConnection(sim, 'J', "\\\\srv\\docs");          // not connected
        StoreDriveEntry(sim, 'K', "!\\\\srv\\old");             // deactivated
        ASSERT_TRUE(Connect(sim, 'L', "\\\\vboxsvr\\shared"));
        ASSERT_TRUE(Connect(sim, 'M', "\\\\.host\\Shared Folders"));
        RefreshAll(m.program);
    }
    TestMachine m;
};

struct Expected {
    const char* situation;
    char letter;
    const char* type;
    const char* path;
    const char* permanent;
    const char* state;
};

const Expected kTypical[] = {
    {"FreeLetter", 'Q', "FREE", "", "", ""},
    {"HardDisk", 'C', "FIXED", "", "", ""},
    {"TemporarySubst", 'D', "SUBST (FIXED)", "C:\\Data", "", ""},
    {"PermanentSubstActive", 'E', "SUBST (FIXED)", "C:\\Long Folder Name", "YES", ""},
    {"PermanentSubstUnmapped", 'F', "SUBST (INACTIVE)", "C:\\Data", "YES", ""},
    {"PermanentSubstDeactivated", 'G', "SUBST (INACTIVE)", "C:\\Data", "YES", "DISABLED"},
    {"TemporaryNetwork", 'H', "REMOTE", "\\\\srv\\share", "", ""},
    {"PersistentNetworkConnected", 'I', "REMOTE", "\\\\srv\\docs", "YES", ""},
    {"PersistentNetworkUnconnected", 'J', "REMOTE (INACTIVE)", "\\\\srv\\docs", "YES", ""},
    {"NetworkDeactivated", 'K', "REMOTE (INACTIVE)", "\\\\srv\\old", "YES", "DISABLED"},
    {"VirtualBoxShare", 'L', "REMOTEVBOX", "\\\\vboxsvr\\shared", "", ""},
    {"VirtualPcShare", 'M', "REMOTEVPC", "\\\\.host\\Shared Folders", "", ""},
};

TEST_F(TypicalScan, EveryRowAsExpected) {
    for (const Expected& e : kTypical) {
        SCOPED_TRACE(e.situation);
        const DriveRecord& row = Row(m.program, e.letter);
        EXPECT_EQ(row.Drive, std::string(1, e.letter) + ":");
        EXPECT_EQ(row.Type, e.type);
        EXPECT_EQ(row.Path, e.path);
        EXPECT_EQ(row.Permanent, e.permanent);
        EXPECT_EQ(row.State, e.state);
    }
    EXPECT_TRUE(m.program.drives.scanned);
}

TEST_F(TypicalScan, RowZeroStaysEmptyAndEveryLetterIsNamed) {
    const DriveRecord& zero = m.program.drives.main[0];
    EXPECT_EQ(zero.Drive + zero.Type + zero.Path + zero.Permanent + zero.State, "");
    for (DriveIndex i = 1; i <= kDriveCount; ++i)
        EXPECT_EQ(m.program.drives.main[i].Drive, std::string(1, DriveLetter(i)) + ":");
}

TEST_F(TypicalScan, RescanRewritesStaleFieldsFromScratch) {
    DriveRecord& row = m.program.drives.main[DriveIndexOf('Q')];
    row.Type = "Subst";
    row.Path = "C:\\Stale";
    row.Permanent = "YES";
    row.State = "DISABLED";
    RefreshAll(m.program);
    EXPECT_EQ(row.Type, "FREE");
    EXPECT_EQ(row.Path + row.Permanent + row.State, "");
}

TEST(DriveScan, FailingDriveListLeavesLettersFreeButKeepsMappingsAndEntries) {
    TestMachine m;
    m.Started();
    m.sim.AddFolder("C:\\Data");
    ASSERT_TRUE(Subst(m.sim, 'D', "C:\\Data"));
    StoreDriveEntry(m.sim, 'F', "C:\\Data");
    StoreDriveEntry(m.sim, 'K', "!\\\\srv\\old");
    m.sim.Fail("GetLogicalDriveStrings");
    RefreshAll(m.program);
    EXPECT_EQ(Row(m.program, 'C').Type, "FREE");
    EXPECT_EQ(Row(m.program, 'D').Type, "SUBST (FREE)");
    EXPECT_EQ(Row(m.program, 'D').Path, "C:\\Data");
    EXPECT_EQ(Row(m.program, 'F').Type, "SUBST (INACTIVE)");
    EXPECT_EQ(Row(m.program, 'K').Type, "REMOTE (INACTIVE)");
    EXPECT_FALSE(m.program.startup.Local);
}

TEST(DriveScan, SubstWhoseFolderWasDeletedIsNoLongerASubst) {
    TestMachine m;
    m.Started();
    m.sim.AddFolder("C:\\Data");
    m.sim.AddFolder("C:\\Other");
    ASSERT_TRUE(Subst(m.sim, 'D', "C:\\Data"));
    ASSERT_TRUE(Subst(m.sim, 'E', "C:\\Other"));
    StoreDriveEntry(m.sim, 'E', "C:\\Other");
    m.sim.RemovePath("C:\\Data");
    m.sim.RemovePath("C:\\Other");
    RefreshAll(m.program);
    // The letter has no root any more: the local type is all that is left.
    EXPECT_EQ(Row(m.program, 'D').Type, "UNKNOWN");
    EXPECT_EQ(Row(m.program, 'D').Path, "");
    EXPECT_EQ(Row(m.program, 'E').Type, "SUBST (INACTIVE)");
    EXPECT_EQ(Row(m.program, 'E').Path, "C:\\Other");
    EXPECT_EQ(Row(m.program, 'E').Permanent, "YES");
}

TEST(DriveScan, SubstOntoANetworkShareStaysRemote) {
    TestMachine m;
    m.Started();
    m.sim.AddShare("\\\\srv\\share");
    m.sim.AddFolder("\\\\srv\\share\\Folder");
    ASSERT_TRUE(Connect(m.sim, 'N', "\\\\srv\\share"));
    ASSERT_TRUE(Subst(m.sim, 'S', "N:\\Folder"));
    ASSERT_TRUE(Subst(m.sim, 'U', "\\\\srv\\share\\Folder"));  // mapped as "\??\UNC\..."
    RefreshAll(m.program);
    EXPECT_EQ(Row(m.program, 'S').Type, "REMOTE");
    EXPECT_EQ(Row(m.program, 'S').Path, "N:\\Folder");
    EXPECT_EQ(Row(m.program, 'U').Type, "REMOTE");
    EXPECT_EQ(Row(m.program, 'U').Path, "\\\\srv\\share\\Folder");
    EXPECT_EQ(Row(m.program, 'N').Type, "REMOTE");
    EXPECT_EQ(Row(m.program, 'N').Path, "\\\\srv\\share");
}

TEST(DriveScan, PersistentConnectionOnALetterNowUsedByALocalDisk) {
    TestMachine m;
    m.Started();
    m.sim.AddDrive('E', kDriveFixed);
    RememberConnection(m.sim, 'E', "\\\\srv\\share");
    RefreshAll(m.program);
    const DriveRecord& row = Row(m.program, 'E');
    EXPECT_EQ(row.Type, "FIXED");
    EXPECT_EQ(row.Path, "\\\\srv\\share");
    EXPECT_EQ(row.Permanent, "YES");
}

// A stored subst entry and a network connection of the user's profile on the
// same letter: the subst row keeps the stored folder, and a save writes the
// entry back unchanged, whether the letter is free or connected now.
TEST(DriveScan, NetworkConnectionNeverTakesOverASubstRow) {
    enum Connection { kNone, kRemembered, kLive, kLivePersistent };
    struct Case {
        const char* name;
        const char* stored;  // "SubstPath_K"; nullptr: none
        bool mapped;         // K: is a subst drive onto C:\Data
        Connection connection;
        const char* type;
        const char* permanent;
        const char* state;
        bool conflict;  // LetterTakenByOtherDevice
    };
    const Case cases[] = {
        {"stored, letter free, remembered", "C:\\Data", false, kRemembered, "SUBST (INACTIVE)",
         "YES", "", false},
        {"deactivated, letter free, remembered", "!C:\\Data", false, kRemembered,
         "SUBST (INACTIVE)", "YES", "DISABLED", false},
        {"stored, letter connected", "C:\\Data", false, kLive, "SUBST (INACTIVE)", "YES", "", true},
        {"stored, letter connected and remembered", "C:\\Data", false, kLivePersistent,
         "SUBST (INACTIVE)", "YES", "", true},
        {"deactivated, letter connected", "!C:\\Data", false, kLivePersistent, "SUBST (INACTIVE)",
         "YES", "DISABLED", true},
        {"stored and mapped, remembered", "C:\\Data", true, kRemembered, "SUBST (FIXED)", "YES", "",
         false},
        // A temporary drive must not turn permanent with the share as its folder.
        {"temporary, remembered", nullptr, true, kRemembered, "SUBST (FIXED)", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        Program& p = m.Started();
        m.sim.AddFolder("C:\\Data");
        m.sim.AddShare("\\\\srv\\share");
        if (c.stored) StoreDriveEntry(m.sim, 'K', c.stored, "Mine");
        if (c.mapped) {
            ASSERT_TRUE(Subst(m.sim, 'K', "C:\\Data"));
        }
        if (c.connection == kRemembered) RememberConnection(m.sim, 'K', "\\\\srv\\share");
        if (c.connection >= kLive) {
            ASSERT_TRUE(Connect(m.sim, 'K', "\\\\srv\\share", c.connection == kLivePersistent));
        }
        RefreshAll(p);
        const DriveRecord& row = Row(p, 'K');
        EXPECT_EQ(row.Type, c.type);
        EXPECT_EQ(row.Path, "C:\\Data");
        EXPECT_EQ(row.Permanent, c.permanent);
        EXPECT_EQ(row.State, c.state);
        EXPECT_EQ(row.Label, c.stored ? "Mine" : "");
        EXPECT_EQ(LetterTakenByOtherDevice(p, "K:"), c.conflict);

        SaveSettings(p);
        int32_t status = 0;
        EXPECT_EQ(ReadIniString(m.sim, TestMachine::kUserIni, "USER=TESTER", "SubstPath_K",
                                "<missing>", status),
                  c.stored ? c.stored : "<missing>");
        EXPECT_EQ(ReadIniString(m.sim, TestMachine::kUserIni, "USER=TESTER", "SubstPathLabel_K",
                                "<missing>", status),
                  c.stored ? "Mine" : "<missing>");
    }
}

TEST(DriveScan, RememberedEntriesOnLettersTakenByOtherDevices) {
    TestMachine m;
    m.Started();
    m.sim.AddFolder("C:\\Data");
    m.sim.AddShare("\\\\srv\\old");
    m.sim.AddDrive('U', kDriveRemovable, "STICK", "FAT32");
    StoreDriveEntry(m.sim, 'U', "C:\\Data");
    m.sim.AddDrive('V', kDriveCdrom, "DISC", "CDFS");
    StoreDriveEntry(m.sim, 'V', "!\\\\srv\\old");
    RefreshAll(m.program);
    EXPECT_EQ(Row(m.program, 'U').Type, "SUBST (INACTIVE)");
    EXPECT_EQ(Row(m.program, 'U').Path, "C:\\Data");
    EXPECT_TRUE(LetterTakenByOtherDevice(m.program, "U:"));
    EXPECT_TRUE(LetterTakenByOtherDevice(m.program, "u:\\"));
    EXPECT_EQ(Row(m.program, 'V').Type, "REMOTE (INACTIVE)");
    EXPECT_EQ(Row(m.program, 'V').State, "DISABLED");
    EXPECT_TRUE(LetterTakenByOtherDevice(m.program, "V:"));
}

TEST(DriveScan, LetterNotTakenWhileTheEntryIsLiveOrTheLetterIsFree) {
    TestMachine m;
    m.Started();
    m.sim.AddFolder("C:\\Data");
    m.sim.AddShare("\\\\srv\\old");
    ASSERT_TRUE(Subst(m.sim, 'D', "C:\\Data"));
    StoreDriveEntry(m.sim, 'D', "C:\\Data");  // permanent and mapped
    StoreDriveEntry(m.sim, 'F', "C:\\Data");  // permanent, letter free
    StoreDriveEntry(m.sim, 'K', "!\\\\srv\\old");
    ASSERT_TRUE(Connect(m.sim, 'K', "\\\\srv\\old"));  // deactivated, yet connected again
    m.sim.AddDrive('R', kDriveRemovable);              // a plain device, no entry
    RefreshAll(m.program);
    for (const char* drive : {"D:", "F:", "K:", "R:", "C:", "Q:"}) {
        SCOPED_TRACE(drive);
        EXPECT_FALSE(LetterTakenByOtherDevice(m.program, drive));
    }
}

TEST(DriveScan, LetterTakenByOtherDeviceRejectsWhatIsNoLetter) {
    TestMachine m;
    m.Started();
    m.sim.AddDrive('U', kDriveRemovable);
    StoreDriveEntry(m.sim, 'U', "C:\\Gone");
    RefreshAll(m.program);
    // Row 0 and characters on both sides of A..Z ("@" is index 0, "[" would
    // be 27, and so on) never reach a row outside the table.
    for (const std::string& drive :
         {std::string(), std::string("@:"), std::string("[:"), std::string("`:"), std::string("{:"),
          std::string("1:"), std::string("\xE4:"), std::string("\x7F"), std::string(1, '\0'),
          std::string("\xFF:")}) {
        m.sim.ResetCalls();
        EXPECT_FALSE(LetterTakenByOtherDevice(m.program, drive)) << static_cast<int>(drive[0]);
        EXPECT_EQ(m.sim.TotalCalls(), 0);
    }
    EXPECT_TRUE(LetterTakenByOtherDevice(m.program, "u"));
}

TEST(DriveScan, LabelsAreKeptForSubstAndNetworkRowsOnly) {
    TestMachine m;
    m.Started();
    m.sim.AddFolder("C:\\Data");
    ASSERT_TRUE(Subst(m.sim, 'D', "C:\\Data"));
    StoreLabel(m.sim, 'D', "Work");  // label of a temporary subst drive
    StoreDriveEntry(m.sim, 'F', "C:\\Data", "Archive");
    StoreLabel(m.sim, 'E', "Orphan");  // free letter: the label is not taken
    m.sim.AddDrive('G', kDriveFixed);
    StoreLabel(m.sim, 'G', "Disk");  // local disk: not taken either
    RememberConnection(m.sim, 'J', "\\\\srv\\docs");
    StoreLabel(m.sim, 'J', "Docs");  // an inactive persistent connection
    RefreshAll(m.program);
    EXPECT_EQ(Row(m.program, 'D').Label, "Work");
    EXPECT_EQ(Row(m.program, 'F').Label, "Archive");
    EXPECT_EQ(Row(m.program, 'E').Label, "");
    EXPECT_EQ(Row(m.program, 'G').Label, "");
    // J only becomes a network row in the network pass; its label must still
    // be kept, or the next save would delete it from the settings file.
    EXPECT_EQ(Row(m.program, 'J').Type, "REMOTE (INACTIVE)");
    EXPECT_EQ(Row(m.program, 'J').Label, "Docs");
}

TEST(DriveScan, ScanNeverClearsALabelItFindsNoneFor) {
    TestMachine m;
    m.Started();
    m.sim.AddFolder("C:\\Data");
    ASSERT_TRUE(Subst(m.sim, 'D', "C:\\Data"));
    m.program.drives.main[DriveIndexOf('D')].Label = "Set by a command";
    m.program.drives.main[DriveIndexOf('Z')].Label = "Vanished drive";
    RefreshAll(m.program);
    EXPECT_EQ(Row(m.program, 'D').Label, "Set by a command");
    EXPECT_EQ(Row(m.program, 'Z').Label, "Vanished drive");
    StoreLabel(m.sim, 'D', "Stored");
    RefreshAll(m.program);
    EXPECT_EQ(Row(m.program, 'D').Label, "Stored");
}

TEST(DriveScan, LocalIsSetFromAFixedProgramDiskAndNeverReset) {
    struct Case {
        const char* name;
        uint32_t programDriveType;  // 0: a network connection
        bool localBefore;
        bool localAfter;
    };
    const Case cases[] = {
        {"fixed", kDriveFixed, false, true},  {"removable", kDriveRemovable, false, false},
        {"cdrom", kDriveCdrom, false, false}, {"network", 0, false, false},
        {"network keeps it", 0, true, true},  {"removable keeps it", kDriveRemovable, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        m.Started();
        if (c.programDriveType == 0) {
            m.sim.AddShare("\\\\srv\\apps");
            ASSERT_TRUE(Connect(m.sim, 'P', "\\\\srv\\apps"));
        } else {
            m.sim.AddDrive('P', c.programDriveType);
        }
        m.program.startup.ApplicationPath = "p:\\Kelvra\\";  // case must not matter
        m.program.startup.Local = c.localBefore;
        RefreshAll(m.program);
        EXPECT_EQ(m.program.startup.Local, c.localAfter);
    }
}

TEST(DriveScan, RemoteNamesWithExtraBackslashesAndColons) {
    struct Case {
        const char* remote;
        const char* type;
        const char* path;
    };
    const Case cases[] = {
        {"\\\\srv\\share", "REMOTE", "\\\\srv\\share"},
        {"\\\\srv\\share\\\\x:", "REMOTEVPC", "\\\\srv\\share\\\\x:"},
        {"\\\\srv\\c:", "REMOTE", "\\\\srv\\c:"},            // colon, one "\\"
        {"\\\\srv\\\\share", "REMOTE", "\\\\srv\\\\share"},  // two "\\", no colon
        {"\\\\srv\\share\\", "REMOTE", "\\\\srv\\share\\"},  // one trailing "\" dropped
        {"\\\\\\\\:", "REMOTEVPC", "\\\\\\\\:"},
        {"\\\\", "REMOTE", "\\\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remote);
        TestMachine m;
        m.Started();
        m.sim.AddShare(c.remote);
        ASSERT_TRUE(Connect(m.sim, 'N', c.remote));
        RefreshAll(m.program);
        EXPECT_EQ(Row(m.program, 'N').Type, c.type);
        EXPECT_EQ(Row(m.program, 'N').Path, c.path);
    }
}

TEST(DriveScan, VirtualBoxWinsWhenBothGuestTestsMatch) {
    TestMachine m;
    m.Started();
    m.sim.AddShare("\\\\vboxsvr\\a\\\\b:", "\\Device\\VBoxMiniRdr");
    ASSERT_TRUE(Connect(m.sim, 'N', "\\\\vboxsvr\\a\\\\b:"));
    m.sim.AddShare("\\\\host\\x", "\\Device\\vmfoldersharing");  // any letter case
    ASSERT_TRUE(Connect(m.sim, 'O', "\\\\host\\x"));
    RefreshAll(m.program);
    EXPECT_EQ(Row(m.program, 'N').Type, "REMOTEVBOX");
    EXPECT_EQ(Row(m.program, 'O').Type, "REMOTEVPC");
}

// Raw DOS-device answers as a broken or unusual system might give them.
TEST(DriveScan, OddDeviceAnswersGiveDefinedResults) {
    const std::string nul(1, '\0');
    const std::string data = "\\??\\C:\\Data";
    struct Case {
        const char* name;
        std::string raw;
        const char* type;
        const char* path;
    };
    const Case cases[] = {
        {"empty", "", "FIXED", ""},
        {"one character", "C", "FIXED", ""},
        {"two characters", "C:", "FIXED", ""},
        {"prefix only", "\\??\\", "FIXED", ""},
        {"prefix and NULs", "\\??\\" + nul + nul, "FIXED", ""},
        {"unterminated", data, "SUBST (FIXED)", "C:\\Data"},
        {"fills the buffer with NULs", data + std::string(260 - data.size(), '\0'), "SUBST (FIXED)",
         "C:\\Data"},
        {"fills the buffer unterminated", "\\??\\C:\\" + std::string(253, 'x'), "FIXED", ""},
        {"one past the buffer", data + std::string(261 - data.size(), '\0'), "FIXED", ""},
        {"stacked", data + nul + "\\??\\C:\\Gone" + nul + nul, "SUBST (FIXED)", "C:\\Data"},
        {"plain 9x form", "C:\\Data" + nul, "SUBST (FIXED)", "C:\\Data"},
        {"device", "\\Device\\HarddiskVolume7" + nul + nul, "FIXED", ""},
        {"NUL first", nul + data + nul, "FIXED", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        m.Started();
        m.sim.AddFolder("C:\\Data");
        m.sim.AddDrive('D', kDriveFixed);
        m.sim.PlantDosDeviceAnswer('D', c.raw);
        RefreshAll(m.program);
        EXPECT_EQ(Row(m.program, 'D').Type, c.type);
        EXPECT_EQ(Row(m.program, 'D').Path, c.path);
        NetworkCheck(m.program);
        EXPECT_EQ(m.program.drives.snapshot[DriveIndexOf('D')].Path, c.path);
    }
}

TEST(DriveScan, OddDeviceAnswersOfANetworkLetter) {
    struct Case {
        std::string raw;
        const char* type;
    };
    const Case cases[] = {
        {"", "REMOTE"},
        {"VB", "REMOTE"},                         // two characters are no answer
        {"\\Device\\VBoxMiniRdr", "REMOTEVBOX"},  // unterminated
        {std::string(200, '\0') + "VBoxMiniRdr" + std::string(49, '\0'), "REMOTEVBOX"},
        {std::string("VMFold\0erSharing", 16), "REMOTEVPC"},  // NULs are removed first
        {std::string(261, 'x') + "VBoxMiniRdr", "REMOTE"},    // does not fit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw.size());
        TestMachine m;
        m.Started();
        m.sim.AddShare("\\\\srv\\share");
        ASSERT_TRUE(Connect(m.sim, 'N', "\\\\srv\\share"));
        m.sim.PlantDosDeviceAnswer('N', c.raw);
        RefreshAll(m.program);
        EXPECT_EQ(Row(m.program, 'N').Type, c.type);
    }
}

TEST(DriveScan, Windows98Forms) {
    TestMachine m;
    m.Started();
    m.sim.PlayWindows98();
    m.program.startup.IsNT = false;
    m.program.startup.IsWin9x = true;
    m.program.startup.NetworkKeyPrefix = "Network\\Persistent\\";
    m.sim.AddFolder("C:\\Data");
    m.sim.AddShare("\\\\srv\\docs");
    ASSERT_TRUE(Subst(m.sim, 'D', "C:\\Data"));
    ASSERT_EQ(m.sim.DosDeviceTargets('D').at(0), "C:\\Data");  // plain form
    ASSERT_TRUE(Connect(m.sim, 'I', "\\\\srv\\docs", true));
    RememberConnection(m.sim, 'J', "\\\\srv\\docs", "Network\\Persistent\\");
    RememberConnection(m.sim, 'K', "\\\\srv\\nt-only");  // NT key: not read on 9x
    RefreshAll(m.program);
    EXPECT_EQ(Row(m.program, 'C').Type, "FIXED");
    EXPECT_EQ(Row(m.program, 'D').Type, "SUBST (FIXED)");
    EXPECT_EQ(Row(m.program, 'D').Path, "C:\\Data");
    EXPECT_EQ(Row(m.program, 'I').Type, "REMOTE");
    EXPECT_EQ(Row(m.program, 'I').Permanent, "YES");
    EXPECT_EQ(Row(m.program, 'J').Type, "REMOTE (INACTIVE)");
    EXPECT_EQ(Row(m.program, 'J').Permanent, "YES");
    EXPECT_EQ(Row(m.program, 'K').Type, "FREE");
}

TEST(DriveScan, DriveTypeKeywords) {
    TestMachine m;
    const struct {
        char letter;
        uint32_t type;
        const char* keyword;
    } cases[] = {
        {'E', kDriveRemovable, "REMOVABLE"}, {'F', kDriveFixed, "FIXED"},
        {'G', kDriveRemote, "REMOTE"},       {'H', kDriveCdrom, "CDROM"},
        {'I', kDriveRamdisk, "RAMDISK"},     {'J', kDriveUnknown, "UNKNOWN"},
        {'K', kDriveNoRootDir, "UNKNOWN"},   {'L', 7, "UNKNOWN"},
    };
    for (const auto& c : cases) {
        m.sim.AddDrive(c.letter, c.type);
        EXPECT_EQ(DriveTypeKeyword(m.sim, std::string(1, c.letter) + ":\\"), c.keyword);
    }
    EXPECT_EQ(DriveTypeKeyword(m.sim, "Q:\\"), "UNKNOWN");  // never "FREE"
    EXPECT_EQ(DriveTypeKeyword(m.sim, ""), "UNKNOWN");
}

TEST(NetworkCheck, NoticesDrivesThatAppearVanishOrChange) {
    TestMachine m;
    m.Started();
    m.sim.AddFolder("C:\\Data");
    m.sim.AddFolder("C:\\Other");
    m.sim.AddShare("\\\\srv\\a");
    m.sim.AddShare("\\\\srv\\b");
    ASSERT_TRUE(Subst(m.sim, 'D', "C:\\Data"));
    ASSERT_TRUE(Connect(m.sim, 'N', "\\\\srv\\a"));
    Program& p = m.program;

    EXPECT_TRUE(NetworkCheck(p));  // the snapshot starts empty
    EXPECT_FALSE(NetworkCheck(p));
    EXPECT_EQ(p.drives.snapshot[DriveIndexOf('C')].RawType, "FIXED");
    EXPECT_EQ(p.drives.snapshot[DriveIndexOf('D')].Path, "C:\\Data");
    EXPECT_EQ(p.drives.snapshot[DriveIndexOf('N')].Path, "\\\\srv\\a\\");

    m.sim.AddDrive('U', kDriveRemovable);  // appears
    EXPECT_TRUE(NetworkCheck(p));
    EXPECT_FALSE(NetworkCheck(p));
    m.sim.RemoveDrive('U');  // vanishes
    EXPECT_TRUE(NetworkCheck(p));
    EXPECT_FALSE(NetworkCheck(p));

    ASSERT_TRUE(m.sim.DefineDosDevice(kDddRemoveDefinition, "D:", nullptr));
    ASSERT_TRUE(Subst(m.sim, 'D', "C:\\Other"));  // subst changes target
    EXPECT_TRUE(NetworkCheck(p));
    EXPECT_FALSE(NetworkCheck(p));

    ASSERT_EQ(m.sim.WNetCancelConnection("N:", true), 0u);
    ASSERT_TRUE(Connect(m.sim, 'N', "\\\\srv\\b"));  // connection changes target
    EXPECT_TRUE(NetworkCheck(p));
    EXPECT_FALSE(NetworkCheck(p));

    m.sim.RemovePath("C:\\Other");  // the folder behind D: is deleted
    EXPECT_TRUE(NetworkCheck(p));
    EXPECT_FALSE(NetworkCheck(p));
}

TEST(NetworkCheck, NothingToReportOnAMachineWithoutDrives) {
    TestMachine m;
    m.Started();
    m.sim.RemoveDrive('C');
    EXPECT_FALSE(NetworkCheck(m.program));
    m.sim.Fail("GetLogicalDriveStrings");
    EXPECT_FALSE(NetworkCheck(m.program));
}

// Four present drives: C:, the subst D:, the CD E: and the network N:.
TEST(PollCheck, MakesOnlyTheCallsItNeeds) {
    TestMachine m;
    m.Started();
    m.sim.AddFolder("C:\\Data");
    m.sim.AddShare("\\\\srv\\a");
    m.sim.AddDrive('E', kDriveCdrom);
    ASSERT_TRUE(Subst(m.sim, 'D', "C:\\Data"));
    ASSERT_TRUE(Connect(m.sim, 'N', "\\\\srv\\a"));
    struct Step {
        const char* name;
        bool (*check)(Program&);
        int list, device, type, attributes, longName, connection, settingsFile;
    };
    const Step steps[] = {
        // Each drive's device answer and type; D:'s folder is there, and its
        // long form is its path; N:'s connection is its path.
        {"first check", NetworkCheck, 1, 4, 4, 1, 1, 1, 0},
        // The drive list alone, until the full check is due.
        {"quiet tick 1", PollCheck, 1, 0, 0, 0, 0, 0, 0},
        {"quiet tick 2", PollCheck, 1, 0, 0, 0, 0, 0, 0},
        {"quiet tick 3", PollCheck, 1, 0, 0, 0, 0, 0, 0},
        {"quiet tick 4", PollCheck, 1, 0, 0, 0, 0, 0, 0},
        // Answers as before: only whether D:'s folder is there and N:'s
        // connection are asked again, and the settings file read once.
        {"fifth tick", PollCheck, 1, 4, 0, 1, 0, 1, 1},
        {"quiet tick after it", PollCheck, 1, 0, 0, 0, 0, 0, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        m.sim.ResetCalls();
        // Only the first check, against the empty snapshot, sees a change.
        EXPECT_EQ(s.check(m.program), &s == &steps[0]);
        EXPECT_EQ(m.sim.Calls("GetLogicalDriveStrings"), s.list);
        EXPECT_EQ(m.sim.Calls("QueryDosDevice"), s.device);
        EXPECT_EQ(m.sim.Calls("GetDriveType"), s.type);
        EXPECT_EQ(m.sim.Calls("GetFileAttributes"), s.attributes);
        EXPECT_EQ(m.sim.Calls("GetLongPathName"), s.longName);
        EXPECT_EQ(m.sim.Calls("WNetGetConnection"), s.connection);
        EXPECT_EQ(m.sim.Calls("ReadFileStatus"), s.settingsFile);
        EXPECT_EQ(m.sim.TotalCalls(), s.list + s.device + s.type + s.attributes + s.longName +
                                          s.connection + s.settingsFile);
    }
}

// The calls of one scan, per machine. A scan cannot do with fewer than one
// drive list, one type query per listed drive, one DOS-device query per
// letter, one pass over the remembered connections and one read of the
// settings file; it stays within twice that. The first scan of a run also
// opens the key of the labels Explorer shows (missing in every case here).
TEST(RefreshAll, MakesOnlyTheCallsTheScanAsksFor) {
    struct Counts {
        int types;
        int longNames;
        int open, enumerate, query, close;  // registry
        int connections;  // WNetGetConnection: listed letters that are no subst drive
        int capitals;     // CharUpperBuff
    };
    struct Case {
        const char* name;
        Counts calls;
        void (*build)(TestMachine&);
    };
    const Case cases[] = {
        {"six drives, three stored entries",
         {6, 1, 3, 2, 1, 2, 5, 0},
         [](TestMachine& m) {
             // C: fixed, D: subst, E: CD-ROM, U: stick, N: persistent share,
             // V: VirtualBox share; stored D:, F: and a deactivated K:.
             m.sim.AddFolder("C:\\Data");
             m.sim.AddDrive('E', kDriveCdrom);
             m.sim.AddDrive('U', kDriveRemovable);
             m.sim.AddShare("\\\\srv\\share");
             m.sim.AddShare("\\\\vboxsvr\\shared", "\\Device\\VBoxMiniRdr");
             Subst(m.sim, 'D', "C:\\Data");
             Connect(m.sim, 'N', "\\\\srv\\share", true);
             Connect(m.sim, 'V', "\\\\vboxsvr\\shared");
             StoreDriveEntry(m.sim, 'D', "C:\\Data");
             StoreDriveEntry(m.sim, 'F', "C:\\Data");
             StoreDriveEntry(m.sim, 'K', "!\\\\srv\\old");
         }},
        {"no remembered connection, no settings file",
         {1, 0, 2, 0, 0, 0, 1, 0},
         [](TestMachine&) {}},
        {"four remembered connections, none connected",
         {1, 0, 6, 6, 4, 5, 1, 0},
         [](TestMachine& m) {
             for (char letter : {'G', 'H', 'I', 'J'}) RememberConnection(m.sim, letter, "\\\\s\\x");
             m.sim.SetRegistryString(kHkeyCurrentUser, "Network\\Not a letter", "RemotePath",
                                     "\\\\s\\y");
         }},
        {"Windows 98",
         {1, 0, 3, 2, 1, 2, 1, 0},
         [](TestMachine& m) {
             m.sim.PlayWindows98();
             m.program.startup.NetworkKeyPrefix = "Network\\Persistent\\";
             RememberConnection(m.sim, 'J', "\\\\srv\\docs", "Network\\Persistent\\");
             RememberConnection(m.sim, 'K', "\\\\srv\\nt-only");
         }},
        {"drive list fails: any letter may be connected",
         {0, 0, 2, 0, 0, 0, 26, 0},
         [](TestMachine& m) { m.sim.Fail("GetLogicalDriveStrings"); }},
        // A Cyrillic name in a section another program wrote in small
        // letters: the user's name, and each spelling of the section once.
        {"section named in other letter case",
         {1, 0, 2, 0, 0, 0, 1, 3},
         [](TestMachine& m) {
             m.sim.SetCodePage(1251);
             m.program.startup.User = "\xC2\xE0\xED\xFF";
             m.sim.AddFile(TestMachine::kUserIni,
                           "[USER=\xC2\xE0\xED\xFF]\r\nSubstPath_F=C:\\\r\n");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMachine m;
        m.Started();
        c.build(m);
        m.sim.ResetCalls();
        RefreshAll(m.program);
        const Counts& n = c.calls;
        EXPECT_EQ(m.sim.Calls("GetLogicalDriveStrings"), 1);
        EXPECT_EQ(m.sim.Calls("GetDriveType"), n.types);
        EXPECT_EQ(m.sim.Calls("QueryDosDevice"), 26);
        EXPECT_EQ(m.sim.Calls("ReadFileStatus"), 1);
        EXPECT_EQ(m.sim.Calls("GetLongPathName"), n.longNames);
        EXPECT_EQ(m.sim.Calls("RegOpenKeyEx"), n.open);
        EXPECT_EQ(m.sim.Calls("RegEnumKeyEx"), n.enumerate);
        EXPECT_EQ(m.sim.Calls("RegQueryValueEx"), n.query);
        EXPECT_EQ(m.sim.Calls("RegCloseKey"), n.close);
        EXPECT_EQ(m.sim.Calls("WNetGetConnection"), n.connections);
        EXPECT_EQ(m.sim.Calls("CharUpperBuff"), n.capitals);
        const int total = 1 + n.types + 26 + 1 + n.longNames + n.open + n.enumerate + n.query +
                          n.close + n.connections + n.capitals;
        EXPECT_EQ(m.sim.TotalCalls(), total);
        EXPECT_LE(total, 2 * (1 + n.types + 26 + 1 + 1));
    }
}

}  // namespace
}  // namespace kelvra::test
