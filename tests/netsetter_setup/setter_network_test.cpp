// The real Quentari.exe in the private test network against the device simulator: search, logon,
// setup, clock and web page; the bytes on the wire are read back from the simulator.
#include "tests/finder/LorrickRun.h"
#include "tests/netsetter_setup/QuentariDriver.h"
#include "tests/support/DevSimClient.h"
#include <winsock2.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

bool Japanese() { const char* l = std::getenv("KIT_SHOT_LANGUAGE"); return l && std::string(l) == "ja"; }
std::wstring T(const wchar_t* en, const wchar_t* ja) { return Japanese() ? ja : en; }

const wchar_t kCaution[] = L"Quentari caution";
const wchar_t kAuthError[] = L"Quentari authentication error";
const wchar_t kAppTitle[] = L"Quentari - network device setting utility";

// Addresses on the test network's subnet (the simulator's address less its last number).
std::string Net(int host)
{
    const char* dev = std::getenv("KIT_DEV_IP");
    std::string prefix = dev ? dev : "10.231.0.1";
    return prefix.substr(0, prefix.rfind('.') + 1) + std::to_string(host);
}
std::wstring WNet(int host) { return Widen(Net(host)); }
// Replaces every "@NET.n@" of a scenario by the subnet address n.
std::string OnNet(std::string json)
{
    for (size_t at; (at = json.find("@NET.")) != std::string::npos;) {
        size_t end = json.find('@', at + 1);
        json.replace(at, end - at + 1, Net(std::stoi(json.substr(at + 5, end - at - 5))));
    }
    return json;
}

std::string Str(const std::vector<uint8_t>& b, size_t at) { return std::string(reinterpret_cast<const char*>(&b[at])); }

class QuentariNetwork : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!DevSimClient::Available())
            GTEST_SKIP() << "no test network";
        ASSERT_TRUE(sim.Reset()) << sim.Error();
    }
    // The control port takes one line per command.
    void Load(std::string json)
    {
        json = OnNet(json);
        for (char& ch : json)
            if (ch == '\n')
                ch = ' ';
        ASSERT_TRUE(sim.Load(json)) << sim.Error();
    }
    // The requests of operation `op` the simulator received, in order.
    std::vector<std::vector<uint8_t>> Sent(uint8_t op)
    {
        std::vector<std::vector<uint8_t>> out;
        for (const DevSimRequest& r : sim.Requests())
            if (!r.bytes.empty() && r.bytes[0] == op)
                out.push_back(r.bytes);
        return out;
    }
    // Asks the program to log on to `row` with `password`; the password dialog's window.
    HWND Logon(QuentariDriver& q, int row, const wchar_t* password)
    {
        PostMessageW(q.Main(), 0x384, WPARAM(row), 0);
        HWND dlg = q.WaitDialog(T(L"Login Password", L"\x30ED\x30B0\x30A4\x30F3\x30D1\x30B9\x30EF\x30FC\x30C9"));
        if (dlg) {
            SetDlgItemTextW(dlg, 1033, password);
            Press(dlg, IDOK);
        }
        return dlg;
    }
    DevSimClient sim;
};

}  // namespace

TEST_F(QuentariNetwork, SearchOfFiftyDevicesListsThemSortedByNameThenMac)
{
    Load(R"({"devices":[{"kind":1,"name":"Same","mac":"02:00:00:00:00:02"},
        {"kind":2,"name":"Same","mac":"02:00:00:00:00:01","ip":"192.168.5.9"},
        {"kind":3,"name":"ABCD"},{"kind":4,"name":"ABC"},{"kind":4,"name":"NAS1?DOMAIN"},
        {"kind":4,"name":"A&B"},{"kind":1,"name":"\u00e9lan"}],
        "generate":{"count":43,"kind":2}})");
    DWORD start = GetTickCount();
    QuentariDriver q;
    ASSERT_TRUE(q.WaitSearchDone()) << "no search end";
    std::printf("[measure] program start to a filled list of 50 devices: %.2f s\n", (GetTickCount() - start) / 1000.0);
    ASSERT_EQ(q.Rows(), 50);
    EXPECT_EQ(ItemText(q.Main(), 1027), L"50");
    const wchar_t* names[] = {L"A&&B", L"ABC", L"ABCD", L"NAS1(\x30C9\x30E1\x30A4\x30F3\x30E2\x30FC\x30C9)", L"SIM-008"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(q.Cell(i, 2), names[i]) << i;
    EXPECT_EQ(q.Cell(46, 2), L"SIM-050");
    EXPECT_EQ(q.Cell(47, 2), L"Same");
    EXPECT_EQ(q.Cell(47, 1), L"02:00:00-00:00:01");
    EXPECT_EQ(q.Cell(47, 0), L"     192.168.5.9");
    EXPECT_EQ(q.Cell(48, 1), L"02:00:00-00:00:02");
    EXPECT_EQ(q.Cell(49, 2), L"\xE9lan");
    // Three copies of one search request; the PC and device MACs still zero.
    auto searches = Sent(0);
    ASSERT_EQ(searches.size(), 3u);
    EXPECT_EQ(searches[0], searches[2]);
    const std::vector<uint8_t>& s = searches[0];
    ASSERT_EQ(s.size(), 132u);
    EXPECT_EQ(Str(s, 34), "FROM-PC");
    EXPECT_EQ(Str(s, 115), "Ostrand");
    EXPECT_EQ(std::vector<uint8_t>(s.begin() + 8, s.begin() + 14), std::vector<uint8_t>(6, 0));
    EXPECT_EQ(std::vector<uint8_t>(s.begin() + 99, s.begin() + 115), std::vector<uint8_t>(16, 0));
    q.Shot(q.Main(), "main");
}

TEST_F(QuentariNetwork, LogonBase64RetriesAfterWrongPasswordAndCancelLogsOff)
{
    // Stray answers for other transaction ids say "accepted"; only the real answer counts.
    Load(R"({"devices":[{"kind":4,"name":"NAS01@WORKGROUP","password":"secret","ip":"@NET.40@",
        "mac":"02:00:00:00:04:40"}],"faults":{"stray":true}})");
    QuentariDriver q;
    ASSERT_TRUE(q.WaitSearchDone());
    q.Shot(q.Main(), "main_one");
    PostMessageW(q.Main(), 0x384, 0, 0);
    HWND dlg = q.WaitDialog(T(L"Login Password", L"\x30ED\x30B0\x30A4\x30F3\x30D1\x30B9\x30EF\x30FC\x30C9"));
    ASSERT_TRUE(dlg);
    SetDlgItemTextW(dlg, 1033, L"123456789012345678901");  // 21 characters: refused whole
    EXPECT_EQ(Text(dlg, 1033), L"");
    SetDlgItemTextW(dlg, 1033, L"wrong");
    q.Shot(dlg, "password");
    Press(dlg, IDOK);
    EXPECT_EQ(q.TakeMessage(T(kAuthError, L"Quentari \x8A8D\x8A3C\x30A8\x30E9\x30FC")),
              T(L"The password is not valid.", L"\x30D1\x30B9\x30EF\x30FC\x30C9\x304C\x6B63\x3057\x304F\x3042\x308A\x307E\x305B\x3093\x3002"));
    // The dialog asks again by itself.
    dlg = q.WaitDialog(T(L"Login Password", L"\x30ED\x30B0\x30A4\x30F3\x30D1\x30B9\x30EF\x30FC\x30C9"));
    ASSERT_TRUE(dlg);
    SetDlgItemTextW(dlg, 1033, L"secret");
    Press(dlg, IDOK);
    HWND setting = q.WaitDialog(T(L"Quentari - IP address setting", L"Quentari - IP\x30A2\x30C9\x30EC\x30B9\x8A2D\x5B9A"), 30000);
    ASSERT_TRUE(setting) << "no setting dialog";
    EXPECT_EQ(Text(setting, 1076), L"NAS01");
    EXPECT_EQ(Text(setting, 1077), L"WORKGROUP");
    EXPECT_EQ(IsDlgButtonChecked(setting, 1006), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(setting, 1019)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(setting, 295)));
    q.Shot(setting, "setting_storage");
    Press(setting, IDCANCEL);
    for (int i = 0; i < 50 && IsWindow(setting); ++i)
        Sleep(100);
    Sleep(2500);
    auto logons = Sent(3);
    ASSERT_GE(logons.size(), 6u);
    EXPECT_EQ(Str(logons[0], 34), "d3Jvbmc=");
    EXPECT_EQ(Str(logons[0], 99), "   ");
    EXPECT_EQ(Str(logons[3], 34), "c2VjcmV0");
    EXPECT_EQ(logons[3][28], 0x02);
    EXPECT_EQ(logons[3][33], 0x40);
    EXPECT_NE(std::vector<uint8_t>(logons[0].begin() + 8, logons[0].begin() + 14), std::vector<uint8_t>(6, 0))
        << "the PC MAC is known by the logon";
    // The logoff names the device and says "FROM-PC", without token or password: the device
    // ends the session of the PC that sends it.
    auto logoffs = Sent(4);
    ASSERT_EQ(logoffs.size(), 3u);
    EXPECT_EQ(logoffs[0][33], 0x40);
    EXPECT_EQ(Str(logoffs[0], 34), "FROM-PC");
    EXPECT_EQ(std::vector<uint8_t>(logoffs[0].begin() + 99, logoffs[0].begin() + 115), std::vector<uint8_t>(16, 0));
    EXPECT_NE(sim.Devices().find("\"logged_on_from\": null"), std::string::npos) << sim.Devices();
}

TEST_F(QuentariNetwork, PlainLogonOtherUserSessionTimeOutAndSilence)
{
    const std::string device = R"({"kind":1,"name":"AP-ONE","password":"pw1","ip":"@NET.30@")";
    Load(R"({"devices":[)" + device + R"(,"logon_status":3}]})");
    QuentariDriver q;
    ASSERT_TRUE(q.WaitSearchDone());
    struct Case { const char* json; const wchar_t* caption; const wchar_t* text; } cases[] = {
        {R"(,"logon_status":3}]})", kAuthError, L"Another user is logged in."},
        {R"(,"logon_status":2}]})", kAuthError, L"The device became a time-out. You should login again."},
        {R"(}],"faults":{"silent":true}})", kCaution, L"There is no response from the device."},
    };
    for (auto& c : cases) {
        Load(R"({"devices":[)" + device + c.json);
        ASSERT_TRUE(Logon(q, 0, L"pw1"));
        EXPECT_EQ(q.TakeMessage(c.caption), c.text) << c.json;
        auto logons = Sent(3);
        ASSERT_FALSE(logons.empty());
        EXPECT_EQ(Str(logons[0], 34), "AP-ONE");
        EXPECT_EQ(Str(logons[0], 99), "pw1");
        Sleep(600);
    }
}

TEST_F(QuentariNetwork, StaticSetupAndClockOfStorageDeviceShowUpAtNextSearch)
{
    Load(R"({"devices":[{"kind":4,"name":"NAS01@WORKGROUP","password":"secret","ip":"@NET.40@",
        "mac":"02:00:00:00:04:41","modes":[3,1],"time":{"year":2024,"month":6,"day":15,"hour":12,
        "minute":30,"second":45}}]})");
    QuentariDriver q;
    ASSERT_TRUE(q.WaitSearchDone());
    ASSERT_TRUE(Logon(q, 0, L"secret"));
    HWND setting = q.WaitDialog(L"Quentari - IP address setting", 40000);
    ASSERT_TRUE(setting) << "no setting dialog";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(setting, 295)));
    EXPECT_EQ(IsDlgButtonChecked(setting, 295), BST_CHECKED) << "the device clock is far off";
    EXPECT_NE(ItemText(setting, 299).find(L"2024/06/15"), std::wstring::npos) << ItemText(setting, 299);
    q.Shot(setting, "setting_clock");
    Press(setting, 1007);
    Sleep(300);
    // Refusals keep the dialog open.
    SetAddress(setting, 1020, "255.0.255.0");
    Press(setting, IDOK);
    EXPECT_EQ(q.TakeMessage(kAppTitle), L"Subnet mask setting is invalid.");
    EXPECT_EQ(Text(GetDlgItem(setting, 1020), 2), L"255") << "the device's mask again";
    SetDlgItemTextW(setting, 1076, L"NAS 02");
    Press(setting, IDOK);
    EXPECT_EQ(q.TakeMessage(kAppTitle), L"The Dorvane name contains characters that cannot be used for it.");
    SetDlgItemTextW(setting, 1076, L"NAS02");
    SetDlgItemTextW(setting, 1077, L"WG2");
    Press(setting, 1007);
    SetAddress(setting, 1019, Net(41).c_str());
    SetAddress(setting, 1020, "255.255.255.0");
    SetAddress(setting, 1005, Net(1).c_str());
    DWORD okAt = GetTickCount();
    Press(setting, IDOK);
    EXPECT_EQ(q.TakeMessage(kAppTitle, 60000), L"reflect the settings.It takes about 60 seconds to complete.");
    bool shown = false;
    while (!shown && GetTickCount() - okAt < 90000) {
        Sleep(250);
        shown = q.Rows() == 1 && q.Cell(0, 0) == L"     " + WNet(41) && q.Cell(0, 2) == L"NAS02@WG2";
    }
    EXPECT_TRUE(shown) << "the list after the setup";
    std::printf("[measure] OK in the setting dialog to the device listed with its new address: %.2f s\n",
                (GetTickCount() - okAt) / 1000.0);
    std::string state = sim.Devices();
    EXPECT_NE(state.find("\"ip\": \"" + Net(41) + "\""), std::string::npos) << state;
    EXPECT_NE(state.find("\"static\": true"), std::string::npos) << state;
    std::time_t now = std::time(nullptr);
    int year = std::gmtime(&now)->tm_year + 1900;
    EXPECT_NE(state.find("\"year\": " + std::to_string(year)), std::string::npos) << state;

    auto clocks = Sent(9);
    ASSERT_FALSE(clocks.empty());
    const std::vector<uint8_t>& c = clocks[0];
    EXPECT_EQ(std::vector<uint8_t>(c.begin() + 34, c.begin() + 37), (std::vector<uint8_t>{0, 1, 1}));
    EXPECT_EQ(c[37] << 8 | c[38], year);
    EXPECT_EQ(c[44], 0xFF);
    EXPECT_EQ(c[65], 1);
    EXPECT_EQ(c[66], 1);
    EXPECT_EQ(c[33], 0x41);
    EXPECT_NE(Str(c, 99), "   ");
    auto setups = Sent(2);
    ASSERT_FALSE(setups.empty());
    const std::vector<uint8_t>& s = setups[0];
    in_addr fresh, gateway;
    fresh.s_addr = inet_addr(Net(41).c_str());
    gateway.s_addr = inet_addr(Net(1).c_str());
    std::vector<uint8_t> want = {0, 1};  // TYPE static, then the address, mask, gateway and web port
    want.insert(want.end(), (uint8_t*)&fresh, (uint8_t*)&fresh + 4);
    want.insert(want.end(), {255, 255, 255, 0});
    want.insert(want.end(), (uint8_t*)&gateway, (uint8_t*)&gateway + 4);
    want.insert(want.end(), {0, 80});
    std::vector<uint8_t> got(s.begin() + 6, s.begin() + 8);
    got.insert(got.end(), s.begin() + 14, s.begin() + 28);
    EXPECT_EQ(got, want);
    EXPECT_EQ(Str(s, 34), "NAS02@WG2");
    EXPECT_EQ(std::vector<uint8_t>(s.begin() + 99, s.begin() + 115), std::vector<uint8_t>(c.begin() + 99, c.begin() + 115))
        << "one session token";
}

TEST_F(QuentariNetwork, DhcpSetupOfAccessPointAndWebPage)
{
    RegisterShellRecorder({});
    Load(R"({"devices":[{"kind":2,"name":"AP-DHCP","password":"pw","ip":"@NET.50@","static":true,
        "web_port":8080}]})");
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring record = std::wstring(tmp) + L"quentari_web.txt";
    DeleteFileW(record.c_str());
    QuentariDriver q({{L"LORRICK_RECORD", record}});
    ASSERT_TRUE(q.WaitSearchDone());
    PostMessageW(q.Main(), 0x385, 0, 0);
    std::string opened;
    for (int i = 0; i < 100 && opened.empty(); ++i, Sleep(100))
        opened = ReadBytes(record);
    std::wstring status = ItemText(q.Main(), 1028);
    EXPECT_NE(opened.find("http://" + Net(50) + ":8080"), std::string::npos) << opened << " status: "
        << std::string(status.begin(), status.end());
    ASSERT_TRUE(Logon(q, 0, L"pw"));
    HWND setting = q.WaitDialog(L"Quentari - IP address setting", 30000);
    ASSERT_TRUE(setting);
    EXPECT_EQ(IsDlgButtonChecked(setting, 1007), BST_CHECKED);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(setting, 1076)));
    Press(setting, 1006);
    Press(setting, IDOK);
    EXPECT_EQ(q.TakeMessage(kAppTitle, 40000), L"reflect the settings.It takes about 30 seconds to complete.");
    EXPECT_NE(sim.Devices().find("\"static\": false"), std::string::npos) << sim.Devices();
    auto setups = Sent(2);
    ASSERT_FALSE(setups.empty());
    EXPECT_EQ(setups[0][6], 0);
    EXPECT_EQ(setups[0][7], 0);
    EXPECT_EQ(Str(setups[0], 34), "AP-DHCP");
    EXPECT_EQ(Str(setups[0], 99), "pw");
    DeleteFileW(record.c_str());
}
