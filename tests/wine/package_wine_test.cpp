// The release package as a user gets it: tests/checks/release_package
// unpacks the zip and runs these tests with KELVRA_PACKAGE_DIR naming the
// unpacked folder (ending in "\"). They are disabled in the ordinary run,
// where there is no such folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "version.h"
#include "wine/e2e_support.h"

namespace kelvra::e2e {
namespace {

const std::string kTitle = "Kelvra V" KELVRA_VERSION_TEXT;
constexpr int kIdList = 100;
constexpr int kIdStatus = 101;
constexpr int kIdLabel2 = 102;  // of the info window
constexpr int kIdLabel3 = 103;

std::string PackageFolder() {
    const char* folder = std::getenv("KELVRA_PACKAGE_DIR");
    return folder ? folder : "";
}

TEST(ReleasePackage, DISABLED_KelvraStartsFromTheUnpackedFolder) {
    const std::string folder = PackageFolder();
    ASSERT_FALSE(folder.empty()) << "KELVRA_PACKAGE_DIR is not set";
    ASSERT_TRUE(FileThere(folder + "Kelvra.exe")) << folder;
    // English from the shipped pack, read through the settings file beside
    // the program.
    WriteBytes(folder + "kelvra.ini", "[" + UserSection() + "]\r\nLanguage=English\r\n");
    ASSERT_TRUE(WaitUntil([] { return WindowsTitled("Kelvra V").empty(); }))
        << "another Kelvra window is open";

    Process kelvra;
    ASSERT_TRUE(kelvra.Start(folder + "Kelvra.exe", ""));
    HWND main = WaitForVisibleWindow(kelvra.id(), "KelvraMainWindow", "Kelvra V");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowTitle(main), kTitle);
    HWND status = GetDlgItem(main, kIdStatus);
    EXPECT_TRUE(WaitUntil([&] { return StatusText(status, 2) == "Autostart: No "; }))
        << StatusText(status, 2);

    // The info window: the legal notice survived stripping, the pack is the
    // shipped one.
    ASSERT_TRUE(FocusControl(main, GetDlgItem(main, kIdList)));
    ASSERT_TRUE(PressKey(VK_RETURN, {VK_MENU}));
    HWND info = WaitForBox(kelvra.id(), kTitle + " - Info", kStateTimeout, kIdLabel3);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(LongWindowText(GetDlgItem(info, kIdLabel2)), "Copyright (C) Brannock");
    EXPECT_EQ(LongWindowText(GetDlgItem(info, kIdLabel3)), "Language Pack 'English' V1.0.1");
    PostMessageW(info, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(info); }));

    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(kelvra.Wait(kStateTimeout, &code));
    EXPECT_EQ(code, 0u);
    if (kelvra.Running()) kelvra.Kill();
}

TEST(ReleasePackage, DISABLED_LauncherStartsFromTheUnpackedFolder) {
    const std::string folder = PackageFolder();
    ASSERT_FALSE(folder.empty()) << "KELVRA_PACKAGE_DIR is not set";
    Process launcher;
    // Started without a drive command it only says what it is.
    ASSERT_TRUE(launcher.Start(folder + "kelvrashell.exe", ""));
    HWND box = WaitForBox(launcher.id(), "kelvrashell");
    ASSERT_NE(box, nullptr) << "no box with a title and a text";
    EXPECT_EQ(WindowTitle(box), "kelvrashell");
    EXPECT_EQ(LongWindowText(GetDlgItem(box, kMessageBoxTextId)),
              "Shell Context Extension for Win 98/Win ME");
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(launcher.Wait(kStateTimeout));
    if (launcher.Running()) launcher.Kill();
}

}  // namespace
}  // namespace kelvra::e2e
