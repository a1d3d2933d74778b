// A stand-in Tavik.dll for the searches the simulator cannot make long: LORRICK_STUB_MODE
// "noadapter" answers "no adapter" to the first call, "slow" keeps its search running for 12 s.
// Either then finds one device, disk1 at 192.168.77.81. Every call is logged to LORRICK_STUB_LOG.
#include "finderlib/TavikPacket.h"
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <string>

static DWORD g_firstCall = 0;
static int g_calls = 0;
static int g_lastLogged = -1;

static void Log(int result)
{
    if (result == g_lastLogged)  // one line per change, not per 100 ms poll
        return;
    g_lastLogged = result;
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("LORRICK_STUB_LOG", path, sizeof(path)))
        return;
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%lu %d\n", GetTickCount() - g_firstCall, result);
        std::fclose(f);
    }
}

extern "C" __declspec(dllexport) int __cdecl GetZevList(ZevDeviceRecord* table, uint16_t* count)
{
    char mode[32] = {};
    GetEnvironmentVariableA("LORRICK_STUB_MODE", mode, sizeof(mode));
    if (g_calls++ == 0)
        g_firstCall = GetTickCount();
    DWORD elapsed = GetTickCount() - g_firstCall;
    if (std::strcmp(mode, "noadapter") == 0 && g_calls == 1) {
        *count = 0;
        Log(0);
        return 0;
    }
    if (std::strcmp(mode, "slow") == 0 && elapsed < 12000) {
        *count = kZevListRunning;
        Log(2);
        return 1;
    }
    std::memset(table, 0, sizeof(ZevDeviceRecord));
    std::strcpy(table[0].name, "disk1");
    const uint8_t mac[6] = {2, 0, 0, 0, 7, 1};
    std::memcpy(table[0].mac, mac, 6);
    std::strcpy(table[0].ip, "192.168.77.81");
    std::strcpy(table[0].mask, "255.255.255.0");
    std::strcpy(table[0].gateway, "0.0.0.0");
    table[0].kind = 1;
    table[0].state = 1;
    *count = 1;
    Log(1);
    g_lastLogged = -1;
    return 1;
}
