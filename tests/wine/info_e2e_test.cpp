// End-to-end test of the info window under Wine: it shows the version, the
// running file's legal notice and the lines of the language pack in use, and
// Esc closes it. The window runs in info_driver.exe, which opens it the way
// Kelvra does, from a program folder of its own.
#include <gtest/gtest.h>

#include <memory>

#include "version.h"
#include "wine/e2e_support.h"

namespace kelvra::e2e {
namespace {

const std::string kTitle = "Kelvra V" KELVRA_VERSION_TEXT;
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

class InfoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = MakeScratchFolder("info");
        ASSERT_TRUE(CopyInto(BuildFolder() + "info_driver.exe", folder_));
        ASSERT_TRUE(CreateDirectoryA((folder_ + "languages").c_str(), nullptr));
        ASSERT_TRUE(CopyInto(SourcePath("languages/English.lng"), folder_ + "languages\\"));
    }
    void TearDown() override {
        if (process_ && process_->Running()) process_->Kill();
        process_.reset();
        RemoveTree(folder_);
    }

    // Opens the window in the language; null when it does not show.
    HWND Open(const std::string& language) {
        process_ = std::make_unique<Process>();
        if (!process_->Start(folder_ + "info_driver.exe", language)) return nullptr;
        return WaitForVisibleWindow(process_->id(), "#32770", kTitle + " - ");
    }

    std::string folder_;
    std::unique_ptr<Process> process_;
};

TEST_F(InfoWindowTest, ShowsVersionNoticeAndPackLinesAndClosesOnEsc) {
    const struct {
        const char* language;
        const char* website;
        const char* label3;
        const char* label4;
    } cases[] = {
        {"English", "Kelvra website", "Language Pack 'English' V2.3.19",
         "\xC2\xA9 2011/4/28 Kelvra project"},
        {"Deutsch", "Kelvra Webseite", "Language Pack 'Deutsch (intern)' V2.3.19",
         "\xC2\xA9 2011/4/28 Kelvra-Projekt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        HWND info = Open(c.language);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(WindowTitle(info), kTitle + " - Info");
        EXPECT_EQ(ItemText(info, kIdLabel1), kTitle);
        EXPECT_EQ(ItemText(info, kIdLabel2), "Copyright (C) Brannock");
        EXPECT_EQ(ItemText(info, kIdLabel3), c.label3);
        EXPECT_EQ(ItemText(info, kIdLabel4), c.label4);
        EXPECT_EQ(ItemText(info, kIdCmdWebsite), c.website);

        ASSERT_TRUE(FocusControl(info, GetDlgItem(info, kIdCmdWebsite)));
        ASSERT_TRUE(PressKey(VK_ESCAPE));
        DWORD code = 1;
        EXPECT_TRUE(process_->Wait(kStateTimeout, &code));
        EXPECT_EQ(code, 0u);
    }
}

}  // namespace
}  // namespace kelvra::e2e
