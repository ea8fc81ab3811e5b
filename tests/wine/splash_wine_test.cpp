// The busy splash on its own thread, in this process: it appears only when
// the work it stands for outlasts its delay, paints while the creating
// thread is busy, and is off the screen once its owner lets it go.
#include <gtest/gtest.h>

#include "mainwindow/win32/frm_splash.h"
#include "wine/e2e_support.h"
#include "wine/scratch_program.h"

namespace kelvra {
namespace {

using e2e::VisibleWindowsOf;

constexpr wchar_t kText[] = L"Status der Laufwerke wird ermittelt, bitte warten...";

std::vector<HWND> Splashes() {
    return VisibleWindowsOf(GetCurrentProcessId(), e2e::kSplashClass, "");
}

TEST(DelayedSplashTest, WorkShorterThanTheDelayShowsNoSplash) {
    {
        const DelayedSplash splash(kText, 96, 60000);
        Sleep(50);
        EXPECT_TRUE(Splashes().empty());
    }
    EXPECT_TRUE(Splashes().empty());
}

TEST(DelayedSplashTest, LongWorkShowsTheSplashUntilItEnds) {
    HWND shown = nullptr;
    {
        const DelayedSplash splash(kText, 96, 0);
        // This thread pumps nothing while it waits, as it would while it scans.
        for (int i = 0; i < 1500 && Splashes().empty(); ++i) Sleep(10);
        ASSERT_EQ(Splashes().size(), 1u) << "no splash while the work went on";
        shown = Splashes().front();
        EXPECT_EQ(e2e::WindowTitle(shown), "Kelvra");
        HWND label = FindWindowExW(shown, nullptr, L"STATIC", nullptr);
        ASSERT_NE(label, nullptr);
        wchar_t text[128] = {};
        GetWindowTextW(label, text, 128);
        EXPECT_STREQ(text, kText);
        // Its own thread answers for it.
        DWORD_PTR result = 0;
        EXPECT_TRUE(SendMessageTimeoutW(shown, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result));
    }
    // Gone when the owner is done, not some time later.
    EXPECT_FALSE(IsWindow(shown));
}

}  // namespace
}  // namespace kelvra
