// CPU times the timing programs read: a FILETIME span, and a Linux process's
// (the Wine server's) from /proc through drive Z:.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "wine/e2e_support.h"

namespace kelvra::bench {

inline double FileTimeMs(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 10000.0;
}

// utime + stime in milliseconds (the fields count 1/100 s); -1 when unreadable.
inline double LinuxCpuMs(int unixPid) {
    if (unixPid <= 0) return -1;
    const std::string stat = e2e::ReadBytes("Z:\\proc\\" + std::to_string(unixPid) + "\\stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    // After the name: state is field 3, utime field 14, stime field 15.
    std::vector<std::string> fields;
    for (std::size_t pos = close + 2; pos < stat.size();) {
        const std::size_t end = std::min(stat.find(' ', pos), stat.size());
        fields.push_back(stat.substr(pos, end - pos));
        pos = end + 1;
    }
    if (fields.size() < 13) return -1;
    return (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) * 10.0;
}

}  // namespace kelvra::bench
