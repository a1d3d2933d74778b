// The requests the main dialog sends and the advanced-data answers it reads: plain packet code.
#include "netsetter/DeviceRequests.h"
#include <algorithm>
#include <cstring>

namespace {

void PutBe16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v >> 8), p[1] = uint8_t(v); }
void PutBe32(uint8_t* p, uint32_t v) { p[0] = uint8_t(v >> 24), p[1] = uint8_t(v >> 16), p[2] = uint8_t(v >> 8), p[3] = uint8_t(v); }
uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// A text into a field, cut so that the field keeps a terminator.
void PutText(uint8_t* field, size_t size, const std::string& text)
{
    std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

void PutAddresses(DeviceRequestPacket& p, const DeviceTableEntry& e)
{
    PutBe16(p.type, e.addressType);
    PutBe32(p.address, e.address);
    PutBe32(p.mask, e.mask);
    PutBe32(p.gateway, e.gateway);
    PutBe16(p.word, e.webPort);
    std::memcpy(p.deviceMac, e.mac, 6);
}

// A protected device takes its session token; the others their password (15 bytes at most).
void PutAuth(DeviceRequestPacket& p, bool useToken, const uint8_t token[16], const std::string& password)
{
    if (useToken)
        std::memcpy(p.auth, token, 16);
    else
        PutText(p.auth, 16, password);
}

}  // namespace

DeviceRequestPacket NewRequest(uint8_t op, uint32_t seq, const uint8_t pcMac[6])
{
    DeviceRequestPacket p = {};
    p.operation = op;
    PutBe32(p.transactionId, seq);
    std::memcpy(p.pcMac, pcMac, 6);
    std::memcpy(p.vendor, kVendorTag, sizeof(kVendorTag) - 1);
    return p;
}

DeviceRequestPacket BuildSearchRequest(uint32_t seq, const uint8_t pcMac[6])
{
    DeviceRequestPacket p = NewRequest(kOpSearch, seq, pcMac);
    PutText(p.text, sizeof(p.text), kSearchText);
    return p;
}

DeviceRequestPacket BuildLogonRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTableEntry& entry,
                                      const std::string& password, const std::string& base64)
{
    DeviceRequestPacket p = NewRequest(kOpLogon, seq, pcMac);
    std::memcpy(p.deviceMac, entry.mac, 6);
    if (entry.protectedFlag) {
        PutText(p.text, sizeof(p.text), base64);
        PutText(p.auth, sizeof(p.auth), "   ");
    } else {
        PutText(p.text, sizeof(p.text), std::string(entry.name, strnlen(entry.name, sizeof(entry.name))));
        PutText(p.auth, sizeof(p.auth), password);
    }
    return p;
}

DeviceRequestPacket BuildLogoffRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTableEntry& entry)
{
    DeviceRequestPacket p = NewRequest(kOpLogoff, seq, pcMac);
    std::memcpy(p.deviceMac, entry.mac, 6);
    PutText(p.text, sizeof(p.text), kSearchText);
    return p;
}

DeviceRequestPacket BuildQueryRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTableEntry& entry,
                                      uint16_t subKind, uint8_t flag, const uint8_t token[16],
                                      const std::string& password)
{
    DeviceRequestPacket p = NewRequest(kOpQueryAdvanced, seq, pcMac);
    PutAddresses(p, entry);
    PutBe16(p.text, subKind);
    p.text[2] = flag;
    PutAuth(p, entry.protectedFlag != 0, token, password);
    return p;
}

DeviceRequestPacket BuildSetupRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTableEntry& entry,
                                      const std::string& name, const std::string& workgroup,
                                      const uint8_t token[16], const std::string& password)
{
    DeviceRequestPacket p = NewRequest(kOpSetup, seq, pcMac);
    PutAddresses(p, entry);
    if (entry.kind == kKindStorage) {
        PutText(p.text, sizeof(p.text), name + "@" + workgroup);
        std::memcpy(p.auth, token, 16);
    } else {
        PutText(p.text, sizeof(p.text), std::string(entry.name, strnlen(entry.name, sizeof(entry.name))));
        PutAuth(p, entry.protectedFlag != 0, token, password);
    }
    return p;
}

DeviceRequestPacket BuildSetClockRequest(uint32_t seq, const uint8_t pcMac[6], const DeviceTimeRecord& time,
                                         const DeviceTableEntry& entry, const uint8_t token[16],
                                         const std::string& password)
{
    DeviceRequestPacket p = NewRequest(kOpSetAdvanced, seq, pcMac);
    PutBe16(p.type, time.addressType);
    PutBe32(p.address, time.address);
    PutBe32(p.mask, time.mask);
    PutBe32(p.gateway, time.gateway);
    PutBe16(p.word, time.webPort);
    std::memcpy(p.deviceMac, entry.kind == kKindStorage ? time.mac : entry.mac, 6);
    uint8_t* block = p.text;  // packet offset 34
    PutBe16(block, kSubKindTime);
    block[2] = 1;
    PutBe16(block + 3, time.year);
    block[5] = time.month, block[6] = time.day, block[7] = time.hour, block[8] = time.minute, block[9] = time.second;
    block[10] = 0xFF;
    block[31] = 1;  // 65
    block[32] = 1;  // 66
    PutAuth(p, entry.kind == kKindStorage || entry.protectedFlag != 0, token, password);
    return p;
}

uint16_t AdvancedSubKind(const DeviceRequestPacket& answer) { return Be16(answer.text); }

void ReadTimeAnswer(const DeviceRequestPacket& a, DeviceTimeRecord& t)
{
    t = DeviceTimeRecord{};
    std::memcpy(t.mac, a.deviceMac, 6);
    t.addressType = Be16(a.type);
    t.address = Be32(a.address);
    t.mask = Be32(a.mask);
    t.gateway = Be32(a.gateway);
    t.webPort = Be16(a.word);
    const uint8_t* b = a.text;
    t.year = Be16(b + 3);
    t.month = b[5], t.day = b[6], t.hour = b[7], t.minute = b[8], t.second = b[9];
    t.timeFlag = b[10];
    if (t.timeFlag == 1) {
        t.timeAddress = Be32(b + 11);
        std::memcpy(t.timeRaw, b + 15, 16);
    }
    t.settingA = b[31];
    t.settingB = b[32];
}

bool ReadModesAnswer(const DeviceRequestPacket& a, AdvancedModesRecord& m)
{
    m = AdvancedModesRecord{};
    std::memcpy(m.mac, a.deviceMac, 6);
    m.addressType = Be16(a.type);
    m.address = Be32(a.address);
    m.mask = Be32(a.mask);
    m.gateway = Be32(a.gateway);
    m.webPort = Be16(a.word);
    int count = a.text[3];  // 37
    bool clock = false;
    if (count >= 1 && count <= 30) {
        // Thirty values from offset 38 end at 97, inside the advanced-data block.
        const uint8_t* raw = reinterpret_cast<const uint8_t*>(&a) + 38;
        for (int i = 0; i < count; ++i) {
            m.modes[i] = Be16(raw + 2 * i);
            clock = clock || m.modes[i] == 1;
        }
    }
    return clock;
}
