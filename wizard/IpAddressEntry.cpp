// Copies of IP Helper address strings and chains, and the usable-address rule.
#include "wizard/IpAddressEntry.h"
#include "wizard/WideNarrowString.h"

#include <cstring>

CIpAddressText::CIpAddressText()
{
    std::memset(raw, 0, sizeof(raw));
}

CIpAddressText::CIpAddressText(const IP_ADDRESS_STRING& source)
{
    std::memcpy(raw, source.String, sizeof(raw));
    // The system terminates the text, but a full field must not run past its end.
    text = CWideNarrowString(source.String, sizeof(source.String)).Wide();
}

CIpAddressEntry::CIpAddressEntry() : context(0)
{
    std::memset(&raw, 0, sizeof(raw));
}

CIpAddressEntry::CIpAddressEntry(const IP_ADDR_STRING& element)
    : address(element.IpAddress), mask(element.IpMask), context(element.Context)
{
    std::memcpy(&raw, &element, sizeof(raw));
}

void BuildAddressList(CIpAddressList& list, const IP_ADDR_STRING* head)
{
    list.clear();
    for (const IP_ADDR_STRING* element = head; element; element = element->Next)
        list.emplace_back(*element);
}

bool IsUsableAddress(const CIpAddressEntry& entry)
{
    return entry.address.text != L"0.0.0.0";
}

int NextUsableAddress(const CIpAddressList& addresses, int after)
{
    for (size_t i = after < 0 ? 0 : static_cast<size_t>(after) + 1; i < addresses.size(); ++i)
        if (IsUsableAddress(addresses[i])) return static_cast<int>(i);
    return -1;
}

int CountUsableAddresses(const CIpAddressList& addresses)
{
    int count = 0;
    for (int i = NextUsableAddress(addresses, -1); i >= 0; i = NextUsableAddress(addresses, i))
        ++count;
    return count;
}
