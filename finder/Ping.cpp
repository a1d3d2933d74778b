// The finder's quick way: resolve the device name and send it one ICMP echo.
#include "finder/Ping.h"
#include <winsock2.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include "afx/Handle.h"
#include "afx/SystemFiles.h"
#include <cstring>
#include <vector>

using IcmpCreateFileFn = HANDLE(WINAPI*)();
using IcmpCloseHandleFn = BOOL(WINAPI*)(HANDLE);
using IcmpSendEchoFn = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID,
                                      DWORD, DWORD);

static int Resolve(const char* host, HANDLE resolverMutex, IPAddr& address)
{
    WaitForSingleObject(resolverMutex, INFINITE);
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) {
        ReleaseMutex(resolverMutex);
        return 1;
    }
    int result = 2;
    const hostent* h = gethostbyname(host);
    if (h && h->h_addrtype == AF_INET && h->h_length == 4 && h->h_addr_list && h->h_addr_list[0]) {
        std::memcpy(&address, h->h_addr_list[0], 4);
        result = 0;
    }
    WSACleanup();
    ReleaseMutex(resolverMutex);
    return result;
}

int PingHost(const char* host, HANDLE resolverMutex)
{
    IPAddr address = 0;
    if (int r = Resolve(host, resolverMutex, address))
        return r;
    // From the system folder only: a file of that name beside the finder must not stand in.
    afx::CLibrary icmp(afx::LoadSystemLibrary(L"ICMP.DLL"));
    if (!icmp.IsValid())
        return 3;
    auto create = reinterpret_cast<IcmpCreateFileFn>(GetProcAddress(icmp, "IcmpCreateFile"));
    auto close = reinterpret_cast<IcmpCloseHandleFn>(GetProcAddress(icmp, "IcmpCloseHandle"));
    auto send = reinterpret_cast<IcmpSendEchoFn>(GetProcAddress(icmp, "IcmpSendEcho"));
    if (!create || !close || !send)
        return 4;
    // The ICMP handle is closed by the library's own call, before the library goes.
    struct IcmpHandle {
        HANDLE h;
        IcmpCloseHandleFn close;
        ~IcmpHandle() { close(h); }
    };
    HANDLE h = create();
    if (h == INVALID_HANDLE_VALUE)
        return 5;
    IcmpHandle owner{h, close};
    char data[64];
    std::memset(data, 0xAA, sizeof(data));
    // Room for one reply of this build's layout, the echoed data and an ICMP error's 8 bytes.
    std::vector<char> reply;
    try {
        reply.resize(sizeof(ICMP_ECHO_REPLY) + sizeof(data) + 8);
    } catch (...) {
        return 6;
    }
    DWORD replies = send(h, address, data, sizeof(data), nullptr, reply.data(), DWORD(reply.size()), 5000);
    // An error report of a router on the way is no answer of the host.
    bool answered = replies > 0 && reinterpret_cast<const ICMP_ECHO_REPLY*>(reply.data())->Status == IP_SUCCESS;
    return answered ? 0 : -1;
}
