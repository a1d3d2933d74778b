// Drives the kit's windows for a shell script, one action per command line (or per line of its
// input in serve mode): waits for windows, presses and fills controls, reads list views, answers
// message boxes, saves screenshots and waits for programs to end. One line of output per action.
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

DWORD g_limitMs = 20000;  // every wait ends after this

// A window as the script names it: "exe=Pellgrove.exe,has=1047,title=...,class=...".
struct Target {
    std::wstring exe, title, cls;
    std::vector<int> has;
};

Target ParseTarget(const std::wstring& text)
{
    Target s;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find(L',', at);
        std::wstring part = text.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
        size_t eq = part.find(L'=');
        std::wstring key = part.substr(0, eq), value = eq == std::wstring::npos ? L"" : part.substr(eq + 1);
        if (key == L"exe")
            s.exe = value;
        else if (key == L"title")
            s.title = value;
        else if (key == L"class")
            s.cls = value;
        else if (key == L"has")
            s.has.push_back(_wtoi(value.c_str()));
        if (end == std::wstring::npos)
            break;
        at = end + 1;
    }
    return s;
}

// Every running process with the file name of its program.
std::map<DWORD, std::wstring> Processes()
{
    std::map<DWORD, std::wstring> names;
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W e = {};
    e.dwSize = sizeof e;
    for (BOOL ok = ::Process32FirstW(snap, &e); ok; ok = ::Process32NextW(snap, &e)) {
        std::wstring name = e.szExeFile;
        names[e.th32ProcessID] = name.substr(name.find_last_of(L"\\/") + 1);
    }
    ::CloseHandle(snap);
    return names;
}

std::map<DWORD, std::wstring> g_names;  // as of the last look at the windows

std::wstring ClassOf(HWND w)
{
    wchar_t cls[64] = {};
    ::GetClassNameW(w, cls, 64);
    return cls;
}

bool Matches(const Target& s, HWND w)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (!s.exe.empty() && _wcsicmp(g_names[pid].c_str(), s.exe.c_str()) != 0)
        return false;
    if (!s.title.empty() && WindowText(w) != s.title)
        return false;
    if (!s.cls.empty() && ClassOf(w) != s.cls)
        return false;
    for (int id : s.has)
        if (!::GetDlgItem(w, id))
            return false;
    return true;
}

// The top-level windows, with the process names refreshed for Matches.
std::vector<HWND> TopWindows()
{
    g_names = Processes();
    return TopLevelWindows();
}

// The first visible top-level window that is not a message box and matches, polled.
HWND WaitWindow(const Target& s)
{
    for (DWORD start = ::GetTickCount();; ::Sleep(50)) {
        for (HWND w : TopWindows())
            if (::IsWindowVisible(w) && !IsMessageBox(w) && Matches(s, w))
                return w;
        if (::GetTickCount() - start >= g_limitMs)
            return nullptr;
    }
}

std::string Utf8(const std::wstring& w)
{
    int n = ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, w.c_str(), int(w.size()), &s[0], n, nullptr, nullptr);
    for (char& c : s)
        if (c == '\n' || c == '\r')
            c = ' ';
    return s;
}

int Say(int rc, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
    return rc;
}

// The control `id` of the window, waited for until it is enabled (a page may still be busy).
HWND EnabledItem(HWND w, int id)
{
    for (DWORD start = ::GetTickCount();; ::Sleep(50)) {
        HWND item = ::GetDlgItem(w, id);
        if (item && ::IsWindowEnabled(item))
            return item;
        if (::GetTickCount() - start >= g_limitMs)
            return nullptr;
    }
}

// A list-view message whose argument lives in the list's own process.
template <class T>
bool RemoteCall(HWND list, UINT msg, WPARAM wp, T& value)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    void* remote = process ? ::VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE) : nullptr;
    bool ok = remote && ::WriteProcessMemory(process, remote, &value, sizeof(T), nullptr) &&
              ::SendMessageW(list, msg, wp, reinterpret_cast<LPARAM>(remote)) &&
              ::ReadProcessMemory(process, remote, &value, sizeof(T), nullptr);
    if (remote)
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process)
        ::CloseHandle(process);
    return ok;
}

// The text of a list-view cell without its padding (room for a row icon).
std::wstring CellText(HWND list, int row, int col)
{
    std::wstring text = ListCellText(list, row, col);
    text.erase(0, text.find_first_not_of(L' '));
    return text.erase(text.find_last_not_of(L' ') + 1);
}

HWND FindList(HWND w, int id)
{
    if (id)
        return ::GetDlgItem(w, id);
    return ::FindWindowExW(w, nullptr, WC_LISTVIEWW, nullptr);
}

int Usage()
{
    return Say(2,
               "usage: kitdrive [-t SECONDS] COMMAND ... | kitdrive serve\n"
               "  wait WINDOW | gone WINDOW | click WINDOW ID | check WINDOW ID 0|1 | text WINDOW ID TEXT\n"
               "  get WINDOW ID | combo WINDOW ID INDEX | ip WINDOW ID A.B.C.D\n"
               "  rows WINDOW LIST-ID MIN | find WINDOW LIST-ID TEXT | cell WINDOW LIST-ID ROW COL X-OFFSET | msgbox WINDOW [BUTTON]\n"
               "  shot WINDOW FILE.bmp | ended EXE\n"
               "WINDOW: exe=NAME,has=ID,title=TEXT,class=NAME (any of them)\n"
               "serve: one command a line on stdin, arguments split by tabs; each answer ends with =RC");
}

int Run(std::vector<std::wstring> argv)
{
    size_t a = 0;
    g_limitMs = 20000;
    if (argv.size() > a + 1 && argv[a] == L"-t") {
        g_limitMs = DWORD(_wtof(argv[a + 1].c_str()) * 1000);
        a += 2;
    }
    if (argv.size() < a + 2)
        return Usage();
    const std::wstring cmd = argv[a];
    const std::wstring targetText = argv[a + 1];
    const int n = int(argv.size() - a - 2);
    std::vector<const wchar_t*> argList;
    for (size_t i = a + 2; i < argv.size(); ++i)
        argList.push_back(argv[i].c_str());
    const wchar_t* const* arg = argList.data();
    const int id = n >= 1 ? _wtoi(arg[0]) : 0;

    if (cmd == L"ended") {
        // Waits for every process of that name; the exit code of the last one is reported.
        std::vector<HANDLE> handles;
        for (const auto& p : Processes()) {
            HANDLE h = _wcsicmp(p.second.c_str(), targetText.c_str()) == 0
                           ? ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, p.first)
                           : nullptr;
            if (h)
                handles.push_back(h);
        }
        DWORD code = 0, start = ::GetTickCount();
        bool ended = true;
        for (HANDLE h : handles) {
            DWORD spent = ::GetTickCount() - start;
            ended = ended && ::WaitForSingleObject(h, g_limitMs > spent ? g_limitMs - spent : 0) == WAIT_OBJECT_0;
            ::GetExitCodeProcess(h, &code);
            ::CloseHandle(h);
        }
        if (!ended)
            return Say(1, "ended: %s still runs", Utf8(targetText).c_str());
        return Say(code == 0 ? 0 : 3, "ended: %s, exit code %lu", Utf8(targetText).c_str(), code);
    }

    const Target target = ParseTarget(targetText);
    if (cmd == L"gone") {
        for (DWORD start = ::GetTickCount();; ::Sleep(50)) {
            bool seen = false;
            for (HWND w : TopWindows())
                seen = seen || (::IsWindowVisible(w) && !IsMessageBox(w) && Matches(target, w));
            if (!seen)
                return Say(0, "gone: %s", Utf8(targetText).c_str());
            if (::GetTickCount() - start >= g_limitMs)
                return Say(1, "gone: %s is still shown", Utf8(targetText).c_str());
        }
    }
    if (cmd == L"msgbox") {
        // The first visible message box owned by a window of the target (or, for a box without
        // owner, of the target's program); its text is printed and a button pressed.
        for (DWORD start = ::GetTickCount();; ::Sleep(50)) {
            for (HWND box : TopWindows()) {
                if (!::IsWindowVisible(box) || !IsMessageBox(box))
                    continue;
                HWND owner = ::GetWindow(box, GW_OWNER);
                Target own = target;
                own.has.clear();
                own.title.clear();
                if (owner ? !Matches(target, owner) : !Matches(own, box))
                    continue;
                std::string text = Utf8(MessageText(box));
                int button = n >= 1 ? id : IDOK;
                Press(box, button);
                return Say(0, "msgbox: \"%s\" answered with %d", text.c_str(), button);
            }
            if (::GetTickCount() - start >= g_limitMs)
                return Say(1, "msgbox: no message box of %s", Utf8(targetText).c_str());
        }
    }

    HWND w = WaitWindow(target);
    if (!w) {
        // A message box of the program in the way says why.
        std::string why;
        Target own = {target.exe, L"", L"", {}};
        for (HWND box : TopWindows())
            if (::IsWindowVisible(box) && IsMessageBox(box) && Matches(own, box))
                why += "; message box \"" + Utf8(MessageText(box)) + "\"";
        return Say(1, "%s: no window %s%s", Utf8(cmd).c_str(), Utf8(targetText).c_str(), why.c_str());
    }
    const std::string title = Utf8(WindowText(w));
    if (cmd == L"wait") {
        RECT r{};
        ::GetWindowRect(w, &r);
        return Say(0, "wait: \"%s\" %ldx%ld", title.c_str(), r.right - r.left, r.bottom - r.top);
    }
    if (cmd == L"shot" && n == 1)
        return SaveWindowBmp(w, arg[0]) ? Say(0, "shot: \"%s\"", title.c_str()) : Say(1, "shot: not saved");
    if (n < 1)
        return Usage();
    if (cmd == L"get")
        return Say(0, "%s", Utf8(ItemText(w, id)).c_str());
    if (cmd == L"rows" && n == 2) {
        for (DWORD start = ::GetTickCount();; ::Sleep(100)) {
            HWND list = FindList(w, id);
            LRESULT rows = list ? ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) : 0;
            if (rows >= _wtoi(arg[1]))
                return Say(0, "rows: %ld in the list of \"%s\"", long(rows), title.c_str());
            if (::GetTickCount() - start >= g_limitMs)
                return Say(1, "rows: %ld in the list of \"%s\"", long(rows), title.c_str());
        }
    }
    if (cmd == L"find" && n == 2) {
        // Waits until a cell of the list shows the text.
        for (DWORD start = ::GetTickCount();; ::Sleep(100)) {
            HWND list = FindList(w, id);
            HWND header = list ? reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0)) : nullptr;
            int rows = list ? int(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
            int cols = header ? int(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < cols; ++c)
                    if (CellText(list, r, c) == arg[1])
                        return Say(0, "find: \"%s\" in row %d column %d", Utf8(arg[1]).c_str(), r, c);
            if (::GetTickCount() - start >= g_limitMs) {
                std::string first;
                for (int c = 0; c < cols && rows > 0; ++c)
                    first += " \"" + Utf8(CellText(list, 0, c)) + "\"";
                return Say(1, "find: no \"%s\" in the %d rows of \"%s\"; row 0:%s", Utf8(arg[1]).c_str(), rows,
                           title.c_str(), first.c_str());
            }
        }
    }
    if (cmd == L"cell" && n == 4) {
        // A mouse click in a cell of a list view, X-OFFSET pixels from its left edge;
        // column -1 is the last one.
        HWND list = FindList(w, id);
        HWND header = list ? reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0)) : nullptr;
        int col = _wtoi(arg[2]);
        if (col < 0 && header)
            col = int(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) - 1;
        RECT cell = {LVIR_BOUNDS, col, 0, 0};
        if (!list || !RemoteCall(list, LVM_GETSUBITEMRECT, WPARAM(_wtoi(arg[1])), cell))
            return Say(1, "cell: no cell %d/%d", _wtoi(arg[1]), col);
        LPARAM at = MAKELPARAM(cell.left + _wtoi(arg[3]), (cell.top + cell.bottom) / 2);
        ::PostMessageW(list, WM_MOUSEMOVE, 0, at);
        ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(list, WM_LBUTTONUP, 0, at);
        return Say(0, "cell: row %d column %d clicked in \"%s\"", _wtoi(arg[1]), col, title.c_str());
    }
    HWND item = EnabledItem(w, id);
    if (!item)
        return Say(1, "%s: no enabled control %d in \"%s\"", Utf8(cmd).c_str(), id, title.c_str());
    if (cmd == L"click") {
        std::string label = Utf8(WindowText(item));
        ::PostMessageW(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item));
        return Say(0, "click: %d \"%s\" in \"%s\"", id, label.c_str(), title.c_str());
    }
    if (cmd == L"check" && n == 2) {
        ::SendMessageW(item, BM_SETCHECK, _wtoi(arg[1]) ? BST_CHECKED : BST_UNCHECKED, 0);
        return Say(0, "check: %d set to %d", id, _wtoi(arg[1]));
    }
    if (cmd == L"text" && n == 2) {
        ::SendMessageW(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg[1]));
        return Say(0, "text: %d = \"%s\"", id, Utf8(arg[1]).c_str());
    }
    if (cmd == L"combo" && n == 2) {
        if (::SendMessageW(item, CB_SETCURSEL, _wtoi(arg[1]), 0) == CB_ERR)
            return Say(1, "combo: %d has no entry %d", id, _wtoi(arg[1]));
        ::SendMessageW(w, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(item));
        return Say(0, "combo: %d entry %d \"%s\"", id, _wtoi(arg[1]), Utf8(WindowText(item)).c_str());
    }
    if (cmd == L"ip" && n == 2) {
        // An address control of four edit fields, filled left to right.
        std::vector<HWND> fields;
        for (HWND c = ::GetWindow(item, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            fields.push_back(c);
        std::sort(fields.begin(), fields.end(), [](HWND x, HWND y) {
            RECT rx{}, ry{};
            ::GetWindowRect(x, &rx);
            ::GetWindowRect(y, &ry);
            return rx.left < ry.left;
        });
        std::wstring rest = arg[1];
        if (fields.size() != 4)
            return Say(1, "ip: control %d has %zu fields", id, fields.size());
        for (HWND f : fields) {
            std::wstring octet = rest.substr(0, rest.find(L'.'));
            rest = rest.find(L'.') == std::wstring::npos ? L"" : rest.substr(rest.find(L'.') + 1);
            ::SendMessageW(f, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(octet.c_str()));
        }
        return Say(0, "ip: %d = %s", id, Utf8(arg[1]).c_str());
    }
    return Usage();
}

// Serves commands from stdin so that a script pays for one program start only.
int Serve()
{
    HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    std::string line;
    char c;
    DWORD got = 0;
    while (::ReadFile(in, &c, 1, &got, nullptr) && got == 1) {
        if (c != '\n') {
            line += c;
            continue;
        }
        std::vector<std::wstring> args(1);
        int wide = ::MultiByteToWideChar(CP_UTF8, 0, line.data(), int(line.size()), nullptr, 0);
        std::wstring text(size_t(wide), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, line.data(), int(line.size()), &text[0], wide);
        for (wchar_t ch : text) {
            if (ch == L'\t')
                args.emplace_back();
            else if (ch != L'\r')
                args.back() += ch;
        }
        line.clear();
        int rc = Run(args);
        std::printf("=%d\n", rc);
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wcscmp(argv[1], L"serve") == 0)
        return Serve();
    return Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
