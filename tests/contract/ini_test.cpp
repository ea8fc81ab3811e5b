#include "contract/contract.h"

namespace kelvra::contract {

TEST_F(ContractTest, IniReadsPresentMissingAndEmptyValues) {
    const std::string file = env->Scratch() + "a.ini";
    env->MakeFile(file, "[One]\r\nKey=Value\r\nEmpty=\r\n[Two]\r\nKey=Other\r\n");
    std::string out;
    EXPECT_EQ(os().GetPrivateProfileString("One", "Key", "def", out, 1024, file), 5u);
    EXPECT_EQ(out, "Value");
    EXPECT_EQ(os().GetPrivateProfileString("one", "KEY", "def", out, 1024, file), 5u);
    EXPECT_EQ(os().GetPrivateProfileString("One", "Missing", "def", out, 1024, file), 3u);
    EXPECT_EQ(out, "def");
    EXPECT_EQ(os().GetPrivateProfileString("One", "Empty", "def", out, 1024, file), 0u);
    EXPECT_EQ(out, "");
    EXPECT_EQ(os().GetPrivateProfileString("Two", "Key", "", out, 1024, file), 5u);
    EXPECT_EQ(out, "Other");
}

}  // namespace kelvra::contract
