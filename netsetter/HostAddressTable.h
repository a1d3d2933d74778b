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

// Host order.
struct PcAddress {
    uint32_t address, mask;
};
// The PC's address and mask on the device's network, rows visited in order: a row on the
// device's network decides and ends the visit; any other row takes its own values when its
// network overlaps the device's under both masks, else those of the first row with an address.
// So without an exact match the last row decides; no rows give 255.255.255.255 / 128.0.0.0.
PcAddress ChoosePcAddress(const HostAddressTable& hosts, uint32_t deviceAddress, uint32_t deviceMask);
