// The drive scan and the subst and network operations on the real system.
//
// Wine differs from Windows in ways these tests meet (see wine.md): a subst
// letter has no file access, so GetDriveTypeA answers 1 for it and the scan
// types the row "SUBST (UNKNOWN)" instead of "SUBST (FIXED)"; there is no
// network, so every connection fails. Checks that depend on such a
// difference are skipped under Wine with the reason; the rest run unchanged.
#include <gtest/gtest.h>

#include "drives/keywords.h"
#include "drives/network.h"
#include "drives/scan.h"
#include "drives/subst.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "util/text.h"
#include "wine/e2e_support.h"

namespace kelvra {
namespace {

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

#define SKIP_UNDER_WINE(reason) \
    if (UnderWine()) GTEST_SKIP() << "Wine: " << reason

// A letter with no drive, DOS device or connection now; '\0' when none is.
char FreeLetter() {
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'K'; --letter) {
        if (drives & (1u << (letter - 'A'))) continue;
        const std::string device = std::string(1, letter) + ":";
        char answer[1024];
        if (QueryDosDeviceA(device.c_str(), answer, sizeof(answer)) != 0) continue;
        return letter;
    }
    return '\0';
}

class DriveWine : public ::testing::Test {
  protected:
    DriveWine() : program(os, ui) {}

    void SetUp() override {
        scratch = e2e::MakeScratchFolder("drives");
        folder = scratch + "Long Folder Name";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        letter = FreeLetter();
        ASSERT_NE(letter, '\0') << "no free drive letter";
        device = std::string(1, letter) + ":";
        HKEY key = nullptr;
        hadNetworkKey = RegOpenKeyExA(HKEY_CURRENT_USER, NetworkKey().c_str(), 0, KEY_READ, &key) ==
                        ERROR_SUCCESS;
        if (key) RegCloseKey(key);

        StartupState& s = program.startup;
        s.ApplicationPath = e2e::BuildFolder();
        s.IniFilePath = scratch + "kelvra.ini";  // none: no stored entries
        s.User = "Tester";
        s.IsNT = true;
        s.NetworkKeyPrefix = "Network\\";
    }

    void TearDown() override {
        // The Wine server outlives this program: leave no definition behind.
        if (letter != '\0') e2e::RemoveDosDevice(letter);
        if (letter != '\0' && !hadNetworkKey)
            RegDeleteKeyA(HKEY_CURRENT_USER, NetworkKey().c_str());
        e2e::RemoveTree(scratch);
    }

    std::string NetworkKey() const { return "Network\\" + std::string(1, letter); }
    const DriveRecord& Row() { return program.drives.main[DriveIndexOf(letter)]; }

    Win32Os os;
    sim::ScriptedUi ui;
    Program program;
    std::string scratch;
    std::string folder;
    char letter = '\0';
    std::string device;
    bool hadNetworkKey = false;
};

TEST_F(DriveWine, DefinedSubstIsFoundByTheScanAndRemovedAgain) {
    const std::string shortForm = ShortPathName(os, folder);
    const std::string longForm = LongPathName(os, folder);
    ASSERT_FALSE(shortForm.empty());
    ASSERT_FALSE(longForm.empty());

    ASSERT_TRUE(DefineSubst(os, device, shortForm));
    EXPECT_EQ(SubstTarget(os, device), longForm);
    RefreshAll(program);
    EXPECT_TRUE(program.drives.scanned);
    EXPECT_TRUE(IsSubst(program.drives, DriveIndexOf(letter)));
    EXPECT_TRUE(text::StartsWith(Row().Type, "SUBST ("));
    EXPECT_EQ(Row().Path, longForm);
    EXPECT_EQ(Row().Permanent, "");
    EXPECT_EQ(Row().State, "");
    EXPECT_FALSE(LetterTakenByOtherDevice(program, device));

    ASSERT_TRUE(RemoveSubst(os, device));
    EXPECT_EQ(SubstTarget(os, device), "");
    RefreshAll(program);
    EXPECT_EQ(Row().Type, "FREE");
    EXPECT_EQ(Row().Path, "");
}

TEST_F(DriveWine, SubstRowTakesTheTypeOfItsFoldersDrive) {
    SKIP_UNDER_WINE("GetDriveTypeA of a subst letter is 1 (no file access through it)");
    ASSERT_TRUE(DefineSubst(os, device, ShortPathName(os, folder)));
    RefreshAll(program);
    EXPECT_EQ(Row().Type, "SUBST (" + DriveTypeKeyword(os, folder.substr(0, 3)) + ")");
}

TEST_F(DriveWine, RemoveRefusesALetterThatIsNoMapping) {
    EXPECT_FALSE(RemoveSubst(os, device));  // free letter
    EXPECT_FALSE(RemoveSubst(os, "C:"));    // the system disk stays
    EXPECT_EQ(DriveTypeKeyword(os, "C:\\"), "FIXED");
}

TEST_F(DriveWine, NetworkCheckNoticesTheNewLetter) {
    NetworkCheck(program);  // the snapshot starts empty
    EXPECT_FALSE(NetworkCheck(program));
    ASSERT_TRUE(DefineSubst(os, device, ShortPathName(os, folder)));
    EXPECT_TRUE(NetworkCheck(program));
    EXPECT_EQ(program.drives.snapshot[DriveIndexOf(letter)].Path, LongPathName(os, folder));
    EXPECT_FALSE(NetworkCheck(program));
    ASSERT_TRUE(RemoveSubst(os, device));
    EXPECT_TRUE(NetworkCheck(program));
    EXPECT_EQ(program.drives.snapshot[DriveIndexOf(letter)].RawType, "");
}

TEST_F(DriveWine, FailedConnectLeavesNothingBehind) {
    for (bool persistent : {false, true}) {
        SCOPED_TRACE(persistent);
        EXPECT_FALSE(ConnectNetworkDrive(os, "\\\\kelvra-nowhere\\share", device, nullptr, nullptr,
                                         persistent));
        EXPECT_FALSE(IsNetworkPath(os, device));
        EXPECT_EQ(ConnectionPath(os, device), device + "\\");
        EXPECT_NE(DisconnectNetworkDrive(os, device), 0u);
        if (!hadNetworkKey) {
            HKEY key = nullptr;
            EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, NetworkKey().c_str(), 0, KEY_READ, &key),
                      ERROR_SUCCESS);
            if (key) RegCloseKey(key);
        }
        RefreshAll(program);
        EXPECT_EQ(Row().Type, "FREE");
        EXPECT_EQ(Row().Permanent, "");
    }
}

TEST_F(DriveWine, ProgramOnAFixedDiskIsLocal) {
    program.startup.ApplicationPath = "C:\\windows\\";
    RefreshAll(program);
    EXPECT_EQ(program.drives.main[DriveIndexOf('C')].Type, "FIXED");
    EXPECT_TRUE(program.startup.Local);
}

}  // namespace
}  // namespace kelvra
