// The release package as a user gets it: tests/checks/release_package
// unpacks the zip and runs these tests with KELVRA_PACKAGE_DIR naming the
// unpacked folder (ending in "\"). They are disabled in the ordinary run,
// where there is no such folder.
#include <cstdlib>
#include <string>

#include "wine/console_run.h"
#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

using ReleasePackage = ScratchProgramTest;

std::string PackageFolder() {
    const char* folder = std::getenv("KELVRA_PACKAGE_DIR");
    return folder ? folder : "";
}

TEST_F(ReleasePackage, DISABLED_KelvraStartsFromTheUnpackedFolder) {
    const std::string folder = PackageFolder();
    ASSERT_FALSE(folder.empty()) << "KELVRA_PACKAGE_DIR is not set";
    ASSERT_TRUE(FileThere(folder + "Kelvra.exe")) << folder;
    // English from the shipped pack, read through the settings file beside
    // the program.
    WriteBytes(folder + "kelvra.ini", "[" + UserSection() + "]\r\nLanguage=English\r\n");
    ASSERT_TRUE(LaunchWindow(folder + "Kelvra.exe"));
    EXPECT_EQ(WindowTitle(main_), kMainTitle);
    EXPECT_TRUE(WaitUntil([&] { return StatusText(status_, 2) == "Autostart: No "; }))
        << StatusText(status_, 2);

    // The info window: the legal notice survived stripping, the pack is the
    // shipped one.
    ASSERT_TRUE(FocusControl(main_, list_));
    ASSERT_TRUE(PressKey(VK_RETURN, {VK_MENU}));
    HWND info = WaitForBox(Pid(), kMainTitle + " - Info", kStateTimeout, kInfoPack);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(LongWindowText(GetDlgItem(info, kInfoNotice)), "Copyright (C) Brannock");
    EXPECT_EQ(LongWindowText(GetDlgItem(info, kInfoPack)), "Language Pack 'English' V1.0.1");
    PostMessageW(info, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(info); }));
    EXPECT_TRUE(Close());
}

TEST_F(ReleasePackage, DISABLED_LauncherStartsFromTheUnpackedFolder) {
    const std::string folder = PackageFolder();
    ASSERT_FALSE(folder.empty()) << "KELVRA_PACKAGE_DIR is not set";
    // Started without a drive command it only says what it is.
    Process* launcher = Start("", folder + "kelvrashell.exe");
    ASSERT_NE(launcher, nullptr);
    HWND box = WaitForBox(launcher->id(), "kelvrashell");
    ASSERT_NE(box, nullptr) << "no box with a title and a text";
    EXPECT_EQ(WindowTitle(box), "kelvrashell");
    EXPECT_EQ(LongWindowText(GetDlgItem(box, kMessageBoxTextId)),
              "Shell Context Extension for Win 98/Win ME");
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(launcher->Wait(kStateTimeout));
}

TEST_F(ReleasePackage, DISABLED_ConsoleProgramStartsFromTheUnpackedFolder) {
    const std::string folder = PackageFolder();
    ASSERT_FALSE(folder.empty()) << "KELVRA_PACKAGE_DIR is not set";
    // Its version from the version record, which stripping must leave.
    const ConsoleRun run = RunConsole(folder + "kelvractl.exe", "--version");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.code, 0u) << run.err;
    EXPECT_EQ(run.out, "kelvractl " KELVRA_VERSION_TEXT "\r\n");
    EXPECT_TRUE(run.windows.empty());
}

}  // namespace
}  // namespace kelvra::e2e
