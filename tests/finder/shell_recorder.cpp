// Stands in for the browser and the file browser in the test prefix: appends the time and the
// arguments the shell started it with to the file named by LORRICK_RECORD.
#include <windows.h>
#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR args, int)
{
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("LORRICK_RECORD", path, sizeof(path)))
        return 1;
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    unsigned long long t = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    std::string line = std::to_string(t) + " " + args + "\n";
    HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written;
    WriteFile(f, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(f);
    return 0;
}
