// IPv4 and MAC display texts and dotted-quad parsing, shared by every program of the kit.
#pragma once
#include <cstdint>
#include <string>

namespace afx {

// Four decimal numbers separated by dots, combined on 32 bits without range checks (host
// order); 0 when fewer than four numbers are read. Text after the fourth is ignored.
uint32_t ParseDottedQuad(const wchar_t* text);
uint32_t ParseDottedQuad(const char* text);
// The lenient reading of a record's address text: at most 19 characters, split at dots, each
// of the first four parts read as a number, a missing or unreadable part counting 0.
uint32_t ParseDottedParts(const char* text);

// "a.b.c.d", most significant byte first.
std::wstring FormatIpAddress(uint32_t address);
std::string FormatIpAddressA(uint32_t address);
// "AA:BB:CC-DD:EE:FF".
std::wstring FormatMacAddress(const uint8_t mac[6]);
std::string FormatMacAddressA(const uint8_t mac[6]);

}  // namespace afx
