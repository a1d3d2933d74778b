// The library's operation channel: the port-65 socket, its events and the receive thread.
#include <winsock2.h>
#include <windows.h>

#include "finderlib/TavikChannel.h"

#include <atomic>
#include <cstdio>

namespace tavik {

ChannelTimings g_timings;
ChannelState g_state;

namespace {

struct Channel {
    bool wsa = false;
    SOCKET sock = INVALID_SOCKET;
    HANDLE start = nullptr, quit = nullptr, done = nullptr, thread = nullptr;
    std::atomic<uint16_t> code{0};
    std::atomic<bool> closing{false};
};

Channel g_channel;

// A blocking receive that gives up when the channel closes. The socket is closed only after its
// thread has ended, so a receive never runs on a handle value that something else reuses.
int ReceiveOne(Channel& ch, uint8_t* buffer, int size) {
    for (;;) {
        if (ch.closing) return SOCKET_ERROR;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(ch.sock, &readable);
        timeval wait = {0, 50 * 1000};
        int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready == SOCKET_ERROR) return SOCKET_ERROR;
        if (ready > 0) return recvfrom(ch.sock, reinterpret_cast<char*>(buffer), size, 0, nullptr, nullptr);
    }
}

DWORD WINAPI ReceiveThread(LPVOID param) {
    Channel& ch = *static_cast<Channel*>(param);
    SetEvent(ch.done);
    bool armed = false;
    DWORD tick = GetTickCount();
    HANDLE waits[2] = {ch.start, ch.quit};
    uint8_t buffer[kReceiveBufferSize];
    for (;;) {
        DWORD w = WaitForMultipleObjects(2, waits, FALSE, 1000);
        if (w == WAIT_OBJECT_0 + 1 || ch.closing) return 0;
        if (w == WAIT_OBJECT_0) {
            if (ch.code != kCodeSearch) {
                armed = true;
                tick = GetTickCount();
            } else if (!armed) {
                armed = true;
                tick = GetTickCount();
            } else if (GetTickCount() - tick >= g_timings.window) {
                break;
            }
        }
        if (!armed) continue;
        int n = ReceiveOne(ch, buffer, sizeof buffer);
        if (n == SOCKET_ERROR) {
            int error = WSAGetLastError();
            // A closing channel ends the thread; only an oversized datagram or a stray ICMP report
            // is worth another receive.
            if (ch.closing) return 0;
            if (error != WSAEMSGSIZE && error != WSAECONNRESET) break;
        } else if (Dispatch(ch.code, buffer, size_t(n), g_state)) {
            break;
        }
        if (GetTickCount() - tick >= g_timings.window) break;
    }
    SetEvent(ch.done);
    return 0;
}

void WaitDone() {
    if (!g_channel.done) return;
    WaitForSingleObject(g_channel.done, g_timings.phaseWait);
    ResetEvent(g_channel.done);
}

}  // namespace

void CloseChannel() {
    Channel& ch = g_channel;
    if (!ch.wsa) return;
    ch.closing = true;
    if (ch.quit) SetEvent(ch.quit);
    // The thread must be gone before the socket, the events or the shared state are reused.
    if (ch.thread) {
        WaitForSingleObject(ch.thread, INFINITE);
        CloseHandle(ch.thread);
    }
    if (ch.sock != INVALID_SOCKET) closesocket(ch.sock);
    ch.sock = INVALID_SOCKET;
    for (HANDLE* h : {&ch.start, &ch.quit, &ch.done, &ch.thread}) {
        if (*h && h != &ch.thread) CloseHandle(*h);
        *h = nullptr;
    }
    WSACleanup();
    ch.wsa = false;
}

void OpenChannel() {
    CloseChannel();
    Channel& ch = g_channel;
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 0), &data) != 0) return;
    ch.wsa = true;
    ch.closing = false;
    ch.code = 0;
    ch.sock = socket(AF_INET, SOCK_DGRAM, 0);
    if (ch.sock == INVALID_SOCKET) return;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(kDevicePort);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(ch.sock, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) return;
    ch.start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ch.quit = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ch.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (ch.start && ch.quit && ch.done) ch.thread = CreateThread(nullptr, 0, ReceiveThread, &ch, 0, nullptr);
    if (!ch.thread) {
        for (HANDLE* h : {&ch.start, &ch.quit, &ch.done}) {
            if (*h) CloseHandle(*h);
            *h = nullptr;
        }
    }
}

void StartOperation(uint16_t code) {
    if (!g_channel.start) return;
    g_channel.code = code;
    SetEvent(g_channel.start);
}

int SendOnce(const DeviceRequestPacket& packet, const uint8_t address[4]) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 0), &data) != 0) return 0;
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    BOOL on = TRUE;
    if (s == INVALID_SOCKET || setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<char*>(&on), sizeof on) != 0) {
        if (s != INVALID_SOCKET) closesocket(s);
        WSACleanup();
        return 0;
    }
    char text[16];
    snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(kDevicePort);
    to.sin_addr.s_addr = inet_addr(text);
    sendto(s, reinterpret_cast<const char*>(&packet), sizeof packet, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    closesocket(s);
    Sleep(g_timings.sendGap);
    WSACleanup();
    return 1;
}

void SendThreeTimes(const DeviceRequestPacket& packet) {
    static const uint8_t kBroadcast[4] = {255, 255, 255, 255};
    for (int i = 0; i < 3; ++i) SendOnce(packet, kBroadcast);
}

void RunChannel(uint16_t code, const DeviceRequestPacket& packet) {
    g_state.expectedId = ReadBigEndian32(packet.transactionId);
    OpenChannel();
    StartOperation(code);
    WaitDone();
    Sleep(g_timings.settle);
    SendThreeTimes(packet);
    WaitDone();
    CloseChannel();
}

}  // namespace tavik
