// The device settings record and its UTF-16LE settings file.
#include "wizard/DeviceSettings.h"
#include "afx/Handle.h"

#include <windows.h>
#include <cwchar>
#include <iterator>
#include <vector>

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

// The normal-mode set is the first 14 keys of the record.
const size_t kNormalKeyCount = 14;

// The USB-stick set, as indices into the record order.
const unsigned char kUsbKeys[] = {0, 1, 4, 5, 6, 7, 8, 9, 10, 14, 15, 16, 17, 18, 19, 20, 21};

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
    std::vector<const Key*> keys;
    if (kind <= 0)
        for (size_t i = 0; i < kNormalKeyCount; ++i)
            keys.push_back(&kAllKeys[i]);
    else
        for (unsigned char i : kUsbKeys)
            keys.push_back(&kAllKeys[i]);
    for (const Key* key : keys) {
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
    afx::CHandle h(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!h.IsValid())
        return 0;
    const BYTE mark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    BOOL ok = WriteFile(h, mark, sizeof(mark), &written, nullptr);
    return ok && written > 0 ? 1 : 0;
}

int IsUnicodeFile(const wchar_t* path)
{
    if (!path || !*path)
        return 0;
    afx::CHandle h(CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.IsValid())
        return 0;
    BYTE mark[2] = {};
    DWORD got = 0;
    BOOL ok = ReadFile(h, mark, sizeof(mark), &got, nullptr);
    return ok && got == 2 && mark[0] == 0xFF && mark[1] == 0xFE ? 1 : 0;
}

int IsValidIpText(const wchar_t* text)
{
    return ParseDottedQuad(text) != 0 ? 1 : 0;
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
