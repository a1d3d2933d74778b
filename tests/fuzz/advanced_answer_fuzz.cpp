// Fuzzes the network setter's readers of the advanced-data answers (op 10): the sub-kind, the
// modes answer and the clock answer, and the clock request built back from a clock read.
// Input: a context byte (bits 0-1 the selected device's kind, bit 2 its protected flag), the
// 132-byte answer as the receiver hands it on (a short input is zero-filled), then the session
// token (16 bytes) and the typed password (the rest).
#include "netsetter/DeviceRequests.h"
#include "tests/fuzz/FuzzCheck.h"
#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The answer's fields read straight from the bytes at the offsets of the protocol.
uint16_t At16(const uint8_t* p, size_t at) { return uint16_t(p[at] << 8 | p[at + 1]); }
uint32_t At32(const uint8_t* p, size_t at)
{
    return uint32_t(p[at]) << 24 | uint32_t(p[at + 1]) << 16 | uint32_t(p[at + 2]) << 8 | p[at + 3];
}

bool AllZero(const uint8_t* p, size_t n) { return std::all_of(p, p + n, [](uint8_t b) { return b == 0; }); }

// MAC at 28, address type at 6, address, mask, gateway at 14, 18, 22 and the web port at 26.
template <class Record> void CheckAddresses(const Record& r, const uint8_t* raw)
{
    FUZZ_CHECK(std::memcmp(r.mac, raw + 28, 6) == 0);
    FUZZ_CHECK(r.addressType == At16(raw, 6) && r.webPort == At16(raw, 26));
    FUZZ_CHECK(r.address == At32(raw, 14) && r.mask == At32(raw, 18) && r.gateway == At32(raw, 22));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    uint8_t raw[kPacketSize] = {};
    std::memcpy(raw, data + 1, std::min(size - 1, kPacketSize));
    DeviceRequestPacket answer;
    std::memcpy(&answer, raw, sizeof answer);
    uint8_t token[16] = {};
    size_t rest = size > 1 + kPacketSize ? size - 1 - kPacketSize : 0;
    std::memcpy(token, data + 1 + kPacketSize, std::min<size_t>(rest, 16));
    std::string password;
    if (rest > 16)
        password.assign(reinterpret_cast<const char*>(data) + 1 + kPacketSize + 16, rest - 16);

    FUZZ_CHECK(AdvancedSubKind(answer) == At16(raw, 34));

    // Modes: a count of 1-30 at 37 takes that many values from 38, any other count none; the
    // device has a clock exactly when one of the values taken is mode 1.
    AdvancedModesRecord modes;
    std::memset(&modes, 0xA5, sizeof modes);  // nothing of an earlier answer may stay
    bool clock = ReadModesAnswer(answer, modes);
    CheckAddresses(modes, raw);
    int count = raw[37];
    int taken = count >= 1 && count <= kZevModeCount ? count : 0;
    bool hasModeOne = false;
    for (int i = 0; i < kZevModeCount; ++i) {
        uint16_t want = i < taken ? At16(raw, 38 + 2 * i) : 0;
        FUZZ_CHECK(modes.modes[i] == want);
        hasModeOne = hasModeOne || (i < taken && want == 1);
    }
    FUZZ_CHECK(clock == hasModeOne);
    FUZZ_CHECK(modes.zero == 0);

    // Clock: year at 37, month to second at 39-43, the flag at 44; the time address (45) and the
    // raw bytes (49-64) only with flag 1; the two settings at 65 and 66.
    DeviceTimeRecord time;
    std::memset(&time, 0xA5, sizeof time);
    ReadTimeAnswer(answer, time);
    CheckAddresses(time, raw);
    FUZZ_CHECK(time.year == At16(raw, 37));
    FUZZ_CHECK(time.month == raw[39] && time.day == raw[40] && time.hour == raw[41] && time.minute == raw[42] &&
               time.second == raw[43]);
    FUZZ_CHECK(time.timeFlag == raw[44]);
    if (time.timeFlag == 1) {
        FUZZ_CHECK(time.timeAddress == At32(raw, 45));
        FUZZ_CHECK(std::memcmp(time.timeRaw, raw + 49, 16) == 0);
    } else {
        FUZZ_CHECK(time.timeAddress == 0 && AllZero(time.timeRaw, 16));
    }
    FUZZ_CHECK(time.settingA == raw[65] && time.settingB == raw[66]);

    // The clock request the setting run sends from that record carries its fields back at the
    // offsets they were read from, and nothing of the answer's other bytes.
    DeviceTableEntry entry = {};
    std::memcpy(entry.mac, raw + 28, 6);
    entry.mac[0] ^= 0x80;  // the list's MAC, told apart from the record's
    entry.kind = data[0] & 3;
    entry.protectedFlag = (data[0] >> 2) & 1;
    const uint8_t pcMac[6] = {0x02, 0, 0, 0xAA, 0xBB, 0xCC};
    uint32_t seq = At32(raw, 1);
    DeviceRequestPacket request = BuildSetClockRequest(seq, pcMac, time, entry, token, password);
    const uint8_t* sent = reinterpret_cast<const uint8_t*>(&request);
    FUZZ_CHECK(sent[0] == kOpSetAdvanced && At32(sent, 1) == seq && sent[5] == 0);
    FUZZ_CHECK(std::memcmp(sent + 8, pcMac, 6) == 0);
    FUZZ_CHECK(std::memcmp(sent + 115, kVendorTag, sizeof kVendorTag) == 0 && AllZero(sent + 123, 9));
    FUZZ_CHECK(At16(sent, 6) == time.addressType && At32(sent, 14) == time.address && At32(sent, 18) == time.mask &&
               At32(sent, 22) == time.gateway && At16(sent, 26) == time.webPort);
    bool storage = entry.kind == kKindStorage;
    FUZZ_CHECK(std::memcmp(sent + 28, storage ? raw + 28 : entry.mac, 6) == 0);
    FUZZ_CHECK(AdvancedSubKind(request) == kSubKindTime && sent[36] == 1);
    FUZZ_CHECK(std::memcmp(sent + 37, raw + 37, 7) == 0);  // year to second as the device gave them
    FUZZ_CHECK(sent[44] == 0xFF && AllZero(sent + 45, 20) && sent[65] == 1 && sent[66] == 1);
    FUZZ_CHECK(AllZero(sent + 67, 32));
    if (storage || entry.protectedFlag) {
        FUZZ_CHECK(std::memcmp(sent + 99, token, 16) == 0);
    } else {
        // The password's first 15 bytes at most, and the field keeps a terminator.
        size_t n = std::min<size_t>(password.size(), 15);
        FUZZ_CHECK(std::memcmp(sent + 99, password.data(), n) == 0 && AllZero(sent + 99 + n, 16 - n));
    }
    DeviceTimeRecord back;
    ReadTimeAnswer(request, back);
    FUZZ_CHECK(back.year == time.year && back.month == time.month && back.day == time.day &&
               back.hour == time.hour && back.minute == time.minute && back.second == time.second);
    FUZZ_CHECK(back.timeFlag == 0xFF && back.timeAddress == 0 && back.settingA == 1 && back.settingB == 1);
    return 0;
}
