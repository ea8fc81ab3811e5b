// End-to-end tests of the Explorer context commands of the real Kelvra.exe
// under Wine: "/set=" offers the free letters in a popup from a process
// whose window never shows, "/cut=" disconnects, refusals explain
// themselves, and bad arguments end quietly without making a drive. Every
// wait is for a state: a popup, a box, a DOS device, a value, the process end.
#include <algorithm>
#include <functional>
#include <ostream>

#include "wine/scratch_program.h"

namespace kelvra::e2e {
namespace {

const char kRefuseNewText[] = "Verbindung mit einem Subst- oder Netz-Laufwerk ist nicht erlaubt!";
const char kRefuseKillText[] = "Kein gültiges Subst- oder Netz-Laufwerk,\ntrennen nicht möglich!";
const char kConnectCaption[] = "Kelvra - Verbinden";
const char kDisconnectCaption[] = "Kelvra - Trennen";

std::string ShortPath(const std::string& path) {
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return shortPath;
}

std::string Sorted(std::string letters) {
    std::sort(letters.begin(), letters.end());
    return letters;
}

// The folder the tests connect, with blanks in its name, beside a file.
class ContextTest : public ScratchProgramTest {
  protected:
    void SetUp() override {
        ScratchProgramTest::SetUp();
        target_ = folder_ + "a folder with blanks";
        ASSERT_TRUE(CreateDirectoryA(target_.c_str(), nullptr));
        WriteBytes(target_ + "\\note.txt", "note");
    }
    std::string target_;
};

// ---------------------------------------------------------------------------
// The letter popup: which key chooses what

struct LetterChoice {
    const char* name;
    std::vector<WORD> keys;
    enum Pick { Last, First, None } pick;
    bool permanent;  // "SubstDefaultPermanentSCE"
    bool lastTaken;  // a subst drive holds the last free letter first
};

void PrintTo(const LetterChoice& c, std::ostream* os) {
    *os << c.name;
}

// Up from no selection lands on "Abbrechen", once more on the last letter;
// Down lands on the greyed title, once more on the first letter.
const LetterChoice kLetterChoices[] = {
    {"LastLetterPermanent", {VK_UP, VK_UP, VK_RETURN}, LetterChoice::Last, true, false},
    {"LastLetterTemporary", {VK_UP, VK_UP, VK_RETURN}, LetterChoice::Last, false, false},
    {"TakenLetterIsNotOffered", {VK_UP, VK_UP, VK_RETURN}, LetterChoice::Last, true, true},
    {"FirstLetterAfterTheTitle", {VK_DOWN, VK_DOWN, VK_RETURN}, LetterChoice::First, true, false},
    {"CancelItemMakesNothing", {VK_UP, VK_RETURN}, LetterChoice::None, true, false},
    {"EscapeMakesNothing", {VK_ESCAPE}, LetterChoice::None, true, false},
};

class LetterPopup : public ContextTest, public ::testing::WithParamInterface<LetterChoice> {};

TEST_P(LetterPopup, FromAWindowThatNeverShowsConnectsTheChosenLetterAndEnds) {
    const LetterChoice& c = GetParam();
    std::unique_ptr<SubstDrive> taken;
    if (c.lastTaken) {
        taken = std::make_unique<SubstDrive>(HighestUndefinedLetter(), folder_ + "a folder");
        ASSERT_TRUE(taken->ok());
    }
    const char letter = c.pick == LetterChoice::Last    ? HighestUndefinedLetter()
                        : c.pick == LetterChoice::First ? LowestUndefinedLetter()
                                                        : '\0';
    const std::string before = DefinedLetters();
    WriteSettings(std::string("SubstDefaultPermanentSCE=") + (c.permanent ? "1" : "0") + "\r\n");

    Process* kelvra = Start("/set=\"" + target_ + "\"");
    ASSERT_NE(kelvra, nullptr);
    // Wine reports no show events, so the window is watched all the time.
    HWND hidden = nullptr;
    bool everVisible = false;
    auto watch = [&] {
        for (HWND hwnd : WindowsOf(kelvra->id(), "Kelvra V")) {
            hidden = hwnd;
            everVisible = everVisible || IsWindowVisible(hwnd);
        }
    };
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        watch();
        return (menu = PopupMenuOf(kelvra->id())) != nullptr;
    })) << "no letter popup";
    ASSERT_NE(hidden, nullptr) << "no main window behind the popup";
    EXPECT_EQ(ClassOf(hidden), kMainClass);
    // The greyed title, one item per free letter, "Abbrechen".
    std::vector<bool> expected(2 + 26 - before.size(), true), drawn;
    expected.front() = false;
    EXPECT_TRUE(WaitUntil([&] {
        watch();
        return (drawn = PopupItemsEnabled(menu)) == expected;
    })) << drawn.size() - 2
        << " letters offered, " << expected.size() - 2 << " free";
    if (c.pick == LetterChoice::Last && c.permanent && !c.lastTaken) Shot("ctx_letter_popup");

    ASSERT_TRUE(PressKeys(c.keys));
    ASSERT_TRUE(WaitUntil([&] {
        watch();
        return !kelvra->Running();
    })) << "still running after the choice";
    DWORD code = 1;
    ASSERT_TRUE(kelvra->Wait(0, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(everVisible) << "the main window showed";

    if (letter) {
        // Mapped to the short form of the folder, as the system's subst does.
        EXPECT_EQ(Utf8(DosDeviceTarget(letter)), "\\??\\" + ShortPath(target_));
        EXPECT_EQ(DefinedLetters(), Sorted(before + letter));
    } else {
        EXPECT_EQ(DefinedLetters(), before) << "a drive nobody chose";
    }
    for (char l = 'A'; l <= 'Z'; ++l) {
        const bool stored = c.permanent && l == letter;
        EXPECT_EQ(Setting("SubstPath_" + Letter(l)), stored ? target_ : "<missing>") << l;
    }
    EXPECT_EQ(Setting("GridLines"), "1") << "the run ended without saving";
}

INSTANTIATE_TEST_SUITE_P(Keys, LetterPopup, ::testing::ValuesIn(kLetterChoices),
                         [](const auto& info) { return std::string(info.param.name); });

// A context command runs beside an open main window, which shows its drive
// at the next poll and keeps it stored when it closes.
TEST_F(ContextTest, SetBesideAnOpenMainWindowShowsThereWithinThreeSeconds) {
    WriteSettings("SubstDefaultPermanentSCE=1\r\n");
    ASSERT_TRUE(Launch());
    const char letter = HighestUndefinedLetter();
    ASSERT_NE(letter, 0);
    ASSERT_EQ(RowText(letter, kTypeColumn), "Frei");

    Process* kelvra = Start("/set=\"" + target_ + "\"");
    ASSERT_NE(kelvra, nullptr);
    ASSERT_NE(WaitForPopupMenu(kelvra->id()), nullptr) << "no letter popup";
    ASSERT_TRUE(PressKeys({VK_UP, VK_UP, VK_RETURN}));
    ASSERT_TRUE(kelvra->Wait(kStateTimeout)) << "the context run did not end";
    ASSERT_FALSE(Utf8(DosDeviceTarget(letter)).empty()) << "no drive made";

    EXPECT_TRUE(WaitUntil(
        [&] { return StartsWith(RowText(letter, kTypeColumn), "Subst-Laufwerk ("); }, 3000, 100))
        << "still " << RowText(letter, kTypeColumn);
    EXPECT_EQ(ListText(list_, Row(letter), kPathColumn), target_);
    EXPECT_TRUE(mainProcess_->Running());
    EXPECT_TRUE(IsWindowVisible(main_));
    ASSERT_TRUE(Close());
    EXPECT_EQ(Setting("SubstPath_" + Letter(letter)), target_) << "the main window's save lost it";
}

// ---------------------------------------------------------------------------
// Disconnecting a subst drive: the question follows "ShowWarningsSCE"

struct CutCase {
    const char* name;
    std::string settings;
    std::string argument;  // "$L" is the drive's letter
    enum Question { Yes, No, NotAsked } question;
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

const CutCase kCutCases[] = {
    {"AskedAndYesDisconnects", "ShowWarningsSCE=1\r\nShowWarnings=0\r\n", "\"$L:\\\"",
     CutCase::Yes},
    {"AskedAndNoKeeps", "ShowWarningsSCE=1\r\nShowWarnings=1\r\n", "\"$L:\\\"", CutCase::No},
    {"NotAskedWithContextWarningsOff", "ShowWarningsSCE=0\r\nShowWarnings=1\r\n", "$L:\\",
     CutCase::NotAsked},
    {"NotAskedInExpertMode", "ShowWarningsSCE=1\r\nExpertMode=1\r\n", "$L:\\", CutCase::NotAsked},
    {"BareLetterInLowerCase", "ShowWarningsSCE=0\r\n", "$l:", CutCase::NotAsked},
};

class Cut : public ContextTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(Cut, DisconnectsASubstDriveAskingOnlyWhenTheContextWarningIsOn) {
    const CutCase& c = GetParam();
    const char letter = HighestUndefinedLetter();
    ASSERT_NE(letter, 0);
    SubstDrive subst(letter, target_);
    ASSERT_TRUE(subst.ok());
    const std::string key = "SubstPath_" + Letter(letter);
    WriteSettings(c.settings + key + "=" + target_ + "\r\n");
    std::string argument = c.argument;
    const std::size_t at = argument.find('$');
    argument.replace(at, 2, Letter(c.argument[at + 1] == 'l' ? letter - 'A' + 'a' : letter));

    WindowCreationLog log;
    ASSERT_TRUE(log.ok());
    Process* kelvra = Start("/cut=" + argument);
    ASSERT_NE(kelvra, nullptr);
    if (c.question != CutCase::NotAsked) {
        HWND box = WaitForBox(kelvra->id(), kDisconnectCaption);
        ASSERT_NE(box, nullptr) << "no question";
        EXPECT_EQ(TitleUtf8(box), kDisconnectCaption);
        EXPECT_NE(MessageBoxText(box).find(Letter(letter) + ": soll getrennt werden"),
                  std::string::npos)
            << MessageBoxText(box);
        ASSERT_NE(GetDlgItem(box, IDYES), nullptr);
        ASSERT_NE(GetDlgItem(box, IDNO), nullptr);
        PressDialogButton(box, c.question == CutCase::Yes ? IDYES : IDNO);
    }
    DWORD code = 1;
    ASSERT_TRUE(kelvra->Wait(kStateTimeout, &code)) << "did not end";
    EXPECT_EQ(code, 0u);
    if (c.question == CutCase::NotAsked) {
        EXPECT_FALSE(log.Seen(kelvra->id(), "#32770")) << "asked all the same";
    }
    const bool gone = c.question != CutCase::No;
    EXPECT_EQ(DosDeviceTarget(letter).empty(), gone);
    EXPECT_EQ(Setting(key), gone ? "<missing>" : target_);
}

INSTANTIATE_TEST_SUITE_P(Settings, Cut, ::testing::ValuesIn(kCutCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Arguments and their outcomes: refusals, and bad input that must end
// quietly and never map a drive the user did not choose.

enum class Outcome {
    Silent,         // ends by itself, no box, no popup
    RefusedNew,     // main_msgshell_errornew, then ends
    RefusedKill,    // main_msgshell_errorkill, then ends
    Popup,          // the letter popup; closed with Esc
    HintThenPopup,  // hint 2 first, then the popup
};

struct ArgumentCase {
    const char* name;
    std::string arguments;  // $S subst letter, $F a free letter, $D the folder, $T a file
    Outcome outcome;
};

void PrintTo(const ArgumentCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string kLongPath = "C:\\" + std::string(4997, 'x');

const ArgumentCase kArgumentCases[] = {
    // Refusals.
    {"SetOnAFolderOfASubstDrive", "/set=\"$S:\\sub\"", Outcome::RefusedNew},
    {"SetOnASubstDriveRoot", "/set=$S:\\", Outcome::RefusedNew},
    {"SetOnAFileOfASubstDrive", "/set=\"$S:\\sub\\note.txt\"", Outcome::RefusedNew},
    {"CutOnDriveC", "/cut=\"C:\\\"", Outcome::RefusedKill},
    {"CutOnDriveCWithoutBackslash", "/cut=C:", Outcome::RefusedKill},
    {"CutOnAFreeLetter", "/cut=$F:\\", Outcome::RefusedKill},
    {"CutOnAFolder", "/cut=\"$D\"", Outcome::RefusedKill},
    // What is offered.
    {"SetOnAFileOffersItsFolder", "/set=\"$D\\note.txt\"", Outcome::Popup},
    {"SetOnDriveCShowsTheHintFirst", "/set=C:\\", Outcome::HintThenPopup},
    {"QuotesAnywhereAreDropped", "/set=\"$D\"\"\\\"", Outcome::Popup},
    // Bad input.
    {"SetEmpty", "/set=", Outcome::Silent},
    {"SetQuotesOnly", "/set=\"\"", Outcome::Silent},
    {"SetOneQuote", "/set=\"", Outcome::Silent},
    {"Set5000Characters", "/set=" + kLongPath, Outcome::Silent},
    {"SetMissingFolder", "/set=\"C:\\no such folder\\deeper\"", Outcome::Silent},
    {"SetServerInParentheses", "/set=\"\\\\Netz (srv)\\share\"", Outcome::Silent},
    {"SetControlCharacter", "/set=\"$D\x01\"", Outcome::Silent},
    {"SetEscapeCharacterInside", "/set=\"$D\x1b\\..\"", Outcome::Silent},
    {"SetRelativePath", "/set=.", Outcome::Silent},
    {"SetBareDrive", "/set=C:", Outcome::Silent},
    {"SetDevicePath", "/set=\\\\.\\C:\\", Outcome::Silent},
    {"CutEmpty", "/cut=", Outcome::Silent},
    {"CutQuotesOnly", "/cut=\"\"", Outcome::Silent},
    {"Cut5000Characters", "/cut=" + kLongPath, Outcome::Silent},
    {"CutMissingFolder", "/cut=\"C:\\no such folder\"", Outcome::Silent},
    {"CutServerInParentheses", "/cut=\"\\\\Netz (srv)\\share\"", Outcome::Silent},
    {"CutControlCharacterAfterASubstLetter", "/cut=$S:\x01", Outcome::Silent},
    {"CutNotALetter", "/cut=1:\\", Outcome::Silent},
};

class Arguments : public ContextTest, public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(Arguments, EndWithTheirDefinedOutcomeAndMapNothing) {
    const ArgumentCase& c = GetParam();
    std::string arguments = c.arguments;
    std::unique_ptr<ReachableSubstDrive> subst;
    const bool needsSubst = arguments.find("$S") != std::string::npos;
    if (needsSubst) {
        const std::string data = folder_ + "data";
        ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((data + "\\sub").c_str(), nullptr));
        WriteBytes(data + "\\sub\\note.txt", "note");
        const char letter = HighestUndefinedLetter();
        ASSERT_NE(letter, 0);
        subst = std::make_unique<ReachableSubstDrive>(letter, data);
        ASSERT_TRUE(subst->ok()) << "no reachable subst drive " << letter;
        arguments.replace(arguments.find("$S"), 2, Letter(letter));
    }
    const char free = HighestUndefinedLetter();
    ASSERT_NE(free, 0);
    for (const auto& [mark, text] :
         {std::pair<std::string, std::string>{"$F", Letter(free)}, {"$D", target_}}) {
        const std::size_t at = arguments.find(mark);
        if (at != std::string::npos) arguments.replace(at, 2, text);
    }
    const std::string before = DefinedLetters();
    WriteSettings("");

    WindowCreationLog log;
    ASSERT_TRUE(log.ok());
    Process* kelvra = Start(arguments);
    ASSERT_NE(kelvra, nullptr);
    const DWORD pid = kelvra->id();
    switch (c.outcome) {
        case Outcome::Silent:
            break;
        case Outcome::RefusedNew:
        case Outcome::RefusedKill: {
            const bool connect = c.outcome == Outcome::RefusedNew;
            HWND box = WaitForBox(pid, connect ? kConnectCaption : kDisconnectCaption);
            ASSERT_NE(box, nullptr) << "no refusal";
            EXPECT_EQ(TitleUtf8(box), connect ? kConnectCaption : kDisconnectCaption);
            EXPECT_EQ(MessageBoxText(box), connect ? kRefuseNewText : kRefuseKillText);
            PressDialogButton(box, IDOK);
            break;
        }
        case Outcome::HintThenPopup: {
            HWND hint = WaitForDialog(pid, " - Hinweis");
            ASSERT_NE(hint, nullptr) << "no hint before the popup";
            EXPECT_EQ(PopupMenuOf(pid), nullptr) << "the popup came before the hint";
            PressDialogButton(hint, IDOK);
        }
            [[fallthrough]];
        case Outcome::Popup:
            ASSERT_NE(WaitForPopupMenu(pid), nullptr) << "no letter popup";
            ASSERT_TRUE(PressKey(VK_ESCAPE));
            break;
    }
    DWORD code = 1;
    ASSERT_TRUE(kelvra->Wait(kStateTimeout, &code)) << "did not end";
    EXPECT_EQ(code, 0u);
    if (c.outcome == Outcome::Silent) {
        EXPECT_FALSE(log.Seen(pid, "#32770")) << "a box or window for bad input";
        EXPECT_FALSE(log.Seen(pid, "#32768")) << "a popup for bad input";
    }
    if (c.outcome == Outcome::RefusedNew || c.outcome == Outcome::RefusedKill) {
        EXPECT_FALSE(log.Seen(pid, "#32768")) << "a popup after the refusal";
    }
    EXPECT_EQ(DefinedLetters(), before) << "a drive was made or removed";
}

INSTANTIATE_TEST_SUITE_P(Cases, Arguments, ::testing::ValuesIn(kArgumentCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelvra::e2e
