// Wire packet of the UDP port-65 device protocol and the records that cross Tavik's exports.
// Usable by any program of the kit: plain C++17, no Windows headers needed.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint16_t kDevicePort = 65;
constexpr size_t kPacketSize = 132;
constexpr size_t kReceiveBufferSize = 255;
constexpr int kZevTableSize = 50;
constexpr int kZevAdapterTableSize = 5;
constexpr int kZevModeCount = 30;
constexpr uint16_t kZevListRunning = 0xFFFF;
constexpr char kVendorTag[] = "Ostrand";
constexpr char kSearchText[] = "FROM-PC";

// Operation byte (offset 0).
enum : uint8_t {
    kOpSearch = 0,
    kOpSetup = 2,
    kOpLogon = 3,
    kOpLogoff = 4,
    kOpQueryAdvanced = 8,
    kOpSetAdvanced = 9,
    kOpAnswerKind1 = 1,
    kOpAnswerKind2 = 5,
    kOpAnswerKind3 = 6,
    kOpAnswerKind4 = 7,
    kOpAdvancedAnswer = 10,
};

enum : uint16_t { kSubKindModes = 0, kSubKindTime = 1 };

#pragma pack(push, 1)
struct DeviceRequestPacket {
    uint8_t operation;      // 0
    uint8_t transactionId[4];  // 1, big-endian, unaligned
    uint8_t status;         // 5
    uint8_t type[2];        // 6, big-endian
    uint8_t pcMac[6];       // 8
    uint8_t address[4];     // 14, network order
    uint8_t mask[4];        // 18
    uint8_t gateway[4];     // 22
    uint8_t word[2];        // 26, big-endian
    uint8_t deviceMac[6];   // 28
    uint8_t text[65];       // 34; advanced-data block in operations 8, 9, 10
    uint8_t auth[16];       // 99
    uint8_t vendor[17];     // 115
};

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

struct ZevAdapterRecord {
    char description[256];
    char name[256];
    uint8_t mac[6];
    char ip[20];
    char mask[20];
    char gateway[20];
    uint8_t kind;
};

struct ZevModesRecord {
    uint8_t count;
    uint16_t modes[kZevModeCount];
};

struct ZevTimeInfo {
    uint8_t unused[6];
    uint16_t year;
    uint8_t month, day, hour, minute, second;
    uint8_t addressFlag;
    uint8_t further[20];
    uint8_t settingA, settingB;
};

struct ZevLogonTarget {
    uint8_t mac[6];
    uint8_t kind;
    char name[65];
    char password[30];
    uint8_t base64;
};

struct ZevConfigRecord {
    uint8_t unused[6];
    char name[65];
    uint32_t dhcp;
    char ip[20];
    char mask[20];
    char gateway[20];
};
#pragma pack(pop)

// Every field pinned, so both architectures build the same bytes.
#define TAVIK_PIN(T, field, offset) static_assert(offsetof(T, field) == (offset), #T "." #field)
static_assert(sizeof(DeviceRequestPacket) == 132, "DeviceRequestPacket size");
TAVIK_PIN(DeviceRequestPacket, operation, 0); TAVIK_PIN(DeviceRequestPacket, transactionId, 1);
TAVIK_PIN(DeviceRequestPacket, status, 5); TAVIK_PIN(DeviceRequestPacket, type, 6);
TAVIK_PIN(DeviceRequestPacket, pcMac, 8); TAVIK_PIN(DeviceRequestPacket, address, 14);
TAVIK_PIN(DeviceRequestPacket, mask, 18); TAVIK_PIN(DeviceRequestPacket, gateway, 22);
TAVIK_PIN(DeviceRequestPacket, word, 26); TAVIK_PIN(DeviceRequestPacket, deviceMac, 28);
TAVIK_PIN(DeviceRequestPacket, text, 34); TAVIK_PIN(DeviceRequestPacket, auth, 99);
TAVIK_PIN(DeviceRequestPacket, vendor, 115);
static_assert(sizeof(ZevDeviceRecord) == 138, "ZevDeviceRecord size");
TAVIK_PIN(ZevDeviceRecord, name, 0); TAVIK_PIN(ZevDeviceRecord, kind, 65);
TAVIK_PIN(ZevDeviceRecord, mac, 66); TAVIK_PIN(ZevDeviceRecord, dhcp, 72);
TAVIK_PIN(ZevDeviceRecord, ip, 76); TAVIK_PIN(ZevDeviceRecord, mask, 96);
TAVIK_PIN(ZevDeviceRecord, gateway, 116); TAVIK_PIN(ZevDeviceRecord, state, 136);
TAVIK_PIN(ZevDeviceRecord, base64, 137);
static_assert(sizeof(ZevAdapterRecord) == 579, "ZevAdapterRecord size");
TAVIK_PIN(ZevAdapterRecord, description, 0); TAVIK_PIN(ZevAdapterRecord, name, 256);
TAVIK_PIN(ZevAdapterRecord, mac, 512); TAVIK_PIN(ZevAdapterRecord, ip, 518);
TAVIK_PIN(ZevAdapterRecord, mask, 538); TAVIK_PIN(ZevAdapterRecord, gateway, 558);
TAVIK_PIN(ZevAdapterRecord, kind, 578);
static_assert(sizeof(ZevModesRecord) == 61, "ZevModesRecord size");
TAVIK_PIN(ZevModesRecord, count, 0); TAVIK_PIN(ZevModesRecord, modes, 1);
static_assert(sizeof(ZevTimeInfo) == 36, "ZevTimeInfo size");
TAVIK_PIN(ZevTimeInfo, unused, 0); TAVIK_PIN(ZevTimeInfo, year, 6); TAVIK_PIN(ZevTimeInfo, month, 8);
TAVIK_PIN(ZevTimeInfo, day, 9); TAVIK_PIN(ZevTimeInfo, hour, 10); TAVIK_PIN(ZevTimeInfo, minute, 11);
TAVIK_PIN(ZevTimeInfo, second, 12); TAVIK_PIN(ZevTimeInfo, addressFlag, 13);
TAVIK_PIN(ZevTimeInfo, further, 14); TAVIK_PIN(ZevTimeInfo, settingA, 34);
TAVIK_PIN(ZevTimeInfo, settingB, 35);
static_assert(sizeof(ZevLogonTarget) == 103, "ZevLogonTarget size");
TAVIK_PIN(ZevLogonTarget, mac, 0); TAVIK_PIN(ZevLogonTarget, kind, 6); TAVIK_PIN(ZevLogonTarget, name, 7);
TAVIK_PIN(ZevLogonTarget, password, 72); TAVIK_PIN(ZevLogonTarget, base64, 102);
static_assert(sizeof(ZevConfigRecord) == 135, "ZevConfigRecord size");
TAVIK_PIN(ZevConfigRecord, unused, 0); TAVIK_PIN(ZevConfigRecord, name, 6);
TAVIK_PIN(ZevConfigRecord, dhcp, 71); TAVIK_PIN(ZevConfigRecord, ip, 75);
TAVIK_PIN(ZevConfigRecord, mask, 95); TAVIK_PIN(ZevConfigRecord, gateway, 115);
#undef TAVIK_PIN
