// Labels, file systems and long paths of drives that can stall come from
// worker threads: the test's own thread plays the window's.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "drives/scan.h"
#include "drives_machine.h"
#include "mainwindow/main_window.h"
#include "sim/fake_main_view.h"

namespace kelvra::test {
namespace {

using namespace std::chrono_literals;

// A stick R: with two folders; the view can be woken; the clock stands
// still until a test moves it.
class DriveAnswers : public ::testing::Test {
  protected:
    void SetUp() override {
        m.Started().view = &view;
        view.Wakeable();
        m.program.answers.queries.SetClock([this] { return QueryTime(now.load() * 1ms); });
        m.sim.AddDrive('R', kDriveRemovable, "STICK", "FAT32");
        m.sim.AddFolder("R:\\A");
        m.sim.AddFolder("R:\\B");
        RefreshAll(m.program);
    }
    void TearDown() override {
        for (char letter : {'R', 'E'}) m.sim.ReleaseVolumeQueries(letter);
        EXPECT_TRUE(m.program.answers.queries.WaitIdle(10s));
    }
    // Waits for the workers, then does what the woken window does.
    void AnswersIn() {
        ASSERT_TRUE(m.program.answers.queries.WaitIdle(10s));
        ShowDriveAnswers(m.program);
    }
    std::wstring Shown(char letter, int column = 0) {
        return view.rows[DriveIndexOf(letter)].texts[column];
    }

    std::atomic<long long> now{0};  // milliseconds; outlives the machine
    TestMachine m;
    sim::FakeMainView view;
};

TEST_F(DriveAnswers, WindowGoesOnWhileADriveHangsAndTheRowFillsInLater) {
    m.sim.BlockVolumeQueries('R');
    m.sim.ResetCalls();
    Display(m.program);
    ASSERT_TRUE(m.sim.AwaitBlockedQueries(1));
    EXPECT_EQ(Shown('R'), L"R: ");
    EXPECT_EQ(Shown('C'), L"C:  SYSTEM");  // a fixed drive is asked at once
    // Still hanging: another Display and a command run, and the drive is not
    // asked a second time.
    Display(m.program);
    SwitchDeviceNames(m.program);
    EXPECT_EQ(Shown('R'), L"R: ");
    EXPECT_EQ(m.sim.Calls("GetVolumeInformation"), 3);  // C: three times
    m.sim.ReleaseVolumeQueries('R');
    ASSERT_TRUE(view.AwaitWakes(1));
    AnswersIn();
    EXPECT_EQ(Shown('R'), L"R:  STICK");
    EXPECT_EQ(m.program.drives.list[DriveIndexOf('R')].Drive, "R:  STICK");
    EXPECT_EQ(m.sim.Calls("GetVolumeInformation"), 4);
    // A Display without a scan reuses the answer.
    Display(m.program);
    EXPECT_EQ(Shown('R'), L"R:  STICK");
    EXPECT_EQ(m.sim.Calls("GetVolumeInformation"), 5);
    // A new scan shows the last answer until its own comes, not a blank.
    RefreshAll(m.program);
    m.sim.BlockVolumeQueries('R');
    Display(m.program);
    ASSERT_TRUE(m.sim.AwaitBlockedQueries(1));
    EXPECT_EQ(Shown('R'), L"R:  STICK");
}

TEST_F(DriveAnswers, AnAnswerOlderThanTheRowNeverOverwritesIt) {
    // K: stands for R:\A; while its query hangs, a newer scan finds it moved
    // to R:\B, or gone. The old answer (R:\A, the stick's label) comes last.
    // clang-format off
    struct Case { const char* movedTo; const wchar_t* drive; const wchar_t* path; };
    const Case cases[] = {
        {"R:\\B", L"K:  STICK", L"R:\\B"},
        {nullptr, L"K: ", L""},
    };
    // clang-format on
    for (const Case& c : cases) {
        ASSERT_TRUE(Subst(m.sim, 'K', "R:\\A"));
        RefreshAll(m.program);
        m.sim.BlockVolumeQueries('R');
        Display(m.program);
        ASSERT_TRUE(m.sim.AwaitBlockedQueries(2));  // R: and K:
        EXPECT_EQ(Shown('K', 3), L"R:\\A");
        m.sim.DefineDosDevice(kDddRemoveDefinition, "K:", nullptr);
        if (c.movedTo) {
            ASSERT_TRUE(Subst(m.sim, 'K', c.movedTo));
        }
        RefreshAll(m.program);
        Display(m.program);
        m.sim.ReleaseVolumeQueries('R');
        AnswersIn();
        EXPECT_EQ(Shown('K'), c.drive);
        EXPECT_EQ(Shown('K', 3), c.path);
        EXPECT_EQ(Shown('R'), L"R:  STICK");
        m.sim.DefineDosDevice(kDddRemoveDefinition, "K:", nullptr);
    }
}

TEST_F(DriveAnswers, AnAnswerLaterThanOneSecondIsGivenUpForThisScan) {
    // clang-format off
    // The second round shows the first round's answer while it waits, and
    // drops it when its own answer is given up.
    struct Case { long long after; const wchar_t* waiting; const wchar_t* shown; };
    const Case cases[] = {{900, L"R: ", L"R:  STICK"}, {1001, L"R:  STICK", L"R: "}};
    // clang-format on
    for (const Case& c : cases) {
        RefreshAll(m.program);
        m.sim.BlockVolumeQueries('R');
        Display(m.program);
        ASSERT_TRUE(m.sim.AwaitBlockedQueries(1));
        EXPECT_EQ(Shown('R'), c.waiting) << c.after;
        now += c.after;
        m.sim.ReleaseVolumeQueries('R');
        AnswersIn();
        EXPECT_EQ(Shown('R'), c.shown) << c.after;
        // Nor is it asked again before the next scan.
        m.sim.ResetCalls();
        Display(m.program);
        EXPECT_EQ(m.sim.Calls("GetVolumeInformation"), 1) << c.after;  // C: alone
        EXPECT_EQ(Shown('R'), c.shown) << c.after;
    }
    RefreshAll(m.program);
    Display(m.program);
    AnswersIn();
    EXPECT_EQ(Shown('R'), L"R:  STICK");
}

TEST_F(DriveAnswers, AWorkerAsksAnEmptyCardReaderQuietly) {
    m.sim.AddDrive('E', kDriveRemovable, "", "");
    RefreshAll(m.program);
    m.sim.BlockVolumeQueries('E');
    m.sim.ResetCalls();
    Display(m.program);
    ASSERT_TRUE(m.sim.AwaitBlockedQueries(1));
    // The window's quiet scope has ended: the worker must be quiet on its own.
    EXPECT_EQ(m.sim.ErrorMode(), 0u);
    m.sim.ReleaseVolumeQueries('E');
    AnswersIn();
    EXPECT_EQ(m.sim.Calls("GetVolumeInformation"), 3);  // C:, R: and E:
    EXPECT_EQ(m.sim.NoDiskBoxes(), 0);
    EXPECT_EQ(m.sim.ErrorMode(), 0u);
    EXPECT_EQ(Shown('E'), L"E: ");
}

}  // namespace
}  // namespace kelvra::test
