// The device record of the library's search table, as the finder reads it.
#pragma once
#include <cstdint>

#pragma pack(push, 1)
struct ZevDeviceRecord {
    char name[65];
    uint8_t kind;
    uint8_t mac[6];
    uint32_t dhcp;
    char ip[20];
    char mask[20];
    char gateway[20];
    uint8_t state;
    uint8_t base64;
};
#pragma pack(pop)
static_assert(sizeof(ZevDeviceRecord) == 138, "record layout");

constexpr int kZevTableSize = 50;
