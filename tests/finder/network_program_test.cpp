// The real Lorrick.exe in the private test network: ping, search through Tavik.dll against the
// device simulator, match and open; the shell's openings land in the recorder.
#include "lorrick_process.h"
#include "tests/support/DevSimClient.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstdio>

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
    for (const std::string& d : devices)
        json += (json.back() == '[' ? "" : ",") + d;
    return json + "]}";
}

class LorrickNetwork : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterShellRecorder({"lrkping", "192.168.77.21"});
    }
    void SetUp() override
    {
        if (!DevSimClient::Available())
            GTEST_SKIP() << "no test network";
        ASSERT_TRUE(sim.Reset()) << sim.Error();
    }
    void Load(const std::string& json) { ASSERT_TRUE(sim.Load(json)) << sim.Error(); }

    // Runs a search that ends in an opening; the shell's one record.
    std::string OpenedBySearch(const std::string& args, double* seconds = nullptr)
    {
        LorrickRun run(args);
        DWORD start = GetTickCount();
        EXPECT_TRUE(run.FindSearchingBox(15000)) << args;
        if (seconds)
            std::printf("[measure] %s: searching box %.2f s after start\n", args.c_str(),
                        (GetTickCount() - start) / 1000.0);
        EXPECT_EQ(run.WaitExit(40000), 0u) << args;
        auto records = run.Records();
        if (records.size() != 1)
            return "records: " + std::to_string(records.size());
        if (seconds)
            *seconds = records[0].secondsAfterStart;
        return records[0].args;
    }

    // Runs a search that ends in message 20002; the device count the dialog showed.
    std::wstring NotAccessibleCount(const std::string& args, int* rows = nullptr)
    {
        LorrickRun run(args);
        EXPECT_TRUE(run.FindMessageBox(40000)) << args;
        HWND main = run.FindMainDialog(1000);
        std::wstring count = main ? ControlText(main, 6203) : L"?";
        if (rows)
            *rows = main ? int(SendDlgItemMessageW(main, 6000, LVM_GETITEMCOUNT, 0, 0)) : -1;
        EXPECT_EQ(run.TakeMessageBox(1000), kNotAccessible) << args;
        EXPECT_EQ(run.WaitExit(10000), 0u) << args;
        EXPECT_TRUE(run.Records(1000).empty()) << args;
        return count;
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
        DWORD code;
        while ((code = run.WaitExit(20)) == STILL_ACTIVE)
            shown = shown || run.AnyVisibleWindow();
        EXPECT_EQ(code, 0u) << c[0];
        EXPECT_FALSE(shown) << c[0];
        auto records = run.Records();
        ASSERT_EQ(records.size(), 1u) << c[0];
        EXPECT_EQ(records[0].args, c[1]);
        std::printf("[measure] %s: opened %.2f s after start\n", c[0], records[0].secondsAfterStart);
    }
    EXPECT_TRUE(sim.Requests().empty()) << "a search ran although the ping was answered";
}

TEST_F(LorrickNetwork, SilentPingFallsBackToTheSearch)
{
    Load(Devices({Device("lrkquiet", "02:00:00:00:01:05", "192.168.77.20"),
                  Device("disk1", "02:00:00:00:01:06", "192.168.77.21")}));
    double seconds = 0;
    EXPECT_EQ(OpenedBySearch("setting lrkquiet", &seconds), "http://192.168.77.20");
    std::printf("[measure] setting lrkquiet (silent ping, search): opened %.2f s after start\n", seconds);
    EXPECT_EQ(OpenedBySearch("share disk1", &seconds), "explore \\\\192.168.77.21");
    std::printf("[measure] share disk1 (unresolved name, search): opened %.2f s after start\n", seconds);
}

TEST_F(LorrickNetwork, NameKeyIsThePartBeforeTheAtSign)
{
    Load(Devices({Device("Disk1", "02:00:00:00:02:01", "192.168.77.31"),
                  Device("disk10", "02:00:00:00:02:02", "192.168.77.32"),
                  Device("disk1@x", "02:00:00:00:02:03", "192.168.77.33")}));
    EXPECT_EQ(OpenedBySearch("setting disk1"), "http://192.168.77.33");
    Load(Devices({Device("Disk1", "02:00:00:00:02:01", "192.168.77.31"),
                  Device("disk10", "02:00:00:00:02:02", "192.168.77.32")}));
    EXPECT_EQ(NotAccessibleCount("setting disk1"), L"2");
}

TEST_F(LorrickNetwork, EqualNamesOpenTheLowerMac)
{
    Load(Devices({Device("disk1", "02:00:00:00:03:09", "192.168.77.41"),
                  Device("disk1", "02:00:00:00:03:05", "192.168.77.42")}));
    EXPECT_EQ(OpenedBySearch("setting disk1"), "http://192.168.77.42");
}

TEST_F(LorrickNetwork, StateTwoIsListedButNeverOpened)
{
    Load(Devices({Device("disk1", "02:00:00:00:04:01", "192.168.77.51", true),
                  Device("disk1", "02:00:00:00:04:02", "192.168.77.52")}));
    EXPECT_EQ(OpenedBySearch("setting disk1"), "http://192.168.77.52");
    Load(Devices({Device("disk1", "02:00:00:00:04:01", "192.168.77.51", true)}));
    int rows = -1;
    EXPECT_EQ(NotAccessibleCount("setting disk1", &rows), L"1");
    EXPECT_EQ(rows, 1);
}

TEST_F(LorrickNetwork, NoDeviceIsNotAccessible)
{
    Load(Devices({}));
    int rows = -1;
    EXPECT_EQ(NotAccessibleCount("share disk1", &rows), L"0");
    EXPECT_EQ(rows, 0);
}

TEST_F(LorrickNetwork, StopEndsTheSearchWithoutMessage)
{
    Load(Devices({Device("disk1", "02:00:00:00:05:01", "192.168.77.61")}));
    LorrickRun run("setting disk1");
    HWND box = run.FindSearchingBox(15000);
    ASSERT_TRUE(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(run.WaitExit(8000), 0u);
    EXPECT_TRUE(run.Records(1000).empty());
}

// Lorrick.exe beside the stand-in library, in a folder of its own.
class LorrickSlowLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        m_dir = std::string(tmp) + "lorrick_slow_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_dir.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((ExeDir() + "\\Lorrick.exe").c_str(), Exe().c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((ExeDir() + "\\slowtavik\\Tavik.dll").c_str(), (m_dir + "\\Tavik.dll").c_str(), FALSE));
        m_log = m_dir + "\\calls.txt";
        DeleteFileA(m_log.c_str());
        SetEnvironmentVariableA("LORRICK_STUB_LOG", m_log.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("LORRICK_STUB_MODE", nullptr);
        for (const char* f : {"\\Lorrick.exe", "\\Tavik.dll", "\\calls.txt"})
            DeleteFileA((m_dir + f).c_str());
        RemoveDirectoryA(m_dir.c_str());
    }
    std::string Exe() const { return m_dir + "\\Lorrick.exe"; }
    // (milliseconds after the first call, result: 0 no adapter, 2 running, 1 records) per change.
    std::vector<std::pair<unsigned long, int>> Calls() const
    {
        std::vector<std::pair<unsigned long, int>> out;
        if (FILE* f = std::fopen(m_log.c_str(), "r")) {
            unsigned long ms;
            int r;
            while (std::fscanf(f, "%lu %d", &ms, &r) == 2)
                out.push_back({ms, r});
            std::fclose(f);
        }
        return out;
    }
    std::string m_dir, m_log;
};

TEST_F(LorrickSlowLibrary, SearchWithoutAdapterIsRestartedAfterTenSeconds)
{
    SetEnvironmentVariableA("LORRICK_STUB_MODE", "noadapter");
    LorrickRun run("setting disk1", Exe());
    EXPECT_EQ(run.WaitExit(40000), 0u);
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].second, 0);
    EXPECT_EQ(calls[1].second, 1);
    EXPECT_GT(calls[1].first, 8000u);  // no new call before the restart
    EXPECT_LT(calls[1].first, 12000u);
    auto records = run.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, "http://192.168.77.81");
}

TEST_F(LorrickSlowLibrary, LongSearchShowsTheBoxAgainAndStillOpens)
{
    SetEnvironmentVariableA("LORRICK_STUB_MODE", "slow");
    LorrickRun run("setting disk1", Exe());
    DWORD start = GetTickCount();
    HWND box = run.FindSearchingBox(15000);
    ASSERT_TRUE(box);
    // Closing the box through its OK action lets the restart show a new one.
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 250 && IsWindow(box); ++i)
        Sleep(20);
    ASSERT_FALSE(IsWindow(box));
    // The hidden dialog shows itself when asked.
    HWND main = run.FindMainDialog(1000);
    ASSERT_TRUE(main);
    EXPECT_FALSE(IsWindowVisible(main));
    SendMessageW(main, 0x8001, 0, 0);
    EXPECT_TRUE(IsWindowVisible(main));
    HWND again = run.FindSearchingBox(20000);
    DWORD reappeared = GetTickCount() - start;
    EXPECT_TRUE(again);
    EXPECT_GT(reappeared, 8000u);
    EXPECT_EQ(run.WaitExit(30000), 0u);
    auto records = run.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, "http://192.168.77.81");
    auto calls = Calls();
    ASSERT_EQ(calls.size(), 2u);  // one library search went on through the restart
    EXPECT_EQ(calls[1].second, 1);
}

}  // namespace
