// End-to-end test of the info window of the real Kelvra.exe under Wine:
// opened with Alt+Enter or from the Help menu, it shows the version, the
// running file's legal notice and the lines of the language pack in use,
// and Esc closes it.
#include <gtest/gtest.h>

#include <memory>

#include "version.h"
#include "wine/e2e_support.h"

namespace kelvra::e2e {
namespace {

const std::string kTitle = "Kelvra V" KELVRA_VERSION_TEXT;
constexpr int kIdList = 100;
constexpr int kIdMnuInfo = 213;  // Help menu, "About Kelvra"
constexpr int kIdLabel1 = 101;
constexpr int kIdLabel2 = 102;
constexpr int kIdLabel3 = 103;
constexpr int kIdLabel4 = 104;
constexpr int kIdCmdWebsite = 105;

std::string SourcePath(const std::string& relative) {
    std::string path = "Z:" + std::string(KELVRA_SOURCE_DIR) + "/" + relative;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string ItemText(HWND dialog, int id) {
    return LongWindowText(GetDlgItem(dialog, id));
}

// Kelvra in a program folder of its own with the English pack beside it.
class InfoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = MakeScratchFolder("info");
        ASSERT_TRUE(CopyInto(BuildFolder() + "Kelvra.exe", folder_));
        ASSERT_TRUE(CreateDirectoryA((folder_ + "languages").c_str(), nullptr));
        ASSERT_TRUE(CopyInto(SourcePath("languages/English.lng"), folder_ + "languages\\"));
    }
    void TearDown() override {
        if (process_ && process_->Running()) process_->Kill();
        process_.reset();
        RemoveTree(folder_);
    }

    // Starts Kelvra in the language and waits for its main window.
    HWND Launch(const std::string& language) {
        WriteBytes(folder_ + "kelvra.ini",
                   "[" + UserSection() + "]\r\nLanguage=" + language + "\r\n");
        if (!WaitUntil([] { return WindowsTitled("Kelvra V").empty(); })) {
            ADD_FAILURE() << "another Kelvra window is still open";
            return nullptr;
        }
        process_ = std::make_unique<Process>();
        if (!process_->Start(folder_ + "Kelvra.exe", "")) return nullptr;
        return WaitForVisibleWindow(process_->id(), "KelvraMainWindow", "Kelvra V");
    }

    std::string folder_;
    std::unique_ptr<Process> process_;
};

TEST_F(InfoWindowTest, ShowsVersionNoticeAndPackLinesAndClosesOnEsc) {
    const struct {
        const char* language;
        bool byKey;  // Alt+Enter in the list, else the Help menu entry
        const char* website;
        const char* label3;
        const char* label4;
    } cases[] = {
        {"English", true, "Kelvra website", "Language Pack 'English' V1.0.1",
         "\xC2\xA9 2026/12/7 Kelvra project"},
        {"Deutsch", false, "Kelvra Webseite", "Language Pack 'Deutsch (intern)' V2.3.19",
         "\xC2\xA9 2011/4/28 Kelvra-Projekt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        HWND main = Launch(c.language);
        ASSERT_NE(main, nullptr);
        if (c.byKey) {
            ASSERT_TRUE(FocusControl(main, GetDlgItem(main, kIdList)));
            ASSERT_TRUE(PressKey(VK_RETURN, {VK_MENU}));
        } else {
            PostMessageW(main, WM_COMMAND, MAKEWPARAM(kIdMnuInfo, 0), 0);
        }
        HWND info = WaitForBox(process_->id(), kTitle + " - ", kStateTimeout, kIdLabel3);
        ASSERT_NE(info, nullptr) << "no info window";
        EXPECT_EQ(WindowTitle(info), kTitle + " - Info");
        EXPECT_EQ(GetWindow(info, GW_OWNER), main);
        EXPECT_FALSE(IsWindowEnabled(main)) << "the window is modal";
        EXPECT_EQ(ItemText(info, kIdLabel1), kTitle);
        EXPECT_EQ(ItemText(info, kIdLabel2), "Copyright (C) Brannock");
        EXPECT_EQ(ItemText(info, kIdLabel3), c.label3);
        EXPECT_EQ(ItemText(info, kIdLabel4), c.label4);
        EXPECT_EQ(ItemText(info, kIdCmdWebsite), c.website);

        ASSERT_TRUE(FocusControl(info, GetDlgItem(info, kIdCmdWebsite)));
        ASSERT_TRUE(PressKey(VK_ESCAPE));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(info); })) << "Esc left the window open";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));

        PostMessageW(main, WM_CLOSE, 0, 0);
        DWORD code = 1;
        EXPECT_TRUE(process_->Wait(kStateTimeout, &code));
        EXPECT_EQ(code, 0u);
    }
}

}  // namespace
}  // namespace kelvra::e2e
