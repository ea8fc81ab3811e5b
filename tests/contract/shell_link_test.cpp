#include "contract/contract.h"

namespace kelvra::contract {

TEST_F(ContractTest, ShellLinkIsWrittenAndReplaced) {
    const std::string folder = env->Scratch();
    const std::string target = folder.substr(0, folder.size() - 1);
    const std::string link = folder + "Laufwerk X (Daten).lnk";
    const std::wstring description = L"Pfad: C:\\Daten \u00C4\u00DF  (Erzeugt von Kelvra)";
    ASSERT_TRUE(os().CreateShellLink(link, target, "", description, ""));
    Environment::LinkFields fields;
    ASSERT_TRUE(env->ReadLink(link, fields));
    EXPECT_TRUE(fields.target == target || fields.target == folder) << fields.target;
    EXPECT_EQ(fields.description, description);
    EXPECT_EQ(fields.arguments, "");
    EXPECT_EQ(fields.workingFolder, "");

    // A second link of the same name replaces the first.
    ASSERT_TRUE(os().CreateShellLink(link, target, "/a", L"second", target));
    ASSERT_TRUE(env->ReadLink(link, fields));
    EXPECT_EQ(fields.description, L"second");
    EXPECT_EQ(fields.arguments, "/a");
    EXPECT_EQ(fields.workingFolder, target);
}

TEST_F(ContractTest, ShellLinkFailsWhereNoFileCanBeWritten) {
    const std::string folder = env->Scratch();
    const std::string target = folder.substr(0, folder.size() - 1);
    Environment::LinkFields fields;
    for (const std::string& link :
         {folder + "Missing\\Laufwerk X.lnk", folder + std::string(270, 'x') + ".lnk"}) {
        EXPECT_FALSE(os().CreateShellLink(link, target, "", L"d", "")) << link;
        EXPECT_FALSE(env->ReadLink(link, fields)) << link;
    }
}

// The folder chooser's wide path becomes 8-bit only when every character
// has a code of its own: a best fit ("\u0141" as "L") would name another folder.
TEST_F(ContractTest, CodePageConversionWithoutBestFit) {
    struct Case {
        std::wstring wide;
        bool exact;
        std::string ansi;  // checked when exact
    };
    const Case cases[] = {
        {L"C:\\M\u00FCller", true,
         "C:\\M\xFC"
         "ller"},
        {L"C:\\\u20AC 100", true, "C:\\\x80 100"},
        {L"", true, ""},
        {L"C:\\\u0141\u00F3d\u017A", false, ""},
        {L"C:\\\u4E2D", false, ""},
        {L"a?b", true, "a?b"},
    };
    for (const Case& c : cases) {
        std::string out = "stale";
        EXPECT_EQ(os().WideToAnsiExact(c.wide, out), c.exact);
        if (c.exact) {
            EXPECT_EQ(out, c.ansi);
        } else {
            // Never the look-alike letters a best fit would give.
            EXPECT_EQ(out.find_first_of("LzZ", 3), std::string::npos) << out;
            EXPECT_NE(out.find('?'), std::string::npos) << out;
        }
    }
}

}  // namespace kelvra::contract
