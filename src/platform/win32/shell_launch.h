// Opening help and documents with the programs the system has for them,
// and the OLE they need.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

namespace kelvra::win32 {

// OLE on the calling thread (the window thread) from the first call to the
// end of the run. The folder chooser, HTML Help and the shell's launching
// want it; they start it, not the program's start: the first screen needs
// none of it, and loading OLE would cost every start its time.
void StartOle();

// The compiled help file at a topic (or its contents for none), in the
// help's own window definition. A system without HTML Help shows nothing.
void OpenHtmlHelp(HWND owner, const std::wstring& file, const wchar_t* topic);
// A file in the program the system associates with it; plain text without
// one opens in Notepad.
void OpenDocument(const std::wstring& path);

}  // namespace kelvra::win32
