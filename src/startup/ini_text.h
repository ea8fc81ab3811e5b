// A settings file's text in memory, read and changed with the rules of the
// private-profile calls, so that a whole file can be rewritten in one step
// and still reads the same to them. Lines the program does not change (other
// sections, comments, keys added by hand) come out as they went in.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra {

class IniText {
  public:
    // Whether two section names are the same. The system compares them
    // without regard to letter case in its code page; the default knows
    // the ASCII letters only.
    using SameName = std::function<bool(std::string_view, std::string_view)>;

    IniText() = default;
    // LF and CR LF both end a line.
    explicit IniText(std::string_view contents);

    // Every line ended by CR LF, as the private-profile calls write them.
    std::string Serialize() const;

    // The value as GetPrivateProfileString gives it: blanks around it
    // trimmed, one pair of matching quotes removed. Section and key match
    // without regard to letter case or surrounding blanks. False when the
    // key is missing.
    bool Get(std::string_view section, std::string_view key, std::string& value) const;
    // Replaces the key's line, or adds "key=value" after the last line of the
    // section, or the section with the key at the end of the file.
    void Set(std::string_view section, std::string_view key, const std::string& value);
    void Delete(std::string_view section, std::string_view key);
    void MatchSectionsWith(SameName same) { sameSection_ = std::move(same); }

  private:
    struct Found {
        int sectionLine = -1;
        int keyLine = -1;
        int lastLineOfSection = -1;
    };
    Found Find(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
    SameName sameSection_;
};

}  // namespace kelvra
