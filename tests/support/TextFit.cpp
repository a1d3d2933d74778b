// Texts of a dialog's buttons and statics that the screen would not show whole.
#include "tests/support/TextFit.h"
#include "frame/PellgroveFont.h"
#include "tests/support/ProgramRun.h"
#include <algorithm>

namespace {

// The rightmost column the text inks, drawn black on a white monochrome bitmap with room to run.
LONG InkRight(HDC dc, const std::wstring& text, SIZE size)
{
    const int w = size.cx * 2 + 16, h = size.cy;
    HBITMAP mask = ::CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ old = ::SelectObject(dc, mask);
    ::PatBlt(dc, 0, 0, w, h, WHITENESS);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    ::TextOutW(dc, 0, 0, text.c_str(), int(text.size()));
    LONG right = 0;
    for (int x = w - 1; x >= 0 && !right; --x)
        for (int y = 0; y < h && !right; ++y)
            right = ::GetPixel(dc, x, y) == RGB(0, 0, 0) ? x + 1 : 0;
    ::SelectObject(dc, old);
    ::DeleteObject(mask);
    return right;
}

// The width a check box or radio button leaves its text: the box, half a digit of gap, and the
// pixel of the focus frame on each side.
LONG CheckTextRoom(HDC dc, LONG width)
{
    int digit = 0;
    ::GetCharWidthW(dc, L'0', L'0', &digit);
    return width - (12 * ::GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1 + digit / 2) - 2;
}

}  // namespace

std::vector<std::string> UnfitTexts(HWND dialog)
{
    std::vector<std::string> unfit;
    HDC dc = ::CreateCompatibleDC(nullptr);
    // A skinned page has no caption and draws its transparent labels itself, hidden, in its label
    // font, one line each, cut at the label's rectangle.
    const bool skinned = !(::GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION);
    const CPellgroveFont labelFont;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        ::GetClassNameW(c, kind, 16);
        std::wstring text = WindowText(c);
        const LONG style = ::GetWindowLongW(c, GWL_STYLE);
        // A picture button draws no text.
        const bool button = !_wcsicmp(kind, L"Button") && (style & BS_TYPEMASK) != BS_OWNERDRAW;
        const bool label = !button && skinned && (::GetWindowLongW(c, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
        if ((!::IsWindowVisible(c) && !label) || text.empty() || (!button && _wcsicmp(kind, L"Static")))
            continue;
        const bool drawn = label && !::IsWindowVisible(c);
        text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
        ::SelectObject(dc, drawn ? static_cast<HFONT>(labelFont) : reinterpret_cast<HFONT>(::SendMessageW(c, WM_GETFONT, 0, 0)));
        SIZE size = {};
        RECT client = {};
        ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
        ::GetClientRect(c, &client);
        const LONG type = style & BS_TYPEMASK;
        const bool pushed = button && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || (style & BS_PUSHLIKE));
        if (button && !pushed)
            client.right = CheckTextRoom(dc, client.right);
        // A static of the plain kinds wraps at words into the lines its height holds.
        const bool wraps = !button && !drawn && (style & SS_TYPEMASK) <= SS_RIGHT && !(style & SS_CENTERIMAGE);
        RECT need = {0, 0, client.right, 0};
        ::DrawTextW(dc, text.c_str(), int(text.size()), &need,
                    DT_CALCRECT | (wraps ? DT_WORDBREAK : drawn ? 0 : DT_SINGLELINE));
        const std::string name = "control " + std::to_string(::GetDlgCtrlID(c)) + (drawn ? " (drawn by the page)" : "");
        if (need.right > client.right || need.bottom > client.bottom) {
            unfit.push_back(name + ": needs " + std::to_string(need.right) + " x " + std::to_string(need.bottom) +
                            " in " + std::to_string(client.right) + " x " + std::to_string(client.bottom));
            continue;
        }
        if (need.bottom > size.cy)
            continue;
        // One line: its letters may ink past what it measures, and the control cuts them at its edge.
        const LONG ink = InkRight(dc, text, size);
        const LONG align = pushed ? 1 : button ? 0 : style & 3;  // left, centred, right
        const LONG left = align == 1 ? (client.right - size.cx) / 2 : align == 2 ? client.right - size.cx : 0;
        if (left + ink > client.right)
            unfit.push_back(name + ": its letters reach " + std::to_string(left + ink) + " of a room of " +
                            std::to_string(client.right));
        if (button && !::IsWindowEnabled(c) && ink > size.cx)
            unfit.push_back(name + ": drawn disabled, its letters reach " + std::to_string(ink) + " of a mask of " +
                            std::to_string(size.cx));
    }
    ::DeleteDC(dc);
    return unfit;
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}
