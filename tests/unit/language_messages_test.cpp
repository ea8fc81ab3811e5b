#include "language/messages.h"
#include "unit/language_test_fixture.h"

namespace kelvra {
namespace {

using sim::ScriptedUi;

class LanguageMessages : public test::LanguageFixture {
  protected:
    LanguageMessages() { Load("Deutsch"); }
    void SetType(char letter, const std::string& type) {
        program.drives.main[DriveIndexOf(letter)].Type = type;
    }
    void OverrideText(const std::string& pack) {
        AddPack("Override", pack);
        Load("Override");
    }
};

TEST(LanguageTextPart, SplitsMessageTitleAndDefault) {
    const struct {
        std::wstring text, message, title, def;
    } cases[] = {
        {L"M||T", L"M", L"T", L""},
        {L"M||T@@D", L"M", L"T", L"D"},
        {L"M T", L"", L"", L""},
        {L"M@@D", L"", L"", L""},
        {L"||T", L"", L"T", L""},
        {L"M||", L"M", L"", L""},
        {L"M||@@", L"M", L"", L""},
        {L"M||T@@D@@E", L"M", L"T", L"D@@E"},
        {L"M||T||U", L"M", L"T||U", L""},
        // "@@" in front of "||" is no separator.
        {L"A@@B||T", L"A@@B", L"T", L""},
        {L"A@@B||T@@D", L"A@@B", L"T", L"D"},
        {L"", L"", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextPart(c.text, 0), c.message) << c.text.size();
        EXPECT_EQ(TextPart(c.text, 1), c.title) << c.text.size();
        EXPECT_EQ(TextPart(c.text, 2), c.def) << c.text.size();
        for (int part : {-1, 3, 1000}) EXPECT_EQ(TextPart(c.text, part), L"");
    }
}

TEST(LanguageReplaceAll, InsertedTextIsNotSearchedAgain) {
    EXPECT_EQ(ReplaceAll(L"$DRIVE$:$DRIVE$", L"$DRIVE$", L"$DRIVE$$DRIVE$"),
              L"$DRIVE$$DRIVE$:$DRIVE$$DRIVE$");
    EXPECT_EQ(ReplaceAll(L"$drive$ $DRIVETYPE$", L"$DRIVE$", L"N"), L"$drive$ $DRIVETYPE$");
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
}

TEST_F(LanguageMessages, QuestionFilledForTheDriveType) {
    SetType('N', "REMOTE");
    SetType('S', "SUBST (FIXED)");
    ui.QueueAnswer(mb::kIdYes);
    ui.QueueAnswer(mb::kIdYes);
    EXPECT_TRUE(AskQuestion(program, TextKey::main_reqdeldrive, DriveIndexOf('N')));
    EXPECT_TRUE(AskQuestion(program, TextKey::main_reqdeactivateperm, DriveIndexOf('S')));
    ASSERT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(ui.Boxes()[0].text, L"Das Netz-Laufwerk N: soll getrennt werden. Ausf\u00FChren?");
    EXPECT_EQ(ui.Boxes()[0].caption, L"Kelvra - Trennen");
    EXPECT_EQ(ui.Boxes()[0].style, mb::kYesNo | mb::kIconQuestion);
    EXPECT_EQ(ui.Boxes()[1].text, L"Das Subst-Laufwerk S: soll getrennt werden. Ausf\u00FChren?");
    EXPECT_EQ(ui.Boxes()[1].caption, L"Kelvra - Permanent deaktivieren");
}

TEST_F(LanguageMessages, OnlyYesGoesOn) {
    for (int answer : {mb::kIdYes, mb::kIdNo, mb::kIdCancel, 0}) {
        ui.QueueAnswer(answer);
        EXPECT_EQ(AskQuestion(program, TextKey::main_reqfix, DriveIndexOf('K')),
                  answer == mb::kIdYes)
            << answer;
    }
}

TEST_F(LanguageMessages, DisconnectQuestionsFollowTheWarningSettings) {
    const struct {
        bool warnings, warningsSce, expert, fromContext, asked;
    } cases[] = {
        {true, false, false, false, true}, {false, true, false, false, false},
        {false, true, false, true, true},  {true, false, false, true, false},
        {true, true, true, false, false},  {true, true, true, true, false},
    };
    for (const auto& c : cases) {
        program.settings.ShowWarnings = c.warnings;
        program.settings.ShowWarningsSCE = c.warningsSce;
        program.settings.ExpertMode = c.expert;
        ui.Clear();
        ui.QueueAnswer(mb::kIdNo);
        const bool goOn =
            ConfirmDisconnect(program, TextKey::main_reqdeldrive, DriveIndexOf('K'), c.fromContext);
        // Asked and answered No, or not asked and going ahead.
        EXPECT_EQ(ui.Boxes().size(), c.asked ? 1u : 0u);
        EXPECT_EQ(goOn, !c.asked);
        if (!c.asked) ui.MessageBox(L"", L"", 0);  // drop the unused answer
    }
}

TEST_F(LanguageMessages, ErrorBox) {
    ShowError(program, TextKey::main_msgactivate_errornet);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].text,
              L"Verbindung als Netz-Laufwerk nicht m\u00F6glich!\r\n\r\n"
              L"M\u00F6gliche Ursache: Fehlende Rechte.");
    EXPECT_EQ(ui.Boxes()[0].caption, L"Kelvra - Aktivieren/Deaktivieren");
    EXPECT_EQ(ui.Boxes()[0].style, mb::kOk | mb::kIconExclamation);
}

TEST_F(LanguageMessages, FaultyPackTextsStillGiveABox) {
    OverrideText(
        "main_msgnew_error=no separator\r\n"
        "main_reqfix=$DRIVEPATH$ $drive$ $DRIVE$||$DRIVE$\r\n");
    ShowError(program, TextKey::main_msgnew_error);
    AskQuestion(program, TextKey::main_reqfix, DriveIndexOf('K'));
    AskQuestion(program, TextKey::main_reqfix, 0);
    ASSERT_EQ(ui.Boxes().size(), 3u);
    EXPECT_EQ(ui.Boxes()[0].text, L"");
    EXPECT_EQ(ui.Boxes()[0].caption, L"Kelvra - ");
    EXPECT_EQ(ui.Boxes()[1].text, L"$DRIVEPATH$ $drive$ K");
    EXPECT_EQ(ui.Boxes()[1].caption, L"Kelvra - $DRIVE$");
    EXPECT_EQ(ui.Boxes()[2].text, L"$DRIVEPATH$ $drive$ ");  // no drive: no letter
}

TEST_F(LanguageMessages, InputBoxes) {
    EXPECT_EQ(InputDefault(program, TextKey::main_inplink, DriveIndexOf('X')), L"Laufwerk X");
    EXPECT_EQ(InputDefault(program, TextKey::main_inprename, DriveIndexOf('X')), L"");

    ui.QueueInput(L"Backup");
    EXPECT_EQ(AskInput(program, TextKey::main_inplink, L"Laufwerk X (Daten)"), L"Backup");
    ASSERT_EQ(ui.Boxes().size(), 1u);
    const ScriptedUi::Shown& box = ui.Boxes()[0];
    EXPECT_EQ(box.kind, ScriptedUi::Kind::Input);
    EXPECT_EQ(box.caption, L"Kelvra - Verkn\u00FCpfung erstellen");
    EXPECT_EQ(box.defaultText, L"Laufwerk X (Daten)");
    EXPECT_EQ(box.text.find(L"Bitte Namen der Verkn\u00FCpfung eingeben."), 0u);
    EXPECT_EQ(box.text.find(L"@@"), std::wstring::npos);

    ui.QueueInputCancel();
    EXPECT_EQ(AskInput(program, TextKey::main_inprename, L"old"), L"");
}

TEST_F(LanguageMessages, WholeTextsAndLinkComment) {
    EXPECT_EQ(FolderChoiceTitle(program, DriveIndexOf('D'), true),
              L"Verbinden: Verzeichnis f\u00FCr neues Laufwerk D: w\u00E4hlen");
    EXPECT_EQ(FolderChoiceTitle(program, DriveIndexOf('E'), false),
              L"\u00C4ndern: Neues Verzeichnis f\u00FCr Laufwerk E: w\u00E4hlen");
    EXPECT_EQ(LinkComment(program, "C:\\Daten\\\xC4rger"),
              L"Pfad: C:\\Daten\\\u00C4rger  (Erzeugt von Kelvra)");
}

}  // namespace
}  // namespace kelvra
