// The guide's one window: checks, page count, picture loading behind the wait dialog, page moves.
#include "guide/GuideDialog.h"
#include "afx/DataExchange.h"
#include "afx/ResourceLanguage.h"
#include "frame/PellgroveFont.h"
#include "frame/VersionInfoReader.h"
#include "guide/GuideApp.h"
#include "guide/GuideMessages.h"
#include <shlwapi.h>
#include <uxtheme.h>
#include <cstdio>

namespace {
// The guide's wait dialog: its own ids, and a bar that counts the twenty animated pictures.
const PellgroveWaitIds kGuideWaitIds = {IDD_GUIDE_WAIT, IDC_WAIT_TEXT, IDC_WAIT_PROGRESS, IDS_PLEASE_WAIT,
                                        GUIDE_PAGE_SLOTS + 1};

// Page layout in pixels; every control of a row stands at the same place.
const RECT kStepRect = {1, 42, 1 + 598, 42 + 30};
const RECT kGuideRect = {1, 75, 1 + 280, 75 + 250};
const RECT kAnimationRect = {287, 83, 287 + 294, 83 + 274};
const int kButtonY = 327;
const int kFirstNextX = 81;
const int kNextX = 151;
const int kBackX = 11;
const int kFinishWidth = 130;
const int kFinishHeight = 40;

// The three rows of page pictures, in load order: animated, guide and step pictures.
const wchar_t* const kRowFiles[] = {L"GUIDE_C%d.gif", L"GUIDE%d.bmp", L"STEP%d.bmp"};
// Posted by the picture decoder's workers when a file is decoded (wParam: its index).
const UINT kMsgPictureDecoded = 0x37F;
}  // namespace

BEGIN_MESSAGE_MAP(CPellgroveDialog_Main, CPellgroveDialog)
    ON_BN_CLICKED(IDC_BUTTON_NEXT, OnClickedNext)
    ON_BN_CLICKED(IDC_BUTTON_BACK, OnClickedBack)
    ON_BN_CLICKED(IDC_BUTTON_FINISH, OnClickedFinish)
END_MESSAGE_MAP()

CPellgroveDialog_Main::CPellgroveDialog_Main(HWND parent)
    : CPellgroveDialog(IDD_GUIDE_MAIN, parent, CPellgroveFont::kGuideHeight)
{
}

CPellgroveDialog_Main::~CPellgroveDialog_Main() = default;

void CPellgroveDialog_Main::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Control(pDX, IDC_BUTTON_FINISH, m_btnFinish);
    afx::DDX_Control(pDX, IDC_BUTTON_NEXT, m_btnNext);
    afx::DDX_Control(pDX, IDC_BUTTON_BACK, m_btnBack);
    for (int k = 0; k < GUIDE_PAGE_SLOTS; ++k) {
        afx::DDX_Control(pDX, IDC_ANIMATION_FIRST + k, m_picAnimation[k]);
        afx::DDX_Control(pDX, IDC_GUIDE_FIRST + k, m_picGuide[k]);
        afx::DDX_Control(pDX, IDC_STEP_FIRST + k, m_picStep[k]);
    }
}

int CPellgroveDialog_Main::GetOSClass()
{
    OSVERSIONINFOW vi = {};
    vi.dwOSVersionInfoSize = sizeof(vi);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&vi))
        return 0;
#pragma GCC diagnostic pop
    if (vi.dwPlatformId < VER_PLATFORM_WIN32_NT)
        return 1;
    if (vi.dwPlatformId > VER_PLATFORM_WIN32_NT)
        return 0;
    return vi.dwMajorVersion <= 4 ? 1 : 0;
}

void CPellgroveDialog_Main::Fail(UINT textId, const std::wstring& insert)
{
    m_pDecoder.reset();
    ShowGuideMessage(m_hWnd, textId, IDS_PELLGROVE, insert);
    EndDialog(IDCANCEL);
}

std::wstring CPellgroveDialog_Main::PicturePath(const wchar_t* pattern, int n) const
{
    wchar_t name[64];
    std::swprintf(name, 64, pattern, n);
    return std::wstring(m_szFolder) + afx::LoadStr(IDS_PICTURE_FOLDER) + L"\\" + name;
}

bool CPellgroveDialog_Main::OnInitDialog()
{
    CPellgroveDialog::OnInitDialog();

    if (GetOSClass() == 1) {
        ShowGuideMessage(m_hWnd, IDS_OS_UNSUPPORTED, IDS_STARTUP_FAILURE);
        EndDialog(IDCANCEL);
    }

    m_pWait = std::make_unique<PellgroveWait>(m_hWnd, kGuideWaitIds);
    // Its template centres it.
    if (m_pWait->Create(IDD_GUIDE_WAIT, m_hWnd)) {
        // A plain bar with its sunken edge, as the system draws it for a program without a
        // visual-styles manifest; a themed one costs milliseconds at every step on some systems.
        ::SetWindowTheme(m_pWait->m_progress, L" ", L" ");
        ::SetWindowPos(m_pWait->m_progress, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        m_pWait->ShowWindow(SW_SHOW);
        m_pWait->UpdateWindow();
    }

    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.erase(folder.find_last_of(L'\\') + 1);
    if (folder.size() >= MAX_PATH)
        folder.clear();
    wcsncpy(m_szFolder, folder.c_str(), MAX_PATH - 1);

    const std::wstring pictures = std::wstring(m_szFolder) + afx::LoadStr(IDS_PICTURE_FOLDER);
    if (!::PathIsDirectoryW(pictures.c_str())) {
        Fail(IDS_FOLDER_MISSING);
        return false;
    }
    // The page pictures decode on worker threads while the window is made up; they are taken
    // below in load order.
    std::vector<std::wstring> files;
    for (const wchar_t* pattern : kRowFiles)
        for (int n = 1; n <= GUIDE_PAGE_SLOTS; ++n)
            files.push_back(PicturePath(pattern, n));
    m_pDecoder = std::make_unique<CPictureDecoder>(std::move(files), m_hWnd, kMsgPictureDecoded,
                                                   CPictureDecoder::DefaultThreads());
    // Everything is read from the picture folder beside the program, whatever the working folder.
    auto file = [&pictures](const wchar_t* name) { return pictures + L"\\" + name; };
    std::wstring base = file(L"BASE.bmp");
    if (!LoadBackground(base.c_str())) {
        Fail(IDS_FILE_INVALID, base);
        return false;
    }
    ApplySkin();

    struct ButtonFiles {
        CPellgroveButton& button;
        const wchar_t* stem;
    } buttons[] = {{m_btnNext, L"BUTTON_NEXT"}, {m_btnFinish, L"BUTTON_EXIT"}, {m_btnBack, L"BUTTON_CANCEL"}};
    for (ButtonFiles& b : buttons) {
        std::wstring stem = file(b.stem);
        if (!b.button.LoadBitmapFiles((stem + L".bmp").c_str(), (stem + L"_SEL.bmp").c_str(),
                                      (stem + L"_FOCUS.bmp").c_str(), (stem + L"_DISABLED.bmp").c_str())) {
            Fail(IDS_FILE_INVALID, b.button.GetFailedFile());
            return false;
        }
    }

    int pages = 0;
    while (pages < GUIDE_PAGE_SLOTS && ::PathFileExistsW(PicturePath(L"GUIDE%d.bmp", pages + 1).c_str()))
        ++pages;
    m_nLastPage = pages - 1;

    for (int k = 0; k < GUIDE_PAGE_SLOTS; ++k) {
        auto place = [](CPictureEx& pic, const RECT& r) {
            pic.MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, true);
        };
        place(m_picStep[k], kStepRect);
        place(m_picGuide[k], kGuideRect);
        place(m_picAnimation[k], kAnimationRect);
    }

    m_nStartMode = GetGuideApp().m_cmdInfo.m_nStartMode;
    m_nNextPage = FirstShownPage();
    m_nNextGuideId = IDC_GUIDE_FIRST + m_nNextPage;
    m_nNextAnimationId = IDC_ANIMATION_FIRST + m_nNextPage;
    m_nNextStepId = IDC_STEP_FIRST + m_nNextPage;

    HideAllPages();
    // A folder without the first page to show is as broken as one whose picture is invalid.
    if (m_nNextPage > m_nLastPage) {
        Fail(IDS_FILE_INVALID, PicturePath(L"GUIDE%d.bmp", m_nNextPage + 1));
        return false;
    }
    if (!LoadAnimations() || !LoadGuidePictures()) {
        Fail(IDS_FILE_INVALID, m_strFailedFile);
        return false;
    }
    LoadStepPictures();
    m_pDecoder.reset();
    if (m_pWait) {
        m_pWait->DestroyWindow();
        m_pWait.reset();
    }

    ShowNextPage();

    CVersionInfoReader version;
    version.Read(path);
    SetWindowText(version.FileDescription);
    UpdateData(false);
    InvalidateLabels();
    return true;
}

void CPellgroveDialog_Main::HideAllPages()
{
    for (int k = 0; k < GUIDE_PAGE_SLOTS; ++k)
        m_picStep[k].ShowWindow(SW_HIDE);
    for (int k = 0; k < GUIDE_PAGE_SLOTS; ++k)
        m_picGuide[k].ShowWindow(SW_HIDE);
    for (int k = 0; k < GUIDE_PAGE_SLOTS; ++k)
        m_picAnimation[k].ShowWindow(SW_HIDE);
}

void CPellgroveDialog_Main::SwitchRow(CPictureEx (&row)[GUIDE_PAGE_SLOTS])
{
    int p = m_nNextPage;
    if (p < 0 || p >= GUIDE_PAGE_SLOTS)
        return;
    if (p > 0)
        row[p - 1].Stop();
    if (p + 1 < GUIDE_PAGE_SLOTS)
        row[p + 1].Stop();
    row[p].Draw();
}

BOOL CPellgroveDialog_Main::LoadRow(CPictureEx (&row)[GUIDE_PAGE_SLOTS], int kind, BOOL* loaded, bool progress)
{
    BOOL ok[GUIDE_PAGE_SLOTS];
    for (int n = 1; n <= GUIDE_PAGE_SLOTS; ++n) {
        TDecodedPicture decoded;
        ok[n - 1] = m_pDecoder->Wait(size_t(kind * GUIDE_PAGE_SLOTS + n - 1), decoded) &&
                    row[n - 1].Load(std::move(decoded));
        if (progress && m_pWait)
            m_pWait->m_progress.SetPos(n + 1);
    }
    if (loaded) {
        for (int k = 0; k < GUIDE_PAGE_SLOTS; ++k)
            loaded[k] = ok[k];
        return TRUE;
    }
    for (int k = 0; k <= m_nLastPage; ++k) {
        if (!ok[k]) {
            m_strFailedFile = PicturePath(kRowFiles[kind], k + 1);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CPellgroveDialog_Main::LoadAnimations()
{
    return LoadRow(m_picAnimation, 0, nullptr, true);
}

BOOL CPellgroveDialog_Main::LoadGuidePictures()
{
    return LoadRow(m_picGuide, 1, nullptr, false);
}

BOOL CPellgroveDialog_Main::LoadStepPictures()
{
    return LoadRow(m_picStep, 2, m_bStepLoaded, false);
}

void CPellgroveDialog_Main::ShowNextPage()
{
    int p = m_nNextPage;
    // Nothing lies beyond the last page or before the first shown one.
    if (p < FirstShownPage() || p > m_nLastPage)
        return;
    HideAllPages();
    SwitchAnimationRow();
    SwitchGuideRow();
    SwitchStepRow();
    ::ShowWindow(GetDlgItem(m_nNextGuideId), SW_SHOW);
    ::ShowWindow(GetDlgItem(m_nNextAnimationId), SW_SHOW);
    ::ShowWindow(GetDlgItem(m_nNextStepId), m_bStepLoaded[p] ? SW_SHOW : SW_HIDE);

    bool first = p == FirstShownPage();
    if (first && p != m_nLastPage) {
        m_btnNext.MoveTo(kFirstNextX, kButtonY);
        m_btnNext.ShowWindow(SW_SHOW);
        m_btnBack.ShowWindow(SW_HIDE);
        m_btnFinish.ShowWindow(SW_HIDE);
    } else if (p == m_nLastPage) {
        m_btnFinish.SetWindowPos(HWND_TOP, kNextX, kButtonY, kFinishWidth, kFinishHeight, SWP_SHOWWINDOW);
        // A one-page guide has nowhere to go back to.
        m_btnBack.ShowWindow(first ? SW_HIDE : SW_SHOW);
        m_btnNext.ShowWindow(SW_HIDE);
    } else {
        m_btnNext.MoveTo(kNextX, kButtonY);
        m_btnNext.ShowWindow(SW_SHOW);
        m_btnBack.MoveTo(kBackX, kButtonY);
        m_btnBack.ShowWindow(SW_SHOW);
        m_btnFinish.ShowWindow(SW_HIDE);
    }
    ++m_nNextPage;
    ++m_nNextGuideId;
    ++m_nNextAnimationId;
    ++m_nNextStepId;
}

void CPellgroveDialog_Main::OnClickedNext()
{
    ShowNextPage();
}

void CPellgroveDialog_Main::OnClickedBack()
{
    if (m_nNextPage - 2 < FirstShownPage())
        return;
    m_nNextPage -= 2;
    m_nNextGuideId -= 2;
    m_nNextAnimationId -= 2;
    m_nNextStepId -= 2;
    ShowNextPage();
}

void CPellgroveDialog_Main::OnClickedFinish()
{
    UpdateData(true);
    OnOK();
}
