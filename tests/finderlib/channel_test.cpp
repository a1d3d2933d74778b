// The channel's lifetime over many operations, and the library's exports when loaded by name.
#include "finderlib/Tavik.h"
#include "finderlib/TavikChannel.h"
#include "tests/support/DevSimClient.h"

#include <winsock2.h>
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>

using namespace tavik;

namespace {

int ThreadCount() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 e = {};
    e.dwSize = sizeof e;
    int n = 0;
    for (BOOL ok = Thread32First(snap, &e); ok; ok = Thread32Next(snap, &e))
        if (e.th32OwnerProcessID == GetCurrentProcessId()) ++n;
    CloseHandle(snap);
    return n;
}

DWORD HandleCount() { DWORD n = 0; return GetProcessHandleCount(GetCurrentProcess(), &n) ? n : 0; }

bool Port65Free() {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local = {AF_INET, htons(65), {}, {}};
    bool ok = bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
    closesocket(s);
    return ok;
}

class Channel : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DevSimClient::Available()) GTEST_SKIP() << "no test network";
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    void TearDown() override { WSACleanup(); }
    DevSimClient sim;
};

// A thousand operations, some ended by an answer and some by closing the socket under a blocked
// receive: every receive thread ends, and no handle is left behind.
TEST_F(Channel, AThousandOperationsLeaveNoThreadOrHandle) {
    ASSERT_TRUE(sim.Load("{\"devices\":[{\"modes\":[7,8],\"time_flag\":0}]}")) << sim.Error();
    g_timings = ChannelTimings{1, 1, 300, 200};
    const uint8_t pcMac[6] = {2, 0, 0, 0, 0, 9};
    const uint8_t token[16] = {};
    Session none = {};
    uint32_t seq = 1;
    DeviceRequestPacket packet;
    int answered = 0, timedOut = 0, threads = 0;
    DWORD handles = 0;
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
        if (i % 50 == 49) {  // the device answers with flag 0 only: nothing is accepted
            BuildQuery(packet, seq, pcMac, none, token, kSubKindTime, 0);
            g_state.expectedFlag = 1;
            g_state.answered = false;
            RunChannel(kCodeTimeQuery, packet);
            timedOut += g_state.answered ? 0 : 1;
        } else {
            BuildQuery(packet, seq, pcMac, none, token, kSubKindModes, 0);
            memset(&g_state.modes, 0, sizeof g_state.modes);
            RunChannel(kCodeModes, packet);
            answered += g_state.modes.count == 2 && g_state.modes.modes[1] == 8;
        }
        if (i == 9) {
            threads = ThreadCount();
            handles = HandleCount();
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    printf("MEASURE 1000 channel operations in %.1f s: %d answered, %d ended by close\n", seconds, answered, timedOut);
    EXPECT_EQ(answered, 980);
    EXPECT_EQ(timedOut, 20);
    EXPECT_EQ(ThreadCount(), threads);
    EXPECT_LE(HandleCount(), handles + 4);
    EXPECT_TRUE(Port65Free());
    g_timings = ChannelTimings{};
}

TEST_F(Channel, ExportsByNameAndOrdinalAndUnloadDuringSearch) {
    ASSERT_TRUE(sim.Load("{\"generate\":{\"count\":3},\"faults\":{\"late_ms\":5400}}")) << sim.Error();
    HMODULE dll = LoadLibraryW(L"Tavik.dll");
    ASSERT_NE(dll, nullptr);
    const char* names[] = {"_ZN6CTavikC1Ev", "_ZN6CTavikaSERKS_", "GetZevAdapterList", "GetZevAdvancedModes",
                           "GetZevAdvancedTimeInfo", "GetZevList", "LogoffZevDevice", "LogonZevDevice",
                           "SetZevAdvancedTimeInfo", "SetZevConfig", "fnTavik", "nTavik"};
    for (int ordinal = 1; ordinal <= 12; ++ordinal) {
        FARPROC byName = GetProcAddress(dll, names[ordinal - 1]);
        EXPECT_NE(byName, nullptr) << names[ordinal - 1];
        EXPECT_EQ(byName, GetProcAddress(dll, MAKEINTRESOURCEA(ordinal))) << names[ordinal - 1];
    }
    auto getList = reinterpret_cast<PFN_GetZevList>(GetProcAddress(dll, "GetZevList"));
    ZevDeviceRecord table[kZevTableSize] = {};
    uint16_t count = 0;
    ASSERT_EQ(getList(table, &count), 1);
    EXPECT_EQ(count, kZevListRunning);
    // Unloading while the search runs: the search thread keeps the code mapped until it ends.
    FreeLibrary(dll);
    EXPECT_NE(GetModuleHandleW(L"Tavik.dll"), nullptr);
    auto t0 = std::chrono::steady_clock::now();
    while (GetModuleHandleW(L"Tavik.dll") && std::chrono::steady_clock::now() - t0 < std::chrono::seconds(15))
        Sleep(100);
    EXPECT_EQ(GetModuleHandleW(L"Tavik.dll"), nullptr);
    EXPECT_TRUE(Port65Free());
}

}  // namespace
