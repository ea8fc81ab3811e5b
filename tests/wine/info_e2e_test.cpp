// End-to-end test of the info window of the real Kelvra.exe under Wine:
// opened with Alt+Enter or from the Help menu, it shows the version, the
// running file's legal notice and the lines of the language pack in use,
// and Esc closes it.
#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

using InfoWindowTest = ScratchProgramTest;

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
    ASSERT_TRUE(AddPack("English.lng"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        WriteSettings("Language=" + std::string(c.language) + "\r\n");
        ASSERT_TRUE(Launch());
        if (c.byKey) {
            ASSERT_TRUE(FocusControl(main_, list_));
            ASSERT_TRUE(PressKey(VK_RETURN, {VK_MENU}));
        } else {
            PostMessageW(main_, WM_COMMAND, MAKEWPARAM(kIdMnuInfo, 0), 0);
        }
        HWND info = WaitForBox(Pid(), kMainTitle + " - ", kStateTimeout, kInfoPack);
        ASSERT_NE(info, nullptr) << "no info window";
        auto item = [&](int id) { return LongWindowText(GetDlgItem(info, id)); };
        EXPECT_EQ(WindowTitle(info), kMainTitle + " - Info");
        EXPECT_EQ(GetWindow(info, GW_OWNER), main_);
        EXPECT_FALSE(IsWindowEnabled(main_)) << "the window is modal";
        EXPECT_EQ(item(kInfoTitle), kMainTitle);
        EXPECT_EQ(item(kInfoNotice), "Copyright (C) Brannock");
        EXPECT_EQ(item(kInfoPack), c.label3);
        EXPECT_EQ(item(kInfoPackAuthor), c.label4);
        EXPECT_EQ(item(kInfoWebsite), c.website);

        ASSERT_TRUE(FocusControl(info, GetDlgItem(info, kInfoWebsite)));
        ASSERT_TRUE(PressKey(VK_ESCAPE));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(info); })) << "Esc left the window open";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }));

        EXPECT_TRUE(Close());
    }
}

}  // namespace
}  // namespace kelvra::e2e
