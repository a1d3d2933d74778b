// The network setter's main dialog: window start, painting, Close, Alt+V and the hand-over.
#include "netsetter/QuentariDlg.h"
#include "afx/BitmapResource.h"
#include "afx/ResourceLanguage.h"
#include "afx/WinApp.h"
#include "netsetter/QuentariRes.h"
#include "netsetter/VersionDlg.h"

namespace {

// The main dialog, for Alt+V while a modal dialog or a message box runs a loop of its own.
HWND g_hVersionTarget = nullptr;

LRESULT CALLBACK VersionKeyFilter(int code, WPARAM wp, LPARAM lp)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lp);
    if (code >= 0 && msg && msg->message == WM_SYSKEYDOWN && msg->wParam == 'V' && g_hVersionTarget) {
        ::PostMessageW(g_hVersionTarget, WM_QT_VERSION, 0, 0);
        return 1;
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

BEGIN_MESSAGE_MAP(CQuentariDlg, afx::CDialog)
    ON_MESSAGE(WM_QT_SHOW_WINDOW, OnShowWindowRequest)
    ON_WM_PAINT()
    if (msg == WM_QUERYDRAGICON) { lResult = reinterpret_cast<LRESULT>(OnQueryDragIcon()); return true; }
    ON_BN_CLICKED(IDC_REFRESH, OnRefresh)
    ON_BN_CLICKED(IDC_CLOSE, OnCloseButton)
    ON_WM_CLOSE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_QT_CLEAR_CELL_MARKS, OnClearCellMarks)
    ON_MESSAGE(WM_QT_SETUP_RESULT, OnSetupResult)
    ON_MESSAGE(WM_QT_LOGIN_RESULT, OnLoginResult)
    ON_MESSAGE(WM_QT_WEB_CELL_PRESSED, OnWebCellPressed)
    ON_MESSAGE(WM_QT_SETTING_CELL_PRESSED, OnSettingCellPressed)
    ON_MESSAGE(WM_QT_SETTING_CLICK, OnSettingClick)
    ON_MESSAGE(WM_QT_OPEN_WEB_PAGE, OnOpenWebPage)
    ON_MESSAGE(WM_QT_START_SEARCH, OnStartSearch)
    ON_MESSAGE(WM_QT_SEARCH_DONE, OnSearchDone)
    ON_MESSAGE(WM_QT_DEVICE_REPLY, OnDeviceReply)
    ON_MESSAGE(WM_QT_CLOSE_REQUEST, OnCloseRequest)
    ON_MESSAGE(WM_QT_VERSION, OnVersion)
    ON_MESSAGE(WM_QT_SEND_ERROR, OnSendError)
    ON_MESSAGE(WM_QT_ADVANCED_DATA_REPLY, OnAdvancedDataReply)
    ON_MESSAGE(WM_QT_LOGIN_CONTINUE, OnLoginContinue)
    ON_MESSAGE(WM_QT_MODES_DONE, OnModesDone)
    ON_MESSAGE(WM_QT_CLOCK_SET, OnClockSet)
    ON_MESSAGE(WM_QT_CLOCK_TIMEOUT, OnClockTimeout)
END_MESSAGE_MAP()

CQuentariDlg::CQuentariDlg() : afx::CDialog(IDD_QUENTARI), m_list(kQuentariListResources, this)
{
    m_hReadyEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

CQuentariDlg::~CQuentariDlg()
{
    if (m_hVersionHook)
        UnhookWindowsHookEx(m_hVersionHook);
    g_hVersionTarget = nullptr;
    StopThreads();
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    if (m_hReadyEvent)
        CloseHandle(m_hReadyEvent);
    for (HICON i : {m_hIcon, m_hSmallIcon})
        if (i)
            DestroyIcon(i);
    if (m_hImages)
        ImageList_Destroy(m_hImages);
}

bool CQuentariDlg::OnInitDialog()
{
    afx::CDialog::OnInitDialog();
    HINSTANCE module = GetModuleHandleW(nullptr);
    m_hIcon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_QUENTARI), IMAGE_ICON, 32, 32, 0));
    m_hSmallIcon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_QUENTARI), IMAGE_ICON, 16, 16, 0));
    SetIcon(m_hIcon, true);
    SetIcon(m_hSmallIcon, false);
    SetWindowText(afx::LoadStr(IDS_TITLE));
    LayoutButtons();
    LayoutPicture();
    SetDlgItemText(IDC_LABEL_LIST, afx::LoadStr(IDS_LABEL_LIST));
    SetDlgItemText(IDC_LABEL_COUNT, afx::LoadStr(IDS_LABEL_COUNT));
    SetDlgItemText(IDC_LABEL_STATUS, afx::LoadStr(IDS_LABEL_STATUS));
    CreateDeviceList();
    SetTimer(1, 500);
    // The dialogs' and message boxes' own loops offer their messages to this filter.
    g_hVersionTarget = m_hWnd;
    m_hVersionHook = SetWindowsHookExW(WH_MSGFILTER, VersionKeyFilter, nullptr, GetCurrentThreadId());
    SetStatusText(IDS_INIT_DONE);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    PostMessage(WM_QT_START_SEARCH);
    return true;
}

void CQuentariDlg::LayoutButtons()
{
    // Width 93, right edge where the template's button ends.
    struct { CHoverButton& button; UINT id, normal, pressed, focused; } buttons[] = {
        {m_btnRefresh, IDC_REFRESH, IDB_REFRESH, IDB_REFRESH_DOWN, IDB_REFRESH_FOCUS},
        {m_btnClose, IDC_CLOSE, IDB_CLOSE, IDB_CLOSE_DOWN, IDB_CLOSE_FOCUS},
    };
    for (auto& b : buttons)
        b.button.ReplaceDlgItem(m_hWnd, b.id, b.normal, b.pressed, b.focused, b.normal, 93);
}

void CQuentariDlg::LayoutPicture()
{
    HWND pictureWnd = GetDlgItem(IDC_CAPTION_PICTURE);
    if (!pictureWnd || !m_bmpCaption.Attach(afx::LoadBitmapResource(IDB_CAPTION)))
        return;
    m_picture.Attach(pictureWnd);
    m_picture.SetBitmap(m_bmpCaption);
    // Right edge in line with the list's.
    RECT pic = m_picture.GetWindowRect(), list = pic;
    if (HWND l = GetDlgItem(IDC_DEVICE_LIST))
        ::GetWindowRect(l, &list);
    ScreenToClient(pic);
    ScreenToClient(list);
    m_picture.SetWindowPos(nullptr, list.right - (pic.right - pic.left), pic.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQuentariDlg::SetStatusText(UINT id)
{
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SetDlgItemText(IDC_STATUS_TEXT, afx::LoadStr(id));
    if (HWND status = GetDlgItem(IDC_STATUS_TEXT))
        ::ShowWindow(status, SW_SHOW);
}

void CQuentariDlg::OnPaint()
{
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    afx::CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(HDC(dc)));
    RECT rc = GetClientRect();
    int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (rc.right - cx + 1) / 2, (rc.bottom - cy + 1) / 2, m_hIcon);
}

bool CQuentariDlg::PreTranslateMessage(MSG& msg)
{
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == 'V') {
        PostMessage(WM_QT_VERSION);
        return true;
    }
    if (m_bBusy && (msg.message == WM_MOUSEMOVE || msg.message == WM_SETCURSOR))
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return false;
}

LRESULT CQuentariDlg::OnShowWindowRequest(WPARAM, LPARAM)
{
    ShowWindow(SW_SHOWNORMAL);
    RECT r = GetWindowRect();
    SetWindowPos(HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW);
    SetWindowPos(HWND_NOTOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW);
    SetForegroundWindow();
    return 0;
}

LRESULT CQuentariDlg::OnVersion(WPARAM, LPARAM)
{
    // One box at a time, however often Alt+V comes.
    if (m_bInVersion)
        return 0;
    m_bInVersion = true;
    // Over the dialog or message box that is active, so that it waits for the box too.
    HWND active = GetActiveWindow();
    CVersionDlg box(active ? active : m_hWnd);
    box.DoModal();
    m_bInVersion = false;
    return 0;
}

void CQuentariDlg::OnCloseButton()
{
    StopThreads();
    KillTimer(1);
    EndDialog(IDCANCEL);
}

void CQuentariDlg::OnClose()
{
    StopThreads();
    KillTimer(1);
    EndDialog(IDCANCEL);
}
