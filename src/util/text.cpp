#include "util/text.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace kelvra::text {

char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

static unsigned char Upper1252(unsigned char c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    switch (c) {
        case 0x9A:
            return 0x8A;  // š
        case 0x9C:
            return 0x8C;  // œ
        case 0x9E:
            return 0x8E;  // ž
        case 0xFF:
            return 0x9F;  // ÿ
        default:
            return c;
    }
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(Upper1252(static_cast<unsigned char>(c)));
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper1252(static_cast<unsigned char>(a[i])) !=
            Upper1252(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
    return Upper(haystack).find(Upper(needle)) != std::string::npos;
}

std::string CutAtNul(std::string_view s) {
    std::size_t nul = s.find('\0');
    return std::string(nul == std::string_view::npos ? s : s.substr(0, nul));
}

std::string RemoveNuls(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != '\0') out.push_back(c);
    return out;
}

std::string WithBackslash(std::string_view folder) {
    std::string out(folder);
    if (!EndsWith(out, "\\")) out.push_back('\\');
    return out;
}

double LeadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    std::size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digitsStart = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    bool intDigits = i > digitsStart;
    bool fracDigits = false;
    if (i < s.size() && s[i] == '.') {
        std::size_t f = i + 1;
        while (f < s.size() && s[f] >= '0' && s[f] <= '9') ++f;
        fracDigits = f > i + 1;
        if (fracDigits || intDigits) i = f;
    }
    if (!intDigits && !fracDigits) return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
        std::size_t expDigits = e;
        while (e < s.size() && s[e] >= '0' && s[e] <= '9') ++e;
        if (e > expDigits) i = e;
    }
    // strtod needs a terminated copy; the number part is short in practice,
    // but a 5,000-digit value must still parse without harm.
    std::string number(s.substr(start, i - start));
    double value = std::strtod(number.c_str(), nullptr);
    if (std::isnan(value)) return 0.0;
    return value;
}

int LeadingInteger(std::string_view s) {
    double value = std::nearbyint(LeadingNumber(s));
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace kelvra::text
