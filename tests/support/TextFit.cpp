// Texts that a dialog would not show whole, measured the way the system and the skinned pages
// draw them.
#include "tests/support/TextFit.h"
#include "afx/Gdi.h"
#include "tests/support/ProgramRun.h"
#include <algorithm>

namespace {

// A text the dialog shows, or a window that covers what lies under it.
struct Shown {
    HWND window = nullptr;
    std::wstring text;
    RECT area{};  // what it paints over, in the dialog's client coordinates
    RECT ink{};   // where its text lies (empty without one)
};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

std::string Utf8(const std::wstring& text)
{
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Name(const Shown& s)
{
    std::string name = std::to_string(::GetDlgCtrlID(s.window));
    return s.text.empty() ? name : name + " \"" + Utf8(s.text) + "\"";
}

RECT WindowRectIn(HWND dialog, HWND window)
{
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The size of a text drawn with `font` and a DrawText format, wrapped at `width` where the
// format wraps.
SIZE Measure(HDC dc, HFONT font, const std::wstring& text, UINT format, int width)
{
    afx::CSelectObject selected(dc, font);
    RECT r{0, 0, width, 0};
    // Measured from the top: the vertical alignment would move the box by half the height.
    ::DrawTextW(dc, text.c_str(), int(text.size()), &r, (format & ~UINT(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// Where the letters of a text lie, relative to a box of `size`, when it is drawn into that box on
// a monochrome bitmap: as the system draws a disabled button's text. Empty when nothing is inked.
RECT MonochromeInk(HDC like, HFONT font, const std::wstring& text, UINT format, SIZE size)
{
    const int mx = 8 + size.cx / 4, my = 8 + size.cy;  // room for letters that run past the box
    const int w = size.cx + 2 * mx, h = size.cy + 2 * my;
    afx::CMemoryDC dc(like);
    afx::CBitmap mask;
    mask.Attach(::CreateBitmap(w, h, 1, 1, nullptr));
    {
        afx::CSelectObject bitmap(dc, mask), selected(dc, font);
        ::PatBlt(dc, 0, 0, w, h, WHITENESS);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        RECT box{mx, my, mx + size.cx, my + size.cy};
        ::DrawTextW(dc, text.c_str(), int(text.size()), &box, format | DT_NOCLIP);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(size_t(w) * size_t(h));
    ::GetDIBits(dc, mask, 0, UINT(h), pixels.data(), &info, DIB_RGB_COLORS);
    RECT ink{w, h, 0, 0};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((pixels[size_t(y) * size_t(w) + size_t(x)] & 0xFFFFFF) == 0) {
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
            }
    if (ink.right == 0)
        return RECT{};
    ::OffsetRect(&ink, -mx, -my);
    return ink;
}

// The measured text placed in its room as the format aligns it.
RECT Place(const RECT& room, SIZE size, UINT format)
{
    RECT r{room.left, room.top, room.left + size.cx, room.top + size.cy};
    if (format & DT_CENTER)
        ::OffsetRect(&r, (Width(room) - size.cx) / 2, 0);
    else if (format & DT_RIGHT)
        ::OffsetRect(&r, Width(room) - size.cx, 0);
    if (format & DT_VCENTER)
        ::OffsetRect(&r, 0, (Height(room) - size.cy) / 2);
    else if (format & DT_BOTTOM)
        ::OffsetRect(&r, 0, Height(room) - size.cy);
    return r;
}

// The DrawText format of a static's text; false for statics that show no text.
bool StaticFormat(LONG style, UINT& format)
{
    switch (style & SS_TYPEMASK) {
    case SS_LEFT: format = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS; break;
    case SS_CENTER: format = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS; break;
    case SS_RIGHT: format = DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS; break;
    case SS_SIMPLE: format = DT_SINGLELINE; break;
    case SS_LEFTNOWORDWRAP: format = DT_EXPANDTABS; break;
    default: return false;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        format = (format & ~UINT(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
    return true;
}

bool IsCheckOrRadio(LONG type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
           type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// The DrawText format of a button's text.
UINT ButtonFormat(LONG style, bool push)
{
    UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    switch (style & BS_CENTER) {
    case BS_LEFT: break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    case BS_CENTER: format |= DT_CENTER; break;
    default: format |= push ? DT_CENTER : 0;
    }
    switch (style & BS_VCENTER) {
    case BS_TOP: break;
    case BS_BOTTOM: format |= DT_BOTTOM; break;
    default: format |= DT_VCENTER;
    }
    return format;
}

// Where a control's text may go, in the control's client coordinates, and the format the
// system draws it with; false for a control that draws no text of its own (an owner-drawn
// button, a picture, a progress bar).
bool TextRoom(HDC dc, HWND control, HFONT font, RECT& room, UINT& format, bool& button)
{
    wchar_t kind[32] = {};
    ::GetClassNameW(control, kind, 32);
    const LONG style = LONG(::GetWindowLongPtrW(control, GWL_STYLE));
    ::GetClientRect(control, &room);
    button = _wcsicmp(kind, L"Button") == 0;
    if (!button)
        return _wcsicmp(kind, L"Static") == 0 && StaticFormat(style, format);
    if (style & (BS_BITMAP | BS_ICON))
        return false;
    const LONG type = (style & BS_PUSHLIKE) ? BS_PUSHBUTTON : style & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
        // The frame, and the focus rectangle inside it.
        ::InflateRect(&room, -3, -3);
        format = ButtonFormat(style, true);
        return true;
    }
    if (!IsCheckOrRadio(type))
        return false;
    // The box and a gap of half a digit's width go before the text (after it with BS_LEFTTEXT);
    // the text starts a pixel in, and its focus rectangle takes one more.
    int digit = 0;
    {
        afx::CSelectObject selected(dc, font);
        ::GetCharWidthW(dc, L'0', L'0', &digit);
    }
    const int box = 12 * ::GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1 + digit / 2;
    if ((style & BS_LEFTTEXT) || (::GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_RIGHT))
        room.right -= box;
    else
        room.left += box;
    ::InflateRect(&room, -1, 0);
    format = ButtonFormat(style, false);
    return true;
}

class Measurer {
public:
    explicit Measurer(HWND dialog) : m_dialog(dialog), m_dc(dialog)
    {
        ::GetClientRect(dialog, &m_client);
    }

    // A control the system draws: its text, if it has one, in the room the control gives it.
    void Control(HWND control)
    {
        Shown s;
        s.window = control;
        s.area = WindowRectIn(m_dialog, control);
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        if (!font)
            font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
        RECT room{};
        UINT format = 0;
        bool button = false;
        if (TextRoom(m_dc, control, font, room, format, button))
            s.text = WindowText(control);
        if (!s.text.empty()) {
            ::MapWindowPoints(control, m_dialog, reinterpret_cast<POINT*>(&room), 2);
            ::IntersectRect(&room, &room, &m_client);
            const SIZE size = Measure(m_dc, font, s.text, format, Width(room));
            s.ink = Place(room, size, format);
            if (size.cx > Width(room) || size.cy > Height(room))
                m_unfit.push_back(Name(s) + ": needs " + Size(size) + ", has " + Size(room));
            if (button && !::IsWindowEnabled(control)) {
                const RECT ink = MonochromeInk(m_dc, font, s.text, format, size);
                if (ink.left < 0 || ink.top < 0 || ink.right > size.cx || ink.bottom > size.cy)
                    m_unfit.push_back(Name(s) + ": drawn disabled, its letters cover " + Span(ink) +
                                      " of a mask of " + Size(size));
            }
        }
        m_shown.push_back(s);
    }

    // A label the page draws itself into the label's rectangle, with its own font and the
    // label's alignment, without wrapping.
    void Label(HWND label, HFONT font)
    {
        Shown s;
        s.window = label;
        s.text = WindowText(label);
        if (s.text.empty())
            return;
        const LONG style = LONG(::GetWindowLongPtrW(label, GWL_STYLE));
        const UINT format = UINT(style & 3) | ((style & SS_CENTERIMAGE) ? DT_VCENTER : 0);
        RECT room = WindowRectIn(m_dialog, label);
        ::IntersectRect(&room, &room, &m_client);
        const SIZE size = Measure(m_dc, font, s.text, format, Width(room));
        s.ink = s.area = Place(room, size, format);
        if (size.cx > Width(room) || size.cy > Height(room))
            m_unfit.push_back(Name(s) + ": drawn by the page, needs " + Size(size) + ", has " + Size(room));
        m_shown.push_back(s);
    }

    // Texts that lie under another control or on another label's letters.
    std::vector<std::string> Result()
    {
        for (size_t i = 0; i < m_shown.size(); ++i)
            for (size_t j = i + 1; j < m_shown.size(); ++j) {
                const Shown &a = m_shown[i], &b = m_shown[j];
                RECT common{};
                if (::IntersectRect(&common, &a.ink, &b.area) || ::IntersectRect(&common, &b.ink, &a.area))
                    m_unfit.push_back(Name(a) + " and " + Name(b) + ": overlap at " + Span(common));
            }
        return m_unfit;
    }

private:
    static std::string Size(SIZE s) { return std::to_string(s.cx) + " x " + std::to_string(s.cy); }
    static std::string Size(const RECT& r) { return Size(SIZE{Width(r), Height(r)}); }
    static std::string Span(const RECT& r)
    {
        return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
               std::to_string(r.bottom) + ")";
    }

    HWND m_dialog;
    afx::CClientDC m_dc;
    RECT m_client{};
    std::vector<Shown> m_shown;
    std::vector<std::string> m_unfit;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM children)
{
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(window);
    return TRUE;
}

}  // namespace

std::vector<std::string> UnfitTexts(HWND dialog, const DrawnLabels& drawn)
{
    ::SendMessageW(dialog, WM_NULL, 0, 0);
    std::vector<HWND> children;
    ::EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    Measurer measure(dialog);
    for (HWND child : children)
        if (::GetParent(child) == dialog && ::IsWindowVisible(child))
            measure.Control(child);
    for (HWND label : drawn.labels)
        measure.Label(label, drawn.font);
    return measure.Result();
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}
