// Reading a file with a status that tells "not there" from "not readable
// now", and replacing a file's contents in one step; and that a settings text
// changed in memory reads back through the private-profile calls the same.
#include "contract/contract.h"
#include "startup/ini_text.h"

namespace kelvra::contract {
namespace {

// Files in the folder other than the one named: temporary files left behind.
std::vector<std::string> Others(Os& os, const std::string& folder, const std::string& name) {
    std::vector<std::string> others;
    for (const std::string& found : os.FindFiles(folder + "*"))
        if (found != name) others.push_back(found);
    return others;
}

}  // namespace

TEST_F(ContractTest, ReadFileStatusTellsMissingFromUnreadable) {
    const std::string folder = env->Scratch();
    env->MakeFile(folder + "there.ini", "[S]\r\nK=V\r\n");
    os().CreateDirectory(folder + "sub");
    std::string bytes = "stale";
    EXPECT_EQ(os().ReadFileStatus(folder + "there.ini", bytes, 1024), oserr::kSuccess);
    EXPECT_EQ(bytes, "[S]\r\nK=V\r\n");
    EXPECT_EQ(os().ReadFileStatus(folder + "gone.ini", bytes, 1024), oserr::kFileNotFound);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(os().ReadFileStatus(folder + "none\\gone.ini", bytes, 1024), oserr::kPathNotFound);
    EXPECT_EQ(os().ReadFileStatus(folder + "sub", bytes, 1024), oserr::kAccessDenied);

    env->HoldFile(folder + "there.ini", true);
    bytes = "stale";
    EXPECT_EQ(os().ReadFileStatus(folder + "there.ini", bytes, 1024), oserr::kSharingViolation);
    EXPECT_EQ(bytes, "");
    EXPECT_FALSE(os().ReadFile(folder + "there.ini", bytes, 1024));
    env->HoldFile(folder + "there.ini", false);
    EXPECT_EQ(os().ReadFileStatus(folder + "there.ini", bytes, 1024), oserr::kSuccess);
}

TEST_F(ContractTest, ReplaceFileContentsMakesOrReplacesTheWholeFile) {
    const std::string folder = env->Scratch();
    const std::string file = folder + "k.ini";
    EXPECT_EQ(os().ReplaceFileContents(file, "[S]\r\nA=1\r\n"), oserr::kSuccess);
    EXPECT_EQ(env->ReadBytes(file), "[S]\r\nA=1\r\n");
    const std::string longer(100000, 'x');
    EXPECT_EQ(os().ReplaceFileContents(file, longer), oserr::kSuccess);
    EXPECT_EQ(env->ReadBytes(file), longer);
    EXPECT_EQ(os().ReplaceFileContents(file, "short"), oserr::kSuccess);
    EXPECT_EQ(env->ReadBytes(file), "short");
    EXPECT_TRUE(Others(os(), folder, "k.ini").empty());
}

TEST_F(ContractTest, ReplaceFileContentsThatFailsLeavesTheOldFileWhole) {
    const std::string folder = env->Scratch();
    const std::string file = folder + "k.ini";
    env->MakeFile(file, "old");
    env->MakeReadOnly(file);
    EXPECT_EQ(os().ReplaceFileContents(file, "new"), oserr::kAccessDenied);
    EXPECT_EQ(env->ReadBytes(file), "old");

    const std::string held = folder + "held.ini";
    env->MakeFile(held, "old");
    env->HoldFile(held, true);
    EXPECT_NE(os().ReplaceFileContents(held, "new"), oserr::kSuccess);
    env->HoldFile(held, false);
    EXPECT_EQ(env->ReadBytes(held), "old");

    os().CreateDirectory(folder + "sub");
    EXPECT_NE(os().ReplaceFileContents(folder + "sub", "new"), oserr::kSuccess);
    EXPECT_NE(os().GetFileAttributes(folder + "sub") & kFileAttributeDirectory, 0u);
    EXPECT_NE(os().ReplaceFileContents(folder + "none\\k.ini", "new"), oserr::kSuccess);
    const auto others = Others(os(), folder, "k.ini");
    EXPECT_EQ(others, std::vector<std::string>{"held.ini"});
}

// The whole-file text reads like the system's private-profile calls and,
// once written back, reads to them as intended.
TEST_F(ContractTest, IniTextReadsAndWritesAsTheProfileCalls) {
    const std::string file = env->Scratch() + "p.ini";
    const std::string original =
        "; by hand\r\n[Other]\r\nKey=theirs\r\n\r\n[USER=TESTER]\r\n  Padded  =  a b  \r\n"
        "Quoted=\"q v\"\r\nSingle='s'\r\nEmpty=\r\nnokey line\r\nSubstPath_K=!C:\\Mine\r\n\r\n"
        "[user=tester]\r\nLater=second section\r\n[Last]\nLf=only\n";
    env->MakeFile(file, original);
    const IniText ini(original);
    const char* const probes[][2] = {
        {"Other", "Key"},
        {"USER=TESTER", "Padded"},
        {"user=tester", "padded"},
        {"USER=TESTER", "Quoted"},
        {"USER=TESTER", "Single"},
        {"USER=TESTER", "Empty"},
        {"USER=TESTER", "SubstPath_K"},
        {"USER=TESTER", "Missing"},
        {"Last", "Lf"},
        {" Other ", " Key "},
        {"None", "Key"},
    };
    for (const auto& probe : probes) {
        std::string system;
        os().GetPrivateProfileString(probe[0], probe[1], "<none>", system, 1024, file);
        std::string ours = "<none>";
        ini.Get(probe[0], probe[1], ours);
        EXPECT_EQ(ours, system) << probe[0] << " / " << probe[1];
    }

    IniText changed = ini;
    changed.Set("USER=TESTER", "Padded", "new");
    changed.Set("USER=TESTER", "Added", "1");
    changed.Delete("USER=TESTER", "SubstPath_K");
    changed.Set("USER=SECOND", "ShowLEDs", "0");
    ASSERT_EQ(os().ReplaceFileContents(file, changed.Serialize()), oserr::kSuccess);
    const char* const expected[][3] = {
        {"USER=TESTER", "Padded", "new"},
        {"USER=TESTER", "Added", "1"},
        {"USER=TESTER", "SubstPath_K", "<none>"},
        {"USER=SECOND", "ShowLEDs", "0"},
        {"Other", "Key", "theirs"},
        {"USER=TESTER", "Quoted", "q v"},
        {"Last", "Lf", "only"},
    };
    for (const auto& e : expected) {
        std::string system;
        os().GetPrivateProfileString(e[0], e[1], "<none>", system, 1024, file);
        EXPECT_EQ(system, e[2]) << e[0] << " / " << e[1];
    }
}

}  // namespace kelvra::contract
