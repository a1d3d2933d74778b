// Fuzzes the finder's merge of the library's device records, the sorted entry table, the match
// key of a name and the match of the command line's target. Input: a context byte (bits 0-1 the
// code page: none, Shift-JIS, GBK, Big5; bits 2-5 records per table, 0 for all 50), the target's
// length byte and the target, then 138-byte records (zero-filled when short) cut into tables.
#include "finder/DeviceTable.h"
#include "tests/fuzz/FuzzCheck.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

static bool ShiftJis(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
static bool GbkOrBig5(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
static const LeadByteTest kLeadBytes[4] = {nullptr, ShiftJis, GbkOrBig5, GbkOrBig5};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const LeadByteTest& lead = kLeadBytes[data[0] & 3];
    int perTable = (data[0] >> 2) & 15 ? (data[0] >> 2) & 15 : kZevTableSize;
    size_t targetLength = std::min<size_t>(data[1], size - 2);
    std::string target(reinterpret_cast<const char*>(data) + 2, targetLength);
    DeviceBuckets buckets;
    for (size_t at = 2 + targetLength; at < size;) {
        ZevDeviceRecord table[kZevTableSize] = {};  // the search thread zeroes the table
        for (int i = 0; i < perTable && at < size; ++i, at += sizeof(ZevDeviceRecord))
            std::memcpy(&table[i], data + at, std::min(sizeof(ZevDeviceRecord), size - at));
        // A table adds at most its records before the first nameless one; reported again, nothing.
        size_t before = buckets.Size();
        size_t named = std::find_if(table, std::end(table), [](auto& r) { return !r.name[0]; }) - table;
        buckets.Merge(table);
        size_t merged = buckets.Size();
        buckets.Merge(table);
        FUZZ_CHECK(merged <= before + named && buckets.Size() == merged);
    }

    // Every device once, sorted by name byte-wise and then by MAC; names end within 64 bytes.
    std::vector<DeviceEntry> entries = buckets.BuildEntryTable();
    FUZZ_CHECK(entries.size() == buckets.Size());
    std::vector<std::string> keys, targets = {target, std::string()};
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string& name = entries[i].name;
        FUZZ_CHECK(!name.empty() && name.size() <= 64);
        int c = i > 0 ? entries[i - 1].name.compare(name) : -1;
        FUZZ_CHECK(c < 0 || (c == 0 && std::memcmp(entries[i - 1].mac, entries[i].mac, 6) < 0));
        // The key follows the leading at signs up to the next at sign character: it holds none,
        // and ends where the name does or at a character's end before an at sign.
        std::string key = MatchKey(name, lead);
        size_t start = std::min(name.find_first_not_of('@'), name.size()), end = start + key.size(), whole = 0;
        FUZZ_CHECK(name.compare(start, key.size(), key) == 0 && (end == name.size() || name[end] == '@'));
        FUZZ_CHECK(FindSingleByteChar(key, '@', lead) == std::string::npos);
        while (whole < key.size() && CharBytes(key, whole, lead) != 0)
            whole += CharBytes(key, whole, lead);
        FUZZ_CHECK(whole == key.size() || end == name.size());
        keys.push_back(key), targets.push_back(key);
    }

    // A match is the first entry whose key is the target and whose state is 1; "" matches nothing.
    for (const std::string& t : targets) {
        int m = FindMatch(entries, t, lead);
        FUZZ_CHECK(m < 0 || (m < int(entries.size()) && !t.empty() && keys[m] == t && entries[m].state == 1));
        for (int i = 0; i < (m < 0 ? int(entries.size()) : m); ++i)
            FUZZ_CHECK(t.empty() || keys[i] != t || entries[i].state != 1);
    }
    buckets.Clear();
    FUZZ_CHECK(buckets.Size() == 0 && buckets.BuildEntryTable().empty());
    return 0;
}
