// Fuzzes the finder's handling of the library's device records: the merge into the eight
// buckets, the sorted entry table, the match key of a name and the match of the command line's
// target. Input: a context byte (bits 0-1 the code page names are in: none, Shift-JIS, GBK, Big5;
// bits 2-5 how many records each reported table holds, 0 for a full table of 50), the target's
// length byte and the target, then 138-byte records (the last one zero-filled when short), cut
// into tables that are merged one after the other.
#include "afx/AddressText.h"
#include "finder/DeviceTable.h"
#include "tests/fuzz/FuzzCheck.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const LeadByteTest kLeadBytes[4] = {
    nullptr,
    [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); },  // 932
    [](unsigned char b) { return b >= 0x81 && b <= 0xFE; },                                 // 936
    [](unsigned char b) { return b >= 0x81 && b <= 0xFE; },                                 // 950
};

std::string Field(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

// A record's name as the finder reads it: to its terminator, within the first 64 bytes.
std::string RecordName(const ZevDeviceRecord& r) { return Field(r.name, 64); }

// The match key by the rule: leading at signs skipped, then the name up to the next at sign
// that is a character of its own (never the second byte of a double-byte character).
std::string Key(const std::string& name, const LeadByteTest& lead)
{
    size_t start = 0;
    while (start < name.size() && name[start] == '@')
        ++start;
    size_t end = start;
    while (end < name.size() && name[end] != '@')
        end += (lead && lead(static_cast<unsigned char>(name[end]))) ? 2 : 1;
    return name.substr(start, std::min(end, name.size()) - start);
}

bool Before(const ZevDeviceRecord& a, const ZevDeviceRecord& b)
{
    int c = RecordName(a).compare(RecordName(b));
    return c != 0 ? c < 0 : std::memcmp(a.mac, b.mac, 6) < 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const LeadByteTest& lead = kLeadBytes[data[0] & 3];
    int perTable = (data[0] >> 2) & 15;
    if (perTable == 0)
        perTable = kZevTableSize;
    size_t targetLength = std::min<size_t>(data[1], size - 2);
    std::string target(reinterpret_cast<const char*>(data) + 2, targetLength);
    size_t at = 2 + targetLength;

    // The model: every record up to a table's first nameless one, the first of each MAC kept.
    DeviceBuckets buckets;
    std::vector<ZevDeviceRecord> kept;
    while (at < size) {
        ZevDeviceRecord table[kZevTableSize];
        std::memset(table, 0, sizeof table);  // the search thread zeroes the table
        for (int i = 0; i < perTable && at < size; ++i, at += sizeof(ZevDeviceRecord))
            std::memcpy(&table[i], data + at, std::min(sizeof(ZevDeviceRecord), size - at));
        buckets.Merge(table);
        size_t merged = buckets.Size();
        buckets.Merge(table);  // a table reported again adds nothing
        FUZZ_CHECK(buckets.Size() == merged);
        for (const ZevDeviceRecord& r : table) {
            if (r.name[0] == '\0')
                break;
            if (std::none_of(kept.begin(), kept.end(),
                             [&](const ZevDeviceRecord& k) { return std::memcmp(k.mac, r.mac, 6) == 0; }))
                kept.push_back(r);
        }
        FUZZ_CHECK(buckets.Size() == kept.size());
    }

    // The entry table: every kept record once, by name byte-wise and then by MAC.
    std::vector<DeviceEntry> entries = buckets.BuildEntryTable();
    std::stable_sort(kept.begin(), kept.end(), Before);
    FUZZ_CHECK(entries.size() == kept.size());
    std::vector<std::string> keys;
    for (size_t i = 0; i < entries.size(); ++i) {
        const DeviceEntry& e = entries[i];
        const ZevDeviceRecord& r = kept[i];
        FUZZ_CHECK(std::memcmp(e.mac, r.mac, 6) == 0);
        FUZZ_CHECK(e.name == RecordName(r) && !e.name.empty() && e.name.size() <= 64);
        FUZZ_CHECK(e.ipText == Field(r.ip, sizeof r.ip) && e.maskText == Field(r.mask, sizeof r.mask) &&
                   e.gatewayText == Field(r.gateway, sizeof r.gateway));
        FUZZ_CHECK(e.ip == afx::ParseDottedParts(e.ipText.c_str()) &&
                   e.mask == afx::ParseDottedParts(e.maskText.c_str()));
        FUZZ_CHECK(e.state == r.state && e.base64 == (r.base64 != 0));
        if (i > 0) {
            int c = entries[i - 1].name.compare(e.name);
            FUZZ_CHECK(c < 0 || (c == 0 && std::memcmp(entries[i - 1].mac, e.mac, 6) < 0));
        }
        // The key is the name's first part without an at sign: the name joins back from the at
        // signs before it, the key and a rest that starts with an at sign.
        std::string key = MatchKey(e.name, lead);
        FUZZ_CHECK(key == Key(e.name, lead));
        size_t start = e.name.find_first_not_of('@');
        FUZZ_CHECK(key.empty() == (start == std::string::npos));
        if (!key.empty()) {
            FUZZ_CHECK(e.name.compare(start, key.size(), key) == 0);
            size_t after = start + key.size();
            FUZZ_CHECK(after == e.name.size() || e.name[after] == '@');
            FUZZ_CHECK(FindSingleByteChar(key, '@', lead) == std::string::npos);
        }
        keys.push_back(key);
    }

    // A match is the first entry in table order whose key equals the target and whose state is 1;
    // an empty target, or a name of at signs only, matches nothing.
    std::vector<std::string> targets = keys;
    targets.push_back(target);
    targets.push_back(std::string());
    for (const std::string& t : targets) {
        int want = -1;
        for (size_t i = 0; i < entries.size() && want < 0 && !t.empty(); ++i)
            if (entries[i].state == 1 && keys[i] == t)
                want = int(i);
        FUZZ_CHECK(FindMatch(entries, t, lead) == want);
    }

    buckets.Clear();
    FUZZ_CHECK(buckets.Size() == 0 && buckets.BuildEntryTable().empty());
    return 0;
}
