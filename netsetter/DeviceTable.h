// The found devices: eight buckets of whole answers and the sorted table the list is filled from.
// Plain code, no windows: any answer, of any length or content, is taken or dropped safely.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "devicelist/NameChars.h"
#include "finderlib/TavikPacket.h"

#pragma pack(push, 1)
// One row of the device list, in host byte order; the setting flow works on a copy of one.
struct DeviceTableEntry {
    uint8_t mac[6];        // answer bytes 28-33
    uint16_t addressType;  // 1 static address, else DHCP
    uint32_t address;
    uint32_t mask;
    uint32_t gateway;
    uint16_t webPort;
    char name[31];         // at most 30 bytes and the terminator
    uint8_t op;            // answer operation 1, 5, 6 or 7
    uint8_t kind;          // 0-3 for ops 1, 5, 6, 7; 3 is a storage device
    uint16_t changeFlags;  // working copy only: kChangeClock asks for the clock to be set
    uint8_t protectedFlag; // logs on with the Base64 method and a session token
};
#pragma pack(pop)

static_assert(sizeof(DeviceTableEntry) == 58, "device table entry layout");
static_assert(offsetof(DeviceTableEntry, addressType) == 6 && offsetof(DeviceTableEntry, address) == 8 &&
              offsetof(DeviceTableEntry, mask) == 12 && offsetof(DeviceTableEntry, gateway) == 16 &&
              offsetof(DeviceTableEntry, webPort) == 20 && offsetof(DeviceTableEntry, name) == 22 &&
              offsetof(DeviceTableEntry, op) == 53 && offsetof(DeviceTableEntry, kind) == 54 &&
              offsetof(DeviceTableEntry, changeFlags) == 55 && offsetof(DeviceTableEntry, protectedFlag) == 57,
              "device table entry offsets");

constexpr uint16_t kChangeClock = 4;
constexpr uint8_t kKindStorage = 3;
constexpr int kBucketCount = 8;
// The status byte of a search answer from a device that is not ready for settings.
constexpr uint8_t kStatusNotReady = 4;

// Quentari's kind of an answer operation, -1 for an operation that is no device answer.
int DeviceKindOfOp(uint8_t op);

// -1, 0 or 1: mode 0 compares zero-terminated byte strings as unsigned bytes (a common prefix
// makes the shorter one smaller), mode 1 six bytes; any other mode gives 0.
int CompareDeviceKeys(int mode, const uint8_t* a, const uint8_t* b);

// The pending operations that make a known device's answer count (the request ops).
constexpr int kReplyPendingSetup = 2;
constexpr int kReplyPendingLogon = 3;

struct ReplyOutcome {
    enum What { Dropped, Added, Known, SetupAnswer, LogonAnswer } what = Dropped;
    bool restartSearch = false;  // the selected device answered ready again
    uint8_t status = 0;          // setup status or logon result
    uint8_t token[16] = {};      // logon token
};

// The text of a row's name column: for a storage device with its quotes escaped, cut at a
// question mark behind the first character, in which case `domainMode` asks for the notice.
// Names are walked by character, so a trail byte is never escaped and no half character shown.
struct ListName {
    std::string text;
    bool domainMode = false;
};
ListName DeviceListName(const DeviceTableEntry& entry, const LeadByteTest& isLeadByte = nullptr);

class CDeviceModel {
public:
    // Takes one answer (`length` bytes; missing bytes count as zero) while `pendingOp` is
    // pending; `selectedMac` is the device the user set last, all zero for none.
    ReplyOutcome OnReply(const uint8_t* data, size_t length, int pendingOp, const uint8_t selectedMac[6]);
    void Clear();
    int CountDevices() const;
    // Rebuilds the sorted table (name, then MAC); true when the selected device is ready again.
    bool BuildDeviceTable(const uint8_t selectedMac[6]);
    const std::vector<DeviceTableEntry>& Table() const { return m_table; }
    bool IsStorageDevice(int index) const;
    // The stored answer of the device with this MAC, nullptr when none.
    const DeviceRequestPacket* Find(const uint8_t mac[6]) const;

private:
    std::vector<DeviceRequestPacket> m_buckets[kBucketCount];
    std::vector<DeviceTableEntry> m_table;
};
