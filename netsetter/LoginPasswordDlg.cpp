// Modal dialog that asks for a device's logon password and keeps its Base64 form.
#include "netsetter/LoginPasswordDlg.h"
#include "afx/DataExchange.h"
#include "finderlib/Base64.h"
#include "netsetter/SettingRes.h"

BEGIN_MESSAGE_MAP(CLoginPasswordDlg, afx::CDialog)
    ON_WM_PAINT()
    ON_EN_CHANGE(IDC_LOGIN_PASSWORD, OnPasswordChange)
    ON_CONTROL(EN_UPDATE, IDC_LOGIN_PASSWORD, OnPasswordUpdate)
END_MESSAGE_MAP()

CLoginPasswordDlg::CLoginPasswordDlg() : afx::CDialog(IDD_LOGIN_PASSWORD)
{
    m_hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUENTARI), IMAGE_ICON,
                                            0, 0, LR_DEFAULTSIZE));
}

CLoginPasswordDlg::~CLoginPasswordDlg()
{
    if (m_hIcon)
        DestroyIcon(m_hIcon);
}

void CLoginPasswordDlg::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Text(pDX, IDC_LOGIN_PASSWORD, m_strPassword);
    if (!pDX->m_bSaveAndValidate)
        SendDlgItemMessage(IDC_LOGIN_PASSWORD, EM_LIMITTEXT, 20);
}

bool CLoginPasswordDlg::OnInitDialog()
{
    afx::CDialog::OnInitDialog();
    m_strPassword.clear();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    LayoutButtons();
    UpdateData(false);
    ::SetFocus(GetDlgItem(IDC_LOGIN_PASSWORD));
    return false;  // the focus is set
}

void CLoginPasswordDlg::LayoutButtons()
{
    struct { CHoverButton* button; UINT id, normal, pressed, focused, disabled; } buttons[] = {
        {&m_btnOK, IDOK, IDB_OK, IDB_OK_DOWN, IDB_OK_FOCUS, IDB_OK},
        {&m_btnCancel, IDCANCEL, IDB_CANCEL, IDB_CANCEL_DOWN, IDB_CANCEL_FOCUS, IDB_CANCEL},
    };
    for (auto& b : buttons)
        b.button->ReplaceDlgItem(m_hWnd, b.id, b.normal, b.pressed, b.focused, b.disabled);
}

void CLoginPasswordDlg::OnPasswordChange()
{
    // Setting the text back raises another change: that one has nothing to cut.
    if (m_bInChange)
        return;
    m_bInChange = true;
    std::wstring before = m_strPassword;
    UpdateData(true);
    if (int(m_strPassword.size()) > m_nMaxPasswordLength) {
        m_strPassword = before;
        UpdateData(false);
        SendDlgItemMessage(IDC_LOGIN_PASSWORD, EM_SETSEL, WPARAM(m_strPassword.size()), LPARAM(m_strPassword.size()));
    }
    m_bInChange = false;
}

void CLoginPasswordDlg::OnOK()
{
    UpdateData(true);
    // Characters the code page lacks become its default character: the device then refuses
    // the password as not valid, which is what the user is told.
    m_strPasswordAnsi.clear();
    int n = WideCharToMultiByte(CP_THREAD_ACP, 0, m_strPassword.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n > 0) {
        std::string bytes(size_t(n), '\0');
        WideCharToMultiByte(CP_THREAD_ACP, 0, m_strPassword.c_str(), -1, &bytes[0], n, nullptr, nullptr);
        m_strPasswordAnsi = bytes.c_str();
    }
    std::string encoded = Base64EncodeText(m_strPasswordAnsi.c_str());
    m_strEncodedPassword.assign(encoded.begin(), encoded.end());
    afx::CDialog::OnOK();
}

void CLoginPasswordDlg::OnPaint()
{
    if (!IsIconic(m_hWnd)) {
        Default();
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, WPARAM(dc));
    RECT r = GetClientRect();
    int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (r.right - cx + 1) / 2, (r.bottom - cy + 1) / 2, m_hIcon);
    EndPaint(m_hWnd, &ps);
}
