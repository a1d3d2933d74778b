// The device table: answers of any shape into the buckets, the sorted 58-byte rows, list names.
#include "netsetter/DeviceTable.h"
#include "netsetter/NarrowText.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <cstring>
#include <random>

namespace {

std::vector<uint8_t> Answer(uint8_t op, const char* name, uint8_t macLast, uint8_t status = 0)
{
    std::vector<uint8_t> a(132, 0);
    a[0] = op;
    a[5] = status;
    a[6] = 0, a[7] = 1;                                     // static
    a[14] = 192, a[15] = 168, a[16] = 3, a[17] = macLast;   // address
    a[18] = a[19] = a[20] = 255;                            // mask
    a[26] = 0x1F, a[27] = 0x90;                             // port 8080
    const uint8_t mac[6] = {0x00, 0xA0, 0xB0, 0x01, 0x02, macLast};
    std::memcpy(&a[28], mac, 6);
    std::strncpy(reinterpret_cast<char*>(&a[34]), name, 64);
    return a;
}

const uint8_t kNone[6] = {};

}  // namespace

TEST(DeviceTable, SortsByNameBytesThenMacAndFillsEntries)
{
    CDeviceModel m;
    for (auto& a : {Answer(1, "ABCD", 1), Answer(5, "ABC", 2), Answer(6, "\x80xyz", 3), Answer(7, "Same", 9),
                    Answer(1, "Same", 4), Answer(1, "ZZ", 5)})
        EXPECT_EQ(m.OnReply(a.data(), a.size(), 0, kNone).what, ReplyOutcome::Added);
    EXPECT_EQ(m.CountDevices(), 6);
    m.BuildDeviceTable(kNone);
    std::vector<std::string> names;
    for (auto& e : m.Table())
        names.push_back(e.name + std::string("/") + std::to_string(e.mac[5]));
    EXPECT_EQ(names, (std::vector<std::string>{"ABC/2", "ABCD/1", "Same/4", "Same/9", "ZZ/5", "\x80xyz/3"}));
    const DeviceTableEntry& e = m.Table()[1];
    EXPECT_EQ((std::vector<uint32_t>{e.addressType, e.address, e.mask, e.webPort, e.kind, e.protectedFlag}),
              (std::vector<uint32_t>{1, 0xC0A80301u, 0xFFFFFF00u, 8080, 0, 0}));
    EXPECT_EQ(m.Table()[3].kind, 3);
    EXPECT_EQ(m.Table()[3].protectedFlag, 1);  // storage devices always
    for (int row : {-1, 0, 1, 2, 3, 4, 5, 6})
        EXPECT_EQ(m.IsStorageDevice(row), row == 3) << row;
}

TEST(DeviceTable, KnownDeviceAnswersByPendingOperation)
{
    CDeviceModel m;
    auto first = Answer(6, "AP", 7);
    std::memset(&first[99], 0xFF, 16);
    m.OnReply(first.data(), 132, 0, kNone);
    auto again = Answer(6, "Renamed", 7, 1);
    std::memset(&again[99], 0x5A, 16);
    EXPECT_EQ(m.OnReply(again.data(), 132, 0, kNone).what, ReplyOutcome::Known);
    ReplyOutcome logon = m.OnReply(again.data(), 132, kReplyPendingLogon, kNone);
    EXPECT_EQ(logon.what, ReplyOutcome::LogonAnswer);
    EXPECT_EQ(logon.status, 1);
    EXPECT_EQ(logon.token[15], 0x5A);
    m.BuildDeviceTable(kNone);
    EXPECT_STREQ(m.Table()[0].name, "AP");  // a logon answer changes nothing stored
    EXPECT_EQ(m.Table()[0].protectedFlag, 1);
    ReplyOutcome setup = m.OnReply(again.data(), 132, kReplyPendingSetup, kNone);
    EXPECT_EQ(setup.what, ReplyOutcome::SetupAnswer);
    m.BuildDeviceTable(kNone);
    EXPECT_STREQ(m.Table()[0].name, "Renamed");
    // The selected device answering ready again restarts the search; state 4 does not.
    const uint8_t sel[6] = {0x00, 0xA0, 0xB0, 0x01, 0x02, 7};
    EXPECT_TRUE(m.OnReply(again.data(), 132, 0, sel).restartSearch);
    EXPECT_TRUE(m.BuildDeviceTable(sel));
    auto busy = Answer(6, "AP", 7, kStatusNotReady);
    EXPECT_FALSE(m.OnReply(busy.data(), 132, 0, sel).restartSearch);
}

TEST(DeviceTable, MalformedAnswersNeverCorrupt)
{
    CDeviceModel m;
    auto zero = Answer(1, "Z", 0);
    std::memset(&zero[28], 0, 6);
    EXPECT_EQ(m.OnReply(zero.data(), 132, 0, kNone).what, ReplyOutcome::Dropped);
    auto wrongOp = Answer(10, "X", 1);
    EXPECT_EQ(m.OnReply(wrongOp.data(), 132, 0, kNone).what, ReplyOutcome::Dropped);
    EXPECT_EQ(m.OnReply(nullptr, 132, 0, kNone).what, ReplyOutcome::Dropped);
    // A name that fills its whole field without a terminator, and a short datagram.
    auto full = Answer(7, "", 2);
    std::memset(&full[34], 'N', 65);
    std::memset(&full[99], 'T', 33);
    m.OnReply(full.data(), 132, 0, kNone);
    auto shortOne = Answer(1, "SHORT", 3);
    m.OnReply(shortOne.data(), 30, 0, kNone);
    std::mt19937 rng(7);
    for (int i = 0; i < 3000; ++i) {
        std::vector<uint8_t> junk(rng() % 256);
        for (auto& b : junk)
            b = uint8_t(rng());
        if (!junk.empty())
            junk[0] = uint8_t(std::vector<int>{1, 5, 6, 7}[rng() % 4]);
        m.OnReply(junk.data(), junk.size(), int(rng() % 10), kNone);
    }
    m.BuildDeviceTable(kNone);
    ASSERT_EQ(size_t(m.CountDevices()), m.Table().size());
    for (const DeviceTableEntry& e : m.Table()) {
        EXPECT_LE(std::strlen(e.name), 30u);
        EXPECT_LE(e.kind, 3);
    }
    auto named = [&](uint8_t b2, uint8_t last) {
        for (const DeviceTableEntry& e : m.Table())
            if (e.mac[1] == 0xA0 && e.mac[2] == b2 && e.mac[5] == last)
                return std::string(e.name);
        return std::string("missing");
    };
    EXPECT_EQ(named(0xB0, 2), std::string(30, 'N'));
    EXPECT_EQ(named(0, 0), "") << "bytes past the datagram count as zero";
}

TEST(DeviceTable, ListNamesOfStorageDevices)
{
    struct Case { uint8_t kind; const char* name; const char* text; bool domain; } cases[] = {
        {3, "NAS1?DOMAIN", "NAS1", true},   {3, "?NAS", "?NAS", false},
        {3, "A&B", "A&&B", false},          {3, "Q\"t'\\", "Q\\\"t\\'\\\\", false},
        {0, "A&B?x", "A&B?x", false},       {3, "", "", false},
    };
    for (auto& c : cases) {
        DeviceTableEntry e = {};
        e.kind = c.kind;
        std::strncpy(e.name, c.name, 30);
        ListName n = DeviceListName(e);
        EXPECT_EQ(n.text, c.text) << c.name;
        EXPECT_EQ(n.domainMode, c.domain) << c.name;
    }
    const uint8_t a[] = "ABC", b[] = "ABCD";
    EXPECT_EQ((std::vector<int>{CompareDeviceKeys(0, a, b), CompareDeviceKeys(0, b, a), CompareDeviceKeys(0, a, a),
                                CompareDeviceKeys(2, a, b)}), (std::vector<int>{-1, 1, 0, 0}));
}

TEST(DeviceTable, NamesShowInTheInterfaceLanguagesCodePage)
{
    // Under the Japanese interface the thread's code page is Shift-JIS: "テスト" is 83 65 83 58 83 67,
    // "能力" 94 5C 97 CD (a backslash as second byte); 30 bytes can end in half a character.
    struct Locale { LCID before = GetThreadLocale(); ~Locale() { SetThreadLocale(before); } } locale;
    SetThreadLocale(MAKELCID(1041, SORT_DEFAULT));
    // The name a storage device in domain mode shows in the setting dialog: empty for none.
    const std::wstring notice = L"(\x30C9\x30E1\x30A4\x30F3\x30E2\x30FC\x30C9)";
    struct Case { std::string name; std::wstring text, domainName; } cases[] = {
        {"\x83\x65\x83\x58\x83\x67?DOM", L"\x30C6\x30B9\x30C8" + notice, L"\x30C6\x30B9\x30C8"},
        {"\x94\x5C\x97\xCD'", L"\x80FD\x529B\\'", L""},
        {std::string(29, 'A') + "\x94", std::wstring(29, L'A'), L""},
        // A lead byte takes the question mark behind it as its second byte: the first one is no cut.
        {"N\x94?D?X", FromThreadAnsi("N\x94?D") + notice, FromThreadAnsi("N\x94?D")},
    };
    for (auto& c : cases) {
        DeviceTableEntry e = {};
        std::memcpy(e.name, c.name.data(), c.name.size());
        e.kind = kKindStorage;
        EXPECT_EQ(DeviceListText(e), c.text) << c.name;
        std::wstring name;
        EXPECT_EQ(DomainModeName(e, name), !c.domainName.empty()) << c.name;
        EXPECT_EQ(name, c.domainName) << c.name;
    }
}
