#include "contract/contract.h"

namespace kelvra::contract {

// The system code page is Windows-1252 (Western European) on the machines
// the suite runs on.
TEST_F(ContractTest, CodePageConvertsWesternLetters) {
    const std::string ansi = "\xE9\xF6\xFC\xDF\x80 \xC4";
    const std::wstring wide = L"\u00E9\u00F6\u00FC\u00DF\u20AC \u00C4";
    EXPECT_EQ(os().AnsiToWide(ansi), wide);
    EXPECT_EQ(os().WideToAnsi(wide), ansi);
    EXPECT_EQ(os().AnsiToWide(""), L"");
    EXPECT_EQ(os().WideToAnsi(L""), "");
    EXPECT_EQ(os().AnsiToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
    EXPECT_EQ(os().WideToAnsi(std::wstring(L"a\0b", 3)), std::string("a\0b", 3));
}

TEST_F(ContractTest, CodePageRoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::wstring wide = os().AnsiToWide(all);
    EXPECT_EQ(wide.size(), all.size());
    EXPECT_EQ(os().WideToAnsi(wide), all);
}

TEST_F(ContractTest, CodePageMarksCharactersItLacks) {
    EXPECT_EQ(os().WideToAnsi(L"a\u4E2Db\u0416"), "a?b?");
}

}  // namespace kelvra::contract
