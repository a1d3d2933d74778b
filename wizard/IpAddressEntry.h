// Owned copies of the address strings and address chains of the IP Helper structures.
#pragma once
#include <winsock2.h>
#include <iphlpapi.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The element copy keeps the system's layout: 40 bytes on 32-bit Windows.
static_assert(sizeof(IP_ADDRESS_STRING) == 16, "address string");
static_assert(offsetof(IP_ADDR_STRING, IpAddress) == sizeof(void*), "address chain element");
static_assert(sizeof(IP_ADDR_STRING) == (sizeof(void*) == 4 ? 40 : 48), "address chain element");

class CIpAddressText {
public:
    CIpAddressText();
    explicit CIpAddressText(const IP_ADDRESS_STRING& text);

    uint8_t raw[16];
    std::wstring text;
};

class CIpAddressEntry {
public:
    CIpAddressEntry();
    // Copies one element; its link is kept as bytes and never followed through the copy.
    explicit CIpAddressEntry(const IP_ADDR_STRING& element);

    IP_ADDR_STRING raw;
    CIpAddressText address;
    CIpAddressText mask;
    uint32_t context;
};

using CIpAddressList = std::vector<CIpAddressEntry>;

// Empties the list, then one entry per element from head to the end of the chain.
void BuildAddressList(CIpAddressList& list, const IP_ADDR_STRING* head);

// An address is usable unless its text is exactly "0.0.0.0".
bool IsUsableAddress(const CIpAddressEntry& entry);
// Lowest index above after (start with -1) of a usable entry, or -1.
int NextUsableAddress(const CIpAddressList& addresses, int after);
int CountUsableAddresses(const CIpAddressList& addresses);
