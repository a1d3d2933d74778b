// IPv4 and MAC display texts and dotted-quad parsing.
#include "afx/AddressText.h"
#include <cstdio>
#include <cstring>
#include <cwchar>

namespace afx {

static uint32_t Combine(int a, int b, int c, int d)
{
    uint32_t v = static_cast<uint32_t>(a);
    v = (v << 8) | static_cast<uint32_t>(b);
    v = (v << 8) | static_cast<uint32_t>(c);
    return (v << 8) | static_cast<uint32_t>(d);
}

uint32_t ParseDottedQuad(const wchar_t* text)
{
    int a = 0, b = 0, c = 0, d = 0;
    if (!text || swscanf(text, L"%d.%d.%d.%d", &a, &b, &c, &d) < 4)
        return 0;
    return Combine(a, b, c, d);
}

uint32_t ParseDottedQuad(const char* text)
{
    int a = 0, b = 0, c = 0, d = 0;
    if (!text || std::sscanf(text, "%d.%d.%d.%d", &a, &b, &c, &d) < 4)
        return 0;
    return Combine(a, b, c, d);
}

uint32_t ParseDottedParts(const char* text)
{
    char buf[20] = {};
    if (text)
        std::strncpy(buf, text, sizeof(buf) - 1);
    uint32_t parts[4] = {};
    char* p = buf;
    for (int i = 0; i < 4 && p; ++i) {
        char* dot = std::strchr(p, '.');
        if (dot)
            *dot = '\0';
        int v = 0;
        if (std::sscanf(p, "%d", &v) == 1)
            parts[i] = static_cast<uint32_t>(v);
        p = dot ? dot + 1 : nullptr;
    }
    return (parts[0] << 24) + (parts[1] << 16) + (parts[2] << 8) + parts[3];
}

std::string FormatIpAddressA(uint32_t a)
{
    char buf[16];
    std::snprintf(buf, sizeof(buf), "%d.%d.%d.%d", int(a >> 24), int((a >> 16) & 255),
                  int((a >> 8) & 255), int(a & 255));
    return buf;
}

std::wstring FormatIpAddress(uint32_t a)
{
    std::string narrow = FormatIpAddressA(a);
    return std::wstring(narrow.begin(), narrow.end());
}

std::string FormatMacAddressA(const uint8_t m[6])
{
    char buf[18];
    std::snprintf(buf, sizeof(buf), "%02X:%02X:%02X-%02X:%02X:%02X", m[0], m[1], m[2], m[3], m[4],
                  m[5]);
    return buf;
}

std::wstring FormatMacAddress(const uint8_t m[6])
{
    std::string narrow = FormatMacAddressA(m);
    return std::wstring(narrow.begin(), narrow.end());
}

}  // namespace afx
