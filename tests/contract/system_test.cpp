#include <algorithm>
#include <iterator>

#include "contract/contract.h"
#include "platform/inireg.h"
#include "platform/win32/command_line.h"
#include "util/text.h"

namespace kelvra::contract {

TEST_F(ContractTest, SystemVersionAndModule) {
    OsVersion version;
    ASSERT_TRUE(os().GetVersionEx(version));
    EXPECT_EQ(version.platformId, kPlatformNt);
    EXPECT_GE(version.majorVersion, 5u);

    const std::string exe = os().ModuleFileName();
    EXPECT_TRUE(text::EndsWith(text::Upper(exe), ".EXE")) << exe;
    EXPECT_TRUE(FileExists(os(), exe)) << exe;

    FileVersion fileVersion{1, 2, 3, 4};
    EXPECT_FALSE(os().GetFileVersion(env->Scratch() + "missing.exe", fileVersion));
}

TEST_F(ContractTest, ExtendedVersionAgreesWithTheBasicOne) {
    OsVersion basic;
    OsVersion extended;
    ASSERT_TRUE(os().GetVersionEx(basic));
    ASSERT_TRUE(os().GetVersionExtended(extended));
    EXPECT_EQ(extended.majorVersion, basic.majorVersion);
    EXPECT_EQ(extended.minorVersion, basic.minorVersion);
    EXPECT_EQ(extended.buildNumber, basic.buildNumber);
    EXPECT_EQ(extended.platformId, basic.platformId);
    EXPECT_EQ(extended.csdVersion, basic.csdVersion);
    EXPECT_GE(extended.productType, kNtWorkstation);
    EXPECT_LE(extended.productType, kNtServer);
    // The service-pack number is the one the text names.
    const std::string prefix = "Service Pack ";
    if (text::StartsWith(basic.csdVersion, prefix)) {
        EXPECT_EQ(extended.servicePackMajor,
                  text::LeadingInteger(basic.csdVersion.substr(prefix.size())));
    } else if (basic.csdVersion.empty()) {
        EXPECT_EQ(extended.servicePackMajor, 0);
    }
}

TEST_F(ContractTest, ProductInfoExistsFromVersionSix) {
    OsVersion v;
    ASSERT_TRUE(os().GetVersionExtended(v));
    uint32_t product = 0x12345678u;
    const bool known = os().GetProductInfo(v.majorVersion, v.minorVersion, v.servicePackMajor,
                                           v.servicePackMinor, product);
    if (v.majorVersion >= 6) {
        EXPECT_TRUE(known);
        EXPECT_NE(product, 0x12345678u);
    } else {
        EXPECT_FALSE(known);
        EXPECT_EQ(product, 0x12345678u);
    }
}

TEST_F(ContractTest, ArchitectureAndEditionMetrics) {
    const uint16_t architecture = os().NativeProcessorArchitecture();
    const uint16_t known[] = {kProcessorArchitectureIntel, 5 /* ARM */, kProcessorArchitectureIa64,
                              kProcessorArchitectureAmd64, 12 /* ARM64 */};
    EXPECT_NE(std::find(std::begin(known), std::end(known), architecture), std::end(known))
        << architecture;
    for (int index : {kSmTabletPc, kSmMediaCenter, kSmStarter, kSmServerR2})
        EXPECT_GE(os().GetSystemMetrics(index), 0) << index;
    EXPECT_EQ(os().GetSystemMetrics(100000), 0);
}

TEST_F(ContractTest, SystemDirectoryHoldsVersionedLibraries) {
    const std::string folder = os().SystemDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_FALSE(text::EndsWith(folder, "\\")) << folder;
    EXPECT_TRUE(DirExists(os(), folder)) << folder;
    FileVersion version;
    ASSERT_TRUE(os().GetFileVersion(folder + "\\kernel32.dll", version));
    EXPECT_GE(version.major, 5);

    const std::string plain = env->Scratch() + "plain.dll";
    env->MakeFile(plain, "no version resource here");
    EXPECT_FALSE(os().GetFileVersion(plain, version));
}

// The test program's own version resource holds one German string table
// (contract_version.rc), so only a reader that follows the translation list
// finds its entries.
TEST_F(ContractTest, VersionTextsComeFromTheTableTheTranslationNames) {
    const std::string exe = os().ModuleFileName();
    const struct {
        const char* name;
        bool found;
        const wchar_t* text;
    } cases[] = {
        {"LegalCopyright", true, L"Copyright \u00A9 Kelvra contract"},
        {"LEGALCOPYRIGHT", true, L"Copyright \u00A9 Kelvra contract"},
        {"Comments", true, L""},
        {"ProductName", false, L""},
        {"", false, L""},
        {"040704B0", false, L""},
        {"Comments\\", false, L""},
    };
    for (const auto& c : cases) {
        std::wstring text = L"stale";
        EXPECT_EQ(os().GetFileVersionString(exe, c.name, text), c.found) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
    }

    const std::string plain = env->Scratch() + "plain.exe";
    env->MakeFile(plain, "no version resource here");
    for (const std::string& file : {plain, env->Scratch() + "missing.exe"}) {
        std::wstring text = L"stale";
        EXPECT_FALSE(os().GetFileVersionString(file, "LegalCopyright", text)) << file;
        EXPECT_EQ(text, L"") << file;
    }
}

TEST_F(ContractTest, UserNameNeedsRoomForItsTerminator) {
    std::string name;
    ASSERT_TRUE(os().GetUserName(name, 257));
    ASSERT_FALSE(name.empty());
    const auto exact = static_cast<uint32_t>(name.size() + 1);
    std::string again;
    EXPECT_TRUE(os().GetUserName(again, exact));
    EXPECT_EQ(again, name);
    again = "stale";
    EXPECT_FALSE(os().GetUserName(again, exact - 1));
    EXPECT_EQ(again, "");
}

TEST_F(ContractTest, ProcessNamesComeFromTheProcessList) {
    EXPECT_TRUE(text::EqualsNoCase(os().ProcessExeName(env->ProcessId()), env->ExeName()))
        << os().ProcessExeName(env->ProcessId());
    // Process ids are multiples of four, so this one is never in use.
    EXPECT_EQ(os().ProcessExeName(0xFFFFFFF3u), "");
}

TEST_F(ContractTest, TopLevelWindowsCarryTitleAndProcess) {
    const std::string longTitle(600, 'T');
    const struct {
        std::string title;
        std::uintptr_t handle;
    } made[] = {
        {"Kelvra contract \xE9", env->MakeTopWindow("Kelvra contract \xE9")},
        {"", env->MakeTopWindow("")},
        {longTitle, env->MakeTopWindow(longTitle)},
    };
    for (const auto& m : made)
        if (m.handle == 0) GTEST_SKIP() << "no display to make windows on";
    const std::vector<TopWindow> windows = os().TopLevelWindows();
    for (const auto& m : made) {
        int found = 0;
        for (const TopWindow& w : windows) {
            if (w.handle != m.handle) continue;
            ++found;
            EXPECT_EQ(w.title, m.title);
            EXPECT_EQ(w.processId, env->ProcessId());
        }
        EXPECT_EQ(found, 1) << m.title.substr(0, 20);
    }
}

// The notices go out without waiting, whether or not a shell is running
// to hear them and whatever the letter is.
TEST_F(ContractTest, ShellNoticesNeverWait) {
    for (int32_t event : {kShcneDriveAdd, kShcneDriveRemoved, kShcneUpdateItem})
        for (const char* root : {"C:\\", "Q:\\"}) os().ShellChangeNotify(event, root);
}

TEST_F(ContractTest, ArgumentsFollowTheProgramName) {
    const struct {
        const char* line;
        const char* arguments;
    } cases[] = {
        {"Kelvra.exe", ""},
        {"Kelvra.exe /a b", "/a b"},
        {"Kelvra.exe \t  /a  b ", "/a  b "},
        {"\"C:\\Program Files\\Kelvra\\Kelvra.exe\" /min", "/min"},
        {"\"C:\\Program Files\\Kelvra\\Kelvra.exe\"", ""},
        {"\"C:\\Program Files\\Kelvra\\Kelvra.exe\"/min", "/min"},
        {"\"C:\\unclosed quote /min", ""},
        {"  Kelvra.exe x", "x"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(win32::ArgumentsAfterProgramName(c.line), c.arguments) << "[" << c.line << "]";
}

}  // namespace kelvra::contract
