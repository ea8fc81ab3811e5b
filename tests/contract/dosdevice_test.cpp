#include "contract/contract.h"
#include "util/text.h"

namespace kelvra::contract {
namespace {

// The scratch folder without its closing backslash, as a subst target.
std::string Folder(const std::string& scratch) {
    return scratch.substr(0, scratch.size() - 1);
}

bool Listed(Os& os, char letter) {
    std::string list;
    os.GetLogicalDriveStrings(1024, list);
    return list.find(std::string(1, letter) + ":\\") != std::string::npos;
}

}  // namespace

TEST_F(ContractTest, DosDeviceDefineQueryRemove) {
    const std::string target = Folder(env->Scratch());
    const char letter = env->FreeLetter();
    ASSERT_NE(letter, 0);
    const std::string device = std::string(1, letter) + ":";
    std::string answer;
    EXPECT_EQ(os().QueryDosDevice(device, answer, 1024), 0u);

    ASSERT_TRUE(os().DefineDosDevice(0, device, &target));
    const std::string expected = "\\??\\" + target;
    EXPECT_EQ(os().QueryDosDevice(device, answer, 1024), expected.size() + 2);
    EXPECT_EQ(answer, expected + std::string(2, '\0'));
    EXPECT_TRUE(Listed(os(), letter));
    // Lower-case device names name the same letter.
    const std::string lower(1, static_cast<char>(letter - 'A' + 'a'));
    EXPECT_EQ(os().QueryDosDevice(lower + ":", answer, 1024), expected.size() + 2);
    // An answer that exactly fills the buffer is whole; one that does not
    // fit is no answer.
    const auto whole = static_cast<uint32_t>(expected.size() + 2);
    EXPECT_EQ(os().QueryDosDevice(device, answer, whole), whole);
    EXPECT_EQ(answer, expected + std::string(2, '\0'));
    EXPECT_EQ(os().QueryDosDevice(device, answer, whole - 1), 0u);
    EXPECT_EQ(answer, "");
    EXPECT_EQ(os().QueryDosDevice(device, answer, 4), 0u);

    EXPECT_TRUE(os().DefineDosDevice(kDddRemoveDefinition, device, nullptr));
    EXPECT_EQ(os().QueryDosDevice(device, answer, 1024), 0u);
    EXPECT_FALSE(Listed(os(), letter));
    EXPECT_FALSE(os().DefineDosDevice(kDddRemoveDefinition, device, nullptr));
}

TEST_F(ContractTest, DosDeviceRawTargetIsKeptAsGiven) {
    const std::string raw = "\\??\\" + Folder(env->Scratch());
    const char letter = env->FreeLetter();
    ASSERT_NE(letter, 0);
    const std::string device = std::string(1, letter) + ":";
    ASSERT_TRUE(os().DefineDosDevice(kDddRawTargetPath, device, &raw));
    std::string answer;
    EXPECT_EQ(os().QueryDosDevice(device, answer, 1024), raw.size() + 2);
    EXPECT_EQ(text::CutAtNul(answer), raw);
    EXPECT_TRUE(os().DefineDosDevice(kDddRemoveDefinition, device, nullptr));
}

TEST_F(ContractTest, DosDeviceDefinitionsStack) {
    SKIP_UNDER_WINE("a second definition on a defined letter fails instead of stacking");
    const std::string first = Folder(env->Scratch());
    const std::string second = Folder(env->Scratch());
    const char letter = env->FreeLetter();
    const std::string device = std::string(1, letter) + ":";
    ASSERT_TRUE(os().DefineDosDevice(0, device, &first));
    ASSERT_TRUE(os().DefineDosDevice(0, device, &second));
    std::string answer;
    const std::string both = "\\??\\" + second + '\0' + "\\??\\" + first + '\0' + '\0';
    EXPECT_EQ(os().QueryDosDevice(device, answer, 1024), both.size());
    EXPECT_EQ(answer, both);

    EXPECT_TRUE(os().DefineDosDevice(kDddRemoveDefinition, device, nullptr));
    os().QueryDosDevice(device, answer, 1024);
    EXPECT_EQ(text::CutAtNul(answer), "\\??\\" + first);
    EXPECT_TRUE(Listed(os(), letter));
    EXPECT_TRUE(os().DefineDosDevice(kDddRemoveDefinition, device, nullptr));
    EXPECT_FALSE(Listed(os(), letter));
}

TEST_F(ContractTest, DosDeviceLetterReachesItsFolder) {
    SKIP_UNDER_WINE("no file access through a letter made by DefineDosDevice");
    const std::string target = Folder(env->Scratch());
    env->MakeFile(target + "\\file.txt", "through the letter");
    const char letter = env->FreeLetter();
    const std::string device = std::string(1, letter) + ":";
    ASSERT_TRUE(os().DefineDosDevice(0, device, &target));
    EXPECT_EQ(os().GetDriveType(device + "\\"), os().GetDriveType(target.substr(0, 3)));
    EXPECT_EQ(os().GetFileAttributes(device + "\\") & kFileAttributeDirectory,
              kFileAttributeDirectory);
    std::string bytes;
    EXPECT_TRUE(os().ReadFile(device + "\\file.txt", bytes, 100));
    EXPECT_EQ(bytes, "through the letter");
    EXPECT_TRUE(os().DefineDosDevice(kDddRemoveDefinition, device, nullptr));
}

}  // namespace kelvra::contract
