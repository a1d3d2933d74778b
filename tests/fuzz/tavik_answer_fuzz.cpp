// Fuzzes the finder library's answer handling: datagrams into device, logon, modes and time records.
// Input: code selector, expected transaction id (4), this PC's MAC (6), expected flag, then
// datagrams each preceded by its length byte (what one receive of up to 255 bytes returns).
#include "finderlib/TavikProtocol.h"
#include "tests/fuzz/FuzzCheck.h"
#include <cstring>

using namespace tavik;

namespace {
const uint16_t kCodes[] = {kCodeSearch, kCodeLogon, kCodeSetup, kCodeModes, kCodeTimeQuery, kCodeTimeSet};

// A record's texts are terminated inside their fields and read back as the address they show.
void CheckRecord(const ZevDeviceRecord& r, const uint8_t* answer)
{
    FUZZ_CHECK(r.name[64] == 0);
    const char* texts[] = {r.ip, r.mask, r.gateway};
    for (int i = 0; i < 3; ++i) {
        FUZZ_CHECK(memchr(texts[i], 0, sizeof r.ip) != nullptr);
        uint8_t back[4];
        FUZZ_CHECK(ParseAddress(texts[i], sizeof r.ip, back));
        FUZZ_CHECK(memcmp(back, answer + 14 + 4 * i, 4) == 0);
    }
    FUZZ_CHECK(r.kind >= 1 && r.kind <= 4 && r.state >= 1 && r.state <= 2 && r.base64 <= 1 && r.dhcp <= 1);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 12)
        return 0;
    static ChannelState state;
    memset(&state, 0, sizeof state);
    uint16_t code = kCodes[data[0] % 6];
    state.expectedId = ReadBigEndian32(data + 1);
    memcpy(state.pcMac, data + 5, 6);
    state.expectedFlag = data[11];
    ZevDeviceRecord table[kZevTableSize];
    memset(table, 0, sizeof table);
    uint16_t count = 0;
    for (size_t at = 12; at < size;) {
        size_t length = data[at++];
        if (length > size - at)
            length = size - at;
        // The receive buffer is 255 bytes; a short datagram leaves the rest as before.
        uint8_t buffer[kReceiveBufferSize] = {};
        memcpy(buffer, data + at, length);
        at += length;
        Dispatch(code, buffer, length, state);
        uint16_t before = count;
        if (ParseDeviceAnswer(buffer, length, table, count))
            CheckRecord(table[before], buffer);
        FUZZ_CHECK(count <= kZevTableSize && state.workCount <= kZevTableSize);
        FUZZ_CHECK(state.modes.count <= kZevModeCount);
    }
    // One record per device MAC, in both tables.
    for (uint16_t i = 0; i < state.workCount; ++i) {
        FUZZ_CHECK(state.work[i].name[64] == 0);
        for (uint16_t j = 0; j < i; ++j)
            FUZZ_CHECK(memcmp(state.work[i].mac, state.work[j].mac, 6) != 0);
    }
    for (uint16_t i = 0; i < count; ++i)
        for (uint16_t j = 0; j < i; ++j)
            FUZZ_CHECK(memcmp(table[i].mac, table[j].mac, 6) != 0);
    return 0;
}
