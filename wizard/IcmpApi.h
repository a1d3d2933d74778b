// ICMP echo bound at run time: each function from iphlpapi.dll when it exports it, else icmp.dll.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

class CIcmpApi {
public:
    CIcmpApi();
    ~CIcmpApi();
    CIcmpApi(const CIcmpApi&) = delete;
    CIcmpApi& operator=(const CIcmpApi&) = delete;

    // One echo request with a 1000 ms time-out; the number of replies IcmpSendEcho stored
    // (any status counts), 0 when nothing answered or no request could be made. replyCopy,
    // when given, receives the echo reply header.
    int SendEcho(const wchar_t* destination, const wchar_t* data, ICMP_ECHO_REPLY* replyCopy);

private:
    typedef HANDLE(WINAPI* CreateFileFn)();
    typedef BOOL(WINAPI* CloseHandleFn)(HANDLE);
    typedef DWORD(WINAPI* SendEchoFn)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION,
                                      LPVOID, DWORD, DWORD);

    HMODULE m_iphlpapi;
    HMODULE m_icmp;
    CreateFileFn m_createFile;
    SendEchoFn m_sendEcho;
    CloseHandleFn m_closeHandle;
    HANDLE m_handle;
};
