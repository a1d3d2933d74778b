// One device answer kept in the main dialog's device buckets.
#pragma once
#include "afx/Wnd.h"
#include "finderlib/TavikPacket.h"
#include <cstring>

class CDevice : public afx::CWnd {
public:
    explicit CDevice(const DeviceRequestPacket& answer) { std::memcpy(&m_packet, &answer, sizeof(m_packet)); }
    ~CDevice() override = default;
    // The whole answer as the device sent it.
    DeviceRequestPacket m_packet;
};
