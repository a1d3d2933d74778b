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

PcAddress ChoosePcAddress(const HostAddressTable& hosts, uint32_t a, uint32_t m)
{
    PcAddress pc = {0xFFFFFFFFu, 0x80000000u};
    for (int i = 0; i < hosts.count; ++i) {
        uint32_t ra = ntohl(hosts.rows[i].address), rm = ntohl(hosts.rows[i].mask);
        if ((ra & rm) == (a & m))
            return {ra, rm};
        if ((rm & m & ra) != 0 && (rm & m & ra) == (rm & m & a)) {
            pc = {ra, rm};
            continue;
        }
        for (int j = 0; j < hosts.count; ++j)
            if (hosts.rows[j].address != 0) {
                pc = {ntohl(hosts.rows[j].address), ntohl(hosts.rows[j].mask)};
                break;
            }
    }
    return pc;
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
