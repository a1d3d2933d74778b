// Timing probe for tools/bench.sh: one measurement per run, printed as "seconds value".
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "finderlib/TavikPacket.h"

using GetZevListFn = int(__cdecl*)(ZevDeviceRecord*, uint16_t*);

static double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

// A search through Tavik.dll, polled every 100 ms as the finder does; prints time and count.
static int Search()
{
    HMODULE lib = LoadLibraryA("Tavik.dll");
    auto getList = lib ? reinterpret_cast<GetZevListFn>(GetProcAddress(lib, "GetZevList")) : nullptr;
    if (!getList) {
        std::fprintf(stderr, "no Tavik.dll\n");
        return 2;
    }
    static ZevDeviceRecord table[kZevTableSize];
    uint16_t count = 0xFFFF;
    double t0 = Now();
    do {
        std::memset(table, 0, sizeof table);
        if (!getList(table, &count))
            return 3;
        if (count == 0xFFFF)
            Sleep(100);
    } while (count == 0xFFFF && Now() - t0 < 30);
    std::printf("%.3f %u\n", Now() - t0, count);
    FreeLibrary(lib);
    return 0;
}

struct Probe {
    DWORD pid;
    int minItems;  // 0: any visible window; N: a list view with N rows or more
    int childId;   // when not 0, only a window holding this control counts
    HWND found;
};

static BOOL CALLBACK FindList(HWND child, LPARAM param)
{
    auto* p = reinterpret_cast<Probe*>(param);
    wchar_t cls[32];
    GetClassNameW(child, cls, 32);
    if (wcscmp(cls, WC_LISTVIEWW) == 0 && SendMessageW(child, LVM_GETITEMCOUNT, 0, 0) >= p->minItems) {
        p->found = child;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK FindTop(HWND wnd, LPARAM param)
{
    auto* p = reinterpret_cast<Probe*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    if (pid != p->pid || !IsWindowVisible(wnd) || (p->childId && !GetDlgItem(wnd, p->childId)))
        return TRUE;
    if (p->minItems == 0)
        p->found = wnd;
    else
        EnumChildWindows(wnd, FindList, param);
    return p->found ? FALSE : TRUE;
}

// Starts a program and waits for its first visible window (or a list with N rows); prints the
// time from the start, then ends the program.
static int Window(const wchar_t* commandLine, int minItems, int childId, double limit)
{
    std::wstring cmd = commandLine;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    double t0 = Now();
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 2;
    Probe probe = {pi.dwProcessId, minItems, childId, nullptr};
    while (!probe.found && Now() - t0 < limit && WaitForSingleObject(pi.hProcess, 10) == WAIT_TIMEOUT)
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&probe));
    double seconds = Now() - t0;
    int rc = probe.found ? 0 : 4;
    if (probe.found)
        std::printf("%.3f 1\n", seconds);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return rc;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 2 && wcscmp(argv[1], L"search") == 0)
        return Search();
    if (argc >= 3 && wcscmp(argv[1], L"window") == 0)
        return Window(argv[2], 0, argc >= 4 ? _wtoi(argv[3]) : 0, 20);
    if (argc >= 4 && wcscmp(argv[1], L"list") == 0)
        return Window(argv[3], _wtoi(argv[2]), 0, 40);
    std::fprintf(stderr, "usage: kitbench search | window \"CMD\" [CONTROL-ID] | list N \"CMD\"\n");
    return 1;
}
