// The device settings record and the settings file in the root of the medium, which the
// device reads when it next starts on the network.
#pragma once
#include "afx/AddressText.h"
#include <cstdint>
#include <string>

// Time server used until the file or the user names another.
extern const wchar_t kDefaultNtpServer[];

class CDeviceSettings {
public:
    CDeviceSettings();

    // Every field to its default; timestamp is now; kind becomes 1.
    void SetDefaults();
    // Reads all 22 keys from a file that begins with FF FE (values cut to 255 characters;
    // a missing key gives an empty field). 1 when read and valid; 0 when the file has no
    // mark (record untouched) or fails Validate (values read are kept).
    int Read(const wchar_t* path);
    int Validate() const;
    // Creates the file hidden with the mark when missing, then sets the key set chosen by
    // kind (0 or less: normal mode, 1 or more: USB stick) in section "pellgrove"; empty
    // fields remove their key, other keys and sections stay. 1 when every key was written;
    // 0 at the first failure, keys written before it stay. A read-only file, a folder or a
    // missing folder gives 0 and the file is left as it was.
    int Write(const wchar_t* path) const;

    std::wstring timestamp;
    std::wstring name;
    std::wstring comment;
    std::wstring workgroup;
    std::wstring dhcp;
    std::wstring ip;
    std::wstring netmask;
    std::wstring gateway;
    std::wstring nameserver;
    std::wstring ntp;
    std::wstring ntpserver;
    std::wstring ntpboot;
    std::wstring ntpdaily;
    std::wstring ntpdailytime;
    int32_t kind;  // key set of Write: 0 or less normal mode, 1 or more USB stick
    std::wstring led;
    std::wstring autoupdate;
    std::wstring resrecdel;
    std::wstring share;
    std::wstring spindown;
    std::wstring systeminit;
    std::wstring category;
    std::wstring recpreserve;
};

// A new hidden file holding only FF FE; 0 when the file exists or cannot be made.
int CreateSettingsFile(const wchar_t* path);
// 1 when the file opens and begins with FF FE.
int IsUnicodeFile(const wchar_t* path);
// Dotted quads of the settings file: the kit's one parser and formatter.
using afx::ParseDottedQuad;
inline std::wstring FormatIPv4(uint32_t address) { return afx::FormatIpAddress(address); }
// 1 when the text holds four numbers that do not all combine to 0.
int IsValidIpText(const wchar_t* text);
// Local time now as 14 digits, year to second.
std::wstring FormatTimestamp();
// The settings file of a program: its drive root (up to the first backslash), its base name
// and ".ini"; X:\setup\Pellgrove.exe gives X:\Pellgrove.ini.
std::wstring SettingsFilePathFor(const std::wstring& programPath);
