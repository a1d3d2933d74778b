// The finder's hidden main dialog: ping, search thread, buckets, device list, match and open.
#include "finder/ZevseekerDlg.h"
#include "afx/AddressText.h"
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"
#include "afx/WinApp.h"
#include "finder/CodePage.h"
#include "finder/LorrickApp.h"
#include "finder/LorrickRes.h"
#include "finder/Ping.h"
#include "finder/ShellOpen.h"
#include "finder/ZevMsgBox.h"
#include <cstdio>
#include <cstring>

namespace {
// Written only by the search thread; read by the dialog while the thread waits in a sent message.
ZevDeviceRecord g_zevTable[kZevTableSize];

std::wstring Wide(const std::string& s)
{
    if (s.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), &w[0], n);
    return w;
}
}  // namespace

// ---- search thread ----

bool CRcvThread::Start()
{
    return m_thread.Start([this] { return Run(); });
}

unsigned CRcvThread::Run()
{
    if (!m_pDlg || !m_tavik.IsLoaded())
        return unsigned(-1);
    HWND dlg = m_pDlg->m_hWnd;
    while (!m_thread.StopRequested()) {
        if (!m_bPoll) {
            Sleep(200);
            continue;
        }
        std::memset(g_zevTable, 0, sizeof(g_zevTable));
        uint16_t count = 0;
        int r = m_tavik.GetZevList(g_zevTable, &count);
        while (r == 1 && count == 0xFFFF && !m_thread.StopRequested()) {
            Sleep(100);
            r = m_tavik.GetZevList(g_zevTable, &count);
        }
        if (r == 1 && count != 0xFFFF && !m_thread.StopRequested()) {
            m_pDlg->m_bRecordsArrived = true;
            SendMessageW(dlg, CZevseekerDlg::kMsgRecords, 0, reinterpret_cast<LPARAM>(g_zevTable));
            PostMessageW(dlg, CZevseekerDlg::kMsgSearchDone, 0, 0);
        }
        m_bPoll = false;
    }
    return 0;
}

void CRcvThread::Stop()
{
    // A library call that has not returned by then never will; the program ends right after.
    m_thread.Stop(3000);
}

// ---- dialog ----

BEGIN_MESSAGE_MAP(CZevseekerDlg, afx::CDialog)
    ON_MESSAGE(kMsgStartSearch, OnStartSearch)
    ON_MESSAGE(kMsgRecords, OnRecords)
    ON_MESSAGE(kMsgSearchDone, OnSearchDone)
    ON_MESSAGE(kMsgShowDialog, OnShowDialog)
    ON_MESSAGE(ZevMsgBox::kMsgStopPressed, OnBoxStop)
    ON_MESSAGE(ZevMsgBox::kMsgBoxGone, OnBoxGone)
    ON_BN_CLICKED(IDC_REFRESH, OnRefresh)
    ON_BN_CLICKED(IDC_CLOSE, StopAndEnd)
    ON_WM_CLOSE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

static const ListCtrlExResources kFinderListResources = {IDB_LIST_BUTTON1, IDB_LIST_BUTTON1_HOT,
                                                         IDB_LIST_BUTTON2, IDB_LIST_BUTTON2_HOT,
                                                         IDC_LIST_HAND};

CZevseekerDlg::CZevseekerDlg(int mode, const char* target, const CTavikLoader& tavik)
    : afx::CDialog(IDD_ZEVSEEKER), m_tavik(tavik), m_nMode(mode), m_strTarget(target ? target : ""),
      m_list(kFinderListResources, this)
{
}

CZevseekerDlg::~CZevseekerDlg()
{
    StopThread();
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

bool CZevseekerDlg::PreTranslateMessage(MSG& msg)
{
    // While busy the finder shows the wait cursor over its windows.
    if (m_bBusy && msg.message == WM_MOUSEMOVE)
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    return false;
}

void CZevseekerDlg::EndWith(INT_PTR code)
{
    EndModalLoop(code);
    KillTimer(1);
}

void CZevseekerDlg::SetStatus(UINT id) { SetDlgItemText(IDC_STATUS_TEXT, afx::LoadStr(id)); }

bool CZevseekerDlg::OnInitDialog()
{
    afx::CDialog::OnInitDialog();
    const char* target = m_strTarget.c_str();
    if (PingHost(target, ResolverMutex()) == 0) {
        if (m_nMode == CPellgroveCommandLineInfo::kModeSetting) {
            OpenWebByName(m_hWnd, target);
            ExitProcess(0);
        }
        if (ShellSucceeded(OpenShare(m_hWnd, target)))
            ExitProcess(0);
    }

    HINSTANCE inst = GetModuleHandleW(nullptr);
    m_iconBig.Reset(static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(IDI_LORRICK), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    m_iconSmall.Reset(static_cast<HICON>(LoadImageW(inst, MAKEINTRESOURCEW(IDI_LORRICK), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    SetIcon(m_iconBig, true);
    SetIcon(m_iconSmall, false);
    SetWindowText(afx::LoadStr(IDS_TITLE));
    SetDlgItemText(IDC_LABEL_LIST, afx::LoadStr(IDS_LABEL_LIST));
    SetDlgItemText(IDC_LABEL_COUNT, afx::LoadStr(IDS_LABEL_COUNT));
    SetDlgItemText(IDC_LABEL_STATUS, afx::LoadStr(IDS_LABEL_STATUS));
    m_caption.Attach(static_cast<HBITMAP>(LoadImageW(inst, MAKEINTRESOURCEW(IDB_CAPTION), IMAGE_BITMAP, 0, 0, 0)));
    SendDlgItemMessage(IDC_CAPTION_BITMAP, STM_SETIMAGE, IMAGE_BITMAP,
                       reinterpret_cast<LPARAM>(m_caption.GetSafeHandle()));
    SetupList();

    SetTimer(1, 500);
    SetStatus(IDS_INIT_DONE);
    PostMessage(kMsgStartSearch);
    return true;
}

void CZevseekerDlg::SetupList()
{
    RECT r;
    // The image list is the dialog's own (it outlives the list window).
    m_list.CreateInPlaceOf(*this, IDC_DEVICE_LIST, WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT |
                           LVS_SINGLESEL | LVS_SORTASCENDING | LVS_SHAREIMAGELISTS, r);
    int w = (r.right - r.left) - 160;
    auto heading = [](UINT id) { return afx::LoadStr(id).substr(0, 31); };
    m_list.InsertColumn(0, heading(IDS_COLUMN_ADDRESS), LVCFMT_LEFT, w * 138 / 400);
    m_list.InsertColumn(1, heading(IDS_COLUMN_MAC), LVCFMT_LEFT, w * 116 / 400);
    m_list.InsertColumn(2, heading(IDS_COLUMN_NAME), LVCFMT_LEFT, w * 146 / 400);
    m_list.InsertColumn(3, heading(IDS_COLUMN_SETTING), LVCFMT_CENTER, 160);
    m_images.Reset(ImageList_Create(22, 22, ILC_COLOR24, 0, 22));
    if (m_images.IsValid()) {
        ImageList_SetBkColor(m_images, RGB(255, 255, 255));
        ImageList_AddIcon(m_images, LoadIconA(nullptr, IDI_QUESTION));
        m_list.SetImageList(m_images, LVSIL_SMALL);
    }
}

LRESULT CZevseekerDlg::OnStartSearch(WPARAM, LPARAM)
{
    if (!m_pMsgBox) {
        m_pMsgBox = new ZevMsgBox(m_hWnd);
        if (!m_pMsgBox->Create()) {
            delete m_pMsgBox;
            m_pMsgBox = nullptr;
        }
    } else {
        m_pMsgBox->SetActiveWindow();
    }
    m_bRecordsArrived = false;
    if (!m_pThread) {
        m_pThread = new CRcvThread(this, m_tavik);
        if (!m_pThread->Start()) {
            delete m_pThread;
            m_pThread = nullptr;
        }
        Sleep(1000);
    }
    m_buckets.Clear();
    m_list.DeleteAllItems();
    SetDlgItemText(IDC_DEVICE_COUNT, L"0");
    ::EnableWindow(GetDlgItem(IDC_REFRESH), FALSE);
    SetStatus(IDS_SEARCHING);
    if (m_pThread)
        m_pThread->m_bPoll = true;
    m_bBusy = true;
    return 0;
}

LRESULT CZevseekerDlg::OnRecords(WPARAM, LPARAM lParam)
{
    if (m_pMsgBox && m_pMsgBox->m_hWnd)
        m_pMsgBox->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    m_buckets.Merge(reinterpret_cast<const ZevDeviceRecord*>(lParam));
    return 0;
}

void CZevseekerDlg::StopThread()
{
    if (!m_pThread)
        return;
    m_pThread->Stop();
    delete m_pThread;
    m_pThread = nullptr;
}

LRESULT CZevseekerDlg::OnSearchDone(WPARAM, LPARAM)
{
    if (!ContinueModal())
        return 0;
    SetStatus(IDS_SEARCH_DONE);
    ::EnableWindow(GetDlgItem(IDC_REFRESH), TRUE);
    StopThread();
    // Done here, not at the next tick: a tick in between would restart a finished search.
    m_bBusy = false;
    m_bRecordsArrived = false;
    FillAndMatch();
    return 0;
}

void CZevseekerDlg::FillAndMatch()
{
    std::vector<DeviceEntry> entries = m_buckets.BuildEntryTable();
    for (size_t i = entries.size(); i-- > 0;) {
        const DeviceEntry& e = entries[i];
        int row = m_list.InsertItem(0, L"     " + Wide(e.ipText));
        if (row < 0)
            continue;
        m_list.SetItemText(row, 1, afx::FormatMacAddress(e.mac));
        m_list.SetItemText(row, 2, Wide(e.name));
        m_list.SetItemText(row, 3, L"");
    }
    // The target came through GetCommandLineA and names are shown through CP_ACP: both are in the
    // process's ANSI code page. The finder sets no thread locale, and the user's locale that the
    // thread keeps may have another code page than the system's.
    int match = FindMatch(entries, m_strTarget, CodePageLeadBytes(CP_ACP));
    if (match >= 0) {
        std::snprintf(m_szMatchAddress, sizeof(m_szMatchAddress), "%s", entries[match].ipText.c_str());
        m_nMatchAddress = entries[match].ip;
    }
    m_list.SetRowCount(int(entries.size()));
    m_list.SendMessage(CListCtrlEx::kMsgRecalcButtonArea);
    SetDlgItemText(IDC_DEVICE_COUNT, std::to_wstring(entries.size()));
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));

    if (match < 0) {
        NotAccessible();
        return;
    }
    INT_PTR r = m_nMode == CPellgroveCommandLineInfo::kModeSetting ? OpenWebByAddress(m_hWnd, m_nMatchAddress)
                                                                    : OpenShare(m_hWnd, m_szMatchAddress);
    if (!ShellSucceeded(r)) {
        NotAccessible();
        return;
    }
    EndWith(2);
}

void CZevseekerDlg::NotAccessible()
{
    afx::AfxMessageBox(IDS_NOT_ACCESSIBLE, MB_OK | MB_ICONERROR, m_hWnd);
    EndWith(2);
}

void CZevseekerDlg::OnTimer(UINT_PTR id)
{
    if (id != 1)
        return;
    if (!m_bBusy) {
        m_nTick = 0;
        return;
    }
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    if (m_bRecordsArrived) {
        m_bRecordsArrived = false;
        m_bBusy = false;
        return;
    }
    ++m_nTick;
    if (m_nTick > 10 && m_nTick % 10 == 0)
        OnStartSearch(0, 0);
    SetStatus(IDS_SEARCHING + UINT(m_nTick % 10));
}

LRESULT CZevseekerDlg::OnBoxGone(WPARAM, LPARAM box)
{
    if (reinterpret_cast<ZevMsgBox*>(box) == m_pMsgBox)
        m_pMsgBox = nullptr;
    return 0;
}

LRESULT CZevseekerDlg::OnShowDialog(WPARAM, LPARAM)
{
    ShowWindow(SW_SHOW);
    SetForegroundWindow();
    return 0;
}

void CZevseekerDlg::StopAndEnd()
{
    StopThread();
    EndWith(2);
}
