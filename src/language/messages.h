// Message texts: a message, its box title and, for input prompts, a default
// answer, all in one language text ("message||title@@default"), and the
// boxes built from them.
#pragma once

#include <string>
#include <string_view>

#include "drives/drive_tables.h"
#include "language/text_keys.h"

namespace kelvra {

struct Program;

// Every box caption starts with this.
constexpr std::wstring_view kCaptionPrefix = L"Kelvra - ";

// Placeholders, matched exactly (letter case counts).
constexpr std::wstring_view kPlaceholderDrive = L"$DRIVE$";
constexpr std::wstring_view kPlaceholderDriveType = L"$DRIVETYPE$";
constexpr std::wstring_view kPlaceholderDrivePath = L"$DRIVEPATH$";
constexpr std::wstring_view kPlaceholderFile = L"$FILE$";

// Part 0 (message), 1 (title) or 2 (input default) of a message text. A text
// without "||" has no parts: every part is empty. "@@" counts only after
// "||", so a faulty pack text with "@@" in front yields a whole title
// instead of a negative length. Any other part number gives an empty string.
std::wstring TextPart(std::wstring_view text, int part);

// Every occurrence of `what` replaced; the inserted text is not searched
// again, so a replacement holding the placeholder cannot loop.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view what, std::wstring_view with);

// "$DRIVETYPE$" for a drive: the network text for a network drive, else the
// subst text.
std::wstring DriveTypeText(const Program& program, DriveIndex drive);

// Part 0 of the key's text with "$DRIVETYPE$" and "$DRIVE$" filled for the drive.
std::wstring FilledMessage(const Program& program, TextKey key, DriveIndex drive);
// "Kelvra - " + part 1 of the key's text; placeholders in titles stay as written.
std::wstring MessageCaption(const Program& program, TextKey key);

// An error or notice: exclamation icon, OK button. Its texts have no placeholders.
void ShowError(Program& program, TextKey key);
// ShowError for a text naming a file or folder ("$FILE$").
void ShowFileNotice(Program& program, TextKey key, const std::string& file);
// The same about a drive, with "$DRIVETYPE$" and "$DRIVE$" filled.
void ShowError(Program& program, TextKey key, DriveIndex drive);
// A question with Yes and No about a drive. True only for Yes: a box that
// could not be shown must not count as consent to disconnecting a drive.
bool AskQuestion(Program& program, TextKey key, DriveIndex drive);

// Whether the questions before disconnecting are asked: ShowWarnings for
// commands from the main window, ShowWarningsSCE for context-menu commands,
// and never in expert mode.
bool WarningsOn(const Program& program, bool fromContextMenu);
// AskQuestion while warnings are on; without warnings the answer is Yes.
bool ConfirmDisconnect(Program& program, TextKey key, DriveIndex drive, bool fromContextMenu);

// Part 2 of the key's text with "$DRIVE$" filled: the offered default answer.
std::wstring InputDefault(const Program& program, TextKey key, DriveIndex drive);
// The input box of the key's text, offering defaultText. Returns what was
// typed; empty when the user cancelled or typed nothing, which callers take
// as cancel alike.
std::wstring AskInput(Program& program, TextKey key, const std::wstring& defaultText);

// A text used whole (the folder-choice titles) with "$DRIVE$" filled.
std::wstring WholeTextForDrive(const Program& program, TextKey key, DriveIndex drive);
// The folder-choice title: main_reqnew_new for a free letter, else main_reqnew_change.
std::wstring FolderChoiceTitle(const Program& program, DriveIndex drive, bool freeLetter);
// The description of a desktop shortcut: main_linkcomment with "$DRIVEPATH$"
// filled by the drive's path (8-bit, in the system code page).
std::wstring LinkComment(Program& program, const std::string& drivePath);

}  // namespace kelvra
