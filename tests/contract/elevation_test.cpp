#include <algorithm>
#include <chrono>
#include <thread>

#include "contract/contract.h"

namespace kelvra::contract {

TEST_F(ContractTest, ElevationTypeAndItsSession) {
    const uint32_t type = os().TokenElevationType();
    EXPECT_TRUE(type == kElevationDefault || type == kElevationFull || type == kElevationLimited)
        << type;
    // Without a split token there is no other half in another session.
    if (type == kElevationDefault) {
        EXPECT_FALSE(os().LinkedTokenInOtherSession());
    }
    // Wine answers "full" for every program, but both halves of its token
    // share one session: every program sees the same letters.
    if (env->IsWine()) {
        EXPECT_FALSE(os().LinkedTokenInOtherSession());
    }
}

TEST_F(ContractTest, TheDesktopShellStartsAProgram) {
    const std::string marker = env->Scratch() + "started.txt";
    const std::string command = os().SystemDirectory() + "\\cmd.exe";
    const LaunchResult result =
        os().ShellExecuteAsDesktop(command, "/c echo started> \"" + marker + "\"");
    ASSERT_NE(result, LaunchResult::Failed);
    if (!env->IsWine() || result != LaunchResult::Started) return;
    // It does not wait: the program runs on its own.
    for (int i = 0; i < 200 && os().GetFileAttributes(marker) == kInvalidFileAttributes; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_NE(os().GetFileAttributes(marker), kInvalidFileAttributes);
}

TEST_F(ContractTest, RemovingALogonTaskThatIsNotThereIsNoError) {
    const std::string name = "kelvra contract no such task";
    EXPECT_FALSE(os().LogonTaskExists(name));
    EXPECT_EQ(os().DeleteLogonTask(name), oserr::kSuccess);
}

TEST_F(ContractTest, ProgramFilesFoldersExist) {
    const std::vector<std::string> folders = os().ProgramFilesFolders();
    ASSERT_FALSE(folders.empty());
    for (const std::string& folder : folders) {
        EXPECT_EQ(folder.back(), '\\') << folder;
        const uint32_t attributes = os().GetFileAttributes(folder);
        EXPECT_TRUE(attributes != kInvalidFileAttributes &&
                    (attributes & kFileAttributeDirectory) != 0)
            << folder;
        EXPECT_EQ(std::count(folders.begin(), folders.end(), folder), 1) << folder;
    }
}

TEST_F(ContractTest, SessionOnlyDisconnectOfAFreeLetterIsAnError) {
    const char letter = env->FreeLetter();
    ASSERT_NE(letter, 0);
    EXPECT_NE(os().WNetCancelConnectionHere(std::string(1, letter) + ":", true), 0u);
}

}  // namespace kelvra::contract
