// The keys of the text table. The enumerators carry the keys' own names, so a
// key reads the same in code, in the table and in a language pack, and a typo
// fails to compile.
#pragma once

#include <cstddef>
#include <string_view>

namespace kelvra {

enum class TextKey : int {
#define KELVRA_TEXT(key, text) key,
#include "language/text_table.inc"
#undef KELVRA_TEXT
};

constexpr std::size_t kTextCount = 0
#define KELVRA_TEXT(key, text) +1
#include "language/text_table.inc"
#undef KELVRA_TEXT
    ;
static_assert(kTextCount == 180, "the text table has 180 keys");

constexpr std::size_t Index(TextKey key) {
    return static_cast<std::size_t>(key);
}

// The key as written in packs ("main_cmdnew").
std::string_view TextKeyName(TextKey key);
// The built-in German text as stored, before PrepareText.
std::wstring_view BuiltInText(TextKey key);
// The key of a name, matched exactly; false (key unchanged) for an unknown name.
bool FindTextKey(std::string_view name, TextKey& key);

}  // namespace kelvra
