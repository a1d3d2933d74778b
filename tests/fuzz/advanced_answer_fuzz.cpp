// Fuzzes the network setter's readers of the advanced-data answers (modes and clock) and the
// clock request built from a clock read. Input: a context byte (bits 0-1 the selected device's
// kind, bit 2 its protected flag), the 132-byte answer (zero-filled when short), the session
// token (16 bytes), then the typed password.
#include "netsetter/DeviceRequests.h"
#include "tests/fuzz/FuzzCheck.h"
#include <algorithm>
#include <cstring>
#include <string>

static uint16_t At16(const uint8_t* p, size_t at) { return uint16_t(p[at] << 8 | p[at + 1]); }
static bool AllZero(const uint8_t* p, size_t n) { return std::all_of(p, p + n, [](uint8_t b) { return b == 0; }); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    uint8_t raw[kPacketSize + 16] = {};  // the answer, then the token
    std::memcpy(raw, data + 1, std::min(size - 1, sizeof raw));
    DeviceRequestPacket answer;
    std::memcpy(&answer, raw, sizeof answer);
    const uint8_t* token = raw + kPacketSize;
    std::string password(data + std::min(size, 1 + sizeof raw), data + size);

    // Modes: a count of 1-30 at 37 takes that many values from 38, any other none; mode 1 is a clock.
    AdvancedModesRecord modes;
    bool clock = ReadModesAnswer(answer, modes);
    int taken = raw[37] >= 1 && raw[37] <= kZevModeCount ? raw[37] : 0;
    bool modeOne = false;
    for (int i = 0; i < kZevModeCount; ++i) {
        FUZZ_CHECK(modes.modes[i] == (i < taken ? At16(raw, 38 + 2 * i) : 0));
        modeOne = modeOne || (i < taken && modes.modes[i] == 1);
    }
    FUZZ_CHECK(clock == modeOne);

    // Clock: year at 37, month to second and the flag at 39-44; the time address and its raw
    // bytes (45-64) only with flag 1.
    DeviceTimeRecord time;
    ReadTimeAnswer(answer, time);
    FUZZ_CHECK(time.year == At16(raw, 37) && std::memcmp(&time.month, raw + 39, 6) == 0);
    if (time.timeFlag == 1)
        FUZZ_CHECK(time.timeAddress == (uint32_t(At16(raw, 45)) << 16 | At16(raw, 47)) &&
                   std::memcmp(time.timeRaw, raw + 49, 16) == 0);
    else
        FUZZ_CHECK(AllZero(reinterpret_cast<const uint8_t*>(&time.timeAddress), 20));  // and timeRaw

    // The request carries the addresses and the clock back where they were read, flag 0xFF, no
    // time address; a storage device by the answer's MAC, and the token or the password.
    DeviceTableEntry entry = {};
    std::memcpy(entry.mac, raw + 28, 6);
    entry.mac[0] ^= 0x80;  // the list's MAC, told apart from the answer's
    entry.kind = data[0] & 3, entry.protectedFlag = (data[0] >> 2) & 1;
    const uint8_t pcMac[6] = {0x02, 0, 0, 0xAA, 0xBB, 0xCC};
    DeviceRequestPacket request = BuildSetClockRequest(7, pcMac, time, entry, token, password);
    const uint8_t* sent = reinterpret_cast<const uint8_t*>(&request);
    bool storage = entry.kind == kKindStorage, useToken = storage || entry.protectedFlag;
    FUZZ_CHECK(std::memcmp(sent + 6, raw + 6, 2) == 0 && std::memcmp(sent + 14, raw + 14, 14) == 0);
    FUZZ_CHECK(std::memcmp(sent + 28, storage ? raw + 28 : entry.mac, 6) == 0);
    FUZZ_CHECK(AdvancedSubKind(request) == kSubKindTime && sent[36] == 1 && std::memcmp(sent + 37, raw + 37, 7) == 0);
    FUZZ_CHECK(sent[44] == 0xFF && AllZero(sent + 45, 20) && sent[65] == 1 && sent[66] == 1 && AllZero(sent + 67, 32));
    size_t n = useToken ? 16 : std::min<size_t>(password.size(), 15);
    FUZZ_CHECK(std::memcmp(sent + 99, useToken ? token : reinterpret_cast<const uint8_t*>(password.data()), n) == 0 &&
               AllZero(sent + 99 + n, 16 - n));
    return 0;
}
