// Small string helpers shared by the modules. 8-bit strings are taken as
// Windows-1252 text where letter case matters.
#pragma once

#include <string>
#include <string_view>

namespace kelvra::text {

char UpperAscii(char c);
// Upper case in Windows-1252 (ASCII letters and the accented Latin letters).
std::string Upper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWith(std::string_view s, std::string_view prefix);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);
bool ContainsNoCase(std::string_view haystack, std::string_view needle);
// The text cut at its first NUL character.
std::string CutAtNul(std::string_view s);
// Every NUL character removed.
std::string RemoveNuls(std::string_view s);
// The folder with a backslash appended when it does not end in one.
std::string WithBackslash(std::string_view folder);

// The leading number of a text, as the settings store reads numbers: leading
// blanks skipped, an optional sign, digits, an optional fraction and exponent;
// 0 when the text does not start with a number. Never throws; huge values
// saturate instead of overflowing.
double LeadingNumber(std::string_view s);
// LeadingNumber rounded to the nearest integer (halves to even) and clamped
// to the int range.
int LeadingInteger(std::string_view s);

}  // namespace kelvra::text
