// Drives the real Quentari.exe from outside: its windows, its list's rows, screenshots.
#include "tests/netsetter_setup/QuentariDriver.h"
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

QuentariDriver::QuentariDriver(const EnvVars& env) : m_run(new ProgramRun(OwnFolder() + L"Quentari.exe", L"", L"", env)) {}

HWND QuentariDriver::WaitSearchDone(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        if (!m_main)
            m_main = m_run->WaitWindow([](HWND h) { return IsWindowVisible(h) && IsDialogWindow(h) && GetDlgItem(h, 1011); }, 200);
        std::wstring status = m_main ? ItemText(m_main, 1028) : L"";
        // Every scenario here has devices: the search has ended once they are listed.
        if ((status == L"The searching was completed." || status == L"\x691C\x7D22\x304C\x5B8C\x4E86\x3057\x307E\x3057\x305F\x3002") &&
            Rows() > 0 && ItemText(m_main, 1027) == std::to_wstring(Rows()))
            return m_main;
        Sleep(100);
    }
    if (m_main)
        std::printf("main dialog: status \"%ls\", refresh %d, rows %d\n", ItemText(m_main, 1028).c_str(),
                    int(IsWindowEnabled(GetDlgItem(m_main, 1011))), Rows());
    else
        std::printf("no main dialog; windows: %d\n", int(m_run->Windows().size()));
    return nullptr;
}

HWND QuentariDriver::WaitDialog(const std::wstring& title, DWORD ms)
{
    return m_run->WaitWindow([&](HWND h) { return h != m_main && IsWindowVisible(h) && WindowText(h) == title; }, ms);
}

std::wstring QuentariDriver::TakeMessage(const std::wstring& caption, DWORD ms)
{
    HWND box = WaitDialog(caption, ms);
    if (!box)
        return L"(no message " + caption + L")";
    std::wstring text = MessageText(box);
    Press(box, IDOK);
    for (int i = 0; i < 50 && IsWindow(box); ++i)
        Sleep(100);
    return text;
}

int QuentariDriver::Rows() const
{
    return int(SendDlgItemMessageW(m_main, 1010, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring QuentariDriver::Cell(int row, int col) const
{
    return ListCellText(GetDlgItem(m_main, 1010), row, col);
}

void QuentariDriver::Shot(HWND window, const std::string& name) const
{
    const char* dir = std::getenv("KIT_BUILD_DIR");
    const char* lang = std::getenv("KIT_SHOT_LANGUAGE");
    if (!dir || !window)
        return;
    std::string folder = "Z:" + std::string(dir) + "/screenshots";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    CreateDirectoryA(folder.c_str(), nullptr);
    SaveWindowBmp(window, Widen(folder + "\\quentari_" + name + "_" + (lang ? lang : "en") + ".bmp"));
}

void SetAddress(HWND dialog, int id, const char* dotted)
{
    std::istringstream parts(dotted);
    std::string part;
    for (int field = 1; field <= 4 && std::getline(parts, part, '.'); ++field)
        SetDlgItemTextA(GetDlgItem(dialog, id), field, part.c_str());
}

std::wstring Text(HWND window, int id)
{
    wchar_t text[256] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(window, id), WM_GETTEXT, 256, LPARAM(text), SMTO_BLOCK, 5000, &result);
    return text;
}
