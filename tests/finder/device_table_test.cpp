#include "finder/DeviceTable.h"
#include <gtest/gtest.h>
#include <cstring>

static ZevDeviceRecord Record(const char* name, uint8_t lastMac, const char* ip = "10.0.0.9",
                              uint8_t state = 1, uint8_t firstMac = 0)
{
    ZevDeviceRecord r = {};
    std::strncpy(r.name, name, 64);
    uint8_t mac[6] = {firstMac, 0xA0, 0xB0, 1, 2, lastMac};
    std::memcpy(r.mac, mac, 6);
    std::strcpy(r.ip, ip);
    std::strcpy(r.mask, "255.255.255.0");
    std::strcpy(r.gateway, "10.0.0.1");
    r.state = state;
    return r;
}

TEST(FinderAddresses, DottedQuadAndTexts)
{
    EXPECT_EQ(ParseDottedQuad("192.168.0.1"), 0xC0A80001u);
    EXPECT_EQ(ParseDottedQuad("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseDottedQuad("10.1"), 0x0A010000u);
    EXPECT_EQ(ParseDottedQuad("x.y"), 0u);
    EXPECT_EQ(ParseDottedQuad(""), 0u);
    EXPECT_EQ(ParseDottedQuad(nullptr), 0u);
    // Only 19 characters are read: the fourth part is cut to "1234".
    EXPECT_EQ(ParseDottedQuad("0010.0020.0030.1234567"), 0x0A141E00u + 1234u);
    const uint8_t mac[6] = {0x00, 0xA0, 0xB0, 0x01, 0x02, 0xFF};
    EXPECT_EQ(FormatMacAddress(mac), "00:A0:B0-01:02:FF");
    EXPECT_EQ(WebTargetByAddress(0x0AE70501u), "http://10.231.5.1");
}

TEST(FinderMatch, KeyIsTheFirstRunWithoutAt)
{
    EXPECT_EQ(MatchKey("disk1@x"), "disk1");
    EXPECT_EQ(MatchKey("@@disk1@x"), "disk1");
    EXPECT_EQ(MatchKey("@@@"), "");
    EXPECT_EQ(MatchKey(""), "");
}

TEST(FinderMatch, NameKeyRuleStateAndEmptyTarget)
{
    DeviceBuckets b;
    ZevDeviceRecord t[kZevTableSize] = {Record("Disk1", 1), Record("disk10", 2), Record("disk1@x", 3),
                                        Record("other", 4)};
    b.Merge(t);
    auto e = b.BuildEntryTable();
    int m = FindMatch(e, "disk1");
    ASSERT_GE(m, 0);
    EXPECT_EQ(e[m].name, "disk1@x");
    EXPECT_EQ(FindMatch(e, "Disk10"), -1);
    EXPECT_EQ(FindMatch(e, ""), -1);

    DeviceBuckets stateTwo;
    ZevDeviceRecord s[kZevTableSize] = {Record("disk1", 1, "10.0.0.5", 2)};
    stateTwo.Merge(s);
    auto se = stateTwo.BuildEntryTable();
    ASSERT_EQ(se.size(), 1u);
    EXPECT_EQ(FindMatch(se, "disk1"), -1);
}

TEST(FinderMatch, EqualNamesOpenTheLowerMac)
{
    DeviceBuckets b;
    ZevDeviceRecord t[kZevTableSize] = {Record("disk1", 0x09, "10.0.0.9", 1, 0x02),
                                        Record("disk1", 0x01, "10.0.0.1", 1, 0x03),
                                        Record("disk1", 0x05, "10.0.0.5", 1, 0x02)};
    b.Merge(t);
    auto e = b.BuildEntryTable();
    ASSERT_EQ(e.size(), 3u);
    int m = FindMatch(e, "disk1");
    ASSERT_EQ(m, 0);
    EXPECT_EQ(e[m].ipText, "10.0.0.5");
    EXPECT_EQ(e[m].ip, 0x0A000005u);
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
    EXPECT_EQ(FindMatch(e, "abcdefghijklmnopqrstuvwxyz0123"), -1);
    EXPECT_EQ(FindMatch(e, "abcdefghijklmnopqrstuvwxyz0123456789"), 0);
}
