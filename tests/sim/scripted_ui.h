// A Ui for native tests: records every box shown and returns scripted answers.
//
// Answers are queued per kind and used in order. With its queue empty a box
// takes the answer a user pressing Enter would give: a message box returns
// OK or, for a Yes/No box, Yes; an input box returns its default text; the
// folder chooser returns the cancel answer (empty); the letter popup is
// closed without a choice (0), so no test maps a letter it did not pick.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace kelvra::sim {

class ScriptedUi : public Ui {
  public:
    enum class Kind { Message, Input, Folder, Hint, LetterPopup };
    struct Shown {
        Kind kind;
        std::wstring text;         // message text, input prompt, folder-choice or popup title
        std::wstring caption;      // empty for the folder chooser and the popup
        unsigned style = 0;        // message boxes only
        std::wstring defaultText;  // input boxes; the check caption for hints; popup's cancel
        // The letters a popup offered.
        std::vector<DriveIndex> letters = {};
    };

    // The next message box returns this button (mb::kIdYes, mb::kIdNo, ...).
    void QueueAnswer(int button) { answers_.push_back(button); }
    // The next input box returns this text (OK pressed), or is cancelled.
    void QueueInput(const std::wstring& typed) { inputs_.push_back(typed); }
    void QueueInputCancel() { inputs_.push_back(std::nullopt); }
    // The next folder chooser returns this path ("" = cancelled).
    void QueueFolder(const std::wstring& path) { folders_.push_back(path); }
    // The next hint window closes with its check box ticked or not (default: not).
    void QueueHintTick(bool ticked) { hints_.push_back(ticked); }
    // The next letter popup returns this letter (0 = cancelled or closed),
    // whether it was offered or not.
    void QueueLetter(DriveIndex letter) { letters_.push_back(letter); }
    // Runs once while the next box of any kind is open, before it answers:
    // what the user or the system does while the program waits.
    void WhileNextBoxIsOpen(std::function<void()> action) { meanwhile_ = std::move(action); }

    const std::vector<Shown>& Boxes() const { return shown_; }
    // Message boxes only, in order.
    std::vector<Shown> Messages() const;
    void Clear() { shown_.clear(); }
    // True when every queued answer has been used.
    bool AllAnswersUsed() const {
        return answers_.empty() && inputs_.empty() && folders_.empty() && hints_.empty() &&
               letters_.empty();
    }

    int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned style) override;
    bool InputBox(const std::wstring& prompt, const std::wstring& caption,
                  const std::wstring& defaultText, std::wstring& answer) override;
    std::wstring BrowseForFolder(const std::wstring& title) override;
    bool HintBox(const std::wstring& caption, const std::wstring& text,
                 const std::wstring& checkCaption, const std::wstring& okCaption) override;
    DriveIndex LetterPopup(const std::wstring& title, const std::vector<DriveIndex>& letters,
                           const std::wstring& cancelCaption) override;
    // No windows here to own anything.
    std::uintptr_t SwapOwner(std::uintptr_t) override { return 0; }

  private:
    void Show(Shown shown);

    std::vector<Shown> shown_;
    std::function<void()> meanwhile_;
    std::deque<int> answers_;
    std::deque<std::optional<std::wstring>> inputs_;
    std::deque<std::wstring> folders_;
    std::deque<bool> hints_;
    std::deque<DriveIndex> letters_;
};

}  // namespace kelvra::sim
