// The real Lorrick.exe in the private test network: ping, search through Tavik.dll against the
// device simulator, match and open; the shell's openings land in the recorder; its windows' texts
// whole in the four languages.
#include "finder/LorrickRes.h"
#include "tests/finder/LorrickRun.h"
#include "tests/support/DevSimClient.h"
#include "tests/support/ForeignTextFit.h"
#include "tests/support/Screenshot.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>

namespace {

const wchar_t kNotAccessible[] = L"The Dorvane selected is not accessible.\nPlease check your connection status.";

std::string Device(const char* name, const char* mac, const char* ip, bool state2 = false)
{
    return std::string("{\"name\":\"") + name + "\",\"mac\":\"" + mac + "\",\"ip\":\"" + ip +
           "\",\"state2\":" + (state2 ? "true" : "false") + "}";
}

std::string Devices(std::initializer_list<std::string> devices)
{
    std::string json = "{\"devices\":[";
    for (const std::string& d : devices) json += (json.back() == '[' ? "" : ",") + d;
    return json + "]}";
}

// What the shell was asked to open by a run started with `args`; how many openings there were
// when not exactly one.
std::string Opened(LorrickRun& run, const std::string& args)
{
    auto records = run.Records();
    if (records.size() != 1)
        return "records: " + std::to_string(records.size());
    std::printf("[measure] %s: opened %.2f s after start\n", args.c_str(), records[0].secondsAfterStart);
    return records[0].args;
}

class LorrickNetwork : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterShellRecorder({"lrkping", "192.168.77.42"}); }
    void SetUp() override
    {
        if (!DevSimClient::Available())
            GTEST_SKIP() << "no test network";
        ASSERT_TRUE(sim.Reset()) << sim.Error();
    }
    void Load(const std::string& json) { ASSERT_TRUE(sim.Load(json)) << sim.Error(); }

    // Runs a search that ends in an opening; the shell's one record.
    std::string OpenedBySearch(const std::string& args)
    {
        LorrickRun run(args);
        DWORD start = GetTickCount();
        EXPECT_TRUE(run.SearchingBox(15000)) << args;
        std::printf("[measure] %s: searching box %.2f s after start\n", args.c_str(), (GetTickCount() - start) / 1000.0);
        EXPECT_EQ(run.WaitExit(40000), 0u) << args;
        return Opened(run, args);
    }

    // Runs a search that ends in message 20002; the device count and list rows the dialog showed.
    std::pair<std::wstring, int> NotAccessible(const std::string& args)
    {
        LorrickRun run(args);
        EXPECT_TRUE(run.MessageBox(40000)) << args;
        HWND main = run.MainDialog(1000);
        std::wstring count = main ? ItemText(main, 6203) : L"?";
        int rows = main ? int(SendDlgItemMessageW(main, 6000, LVM_GETITEMCOUNT, 0, 0)) : -1;
        if (main) {  // shown as asked, the search ended and Refresh enabled
            SendMessageW(main, 0x8001, 0, 0);
            std::vector<std::string> unfit = UnfitTextsOf(main, OwnFolder() + L"Lorrick.exe", IDD_ZEVSEEKER, 1033);
            EXPECT_TRUE(unfit.empty()) << args << "\n" << Lines(unfit);
        }
        EXPECT_EQ(run.TakeMessageBox(1000), kNotAccessible) << args;
        EXPECT_EQ(run.WaitExit(10000), 0u) << args;
        EXPECT_TRUE(run.Records(1000).empty()) << args;
        return {count, rows};
    }

    DevSimClient sim;
};

TEST_F(LorrickNetwork, AnsweredPingOpensByNameWithoutWindowOrSearch)
{
    Load(Devices({}));
    const char* cases[][2] = {{"setting lrkping", "http://lrkping"}, {"share lrkping", "explore \\\\lrkping"}};
    for (auto& c : cases) {
        LorrickRun run(c[0]);
        bool shown = false;
        DWORD code = STILL_ACTIVE;
        for (DWORD start = ::GetTickCount(); code == STILL_ACTIVE && ::GetTickCount() - start < 20000;)
            if ((code = run.WaitExit(20)) == STILL_ACTIVE)
                shown = shown || !run.Run().Windows().empty();
        EXPECT_EQ(code, 0u) << c[0];
        EXPECT_FALSE(shown) << c[0];
        EXPECT_EQ(Opened(run, c[0]), c[1]);
    }
    EXPECT_TRUE(sim.Requests().empty()) << "a search ran although the ping was answered";
}

TEST_F(LorrickNetwork, SilentPingFallsBackToTheSearchAndOpensTheWebPageByAddress)
{
    Load(Devices({Device("lrkquiet", "02:00:00:00:01:05", "192.168.77.20")}));
    EXPECT_EQ(OpenedBySearch("setting lrkquiet"), "http://192.168.77.20");
}

// One search, every wrong pick a different address: the key is the part before the at sign and
// matches in full and in case; state 2 is never opened; equal keys go by name, then lower MAC.
TEST_F(LorrickNetwork, UnresolvedNameOpensTheShareOfTheMatchingDevice)
{
    Load(Devices({Device("Disk1", "02:00:00:00:02:01", "192.168.77.31"),
                  Device("disk10", "02:00:00:00:02:02", "192.168.77.32"),
                  Device("disk1@a", "02:00:00:00:02:03", "192.168.77.51", true),
                  // Lower by its whole MAC, though not by its last byte nor by bucket (byte 5 & 7).
                  Device("disk1@x", "02:00:00:00:03:05", "192.168.77.41"),
                  Device("disk1@x", "02:00:00:00:02:06", "192.168.77.42")}));
    EXPECT_EQ(OpenedBySearch("share disk1"), "explore \\\\192.168.77.42");
}

TEST_F(LorrickNetwork, NoMatchIsNotAccessibleButEveryDeviceIsListed)
{
    Load(Devices({Device("Disk1", "02:00:00:00:02:01", "192.168.77.31"),
                  Device("disk10", "02:00:00:00:02:02", "192.168.77.32"),
                  Device("disk1", "02:00:00:00:04:01", "192.168.77.51", true)}));
    EXPECT_EQ(NotAccessible("setting disk1"), std::make_pair(std::wstring(L"3"), 3));
    Load(Devices({}));
    EXPECT_EQ(NotAccessible("share disk1"), std::make_pair(std::wstring(L"0"), 0));
}

TEST_F(LorrickNetwork, StopEndsTheSearchWithoutMessage)
{
    Load(Devices({Device("disk1", "02:00:00:00:05:01", "192.168.77.61")}));
    LorrickRun run("setting disk1");
    HWND box = run.SearchingBox(15000);
    ASSERT_TRUE(box);
    Press(box, IDCANCEL);
    EXPECT_EQ(run.WaitExit(8000), 0u);
    EXPECT_TRUE(run.Records(1000).empty());
}

// Lorrick.exe beside the stand-in library, in a folder of its own: LORRICK_STUB_MODE "noadapter"
// answers "no adapter" first, "slow" searches for 12 s; then disk1 at 192.168.77.81 is found.
class LorrickSlowLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileW((OwnFolder() + L"Lorrick.exe").c_str(), (dir / L"Lorrick.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((OwnFolder() + L"slowtavik\\Tavik.dll").c_str(), (dir / L"Tavik.dll").c_str(), FALSE));
    }
    std::unique_ptr<LorrickRun> Start(const wchar_t* mode)
    {
        return std::unique_ptr<LorrickRun>(new LorrickRun(
            "setting disk1", dir / L"Lorrick.exe", {{L"LORRICK_STUB_MODE", mode}, {L"LORRICK_STUB_LOG", dir / L"calls.txt"}}));
    }
    // (milliseconds after the first call, result: 0 no adapter, 2 running, 1 records) per change.
    std::vector<std::pair<unsigned long, int>> Calls() const
    {
        std::vector<std::pair<unsigned long, int>> out;
        if (FILE* f = _wfopen((dir / L"calls.txt").c_str(), L"r")) {
            unsigned long ms;
            int r;
            while (std::fscanf(f, "%lu %d", &ms, &r) == 2) out.push_back({ms, r});
            std::fclose(f);
        }
        return out;
    }
    TempDir dir;
};

TEST_F(LorrickSlowLibrary, SearchWithoutAdapterIsRestartedAfterTenSeconds)
{
    auto run = Start(L"noadapter");
    EXPECT_EQ(run->WaitExit(40000), 0u);
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].second, 0);
    EXPECT_EQ(calls[1].second, 1);
    EXPECT_GT(calls[1].first, 8000u);  // no new call before the restart
    EXPECT_LT(calls[1].first, 12000u);
    EXPECT_EQ(Opened(*run, "setting disk1"), "http://192.168.77.81");
}

TEST_F(LorrickSlowLibrary, LongSearchShowsTheBoxAgainAndStillOpens)
{
    auto run = Start(L"slow");
    DWORD start = GetTickCount();
    HWND box = run->SearchingBox(15000);
    ASSERT_TRUE(box);
    // Closing the box through its OK action lets the restart show a new one.
    Press(box, IDOK);
    for (int i = 0; i < 250 && IsWindow(box); ++i) Sleep(20);
    ASSERT_FALSE(IsWindow(box));
    // The hidden dialog shows itself when asked.
    HWND main = run->MainDialog(1000);
    ASSERT_TRUE(main);
    EXPECT_FALSE(IsWindowVisible(main));
    SendMessageW(main, 0x8001, 0, 0);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_TRUE(run->SearchingBox(20000));
    EXPECT_GT(GetTickCount() - start, 8000u);
    EXPECT_EQ(run->WaitExit(30000), 0u);
    EXPECT_EQ(Opened(*run, "setting disk1"), "http://192.168.77.81");
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);  // one library search went on through the restart
    EXPECT_EQ(calls[1].second, 1);
}

// The searching box and the device list dialog, shown while the search runs (Refresh disabled),
// with every text whole; Stop ends the finder without opening anything. Run once per locale (see
// CMakeLists.txt): the finder speaks the language the locale folds to.
TEST_F(LorrickSlowLibrary, EveryTextWholeInTheLanguageOfTheLocale)
{
    const char* expected = std::getenv("KIT_EXPECT_LANGUAGE");
    const LANGID lang = expected ? LANGID(std::atoi(expected)) : 1033;
    auto run = Start(L"slow");
    HWND box = run->SearchingBox(15000);
    ASSERT_TRUE(box);
    std::vector<std::string> unfit = UnfitTextsOf(box, dir / L"Lorrick.exe", IDD_SEARCHING, lang);
    EXPECT_TRUE(unfit.empty()) << "searching box\n" << Lines(unfit);
    SaveWindowShot(box, L"lorrick_searching_" + std::to_wstring(lang));
    HWND main = run->MainDialog(1000);
    ASSERT_TRUE(main);
    SendMessageW(main, 0x8001, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, IDC_REFRESH)));
    unfit = UnfitTextsOf(main, dir / L"Lorrick.exe", IDD_ZEVSEEKER, lang);
    EXPECT_TRUE(unfit.empty()) << "device list\n" << Lines(unfit);
    SaveWindowShot(main, L"lorrick_list_" + std::to_wstring(lang));
    Press(box, IDCANCEL);
    EXPECT_EQ(run->WaitExit(8000), 0u);
    EXPECT_TRUE(run->Records(500).empty());
}

// Every account may add files to the finder's folder: an arp.exe (the recorder) or an ICMP.DLL
// (without the ICMP functions) planted there is never used, and the ping answers as ever.
TEST_F(LorrickSlowLibrary, SystemFilesPlantedBesideTheFinderAreNeverUsed)
{
    ASSERT_TRUE(CopyFileW((OwnFolder() + L"shell_recorder.exe").c_str(), (dir / L"arp.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((dir / L"Tavik.dll").c_str(), (dir / L"ICMP.DLL").c_str(), FALSE));
    // Wine keeps its own icmp.dll wherever a file of that name is found first; Windows would not.
    const char* app = "Software\\Wine\\AppDefaults\\Lorrick.exe";
    HKEY before;
    ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, app, 0, KEY_READ, &before), ERROR_SUCCESS) << "not ours: " << app;
    RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(app) + "\\DllOverrides").c_str(), "icmp", REG_SZ, "native,builtin", 15);
    LorrickRun run("setting lrkping", dir / L"Lorrick.exe");
    EXPECT_EQ(run.WaitExit(20000), 0u);
    RegDeleteTreeA(HKEY_CURRENT_USER, app);
    EXPECT_EQ(Opened(run, "setting lrkping"), "http://lrkping");
}

}  // namespace
