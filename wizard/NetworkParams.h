// The PC-wide network parameters (host name, DNS servers) from GetNetworkParams.
#pragma once
#include "wizard/IpAddressEntry.h"
#include <cstdint>
#include <string>

class CNetworkParams {
public:
    // Queries at once.
    CNetworkParams();
    // 1 when the system answered; 0 leaves the record as it was.
    int Query();

    std::wstring hostName;
    std::wstring domainName;
    CIpAddressEntry currentDnsServer;
    CIpAddressList dnsServerList;
    uint32_t nodeType;
    std::wstring scopeId;
    uint32_t routingEnabled;
    uint32_t proxyEnabled;
    uint32_t dnsEnabled;
};
