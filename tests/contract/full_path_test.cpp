#include "contract/contract.h"
#include "util/text.h"

namespace kelvra::contract {
namespace {

std::string Full(Os& os, const std::string& path) {
    std::string out = "unchanged";
    return os.GetFullPathName(path, out) ? out : "(failed: " + out + ")";
}

}  // namespace

TEST_F(ContractTest, FullPathNames) {
    const struct {
        std::string path, full;
    } cases[] = {
        {"C:\\Data\\Sub", "C:\\Data\\Sub"},
        {"c:/data/./x/../sub\\", "c:\\data\\sub\\"},
        {"C:\\a\\..\\..\\b", "C:\\b"},
        {"C:\\", "C:\\"},
        {"\\\\srv\\share\\a\\..\\b", "\\\\srv\\share\\b"},
        {"", "(failed: )"},
    };
    for (const auto& c : cases) EXPECT_EQ(Full(os(), c.path), c.full) << c.path;

    // Relative paths start from the current folder, whatever it is here;
    // one without a folder need not exist.
    const std::string current = Full(os(), ".");
    ASSERT_GE(current.size(), 3u);
    EXPECT_EQ(current[1], ':');
    EXPECT_EQ(Full(os(), "missing\\x"), text::WithBackslash(current) + "missing\\x");
    EXPECT_EQ(Full(os(), "\\top"), current.substr(0, 2) + "\\top");
}

}  // namespace kelvra::contract
