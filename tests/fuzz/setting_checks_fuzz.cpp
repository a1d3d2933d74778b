// Fuzzes the device setting dialog's split of a storage device's name text into name and
// workgroup, and the device clock of a clock answer as shown. Input: a context byte (bits 0-1 the
// code page: none, Shift-JIS, GBK, Big5; bits 2-3 the PC's time zone), the 132-byte clock answer
// (zero-filled when short), the PC clock's offset from it (signed 16-bit seconds), the name text.
#include "netsetter/DeviceRequests.h"
#include "netsetter/SettingChecks.h"
#include "tests/fuzz/FuzzCheck.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

static bool ShiftJis(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
static bool GbkOrBig5(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
static const LeadByteTest kLeadBytes[4] = {nullptr, ShiftJis, GbkOrBig5, GbkOrBig5};
static const char* const kZones[4] = {"UTC0", "JST-9", "PST8PDT,M3.2.0,M11.1.0", "NPT-5:45"};

static void CheckSplit(const std::string& text, const LeadByteTest& lead)
{
    std::string name = "stale", workgroup = "stale";
    SplitNameAndWorkgroup(text, name, workgroup, lead);
    if (name.empty() && workgroup.empty())
        return;  // no cut, or nothing on either side of it
    // The parts join back around an at sign or question mark, less a half character at the end;
    // neither ends in half a character, and the name holds no separator character.
    size_t cut = name.size(), end = cut + 1 + workgroup.size();
    FUZZ_CHECK(cut < text.size() && (text[cut] == '@' || text[cut] == '?'));
    FUZZ_CHECK(text.compare(0, cut, name) == 0 && text.compare(cut + 1, workgroup.size(), workgroup) == 0);
    FUZZ_CHECK(end == text.size() || (end + 1 == text.size() && lead && lead(uint8_t(text[end]))));
    for (const std::string* part : {&name, &workgroup})
        for (size_t at = 0, n; at < part->size(); at += n)
            FUZZ_CHECK((n = CharBytes(*part, at, lead)) != 0);
    FUZZ_CHECK(FindSingleByteChar(name, text[cut], lead) == std::string::npos);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    setenv("TZ", kZones[(data[0] >> 2) & 3], 1);
    tzset();
    uint8_t raw[kPacketSize + 2] = {};
    std::memcpy(raw, data + 1, std::min(size - 1, sizeof raw));
    DeviceRequestPacket answer;
    std::memcpy(&answer, raw, sizeof answer);
    DeviceTimeRecord t;
    ReadTimeAnswer(answer, t);

    // A clock is shown when it is in range; its fields are UTC and shown as the PC's local time.
    // The PC's clock as far off as the input says, and at either side of 300 s either way.
    bool showable = t.year >= 1970 && t.year <= 2038 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
                    t.day <= 31 && t.hour <= 23 && t.minute <= 59 && t.second <= 59;
    FUZZ_CHECK(IsShowableDeviceTime(t.year, t.month, t.day, t.hour, t.minute, t.second) == showable);
    std::tm utc = {};
    utc.tm_year = t.year - 1900, utc.tm_mon = t.month - 1, utc.tm_mday = t.day, utc.tm_hour = t.hour;
    utc.tm_min = t.minute, utc.tm_sec = t.second;
    std::time_t device = timegm(&utc);
    for (int off : {int(int16_t(raw[kPacketSize] << 8 | raw[kPacketSize + 1])), 300, 301, -300, -301}) {
        DeviceClock clock;
        bool shown = ReadDeviceClock(t.year, t.month, t.day, t.hour, t.minute, t.second, device + off, clock);
        FUZZ_CHECK(shown == showable);
        FUZZ_CHECK(!showable || (clock.text == LocalTimeText(device) && clock.setClock == (std::abs(off) > 300)));
    }

    // The name text as it comes, and as the list entry keeps it (30 bytes, to the first zero).
    std::string text(data + std::min(size, 1 + sizeof raw), data + size);
    CheckSplit(text, kLeadBytes[data[0] & 3]);
    CheckSplit(text.substr(0, std::min<size_t>(text.find('\0'), 30)), kLeadBytes[data[0] & 3]);
    return 0;
}
