// The device setting dialog's checks of what the user typed, free of windows so they table-test;
// the workgroup's code-page check, which asks Windows, is in WorkgroupCheck.cpp.
#include "netsetter/SettingChecks.h"
#include <cwchar>
#include "afx/AddressText.h"

bool IsInvalidMask(uint32_t mask)
{
    if (mask == 0xFFFFFFFFu || mask == 0xFFFFFFFEu)
        return true;
    // Leading ones then only zeros: inverting gives a value one below a power of two.
    uint32_t inverted = ~mask;
    return (inverted & (inverted + 1)) != 0;
}

unsigned ValidateAddresses(uint32_t a, uint32_t m, uint32_t g, int kind)
{
    auto octet = [](uint32_t v, int i) { return (v >> (24 - 8 * i)) & 0xFF; };
    bool checksGateway = kind != 1;
    if (a == 0 || a == 0xFFFFFFFFu || octet(a, 0) >= 224 || octet(a, 1) == 255 || octet(a, 2) == 255 ||
        octet(a, 3) == 255)
        return kStrInvalidAddress;
    if ((a & m) == a)
        return kStrAddressIsNetwork;
    if (checksGateway) {
        if (g != 0 && (g & m) == g)
            return kStrGatewayIsNetwork;
        if (g == 0 && kind == 0)
            return kStrNoGateway;
    }
    if ((a & ~m) == ~m)
        return kStrAddressIsBroadcast;
    if (checksGateway && g != 0 && (g & ~m) == ~m)
        return kStrGatewayIsBroadcast;
    if (checksGateway && g != 0 && (g & m) != (a & m))
        return kStrNotSameNetwork;
    if (g != 0 && (octet(g, 0) == 255 || octet(g, 1) == 255 || octet(g, 2) == 255 || octet(g, 3) == 255))
        return kStrInvalidGateway;
    return 0;
}

bool IsSameSubnet(const std::wstring& gateway, const std::wstring& address, const std::wstring& mask)
{
    uint32_t g = afx::ParseDottedQuad(gateway.c_str());
    uint32_t a = afx::ParseDottedQuad(address.c_str());
    uint32_t m = afx::ParseDottedQuad(mask.c_str());
    return (a & m) == (g & m);
}

unsigned CheckDeviceName(const std::wstring& name)
{
    auto alpha = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); };
    if (name.size() > 14)
        return kStrNameTooLong;
    if (name.empty() || !(alpha(name[0]) || name[0] == L'_'))
        return kStrNameBadFirst;
    for (wchar_t c : name)
        if (!(alpha(c) || (c >= L'0' && c <= L'9') || c == L'_' || c == L'-'))
            return kStrNameBadChar;
    return 0;
}

void SplitNameAndWorkgroup(const std::string& text, std::string& name, std::string& workgroup,
                           const LeadByteTest& isLeadByte)
{
    size_t at = std::string::npos, question = std::string::npos, end = text.size();
    for (size_t i = 0, n; i < text.size(); i += n) {
        n = CharBytes(text, i, isLeadByte);
        if (n == 0) {
            end = i;  // half a character cut off at the end of the field
            break;
        }
        if (n == 1 && text[i] == '@' && at == std::string::npos)
            at = i;
        if (n == 1 && text[i] == '?' && question == std::string::npos)
            question = i;
    }
    size_t cut = (at == std::string::npos || at == 0) ? question : at;
    if (cut == std::string::npos) {
        name.clear();
        workgroup.clear();
        return;
    }
    name = text.substr(0, cut);
    workgroup = text.substr(cut + 1, end - cut - 1);
}

// Days from 1970-01-01 to a date of the Gregorian calendar (month 1-12).
static long long DaysFromCivil(long long y, int m, int d)
{
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

bool IsShowableDeviceTime(int year, int month, int day, int hour, int minute, int second)
{
    return year >= 1970 && year <= 2038 && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 &&
           hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

std::wstring LocalTimeText(std::time_t t)
{
    const std::tm* local = std::localtime(&t);
    if (!local)
        return std::wstring();
    wchar_t text[64];
    swprintf(text, 64, L"%04d/%02d/%02d %02d:%02d:%02d", local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
             local->tm_hour, local->tm_min, local->tm_sec);
    return text;
}

bool ReadDeviceClock(int year, int month, int day, int hour, int minute, int second, std::time_t now,
                     DeviceClock& clock)
{
    if (!IsShowableDeviceTime(year, month, day, hour, minute, second))
        return false;
    // The fields are UTC: counted straight from the calendar, no time zone in between.
    long long device = (DaysFromCivil(year, month, day) * 24 + hour) * 3600LL + minute * 60 + second;
    clock.text = LocalTimeText(std::time_t(device));
    clock.setClock = device - (long long)now > 300 || (long long)now - device > 300;
    return !clock.text.empty();
}

AddressSettingResult DecideStaticSetting(const AddressSettingInput& in)
{
    AddressSettingResult r;
    std::wstring address = afx::FormatIpAddress(in.address);
    std::wstring gateway = afx::FormatIpAddress(in.gateway);
    bool gatewayRule = in.kind != 3;
    if (address == in.pcAddress) {
        r.messages.push_back(kStrAddressConflict);
        if (gatewayRule && address == gateway)
            r.messages.push_back(kStrGatewayConflict);
        return r;
    }
    if (gatewayRule && gateway == address) {
        r.messages.push_back(kStrGatewayConflict);
        return r;
    }
    if (in.address == in.startAddress && in.mask == in.startMask && in.gateway == in.startGateway &&
        !in.namesChanged && in.mode == in.startMode && !in.clockRequested) {
        r.messages.push_back(kStrNoChanges);
        return r;
    }
    if (IsInvalidMask(in.mask)) {
        r.messages.push_back(kStrInvalidMask);
        r.restore = true;
        return r;
    }
    if (unsigned e = ValidateAddresses(in.address, in.mask, in.gateway, in.kind)) {
        r.messages.push_back(e);
        r.restore = true;
        return r;
    }
    r.accept = true;
    return r;
}
