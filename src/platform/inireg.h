// INI and registry access routines and file tests. They never show anything;
// they return status codes, which callers keep in LastStatus and mostly ignore.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os.h"

namespace kelvra {

// INI status codes.
constexpr int32_t kIniOk = 0;
constexpr int32_t kIniFailed = 2;  // nothing read, or the write failed

constexpr uint32_t kIniBufferSize = 1024;
constexpr uint32_t kRegReadBufferSize = 1024;
constexpr uint32_t kRegReadAccess = kKeyQueryValue | kKeyEnumerateSubKeys | kKeyNotify;  // 0x19
constexpr uint32_t kRegWriteAccess = kKeyQueryValue | kKeySetValue | kKeyCreateSubKey |
                                     kKeyEnumerateSubKeys | kKeyNotify | kKeyCreateLink;  // 0x3F

// The value, or the default when the key is missing. Status 0 when more than
// zero characters were read, else 2 (so an empty value gives 2 as well).
std::string ReadIniString(Os& os, const std::string& file, const std::string& section,
                          const std::string& key, const std::string& def, int32_t& status,
                          uint32_t bufferSize = kIniBufferSize);
int32_t WriteIniString(Os& os, const std::string& file, const std::string& section,
                       const std::string& key, const std::string& value);
int32_t DeleteIniKey(Os& os, const std::string& file, const std::string& section,
                     const std::string& key);

// 0 when the key exists and may be read, else the open's error code.
int32_t RegKeyOpenable(Os& os, RegKey root, const std::string& subkey);
// Disposition: 1 created, 2 already there, 0 when the key cannot be created.
uint32_t RegCreateKey(Os& os, RegKey root, const std::string& subkey, bool noFlush);
int32_t RegDeleteKey(Os& os, RegKey root, const std::string& subkey);
// The error code of the open, or of the close after a successful open; a
// missing value therefore still gives 0.
int32_t RegDeleteValue(Os& os, RegKey root, const std::string& subkey, const std::string& name);
// REG_DWORD.
int32_t RegSetValue(Os& os, RegKey root, const std::string& subkey, const std::string& name,
                    uint32_t value);
// REG_BINARY (the bytes, no terminator) when rawBytes, else REG_SZ (with NUL).
int32_t RegSetValue(Os& os, RegKey root, const std::string& subkey, const std::string& name,
                    const std::string& value, bool rawBytes);
// Reads a value: "SZ" (text without terminator), "BINARY" (the bytes as
// text) or "DWORD" (decimal text). On failure, or for any other type, value
// and typeName are left unchanged, so the caller's value acts as default.
int32_t RegGetValue(Os& os, RegKey root, const std::string& subkey, const std::string& name,
                    std::string& value, std::string& typeName);

bool FileExists(Os& os, const std::string& path);
bool DirExists(Os& os, const std::string& path);

}  // namespace kelvra
