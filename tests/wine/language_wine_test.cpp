// Language packs read from a real program folder through Win32Os: file-name
// matching, line ends and the ANSI code-page conversion are the system's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/language.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/windows_api.h"
#include "program.h"
#include "sim/scripted_ui.h"
#include "wine/e2e_support.h"

namespace kelvra {
namespace {

class LanguageWine : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = e2e::MakeScratchFolder("language");
        for (const std::string& dir : {folder_ + "languages", folder_ + "helpfiles"})
            ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << dir;
        program_.startup.ApplicationPath = folder_;
    }
    void TearDown() override { e2e::RemoveTree(folder_); }
    void Put(const std::string& relative, const std::string& bytes) {
        ASSERT_TRUE(e2e::WriteBytes(folder_ + relative, bytes)) << relative;
    }
    void Load(const std::string& language) {
        program_.settings.Language = language;
        LoadLanguage(program_);
    }
    const std::wstring& T(TextKey key) const { return Text(program_.language, key); }

    std::string folder_;
    Win32Os os_;
    sim::ScriptedUi ui_;
    Program program_{os_, ui_};
};

TEST_F(LanguageWine, ShippedEnglishPackAndHelpFile) {
    ASSERT_TRUE(e2e::CopyInto(e2e::SourcePath("languages/English.lng"), folder_ + "languages\\"));
    Put("helpfiles\\English.chm", "");

    Load("english");  // the file system matches the name in any letter case
    EXPECT_EQ(T(TextKey::author_language), L"English");
    EXPECT_EQ(T(TextKey::main_cmdnew), L"&Connect");
    EXPECT_EQ(T(TextKey::main_msgshell_errorkill),
              L"This is not a valid subst or network drive,\r\nit cannot be disconnected!||"
              L"Disconnect");
    EXPECT_EQ(program_.language.HelpFile, folder_ + "helpfiles\\english.chm");

    Load("Deutsch");  // no German help file: the English one
    EXPECT_EQ(program_.language.HelpFile, folder_ + "helpfiles\\English.chm");
    EXPECT_EQ(T(TextKey::main_cmdnew), L"&Verbinden");
    EXPECT_EQ(T(TextKey::main_cmdchange), L"&\u00C4ndern");
}

TEST_F(LanguageWine, WesternBytesBecomeTheirCharacters) {
    if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP() << ", not 1252";
    Put("languages\\Western.lng",
        "; \xE4\xF6\xFC\r\n"
        "main_cmdnew=\xC4nd\xE9rn \x80 \xDF\r"
        "main_cmdkill=\xF6\xFC\n"
        "main_cmdmove=last");
    Load("Western");
    EXPECT_EQ(T(TextKey::main_cmdnew), L"\u00C4nd\u00E9rn \u20AC \u00DF");
    EXPECT_EQ(T(TextKey::main_cmdkill), L"\u00F6\u00FC");  // a lone LF ends the line too
    EXPECT_EQ(T(TextKey::main_cmdmove), L"last");
}

}  // namespace
}  // namespace kelvra
