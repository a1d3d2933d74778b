// The firmware download dialog of USB-stick mode: fetches the configured firmware files onto
// the stick's root folder on a worker thread, with an animation, a status line and progress.
#include "wizard/FwDownload.h"
#include "afx/DataExchange.h"
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"
#include "wizard/HttpFetch.h"
#include "wizard/PellgroveApp.h"
#include "wizard/SupportFiles.h"
#include <commctrl.h>
#include <wininet.h>

namespace {

// Shown in every interface language.
const wchar_t kDownloading[] = L"ダウンロード中 ...";
const wchar_t kCancelled[] = L"キャンセル";
const wchar_t kCompleted[] = L"完了";
const wchar_t kOverwrite[] = L"上書きしますか？";

constexpr UINT WM_FW_STATUS = WM_APP + 0x20;
constexpr UINT WM_FW_ASK = WM_APP + 0x21;
constexpr UINT_PTR kProgressTimer = 1;
constexpr int kProgressEnd = 10000;
constexpr int kPairs = 10;

// The local file for a URL: the drive's root folder and the last segment of the URL's path.
bool LocalPathFor(const wchar_t* url, const std::wstring& drive, std::wstring& out)
{
    wchar_t path[513] = {}, extra[1025] = {};
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = ARRAYSIZE(path);
    parts.lpszExtraInfo = extra;  // the query stays out of the file name
    parts.dwExtraInfoLength = ARRAYSIZE(extra);
    if (!::InternetCrackUrlW(url, 0, 0, &parts))
        return false;
    std::wstring segment(path);
    std::wstring name = segment.substr(segment.find_last_of(L'/') + 1);
    // A name that is not one plain file in the root folder is refused.
    if (!IsPlainFileName(name)) {
        ::SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    out = drive + L"\\" + name;
    return true;
}

}  // namespace

CFwDownload::CFwDownload(HWND parent)
    : afx::CDialog(IDD_FW_DOWNLOAD, parent), m_askAnswered(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    for (const auto& field : g_productConfig.Firmware)
        m_list.emplace_back(field);
    const wchar_t* folder = g_productConfig.ProgramFolder;
    if (folder[0] && folder[1] == L':')
        m_drive.assign(folder, 2);
}

CFwDownload::~CFwDownload()
{
    // The worker uses the members below; it ends before they go.
    m_bCancel = 1;
    if (m_pThread)
        m_pThread->Join();
    if (m_hThread)
        ::CloseHandle(m_hThread);
    ::CloseHandle(m_askAnswered);
}

BEGIN_MESSAGE_MAP(CFwDownload, afx::CDialog)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_FW_STATUS, OnStatusChanged)
    ON_MESSAGE(WM_FW_ASK, OnAskOverwrite)
END_MESSAGE_MAP()

void CFwDownload::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Control(pDX, IDC_FW_ANIMATE, m_animate);
    afx::DDX_Control(pDX, IDC_FW_PROGRESS, m_progress);
}

unsigned CFwDownload::ThreadProc(void* param)
{
    return static_cast<CFwDownload*>(param)->DownloadAll();
}

bool CFwDownload::OnInitDialog()
{
    afx::CDialog::OnInitDialog();
    SetDlgItemText(IDC_FW_STATUS, kDownloading);
    ::EnableWindow(GetDlgItem(IDOK), FALSE);
    ::EnableWindow(GetDlgItem(IDCANCEL), TRUE);
    m_bCancel = 0;
    m_progress.SetRange(0, kProgressEnd);
    m_animate.SendMessage(ACM_OPENW, reinterpret_cast<WPARAM>(::GetModuleHandleW(nullptr)),
                          reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(IDR_FW_ANIMATION)));
    m_animate.SendMessage(ACM_PLAY, WPARAM(-1), MAKELPARAM(0, 0xFFFF));
    m_nTimer = SetTimer(kProgressTimer, 250);
    m_dwTotal = 0;
    m_dwReceived = 0;
    m_pThread = std::make_unique<afx::CWorkerThread>();
    if (!m_pThread->Start([this] { return ThreadProc(this); }))
        m_pThread.reset();
    else if (!::DuplicateHandle(::GetCurrentProcess(), m_pThread->Handle(), ::GetCurrentProcess(), &m_hThread, 0,
                                FALSE, DUPLICATE_SAME_ACCESS))
        m_hThread = nullptr;
    return true;
}

void CFwDownload::OnTimer(UINT_PTR)
{
    DWORD code = 1;
    bool running = m_hThread ? ::GetExitCodeThread(m_hThread, &code) && code == STILL_ACTIVE
                             : m_pThread && m_pThread->IsRunning();
    if (!m_hThread && m_pThread && !running)
        code = m_pThread->ExitCode();
    if (running) {
        DWORD total = m_dwTotal;
        if (total)
            m_progress.SetPos(int(static_cast<unsigned long long>(m_dwReceived) * kProgressEnd / total));
        return;
    }
    m_animate.SendMessage(ACM_STOP);
    KillTimer(m_nTimer);
    m_nTimer = 0;
    HWND ok = GetDlgItem(IDOK);
    ::EnableWindow(ok, TRUE);
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ok), TRUE);
    ::EnableWindow(GetDlgItem(IDCANCEL), FALSE);
    if (code == 0) {
        SetDlgItemText(IDC_FW_STATUS, kCompleted);
        m_progress.SetPos(kProgressEnd);
    }
    // The stopped animation goes however the worker ended.
    m_animate.SendMessage(ACM_OPENW, 0, 0);
    m_animate.ShowWindow(SW_HIDE);
}

void CFwDownload::OnCancel()
{
    m_bCancel = 1;
    SetDlgItemText(IDC_FW_STATUS, kCancelled);
    afx::CDialog::OnCancel();
}

void CFwDownload::OnDestroy()
{
    if (m_nTimer) {
        KillTimer(m_nTimer);
        m_nTimer = 0;
    }
    // The worker never waits for this thread, so it ends soon after it sees the request.
    m_bCancel = 1;
    if (m_hThread) {
        DWORD code;
        while (::GetExitCodeThread(m_hThread, &code) && code == STILL_ACTIVE)
            ::Sleep(100);
        ::CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    if (m_pThread)
        m_pThread->Join();
}

void CFwDownload::SetStatus(const std::wstring& text)
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_status = text;
    }
    PostMessage(WM_FW_STATUS);
}

LRESULT CFwDownload::OnStatusChanged(WPARAM, LPARAM)
{
    std::wstring text;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        text = m_status;
    }
    // A late status does not replace the cancel notice.
    if (!m_bCancel)
        SetDlgItemText(IDC_FW_STATUS, text);
    return 0;
}

bool CFwDownload::AskOverwrite(const std::wstring& path)
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_askPath = path;
    }
    ::ResetEvent(m_askAnswered);
    m_askAnswer = IDNO;
    PostMessage(WM_FW_ASK);
    while (::WaitForSingleObject(m_askAnswered, 50) == WAIT_TIMEOUT)
        if (m_bCancel)
            return false;
    return m_askAnswer == IDYES;
}

LRESULT CFwDownload::OnAskOverwrite(WPARAM, LPARAM)
{
    std::wstring path;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        path = m_askPath;
    }
    // A dialog shows itself the first time its queue runs dry; a worker that asks before that
    // would leave the question alone on the screen, its dialog hidden until it is answered.
    if (!IsWindowVisible()) {
        ShowWindow(SW_SHOWNORMAL);
        ::UpdateWindow(m_hWnd);
    }
    m_askAnswer = ::MessageBoxW(m_hWnd, kOverwrite, path.c_str(), MB_YESNO | MB_ICONEXCLAMATION);
    ::SetEvent(m_askAnswered);
    return 0;
}

void CFwDownload::ShowError(DWORD error)
{
    if (!error)
        return;
    wchar_t* text = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                               reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n && text ? std::wstring(text, n) : afx::LoadStr(IDS_FIRMWARE_PART_FAILED);
    if (text)
        ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    SetStatus(message);
}

int CFwDownload::DownloadFile(const wchar_t* url, const wchar_t* localPath)
{
    ::SetLastError(0);
    std::wstring target;
    if (!url || !*url) {
        ShowError(ERROR_INTERNET_INVALID_URL);
        return -1;
    }
    if (localPath) {
        target = localPath;
    } else if (m_drive.empty()) {
        // A program folder without a drive letter (a UNC path) has no drive root to store
        // into; the bare root would be that of the current drive.
        SetStatus(afx::LoadStr(IDS_FIRMWARE_PART_FAILED));
        return -1;
    } else if (!LocalPathFor(url, m_drive, target)) {
        ShowError(::GetLastError());
        return -1;
    }

    CHttpFetch fetch(url);
    DWORD status = 0, length = 0, error = 0;
    bool hasLength = false;
    CHttpFetch::Result r = fetch.WaitResponse(m_bCancel, status, length, hasLength, error);
    if (r != CHttpFetch::kDone) {
        ShowError(r == CHttpFetch::kFailed ? error : 0);
        return -1;
    }
    // Only the whole file itself may take the place of what is on the stick: an error page,
    // or a body whose end cannot be checked, is never stored.
    if (status != HTTP_STATUS_OK || !hasLength || length == 0) {
        ShowError(ERROR_HTTP_INVALID_SERVER_RESPONSE);
        return -1;
    }
    m_dwTotal += length;
    if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES && !AskOverwrite(target)) {
        if (!m_bCancel)
            ShowError(ERROR_FILE_EXISTS);
        return ERROR_FILE_EXISTS;
    }

    // The download goes to a new file beside the target, which replaces the target only once
    // it is complete: a failed or cancelled download leaves the stick as it was.
    std::wstring folder = target.substr(0, target.find_last_of(L'\\') + 1);
    wchar_t temp[MAX_PATH] = {};
    if (folder.size() > MAX_PATH - 14 || !::GetTempFileNameW(folder.c_str(), L"fw", 0, temp)) {
        ShowError(::GetLastError());
        return -1;
    }
    HANDLE file = ::CreateFileW(temp, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        ::DeleteFileW(temp);
        ShowError(error);
        return -1;
    }
    SetStatus(kDownloading);
    bool complete = false;
    DWORD written = 0;
    std::vector<char> piece;
    while (!m_bCancel) {
        error = 0;
        if (fetch.Read(piece, m_bCancel, error) != CHttpFetch::kDone)
            break;
        if (piece.empty()) {
            complete = written == length;
            if (!complete)
                error = ERROR_INTERNET_CONNECTION_RESET;  // the connection ended early
            break;
        }
        if (piece.size() > length - written) {
            error = ERROR_HTTP_INVALID_SERVER_RESPONSE;
            break;
        }
        DWORD n = 0;
        if (!::WriteFile(file, piece.data(), DWORD(piece.size()), &n, nullptr) || n != piece.size()) {
            error = ::GetLastError();
            break;
        }
        written += n;
        m_dwReceived += n;
    }
    if (complete && !::FlushFileBuffers(file)) {
        complete = false;
        error = ::GetLastError();
    }
    ::CloseHandle(file);
    if (complete && !m_bCancel &&
        ::MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    if (complete && !m_bCancel)
        error = ::GetLastError();
    ::DeleteFileW(temp);
    if (!m_bCancel)
        ShowError(error ? error : ERROR_INTERNET_INTERNAL_ERROR);
    return -1;
}

unsigned CFwDownload::DownloadAll()
{
    m_dwTotal = 0;
    m_dwReceived = 0;
    bool all = true;
    for (int k = 0; k < kPairs; ++k) {
        // No new pair is begun once the user cancelled.
        if (m_bCancel)
            return 1;
        const std::wstring& file = m_list[size_t(2 * k)];
        const std::wstring& manifest = m_list[size_t(2 * k + 1)];
        if (k > 0 && file.empty())
            continue;
        if (DownloadFile(file.c_str(), nullptr) != 0 || DownloadFile(manifest.c_str(), nullptr) != 0)
            all = false;
    }
    return all && !m_bCancel ? 0 : 1;
}
