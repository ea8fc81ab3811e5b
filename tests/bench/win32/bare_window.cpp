// The yardstick for Kelvra's start time: a window with the same kinds and
// numbers of controls as the main window (a report list of 26 rows and four
// columns, eight push buttons, a five-part status bar), filled with fixed
// texts, shown, then idle. It reads no settings and scans no drives, so the
// difference to Kelvra's start is what the program itself adds.
#include "platform/win32/windows_api.h"

namespace {

constexpr wchar_t kClassName[] = L"BareWindowBench";
constexpr int kRows = 26;
constexpr int kColumns = 4;
constexpr int kButtons = 8;
constexpr int kParts = 5;

struct Controls {
    HWND list = nullptr;
    HWND buttons[kButtons] = {};
    HWND status = nullptr;
};

void FillList(HWND list) {
    static const wchar_t* const kCaptions[kColumns] = {L"Drive", L"Permanent", L"Type", L"Path"};
    for (int c = 0; c < kColumns; ++c) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = 110;
        column.pszText = const_cast<wchar_t*>(kCaptions[c]);
        column.iSubItem = c;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < kRows; ++i) {
        wchar_t drive[] = L"A:";
        drive[0] = static_cast<wchar_t>(L'A' + i);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = drive;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        static const wchar_t* const kCells[] = {L"", L"Free", L""};
        for (int c = 1; c < kColumns; ++c) {
            item.iSubItem = c;
            item.pszText = const_cast<wchar_t*>(kCells[c - 1]);
            SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
        }
    }
}

void Create(HWND hwnd, Controls& controls) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    controls.list = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0, 0,
        100, 100, hwnd, nullptr, instance, nullptr);
    SendMessageW(controls.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(controls.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    FillList(controls.list);
    for (int i = 0; i < kButtons; ++i) {
        wchar_t caption[] = L"Command 0";
        caption[8] = static_cast<wchar_t>(L'1' + i);
        controls.buttons[i] = CreateWindowExW(
            0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 100,
            24, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), instance, nullptr);
        SendMessageW(controls.buttons[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    controls.status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                      hwnd, nullptr, instance, nullptr);
    SendMessageW(controls.status, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    int edges[kParts] = {120, 240, 360, 480, -1};
    SendMessageW(controls.status, SB_SETPARTS, kParts, reinterpret_cast<LPARAM>(edges));
    static const wchar_t* const kPanels[kParts] = {
        L"User: ROOT ", L"Settings: shared ", L"Autostart: no ", L"Functions: complete ", L"Ready"};
    for (int p = 0; p < kParts; ++p)
        SendMessageW(controls.status, SB_SETTEXTW, p, reinterpret_cast<LPARAM>(kPanels[p]));
}

// List on the left, the buttons in a column on the right, status bar below.
void Arrange(HWND hwnd, const Controls& controls) {
    RECT client;
    GetClientRect(hwnd, &client);
    SendMessageW(controls.status, WM_SIZE, 0, 0);
    RECT status;
    GetWindowRect(controls.status, &status);
    const int statusHeight = status.bottom - status.top;
    const int buttonWidth = 110;
    const int height = client.bottom - statusHeight;
    MoveWindow(controls.list, 4, 4, client.right - buttonWidth - 12, height - 8, TRUE);
    for (int i = 0; i < kButtons; ++i)
        MoveWindow(controls.buttons[i], client.right - buttonWidth - 4, 4 + i * 30, buttonWidth, 26,
                   TRUE);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* controls = reinterpret_cast<Controls*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE: {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_CREATE:
            if (controls) Create(hwnd, *controls);
            return 0;
        case WM_SIZE:
            if (controls && controls->status) Arrange(hwnd, *controls);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);

    Controls controls;
    HWND hwnd = CreateWindowExW(
        WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kClassName, L"Bare window",
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT,
        CW_USEDEFAULT, 600, 500, nullptr, nullptr, instance, &controls);
    if (!hwnd) return 1;
    // Laid out while still hidden, as a careful program does: moving the
    // controls of a shown window repaints each of them.
    Arrange(hwnd, controls);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    SetForegroundWindow(hwnd);
    SetFocus(controls.list);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
