#include "language/messages.h"

#include "language/language.h"
#include "program.h"

namespace kelvra {

namespace {

constexpr std::wstring_view kPartSeparator = L"||";
constexpr std::wstring_view kDefaultSeparator = L"@@";

constexpr unsigned kErrorStyle = mb::kOk | mb::kIconExclamation;
constexpr unsigned kQuestionStyle = mb::kYesNo | mb::kIconQuestion;

// The letter alone; nothing for an index that names no drive.
std::wstring LetterText(DriveIndex drive) {
    char letter = DriveLetter(drive);
    return letter ? std::wstring(1, static_cast<wchar_t>(letter)) : std::wstring();
}

std::wstring FillDrive(const Program& program, std::wstring text, DriveIndex drive) {
    if (text.find(kPlaceholderDriveType) != std::wstring::npos)
        text = ReplaceAll(text, kPlaceholderDriveType, DriveTypeText(program, drive));
    return ReplaceAll(text, kPlaceholderDrive, LetterText(drive));
}

}  // namespace

std::wstring TextPart(std::wstring_view text, int part) {
    std::size_t p = text.find(kPartSeparator);
    if (p == std::wstring_view::npos) return {};
    std::size_t titleBegin = p + kPartSeparator.size();
    std::size_t q = text.find(kDefaultSeparator, titleBegin);
    switch (part) {
        case 0:
            return std::wstring(text.substr(0, p));
        case 1:
            return std::wstring(text.substr(titleBegin, q == std::wstring_view::npos
                                                            ? std::wstring_view::npos
                                                            : q - titleBegin));
        case 2:
            if (q == std::wstring_view::npos) return {};
            return std::wstring(text.substr(q + kDefaultSeparator.size()));
        default:
            return {};
    }
}

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view what, std::wstring_view with) {
    if (what.empty()) return std::wstring(text);
    std::wstring out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(what, pos)) != std::wstring_view::npos;
         pos = hit + what.size()) {
        out.append(text.substr(pos, hit - pos));
        out.append(with);
    }
    out.append(text.substr(pos));
    return out;
}

std::wstring DriveTypeText(const Program& program, DriveIndex drive) {
    return Text(program.language, IsRemote(program.drives, drive) ? TextKey::main_listdriveremote
                                                                  : TextKey::main_listdrivesubst);
}

std::wstring FilledMessage(const Program& program, TextKey key, DriveIndex drive) {
    return FillDrive(program, TextPart(Text(program.language, key), 0), drive);
}

std::wstring MessageCaption(const Program& program, TextKey key) {
    return std::wstring(kCaptionPrefix) + TextPart(Text(program.language, key), 1);
}

void ShowError(Program& program, TextKey key) {
    program.ui.MessageBox(TextPart(Text(program.language, key), 0), MessageCaption(program, key),
                          kErrorStyle);
}

void ShowError(Program& program, TextKey key, DriveIndex drive) {
    program.ui.MessageBox(FilledMessage(program, key, drive), MessageCaption(program, key),
                          kErrorStyle);
}

void ShowFileNotice(Program& program, TextKey key, const std::string& file) {
    const std::wstring text = ReplaceAll(TextPart(Text(program.language, key), 0), kPlaceholderFile,
                                         program.os.AnsiToWide(file));
    program.ui.MessageBox(text, MessageCaption(program, key), kErrorStyle);
}

bool AskQuestion(Program& program, TextKey key, DriveIndex drive) {
    int answer = program.ui.MessageBox(FilledMessage(program, key, drive),
                                       MessageCaption(program, key), kQuestionStyle);
    return answer == mb::kIdYes;
}

bool WarningsOn(const Program& program, bool fromContextMenu) {
    const Settings& s = program.settings;
    if (s.ExpertMode) return false;
    return fromContextMenu ? s.ShowWarningsSCE : s.ShowWarnings;
}

bool ConfirmDisconnect(Program& program, TextKey key, DriveIndex drive, bool fromContextMenu) {
    if (!WarningsOn(program, fromContextMenu)) return true;
    return AskQuestion(program, key, drive);
}

std::wstring InputDefault(const Program& program, TextKey key, DriveIndex drive) {
    return ReplaceAll(TextPart(Text(program.language, key), 2), kPlaceholderDrive,
                      LetterText(drive));
}

std::wstring AskInput(Program& program, TextKey key, const std::wstring& defaultText) {
    std::wstring answer;
    if (!program.ui.InputBox(TextPart(Text(program.language, key), 0), MessageCaption(program, key),
                             defaultText, answer))
        return {};
    return answer;
}

std::wstring WholeTextForDrive(const Program& program, TextKey key, DriveIndex drive) {
    return ReplaceAll(Text(program.language, key), kPlaceholderDrive, LetterText(drive));
}

std::wstring FolderChoiceTitle(const Program& program, DriveIndex drive, bool freeLetter) {
    return WholeTextForDrive(
        program, freeLetter ? TextKey::main_reqnew_new : TextKey::main_reqnew_change, drive);
}

std::wstring LinkComment(Program& program, const std::string& drivePath) {
    return ReplaceAll(Text(program.language, TextKey::main_linkcomment), kPlaceholderDrivePath,
                      program.os.AnsiToWide(drivePath));
}

}  // namespace kelvra
