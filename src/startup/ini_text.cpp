#include "startup/ini_text.h"

#include "util/text.h"

namespace kelvra {
namespace {

std::string_view Trim(std::string_view s) {
    const std::size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {};
    return s.substr(begin, s.find_last_not_of(" \t") - begin + 1);
}

// True for "[name]" (blanks around it allowed); a missing "]" still opens a
// section, as the private-profile calls read it.
bool IsSectionLine(std::string_view line, std::string_view& name) {
    const std::string_view t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const std::size_t close = t.find(']');
    name = Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

bool IsKeyLine(std::string_view line, std::string_view key, std::string_view* value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    if (!text::EqualsNoCase(Trim(line.substr(0, eq)), Trim(key))) return false;
    if (value) *value = line.substr(eq + 1);
    return true;
}

}  // namespace

IniText::IniText(std::string_view contents) {
    std::size_t pos = 0;
    while (pos < contents.size()) {
        const std::size_t nl = contents.find('\n', pos);
        std::string_view line = contents.substr(pos, nl == std::string_view::npos ? nl : nl - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
        if (nl == std::string_view::npos) break;
        pos = nl + 1;
    }
}

std::string IniText::Serialize() const {
    std::string out;
    for (const std::string& line : lines_) out += line + "\r\n";
    return out;
}

IniText::Found IniText::Find(std::string_view section, std::string_view key) const {
    Found found;
    bool inSection = false;
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        std::string_view name;
        if (IsSectionLine(lines_[i], name)) {
            // A section named twice: the first one is the one that counts.
            inSection =
                found.sectionLine < 0 && (sameSection_ ? sameSection_(name, Trim(section))
                                                       : text::EqualsNoCase(name, Trim(section)));
            if (inSection) found.sectionLine = found.lastLineOfSection = i;
            continue;
        }
        if (!inSection) continue;
        if (!Trim(lines_[i]).empty()) found.lastLineOfSection = i;
        if (found.keyLine < 0 && IsKeyLine(lines_[i], key, nullptr)) found.keyLine = i;
    }
    return found;
}

bool IniText::Get(std::string_view section, std::string_view key, std::string& value) const {
    const Found found = Find(section, key);
    if (found.keyLine < 0) return false;
    std::string_view raw;
    IsKeyLine(lines_[found.keyLine], key, &raw);
    raw = Trim(raw);
    if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front())
        raw = raw.substr(1, raw.size() - 2);
    value.assign(raw);
    return true;
}

void IniText::Set(std::string_view section, std::string_view key, const std::string& value) {
    const Found found = Find(section, key);
    std::string entry = std::string(Trim(key)) + "=" + value;
    if (found.keyLine >= 0) {
        lines_[found.keyLine] = std::move(entry);
    } else if (found.sectionLine >= 0) {
        lines_.insert(lines_.begin() + found.lastLineOfSection + 1, std::move(entry));
    } else {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(entry));
    }
}

void IniText::Delete(std::string_view section, std::string_view key) {
    const Found found = Find(section, key);
    if (found.keyLine >= 0) lines_.erase(lines_.begin() + found.keyLine);
}

}  // namespace kelvra
