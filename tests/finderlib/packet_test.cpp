// Request building and answer parsing, without the network.
#include "finderlib/Base64.h"
#include "finderlib/TavikProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace tavik;

namespace {

const uint8_t kPcMac[6] = {0x00, 0x16, 0x3E, 0x01, 0x02, 0x03};
const uint8_t kDevMac[6] = {0x00, 0x0D, 0x0B, 0xAA, 0xBB, 0xCC};
const uint8_t kOtherMac[6] = {0, 1, 2, 3, 4, 5};
const uint8_t kToken[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

const uint8_t* Bytes(const DeviceRequestPacket& p) { return reinterpret_cast<const uint8_t*>(&p); }

std::string Text(const uint8_t* p, size_t max) { return std::string(reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), max)); }

bool AllZero(const uint8_t* p, size_t n) { return std::all_of(p, p + n, [](uint8_t b) { return b == 0; }); }

ZevLogonTarget Target(const char* name, const char* password, uint8_t kind, uint8_t base64) {
    ZevLogonTarget t = {{0x00, 0x0D, 0x0B, 0xAA, 0xBB, 0xCC}, kind, {}, {}, base64};  // kDevMac
    strncpy(t.name, name, sizeof t.name);
    strncpy(t.password, password, sizeof t.password);
    return t;
}

Session PlainSession() { return Session{{0x00, 0x0D, 0x0B, 0xAA, 0xBB, 0xCC}, 1, "NAS-1", "secret", 0}; }

// A device answer as the devices send it.
std::vector<uint8_t> Answer(uint8_t op, const uint8_t mac[6], const char* name = "NAS") {
    std::vector<uint8_t> a(kPacketSize, 0);
    a[0] = op;
    memcpy(&a[8], kPcMac, 6);
    a[14] = 192; a[15] = 168; a[16] = 1; a[17] = 20;
    a[18] = 255; a[19] = 255; a[20] = 255; a[21] = 0;
    a[22] = 192; a[23] = 168; a[24] = 1; a[25] = 1;
    memcpy(&a[28], mac, 6);
    memcpy(&a[34], name, std::min<size_t>(strlen(name), 65));
    memcpy(&a[115], "Ostrand", 7);
    return a;
}

std::vector<uint8_t> Advanced(uint16_t subKind, uint8_t flag) {
    std::vector<uint8_t> a(kPacketSize, 0);
    a[0] = kOpAdvancedAnswer;
    a[35] = uint8_t(subKind);
    a[36] = flag;
    return a;
}

}  // namespace

TEST(Sequence, SeedOfZeroBecomesTheFixedValueAndEveryRequestCountsUp) {
    uint32_t seq = SeedSequence(0, 0);
    EXPECT_EQ(seq, 0x33333333u);
    DeviceRequestPacket p;
    BuildSearch(p, seq, kPcMac);
    EXPECT_EQ(ReadBigEndian32(Bytes(p) + 1), 0x33333334u);
    EXPECT_EQ(Bytes(p)[1] << 8 | Bytes(p)[4], 0x3334);  // most significant byte first
    BuildLogoff(p, seq, kPcMac, PlainSession(), kToken);
    EXPECT_EQ(ReadBigEndian32(Bytes(p) + 1), 0x33333335u);
    EXPECT_EQ(SeedSequence(0x7FFF, 0x7FFF), 0x7FFF7FFFu);
    EXPECT_EQ(SeedSequence(1, 2), 0x00010002u);
}

TEST(Requests, OversizedTextsAreCutInsideTheirFields) {
    ZevLogonTarget t = Target("", "", 1, 0);
    memset(t.name, 'N', sizeof t.name);            // no terminator at all
    memset(t.password, 'P', sizeof t.password);
    uint32_t seq = 1;
    DeviceRequestPacket p;
    Session s;
    ASSERT_TRUE(BuildLogon(p, seq, kPcMac, t, s));
    const uint8_t* b = Bytes(p);
    EXPECT_EQ(Text(b + 34, 65), std::string(64, 'N'));  // and the terminator in the field's last byte
    EXPECT_EQ(Text(b + 99, 16), std::string(15, 'P'));
    EXPECT_EQ(memcmp(b + 115, "Ostrand", 8), 0);

    t.base64 = 1;  // 30 password bytes give 40 characters, well inside the field
    ASSERT_TRUE(BuildLogon(p, seq, kPcMac, t, s));
    EXPECT_EQ(Text(b + 34, 65).size(), 40u);
    EXPECT_EQ(memcmp(b + 99, "   \0", 4), 0);
    memset(t.password, 0, sizeof t.password);
    ASSERT_TRUE(BuildLogon(p, seq, kPcMac, t, s));
    EXPECT_TRUE(AllZero(b + 34, 65));

    ZevConfigRecord c = {};
    memset(c.name, 'X', sizeof c.name);
    c.dhcp = 1;
    ASSERT_TRUE(BuildSetup(p, seq, kPcMac, PlainSession(), kToken, c));
    EXPECT_EQ(Text(b + 34, 65), std::string(64, 'X'));
    EXPECT_EQ(memcmp(b + 115, "Ostrand", 8), 0);
}

TEST(Requests, SetupWithDhcpOrRefusedAddressText) {
    uint32_t seq = 1;
    DeviceRequestPacket p;
    const uint8_t* b = Bytes(p);
    ZevConfigRecord c = {};
    strcpy(c.ip, "10.1.2.3");
    strcpy(c.mask, "255.255.0.0");
    strcpy(c.gateway, "10.1.0.254");
    c.dhcp = 1;
    ASSERT_TRUE(BuildSetup(p, seq, kPcMac, PlainSession(), kToken, c));
    EXPECT_TRUE(AllZero(b + 6, 2));
    EXPECT_TRUE(AllZero(b + 14, 14));

    c.dhcp = 0;
    uint32_t before = seq;
    for (const char* bad : {"", "10.1.2", "10.1.2.256", "10.1.2.3.4", "a.b.c.d", "10..2.3", "1.2.3.4 "}) {
        strcpy(c.gateway, bad);
        EXPECT_FALSE(BuildSetup(p, seq, kPcMac, PlainSession(), kToken, c)) << bad;
    }
    memset(c.gateway, '1', sizeof c.gateway);  // unterminated
    EXPECT_FALSE(BuildSetup(p, seq, kPcMac, PlainSession(), kToken, c));
    EXPECT_EQ(seq, before);
}

TEST(DeviceAnswers, AnyTypeButOneMeansDhcpAndShortAnswersAreDropped) {
    ZevDeviceRecord table[kZevTableSize] = {};
    uint16_t count = 0;
    for (uint8_t type : {0, 1, 2, 0xFF}) {
        uint8_t mac[6] = {0, 1, 2, 3, 4, type};
        auto a = Answer(6, mac);
        a[7] = type;
        EXPECT_FALSE(ParseDeviceAnswer(a.data(), kPacketSize - 1, table, count));
        ASSERT_TRUE(ParseDeviceAnswer(a.data(), a.size(), table, count));
        EXPECT_EQ(table[count - 1].dhcp, type == 1 ? 0u : 1u) << int(type);
        EXPECT_EQ(table[count - 1].kind, 3);
    }
    EXPECT_EQ(std::string(table[0].gateway), "192.168.1.1");
}

// Every status code and stray answers of other transactions are checked on the wire; here what
// the simulator does not send: unknown codes, requests and other answer kinds never end a logon.
TEST(Dispatch, LogonEndsOnlyOnAKnownDeviceAnswer) {
    ChannelState s = {};
    auto other = Answer(5, kOtherMac);
    other[5] = 9;
    s.result = 1;
    EXPECT_FALSE(Dispatch(kCodeLogon, other.data(), other.size(), s));
    EXPECT_EQ(s.result, 0);
    s.result = 6;
    EXPECT_FALSE(Dispatch(kCodeLogon, Advanced(0, 1).data(), kPacketSize, s));
    EXPECT_FALSE(Dispatch(kCodeLogon, Answer(0, kOtherMac).data(), kPacketSize, s));  // a request
    EXPECT_EQ(s.result, 6);
}

TEST(Dispatch, SetupNeverEndsOnStatusAndReportsTheLast) {
    ChannelState s = {};
    const uint16_t expect[5] = {255, 2, 3, 4, 6};
    for (uint8_t status = 0; status < 5; ++status) {
        auto a = Answer(1, kOtherMac);
        a[5] = status;
        a[13] = kPcMac[5];  // status 3 is "another user" for a setup, whoever asked
        EXPECT_FALSE(Dispatch(kCodeSetup, a.data(), a.size(), s));
        EXPECT_EQ(s.result, expect[status]);
    }
    auto odd = Answer(1, kOtherMac);
    odd[5] = 7;
    s.result = 1;
    EXPECT_FALSE(Dispatch(kCodeSetup, odd.data(), odd.size(), s));
    s.result = 0;
    EXPECT_TRUE(Dispatch(kCodeSetup, odd.data(), odd.size(), s));
}

TEST(Dispatch, ModesAndTimeParsesWithTheFlagRule) {
    ChannelState s = {};
    auto modes = Advanced(0, 0);  // modes are taken whatever the flag
    modes[37] = 3;
    modes[38] = 0x01; modes[39] = 0x02; modes[40] = 0; modes[41] = 1; modes[42] = 0xFF; modes[43] = 0xFE;
    EXPECT_TRUE(Dispatch(kCodeModes, modes.data(), modes.size(), s));
    ASSERT_EQ(s.modes.count, 3);
    EXPECT_EQ(s.modes.modes[0], 0x0102); EXPECT_EQ(s.modes.modes[1], 1); EXPECT_EQ(s.modes.modes[2], 0xFFFE);
    modes[37] = 31;
    EXPECT_TRUE(Dispatch(kCodeModes, modes.data(), modes.size(), s));
    EXPECT_EQ(s.modes.count, 0);
    EXPECT_EQ(s.modes.modes[0], 0);
    modes[37] = 30;
    EXPECT_TRUE(Dispatch(kCodeModes, modes.data(), modes.size(), s));
    EXPECT_EQ(s.modes.count, 30);

    auto time = Advanced(1, 0);
    time[37] = 0x07; time[38] = 0xE8;
    time[39] = 2; time[40] = 29; time[41] = 13; time[42] = 14; time[43] = 15; time[44] = 1;
    for (int i = 0; i < 20; ++i) time[45 + i] = uint8_t(i + 1);
    time[65] = 0x41; time[66] = 0x42;
    s.expectedFlag = 1;
    for (uint16_t code : {kCodeTimeQuery, kCodeTimeSet}) {
        s.answered = false;
        time[36] = 0;
        EXPECT_FALSE(Dispatch(code, time.data(), time.size(), s));
        EXPECT_FALSE(s.answered);
        time[36] = 1;
        EXPECT_TRUE(Dispatch(code, time.data(), time.size(), s));
        EXPECT_TRUE(s.answered);
    }
    EXPECT_EQ(s.time.year, 2024);
    EXPECT_EQ(s.time.month, 2); EXPECT_EQ(s.time.day, 29); EXPECT_EQ(s.time.second, 15);
    EXPECT_EQ(s.time.addressFlag, 1);
    EXPECT_EQ(s.time.further[19], 20);
    EXPECT_EQ(s.time.settingA, 0x41); EXPECT_EQ(s.time.settingB, 0x42);
    s.expectedFlag = 0;  // the answer must carry 1 as well
    time[36] = 0;
    EXPECT_FALSE(Dispatch(kCodeTimeQuery, time.data(), time.size(), s));
}

// The one encoder of the library and the network setter: RFC 4648 vectors and bytes above 0x7F.
TEST(Base64, StandardAlphabetAndPadding) {
    const char* cases[][2] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
                              {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"abc", "YWJj"}, {"\xff\xfe\x80", "//6A"},
                              {"\xFB\xFF\xBF", "+/+/"}, {"password12345678901", "cGFzc3dvcmQxMjM0NTY3ODkwMQ=="}};
    for (auto& c : cases) {
        char* out = Base64Encode(c[0]);
        ASSERT_NE(out, nullptr);
        EXPECT_STREQ(out, c[1]) << c[0];
        delete[] out;
    }
    EXPECT_EQ(Base64Encode(nullptr), nullptr);
    EXPECT_EQ(Base64EncodeText(std::string(48, 'x').c_str()).size(), 64u);
}
