// GetNetworkParams copied into an owned record.
#include "wizard/NetworkParams.h"
#include "wizard/SizedQuery.h"
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
    std::vector<unsigned char> buffer = QuerySized([](unsigned char* b, ULONG* size) {
        return GetNetworkParams(reinterpret_cast<FIXED_INFO*>(b), size);
    });
    if (buffer.empty()) return 0;
    auto* info = reinterpret_cast<FIXED_INFO*>(buffer.data());
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
