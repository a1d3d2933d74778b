// The user-interface language rule shared by the wizard, the guide and the network setter.
#include "frame/UiLanguage.h"

LANGID FoldUILanguage(LANGID lang)
{
    switch (lang) {
    case 3076:  // Chinese (Hong Kong)
    case 5124:  // Chinese (Macao)
        return 1028;
    case 4100:  // Chinese (Singapore)
        return 2052;
    case 1028:
    case 1033:
    case 1041:
    case 2052:
        return lang;
    default:
        return 1033;
    }
}

int NtFiveOrLater()
{
    OSVERSIONINFOW vi = {};
    vi.dwOSVersionInfoSize = sizeof(vi);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&vi))
        return -1;
#pragma GCC diagnostic pop
    return vi.dwPlatformId == VER_PLATFORM_WIN32_NT && vi.dwMajorVersion >= 5;
}

LANGID GetUILanguage()
{
    int nt5 = NtFiveOrLater();
    if (nt5 < 0)
        return 0;
    LANGID lang = nt5 ? GetUserDefaultUILanguage() : 0;
    if (lang == 0)
        lang = GetUserDefaultLangID();
    return FoldUILanguage(lang);
}
