// The adapter list from GetAdaptersInfo and the usable-adapter rule.
#include "wizard/AdapterList.h"
#include "wizard/SizedQuery.h"
#include "wizard/WideNarrowString.h"

#include <cstring>
#include <new>
#include <vector>

CAdapterEntry::CAdapterEntry()
    : comboIndex(0), index(0), type(0), dhcpEnabled(0), winsPresent(0), leaseObtained(0),
      leaseExpires(0)
{
    std::memset(&raw, 0, sizeof(raw));
}

CAdapterEntry::CAdapterEntry(const IP_ADAPTER_INFO& info)
    : comboIndex(info.ComboIndex),
      adapterName(CWideNarrowString(info.AdapterName, sizeof(info.AdapterName)).Wide()),
      description(CWideNarrowString(info.Description, sizeof(info.Description)).Wide()),
      index(info.Index), type(info.Type), dhcpEnabled(info.DhcpEnabled),
      dhcpServer(info.DhcpServer), winsPresent(info.HaveWins),
      primaryWinsServer(info.PrimaryWinsServer), secondaryWinsServer(info.SecondaryWinsServer),
      leaseObtained(info.LeaseObtained), leaseExpires(info.LeaseExpires)
{
    std::memcpy(&raw, &info, sizeof(raw));
    // A length beyond the field would read past it.
    size_t length = info.AddressLength < sizeof(info.Address) ? info.AddressLength : sizeof(info.Address);
    hardwareAddress.assign(info.Address, info.Address + length);
    if (info.CurrentIpAddress) currentAddress = CIpAddressEntry(*info.CurrentIpAddress);
    BuildAddressList(addressList, &info.IpAddressList);
    BuildAddressList(gatewayList, &info.GatewayList);
}

CAdapterList::CAdapterList()
{
    Enumerate();
}

int CAdapterList::Enumerate()
{
    std::vector<unsigned char> buffer = QuerySized([](unsigned char* b, ULONG* size) {
        return GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(b), size);
    });
    if (buffer.empty()) return 0;
    auto* head = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
    entries.clear();
    for (const IP_ADAPTER_INFO* info = head; info; info = info->Next) entries.emplace_back(*info);
    return 1;
}

bool IsUsableAdapter(const CAdapterEntry& adapter)
{
    return NextUsableAddress(adapter.addressList, -1) >= 0;
}

int NextUsableAdapter(const CAdapterList& list, int after)
{
    for (size_t i = after < 0 ? 0 : static_cast<size_t>(after) + 1; i < list.entries.size(); ++i)
        if (IsUsableAdapter(list.entries[i])) return static_cast<int>(i);
    return -1;
}

int CountUsableAdapters(const CAdapterList& list)
{
    int count = 0;
    for (int i = NextUsableAdapter(list, -1); i >= 0; i = NextUsableAdapter(list, i)) ++count;
    return count;
}
