// Building the library's requests and parsing the devices' answers into its records.
#include "finderlib/TavikProtocol.h"
#include "finderlib/Base64.h"

#include <cstdio>
#include <cstring>

namespace tavik {
namespace {

void PutBigEndian32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24); p[1] = uint8_t(v >> 16); p[2] = uint8_t(v >> 8); p[3] = uint8_t(v);
}

void PutBigEndian16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v >> 8); p[1] = uint8_t(v);
}

// Copies at most max bytes of a text that may lack its terminator.
size_t CopyText(uint8_t* dst, const char* src, size_t srcSize, size_t max) {
    size_t n = strnlen(src, srcSize);
    if (n > max) n = max;
    memcpy(dst, src, n);
    return n;
}

bool UsesToken(const Session& s) { return s.kind == 4 || s.base64 == 1; }

void PutSessionFields(DeviceRequestPacket& p, const Session& s, const uint8_t token[16]) {
    if (UsesToken(s)) memcpy(p.auth, token, 16);
    else CopyText(p.auth, s.password, sizeof s.password, kMaxPlainPassword);
    memcpy(p.deviceMac, s.mac, 6);
}

uint8_t KindOf(uint8_t operation) {
    switch (operation) {
    case kOpAnswerKind1: return 1;
    case kOpAnswerKind2: return 2;
    case kOpAnswerKind3: return 3;
    case kOpAnswerKind4: return 4;
    default: return 0;
    }
}

}  // namespace

uint32_t SeedSequence(int high, int low) {
    uint32_t seq = (uint32_t(high) << 16) + uint32_t(low);
    return seq == 0 ? 0x33333333u : seq;
}

uint32_t ReadBigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint16_t ReadBigEndian16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

void BeginRequest(DeviceRequestPacket& p, uint8_t operation, uint32_t& seq, const uint8_t pcMac[6]) {
    memset(&p, 0, sizeof p);
    p.operation = operation;
    PutBigEndian32(p.transactionId, ++seq);
    memcpy(p.pcMac, pcMac, 6);
    memcpy(p.vendor, kVendorTag, sizeof kVendorTag);
}

void BuildSearch(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6]) {
    BeginRequest(p, kOpSearch, seq, pcMac);
    memcpy(p.text, kSearchText, sizeof kSearchText);
}

bool BuildLogon(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const ZevLogonTarget& target,
                Session& session) {
    memset(&session, 0, sizeof session);
    memcpy(session.mac, target.mac, 6);
    session.kind = target.kind;
    session.base64 = target.base64;
    if (target.kind == 4 || target.base64 == 1) {
        std::string password(target.password, strnlen(target.password, sizeof target.password));
        std::string text = Base64EncodeText(password.c_str());
        if (text.size() > kMaxBase64Text) return false;
        memcpy(session.name, text.data(), text.size());
        memcpy(session.password, "   ", 3);
    } else {
        CopyText(reinterpret_cast<uint8_t*>(session.name), target.name, sizeof target.name, kMaxNameLength);
        CopyText(reinterpret_cast<uint8_t*>(session.password), target.password, sizeof target.password,
                 kMaxPlainPassword);
    }
    BeginRequest(p, kOpLogon, seq, pcMac);
    memcpy(p.deviceMac, target.mac, 6);
    CopyText(p.text, session.name, sizeof session.name, kMaxNameLength);
    CopyText(p.auth, session.password, sizeof session.password, kMaxPlainPassword);
    return true;
}

void BuildLogoff(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const Session& session,
                 const uint8_t token[16]) {
    BeginRequest(p, kOpLogoff, seq, pcMac);
    PutSessionFields(p, session, token);
    CopyText(p.text, session.name, sizeof session.name, kMaxNameLength);
}

bool BuildSetup(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const Session& session,
                const uint8_t token[16], const ZevConfigRecord& config) {
    uint8_t addr[3][4] = {};
    bool dhcp = config.dhcp == 1;
    if (!dhcp && !(ParseAddress(config.ip, sizeof config.ip, addr[0]) &&
                   ParseAddress(config.mask, sizeof config.mask, addr[1]) &&
                   ParseAddress(config.gateway, sizeof config.gateway, addr[2])))
        return false;
    BeginRequest(p, kOpSetup, seq, pcMac);
    PutSessionFields(p, session, token);
    CopyText(p.text, config.name, sizeof config.name, kMaxNameLength);
    if (!dhcp) {
        PutBigEndian16(p.type, 1);
        memcpy(p.address, addr[0], 4);
        memcpy(p.mask, addr[1], 4);
        memcpy(p.gateway, addr[2], 4);
    }
    return true;
}

void BuildQuery(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const Session& session,
                const uint8_t token[16], uint16_t subKind, int flag) {
    BeginRequest(p, kOpQueryAdvanced, seq, pcMac);
    PutSessionFields(p, session, token);
    PutBigEndian16(p.text, subKind);
    p.text[2] = flag == 1 ? 1 : 0;
}

void BuildSetTime(DeviceRequestPacket& p, uint32_t& seq, const uint8_t pcMac[6], const Session& session,
                  const uint8_t token[16], const ZevTimeInfo& info, int flag) {
    BeginRequest(p, kOpSetAdvanced, seq, pcMac);
    PutSessionFields(p, session, token);
    uint8_t* b = reinterpret_cast<uint8_t*>(&p);
    PutBigEndian16(b + 34, kSubKindTime);
    b[36] = flag == 1 ? 1 : 0;
    PutBigEndian16(b + 37, info.year);
    b[39] = info.month; b[40] = info.day; b[41] = info.hour; b[42] = info.minute; b[43] = info.second;
    b[44] = info.addressFlag;
    memcpy(b + 45, info.further, 20);
    b[65] = info.settingA;
    b[66] = info.settingB;
}

bool IsDeviceAnswer(uint8_t operation) { return KindOf(operation) != 0; }

bool ParseDeviceAnswer(const uint8_t* d, size_t length, ZevDeviceRecord* table, uint16_t& count) {
    if (length < kPacketSize || !IsDeviceAnswer(d[0])) return false;
    const uint8_t* mac = d + 28;
    bool allZero = true, allOnes = true;
    for (int i = 0; i < 6; ++i) {
        allZero = allZero && mac[i] == 0;
        allOnes = allOnes && mac[i] == 0xFF;
    }
    if (allZero || allOnes || count >= kZevTableSize) return false;
    for (uint16_t i = 0; i < count; ++i)
        if (memcmp(table[i].mac, mac, 6) == 0) return false;
    ZevDeviceRecord& r = table[count];
    memcpy(r.name, d + 34, kMaxNameLength);  // byte 64 stays as the caller left it
    r.kind = KindOf(d[0]);
    memcpy(r.mac, mac, 6);
    r.dhcp = ReadBigEndian16(d + 6) == 1 ? 0 : 1;
    FormatAddress(d + 14, r.ip, sizeof r.ip);
    FormatAddress(d + 18, r.mask, sizeof r.mask);
    FormatAddress(d + 22, r.gateway, sizeof r.gateway);
    r.state = d[5] == 4 ? 2 : 1;
    bool allFF = true;
    for (int i = 99; i < 115; ++i) allFF = allFF && d[i] == 0xFF;
    r.base64 = (allFF || r.kind == 4) ? 1 : 0;
    ++count;
    return true;
}

void ParseModes(const uint8_t* d, ModesStore& store) {
    memset(&store, 0, sizeof store);
    if (d[37] > kZevModeCount) return;
    store.count = d[37];
    for (int i = 0; i < store.count; ++i) store.modes[i] = ReadBigEndian16(d + 38 + 2 * i);
}

void ParseTime(const uint8_t* d, ZevTimeInfo& t) {
    memset(&t, 0, sizeof t);
    t.year = ReadBigEndian16(d + 37);
    t.month = d[39]; t.day = d[40]; t.hour = d[41]; t.minute = d[42]; t.second = d[43];
    t.addressFlag = d[44];
    memcpy(t.further, d + 45, 20);
    t.settingA = d[65];
    t.settingB = d[66];
}

bool Dispatch(uint16_t code, const uint8_t* d, size_t length, ChannelState& s) {
    if (length < kPacketSize) return false;  // truncated: never read stale bytes
    const uint8_t op = d[0], status = d[5];
    // A late answer to an earlier request (another device's search answer, say) must not pass
    // for this operation's outcome.
    if (code != kCodeSearch && ReadBigEndian32(d + 1) != s.expectedId) return false;
    switch (code) {
    case kCodeSearch:
        ParseDeviceAnswer(d, length, s.work, s.workCount);
        return false;
    case kCodeLogon:
        if (!IsDeviceAnswer(op)) return false;
        switch (status) {
        case 0: s.result = kResultLoggedOn; memcpy(s.token, d + 99, 16); return true;
        case 1: s.result = kResultBadPassword; return true;
        case 2: s.result = kResultSessionTimeout; return true;
        case 3: s.result = memcmp(d + 8, s.pcMac, 6) == 0 ? kResultThisPc : kResultOtherUser; return true;
        case 4: s.result = kResultRefused; return true;
        default: s.result = kResultNone; return false;
        }
    case kCodeSetup:
        if (!IsDeviceAnswer(op)) return false;
        switch (status) {
        case 0: s.result = kResultSettingAccepted; return false;
        case 1: s.result = kResultBadPassword; return false;
        case 2: s.result = kResultSessionTimeout; return false;
        case 3: s.result = kResultOtherUser; return false;
        case 4: s.result = kResultRefused; return false;
        default: return s.result == kResultNone;
        }
    case kCodeModes:
        if (op != kOpAdvancedAnswer) return false;
        ParseModes(d, s.modes);
        return true;
    case kCodeTimeQuery:
    case kCodeTimeSet:
        if (op != kOpAdvancedAnswer || d[36] != s.expectedFlag || d[36] != 1) return false;
        if (code == kCodeTimeQuery) ParseTime(d, s.time);
        s.answered = true;
        return true;
    default:
        return false;
    }
}

bool ParseAddress(const char* text, size_t fieldSize, uint8_t out[4]) {
    size_t n = strnlen(text, fieldSize), i = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (i >= n || text[i] != '.') return false;
            ++i;
        }
        unsigned v = 0, digits = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            v = v * 10 + unsigned(text[i++] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || v > 255) return false;
        out[part] = uint8_t(v);
    }
    return i == n;
}

void FormatAddress(const uint8_t* a, char* out, size_t size) {
    snprintf(out, size, "%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
}

}  // namespace tavik
