#include <string>

#include "auxwindows/info.h"
#include "unit/language_test_fixture.h"

namespace kelvra {
namespace {

using InfoWindow = test::LanguageFixture;

constexpr wchar_t kCopyright[] = L"Copyright \u00A9 Brannock";

TEST_F(InfoWindow, TextsFollowTheLanguageActiveWhenOpened) {
    program.startup.ApplicationVersion = "1.0.1";
    const struct {
        const char* name;
        const char* pack;  // empty: no pack file, the built-in texts
        const wchar_t* title;
        const wchar_t* website;
        const wchar_t* label3;
        const wchar_t* label4;
    } cases[] = {
        {"Deutsch", "", L"Kelvra V1.0.1 - Info", L"Kelvra Webseite",
         L"Language Pack 'Deutsch (intern)' V2.3.19", L"\u00A9 2011/4/28 Kelvra-Projekt"},
        {"Full",
         "info_title=About\r\ninfo_cmdwebsite=Web site\r\nauthor_language=English\r\n"
         "author_version=3.1\r\nauthor_date=2024/1/2\r\nauthor_name=J. Doe\r\n",
         L"Kelvra V1.0.1 - About", L"Web site", L"Language Pack 'English' V3.1",
         L"\u00A9 2024/1/2 J. Doe"},
        // A pack without its own metadata shows the built-in values there.
        // Packs are in the system code page: 0xDC is "\u00DC" there.
        {"Bare",
         "info_title=\xDC"
         "ber\r\n",
         L"Kelvra V1.0.1 - \u00DCber", L"Kelvra Webseite",
         L"Language Pack 'Deutsch (intern)' V2.3.19", L"\u00A9 2011/4/28 Kelvra-Projekt"},
        // An empty date leaves both blanks, an empty name the trailing one.
        {"NoDate", "author_date=\r\nauthor_name=Ann\r\n", L"Kelvra V1.0.1 - Info",
         L"Kelvra Webseite", L"Language Pack 'Deutsch (intern)' V2.3.19", L"\u00A9  Ann"},
        {"NoName", "author_name=\r\nauthor_version=\r\n", L"Kelvra V1.0.1 - Info",
         L"Kelvra Webseite", L"Language Pack 'Deutsch (intern)' V", L"\u00A9 2011/4/28 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (*c.pack) AddPack(c.name, c.pack);
        Load(c.name);
        const InfoTexts texts = ComputeInfoTexts(program, kCopyright);
        EXPECT_EQ(texts.Title, c.title);
        EXPECT_EQ(texts.CmdWebsite, c.website);
        EXPECT_EQ(texts.Label1, L"Kelvra V1.0.1");
        EXPECT_EQ(texts.Label2, kCopyright);
        EXPECT_EQ(texts.Label3, c.label3);
        EXPECT_EQ(texts.Label4, c.label4);
    }
}

TEST_F(InfoWindow, CopyrightComesFromTheRunningFile) {
    const std::string exe = sim.ModuleFileName();
    EXPECT_EQ(ProgramCopyright(sim), L"");  // a version resource without the entry

    sim.SetFileVersionString(exe, "LegalCopyright", kCopyright);
    // Another file's notice is not the program's.
    sim.SetFileVersionString("C:\\Other\\Other.exe", "LegalCopyright", L"Someone else");
    EXPECT_EQ(ProgramCopyright(sim), kCopyright);

    sim.Fail("GetFileVersionString");
    EXPECT_EQ(ProgramCopyright(sim), L"");
}

}  // namespace
}  // namespace kelvra
