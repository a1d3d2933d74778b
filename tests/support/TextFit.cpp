// Texts of a dialog's buttons and statics that the screen would not show whole.
#include "tests/support/TextFit.h"
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

}  // namespace

std::vector<std::string> UnfitTexts(HWND dialog)
{
    std::vector<std::string> unfit;
    HDC dc = ::CreateCompatibleDC(nullptr);
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        ::GetClassNameW(c, kind, 16);
        std::wstring text = WindowText(c);
        const bool button = !_wcsicmp(kind, L"Button");
        if (!::IsWindowVisible(c) || text.empty() || (!button && _wcsicmp(kind, L"Static")))
            continue;
        text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(c, WM_GETFONT, 0, 0)));
        SIZE size = {};
        RECT client = {};
        ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
        ::GetClientRect(c, &client);
        // A static of the plain kinds wraps at words into the lines its height holds.
        const bool wraps = !button && (::GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) <= SS_RIGHT;
        RECT need = {0, 0, client.right, 0};
        ::DrawTextW(dc, text.c_str(), int(text.size()), &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        const std::string name = "control " + std::to_string(::GetDlgCtrlID(c));
        if (need.right > client.right || need.bottom > client.bottom)
            unfit.push_back(name + ": needs " + std::to_string(need.right) + " x " + std::to_string(need.bottom) +
                            " in " + std::to_string(client.right) + " x " + std::to_string(client.bottom));
        const LONG ink = button && !::IsWindowEnabled(c) ? InkRight(dc, text, size) : 0;
        if (ink > size.cx)
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
