// The PC's adapters as GetAdaptersInfo gives them, and what the logon flow takes from them.
#pragma once
#include <winsock2.h>
#include <iphlpapi.h>
#include <cstdint>
#include <vector>

// The IP_ADAPTER_INFO chain in an owned buffer, or an empty buffer when it cannot be read.
std::vector<uint8_t> ReadAdapters();
// The chain's first and last adapters; nullptr for an empty chain.
const IP_ADAPTER_INFO* FirstAdapter(const std::vector<uint8_t>& buffer);
const IP_ADAPTER_INFO* LastAdapter(const IP_ADAPTER_INFO* adapters);

// The PC speaks with the smallest MAC of its adapters (six bytes compared unsigned); adapters
// whose hardware address is not six bytes long are skipped. mac is kept when none has one.
void TakeSmallestAdapterMac(const IP_ADAPTER_INFO* adapters, uint8_t mac[6]);
// The warnings (string ids, in order) for a device whose address, or gateway unless it is a
// storage device, is the PC's address: the first address of the last adapter.
std::vector<unsigned> AddressConflictWarnings(const IP_ADAPTER_INFO* adapters, uint32_t address,
                                              uint32_t gateway, int kind);
