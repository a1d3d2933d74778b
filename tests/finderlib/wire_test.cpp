// Tavik.dll against the device simulator over the private test network.
#include "finderlib/Tavik.h"
#include "tests/support/DevSimClient.h"

#include <winsock2.h>
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;
using Ints = std::vector<int>;  // several fields checked at once

double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

uint32_t Id(const Bytes& b) { return uint32_t(b[1]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 8 | b[4]; }

std::string Text(const Bytes& b, size_t at, size_t max) {
    std::string s(reinterpret_cast<const char*>(&b[at]), max);
    return s.substr(0, s.find('\0'));
}

// A request's text field and its authentication field.
std::string NameAndKey(const Bytes& b) { return Text(b, 34, 65) + "|" + Text(b, 99, 16); }

const char* kDevMacText = "00:0D:0B:00:00:01";
const uint8_t kDevMac[6] = {0x00, 0x0D, 0x0B, 0x00, 0x00, 0x01};

class Wire : public ::testing::Test {
protected:
    void SetUp() override {
        if (!DevSimClient::Available()) GTEST_SKIP() << "no test network";
        ASSERT_TRUE(sim.Reset()) << sim.Error();
        uint16_t count = 0;
        ASSERT_EQ(GetZevAdapterList(adapters, &count), 1);
        for (uint16_t i = 0; i < count; ++i)
            if (std::string(adapters[i].ip) == getenv("KIT_PC_IP")) pcAdapter = &adapters[i];
        if (pcAdapter) memcpy(pcMac, pcAdapter->mac, 6);
    }

    // Polls like the finder does, into table and count; returns the seconds the search took.
    double Search() {
        memset(table, 0, sizeof table);
        auto t0 = Clock::now();
        count = 0;
        EXPECT_EQ(GetZevList(table, &count), 1);
        EXPECT_EQ(count, kZevListRunning);
        while (count == kZevListRunning && Since(t0) < 20) {
            Sleep(100);
            EXPECT_EQ(GetZevList(table, &count), 1);
        }
        return Since(t0);
    }

    // The request bytes every operation shares; those of a session name the test device too.
    void ExpectCommon(const Bytes& b, uint8_t op, bool toDevice = true) {
        ASSERT_EQ(b.size(), kPacketSize);
        EXPECT_EQ(b[0], op);
        EXPECT_EQ(memcmp(&b[8], pcMac, 6), 0);
        if (toDevice) {
            EXPECT_EQ(memcmp(&b[28], kDevMac, 6), 0);
        }
        EXPECT_EQ(memcmp(&b[115], "Ostrand\0\0\0\0\0\0\0\0\0\0", 17), 0);
    }

    ZevLogonTarget Target(const char* password, uint8_t kind = 1, uint8_t base64 = 0) {
        ZevLogonTarget t = {{0x00, 0x0D, 0x0B, 0x00, 0x00, 0x01}, kind, "NAS-ONE", {}, base64};  // kDevMac
        strncpy(t.password, password, sizeof t.password);
        return t;
    }

    // One device with the test MAC and these fields, and the simulator's faults.
    bool LoadDevice(const std::string& fields, const std::string& faults = "{}") {
        return sim.Load(std::string("{\"devices\":[{\"mac\":\"") + kDevMacText + "\"," + fields + "}],\"faults\":" + faults + "}");
    }

    static ZevConfigRecord Config(const char* name, const char* ip, const char* mask, const char* gateway, uint8_t dhcp) {
        ZevConfigRecord c = {};
        strcpy(c.name, name), strcpy(c.ip, ip), strcpy(c.mask, mask), strcpy(c.gateway, gateway);
        c.dhcp = dhcp;
        return c;
    }

    int16_t Logon(const ZevLogonTarget& t) {
        int16_t status = -1;
        EXPECT_EQ(LogonZevDevice(&t, &status, ""), 1);
        return status;
    }

    DevSimClient sim;
    ZevAdapterRecord adapters[kZevAdapterTableSize] = {};
    const ZevAdapterRecord* pcAdapter = nullptr;  // the one on the test network
    uint8_t pcMac[6] = {};
    ZevDeviceRecord table[kZevTableSize];
    uint16_t count = 0;
};

TEST_F(Wire, AdapterListShowsTheTestNetwork) {
    ASSERT_TRUE(pcAdapter);
    EXPECT_EQ(std::string(pcAdapter->mask) + " kind " + std::to_string(pcAdapter->kind), "255.255.255.0 kind 0");
    EXPECT_TRUE(*pcAdapter->gateway && *pcAdapter->name);
    EXPECT_EQ((Ints{fnTavik(), nTavik}), (Ints{42, 0}));
    CTavik a, b;
    EXPECT_EQ(&(a = b), &a);
}

// Fifty devices of every kind and form answering three times each, plus answers that must be dropped.
TEST_F(Wire, SearchFindsAllFiftyAndSendsTheRequestThreeTimes) {
    std::string longName(70, 'L');
    ASSERT_TRUE(sim.Load(
        "{\"devices\":["
        "{\"mac\":\"00:0D:0B:00:00:01\",\"kind\":2,\"name\":\"" + longName + "\",\"state2\":true},"
        "{\"mac\":\"00:0D:0B:00:00:02\",\"kind\":3,\"base64\":true,\"static\":true,\"ip\":\"10.9.8.7\","
        "\"mask\":\"255.0.0.0\",\"gw\":\"10.0.0.1\",\"name\":\"B64\"},"
        "{\"mac\":\"00:0D:0B:00:00:03\",\"kind\":4,\"name\":\"K4\"},"
        "{\"mac\":\"00:00:00:00:00:00\",\"name\":\"ZERO\"},"
        "{\"mac\":\"FF:FF:FF:FF:FF:FF\",\"name\":\"ONES\"}],"
        "\"generate\":{\"count\":47},\"faults\":{\"duplicates\":1}}"))
        << sim.Error();
    double seconds = Search();
    printf("MEASURE search of 50 devices: %u found in %.2f s\n", count, seconds);
    EXPECT_GE(seconds, 5.0);
    EXPECT_LE(seconds, 11.5);
    ASSERT_EQ(count, 50);
    std::set<std::string> macs;
    for (int i = 0; i < count; ++i) {
        const ZevDeviceRecord& r = table[i];
        macs.insert(DevSimMac(r.mac));
        std::string name = r.name;
        EXPECT_TRUE(name != "ZERO" && name != "ONES");
        Ints fields = {r.kind, r.state, r.base64, int(r.dhcp)};  // kind, state, Base64 method, DHCP
        if (name.size() == 64) {
            EXPECT_EQ(name, std::string(64, 'L'));
            EXPECT_EQ(Ints(fields.begin(), fields.begin() + 2), (Ints{2, 2}));
        } else if (name == "B64") {
            EXPECT_EQ(fields, (Ints{3, 1, 1, 0}));
            EXPECT_EQ(std::string(r.ip) + " " + r.mask + " " + r.gateway, "10.9.8.7 255.0.0.0 10.0.0.1");
        } else if (name == "K4") {
            EXPECT_EQ(r.base64, 1);
        } else {
            EXPECT_EQ(fields, (Ints{1, 1, 0, 1}));
        }
    }
    EXPECT_EQ(macs.size(), 50u);

    auto requests = sim.Sent(0);
    ASSERT_EQ(requests.size(), 3u);
    for (auto& r : requests) {
        ExpectCommon(r, 0, false);
        EXPECT_EQ(Text(r, 34, 65), "FROM-PC");
        EXPECT_EQ(Id(r), Id(requests[0]));  // one request, sent three times
    }
}

// Two hundred devices answering at once, with malformed datagrams mixed in: the table keeps 50.
TEST_F(Wire, SearchKeepsFiftyOfTwoHundredAndSurvivesMalformedDatagrams) {
    std::string junk = "\"0100\",\"" + std::string(600, 'a') + "\",\"01" + std::string(262, '0') + "\"";
    ASSERT_TRUE(sim.Load("{\"generate\":{\"count\":200},\"faults\":{\"late_ms\":5400,\"junk\":[" + junk + "]}}"))
        << sim.Error();
    double seconds = Search();
    printf("MEASURE search of 200 devices: %u kept in %.2f s\n", count, seconds);
    ASSERT_EQ(count, 50);
    std::set<std::string> macs;
    for (int i = 0; i < count; ++i) {
        macs.insert(DevSimMac(table[i].mac));
        EXPECT_EQ(std::string(table[i].name).compare(0, 4, "SIM-"), 0);
    }
    EXPECT_EQ(macs.size(), 50u);
    EXPECT_LT(seconds, 8.0);

    // A burst of a thousand answers to every copy of the request.
    ASSERT_TRUE(sim.Load("{\"faults\":{\"burst\":1000,\"late_ms\":5400}}")) << sim.Error();
    seconds = Search();
    printf("MEASURE burst of 1000 answers per request: %u kept in %.2f s\n", count, seconds);
    EXPECT_EQ(count, 50);
    EXPECT_LT(seconds, 11.5);
}

// Every answer comes after a stray one for another transaction, which must not count.
TEST_F(Wire, LogonResultCodesAndSessionRequests) {
    ASSERT_TRUE(LoadDevice("\"name\":\"NAS-ONE\",\"password\":\"secret\",\"modes\":[1,2,772],\"time\":{\"year\":2025,"
                           "\"month\":3,\"day\":4,\"hour\":5,\"minute\":6,\"second\":7,\"a\":8,\"b\":9},\"time_decoy\":true",
                           "{\"stray\":true}")) << sim.Error();
    EXPECT_EQ(Logon(Target("wrong")), 2);
    auto t0 = Clock::now();
    EXPECT_EQ(Logon(Target("secret")), 1);
    printf("MEASURE logon: %.2f s\n", Since(t0));
    auto logons = sim.Sent(3);
    ASSERT_EQ(logons.size(), 6u);
    ExpectCommon(logons[5], 3);
    EXPECT_EQ(NameAndKey(logons[5]), "NAS-ONE|secret");
    EXPECT_EQ(Id(logons[5]), Id(logons[0]) + 1);

    ZevModesRecord modes = {};
    EXPECT_EQ((Ints{GetZevAdvancedModes(&modes, 1), modes.count, modes.modes[2], modes.modes[3]}),
              (Ints{1, 3, 772, 0xFFFF}));
    ZevTimeInfo info = {};
    EXPECT_EQ((Ints{GetZevAdvancedTimeInfo(&info, 1), info.year, info.second, info.settingB}),
              (Ints{1, 2025, 7, 9}));  // not the flag-0 decoy of 1999

    info.year = 2030;
    info.settingA = 0x55;
    EXPECT_EQ(SetZevAdvancedTimeInfo(&info, 1), 1);
    auto queries = sim.Sent(8);
    auto sets = sim.Sent(9);
    ASSERT_FALSE(queries.empty());
    ASSERT_FALSE(sets.empty());
    for (auto* r : {&queries.front(), &queries.back(), &sets.front()}) {
        ExpectCommon(*r, (*r)[0]);
        EXPECT_EQ(Text(*r, 99, 16), "secret");
        EXPECT_EQ((*r)[36], 1);
    }
    const Bytes& set = sets.front();
    EXPECT_EQ((Ints{queries.front()[35], queries.back()[35], set[37] << 8 | set[38], set[65], set[66]}),
              (Ints{0, 1, 2030, 0x55, 9}));
    EXPECT_EQ(Bytes(&set[39], &set[44]), (Bytes{3, 4, 5, 6, 7}));

    EXPECT_EQ(LogoffZevDevice(), 1);
    EXPECT_EQ(LogoffZevDevice(), 0);
    auto logoffs = sim.Sent(4);
    ASSERT_EQ(logoffs.size(), 3u);
    ExpectCommon(logoffs[0], 4);
    EXPECT_EQ(NameAndKey(logoffs[0]), "NAS-ONE|secret");

    // The device's refusals, one after another.
    struct { const char* fields; int16_t status; } refusals[] = {
        {"\"logon_status\":2", 3}, {"\"logged_on_from\":\"00:11:22:33:44:55\"", 4}, {"\"logon_status\":4", 6}};
    for (auto& r : refusals) {
        ASSERT_TRUE(LoadDevice(r.fields));
        EXPECT_EQ(Logon(Target("secret")), r.status) << r.fields;
    }
    EXPECT_EQ(LogoffZevDevice(), 0);
}

// Bytes outside the [from, to) ranges a request uses are zero.
static void ExpectZeroOutside(const Bytes& b, std::initializer_list<std::pair<size_t, size_t>> used) {
    for (size_t i = 0; i < b.size(); ++i) {
        bool in = i >= 115 && i < 122;  // vendor tag
        for (auto& u : used) in = in || (i >= u.first && i < u.second);
        if (!in) {
            EXPECT_EQ(b[i], 0) << "request " << int(b[0]) << " byte " << i;
        }
    }
}

// A Base64 device: the token serves the session, a stale one is refused; logoff; a DHCP setup.
TEST_F(Wire, Base64LogonUsesTheTokenAfterwards) {
    const char* dev = "\"kind\":4,\"password\":\"p@ss-w0rd\",\"static\":true,\"modes\":[7]";
    ZevModesRecord modes = {};
    ASSERT_TRUE(LoadDevice(dev));
    ASSERT_EQ(Logon(Target("p@ss-w0rd", 4)), 1);
    ASSERT_TRUE(LoadDevice(dev));  // the device restarts: the library's token is stale now
    EXPECT_EQ((Ints{GetZevAdvancedModes(&modes, 1), modes.count}), (Ints{1, 0}));
    ASSERT_EQ(Logon(Target("p@ss-w0rd", 4)), 1);
    EXPECT_EQ((Ints{GetZevAdvancedModes(&modes, 1), modes.count}), (Ints{1, 1}));
    EXPECT_EQ(LogoffZevDevice(), 1);
    EXPECT_TRUE(sim.Devices().find("\"logged_on_from\": null") != std::string::npos) << sim.Devices();
    ASSERT_EQ(Logon(Target("p@ss-w0rd", 4)), 1);
    ZevConfigRecord config = Config("DHCP-ONE", "10.1.2.3", "", "", 1);  // the address is not sent: DHCP
    EXPECT_EQ(SetZevConfig(&config), 1);
    EXPECT_TRUE(sim.Devices().find("\"static\": false") != std::string::npos) << sim.Devices();
    auto logon = sim.Sent(3).at(0), query = sim.Sent(8).back(), logoff = sim.Sent(4).at(0), setup = sim.Sent(2).at(0);
    EXPECT_EQ(NameAndKey(logon), "cEBzcy13MHJk|   ");
    EXPECT_EQ(Text(logoff, 34, 65), "cEBzcy13MHJk");
    EXPECT_EQ(memcmp(&query[99], &logoff[99], 16), 0);  // the device's token, not the blanks
    EXPECT_NE(memcmp(&query[99], &setup[99], 16), 0);   // the next session's own
    ExpectZeroOutside(logon, {{0, 5}, {8, 14}, {28, 46}, {99, 102}});
    ExpectZeroOutside(query, {{0, 5}, {8, 14}, {28, 37}, {99, 115}});
    ExpectZeroOutside(logoff, {{0, 5}, {8, 14}, {28, 46}, {99, 115}});
    ExpectZeroOutside(setup, {{0, 5}, {8, 14}, {28, 42}, {99, 115}});
}

// Result 5: log off from this PC and send the same logon again.
TEST_F(Wire, LogonAlreadyFromThisPcLogsOffAndRetries) {
    ASSERT_TRUE(LoadDevice("\"password\":\"pw\",\"logged_on_from\":\"" + DevSimMac(pcMac) + "\""));
    auto t0 = Clock::now();
    EXPECT_EQ(Logon(Target("pw")), 1);
    EXPECT_GE(Since(t0), 6.0);
    auto requests = sim.Requests();
    ASSERT_EQ(requests.size(), 9u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(requests[i].bytes, requests[6 + i].bytes);  // transaction id included
        const Bytes& off = requests[3 + i].bytes;
        ExpectCommon(off, 4, false);
        ExpectZeroOutside(off, {{0, 5}, {8, 14}});  // no device MAC, text or authentication
        EXPECT_EQ(Id(off), Id(requests[0].bytes) + 1);
    }
    EXPECT_GE(requests[3].seconds - requests[2].seconds, 2.9);
    EXPECT_GE(requests[6].seconds - requests[5].seconds, 2.9);
    // The session this PC now holds with a token ends on that bare logoff too.
    EXPECT_EQ(Logon(Target("pw")), 1);
    EXPECT_EQ(LogoffZevDevice(), 1);
}

TEST_F(Wire, SetupChangesTheDeviceAndReportsTheSettingAccepted) {
    ASSERT_TRUE(LoadDevice("\"name\":\"OLD\",\"password\":\"pw\"", "{\"late_ms\":5400}"));
    EXPECT_EQ(Logon(Target("pw")), 1);
    ZevConfigRecord config = Config("RENAMED", "10.20.30.40", "255.255.0.0", "10.20.0.1", 0);
    auto t0 = Clock::now();
    EXPECT_EQ(SetZevConfig(&config), 1);
    EXPECT_GE(Since(t0), 10.0);  // success never ends a setup early
    EXPECT_EQ(SetZevConfig(&config), 0);  // the session ended with it
    auto setup = sim.Sent(2).at(0);
    ExpectCommon(setup, 2);
    EXPECT_EQ(NameAndKey(setup), "RENAMED|pw");
    EXPECT_EQ((Ints{setup[7], setup[14], setup[25]}), (Ints{1, 10, 1}));

    Search();
    ASSERT_EQ(count, 1);
    EXPECT_EQ(std::string(table[0].name) + " " + table[0].ip + " " + std::to_string(table[0].dhcp),
              "RENAMED 10.20.30.40 0");
}

TEST_F(Wire, NoSessionDefaultsAndSilence) {
    ASSERT_TRUE(LoadDevice("\"modes\":[5],\"silent\":false"));
    ZevModesRecord modes;
    memset(&modes, 0x11, sizeof modes);
    EXPECT_EQ((Ints{GetZevAdvancedModes(&modes, 1), modes.count}), (Ints{0, 0}));
    for (auto m : modes.modes) EXPECT_EQ(m, 0xFFFF);
    ZevTimeInfo info;
    memset(&info, 0x22, sizeof info);
    EXPECT_EQ(GetZevAdvancedTimeInfo(&info, 1), 0);
    EXPECT_EQ((Ints{info.year, info.month, info.day, info.settingB, info.unused[0]}), (Ints{2010, 1, 1, 0, 0x22}));
    ZevConfigRecord config = {};
    EXPECT_EQ(SetZevConfig(&config), 0);
    EXPECT_EQ(SetZevAdvancedTimeInfo(&info, 0), 0);
    EXPECT_EQ(LogoffZevDevice(), 0);
    EXPECT_TRUE(sim.Requests().empty());

    // Outside a session, flag 0 goes on the wire and a modes answer carrying flag 0 is taken.
    EXPECT_EQ(GetZevAdvancedModes(&modes, 0), 1);
    EXPECT_EQ((Ints{modes.count, modes.modes[0]}), (Ints{1, 5}));
    EXPECT_EQ(sim.Sent(8).at(0)[36], 0);

    // A logon nobody answers reports 0 and leaves no session behind.
    ASSERT_TRUE(sim.Load("{\"faults\":{\"silent\":true}}"));
    EXPECT_EQ(Logon(Target("pw")), 0);
    EXPECT_EQ(LogoffZevDevice(), 0);
}

TEST_F(Wire, PortTakenMeansNoAnswerAndNothingLeaks) {
    ASSERT_TRUE(LoadDevice("\"password\":\"pw\""));
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET holder = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local = {AF_INET, htons(65), {}, {}};
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);

    DWORD handlesBefore = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    auto t0 = Clock::now();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Logon(Target("pw")), 0);
    ZevTimeInfo info;
    EXPECT_EQ((Ints{GetZevAdvancedTimeInfo(&info, 0), info.year}), (Ints{1, 2010}));
    Search();
    EXPECT_EQ(count, 0);
    EXPECT_LT(Since(t0), 8.0);
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_LE(handlesAfter, handlesBefore + 2);
    EXPECT_EQ(sim.Sent(3).size(), 9u);  // still sent, never heard
    closesocket(holder);
    WSACleanup();
}

}  // namespace
