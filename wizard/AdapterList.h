// The PC's network adapters as GetAdaptersInfo gives them, and which of them can reach a device.
#pragma once
#include "wizard/IpAddressEntry.h"
#include <cstdint>
#include <string>
#include <vector>

class CAdapterEntry {
public:
    CAdapterEntry();
    explicit CAdapterEntry(const IP_ADAPTER_INFO& info);

    IP_ADAPTER_INFO raw;
    uint32_t comboIndex;
    std::wstring adapterName;
    std::wstring description;  // shown to the user
    std::vector<uint8_t> hardwareAddress;
    uint32_t index;
    uint32_t type;
    uint32_t dhcpEnabled;
    CIpAddressEntry currentAddress;
    CIpAddressList addressList;
    CIpAddressList gatewayList;
    CIpAddressEntry dhcpServer;
    uint32_t winsPresent;
    CIpAddressEntry primaryWinsServer;
    CIpAddressEntry secondaryWinsServer;
    int64_t leaseObtained;
    int64_t leaseExpires;
};

class CAdapterList {
public:
    // Enumerates at once.
    CAdapterList();
    // 1 when the system gave its adapters (the list replaced); 0 keeps the list as it was.
    int Enumerate();

    std::vector<CAdapterEntry> entries;
};

// An adapter is usable when its address list holds a usable address.
bool IsUsableAdapter(const CAdapterEntry& adapter);
// Lowest index above after (start with -1) of a usable adapter, or -1.
int NextUsableAdapter(const CAdapterList& list, int after);
int CountUsableAdapters(const CAdapterList& list);
