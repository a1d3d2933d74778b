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

static_assert(sizeof(DeviceRequestPacket) == 132, "packet layout");
static_assert(offsetof(DeviceRequestPacket, text) == 34 && offsetof(DeviceRequestPacket, auth) == 99 &&
              offsetof(DeviceRequestPacket, vendor) == 115, "packet offsets");
static_assert(sizeof(ZevDeviceRecord) == 138, "device record layout");
static_assert(offsetof(ZevDeviceRecord, dhcp) == 72 && offsetof(ZevDeviceRecord, state) == 136, "device record");
static_assert(sizeof(ZevAdapterRecord) == 579, "adapter record layout");
static_assert(offsetof(ZevAdapterRecord, kind) == 578, "adapter record");
static_assert(sizeof(ZevModesRecord) == 61, "modes record layout");
static_assert(sizeof(ZevTimeInfo) == 36, "time record layout");
static_assert(offsetof(ZevTimeInfo, year) == 6 && offsetof(ZevTimeInfo, addressFlag) == 13 &&
              offsetof(ZevTimeInfo, settingA) == 34, "time record");
static_assert(sizeof(ZevLogonTarget) == 103, "logon target layout");
static_assert(offsetof(ZevLogonTarget, password) == 72 && offsetof(ZevLogonTarget, base64) == 102, "logon target");
static_assert(sizeof(ZevConfigRecord) == 135, "config record layout");
static_assert(offsetof(ZevConfigRecord, dhcp) == 71 && offsetof(ZevConfigRecord, ip) == 75 &&
              offsetof(ZevConfigRecord, gateway) == 115, "config record");
