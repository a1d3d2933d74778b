// Values of the network setter that its threads and windows share without a lock.
#include "netsetter/QuentariState.h"

std::atomic<int> g_nPendingOperation{kPendingSearch};
uint8_t g_abPcMac[6] = {};
uint16_t g_nSettingDeviceKind = 0;
