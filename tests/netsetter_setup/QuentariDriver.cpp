// Drives the real Quentari.exe from outside: its windows, its list's rows, screenshots.
#include "tests/netsetter_setup/QuentariDriver.h"
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

static const wchar_t kTitle[] = L"Quentari - network device setting utility";

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
    // The list's text is read through a buffer inside the program.
    HWND list = GetDlgItem(m_main, 1010);
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!proc)
        return L"(no process)";
    auto* mem = static_cast<uint8_t*>(VirtualAllocEx(proc, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
    LVITEMW item = {};
    item.iSubItem = col;
    item.pszText = reinterpret_cast<wchar_t*>(mem + 512);
    item.cchTextMax = 256;
    WriteProcessMemory(proc, mem, &item, sizeof(item), nullptr);
    SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(mem));
    wchar_t text[256] = {};
    ReadProcessMemory(proc, mem + 512, text, sizeof(text) - sizeof(wchar_t), nullptr);
    VirtualFreeEx(proc, mem, 0, MEM_RELEASE);
    CloseHandle(proc);
    return text;
}

void QuentariDriver::Shot(HWND window, const std::string& name) const
{
    const char* dir = std::getenv("KIT_BUILD_DIR");
    const char* lang = std::getenv("KIT_SHOT_LANGUAGE");
    if (!dir || !window)
        return;
    std::string folder = "Z:" + std::string(dir) + "/screenshots";
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    CreateDirectoryA(folder.c_str(), nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    DWORD stride = DWORD((w * 3 + 3) & ~3), size = stride * DWORD(h);
    BITMAPFILEHEADER fh = {0x4D42, DWORD(sizeof(fh) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                           DWORD(sizeof(fh) + sizeof(BITMAPINFOHEADER))};
    std::ofstream out(folder + "\\quentari_" + name + "_" + (lang ? lang : "en") + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
    out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(BITMAPINFOHEADER));
    out.write(static_cast<const char*>(bits), size);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

void SetAddress(HWND dialog, int id, const char* dotted)
{
    HWND control = GetDlgItem(dialog, id);
    std::string s = dotted;
    for (int field = 1; field <= 4; ++field) {
        size_t dot = s.find('.');
        std::string part = s.substr(0, dot);
        SetDlgItemTextA(control, field, part.c_str());
        s = dot == std::string::npos ? "" : s.substr(dot + 1);
    }
}

std::wstring Text(HWND window, int id)
{
    wchar_t text[256] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(window, id), WM_GETTEXT, 256, LPARAM(text), SMTO_BLOCK, 5000, &result);
    return text;
}
