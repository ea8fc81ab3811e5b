#include <random>
#include <set>
#include <string>
#include <vector>

#include "unit/language_test_fixture.h"

namespace kelvra {
namespace {

using test::LanguageFixture;
using LanguagePack = LanguageFixture;

TEST(LanguageTable, KeysAreUniqueLowerCaseAndFoundByName) {
    std::set<std::string_view> names;
    LanguageState language;
    for (std::size_t i = 0; i < kTextCount; ++i) {
        TextKey key = static_cast<TextKey>(i);
        std::string_view name = TextKeyName(key);
        EXPECT_TRUE(names.insert(name).second) << name;
        for (char c : name) EXPECT_FALSE(c >= 'A' && c <= 'Z') << name;
        TextKey found = TextKey::author_name;
        ASSERT_TRUE(FindTextKey(name, found)) << name;
        EXPECT_EQ(found, key);
        EXPECT_EQ(&Text(language, name), &Text(language, key));
    }
    EXPECT_EQ(names.size(), 180u);
    EXPECT_EQ(Text(language, "main_cmdnew "), L"");
    EXPECT_EQ(Text(language, "MAIN_CMDNEW"), L"");
}

TEST_F(LanguagePack, WithoutPackEveryTextIsBuiltIn) {
    Load("Deutsch");
    EXPECT_TRUE(AllBuiltIn());
    EXPECT_EQ(T(TextKey::author_language), L"Deutsch (intern)");
    // Written with escapes so a wrong source character set shows up here.
    EXPECT_EQ(T(TextKey::main_cmdchange), L"&\u00C4ndern");
    EXPECT_EQ(T(TextKey::main_mnuhelp_about), L"\u00DCber &Kelvra");
    EXPECT_EQ(
        T(TextKey::hint_1)
            .rfind(L"Kelvra befindet sich nicht auf einem festen lokalen Datentr\u00E4ger, dadurch "
                   L"ergeben sich folgende Einschr\u00E4nkungen: \r\n\r\n1.)",
                   0),
        0u);
    EXPECT_NE(T(TextKey::main_inplink).find(L"* ? \" < > | werden"), std::wstring::npos);
    EXPECT_EQ(T(TextKey::main_msgshell_errorkill),
              L"Kein g\u00FCltiges Subst- oder Netz-Laufwerk,\r\ntrennen nicht m\u00F6glich!||"
              L"Trennen");
}

TEST(LanguagePrepareText, ResolvesEscapesAndDropsMarkers) {
    const struct {
        std::wstring in, out;
    } cases[] = {
        {L"  two words  ", L"two words"},
        {L"\t tab \t", L"\t tab \t"},  // only the space is a blank
        {L"   ", L""},
        {L" \\n ", L"\r\n"},  // trimmed before the escapes
        {L"a\\nb\\Nc", L"a\r\nb\r\nc"},
        {L"\\quote\\QUOTE\\Quotes", L"\"\"\"s"},
        {L"\\\\n", L"\\\r\n"},
        {L"\\quot", L"\\quot"},
        {L"\\", L"\\"},
        {L"x<!@01@!>y", L"x01y"},
        // Deleting a bracket must not leave a new one behind.
        {L"<!<!@@01@!@!>>", L"01"},
        {L"<!@@!>", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(PrepareText(c.in), c.out) << c.in.size();
}

TEST(LanguageKeyValue, KeyInFirstColumnDirectlyBeforeEquals) {
    const struct {
        std::wstring line;
        bool matches;
        std::wstring value;
    } cases[] = {
        {L"main_cmdnew=New", true, L"New"},
        {L"MAIN_CmdNew=New", true, L"New"},
        {L"main_cmdnew= a=b ", true, L" a=b "},
        {L"main_cmdnew=", true, L""},
        {L" main_cmdnew=New", false, L"-"},
        {L"main_cmdnew =New", false, L"-"},
        {L"main_cmdnewer=New", false, L"-"},
        {L"main_cmdne", false, L"-"},
        {L"", false, L"-"},
    };
    for (const auto& c : cases) {
        std::wstring value = L"-";
        EXPECT_EQ(KeyValue(c.line, "main_cmdnew", value), c.matches) << c.line.size();
        EXPECT_EQ(value, c.value);
    }
}

TEST_F(LanguagePack, AppliesAssignmentsAndSkipsTheRest) {
    AddPack("Test",
            "; main_cmdmove=comment\r\n"
            "[main_cmdlink]\r\n"
            "MAIN_CMDNEW=Upper\r\n"
            " main_cmdchange=blank before key\r\n"
            "main_cmdfix =blank before equals\r\n"
            "main_cmdtemp=   padded   \r\n"
            "main_cmdkill=\r\n"
            "main_cmdrename=first\r\n"
            "main_cmdrename=second\r\n"
            "hint_title=a\\Nb \\QUOTE <!@x@!>\r\n"
            "no_such_key=x\r\n"
            "\r\n"
            "free text\r\n");
    Load("Test");
    EXPECT_EQ(T(TextKey::main_cmdnew), L"Upper");
    EXPECT_EQ(T(TextKey::main_cmdchange), L"&\u00C4ndern");
    EXPECT_EQ(T(TextKey::main_cmdfix), L"&Permanent");
    EXPECT_EQ(T(TextKey::main_cmdtemp), L"padded");
    EXPECT_EQ(T(TextKey::main_cmdkill), L"");
    EXPECT_EQ(T(TextKey::main_cmdrename), L"second");
    EXPECT_EQ(T(TextKey::hint_title), L"a\r\nb \" x");
    EXPECT_EQ(T(TextKey::main_cmdmove), L"&Verschieben");
    EXPECT_EQ(T(TextKey::main_cmdlink), L"Auf Deskt&op");
    EXPECT_EQ(T(TextKey::author_language), L"Deutsch (intern)");
}

TEST_F(LanguagePack, SwitchingPacksRestoresBuiltInTexts) {
    AddPack("First", "main_cmdnew=Connect\r\nmain_cmdkill=Cut");
    AddPack("SECOND", "main_cmdkill=Disconnect");
    Load("First");
    EXPECT_EQ(T(TextKey::main_cmdnew), L"Connect");
    Load("second");  // file names match in any letter case
    EXPECT_EQ(T(TextKey::main_cmdnew), L"&Verbinden");
    EXPECT_EQ(T(TextKey::main_cmdkill), L"Disconnect");
    Load("Deutsch");
    EXPECT_TRUE(AllBuiltIn());
}

TEST_F(LanguagePack, LineEnds) {
    // CR LF, a lone CR and a lone LF (a pack edited on another system) alike.
    for (const char* pack : {"main_cmdnew=A\rmain_cmdkill=B\r\n\r\nmain_cmdmove=C",
                             "main_cmdnew=A\nmain_cmdkill=B\n\nmain_cmdmove=C\n",
                             "main_cmdnew=A\r\nmain_cmdkill=B\n\r\nmain_cmdmove=C\r"}) {
        AddPack("Ends", pack);
        EXPECT_TRUE(Load("Ends"));
        EXPECT_EQ(T(TextKey::main_cmdnew), L"A");
        EXPECT_EQ(T(TextKey::main_cmdkill), L"B");
        EXPECT_EQ(T(TextKey::main_cmdmove), L"C");  // last line with or without an end
    }
}

TEST_F(LanguagePack, BytesGoThroughTheCodePage) {
    AddPack("Cp", "main_cmdnew=\xE4\xF6\xFC\xDF \xE9\x80\r\n");
    Load("Cp");
    EXPECT_EQ(T(TextKey::main_cmdnew), L"\u00E4\u00F6\u00FC\u00DF \u00E9\u20AC");
}

TEST_F(LanguagePack, HelpFileChoice) {
    const std::string help = std::string(kFolder) + "helpfiles\\";
    const struct {
        bool own, english;
        std::string expected;
    } cases[] = {
        {true, true, help + "Francais.chm"},
        {true, false, help + "Francais.chm"},
        {false, true, help + "English.chm"},
        {false, false, "previous.chm"},
    };
    for (const auto& c : cases) {
        sim.RemovePath(help);
        sim.AddFolder(help);
        if (c.own) sim.AddFile(help + "Francais.chm");
        if (c.english) sim.AddFile(help + "English.chm");
        program.language.HelpFile = "previous.chm";
        Load("Francais");
        EXPECT_EQ(program.language.HelpFile, c.expected) << c.own << c.english;
    }
}

TEST_F(LanguagePack, BadPacksLeaveBuiltInTexts) {
    std::mt19937 random(7);
    std::string noise(64 * 1024, '\0');
    for (char& b : noise) b = static_cast<char>(random());
    // No line of the noise may start with a key, or the test proves nothing.
    noise[0] = ';';
    for (std::size_t i = 0; i + 1 < noise.size(); ++i)
        if (noise[i] == '\r' || noise[i] == '\n') noise[i + 1] = ';';

    AddPack("Noise", noise);
    EXPECT_FALSE(Load("Noise"));
    EXPECT_TRUE(AllBuiltIn());

    sim.AddFolder(PackPath("Folder"));
    EXPECT_FALSE(Load("Folder"));
    EXPECT_TRUE(AllBuiltIn());

    EXPECT_FALSE(Load("Missing"));
    EXPECT_FALSE(Load("..\\Elsewhere"));
    EXPECT_TRUE(Load("Deutsch"));  // built in: needs no pack

    AddPack("Locked", "main_cmdnew=X");
    sim.Fail("ReadFile");
    EXPECT_FALSE(Load("Locked"));
    EXPECT_TRUE(AllBuiltIn());
}

TEST_F(LanguagePack, NulBytesAreOrdinaryCharacters) {
    const char pack[] = "main_cmdnew=A\0B\r\n\0main_cmdmove=X\r\nmain_cmdkill=K";
    AddPack("Nul", std::string(pack, sizeof pack - 1));
    Load("Nul");
    EXPECT_EQ(T(TextKey::main_cmdnew), std::wstring(L"A\0B", 3));
    EXPECT_EQ(T(TextKey::main_cmdmove), L"&Verschieben");
    EXPECT_EQ(T(TextKey::main_cmdkill), L"K");
}

TEST_F(LanguagePack, LargePacksAreReadOnceAndQuickly) {
    std::string longLine = "main_cmdnew=" + std::string(1 << 20, 'x');
    AddPack("Long", longLine);
    Load("Long");
    EXPECT_EQ(T(TextKey::main_cmdnew).size(), std::size_t{1} << 20);

    // Many lines against 125 keys each: must stay linear in the file size.
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += (i % 2 ? "splash_netsplash=" : "unknown_key_line=") + std::to_string(i) + "\r\n";
    AddPack("Many", many);
    sim.ResetCalls();
    Load("Many");
    EXPECT_EQ(T(TextKey::splash_netsplash), L"99999");
    EXPECT_EQ(sim.Calls("ReadFile"), 1);
}

TEST_F(LanguagePack, OversizedPackKeepsOnlyWholeLinesWithinTheLimit) {
    std::string pack = "main_cmdnew=A\r\n";
    const std::string filler = ";" + std::string(1022, 'f') + "\r\n";
    while (pack.size() + filler.size() <= kMaxPackBytes - 10) pack += filler;
    pack += ";" + std::string(kMaxPackBytes - 10 - pack.size() - 3, 'p') + "\r\n";
    ASSERT_EQ(pack.size(), kMaxPackBytes - 10);  // the next line straddles the limit
    pack += "main_cmdkill=cut in the middle\r\nmain_cmdmove=beyond\r\n";
    ASSERT_GT(pack.size(), kMaxPackBytes);
    AddPack("Huge", pack);
    Load("Huge");
    EXPECT_EQ(T(TextKey::main_cmdnew), L"A");
    EXPECT_EQ(T(TextKey::main_cmdkill), L"T&rennen");
    EXPECT_EQ(T(TextKey::main_cmdmove), L"&Verschieben");
}

}  // namespace
}  // namespace kelvra
