#include "config/win32/frm_konfig.h"

#include <algorithm>
#include <string>
#include <vector>

#include "config/config.h"
#include "platform/win32/handles.h"
#include "platform/win32/window.h"
#include "program.h"

namespace kelvra {

namespace {

// Layout in dialog units, which scale with the font and the DPI. Every page
// is one column of frames, so a caption longer than planned only makes the
// window wider (FitWidth), never overlaps a neighbour.
constexpr short kWidth = 256;
constexpr short kHeight = 284;
constexpr short kMargin = 7;
constexpr short kPageLeft = 15;  // inside the tab control
constexpr short kPageTop = 26;   // below the tab row
constexpr short kPageWidth = kWidth - 2 * kPageLeft;
constexpr short kRow = 12;  // check-box pitch
constexpr short kBoxHeight = 10;
constexpr short kFrameTop = 12;  // from a frame's top to its first row
constexpr short kFrameBottom = 4;
constexpr short kFrameGap = 4;
constexpr short kIndent = 8;
constexpr short kComboHeight = 120;  // with its list dropped down

short FrameHeight(int rows) {
    return static_cast<short>(kFrameTop + rows * kRow + kFrameBottom);
}

int BoxId(CheckBox box) {
    return kConfigCheckBoxId + static_cast<int>(box);
}
int FrameId(Frame frame) {
    return kConfigFrameId + static_cast<int>(frame);
}

// The dialog template: frames before the boxes they hold, in page order,
// which is also the order Tab walks.
class Layout {
  public:
    Layout()
        : dialog_(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kWidth, kHeight,
                  kFrameCount + kCheckBoxCount + 1) {
        short y = kPageTop;
        y = FrameOfBoxes(Frame::Ulayout, kPageLeft, y, kPageWidth, CheckBox::AllowResize, 8);
        y = FrameOfBoxes(Frame::Uother, kPageLeft, y + kFrameGap, kPageWidth, CheckBox::LastPos, 6);
        y += kFrameGap;
        Item(win32::kButtonClass, FrameId(Frame::Lang), BS_GROUPBOX, kPageLeft, y, kPageWidth,
             FrameHeight(1) + 3);
        Item(win32::kComboBoxClass, kConfigLanguageBoxId,
             CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kPageLeft + kIndent, y + kFrameTop,
             kPageWidth - 2 * kIndent, kComboHeight);

        y = DrivesFrame(Frame::UDrivesGUI, kPageTop, Frame::Usubst, CheckBox::Substperm,
                        Frame::Unet, CheckBox::Netperm, CheckBox::ShowWarnings, 2);
        DrivesFrame(Frame::UDrivesSCE, y + kFrameGap, Frame::UsubstSCE, CheckBox::SubstpermSCE,
                    Frame::UnetSCE, CheckBox::NetpermSCE, CheckBox::ShowWarningsSCE, 1);

        FrameOfBoxes(Frame::GSCE, kPageLeft, kPageTop, kPageWidth, CheckBox::Shellcontext, 1);
    }
    const win32::DialogTemplate& Get() const { return dialog_; }

  private:
    void Item(WORD cls, int id, DWORD style, int x, int y, int cx, int cy) {
        dialog_.Item(cls, static_cast<WORD>(id), style, static_cast<short>(x),
                     static_cast<short>(y), static_cast<short>(cx), static_cast<short>(cy));
    }
    void Box(CheckBox box, int x, int y, int cx) {
        // The three-state box cycles on its own rules (OnCommand): the
        // system's automatic cycle would go through grey.
        // The logon task's box shows a tick only once the task is there.
        const DWORD kind = Info(box).threeState                  ? BS_3STATE
                           : box == CheckBox::PermautostartAdmin ? BS_CHECKBOX
                                                                 : BS_AUTOCHECKBOX;
        const DWORD style = kind | WS_TABSTOP;
        Item(win32::kButtonClass, BoxId(box), style, x, y, cx, kBoxHeight);
    }
    // A frame with `count` boxes from `first` on; returns its bottom.
    short FrameOfBoxes(Frame frame, short x, short y, short cx, CheckBox first, int count) {
        Item(win32::kButtonClass, FrameId(frame), BS_GROUPBOX, x, y, cx, FrameHeight(count));
        for (int i = 0; i < count; ++i)
            Box(static_cast<CheckBox>(static_cast<int>(first) + i), x + kIndent,
                y + kFrameTop + i * kRow, cx - 2 * kIndent);
        return static_cast<short>(y + FrameHeight(count));
    }
    // A drives frame: the subst and network frames of two boxes each, then
    // `below` boxes from the warnings box on. Returns its bottom.
    short DrivesFrame(Frame outer, short y, Frame subst, CheckBox substFirst, Frame net,
                      CheckBox netFirst, CheckBox warnings, int below) {
        const short innerHeight = FrameHeight(2);
        const short height =
            kFrameTop + 2 * innerHeight + 2 * kFrameGap + below * kRow + kFrameBottom - 2;
        Item(win32::kButtonClass, FrameId(outer), BS_GROUPBOX, kPageLeft, y, kPageWidth, height);
        const short x = kPageLeft + kIndent;
        const short cx = kPageWidth - 2 * kIndent;
        short inner = FrameOfBoxes(subst, x, y + kFrameTop, cx, substFirst, 2);
        inner = FrameOfBoxes(net, x, inner + kFrameGap, cx, netFirst, 2);
        for (int i = 0; i < below; ++i)
            Box(static_cast<CheckBox>(static_cast<int>(warnings) + i), x,
                inner + kFrameGap + i * kRow, cx);
        return static_cast<short>(y + height);
    }

    win32::DialogTemplate dialog_;
};

struct Control {
    HWND hwnd = nullptr;
    int tab = 0;        // 0: on every page (the tab control)
    RECT base{};        // as laid out at creation, client coordinates
    int baseWidth = 0;  // at the current DPI, before FitWidth widens it
};

// A combo box's height as set, with its list dropped down; the window
// rectangle has only the closed part.
int FullHeight(HWND control) {
    RECT r;
    if (!(GetDlgCtrlID(control) == kConfigLanguageBoxId &&
          SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r))))
        GetWindowRect(control, &r);
    return r.bottom - r.top;
}

class FrmKonfig : public ConfigView, public win32::Dialog<FrmKonfig> {
  public:
    explicit FrmKonfig(Program& program) : program_(program), form_(program, *this) {}
    ~FrmKonfig() override { Destroy(); }  // before the font it uses goes

    void RunModal(HWND owner);

    // ConfigView
    void ShowTexts(const ConfigTexts& texts) override;
    void ShowLanguages(const LanguageList& list) override;
    void ShowCheckStates(const CheckStates& states) override;
    void ShowTab(int tab) override;

  private:
    friend class win32::Dialog<FrmKonfig>;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Out of memory while building a text: the window stays as it is.
    void OnFailure() {}
    bool OnInitDialog();
    void OnCommand(int id, int code);
    // Ctrl+Tab and Ctrl+Shift+Tab switch pages, also while a control of a
    // page has the focus. True when the key was taken.
    bool OnKey(const MSG& msg);
    void FitWidth();
    // Moved to a monitor of another DPI: the font, every control (the tab
    // control too, which is no part of the template) and the window scaled.
    void OnDpiChanged(int dpi, const RECT* suggested);
    int Scaled(int pixels) const { return MulDiv(pixels, dpi_, createdDpi_); }

    Program& program_;
    ConfigForm form_;
    HWND tabs_ = nullptr;  // TabStrip1
    std::vector<Control> controls_;
    int baseWindowWidth_ = 0;
    bool closed_ = false;
    int createdDpi_ = 96;  // the DPI the dialog manager laid the template out at
    int dpi_ = 96;
    SIZE baseClient_{};
    int baseIndent_ = 0;            // kIndent in pixels at createdDpi_
    HFONT templateFont_ = nullptr;  // the dialog manager's, at createdDpi_
    HFONT font_ = nullptr;          // in use
    win32::UniqueFont ownFont_;     // made for another DPI
};

INT_PTR FrmKonfig::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            if (!OnInitDialog()) closed_ = true;
            return FALSE;  // the focus is set
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE)
                form_.TabClick(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)) + 1);
            return TRUE;
        }
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_CLOSE:
            // Destroyed by RunModal once the owner is enabled again, so the
            // activation goes back to the owner.
            closed_ = true;
            return TRUE;
        case WM_NCDESTROY:
            // Also when the owner goes first and takes this window with it.
            closed_ = true;
            return FALSE;
        default:
            return FALSE;
    }
}

bool FrmKonfig::OnInitDialog() {
    win32::OwnDialogDpiScaling(hwnd_);
    createdDpi_ = dpi_ = win32::WindowDpi(hwnd_);
    templateFont_ = font_ = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    RECT area = {kMargin, kMargin, kWidth - kMargin, kHeight - kMargin};
    MapDialogRect(hwnd_, &area);
    tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, area.left,
                            area.top, area.right - area.left, area.bottom - area.top, hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kConfigTabsId)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!tabs_) return false;
    SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    for (int i = 0; i < kTabCount; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    // Below the pages' controls, so that it does not paint over them.
    SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    auto add = [this](HWND control, int tab) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        r.bottom = r.top + FullHeight(control);
        controls_.push_back(Control{control, tab, r, r.right - r.left});
    };
    add(tabs_, 0);
    for (const FrameInfo& info : Frames()) add(GetDlgItem(hwnd_, FrameId(info.frame)), info.tab);
    for (const CheckBoxInfo& info : CheckBoxes())
        add(GetDlgItem(hwnd_, BoxId(info.box)), TabOf(info.box));
    add(GetDlgItem(hwnd_, kConfigLanguageBoxId), 1);
    RECT window;
    GetWindowRect(hwnd_, &window);
    baseWindowWidth_ = window.right - window.left;
    RECT client;
    GetClientRect(hwnd_, &client);
    baseClient_ = {client.right, client.bottom};
    RECT unit = {0, 0, kIndent, 0};  // the room a frame leaves on either side
    MapDialogRect(hwnd_, &unit);
    baseIndent_ = unit.right;

    form_.Load();
    SetFocus(GetDlgItem(hwnd_, BoxId(CheckBox::AllowResize)));
    return true;
}

void FrmKonfig::OnCommand(int id, int code) {
    if (id == IDCANCEL) {
        closed_ = true;
        return;
    }
    if (id >= kConfigCheckBoxId && id < kConfigCheckBoxId + kCheckBoxCount && code == BN_CLICKED) {
        const CheckBox box = static_cast<CheckBox>(id - kConfigCheckBoxId);
        int value = static_cast<int>(IsDlgButtonChecked(hwnd_, id));
        if (Info(box).threeState) {
            value = NextThreeStateValue(value);
            CheckDlgButton(hwnd_, id, static_cast<UINT>(value));
        } else if (box == CheckBox::PermautostartAdmin) {
            value = value == kChecked ? kUnchecked : kChecked;
        }
        form_.CheckBoxClick(box, value);
        return;
    }
    if (id == kConfigLanguageBoxId && code == CBN_SELCHANGE) {
        const auto index = SendDlgItemMessageW(hwnd_, id, CB_GETCURSEL, 0, 0);
        form_.LanguageClick(static_cast<int>(index));
    }
}

void FrmKonfig::ShowTexts(const ConfigTexts& texts) {
    SetWindowTextW(hwnd_, texts.title.c_str());
    for (int i = 0; i < kTabCount; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(texts.tabs[i].c_str());
        SendMessageW(tabs_, TCM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    for (int i = 0; i < kFrameCount; ++i)
        SetDlgItemTextW(hwnd_, kConfigFrameId + i, texts.frames[i].c_str());
    for (int i = 0; i < kCheckBoxCount; ++i)
        SetDlgItemTextW(hwnd_, kConfigCheckBoxId + i, texts.boxes[i].c_str());
    FitWidth();
}

void FrmKonfig::ShowLanguages(const LanguageList& list) {
    HWND box = GetDlgItem(hwnd_, kConfigLanguageBoxId);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const std::string& name : list.names)
        SendMessageW(box, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(program_.os.AnsiToWide(name).c_str()));
    SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(list.selected), 0);
    EnableWindow(box, list.enabled);
}

void FrmKonfig::ShowCheckStates(const CheckStates& states) {
    for (int i = 0; i < kCheckBoxCount; ++i) {
        HWND box = GetDlgItem(hwnd_, kConfigCheckBoxId + i);
        SendMessageW(box, BM_SETCHECK, static_cast<WPARAM>(states[i].value), 0);
        EnableWindow(box, states[i].enabled);
    }
}

void FrmKonfig::ShowTab(int tab) {
    SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(tab - 1), 0);
    HWND focus = GetFocus();
    for (const Control& c : controls_)
        if (c.tab != 0) ShowWindow(c.hwnd, c.tab == tab ? SW_SHOWNA : SW_HIDE);
    // A control that went with its page leaves the keyboard nowhere.
    if (focus && IsChild(hwnd_, focus) && !IsWindowVisible(focus)) SetFocus(tabs_);
    // Frames do not paint their inside, and the tab control leaves out what
    // lies under its siblings: without this, lines of the previous page's
    // frames stay visible inside the new page's frames.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Widens the window and every control in one go when a caption (a long
// translation, a large font) needs more room than the layout planned.
void FrmKonfig::FitWidth() {
    const win32::WindowDc dc(hwnd_);
    if (!dc) return;
    const win32::Selected font(dc.get(), font_);
    auto textWidth = [&dc](HWND control) {
        RECT r = {0, 0, 0, 0};
        DrawTextW(dc.get(), win32::WindowText(control).c_str(), -1, &r,
                  DT_CALCRECT | DT_SINGLELINE);
        return static_cast<int>(r.right - r.left);
    };
    const int indent = Scaled(baseIndent_);
    // The system's metrics are for the system DPI.
    const int checkRoom =
        MulDiv(GetSystemMetrics(SM_CXMENUCHECK), dpi_, win32::SystemDpi()) + indent;
    int excess = 0;
    for (const Control& c : controls_) {
        if (c.tab == 0 || c.hwnd == GetDlgItem(hwnd_, kConfigLanguageBoxId)) continue;
        const bool frame = (GetWindowLongW(c.hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        const int needed = textWidth(c.hwnd) + (frame ? 2 * indent : checkRoom);
        excess = std::max(excess, needed - c.baseWidth);
    }
    RECT lastTab;
    if (SendMessageW(tabs_, TCM_GETITEMRECT, kTabCount - 1, reinterpret_cast<LPARAM>(&lastTab)))
        excess = std::max<int>(excess, lastTab.right + indent - controls_.front().baseWidth);

    for (const Control& c : controls_)
        SetWindowPos(c.hwnd, nullptr, 0, 0, c.baseWidth + excess, FullHeight(c.hwnd),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT window;
    GetWindowRect(hwnd_, &window);
    // Grown to the right, but not off the screen (a language switch while
    // the window is open).
    const int width = baseWindowWidth_ + excess;
    const RECT work = win32::WorkArea(hwnd_);
    const int x = std::max<int>(work.left, std::min<int>(window.left, work.right - width));
    SetWindowPos(hwnd_, nullptr, x, window.top, width, window.bottom - window.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void FrmKonfig::OnDpiChanged(int dpi, const RECT* suggested) {
    if (dpi <= 0 || !tabs_) return;
    dpi_ = dpi;
    HFONT font = templateFont_;
    LOGFONTW logFont = {};
    if (dpi_ != createdDpi_ && templateFont_ &&
        GetObjectW(templateFont_, sizeof logFont, &logFont) == sizeof logFont) {
        logFont.lfHeight = Scaled(logFont.lfHeight);
        if (HFONT made = CreateFontIndirectW(&logFont)) font = made;
    }
    if (font && font != font_) {
        for (const Control& c : controls_)
            SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        ownFont_.Reset(font == templateFont_ ? nullptr : font);
        font_ = font;
    }
    // From the layout at creation, so that going back and forth does not
    // add up rounding.
    for (Control& c : controls_) {
        const int left = Scaled(c.base.left), top = Scaled(c.base.top);
        c.baseWidth = Scaled(c.base.right) - left;
        SetWindowPos(c.hwnd, nullptr, left, top, c.baseWidth, Scaled(c.base.bottom) - top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const RECT frame = win32::FrameForClient(
        Scaled(baseClient_.cx), Scaled(baseClient_.cy),
        static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
        static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), false, dpi_);
    baseWindowWidth_ = frame.right - frame.left;
    RECT window;
    GetWindowRect(hwnd_, &window);
    const POINT at =
        suggested ? POINT{suggested->left, suggested->top} : POINT{window.left, window.top};
    SetWindowPos(hwnd_, nullptr, at.x, at.y, baseWindowWidth_, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitWidth();  // the captions at the new font
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool FrmKonfig::OnKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !hwnd_) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    if (GetKeyState(VK_CONTROL) >= 0) return false;
    form_.NextTab(GetKeyState(VK_SHIFT) < 0);
    return true;
}

void FrmKonfig::RunModal(HWND owner) {
    const Layout layout;
    if (!Create(layout.Get(), owner) || !hwnd_) return;
    if (closed_) return;  // half built: destroyed unseen, nothing saved
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    win32::PlaceOver(hwnd_, owner, frame.right - frame.left, frame.bottom - frame.top);
    {
        const UiOwnerScope boxes(program_.ui, reinterpret_cast<std::uintptr_t>(hwnd_));
        const win32::ModalScope modal(hwnd_, owner);
        win32::RunModalLoop(closed_, [this](MSG& msg) {
            return OnKey(msg) || (hwnd_ && IsDialogMessageW(hwnd_, &msg));
        });
        form_.Unload();
    }
    Destroy();
}

}  // namespace

void ShowConfigWindow(HWND owner, Program& program) {
    try {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
        InitCommonControlsEx(&controls);
        FrmKonfig window(program);
        window.RunModal(owner);
    } catch (...) {
        // Out of memory while building the window: nothing is shown or saved.
    }
}

}  // namespace kelvra
