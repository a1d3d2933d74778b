// Values of the network setter that its threads and windows share without a lock.
#pragma once
#include <windows.h>
#include <atomic>
#include <cstdint>
#include "netsetter/ReplyFilter.h"


// The operation of the request last built; the receiver filters device answers by it.
extern std::atomic<int> g_nPendingOperation;
// The PC's MAC as the logon flow determined it (all zero until then); replies must echo it.
extern uint8_t g_abPcMac[6];
// Kind (0-3) of the device whose settings are being edited; the address controls read it.
extern uint16_t g_nSettingDeviceKind;
