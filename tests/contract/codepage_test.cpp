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

// Upper case as the system has it, in place: ASCII and the Western letters
// of 1252; characters without a capital stay as they are.
TEST_F(ContractTest, CharUpperBuffUsesTheCodePagesCapitals) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"abc xyz ABC 019 !~_-", "ABC XYZ ABC 019 !~_-"},
        {"\xE0\xE9\xEE\xF5\xFC\xFD\xFE", "\xC0\xC9\xCE\xD5\xDC\xDD\xDE"},
        {"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"},  // š œ ž ÿ
        {"\xDF\xF7\xD7\xAA\xBA\x80\xC4", "\xDF\xF7\xD7\xAA\xBA\x80\xC4"},
        {std::string("a\0b", 3), std::string("A\0B", 3)},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(os().CharUpperBuff(text), c.in.size()) << c.in;
        EXPECT_EQ(text, c.out) << c.in;
    }
    std::string empty;
    EXPECT_EQ(os().CharUpperBuff(empty), 0u);
    EXPECT_EQ(empty, "");
}

}  // namespace kelvra::contract
