// GetNetworkParams copied into an owned record.
#include "wizard/NetworkParams.h"
#include "wizard/WideNarrowString.h"

#include <new>
#include <vector>

CNetworkParams::CNetworkParams()
    : nodeType(0), routingEnabled(0), proxyEnabled(0), dnsEnabled(0)
{
    Query();
}

int CNetworkParams::Query()
{
    ULONG size = 0;
    GetNetworkParams(nullptr, &size);
    if (size == 0) return 0;
    std::vector<unsigned char> buffer;
    try {
        buffer.resize(size);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    auto* info = reinterpret_cast<FIXED_INFO*>(buffer.data());
    if (GetNetworkParams(info, &size) != ERROR_SUCCESS) return 0;
    hostName = CWideNarrowString(info->HostName, sizeof(info->HostName)).Wide();
    domainName = CWideNarrowString(info->DomainName, sizeof(info->DomainName)).Wide();
    currentDnsServer = info->CurrentDnsServer ? CIpAddressEntry(*info->CurrentDnsServer)
                                              : CIpAddressEntry();
    BuildAddressList(dnsServerList, &info->DnsServerList);
    nodeType = info->NodeType;
    scopeId = CWideNarrowString(info->ScopeId, sizeof(info->ScopeId)).Wide();
    routingEnabled = info->EnableRouting;
    proxyEnabled = info->EnableProxy;
    dnsEnabled = info->EnableDns;
    return 1;
}
