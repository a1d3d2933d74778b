// Found devices: the eight MAC buckets, the sorted entry table and the name match. Plain code,
// no Windows headers (the code page's lead bytes come from finder/CodePage.h), so it is fuzzed natively.
#pragma once
#include "devicelist/NameChars.h"
#include "finder/ZevRecord.h"
#include <cstdint>
#include <string>
#include <vector>

// The first run of a name without "@", walked by character so that a second byte 0x40 is no
// at sign; empty when the name has none.
std::string MatchKey(const std::string& name, const LeadByteTest& isLeadByte);

class CDevice {
public:
    explicit CDevice(const ZevDeviceRecord& record) : m_record(record) {}
    const ZevDeviceRecord& Record() const { return m_record; }
    // The record's name, read only within its field.
    std::string Name() const;

private:
    ZevDeviceRecord m_record;
};

struct DeviceEntry {
    uint8_t mac[6];
    uint32_t ip;
    uint32_t mask;
    // Kept whole (records carry at most 64 bytes), so long names neither overflow nor match falsely.
    std::string name;
    bool base64;
    std::string ipText, maskText, gatewayText;
    uint8_t state;
};

class DeviceBuckets {
public:
    static const int kBuckets = 8;
    // Takes the table's records up to the first nameless one; a MAC already held is skipped.
    void Merge(const ZevDeviceRecord* table, int count = kZevTableSize);
    void Clear();
    size_t Size() const;
    // Every device, sorted by name byte-wise, equal names by MAC.
    std::vector<DeviceEntry> BuildEntryTable() const;

private:
    std::vector<CDevice> m_buckets[kBuckets];
};

// Index of the first entry whose match key equals the target and whose state is 1; -1 if none.
int FindMatch(const std::vector<DeviceEntry>& entries, const std::string& target, const LeadByteTest& isLeadByte);

// Shell targets of the openers.
std::string ShareTarget(const std::string& nameOrAddress);
std::string WebTargetByName(const std::string& name);
std::string WebTargetByAddress(uint32_t address);
