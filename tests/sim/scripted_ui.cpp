#include "sim/scripted_ui.h"

namespace kelvra::sim {

std::vector<ScriptedUi::Shown> ScriptedUi::Messages() const {
    std::vector<Shown> messages;
    for (const Shown& s : shown_)
        if (s.kind == Kind::Message) messages.push_back(s);
    return messages;
}

void ScriptedUi::Show(Shown shown) {
    shown_.push_back(std::move(shown));
    if (!meanwhile_) return;
    const auto action = std::move(meanwhile_);
    meanwhile_ = nullptr;
    action();
}

int ScriptedUi::MessageBox(const std::wstring& text, const std::wstring& caption, unsigned style) {
    Show(Shown{Kind::Message, text, caption, style, {}});
    if (!answers_.empty()) {
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return (style & 0xF) == mb::kYesNo ? mb::kIdYes : mb::kIdOk;
}

bool ScriptedUi::InputBox(const std::wstring& prompt, const std::wstring& caption,
                          const std::wstring& defaultText, std::wstring& answer) {
    Show(Shown{Kind::Input, prompt, caption, 0, defaultText});
    std::optional<std::wstring> typed = defaultText;
    if (!inputs_.empty()) {
        typed = inputs_.front();
        inputs_.pop_front();
    }
    if (!typed) return false;
    answer = *typed;
    return true;
}

std::wstring ScriptedUi::BrowseForFolder(const std::wstring& title) {
    Show(Shown{Kind::Folder, title, {}, 0, {}});
    if (folders_.empty()) return {};
    std::wstring path = folders_.front();
    folders_.pop_front();
    return path;
}

bool ScriptedUi::HintBox(const std::wstring& caption, const std::wstring& text,
                         const std::wstring& checkCaption, const std::wstring&) {
    Show(Shown{Kind::Hint, text, caption, 0, checkCaption});
    if (hints_.empty()) return false;
    bool ticked = hints_.front();
    hints_.pop_front();
    return ticked;
}

DriveIndex ScriptedUi::LetterPopup(const std::wstring& title,
                                   const std::vector<DriveIndex>& letters,
                                   const std::wstring& cancelCaption) {
    Show(Shown{Kind::LetterPopup, title, {}, 0, cancelCaption, letters});
    if (letters_.empty()) return 0;
    DriveIndex letter = letters_.front();
    letters_.pop_front();
    return letter;
}

}  // namespace kelvra::sim
