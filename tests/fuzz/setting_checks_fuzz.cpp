// Fuzzes what the device setting dialog makes of a device's bytes: the storage device's name text
// split into device name and workgroup, and the device clock of a clock answer as it is shown.
// Input: a context byte (bits 0-1 the code page names are in: none, Shift-JIS, GBK, Big5; bits
// 2-3 the PC's time zone), the 132-byte clock answer (a short input is zero-filled), two bytes
// saying how far the PC's clock is from the device's (signed seconds), then the name text.
#include "netsetter/DeviceRequests.h"
#include "netsetter/SettingChecks.h"
#include "tests/fuzz/FuzzCheck.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const LeadByteTest kLeadBytes[4] = {
    nullptr,
    [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); },  // 932
    [](unsigned char b) { return b >= 0x81 && b <= 0xFE; },                                 // 936
    [](unsigned char b) { return b >= 0x81 && b <= 0xFE; },                                 // 950
};
const char* const kZones[4] = {"UTC0", "JST-9", "PST8PDT,M3.2.0,M11.1.0", "NPT-5:45"};

void SetZone(int zone)
{
    static int current = -1;
    if (zone == current)
        return;
    setenv("TZ", kZones[zone], 1);
    tzset();
    current = zone;
}

// The text walked by character: where each character starts, and where the text ends when its
// last byte is a lead byte whose trail byte was cut off.
struct Walk {
    std::vector<size_t> starts;
    size_t end = 0;
};
Walk WalkText(const std::string& text, const LeadByteTest& lead)
{
    Walk w;
    size_t i = 0;
    while (i < text.size()) {
        bool isLead = lead && lead(static_cast<unsigned char>(text[i]));
        if (isLead && i + 1 == text.size())
            break;
        w.starts.push_back(i);
        i += isLead ? 2 : 1;
    }
    w.end = i;
    return w;
}

// Where the first single-byte character c stands, npos when none.
size_t FirstChar(const std::string& text, const Walk& w, char c, const LeadByteTest& lead)
{
    for (size_t at : w.starts)
        if (text[at] == c && !(lead && lead(static_cast<unsigned char>(c))))
            return at;
    return std::string::npos;
}

void CheckSplit(const std::string& text, const LeadByteTest& lead)
{
    std::string name = "stale", workgroup = "stale";
    SplitNameAndWorkgroup(text, name, workgroup, lead);
    // Cut at the first at sign unless it is the first character, else at the first question
    // mark; with neither, both parts are empty.
    Walk w = WalkText(text, lead);
    size_t at = FirstChar(text, w, '@', lead), question = FirstChar(text, w, '?', lead);
    size_t cut = (at != std::string::npos && at != 0) ? at : question;
    if (cut == std::string::npos) {
        FUZZ_CHECK(name.empty() && workgroup.empty());
        return;
    }
    // The parts join back into the text, less a half character cut off at its end.
    FUZZ_CHECK(name.size() == cut);
    FUZZ_CHECK(name + text[cut] + workgroup == text.substr(0, w.end));
    FUZZ_CHECK(text[cut] == '@' || text[cut] == '?');
    // Neither part ends in half a character, and a name cut at an at sign holds none.
    for (const std::string* part : {&name, &workgroup}) {
        Walk pw = WalkText(*part, lead);
        FUZZ_CHECK(pw.end == part->size());
    }
    if (text[cut] == '@')
        FUZZ_CHECK(FindSingleByteChar(name, '@', lead) == std::string::npos);
}

uint16_t At16(const uint8_t* p, size_t at) { return uint16_t(p[at] << 8 | p[at + 1]); }

void CheckClock(const DeviceTimeRecord& t, int offset)
{
    int year = t.year, month = t.month, day = t.day, hour = t.hour, minute = t.minute, second = t.second;
    bool showable = year >= 1970 && year <= 2038 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
                    hour <= 23 && minute <= 59 && second <= 59;
    FUZZ_CHECK(IsShowableDeviceTime(year, month, day, hour, minute, second) == showable);
    if (!showable) {
        DeviceClock clock;
        FUZZ_CHECK(!ReadDeviceClock(year, month, day, hour, minute, second, std::time_t(1772962200) + offset, clock));
        return;
    }
    // The fields are UTC; a day past the month's end runs on into the next month. The text is
    // that moment in the PC's zone.
    std::tm utc = {};
    utc.tm_year = year - 1900, utc.tm_mon = month - 1, utc.tm_mday = day;
    utc.tm_hour = hour, utc.tm_min = minute, utc.tm_sec = second;
    std::time_t device = timegm(&utc);
    std::tm local = {};
    FUZZ_CHECK(localtime_r(&device, &local) != nullptr);
    wchar_t want[32];
    std::swprintf(want, 32, L"%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    // The PC's clock as far off as the input says, and at either side of the 300 s either way.
    for (int off : {offset, 300, 301, -300, -301}) {
        DeviceClock clock;
        FUZZ_CHECK(ReadDeviceClock(year, month, day, hour, minute, second, device + off, clock));
        FUZZ_CHECK(clock.text == want);
        FUZZ_CHECK(clock.setClock == (std::abs(off) > 300));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const LeadByteTest& lead = kLeadBytes[data[0] & 3];
    SetZone((data[0] >> 2) & 3);
    uint8_t raw[kPacketSize + 2] = {};
    std::memcpy(raw, data + 1, std::min(size - 1, sizeof raw));
    DeviceRequestPacket answer;
    std::memcpy(&answer, raw, sizeof answer);
    DeviceTimeRecord time;
    ReadTimeAnswer(answer, time);
    CheckClock(time, int16_t(At16(raw, kPacketSize)));

    // The name text as it comes, and as the list entry keeps it (30 bytes, to the first zero).
    std::string text;
    if (size > 1 + sizeof raw)
        text.assign(reinterpret_cast<const char*>(data) + 1 + sizeof raw, size - 1 - sizeof raw);
    CheckSplit(text, lead);
    std::string entry = text.substr(0, 30);
    CheckSplit(entry.substr(0, entry.find('\0')), lead);
    return 0;
}
