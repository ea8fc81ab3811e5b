// State of a run started by an Explorer context command ("/set=", "/cut=").
#pragma once

#include <string>

namespace kelvra {

struct ContextState {
    // True for "/set=" (make a drive for a folder), false for "/cut=".
    bool ContextConnect = false;
    // The folder or drive root of the command; empty in every other run.
    // While it is set, new drives take the context-command defaults and
    // disconnecting asks by the context-command warning setting.
    std::string ContextPath;
};

}  // namespace kelvra
