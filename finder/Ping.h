// One ICMP echo to a named host, its name resolved under the resolver mutex.
#pragma once
#include <windows.h>

// 0 answered, -1 no answer; 1 no sockets, 2 name not resolved, 3 no ICMP.DLL,
// 4 an ICMP function missing, 5 no ICMP handle, 6 no reply buffer.
int PingHost(const char* host, HANDLE resolverMutex);
