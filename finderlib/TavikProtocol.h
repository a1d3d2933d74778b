// Building and parsing of device-protocol datagrams, free of sockets so it can be tested alone.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "finderlib/TavikPacket.h"

namespace tavik {

// Receive-thread operation codes.
enum : uint16_t { kCodeSearch = 1, kCodeLogon = 2, kCodeSetup = 4, kCodeModes = 5, kCodeTimeQuery = 6, kCodeTimeSet = 7 };

// Result codes of the last operation.
enum : uint16_t {
    kResultNone = 0, kResultLoggedOn = 1, kResultBadPassword = 2, kResultSessionTimeout = 3,
    kResultOtherUser = 4, kResultThisPc = 5, kResultRefused = 6, kResultSettingAccepted = 255,
};

constexpr size_t kMaxNameLength = 64;
constexpr size_t kMaxPlainPassword = 15;
constexpr size_t kMaxBase64Text = 64;

struct ModesStore {
    uint8_t count;
    uint16_t modes[kZevModeCount];
};

// What the receive thread writes and the operations read after the channel has closed.
struct ChannelState {
    uint16_t result;
    uint8_t token[16];
    uint8_t expectedFlag;
    bool answered;
    uint32_t expectedId;  // transaction id of the request being answered
    uint8_t pcMac[6];
    ZevDeviceRecord work[kZevTableSize];
    uint16_t workCount;
    ModesStore modes;
    ZevTimeInfo time;
};

// The logon session has the shape of a ZevLogonTarget: name holds the text sent at 34,
// password the text sent at 99.
using Session = ZevLogonTarget;

uint32_t SeedSequence(int high, int low);
uint32_t ReadBigEndian32(const uint8_t* p);
uint16_t ReadBigEndian16(const uint8_t* p);

// Zero-fills the packet and writes the fields every request carries; seq is incremented first.
void BeginRequest(DeviceRequestPacket& p, uint8_t operation, uint32_t& seq, const uint8_t pcMac[6]);
void BuildSearch(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6]);
// Fills p and the session that the logon would open; false when the text cannot be sent whole.
bool BuildLogon(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const ZevLogonTarget& target,
                Session& session);
void BuildLogoff(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const Session& session,
                 const uint8_t token[16]);
// False (nothing built) when a static address text is not a dotted-decimal address.
bool BuildSetup(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const Session& session,
                const uint8_t token[16], const ZevConfigRecord& config);
void BuildQuery(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const Session& session,
                const uint8_t token[16], uint16_t subKind, int flag);
void BuildSetTime(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const Session& session,
                  const uint8_t token[16], const ZevTimeInfo& info, int flag);

bool IsDeviceAnswer(uint8_t operation);
// Adds one device answer to the table; false when dropped.
bool ParseDeviceAnswer(const uint8_t* data, size_t length, ZevDeviceRecord* table, uint16_t& count);
void ParseModes(const uint8_t* data, ModesStore& store);
void ParseTime(const uint8_t* data, ZevTimeInfo& store);

// Handles one received datagram for the operation code; true when it ends the operation.
// Except for a search, only answers that echo the request's transaction id count.
bool Dispatch(uint16_t code, const uint8_t* data, size_t length, ChannelState& state);

// Strict "a.b.c.d" parse of a text field of at most fieldSize bytes, into network order.
bool ParseAddress(const char* text, size_t fieldSize, uint8_t out[4]);
void FormatAddress(const uint8_t* address, char* out, size_t size);

}  // namespace tavik
