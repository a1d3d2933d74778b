// The PC's own IPv4 addresses as the system lists them, loopback left out.
#include <winsock2.h>
#include <iphlpapi.h>
#include "netsetter/HostAddressTable.h"

bool HostAddressTable::Refresh()
{
    // Room for about a hundred rows, as the program always asked for.
    alignas(8) unsigned char buffer[2400];
    ULONG size = sizeof(buffer);
    auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(buffer);
    if (GetIpAddrTable(table, &size, TRUE) != NO_ERROR)
        return false;
    Assign(table->table, table->dwNumEntries);
    return true;
}

void HostAddressTable::Assign(const MIB_IPADDRROW* list, DWORD n)
{
    const uint32_t loopback = htonl(INADDR_LOOPBACK);
    count = 0;
    for (DWORD i = 0; i < n && count < kMaxRows; ++i) {
        if (list[i].dwAddr == loopback)
            continue;
        rows[count++] = {list[i].dwAddr, list[i].dwMask, list[i].dwBCastAddr, list[i].dwIndex};
    }
}
