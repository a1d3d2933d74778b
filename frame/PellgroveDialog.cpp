// Borderless page whose face is one bitmap: sized to it, centred on its parent, dragged by any
// point, its transparent static texts drawn on the picture by the page itself.
#include "frame/PellgroveDialog.h"
#include "afx/BitmapResource.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CPellgroveDialog, afx::CDialog)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_WM_NCHITTEST()
    ON_WM_MOVE()
END_MESSAGE_MAP()

CPellgroveDialog::CPellgroveDialog(UINT templateId, HWND parent, int fontHeight)
    : afx::CDialog(templateId, parent), m_font(fontHeight)
{
    SetBackground(0);
    ApplySkin();
}

CPellgroveDialog::~CPellgroveDialog() = default;

int CPellgroveDialog::TakeBackground(HBITMAP bitmap)
{
    if (!m_background.Attach(bitmap))
        return 0;
    if (!m_background.GetBitmap(m_bmBackground)) {
        m_background.DeleteObject();
        m_bmBackground = BITMAP{};
        return 0;
    }
    return 1;
}

int CPellgroveDialog::SetBackground(UINT id)
{
    m_bSkinned = 0;
    m_background.DeleteObject();
    m_bmBackground = BITMAP{};
    if (id == 0)
        return 1;
    return TakeBackground(afx::LoadBitmapResource(id));
}

BOOL CPellgroveDialog::LoadBackground(const wchar_t* fileName)
{
    m_bSkinned = 0;
    m_background.DeleteObject();
    m_bmBackground = BITMAP{};
    if (!fileName || !*fileName)
        return TRUE;
    HANDLE image = ::LoadImageW(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    return TakeBackground(static_cast<HBITMAP>(image)) ? TRUE : FALSE;
}

BOOL CALLBACK CPellgroveDialog::CollectChildProc(HWND window, LPARAM children)
{
    if (!window)
        return FALSE;
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(window);
    return TRUE;
}

void CPellgroveDialog::ApplySkin()
{
    m_bSkinned = 0;
    if (m_bmBackground.bmWidth == 0 || m_bmBackground.bmHeight == 0 || !m_hWnd)
        return;

    // No caption, no border, no modal frame: the picture is the whole window.
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, GetStyle() & LONG_PTR(0xFF3FFFFF));
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, GetExStyle() & ~LONG_PTR(WS_EX_DLGMODALFRAME));

    const int w = m_bmBackground.bmWidth, h = m_bmBackground.bmHeight;
    int x = 0, y = 0;
    if (HWND parent = GetParent()) {
        RECT pr{};
        ::GetWindowRect(parent, &pr);
        x = pr.left + ((pr.right - pr.left) / 2 - w / 2);
        y = pr.top + ((pr.bottom - pr.top) / 2 - h / 2);
    }
    // The frame change makes the system recompute the client area without the border.
    SetWindowPos(nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);

    m_children.clear();
    ::EnumChildWindows(m_hWnd, CollectChildProc, reinterpret_cast<LPARAM>(&m_children));

    for (HWND label : m_labels)
        ::ShowWindow(label, SW_SHOW);
    m_labels.clear();

    for (HWND child : m_children) {
        HWND control = GetDlgItem(UINT(::GetDlgCtrlID(child)));
        if (!control)
            continue;
        LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
        LONG_PTR exStyle = ::GetWindowLongPtrW(control, GWL_EXSTYLE);
        if (!(exStyle & WS_EX_TRANSPARENT) || !(style & 0x10000100))
            continue;
        // Several controls may share an id; the first one is collected once, so its text is
        // drawn once.
        if (std::find(m_labels.begin(), m_labels.end(), control) != m_labels.end())
            continue;
        ::ShowWindow(control, SW_HIDE);
        m_labels.push_back(control);
    }

    m_crBackground = RGB(255, 255, 255);
    m_brush.CreateSolidBrush(m_crBackground);
    const int sum = GetRValue(m_crBackground) + GetGValue(m_crBackground) + GetBValue(m_crBackground);
    m_crText = sum > 256 ? RGB(0, 0, 0) : RGB(255, 255, 255);
    m_bSkinned = 1;
}

bool CPellgroveDialog::OnInitDialog()
{
    afx::CDialog::OnInitDialog();
    ApplySkin();
    return true;
}

RECT CPellgroveDialog::LabelRect(HWND label) const
{
    RECT r{};
    ::GetWindowRect(label, &r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

static std::wstring LabelText(HWND label)
{
    afx::CWnd w(label);
    std::wstring text = w.GetWindowText();
    w.Detach();
    return text;
}

void CPellgroveDialog::InvalidateLabels()
{
    for (HWND label : m_labels) {
        ::OutputDebugStringW((LabelText(label) + L"\n").c_str());
        RECT r = LabelRect(label);
        ::InvalidateRect(m_hWnd, &r, TRUE);
    }
}

void CPellgroveDialog::OnPaint()
{
    afx::CPaintDC dc(m_hWnd);
    if (!m_bSkinned)
        return;
    afx::CMemoryDC mem(dc);
    {
        afx::CSelectObject picture(mem, m_background);
        ::BitBlt(dc, 0, 0, m_bmBackground.bmWidth, m_bmBackground.bmHeight, mem, 0, 0, SRCCOPY);
    }
    for (HWND label : m_labels) {
        std::wstring text = LabelText(label);
        LONG_PTR style = ::GetWindowLongPtrW(label, GWL_STYLE);
        UINT format = UINT(style & 3);  // SS_LEFT, SS_CENTER, SS_RIGHT match DT_LEFT, DT_CENTER, DT_RIGHT
        if (style & SS_CENTERIMAGE)
            format |= DT_VCENTER;
        RECT r = LabelRect(label);
        ::OutputDebugStringW((text + L"\n").c_str());
        int oldMode = ::SetBkMode(dc, TRANSPARENT);
        afx::CSelectObject font(dc, m_font);
        ::DrawTextW(dc, text.c_str(), int(text.size()), &r, format);
        ::SetBkMode(dc, oldMode);
    }
}

HBRUSH CPellgroveDialog::OnCtlColor(HDC dc, HWND, UINT)
{
    HBRUSH standard = reinterpret_cast<HBRUSH>(Default());
    if (!m_bSkinned)
        return standard;
    ::SetBkColor(dc, m_crBackground);
    ::SetTextColor(dc, m_crText);
    return m_brush;
}

LRESULT CPellgroveDialog::OnNcHitTest(POINT)
{
    LRESULT hit = Default();
    // Pressing anywhere on the picture drags the page.
    if (m_bSkinned && hit == HTCLIENT)
        hit = HTCAPTION;
    return hit;
}

void CPellgroveDialog::OnMove(int, int)
{
    Default();
    if (!m_bTrackingSuspended && m_pTrackedRect)
        *m_pTrackedRect = GetWindowRect();
}
