// Splitting the program name off a process command line. Portable on
// purpose (no Windows headers), so the native suite checks it as well.
#pragma once

#include <string>
#include <string_view>

namespace kelvra::win32 {

// The arguments after the program name of a command line as GetCommandLineA
// gives it, without leading blanks. A quoted program name ends at the next
// quote (a path may hold blanks); an unquoted one at the first blank. A
// quoted name that is never closed takes the whole line.
inline std::string ArgumentsAfterProgramName(std::string_view line) {
    const std::string_view blanks = " \t";
    std::size_t start = line.find_first_not_of(blanks);
    if (start == std::string_view::npos) return {};
    std::size_t end;
    if (line[start] == '"') {
        end = line.find('"', start + 1);
        end = end == std::string_view::npos ? line.size() : end + 1;
    } else {
        end = line.find_first_of(blanks, start);
        if (end == std::string_view::npos) end = line.size();
    }
    std::size_t arguments = line.find_first_not_of(blanks, end);
    return arguments == std::string_view::npos ? std::string()
                                               : std::string(line.substr(arguments));
}

}  // namespace kelvra::win32
