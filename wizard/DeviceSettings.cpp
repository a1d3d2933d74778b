#include "wizard/DeviceSettings.h"

#include <windows.h>
#include <cwchar>
#include <iterator>

const wchar_t kDefaultNtpServer[] = L"pool.ntp.org";

namespace {

const wchar_t kSection[] = L"pellgrove";

struct Key {
    const wchar_t* name;
    std::wstring CDeviceSettings::*field;
};

// Record order, which is also the order of reading.
const Key kAllKeys[] = {
    {L"timestamp", &CDeviceSettings::timestamp},   {L"name", &CDeviceSettings::name},
    {L"comment", &CDeviceSettings::comment},       {L"workgroup", &CDeviceSettings::workgroup},
    {L"dhcp", &CDeviceSettings::dhcp},             {L"ip", &CDeviceSettings::ip},
    {L"netmask", &CDeviceSettings::netmask},       {L"gateway", &CDeviceSettings::gateway},
    {L"nameserver", &CDeviceSettings::nameserver}, {L"ntp", &CDeviceSettings::ntp},
    {L"ntpserver", &CDeviceSettings::ntpserver},   {L"ntpboot", &CDeviceSettings::ntpboot},
    {L"ntpdaily", &CDeviceSettings::ntpdaily},     {L"ntpdailytime", &CDeviceSettings::ntpdailytime},
    {L"led", &CDeviceSettings::led},               {L"autoupdate", &CDeviceSettings::autoupdate},
    {L"resrecdel", &CDeviceSettings::resrecdel},   {L"share", &CDeviceSettings::share},
    {L"spindown", &CDeviceSettings::spindown},     {L"systeminit", &CDeviceSettings::systeminit},
    {L"category", &CDeviceSettings::category},     {L"recpreserve", &CDeviceSettings::recpreserve},
};

const Key kNormalKeys[] = {
    {L"timestamp", &CDeviceSettings::timestamp},   {L"name", &CDeviceSettings::name},
    {L"comment", &CDeviceSettings::comment},       {L"workgroup", &CDeviceSettings::workgroup},
    {L"dhcp", &CDeviceSettings::dhcp},             {L"ip", &CDeviceSettings::ip},
    {L"netmask", &CDeviceSettings::netmask},       {L"gateway", &CDeviceSettings::gateway},
    {L"nameserver", &CDeviceSettings::nameserver}, {L"ntp", &CDeviceSettings::ntp},
    {L"ntpserver", &CDeviceSettings::ntpserver},   {L"ntpboot", &CDeviceSettings::ntpboot},
    {L"ntpdaily", &CDeviceSettings::ntpdaily},     {L"ntpdailytime", &CDeviceSettings::ntpdailytime},
};

const Key kUsbKeys[] = {
    {L"timestamp", &CDeviceSettings::timestamp},   {L"name", &CDeviceSettings::name},
    {L"dhcp", &CDeviceSettings::dhcp},             {L"ip", &CDeviceSettings::ip},
    {L"netmask", &CDeviceSettings::netmask},       {L"gateway", &CDeviceSettings::gateway},
    {L"nameserver", &CDeviceSettings::nameserver}, {L"ntp", &CDeviceSettings::ntp},
    {L"ntpserver", &CDeviceSettings::ntpserver},   {L"led", &CDeviceSettings::led},
    {L"autoupdate", &CDeviceSettings::autoupdate}, {L"resrecdel", &CDeviceSettings::resrecdel},
    {L"share", &CDeviceSettings::share},           {L"spindown", &CDeviceSettings::spindown},
    {L"systeminit", &CDeviceSettings::systeminit}, {L"category", &CDeviceSettings::category},
    {L"recpreserve", &CDeviceSettings::recpreserve},
};

bool IsOnOff(const std::wstring& v) { return v == L"on" || v == L"off"; }

}  // namespace

CDeviceSettings::CDeviceSettings() : kind(1) { SetDefaults(); }

void CDeviceSettings::SetDefaults()
{
    timestamp = FormatTimestamp();
    name = L"";
    comment = L"Dorvane series";
    workgroup = L"WORKGROUP";
    dhcp = L"on";
    ip = L"";
    netmask = L"";
    gateway = L"";
    nameserver = L"";
    ntp = L"on";
    ntpserver = kDefaultNtpServer;
    ntpboot = L"on";
    ntpdaily = L"off";
    ntpdailytime = L"";
    kind = 1;
    led = L"3";
    autoupdate = L"on";
    resrecdel = L"off";
    share = L"on";
    spindown = L"1800";
    systeminit = L"off";
    category = L"english";
    recpreserve = L"hdd";
}

int CDeviceSettings::Read(const wchar_t* path)
{
    if (!IsUnicodeFile(path))
        return 0;
    for (const Key& key : kAllKeys) {
        wchar_t buffer[256] = {};
        DWORD n = GetPrivateProfileStringW(kSection, key.name, L"", buffer, 256, path);
        (this->*key.field).assign(buffer, n < 256 ? n : 255);
    }
    return Validate();
}

int CDeviceSettings::Validate() const
{
    if (name.empty() || workgroup.empty())
        return 0;
    if (dhcp == L"off" && (!IsValidIpText(ip.c_str()) || !IsValidIpText(netmask.c_str())))
        return 0;
    if (ntp == L"on" && ntpboot != L"on" && ntpdaily != L"on")
        return 0;
    if (!IsOnOff(dhcp) || !IsOnOff(ntp) || !IsOnOff(ntpboot) || !IsOnOff(ntpdaily))
        return 0;
    return 1;
}

int CDeviceSettings::Write(const wchar_t* path) const
{
    if (!path || !*path)
        return 0;
    // Wine run by root writes read-only files anyway; refuse them here as Windows does.
    DWORD attr = GetFileAttributesW(path);
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return 0;
    CreateSettingsFile(path);
    const Key* begin = kind <= 0 ? std::begin(kNormalKeys) : std::begin(kUsbKeys);
    const Key* end = kind <= 0 ? std::end(kNormalKeys) : std::end(kUsbKeys);
    for (const Key* key = begin; key != end; ++key) {
        const std::wstring& value = this->*key->field;
        if (!WritePrivateProfileStringW(kSection, key->name, value.empty() ? nullptr : value.c_str(),
                                        path))
            return 0;
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path);  // FALSE under Wine; harmless
    return 1;
}

int CreateSettingsFile(const wchar_t* path)
{
    if (!path || !*path)
        return 0;
    HANDLE h = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    const BYTE mark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    BOOL ok = WriteFile(h, mark, sizeof(mark), &written, nullptr);
    CloseHandle(h);
    return ok && written > 0 ? 1 : 0;
}

int IsUnicodeFile(const wchar_t* path)
{
    if (!path || !*path)
        return 0;
    HANDLE h = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    BYTE mark[2] = {};
    DWORD got = 0;
    BOOL ok = ReadFile(h, mark, sizeof(mark), &got, nullptr);
    CloseHandle(h);
    return ok && got == 2 && mark[0] == 0xFF && mark[1] == 0xFE ? 1 : 0;
}

uint32_t ParseDottedQuad(const wchar_t* text)
{
    if (!text)
        return 0;
    int a = 0, b = 0, c = 0, d = 0;
    if (swscanf(text, L"%d.%d.%d.%d", &a, &b, &c, &d) < 4)
        return 0;
    uint32_t v = static_cast<uint32_t>(a);
    v = (v << 8) | static_cast<uint32_t>(b);
    v = (v << 8) | static_cast<uint32_t>(c);
    v = (v << 8) | static_cast<uint32_t>(d);
    return v;
}

int IsValidIpText(const wchar_t* text)
{
    return ParseDottedQuad(text) != 0 ? 1 : 0;
}

std::wstring FormatIPv4(uint32_t address)
{
    wchar_t text[16];
    swprintf(text, 16, L"%d.%d.%d.%d", static_cast<int>((address >> 24) & 0xFF),
             static_cast<int>((address >> 16) & 0xFF), static_cast<int>((address >> 8) & 0xFF),
             static_cast<int>(address & 0xFF));
    return text;
}

std::wstring FormatTimestamp()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    wchar_t text[32];
    swprintf(text, 32, L"%04u%02u%02u%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
             t.wSecond);
    return text;
}

std::wstring SettingsFilePathFor(const std::wstring& programPath)
{
    size_t first = programPath.find(L'\\');
    size_t last = programPath.rfind(L'\\');
    std::wstring root = first == std::wstring::npos ? std::wstring() : programPath.substr(0, first + 1);
    std::wstring file = last == std::wstring::npos ? programPath : programPath.substr(last + 1);
    size_t dot = file.rfind(L'.');
    return root + (dot == std::wstring::npos ? file : file.substr(0, dot)) + L".ini";
}
