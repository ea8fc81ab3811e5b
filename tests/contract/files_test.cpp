#include <algorithm>
#include <vector>

#include "contract/contract.h"
#include "platform/inireg.h"

namespace kelvra::contract {
namespace {

// The last component of a path, without a closing backslash.
std::string LastName(std::string path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path.substr(path.rfind('\\') + 1);
}

bool Is83(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::string base = name.substr(0, dot);
    const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    return !base.empty() && base.size() <= 8 && ext.size() <= 3 &&
           ext.find('.') == std::string::npos && name.find(' ') == std::string::npos;
}

}  // namespace

TEST_F(ContractTest, FileAndFolderTests) {
    const std::string folder = env->Scratch();
    env->MakeFile(folder + "file.txt", "x");
    os().CreateDirectory(folder + "dir");
    const struct {
        std::string path;
        bool file;
        bool dir;
    } cases[] = {
        {folder + "file.txt", true, false},    {folder + "FILE.TXT", true, false},
        {folder + "dir", false, true},         {folder + "dir\\", false, true},
        {folder + "missing", false, false},    {folder + "missing\\file.txt", false, false},
        {folder + "file.txt\\", false, false}, {"C:\\", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(os(), c.path), c.file) << c.path;
        EXPECT_EQ(DirExists(os(), c.path), c.dir) << c.path;
    }
}

TEST_F(ContractTest, CreateDirectoryNeedsItsParentAndFailsWhenPresent) {
    const std::string folder = env->Scratch();
    EXPECT_TRUE(os().CreateDirectory(folder + "New Folder"));
    EXPECT_TRUE(DirExists(os(), folder + "New Folder"));
    EXPECT_FALSE(os().CreateDirectory(folder + "New Folder"));
    EXPECT_FALSE(os().CreateDirectory(folder + "missing\\child"));
    EXPECT_FALSE(DirExists(os(), folder + "missing"));
}

TEST_F(ContractTest, ReadFileGivesTheBytesUpToTheLimit) {
    const std::string folder = env->Scratch();
    const std::string bytes("line\r\n\0\xFF\x80 end", 13);
    env->MakeFile(folder + "data.bin", bytes);
    env->MakeFile(folder + "empty.bin", "");
    std::string read = "stale";
    EXPECT_TRUE(os().ReadFile(folder + "data.bin", read, 1000));
    EXPECT_EQ(read, bytes);
    EXPECT_TRUE(os().ReadFile(folder + "data.bin", read, 5));
    EXPECT_EQ(read, "line\r");
    EXPECT_TRUE(os().ReadFile(folder + "data.bin", read, 0));
    EXPECT_EQ(read, "");
    EXPECT_TRUE(os().ReadFile(folder + "empty.bin", read, 1000));
    EXPECT_EQ(read, "");
    read = "stale";
    EXPECT_FALSE(os().ReadFile(folder + "missing.bin", read, 1000));
    EXPECT_EQ(read, "");
    EXPECT_FALSE(os().ReadFile(folder.substr(0, folder.size() - 1), read, 1000));
}

TEST_F(ContractTest, ReadFileHandlesMoreThanOneChunk) {
    const std::string path = env->Scratch() + "big.bin";
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>(i * 7));
    env->MakeFile(path, bytes);
    std::string read;
    EXPECT_TRUE(os().ReadFile(path, read, bytes.size() + 10));
    EXPECT_EQ(read, bytes);
    EXPECT_TRUE(os().ReadFile(path, read, 100001));
    EXPECT_EQ(read, bytes.substr(0, 100001));
}

TEST_F(ContractTest, LongAndShortNamesConvertBothWays) {
    const std::string folder = env->Scratch() + "A Long Folder Name";
    ASSERT_TRUE(os().CreateDirectory(folder));
    const std::string file = folder + "\\Some Document.text";
    env->MakeFile(file, "x");

    std::string shortPath;
    const uint32_t n = os().GetShortPathName(file, shortPath, 1024);
    ASSERT_GT(n, 0u);
    ASSERT_EQ(n, shortPath.size());
    EXPECT_TRUE(Is83(LastName(shortPath))) << shortPath;
    const std::string shortFolder = shortPath.substr(0, shortPath.rfind('\\'));
    EXPECT_TRUE(Is83(LastName(shortFolder))) << shortPath;
    EXPECT_EQ(os().GetFileAttributes(shortPath) & kFileAttributeDirectory, 0u);

    std::string longPath;
    EXPECT_EQ(os().GetLongPathName(shortPath, longPath, 1024), file.size());
    EXPECT_EQ(longPath, file);
    EXPECT_EQ(os().GetLongPathName(shortFolder + "\\", longPath, 1024), folder.size() + 1);
    EXPECT_EQ(longPath, folder + "\\");

    // Too small a buffer gives the size needed, NUL included, and no path.
    longPath = "stale";
    EXPECT_EQ(os().GetLongPathName(shortPath, longPath, static_cast<uint32_t>(file.size())),
              file.size() + 1);
    EXPECT_EQ(longPath, "");
    EXPECT_EQ(os().GetShortPathName(file, shortPath, 4), n + 1);
    EXPECT_EQ(shortPath, "");
}

TEST_F(ContractTest, PathConversionsOfRootsAndMissingPaths) {
    const std::string folder = env->Scratch();
    const struct {
        std::string path;
        uint32_t length;
        std::string converted;
    } cases[] = {
        {"C:\\", 3, "C:\\"},
        {folder + "missing", 0, ""},
        {folder + "missing\\deeper.txt", 0, ""},
    };
    for (const auto& c : cases) {
        std::string out = "stale";
        EXPECT_EQ(os().GetLongPathName(c.path, out, 1024), c.length) << c.path;
        EXPECT_EQ(out, c.converted) << c.path;
        out = "stale";
        EXPECT_EQ(os().GetShortPathName(c.path, out, 1024), c.length) << c.path;
        EXPECT_EQ(out, c.converted) << c.path;
    }
}

}  // namespace kelvra::contract

namespace kelvra::contract {

TEST_F(ContractTest, FindFilesListsMatchingFilesButNoFolders) {
    const std::string folder = env->Scratch();
    env->MakeFile(folder + "English.lng", "x");
    env->MakeFile(folder + "francais.LNG", "x");
    env->MakeFile(folder + "notes.txt", "x");
    os().CreateDirectory(folder + "folder.lng");
    std::vector<std::string> names = os().FindFiles(folder + "*.lng");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"English.lng", "francais.LNG"}));
    EXPECT_EQ(os().FindFiles(folder + "n?tes.*"), std::vector<std::string>{"notes.txt"});
    EXPECT_TRUE(os().FindFiles(folder + "*.chm").empty());
    EXPECT_TRUE(os().FindFiles(folder + "missing\\*.lng").empty());
}

}  // namespace kelvra::contract
