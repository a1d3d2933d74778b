// The operation channel: a socket bound to UDP 65, three events and a receive thread that lives
// for one operation. One channel at a time; its outcome is left in g_state.
#pragma once
#include <windows.h>
#include <cstdint>
#include "finderlib/TavikProtocol.h"

namespace tavik {

struct ChannelTimings {
    DWORD sendGap = 250;    // after each of the three copies
    DWORD settle = 100;     // between the thread's ready signal and the first copy
    DWORD phaseWait = 10000;
    DWORD window = 5000;    // how long a receive stays worth waiting for
};

extern ChannelTimings g_timings;
extern ChannelState g_state;

void OpenChannel();
void CloseChannel();
void StartOperation(uint16_t code);
int SendOnce(const DeviceRequestPacket& packet, const uint8_t address[4]);
void SendThreeTimes(const DeviceRequestPacket& packet);
// Opens a channel, arms it for code, broadcasts the packet three times, waits, closes.
void RunChannel(uint16_t code, const DeviceRequestPacket& packet);

}  // namespace tavik
