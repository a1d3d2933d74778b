// The PC's adapters as GetAdaptersInfo gives them, for the setter's dialogs.
#pragma once
#include <cstdint>
#include <vector>

// The IP_ADAPTER_INFO chain in an owned buffer, or an empty buffer when it cannot be read.
std::vector<uint8_t> ReadAdapters();
