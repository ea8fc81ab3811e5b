#include <gtest/gtest.h>

#include "drives/subst.h"
#include "drives_machine.h"

namespace kelvra::test {
namespace {

TEST(Subst, TargetInLongFormOnNtAndWindows98) {
    for (bool win98 : {false, true}) {
        SCOPED_TRACE(win98 ? "Windows 98" : "NT");
        sim::SimulatedWindows sim;
        if (win98) sim.PlayWindows98();
        sim.AddFolder("C:\\Long Folder Name");
        const std::string shortForm = ShortPathName(sim, "C:\\Long Folder Name");
        EXPECT_EQ(shortForm, "C:\\LONGFO~1");
        ASSERT_TRUE(DefineSubst(sim, "K:", shortForm));
        EXPECT_EQ(sim.DosDeviceTargets('K').at(0), win98 ? shortForm : "\\??\\" + shortForm);
        EXPECT_EQ(SubstTarget(sim, "K:"), "C:\\Long Folder Name");
        EXPECT_EQ(SubstTarget(sim, "k:"), "C:\\Long Folder Name");
    }
}

TEST(Subst, NoTargetForDisksConnectionsFreeLettersAndDeletedFolders) {
    sim::SimulatedWindows sim;
    sim.AddShare("\\\\srv\\share");
    sim.AddFolder("C:\\Data");
    ASSERT_TRUE(Connect(sim, 'N', "\\\\srv\\share"));
    ASSERT_TRUE(DefineSubst(sim, "D:", "C:\\Data"));
    sim.RemovePath("C:\\Data");
    for (const char* device : {"C:", "N:", "Q:", "D:", "", "C", "C:\\"}) {
        SCOPED_TRACE(device);
        EXPECT_EQ(SubstTarget(sim, device), "");
    }
}

TEST(Subst, DriveRootKeepsItsBackslash) {
    sim::SimulatedWindows sim;
    sim.AddDrive('E', kDriveFixed);
    ASSERT_TRUE(DefineSubst(sim, "K:", "E:\\"));
    EXPECT_EQ(SubstTarget(sim, "K:"), "E:\\");
}

TEST(Subst, RemoveTakesOnlyTheLatestOfStackedDefinitions) {
    sim::SimulatedWindows sim;
    sim.AddFolder("C:\\First");
    sim.AddFolder("C:\\Second");
    ASSERT_TRUE(DefineSubst(sim, "K:", "C:\\First"));
    ASSERT_TRUE(DefineSubst(sim, "K:", "C:\\Second"));
    // The answer lists both; only the current one is the target.
    EXPECT_EQ(SubstTarget(sim, "K:"), "C:\\Second");
    EXPECT_TRUE(RemoveSubst(sim, "K:"));
    EXPECT_EQ(SubstTarget(sim, "K:"), "C:\\First");
    EXPECT_TRUE(RemoveSubst(sim, "K:"));
    EXPECT_EQ(SubstTarget(sim, "K:"), "");
    EXPECT_FALSE(RemoveSubst(sim, "K:"));
}

TEST(Subst, RemoveWorksAfterTheFolderWasDeleted) {
    sim::SimulatedWindows sim;
    sim.AddFolder("C:\\Data");
    ASSERT_TRUE(DefineSubst(sim, "K:", "C:\\Data"));
    sim.RemovePath("C:\\Data");
    EXPECT_TRUE(RemoveSubst(sim, "K:"));
    EXPECT_TRUE(sim.DosDeviceTargets('K').empty());
}

// A stale row must not take the letter of a disk or a connection away.
TEST(Subst, RemoveRefusesLettersThatAreNoMapping) {
    sim::SimulatedWindows sim;
    sim.AddShare("\\\\srv\\share");
    ASSERT_TRUE(Connect(sim, 'N', "\\\\srv\\share"));
    sim.AddDrive('U', kDriveRemovable);
    sim.ResetCalls();
    for (const char* device : {"C:", "N:", "U:", "Q:"}) {
        SCOPED_TRACE(device);
        EXPECT_FALSE(RemoveSubst(sim, device));
    }
    EXPECT_EQ(sim.Calls("DefineDosDevice"), 0);
}

TEST(Subst, BadDevicesAndEmptyFoldersAreRefusedWithoutACall) {
    sim::SimulatedWindows sim;
    sim.AddFolder("C:\\Data");
    sim.ResetCalls();
    for (const char* device : {"", "K", "K:\\", "KK", "1:", "@:", "[:"}) {
        SCOPED_TRACE(device);
        EXPECT_FALSE(DefineSubst(sim, device, "C:\\Data"));
        EXPECT_FALSE(RemoveSubst(sim, device));
    }
    EXPECT_FALSE(DefineSubst(sim, "K:", ""));
    EXPECT_EQ(sim.TotalCalls(), 0);
}

TEST(Subst, DefineReportsTheSystemsFailure) {
    sim::SimulatedWindows sim;
    sim.AddFolder("C:\\Data");
    sim.Fail("DefineDosDevice");
    EXPECT_FALSE(DefineSubst(sim, "K:", "C:\\Data"));
    EXPECT_EQ(SubstTarget(sim, "K:"), "");
}

TEST(PathNames, LongAndShortFormsUpToTheBufferLimit) {
    sim::SimulatedWindows sim;
    // C:\ + 100 + \ + 100 + \ + n characters.
    const std::string base = "C:\\" + std::string(100, 'a') + " x\\" + std::string(98, 'b');
    const std::string fits = base + "\\" + std::string(254 - base.size() - 1, 'c');
    const std::string tooLong = base + "\\" + std::string(255 - base.size() - 1, 'd');
    ASSERT_EQ(fits.size(), 254u);
    ASSERT_EQ(tooLong.size(), 255u);
    sim.AddFolder(fits);
    sim.AddFolder(tooLong);

    EXPECT_EQ(LongPathName(sim, fits), fits);
    EXPECT_EQ(LongPathName(sim, tooLong), "");  // would need 256 characters
    const std::string shortForm = ShortPathName(sim, tooLong);
    EXPECT_FALSE(shortForm.empty());
    EXPECT_LT(shortForm.size(), 255u);
    EXPECT_EQ(LongPathName(sim, shortForm), "");

    // A mapping onto such a folder cannot be resolved to its long form.
    ASSERT_TRUE(DefineSubst(sim, "K:", shortForm));
    EXPECT_EQ(SubstTarget(sim, "K:"), "");
    ASSERT_TRUE(DefineSubst(sim, "L:", ShortPathName(sim, fits)));
    EXPECT_EQ(SubstTarget(sim, "L:"), fits);
}

TEST(PathNames, MissingAndEmptyPathsGiveEmpty) {
    sim::SimulatedWindows sim;
    sim.ResetCalls();
    EXPECT_EQ(LongPathName(sim, ""), "");
    EXPECT_EQ(ShortPathName(sim, ""), "");
    EXPECT_EQ(sim.TotalCalls(), 0);
    EXPECT_EQ(LongPathName(sim, "C:\\Missing"), "");
    EXPECT_EQ(ShortPathName(sim, "C:\\Missing"), "");
    sim.AddFolder("C:\\Data");
    sim.Fail("GetLongPathName");
    EXPECT_EQ(LongPathName(sim, "C:\\Data"), "");
}

}  // namespace
}  // namespace kelvra::test
