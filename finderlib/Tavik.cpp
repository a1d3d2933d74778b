// Tavik.dll: the exports, the search thread, the logon session and the local adapter.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "finderlib/Tavik.h"
#include "finderlib/TavikChannel.h"
#include "finderlib/TavikProtocol.h"

using namespace tavik;

int nTavik = 0;

namespace {

enum : uint16_t { kSearchIdle = 0, kSearchRunning = 1, kSearchDone = 2, kSearchFailed = 3 };

uint32_t g_seq;
Session g_session;
std::atomic<uint16_t> g_searchState{kSearchIdle};
ZevDeviceRecord g_resultTable[kZevTableSize];
uint16_t g_resultCount;
// Serialises whole operations: one channel, one session, one result at a time.
CRITICAL_SECTION g_opLock;
HMODULE g_module;

struct OpLock {
    OpLock() { EnterCriticalSection(&g_opLock); }
    ~OpLock() { LeaveCriticalSection(&g_opLock); }
};

bool ReadAdapters(std::vector<uint8_t>& params, std::vector<uint8_t>& adapters, std::vector<uint8_t>& table) {
    ULONG size = 0;
    DWORD rc = GetNetworkParams(nullptr, &size);
    if ((rc != NO_ERROR && rc != ERROR_BUFFER_OVERFLOW) || size == 0) return false;
    params.assign(size, 0);
    if (GetNetworkParams(reinterpret_cast<FIXED_INFO*>(params.data()), &size) != NO_ERROR) return false;
    size = 0;
    rc = GetAdaptersInfo(nullptr, &size);
    if ((rc != NO_ERROR && rc != ERROR_BUFFER_OVERFLOW) || size == 0) return false;
    adapters.assign(size, 0);
    if (GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(adapters.data()), &size) != NO_ERROR) return false;
    size = 0;
    if (GetIpAddrTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER || size == 0) return false;
    table.assign(size, 0);
    return GetIpAddrTable(reinterpret_cast<MIB_IPADDRTABLE*>(table.data()), &size, FALSE) == NO_ERROR;
}

const MIB_IPADDRROW* FindRow(const MIB_IPADDRTABLE* table, DWORD index) {
    for (DWORD i = 0; i < table->dwNumEntries; ++i)
        if (table->table[i].dwIndex == index) return &table->table[i];
    return nullptr;
}

bool SelectLocalAdapter(const char* name) {
    memset(g_state.pcMac, 0, 6);
    std::vector<uint8_t> params, adapters, table;
    if (!ReadAdapters(params, adapters, table)) return false;
    auto* rows = reinterpret_cast<const MIB_IPADDRTABLE*>(table.data());
    for (auto* a = reinterpret_cast<const IP_ADAPTER_INFO*>(adapters.data()); a; a = a->Next) {
        if (name && *name && _stricmp(name, a->AdapterName) != 0) continue;
        const MIB_IPADDRROW* row = FindRow(rows, a->Index);
        if (!row || (row->wType & 0x40) || row->dwAddr == 0) continue;
        memcpy(g_state.pcMac, a->Address, 6);
        return true;
    }
    return false;
}

bool IsWireless(const char* adapterName) {
    char path[512];
    snprintf(path, sizeof path,
             "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s\\Connection",
             adapterName);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    BYTE value[128] = {};
    DWORD size = sizeof value;
    bool ok = RegQueryValueExA(key, "MediaSubType", nullptr, nullptr, value, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok && value[0] == 2;
}

uint8_t AdapterKind(const IP_ADAPTER_INFO& a) {
    switch (a.Type) {
    case 6: return IsWireless(a.AdapterName) ? 1 : 0;
    case 71: return 1;
    case 9: return 2;
    case 15: return 3;
    case 23: return 4;
    case 24: return 5;
    case 28: return 6;
    default: return 255;
    }
}

void CopyField(char* dst, size_t size, const char* src) {
    size_t n = strnlen(src, size - 1);
    memcpy(dst, src, n);
    dst[n] = 0;
}

void CopyRecords(ZevDeviceRecord* dst, const ZevDeviceRecord* src, uint16_t count) {
    // Byte 64 (the name's last byte) is never written: the caller zeroes the table.
    for (uint16_t i = 0; i < count; ++i) {
        memcpy(&dst[i], &src[i], 64);
        memcpy(reinterpret_cast<uint8_t*>(&dst[i]) + 65, reinterpret_cast<const uint8_t*>(&src[i]) + 65,
               sizeof(ZevDeviceRecord) - 65);
    }
}

DWORD WINAPI SearchThread(LPVOID) {
    {
        OpLock lock;
        g_searchState = kSearchRunning;
        memset(g_state.work, 0, sizeof g_state.work);
        memset(g_resultTable, 0, sizeof g_resultTable);
        g_state.workCount = 0;
        g_resultCount = 0;
        DeviceRequestPacket packet;
        BuildSearch(packet, g_seq, g_state.pcMac);
        RunChannel(kCodeSearch, packet);
        CopyRecords(g_resultTable, g_state.work, g_state.workCount);
        g_resultCount = g_state.workCount;
        g_searchState = kSearchDone;
    }
    // The thread holds its own reference to the library, so unloading it mid-search is safe.
    FreeLibraryAndExitThread(g_module, 0);
    return 0;
}

bool HandOut(ZevDeviceRecord* table, uint16_t* count) {
    if (g_searchState != kSearchDone) return false;
    CopyRecords(table, g_resultTable, g_resultCount);
    *count = g_resultCount;
    g_searchState = kSearchIdle;
    return true;
}

int LogoffLocked() {
    if (g_state.result != kResultLoggedOn && g_state.result != kResultThisPc) return 0;
    DeviceRequestPacket packet;
    BuildLogoff(packet, g_seq, g_state.pcMac, g_session, g_state.token);
    SendThreeTimes(packet);
    g_state.result = kResultNone;
    memset(&g_session, 0, sizeof g_session);
    return 1;
}

bool SessionOpen() { return g_state.result == kResultLoggedOn; }

void FillDefaultTime(ZevTimeInfo* info) {
    memset(reinterpret_cast<uint8_t*>(info) + 6, 0, sizeof *info - 6);
    info->year = 2010;
    info->month = 1;
    info->day = 1;
}

}  // namespace

extern "C" int __cdecl GetZevList(ZevDeviceRecord* table, uint16_t* count) {
    if (!table || !count) return 0;
    if (HandOut(table, count)) return 1;
    if (g_searchState == kSearchRunning) {
        *count = kZevListRunning;
        return 1;
    }
    {
        OpLock lock;
        if (!SelectLocalAdapter("")) {
            *count = 0;
            return 0;
        }
    }
    HMODULE pin = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&GetZevList), &pin);
    g_searchState = kSearchRunning;
    HANDLE thread = CreateThread(nullptr, 0, SearchThread, nullptr, 0, nullptr);
    if (!thread) {
        if (pin) FreeLibrary(pin);
        g_searchState = kSearchIdle;
        *count = 0;
        return 0;
    }
    CloseHandle(thread);
    if (HandOut(table, count)) return 1;
    *count = kZevListRunning;
    return 1;
}

extern "C" uint8_t __cdecl GetZevAdapterList(ZevAdapterRecord* table, uint16_t* count) {
    if (!table || !count) return 0;
    *count = 0;
    std::vector<uint8_t> params, adapters, rows;
    if (!ReadAdapters(params, adapters, rows)) return 0;
    auto* addrTable = reinterpret_cast<const MIB_IPADDRTABLE*>(rows.data());
    uint16_t n = 0;
    for (auto* a = reinterpret_cast<const IP_ADAPTER_INFO*>(adapters.data()); a && n < kZevAdapterTableSize;
         a = a->Next, ++n) {
        ZevAdapterRecord& r = table[n];
        CopyField(r.description, sizeof r.description, a->Description);
        CopyField(r.name, sizeof r.name, a->AdapterName);
        memcpy(r.mac, a->Address, 6);
        r.kind = AdapterKind(*a);
        if (const MIB_IPADDRROW* row = FindRow(addrTable, a->Index)) {
            memset(r.ip, 0, 60);
            FormatAddress(reinterpret_cast<const uint8_t*>(&row->dwAddr), r.ip, sizeof r.ip);
            FormatAddress(reinterpret_cast<const uint8_t*>(&row->dwMask), r.mask, sizeof r.mask);
            const char* gw = a->GatewayList.IpAddress.String;
            CopyField(r.gateway, sizeof r.gateway, *gw ? gw : "0.0.0.0");
        }
    }
    *count = n;
    return 1;
}

extern "C" uint8_t __cdecl LogonZevDevice(const ZevLogonTarget* target, int16_t* status, const char* adapterName) {
    if (!target || !status) return 0;
    OpLock lock;
    if (!SelectLocalAdapter(adapterName ? adapterName : "")) return 0;
    DeviceRequestPacket packet;
    Session session;
    // Clearing the session closes it, so an unanswered logon reports 0, not an old session's 1.
    memset(g_state.token, 0, sizeof g_state.token);
    memset(&g_session, 0, sizeof g_session);
    g_state.result = kResultNone;
    if (!BuildLogon(packet, g_seq, g_state.pcMac, *target, session)) {
        *status = kResultNone;
        return 1;
    }
    RunChannel(kCodeLogon, packet);
    if (g_state.result == kResultThisPc) {
        Sleep(3000);
        if (LogoffLocked() == 1) {
            Sleep(3000);
            RunChannel(kCodeLogon, packet);
        }
    }
    *status = int16_t(g_state.result);
    if (g_state.result == kResultLoggedOn) g_session = session;
    return 1;
}

extern "C" int __cdecl LogoffZevDevice(void) {
    OpLock lock;
    return LogoffLocked();
}

extern "C" int __cdecl SetZevConfig(const ZevConfigRecord* config) {
    if (!config) return 0;
    OpLock lock;
    if (!SessionOpen()) return 0;
    DeviceRequestPacket packet;
    if (!BuildSetup(packet, g_seq, g_state.pcMac, g_session, g_state.token, *config)) return 0;
    RunChannel(kCodeSetup, packet);
    if (g_state.result == kResultSettingAccepted) {
        g_state.result = kResultNone;
        memset(&g_session, 0, sizeof g_session);
        return 1;
    }
    if (!SessionOpen()) memset(&g_session, 0, sizeof g_session);
    return 0;
}

extern "C" uint8_t __cdecl GetZevAdvancedModes(ZevModesRecord* modes, int flag) {
    if (!modes) return 0;
    OpLock lock;
    for (uint16_t& m : modes->modes) m = 0xFFFF;
    if (flag == 1 && !SessionOpen()) {
        modes->count = 0;
        return 0;
    }
    DeviceRequestPacket packet;
    BuildQuery(packet, g_seq, g_state.pcMac, g_session, g_state.token, kSubKindModes, flag);
    RunChannel(kCodeModes, packet);
    modes->count = g_state.modes.count;
    for (int i = 0; i < g_state.modes.count; ++i) modes->modes[i] = g_state.modes.modes[i];
    return 1;
}

extern "C" uint8_t __cdecl GetZevAdvancedTimeInfo(ZevTimeInfo* info, int flag) {
    if (!info) return 0;
    OpLock lock;
    if (flag == 1 && !SessionOpen()) {
        FillDefaultTime(info);
        return 0;
    }
    DeviceRequestPacket packet;
    BuildQuery(packet, g_seq, g_state.pcMac, g_session, g_state.token, kSubKindTime, flag);
    g_state.expectedFlag = 1;
    memset(&g_state.time, 0, sizeof g_state.time);
    g_state.answered = false;
    RunChannel(kCodeTimeQuery, packet);
    if (g_state.answered)
        memcpy(reinterpret_cast<uint8_t*>(info) + 6, reinterpret_cast<uint8_t*>(&g_state.time) + 6, sizeof *info - 6);
    else
        FillDefaultTime(info);
    return 1;
}

extern "C" int __cdecl SetZevAdvancedTimeInfo(const ZevTimeInfo* info, int flag) {
    if (!info) return 0;
    OpLock lock;
    if (!SessionOpen()) return 0;
    DeviceRequestPacket packet;
    BuildSetTime(packet, g_seq, g_state.pcMac, g_session, g_state.token, *info, flag);
    g_state.expectedFlag = 1;
    g_state.answered = false;
    RunChannel(kCodeTimeSet, packet);
    return g_state.answered ? 1 : 0;
}

extern "C" int __cdecl fnTavik(void) { return 42; }

CTavik::CTavik() {}

CTavik& CTavik::operator=(const CTavik&) { return *this; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        InitializeCriticalSection(&g_opLock);
        srand(unsigned(time(nullptr)));
        int high = rand();
        g_seq = SeedSequence(high, rand());
        memset(&g_state, 0, sizeof g_state);
        memset(&g_session, 0, sizeof g_session);
        g_searchState = kSearchIdle;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // At process exit a killed thread may still own the lock: then skip the logoff.
        if (TryEnterCriticalSection(&g_opLock)) {
            LogoffLocked();
            LeaveCriticalSection(&g_opLock);
        }
    }
    return TRUE;
}
