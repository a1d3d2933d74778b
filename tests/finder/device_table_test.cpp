// The finder's buckets, entry-table order and name match.
#include "finder/CodePage.h"
#include "finder/DeviceTable.h"
#include "afx/AddressText.h"
#include <gtest/gtest.h>
#include <cstring>

static ZevDeviceRecord Record(const char* name, uint8_t lastMac)
{
    ZevDeviceRecord r = {};
    std::strncpy(r.name, name, 64);
    uint8_t mac[6] = {0, 0xA0, 0xB0, 1, 2, lastMac};
    std::memcpy(r.mac, mac, 6);
    std::strcpy(r.ip, "10.0.0.9");
    r.state = 1;
    return r;
}

// Name match, equal names and state 2 are checked against the real program in the test network.
TEST(FinderAddresses, DottedQuadAndTexts)
{
    EXPECT_EQ(afx::ParseDottedParts("192.168.0.1"), 0xC0A80001u);
    EXPECT_EQ(afx::ParseDottedParts("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(afx::ParseDottedParts("10.1"), 0x0A010000u);
    EXPECT_EQ(afx::ParseDottedParts("x.y"), 0u);
    EXPECT_EQ(afx::ParseDottedParts(nullptr), 0u);
    // Only 19 characters are read: the fourth part is cut to "1234".
    EXPECT_EQ(afx::ParseDottedParts("0010.0020.0030.1234567"), 0x0A141E00u + 1234u);
    const uint8_t mac[6] = {0x00, 0xA0, 0xB0, 0x01, 0x02, 0xFF};
    EXPECT_EQ(afx::FormatMacAddressA(mac), "00:A0:B0-01:02:FF");
    // Keys walk by character: 0x40 is also a second byte ("\x8B\x40" in Shift-JIS, "\x81\x40" in GBK,
    // "\xA4\x40" in Big5); a lead byte cut off at the end stays in the key.
    struct Key { const char* name; unsigned cp; const char* key; } keys[] = {
        {"@@disk1@x", 1252, "disk1"}, {"@@@", 1252, ""}, {"\x8B\x40\x8A\xED@x", 932, "\x8B\x40\x8A\xED"},
        {"@\x8B\x40", 932, "\x8B\x40"}, {"\x81\x40@y", 936, "\x81\x40"}, {"\xA4\x40", 950, "\xA4\x40"},
        {"\x8B\x40", 1252, "\x8B"}, {"ab\x8B", 932, "ab\x8B"},
    };
    for (auto& k : keys)
        EXPECT_EQ(MatchKey(k.name, CodePageLeadBytes(k.cp)), k.key) << k.name << " " << k.cp;
}

TEST(FinderBuckets, MergeStopsAtNamelessSkipsKnownMacsAndSortsBytewise)
{
    DeviceBuckets b;
    ZevDeviceRecord t[kZevTableSize] = {Record("b", 1), Record("a", 9), Record("\xE4", 2),
                                        Record("ab", 3), Record("", 4), Record("late", 5)};
    b.Merge(t);
    b.Merge(t);  // a second report of the same devices adds nothing
    EXPECT_EQ(b.Size(), 4u);
    auto e = b.BuildEntryTable();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].name, "a");
    EXPECT_EQ(e[1].name, "ab");
    EXPECT_EQ(e[2].name, "b");
    EXPECT_EQ(e[3].name, "\xE4");  // bytes compare unsigned: 0xE4 sorts last
    b.Clear();
    EXPECT_EQ(b.Size(), 0u);
}

TEST(FinderBuckets, LongAndUnterminatedNamesStayWithinTheRecord)
{
    ZevDeviceRecord t[kZevTableSize] = {};
    t[0] = Record("", 1);
    std::memset(t[0].name, 'n', sizeof(t[0].name));  // not even byte 64 is a NUL
    std::memset(t[0].ip, '1', sizeof(t[0].ip));
    t[1] = Record("abcdefghijklmnopqrstuvwxyz0123456789", 2);
    DeviceBuckets b;
    b.Merge(t);
    auto e = b.BuildEntryTable();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].name, "abcdefghijklmnopqrstuvwxyz0123456789");
    EXPECT_EQ(e[1].name, std::string(64, 'n'));
    EXPECT_EQ(e[1].ipText, std::string(20, '1'));
    // A long name matches only in full, never by its first 30 characters.
    EXPECT_EQ(FindMatch(e, "abcdefghijklmnopqrstuvwxyz0123", nullptr), -1);
    EXPECT_EQ(FindMatch(e, "abcdefghijklmnopqrstuvwxyz0123456789", nullptr), 0);
}
