#include "cli/cli_list.h"

#include <algorithm>
#include <array>

#include "drives/keywords.h"
#include "mainwindow/commands.h"
#include "program.h"
#include "util/text.h"

namespace kelvra::cli {

namespace {

bool Shown(const Program& program, DriveIndex index, bool all) {
    return all || program.drives.main[index].Type != kw::kFree;
}

const char* StateOf(const DriveRecord& row) {
    if (row.Type == kw::kFree) return "free";
    if (!text::ContainsNoCase(row.Type, kw::kInactive)) return "active";
    return row.State == kw::kDisabled ? "deactivated-permanently" : "deactivated";
}

std::wstring Trimmed(const std::wstring& s) {
    const std::size_t first = s.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return s.substr(first, s.find_last_not_of(L' ') - first + 1);
}

}  // namespace

std::vector<std::wstring> ListText(Program& program, const RowViews& rows, bool all) {
    std::array<std::size_t, 4> width{};
    for (DriveIndex i = 1; i <= kDriveCount; ++i)
        if (Shown(program, i, all))
            for (int c = 0; c < 4; ++c) width[c] = std::max(width[c], rows[i].texts[c].size());
    std::vector<std::wstring> lines;
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        if (!Shown(program, i, all)) continue;
        std::wstring line;
        for (int c = 0; c < 4; ++c) {
            const std::wstring& cell = rows[i].texts[c];
            line += cell;
            if (c < 3) line.append(width[c] - cell.size() + 2, L' ');
        }
        lines.push_back(line.substr(0, line.find_last_not_of(L' ') + 1));
    }
    return lines;
}

std::wstring JsonString(const std::wstring& text) {
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else if (c < 0x20) {
            out += L"\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out + L"\"";
}

std::wstring ListJson(Program& program, const RowViews& rows, bool all) {
    Os& os = program.os;
    const DriveTables& drives = program.drives;
    std::wstring json = L"[";
    bool first = true;
    for (DriveIndex i = 1; i <= kDriveCount; ++i) {
        if (!Shown(program, i, all)) continue;
        const DriveRecord& row = drives.main[i];
        // A free letter has no volume to ask.
        const std::wstring label = row.Type == kw::kFree ? L"" : ShownLabel(program, i);
        auto field = [&json](const wchar_t* name, const std::wstring& value, bool more = true) {
            json += JsonString(name) + L":" + value + (more ? L"," : L"");
        };
        json += first ? L"\n{" : L",\n{";
        first = false;
        field(L"letter", JsonString(os.AnsiToWide(Device(i))));
        field(L"type", JsonString(os.AnsiToWide(row.Type)));
        field(L"typeText", JsonString(rows[i].texts[2]));
        field(L"managed", IsManagedDrive(drives, i) ? L"true" : L"false");
        field(L"permanent", row.Permanent == kw::kYes ? L"true" : L"false");
        field(L"state", JsonString(os.AnsiToWide(StateOf(row))));
        field(L"path", JsonString(Trimmed(rows[i].texts[3])));
        field(L"label", JsonString(label));
        field(L"kelvraLabel", JsonString(os.AnsiToWide(row.Label)), false);
        json += L"}";
    }
    return json + L"\n]";
}

}  // namespace kelvra::cli
