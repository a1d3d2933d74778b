// The PC's own IPv4 addresses as the system lists them, loopback left out.
#pragma once
#include <winsock2.h>
#include <iphlpapi.h>
#include <cstdint>

struct HostAddressRow {
    uint32_t address;    // network order, as the system reports it
    uint32_t mask;
    uint32_t broadcast;
    uint32_t interfaceIndex;
};

struct HostAddressTable {
    static constexpr int kMaxRows = 9;
    HostAddressRow rows[kMaxRows] = {};
    int count = 0;

    // Reads the system's address table (sorted) again. Rows for 127.0.0.1 are dropped and at
    // most kMaxRows kept. When the system cannot answer, the table keeps what it held; false.
    bool Refresh();
    // Takes the rows of a system table (for Refresh and its tests).
    void Assign(const MIB_IPADDRROW* rows, DWORD count);
};
