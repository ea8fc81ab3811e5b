// The one way Windows-side files include the Windows API. The headers map
// generic names such as GetDriveType to their ...A/...W functions by macro;
// those macros would rename Os methods and program routines of the same name,
// so they are undefined here, and our code calls the explicit ...A or ...W
// functions. The message-sending macros (SendMessage, ...) stay: the common
// control helpers expand to them.
#pragma once

// clang-format off
#include <windows.h>
#include <winnetwk.h>
#include <winver.h>
#include <tlhelp32.h>
#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>
// clang-format on

// Names of Os methods and program routines.
#undef CharUpperBuff
#undef CreateDirectory
#undef DefineDosDevice
#undef GetCommandLine
#undef GetDriveType
#undef GetFileAttributes
#undef GetLogicalDriveStrings
#undef GetLongPathName
#undef GetModuleFileName
#undef GetPrivateProfileString
#undef GetShortPathName
#undef GetUserName
#undef GetVersionEx
#undef GetVolumeInformation
#undef MessageBox
#undef QueryDosDevice
#undef RegCreateKey
#undef RegCreateKeyEx
#undef RegDeleteKey
#undef RegDeleteValue
#undef RegGetValue
#undef RegOpenKeyEx
#undef RegQueryValueEx
#undef RegSetValue
#undef RegSetValueEx
#undef WNetAddConnection2
#undef WNetCancelConnection
#undef WNetGetConnection
#undef WritePrivateProfileString

// File, registry and system calls that routines are likely to be named after.
#undef CopyFile
#undef CreateFile
#undef CreateProcess
#undef DeleteFile
#undef ExpandEnvironmentStrings
#undef FindFirstFile
#undef FindNextFile
#undef GetComputerName
#undef GetCurrentDirectory
#undef GetDiskFreeSpace
#undef GetDiskFreeSpaceEx
#undef GetEnvironmentVariable
#undef GetFullPathName
#undef GetPrivateProfileInt
#undef GetSystemDirectory
#undef GetTempFileName
#undef GetTempPath
#undef GetWindowsDirectory
#undef MoveFile
#undef RegDeleteKeyEx
#undef RegEnumKeyEx
#undef RegEnumValue
#undef RegOpenKey
#undef RegQueryValue
#undef RemoveDirectory
#undef SetCurrentDirectory
#undef SetVolumeLabel
#undef ShellExecute
#undef WNetCancelConnection2
#undef WNetGetUser

namespace kelvra::win32 {

// A function of a loaded system DLL that older systems lack, looked up at
// run time instead of imported; null where the system has none.
template <typename Fn>
Fn SystemFunction(const wchar_t* module, const char* name) {
    const HMODULE loaded = GetModuleHandleW(module);
    return loaded ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(loaded, name)))
                  : nullptr;
}

}  // namespace kelvra::win32
