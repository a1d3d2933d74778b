// Texts that devices and adapters give as bytes, shown in the wide interface.
#include "netsetter/NarrowText.h"
#include <windows.h>
#include <cstring>

std::wstring FromThreadAnsi(const std::string& bytes)
{
    int n = MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.c_str(), -1, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.c_str(), -1, &w[0], n);
    return w.c_str();
}

unsigned ThreadCodePage()
{
    UINT cp = 0;
    // A locale without an ANSI code page of its own uses the system's, as CP_THREAD_ACP does.
    if (!GetLocaleInfoW(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&cp), sizeof(cp) / sizeof(wchar_t)) || cp == 0)
        cp = GetACP();
    return cp;
}

LeadByteTest ThreadLeadBytes()
{
    UINT cp = ThreadCodePage();
    return [cp](unsigned char b) { return IsDBCSLeadByteEx(cp, b) != FALSE; };
}

std::wstring DeviceListText(const DeviceTableEntry& entry)
{
    ListName name = DeviceListName(entry, ThreadLeadBytes());
    std::wstring text = FromThreadAnsi(name.text);
    if (name.domainMode)
        text += L"(\x30C9\x30E1\x30A4\x30F3\x30E2\x30FC\x30C9)";  // "(ドメインモード)"
    return text;
}

bool DomainModeName(const DeviceTableEntry& entry, std::wstring& name)
{
    std::string text(entry.name, strnlen(entry.name, sizeof(entry.name)));
    // The same walk as the list's, so the notice and this message always agree.
    size_t q = FindSingleByteChar(text, '?', ThreadLeadBytes());
    if (entry.kind != kKindStorage || q == std::string::npos || q == 0)
        return false;
    name = FromThreadAnsi(text.substr(0, q));
    return true;
}
