// The requests the main dialog sends and the advanced-data answers it reads: plain packet code.
#pragma once
#include <cstdint>
#include <string>
#include "finderlib/TavikPacket.h"
#include "netsetter/DeviceTable.h"

#pragma pack(push, 1)
// A device's supported modes, from the modes answer.
struct AdvancedModesRecord {
    uint8_t mac[6];
    uint16_t addressType;
    uint32_t address, mask, gateway;
    uint16_t webPort;
    uint8_t zero;
    uint16_t modes[30];
};

// A device's clock, from the clock answer; the setting dialog writes the UTC time to set.
struct DeviceTimeRecord {
    uint8_t mac[6];
    uint16_t addressType;
    uint32_t address, mask, gateway;
    uint16_t webPort;
    uint16_t year;
    uint8_t month, day, hour, minute, second;
    uint8_t timeFlag;
    uint32_t timeAddress;  // present when timeFlag is 1
    uint8_t timeRaw[16];
    uint8_t settingA, settingB;
};
#pragma pack(pop)
static_assert(sizeof(DeviceTimeRecord) == 52 && offsetof(DeviceTimeRecord, year) == 22 &&
              offsetof(DeviceTimeRecord, second) == 28 && offsetof(DeviceTimeRecord, settingA) == 50,
              "device time record layout");
static_assert(offsetof(AdvancedModesRecord, modes) == 23, "modes record layout");

// Operation flags of one setting run.
enum : uint16_t { kFlagSetAddress = 1, kFlagReadModes = 2, kFlagSetClock = 4 };

// A zero-filled request with the op, the transaction id, the PC MAC and the vendor tag.
DeviceRequestPacket NewRequest(uint8_t op, uint32_t seq, const uint8_t pcMac[6]);
DeviceRequestPacket BuildSearchRequest(uint32_t seq, const uint8_t pcMac[6]);
// password: the typed password in the ANSI code page; base64: its Base64 text.
DeviceRequestPacket BuildLogonRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTableEntry& entry,
                                      const std::string& password, const std::string& base64);
// Names the device and carries "FROM-PC" and no authentication: a device ends the session of
// the PC whose MAC the logoff carries.
DeviceRequestPacket BuildLogoffRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTableEntry& entry);
DeviceRequestPacket BuildQueryRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTableEntry& entry,
                                      uint16_t subKind, uint8_t flag, const uint8_t token[16],
                                      const std::string& password);
// entry: the working copy with the new address type and addresses.
DeviceRequestPacket BuildSetupRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTableEntry& entry,
                                      const std::string& name, const std::string& workgroup,
                                      const uint8_t token[16], const std::string& password);
DeviceRequestPacket BuildSetClockRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTimeRecord& time,
                                         const DeviceTableEntry& entry, const uint8_t token[16],
                                         const std::string& password);

// The sub-kind of an advanced-data answer.
uint16_t AdvancedSubKind(const DeviceRequestPacket& answer);
void ReadTimeAnswer(const DeviceRequestPacket& answer, DeviceTimeRecord& time);
// Fills the modes record; true when the device lists mode 1 (it has a clock). A count of 0 or
// above 30 gives no modes.
bool ReadModesAnswer(const DeviceRequestPacket& answer, AdvancedModesRecord& modes);
