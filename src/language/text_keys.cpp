#include "language/text_keys.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kelvra {

namespace {

constexpr std::array<std::string_view, kTextCount> kNames = {
#define KELVRA_TEXT(key, text) #key,
#include "language/text_table.inc"
#undef KELVRA_TEXT
};

constexpr std::array<std::wstring_view, kTextCount> kBuiltIn = {
#define KELVRA_TEXT(key, text) text,
#include "language/text_table.inc"
#undef KELVRA_TEXT
};

using NameIndex = std::array<std::pair<std::string_view, TextKey>, kTextCount>;

// The names sorted once, so lookups by name are a binary search.
const NameIndex& SortedNames() {
    static const NameIndex sorted = [] {
        NameIndex index;
        for (std::size_t i = 0; i < kTextCount; ++i)
            index[i] = {kNames[i], static_cast<TextKey>(i)};
        std::sort(index.begin(), index.end());
        return index;
    }();
    return sorted;
}

}  // namespace

std::string_view TextKeyName(TextKey key) {
    return kNames.at(Index(key));
}

std::wstring_view BuiltInText(TextKey key) {
    return kBuiltIn.at(Index(key));
}

bool FindTextKey(std::string_view name, TextKey& key) {
    const NameIndex& index = SortedNames();
    auto it =
        std::lower_bound(index.begin(), index.end(), name,
                         [](const auto& entry, std::string_view n) { return entry.first < n; });
    if (it == index.end() || it->first != name) return false;
    key = it->second;
    return true;
}

}  // namespace kelvra
