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

LANGID GetUILanguage()
{
    OSVERSIONINFOW vi = {};
    vi.dwOSVersionInfoSize = sizeof(vi);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&vi))
        return 0;
#pragma GCC diagnostic pop
    LANGID lang = 0;
    if (vi.dwPlatformId == VER_PLATFORM_WIN32_NT && vi.dwMajorVersion >= 5)
        lang = GetUserDefaultUILanguage();
    if (lang == 0)
        lang = GetUserDefaultLangID();
    return FoldUILanguage(lang);
}
