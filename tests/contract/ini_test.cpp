#include "contract/contract.h"
#include "platform/inireg.h"

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
    EXPECT_EQ(os().GetPrivateProfileString("Three", "Key", "none", out, 1024, file), 4u);
    EXPECT_EQ(out, "none");
    EXPECT_EQ(
        os().GetPrivateProfileString("One", "Key", "def", out, 1024, env->Scratch() + "no.ini"),
        3u);
    EXPECT_EQ(out, "def");
}

TEST_F(ContractTest, IniValuesAreTrimmedAndUnquoted) {
    const std::string file = env->Scratch() + "q.ini";
    env->MakeFile(file,
                  "[S]\r\nPadded =   some text  \r\nDouble=\"in quotes\"\r\n"
                  "Single='in quotes'\r\nHalf=\"open\r\nInner=a \"b\" c\r\n");
    const struct {
        const char* key;
        const char* expected;
    } cases[] = {
        {"Padded", "some text"}, {"Double", "in quotes"}, {"Single", "in quotes"},
        {"Half", "\"open"},      {"Inner", "a \"b\" c"},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(os().GetPrivateProfileString("S", c.key, "", out, 1024, file),
                  std::string(c.expected).size())
            << c.key;
        EXPECT_EQ(out, c.expected) << c.key;
    }
}

TEST_F(ContractTest, IniDefaultLosesTrailingBlanksOnly) {
    const std::string file = env->Scratch() + "d.ini";
    env->MakeFile(file, "[S]\r\n");
    std::string out;
    EXPECT_EQ(os().GetPrivateProfileString("S", "Missing", "  def  ", out, 1024, file), 5u);
    EXPECT_EQ(out, "  def");
}

TEST_F(ContractTest, IniLongValuesAreCutToTheBuffer) {
    const std::string file = env->Scratch() + "long.ini";
    const std::string value(2000, 'x');
    env->MakeFile(file, "[S]\r\nLong=" + value + "\r\nFits=" + value.substr(0, 1023) + "\r\n");
    std::string out;
    EXPECT_EQ(os().GetPrivateProfileString("S", "Long", "", out, 1024, file), 1023u);
    EXPECT_EQ(out, value.substr(0, 1023));
    EXPECT_EQ(os().GetPrivateProfileString("S", "Fits", "", out, 1024, file), 1023u);
    EXPECT_EQ(out.size(), 1023u);
    EXPECT_EQ(os().GetPrivateProfileString("S", "Long", "", out, 2, file), 1u);
    EXPECT_EQ(out, "x");
    EXPECT_EQ(os().GetPrivateProfileString("S", "Missing", "default", out, 4, file), 3u);
    EXPECT_EQ(out, "def");
}

TEST_F(ContractTest, IniWritesReplaceAddAndLeaveOtherSectionsAlone) {
    const std::string file = env->Scratch() + "w.ini";
    const std::string two = "[Two]\r\nKey=Other\r\n";
    env->MakeFile(file, "[One]\r\nKey=Value\r\n" + two);
    const std::string changed = "Changed";
    const std::string added = "New";
    ASSERT_TRUE(os().WritePrivateProfileString("One", "Key", &changed, file));
    ASSERT_TRUE(os().WritePrivateProfileString("One", "Added", &added, file));
    ASSERT_TRUE(os().WritePrivateProfileString("Three", "Key", &added, file));
    std::string out;
    EXPECT_EQ(os().GetPrivateProfileString("One", "Key", "", out, 1024, file), 7u);
    EXPECT_EQ(out, "Changed");
    os().GetPrivateProfileString("One", "Added", "", out, 1024, file);
    EXPECT_EQ(out, "New");
    os().GetPrivateProfileString("Three", "Key", "", out, 1024, file);
    EXPECT_EQ(out, "New");
    os().GetPrivateProfileString("Two", "Key", "", out, 1024, file);
    EXPECT_EQ(out, "Other");
    EXPECT_NE(env->ReadBytes(file).find(two), std::string::npos) << env->ReadBytes(file);
}

TEST_F(ContractTest, IniNullValueDeletesOnlyThatKey) {
    const std::string file = env->Scratch() + "del.ini";
    env->MakeFile(file, "[One]\r\nGone=1\r\nKept=2\r\n[Two]\r\nGone=3\r\n");
    ASSERT_TRUE(os().WritePrivateProfileString("One", "Gone", nullptr, file));
    std::string out;
    EXPECT_EQ(os().GetPrivateProfileString("One", "Gone", "def", out, 1024, file), 3u);
    EXPECT_EQ(out, "def");
    os().GetPrivateProfileString("One", "Kept", "", out, 1024, file);
    EXPECT_EQ(out, "2");
    os().GetPrivateProfileString("Two", "Gone", "", out, 1024, file);
    EXPECT_EQ(out, "3");
    // Deleting what is not there is no failure.
    EXPECT_TRUE(os().WritePrivateProfileString("One", "Never", nullptr, file));
}

TEST_F(ContractTest, IniWriteMakesANewFileButNotAMissingFolder) {
    const std::string folder = env->Scratch();
    const std::string value = "v";
    EXPECT_TRUE(os().WritePrivateProfileString("S", "K", &value, folder + "new.ini"));
    std::string out;
    EXPECT_EQ(os().GetPrivateProfileString("S", "K", "", out, 1024, folder + "new.ini"), 1u);
    EXPECT_FALSE(os().WritePrivateProfileString("S", "K", &value, folder + "missing\\x.ini"));
    EXPECT_EQ(os().GetFileAttributes(folder + "missing"), kInvalidFileAttributes);
    os().CreateDirectory(folder + "sub");
    EXPECT_FALSE(os().WritePrivateProfileString("S", "K", &value, folder + "sub"));
}

TEST_F(ContractTest, IniRoutinesReportStatus) {
    const std::string file = env->Scratch() + "r.ini";
    env->MakeFile(file, "[S]\r\nKey=Value\r\nEmpty=\r\n");
    const struct {
        const char* key;
        const char* def;
        const char* value;
        int32_t status;
    } cases[] = {
        {"Key", "def", "Value", kIniOk},
        {"Empty", "def", "", kIniFailed},  // the default does not stand in for an empty value
        {"Missing", "def", "def", kIniOk},
        {"Missing", "", "", kIniFailed},
    };
    for (const auto& c : cases) {
        int32_t status = -1;
        EXPECT_EQ(ReadIniString(os(), file, "S", c.key, c.def, status), c.value) << c.key;
        EXPECT_EQ(status, c.status) << c.key << " / " << c.def;
    }

    EXPECT_EQ(WriteIniString(os(), file, "S", "Key", "New"), kIniOk);
    int32_t status = -1;
    EXPECT_EQ(ReadIniString(os(), file, "S", "Key", "", status), "New");
    EXPECT_EQ(DeleteIniKey(os(), file, "S", "Key"), kIniOk);
    EXPECT_EQ(ReadIniString(os(), file, "S", "Key", "gone", status), "gone");
    EXPECT_EQ(WriteIniString(os(), env->Scratch() + "missing\\r.ini", "S", "Key", "v"), kIniFailed);
}

}  // namespace kelvra::contract
