// The finder's device buckets, the sorted device-entry table and the name match.
#include "finder/DeviceTable.h"
#include "afx/AddressText.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

static std::string FieldText(const char* field, size_t size)
{
    const void* nul = std::memchr(field, 0, size);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : size);
}

std::string MatchKey(const std::string& name, const LeadByteTest& isLeadByte)
{
    size_t start = name.find_first_not_of('@');  // no lead byte is an at sign
    if (start == std::string::npos)
        return std::string();
    size_t end = FindSingleByteChar(name, '@', isLeadByte, start);
    return name.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string CDevice::Name() const
{
    // Byte 64 is never written by the library; the name ends within 64 bytes.
    return FieldText(m_record.name, sizeof(m_record.name) - 1);
}

void DeviceBuckets::Merge(const ZevDeviceRecord* table, int count)
{
    if (!table)
        return;
    for (int i = 0; i < count && i < kZevTableSize; ++i) {
        const ZevDeviceRecord& r = table[i];
        if (r.name[0] == '\0')
            break;
        std::vector<CDevice>& bucket = m_buckets[r.mac[5] & 7];
        bool known = std::any_of(bucket.begin(), bucket.end(), [&](const CDevice& d) {
            return std::memcmp(d.Record().mac, r.mac, 6) == 0;
        });
        if (!known)
            bucket.emplace_back(r);
    }
}

void DeviceBuckets::Clear()
{
    for (auto& b : m_buckets)
        b.clear();
}

size_t DeviceBuckets::Size() const
{
    size_t n = 0;
    for (const auto& b : m_buckets)
        n += b.size();
    return n;
}

std::vector<DeviceEntry> DeviceBuckets::BuildEntryTable() const
{
    std::vector<const CDevice*> all;
    for (const auto& b : m_buckets)
        for (const CDevice& d : b)
            all.push_back(&d);
    std::stable_sort(all.begin(), all.end(), [](const CDevice* a, const CDevice* b) {
        int c = a->Name().compare(b->Name());  // std::string compares bytes as unsigned
        if (c != 0)
            return c < 0;
        return std::memcmp(a->Record().mac, b->Record().mac, 6) < 0;
    });
    std::vector<DeviceEntry> entries;
    entries.reserve(all.size());
    for (const CDevice* d : all) {
        const ZevDeviceRecord& r = d->Record();
        DeviceEntry e;
        std::memcpy(e.mac, r.mac, 6);
        e.ipText = FieldText(r.ip, sizeof(r.ip));
        e.maskText = FieldText(r.mask, sizeof(r.mask));
        e.gatewayText = FieldText(r.gateway, sizeof(r.gateway));
        e.ip = afx::ParseDottedParts(e.ipText.c_str());
        e.mask = afx::ParseDottedParts(e.maskText.c_str());
        e.name = d->Name();
        e.base64 = r.base64 != 0;
        e.state = r.state;
        entries.push_back(e);
    }
    return entries;
}

int FindMatch(const std::vector<DeviceEntry>& entries, const std::string& target, const LeadByteTest& isLeadByte)
{
    if (target.empty())
        return -1;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].state == 1 && MatchKey(entries[i].name, isLeadByte) == target)
            return int(i);
    return -1;
}

std::string ShareTarget(const std::string& text) { return "\\\\" + text; }
std::string WebTargetByName(const std::string& name) { return "http://" + name; }
std::string WebTargetByAddress(uint32_t address) { return "http://" + afx::FormatIpAddressA(address); }
