// The sender and receiver threads on UDP port 65, against the device simulator and crafted replies.
#include <winsock2.h>
#include "netsetter/DeviceRequests.h"
#include "netsetter/QuentariApp.h"
#include "netsetter/QuentariDlg.h"
#include "netsetter/QuentariMsg.h"
#include "netsetter/QuentariRes.h"
#include "netsetter/QuentariState.h"
#include "netsetter/RcvThread.h"
#include "netsetter/SndThread.h"
#include "tests/support/DevSimClient.h"
#include "tests/support/ImportStandIn.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include <gtest/gtest.h>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// The threads read the sequence number and fill the address table of the application object.
CQuentariApp g_app;

namespace {

struct Handed { UINT msg; std::vector<uint8_t> bytes; };
std::vector<Handed> g_handed;

LRESULT CALLBACK OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_QT_DEVICE_REPLY || msg == WM_QT_ADVANCED_DATA_REPLY) {
        auto* p = reinterpret_cast<const uint8_t*>(lp);
        g_handed.push_back({msg, std::vector<uint8_t>(p, p + kPacketSize)});
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

// The dialog's message boxes are modal on the test's thread, where nobody would answer them: one
// watcher for the thread answers each with OK at once and keeps its text, and a box the test did
// not take fails it.
class BoxWatch {
public:
    explicit BoxWatch(DWORD thread)
        : m_watcher([this, thread] {
              for (HWND last = nullptr; !m_done; Sleep(20))
                  for (HWND w : TopLevelWindows())
                      if (GetWindowThreadProcessId(w, nullptr) == thread && IsWindowVisible(w) && IsMessageBox(w)) {
                          // Asked with a bound: the box's thread may be between two messages.
                          wchar_t text[512] = {};
                          DWORD_PTR got = 0;
                          if (w != last) {
                              SendMessageTimeoutW(GetDlgItem(w, 0xFFFF), WM_GETTEXT, 512, LPARAM(text), SMTO_BLOCK, 2000, &got);
                              std::lock_guard<std::mutex> hold(m_lock);
                              m_texts.push_back(text);
                          }
                          last = w;
                          Press(w, IDOK);
                      }
          })
    {
    }
    ~BoxWatch()
    {
        m_done = true;
        m_watcher.join();
        for (const std::wstring& text : m_texts)
            ADD_FAILURE() << "the dialog showed a message box: \"" << text << "\"";
    }
    std::vector<std::wstring> Take()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return std::exchange(m_texts, {});
    }

private:
    std::mutex m_lock;
    std::vector<std::wstring> m_texts;
    std::atomic<bool> m_done{false};
    std::thread m_watcher;
};

// The main dialog itself on a message window, which keeps what the receiver hands it.
class Owner : public CQuentariDlg {
public:
    Owner()
    {
        WNDCLASSW wc = {0, OwnerProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"QuentariThreadOwner"};
        RegisterClassW(&wc);
        Attach(CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
        g_handed.clear();
    }
    ~Owner() override
    {
        Stop();
        ::DestroyWindow(Detach());
    }
    // Stops both as StopThreads does; the exit codes tell whether they ended by themselves.
    void Stop()
    {
        m_rcvExit = StopAndDelete(m_pRcvThread);
        m_sndExit = StopAndDelete(m_pSndThread);
    }
    template <class T>
    static DWORD StopAndDelete(T*& t)
    {
        if (!t)
            return 0;
        t->Stop();
        DWORD code = t->GetExitCode();
        delete std::exchange(t, nullptr);
        return code;
    }
    // A search request with the next sequence number, handed to the sender.
    DeviceRequestPacket Search()
    {
        DeviceRequestPacket p = BuildSearchRequest(++g_app.m_nSndSeq, g_abPcMac);
        SendRequest(p);
        return p;
    }
    static void Pump(DWORD ms)
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageW(&m);
        }
    }
    DWORD m_rcvExit = 0, m_sndExit = 0;
};

std::vector<uint8_t> Bytes(const DeviceRequestPacket& p)
{
    auto* b = reinterpret_cast<const uint8_t*>(&p);
    return std::vector<uint8_t>(b, b + kPacketSize);
}

uint32_t IdOf(const std::vector<uint8_t>& b) { return uint32_t(b[1]) << 24 | b[2] << 16 | b[3] << 8 | b[4]; }

// A datagram to the receiver on this PC: the operation, the current request's id moved by
// seqOffset, and in one longer than 34 bytes the echoed MAC and a tag at byte 33.
void SendDatagram(SOCKET s, uint8_t op, int seqOffset, int size, const uint8_t* mac, uint8_t tag)
{
    std::vector<uint8_t> d(size_t(size), 0);
    uint32_t seq = g_app.m_nSndSeq + uint32_t(seqOffset);
    d[0] = op;
    for (int i = 0; i < 4; ++i)
        d[1 + i] = uint8_t(seq >> (24 - 8 * i));
    if (size > 34) {
        std::memcpy(&d[8], mac, 6);
        d[33] = tag;
    }
    sockaddr_in to = {AF_INET, htons(kDevicePort), {}, {}};
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sendto(s, reinterpret_cast<const char*>(d.data()), size, 0, reinterpret_cast<sockaddr*>(&to), sizeof(to));
}

// The receive as this program imports it, while a row's stand-in lives: of the calls counted
// from 1, `count` from number `from` on fail with `error` (all of them from there when count is
// -1); the others are the real receive's.
struct ReceiveFault { int error, from, count; };
ReceiveFault g_fault;
std::atomic<long> g_receives{0};
using RecvFromFn = int(WSAAPI*)(SOCKET, char*, int, int, sockaddr*, int*);
RecvFromFn g_realRecvFrom;

int WSAAPI FaultyRecvFrom(SOCKET s, char* buf, int len, int flags, sockaddr* from, int* fromLen)
{
    long call = ++g_receives;
    if (call >= g_fault.from && (g_fault.count < 0 || call < g_fault.from + g_fault.count)) {
        WSASetLastError(g_fault.error);
        return SOCKET_ERROR;
    }
    return g_realRecvFrom(s, buf, len, flags, from, fromLen);
}

class QuentariThreads : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!DevSimClient::Available())
            GTEST_SKIP() << "no device simulator";
        WSADATA wsa;
        WSAStartup(MAKEWORD(1, 1), &wsa);
        g_app.m_nSndSeq = 0x7FFFFFF0u;
        g_nPendingOperation = kPendingSearch;
        std::memset(g_abPcMac, 0, 6);
        m_boxes.reset(new BoxWatch(GetCurrentThreadId()));
    }
    void TearDown() override
    {
        m_boxes.reset();
        m_sim.Reset();
    }
    DevSimClient m_sim;
    std::unique_ptr<BoxWatch> m_boxes;
};

}  // namespace

TEST_F(QuentariThreads, ASearchGoesOutThreeTimesAndOnlyItsRepliesArrive)
{
    // Junk before every answer set: too short, too long for the buffer, garbage of full length.
    ASSERT_TRUE(m_sim.Load(R"({"devices":[{"name":"NAS-A","kind":4},{"name":"AP-B","kind":1}],)"
                           R"("faults":{"late_ms":1500,"junk":["0100",")" + std::string(600, 'a') + R"(",")" +
                           std::string(264, 'c') + R"("]}})")) << m_sim.Error();
    Owner owner;
    ASSERT_TRUE(owner.StartThreads());
    // The simulator stalls as on a busy machine and reads the three copies together: the gaps
    // are still those on the wire. Its answers come from 0.6 s on, the late copies from 2.1 s.
    ASSERT_TRUE(m_sim.Hold(600)) << m_sim.Error();
    DeviceRequestPacket sent = owner.Search();
    uint32_t seq = g_app.m_nSndSeq;
    owner.Pump(1500);
    // A new request is being built: the late copies that follow belong to the old one.
    ++g_app.m_nSndSeq;
    owner.Pump(1600);
    owner.Stop();

    std::vector<DevSimRequest> log = m_sim.Requests();
    ASSERT_EQ(log.size(), 3u);
    // Whole copies, 250 ms apart; a busy machine can only stretch the gaps.
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].bytes, Bytes(sent)) << i;
        double gap = i ? log[i].seconds - log[i - 1].seconds : 0.25;
        EXPECT_TRUE(gap > 0.2 && gap < 0.75) << i << ": " << gap;
    }
    // Each copy is answered by both devices; junk and the late copies never reach the dialog.
    ASSERT_EQ(g_handed.size(), 6u);
    for (const Handed& h : g_handed) {
        EXPECT_EQ(h.msg, UINT(WM_QT_DEVICE_REPLY));
        EXPECT_EQ(IdOf(h.bytes), seq);
        EXPECT_TRUE(h.bytes[0] == kOpAnswerKind1 || h.bytes[0] == kOpAnswerKind4);
    }
}

TEST_F(QuentariThreads, TheReplyFilterOnTheLiveSocket)
{
    Owner owner;
    ASSERT_TRUE(owner.StartThreads());
    // Port 65 is taken now: a second receiver says so, and a second dialog tells the user so and
    // starts nothing.
    EXPECT_EQ(CRcvThread().OpenSocket(), IDS_PORT_USED);
    {
        Owner second;
        EXPECT_FALSE(second.StartThreads());
        EXPECT_EQ(m_boxes->Take(), std::vector<std::wstring>{L"Port 65 is used. Please exit. "});
        EXPECT_FALSE(second.m_pRcvThread || second.m_pSndThread);
    }
    SOCKET inject = socket(AF_INET, SOCK_DGRAM, 0);
    const uint8_t ours[6] = {0, 0x11, 0x22, 0x33, 0x44, 0x55}, theirs[6] = {0, 0x66, 0x22, 0x33, 0x44, 0x55};
    struct Case { const char* what; uint8_t op; int seqOffset, pending, size; const uint8_t* echoedMac; UINT expected; };
    const Case cases[] = {
        {"device answer", kOpAnswerKind1, 0, kPendingSearch, 132, ours, WM_QT_DEVICE_REPLY},
        {"storage answer, longer datagram", kOpAnswerKind4, 0, kPendingLogon, 200, ours, WM_QT_DEVICE_REPLY},
        {"earlier request", kOpAnswerKind1, -1, kPendingSearch, 132, ours, 0},
        {"another PC's request", kOpAnswerKind2, 0, kPendingSearch, 132, theirs, 0},
        {"short", kOpAnswerKind1, 0, kPendingSearch, 131, ours, 0},
        {"longer than the buffer", kOpAnswerKind1, 0, kPendingSearch, 256, ours, 0},
        {"a request, not an answer", kOpSearch, 0, kPendingSearch, 132, ours, 0},
        {"unknown operation", 11, 0, kPendingSearch, 132, ours, 0},
        {"device answer during a query", kOpAnswerKind3, 0, kPendingQuery, 132, ours, 0},
        {"device answer while the clock is set", kOpAnswerKind1, 0, kPendingSetClock, 132, ours, 0},
        {"advanced-data answer during a query", kOpAdvancedAnswer, 0, kPendingQuery, 132, theirs, WM_QT_ADVANCED_DATA_REPLY},
    };
    std::memcpy(g_abPcMac, ours, 6);
    uint8_t tag = 1;
    for (const Case& c : cases) {
        g_handed.clear();
        g_nPendingOperation = c.pending;
        SendDatagram(inject, c.op, c.seqOffset, c.size, c.echoedMac, tag);
        // A marker that always passes shows when the case has been through the filter.
        SendDatagram(inject, kOpAdvancedAnswer, 0, 132, ours, 0xEE);
        for (int i = 0; i < 100 && (g_handed.empty() || g_handed.back().bytes[33] != 0xEE); ++i)
            owner.Pump(20);
        ASSERT_FALSE(g_handed.empty()) << c.what;
        g_handed.pop_back();
        EXPECT_EQ(g_handed.size(), c.expected ? 1u : 0u) << c.what;
        if (c.expected && g_handed.size() == 1) {
            EXPECT_EQ(g_handed[0].msg, c.expected) << c.what;
            EXPECT_EQ(g_handed[0].bytes[33], tag) << c.what;
        }
        ++tag;
    }
    closesocket(inject);
}

TEST_F(QuentariThreads, StoppingDuringAnOperationEndsBothThreads)
{
    struct Case { const char* what; const char* scenario; DWORD runMs; } cases[] = {
        {"silent network, stopped while sending", R"({"devices":[{}],"faults":{"silent":true}})", 100},
        {"silent network, receiver waiting", R"({"devices":[{}],"faults":{"silent":true}})", 1200},
        {"a flood of replies", R"({"generate":{"count":40},"faults":{"burst":300,"duplicates":2}})", 150},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_sim.Load(c.scenario)) << m_sim.Error();
        Owner owner;
        ASSERT_TRUE(owner.StartThreads()) << c.what;
        owner.Search();
        owner.Pump(c.runMs);
        DWORD start = GetTickCount();
        owner.Stop();
        EXPECT_LT(GetTickCount() - start, 2000u) << c.what;
        EXPECT_EQ(owner.m_rcvExit, 0u) << c.what;
        EXPECT_EQ(owner.m_sndExit, 0u) << c.what;
        // Nothing reaches the owner once the threads are gone.
        size_t handed = g_handed.size();
        owner.Pump(300);
        EXPECT_EQ(g_handed.size(), handed) << c.what;
    }
}

// A failed receive never spins the receiver: a lasting failure (the network down) is tried again
// a few times a second, not at full speed, and after a passing one, or once the network is back,
// the replies still reach the dialog in order. Either way a stop ends the receiver at once.
TEST_F(QuentariThreads, AFailedReceiveIsTriedAgainWithoutSpinning)
{
    struct Case { const char* what; ReceiveFault fault; } cases[] = {
        {"network down for good", {WSAENETDOWN, 1, -1}},
        {"port unreachable between two replies", {WSAECONNRESET, 2, 1}},
        {"oversized datagram between two replies", {WSAEMSGSIZE, 2, 1}},
        {"network down a while between two replies", {WSAENETDOWN, 2, 5}},
    };
    g_realRecvFrom = reinterpret_cast<RecvFromFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ws2_32.dll"), "recvfrom")));
    ASSERT_TRUE(g_realRecvFrom);
    SOCKET inject = socket(AF_INET, SOCK_DGRAM, 0);
    for (const Case& c : cases) {
        g_fault = c.fault;
        g_receives = 0;
        ImportStandIn receive(L"ws2_32.dll", "recvfrom", &FaultyRecvFrom);
        ASSERT_TRUE(receive.Patched()) << c.what;
        Owner owner;
        ASSERT_TRUE(owner.StartThreads()) << c.what;
        if (c.fault.count < 0) {
            // At full speed hundreds of thousands of tries; a busy machine can only lower the count.
            long before = g_receives.load();
            owner.Pump(500);
            long tries = g_receives - before;
            EXPECT_LT(tries, 50) << c.what;
            EXPECT_GT(g_receives.load(), 0) << c.what << ": the receiver never called the stand-in";
            EXPECT_TRUE(g_handed.empty()) << c.what;
        } else {
            SendDatagram(inject, kOpAdvancedAnswer, 0, kPacketSize, g_abPcMac, 1);
            SendDatagram(inject, kOpAdvancedAnswer, 0, kPacketSize, g_abPcMac, 2);
            for (int i = 0; i < 250 && g_handed.size() < 2; ++i)
                owner.Pump(20);
            std::vector<uint8_t> tags;
            for (const Handed& h : g_handed)
                tags.push_back(h.bytes[33]);
            EXPECT_EQ(tags, (std::vector<uint8_t>{1, 2})) << c.what;
            EXPECT_GE(g_receives.load(), c.fault.from + c.fault.count) << c.what << ": fewer failures than the row's";
        }
        DWORD start = GetTickCount();
        owner.Stop();
        EXPECT_LT(GetTickCount() - start, 2000u) << c.what;
        EXPECT_EQ(owner.m_rcvExit, 0u) << c.what;
    }
    closesocket(inject);
}

// The dialog's logoff stops the threads once its three copies are on the wire, and at once then:
// with a sender that runs at once, one held back longer than a fixed wait could be while the
// first row still passes, and one still sending another request.
TEST_F(QuentariThreads, ALogoffIsStoppedOnlyOnceTheSenderReportsItsThreeCopiesSent)
{
    struct Case { const char* what; DWORD holdMs; bool searching; } cases[] = {
        {"sender runs at once", 0, false},
        {"sender held back 3 s", 3000, false},
        {"sender still sending a search", 0, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_sim.Reset()) << m_sim.Error();
        Owner dlg;
        ASSERT_TRUE(dlg.StartThreads()) << c.what;
        std::vector<std::vector<uint8_t>> want, got;
        if (c.searching)
            want.assign(3, Bytes(dlg.Search()));
        for (int i = 0; i < 200 && c.searching && m_sim.Requests().empty(); ++i)
            Sleep(10);
        HANDLE sender = dlg.m_pSndThread->m_hThread;
        // The resumer runs before the sender stops: a sender stopped inside an allocation holds
        // the heap, and a thread made or starting then would wait for it for ever. It resumes
        // the sender in any case, at the latest a minute on.
        HANDLE running = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE suspended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::atomic<DWORD> resumed{0};
        std::thread resumer([&] {
            SetEvent(running);
            WaitForSingleObject(suspended, 60000);
            Sleep(c.holdMs);
            resumed = GetTickCount();
            ResumeThread(sender);
        });
        EXPECT_EQ(WaitForSingleObject(running, 60000), WAIT_OBJECT_0) << c.what << ": no resumer";
        SuspendThread(sender);
        DWORD start = GetTickCount();
        SetEvent(suspended);
        dlg.SendLogoffRequest();
        long took = long(GetTickCount() - start);
        resumer.join();
        CloseHandle(running);
        CloseHandle(suspended);
        // Three copies take 0.75 s; a fixed wait long enough for the held-back row fails here.
        EXPECT_LT(took - long(resumed - start), 2500) << c.what;
        want.resize(want.size() + 3, Bytes(BuildLogoffRequest(g_app.m_nSndSeq, g_abPcMac, DeviceTableEntry{})));
        for (int i = 0; i < 100 && got.size() < want.size(); ++i, Sleep(20)) {
            got.clear();
            for (const DevSimRequest& r : m_sim.Requests())
                got.push_back(r.bytes);
        }
        EXPECT_EQ(got, want) << c.what;
    }
}
