#include <set>

#include "contract/contract.h"
#include "platform/inireg.h"

namespace kelvra::contract {

TEST_F(ContractTest, RegistryCreateReportsNewThenExisting) {
    const std::string scratch = env->ScratchKey();
    const std::string key = scratch + "\\Sub\\Leaf";
    EXPECT_EQ(RegKeyOpenable(os(), kHkeyCurrentUser, key), oserr::kFileNotFound);
    EXPECT_EQ(RegCreateKey(os(), kHkeyCurrentUser, key, false), kRegCreatedNewKey);
    EXPECT_EQ(RegCreateKey(os(), kHkeyCurrentUser, key, true), kRegOpenedExistingKey);
    EXPECT_EQ(RegKeyOpenable(os(), kHkeyCurrentUser, key), oserr::kSuccess);
    // Key names ignore case.
    EXPECT_EQ(RegCreateKey(os(), kHkeyCurrentUser, scratch + "\\SUB\\leaf", true),
              kRegOpenedExistingKey);
}

TEST_F(ContractTest, RegistryValuesRoundTripWithTheirTypes) {
    const std::string key = env->ScratchKey();
    const struct {
        const char* name;
        uint32_t type;
        std::string value;  // as written: text, bytes, or a decimal number
        const char* typeName;
    } cases[] = {
        {"Zero", kRegDword, "0", "DWORD"},
        {"Max", kRegDword, "4294967295", "DWORD"},
        {"Number", kRegDword, "305419896", "DWORD"},
        {"Text", kRegSz, "C:\\Program Files\\x", "SZ"},
        {"EmptyText", kRegSz, "", "SZ"},
        {"Accents", kRegSz, "\xE9\xF6\xFC\xDF", "SZ"},
        {"Bytes", kRegBinary, std::string("a\0b\xFF\x01", 5), "BINARY"},
        {"NoBytes", kRegBinary, "", "BINARY"},
    };
    for (const auto& c : cases) {
        const int32_t rc =
            c.type == kRegDword
                ? RegSetValue(os(), kHkeyCurrentUser, key, c.name,
                              static_cast<uint32_t>(std::stoul(c.value)))
                : RegSetValue(os(), kHkeyCurrentUser, key, c.name, c.value, c.type == kRegBinary);
        EXPECT_EQ(rc, oserr::kSuccess) << c.name;
    }
    for (const auto& c : cases) {
        std::string value = "unchanged";
        std::string typeName;
        EXPECT_EQ(RegGetValue(os(), kHkeyCurrentUser, key, c.name, value, typeName),
                  oserr::kSuccess)
            << c.name;
        EXPECT_EQ(value, c.value) << c.name;
        EXPECT_EQ(typeName, c.typeName) << c.name;
    }
}

TEST_F(ContractTest, RegistryTextIsStoredWithItsTerminator) {
    const std::string key = env->ScratchKey();
    ASSERT_EQ(RegSetValue(os(), kHkeyCurrentUser, key, "Text", "hello", false), oserr::kSuccess);
    RegKey handle = 0;
    ASSERT_EQ(os().RegOpenKeyEx(kHkeyCurrentUser, key, kRegReadAccess, handle), oserr::kSuccess);
    uint32_t type = kRegNone;
    uint32_t size = 0;
    EXPECT_EQ(os().RegQueryValueEx(handle, "TEXT", &type, nullptr, &size), oserr::kSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 6u);

    std::string data;
    size = 3;
    EXPECT_EQ(os().RegQueryValueEx(handle, "Text", &type, &data, &size), oserr::kMoreData);
    EXPECT_EQ(size, 6u);
    size = 6;
    EXPECT_EQ(os().RegQueryValueEx(handle, "Text", &type, &data, &size), oserr::kSuccess);
    EXPECT_EQ(data, std::string("hello\0", 6));
    EXPECT_EQ(os().RegQueryValueEx(handle, "Missing", &type, &data, &size), oserr::kFileNotFound);
    EXPECT_EQ(os().RegCloseKey(handle), oserr::kSuccess);
}

TEST_F(ContractTest, RegistryTextWithoutTerminatorKeepsItsLastCharacter) {
    const std::string key = env->ScratchKey();
    RegKey handle = 0;
    ASSERT_EQ(os().RegOpenKeyEx(kHkeyCurrentUser, key, kRegWriteAccess, handle), oserr::kSuccess);
    EXPECT_EQ(os().RegSetValueEx(handle, "Bare", kRegSz, "abc"), oserr::kSuccess);
    EXPECT_EQ(os().RegSetValueEx(handle, "Nothing", kRegSz, ""), oserr::kSuccess);
    os().RegCloseKey(handle);
    const struct {
        const char* name;
        const char* value;
    } cases[] = {{"Bare", "abc"}, {"Nothing", ""}};
    for (const auto& c : cases) {
        std::string value = "default";
        std::string typeName;
        EXPECT_EQ(RegGetValue(os(), kHkeyCurrentUser, key, c.name, value, typeName),
                  oserr::kSuccess);
        EXPECT_EQ(value, c.value) << c.name;
        EXPECT_EQ(typeName, "SZ") << c.name;
    }
}

TEST_F(ContractTest, RegistryFailedReadsLeaveTheCallersValue) {
    const std::string key = env->ScratchKey();
    ASSERT_EQ(RegSetValue(os(), kHkeyCurrentUser, key, "Text", "abc", false), oserr::kSuccess);
    // A later write of another type replaces the value and its type.
    ASSERT_EQ(RegSetValue(os(), kHkeyCurrentUser, key, "Text", 7u), oserr::kSuccess);
    std::string value = "default";
    std::string typeName = "none";
    EXPECT_EQ(RegGetValue(os(), kHkeyCurrentUser, key, "Text", value, typeName), oserr::kSuccess);
    EXPECT_EQ(value, "7");
    EXPECT_EQ(typeName, "DWORD");

    value = "default";
    typeName = "none";
    EXPECT_EQ(RegGetValue(os(), kHkeyCurrentUser, key, "Missing", value, typeName),
              oserr::kFileNotFound);
    EXPECT_EQ(RegGetValue(os(), kHkeyCurrentUser, key + "\\Nope", "Text", value, typeName),
              oserr::kFileNotFound);
    EXPECT_EQ(value, "default");
    EXPECT_EQ(typeName, "none");
    EXPECT_EQ(RegSetValue(os(), kHkeyCurrentUser, key + "\\Nope", "Text", 1u),
              oserr::kFileNotFound);
}

TEST_F(ContractTest, RegistryDeletesValuesAndKeys) {
    const std::string key = env->ScratchKey();
    ASSERT_EQ(RegSetValue(os(), kHkeyCurrentUser, key, "Gone", 1u), oserr::kSuccess);
    ASSERT_EQ(RegSetValue(os(), kHkeyCurrentUser, key, "Kept", 2u), oserr::kSuccess);
    EXPECT_EQ(RegDeleteValue(os(), kHkeyCurrentUser, key, "Gone"), oserr::kSuccess);
    // The routine reports the open and close, so a missing value is no error.
    EXPECT_EQ(RegDeleteValue(os(), kHkeyCurrentUser, key, "Gone"), oserr::kSuccess);
    EXPECT_EQ(RegDeleteValue(os(), kHkeyCurrentUser, key + "\\Nope", "Gone"), oserr::kFileNotFound);
    std::string value;
    std::string typeName;
    EXPECT_EQ(RegGetValue(os(), kHkeyCurrentUser, key, "Gone", value, typeName),
              oserr::kFileNotFound);
    EXPECT_EQ(RegGetValue(os(), kHkeyCurrentUser, key, "Kept", value, typeName), oserr::kSuccess);

    RegKey handle = 0;
    ASSERT_EQ(os().RegOpenKeyEx(kHkeyCurrentUser, key, kRegWriteAccess, handle), oserr::kSuccess);
    EXPECT_EQ(os().RegDeleteValue(handle, "Never"), oserr::kFileNotFound);
    os().RegCloseKey(handle);

    const std::string parent = key + "\\Parent";
    ASSERT_EQ(RegCreateKey(os(), kHkeyCurrentUser, parent + "\\Child", true), kRegCreatedNewKey);
    EXPECT_EQ(RegDeleteKey(os(), kHkeyCurrentUser, parent), oserr::kAccessDenied);
    EXPECT_EQ(RegKeyOpenable(os(), kHkeyCurrentUser, parent + "\\Child"), oserr::kSuccess);
    EXPECT_EQ(RegDeleteKey(os(), kHkeyCurrentUser, parent + "\\Child"), oserr::kSuccess);
    EXPECT_EQ(RegDeleteKey(os(), kHkeyCurrentUser, parent), oserr::kSuccess);
    EXPECT_EQ(RegKeyOpenable(os(), kHkeyCurrentUser, parent), oserr::kFileNotFound);
    EXPECT_EQ(RegDeleteKey(os(), kHkeyCurrentUser, parent), oserr::kFileNotFound);
}

TEST_F(ContractTest, RegistryDeniedKeyRefusesWritesButReads) {
    const std::string key = env->ScratchKey() + "\\Locked";
    ASSERT_EQ(RegCreateKey(os(), kHkeyCurrentUser, key, true), kRegCreatedNewKey);
    ASSERT_EQ(RegSetValue(os(), kHkeyCurrentUser, key, "Text", "before", false), oserr::kSuccess);
    env->DenyRegistryWrites(kHkeyCurrentUser, key);

    EXPECT_EQ(RegSetValue(os(), kHkeyCurrentUser, key, "Text", "after", false),
              oserr::kAccessDenied);
    EXPECT_EQ(RegSetValue(os(), kHkeyCurrentUser, key, "Number", 1u), oserr::kAccessDenied);
    EXPECT_EQ(RegDeleteValue(os(), kHkeyCurrentUser, key, "Text"), oserr::kAccessDenied);
    RegKey handle = 0;
    uint32_t disposition = 0;
    EXPECT_EQ(os().RegCreateKeyEx(kHkeyCurrentUser, key, kRegWriteAccess, handle, disposition),
              oserr::kAccessDenied);

    EXPECT_EQ(RegKeyOpenable(os(), kHkeyCurrentUser, key), oserr::kSuccess);
    std::string value;
    std::string typeName;
    EXPECT_EQ(RegGetValue(os(), kHkeyCurrentUser, key, "Text", value, typeName), oserr::kSuccess);
    EXPECT_EQ(value, "before");
}

TEST_F(ContractTest, RegistryDeniedKeyRefusesNewKeysBelowIt) {
    SKIP_UNDER_WINE("a key is created below a key whose DACL denies creating subkeys");
    const std::string key = env->ScratchKey() + "\\Locked";
    ASSERT_EQ(RegCreateKey(os(), kHkeyCurrentUser, key, true), kRegCreatedNewKey);
    env->DenyRegistryWrites(kHkeyCurrentUser, key);
    EXPECT_EQ(RegCreateKey(os(), kHkeyCurrentUser, key + "\\Below", true), 0u);
    EXPECT_EQ(RegKeyOpenable(os(), kHkeyCurrentUser, key + "\\Below"), oserr::kFileNotFound);
}

TEST_F(ContractTest, RegistryListsTheSubkeysOfAKeyByTheirNamesAsStored) {
    const std::string key = env->ScratchKey();
    for (const char* sub : {"N", "z", "Two Words", "N\\Deeper"})
        ASSERT_EQ(RegCreateKey(os(), kHkeyCurrentUser, key + "\\" + sub, true), kRegCreatedNewKey);
    ASSERT_EQ(RegSetValue(os(), kHkeyCurrentUser, key, "Value", 1u), oserr::kSuccess);
    RegKey handle = 0;
    ASSERT_EQ(os().RegOpenKeyEx(kHkeyCurrentUser, key, kRegReadAccess, handle), oserr::kSuccess);
    std::multiset<std::string> names;
    std::string name;
    uint32_t index = 0;
    for (; os().RegEnumKeyEx(handle, index, name) == oserr::kSuccess && index < 10; ++index)
        names.insert(name);
    // Only the key's own subkeys, each once, in the letter case they were made in.
    EXPECT_EQ(names, (std::multiset<std::string>{"N", "Two Words", "z"}));
    name = "unchanged";
    EXPECT_EQ(os().RegEnumKeyEx(handle, index, name), oserr::kNoMoreItems);
    EXPECT_EQ(os().RegEnumKeyEx(handle, 1000, name), oserr::kNoMoreItems);
    EXPECT_EQ(name, "unchanged");
    os().RegCloseKey(handle);

    ASSERT_EQ(os().RegOpenKeyEx(kHkeyCurrentUser, key + "\\z", kRegReadAccess, handle),
              oserr::kSuccess);
    EXPECT_EQ(os().RegEnumKeyEx(handle, 0, name), oserr::kNoMoreItems);
    os().RegCloseKey(handle);
}

}  // namespace kelvra::contract
