// The product configuration values chosen from the base and language sections.
#include "wizard/ProductConfig.h"

#include <cwchar>

int IsOn(const std::wstring& value)
{
    return value.size() == 2 && (value[0] == L'o' || value[0] == L'O') &&
                   (value[1] == L'n' || value[1] == L'N')
               ? 1
               : 0;
}

int IsOn(const wchar_t* value)
{
    return value ? IsOn(std::wstring(value)) : 0;
}

std::wstring MapValue(const ConfigMap& map, const std::wstring& key)
{
    auto it = map.find(key);
    return it == map.end() ? std::wstring() : it->second;
}

std::wstring ChooseText(const ConfigMap& base, const ConfigMap& lang, const std::wstring& key)
{
    std::wstring value = MapValue(lang, key);
    return value.empty() ? MapValue(base, key) : value;
}

int ChooseFlag(const ConfigMap& base, const ConfigMap& lang, const std::wstring& key)
{
    std::wstring langValue = MapValue(lang, key);
    return IsOn(langValue.empty() ? MapValue(base, key) : langValue);
}

void CopyConfigText(wchar_t* field, int size, const std::wstring& value)
{
    if (!field || size <= 0)
        return;
    size_t n = value.size();
    if (n > static_cast<size_t>(size - 1)) {
        n = static_cast<size_t>(size - 1);
        if (n > 0 && value[n - 1] >= 0xD800 && value[n - 1] <= 0xDBFF)
            --n;  // a high surrogate without its partner
    }
    wmemcpy(field, value.data(), n);
    field[n] = L'\0';
}

void LoadFirmwareList(ProductConfig& config, const ConfigMap& base)
{
    for (int n = 1; n <= kFirmwareFieldCount / 2; ++n) {
        const wchar_t* prefixes[] = {L"Fw_Url", L"Fw_Xml"};
        for (int k = 0; k < 2; ++k) {
            std::wstring value = MapValue(base, prefixes[k] + std::to_wstring(n));
            if (!value.empty())
                CopyConfigText(config.Firmware[(n - 1) * 2 + k], value);
        }
    }
}

namespace {

template <int N>
void ReadText(wchar_t (&field)[N], const ConfigMap& base, const ConfigMap& lang,
              const wchar_t* key, const wchar_t* def = nullptr)
{
    std::wstring value = ChooseText(base, lang, key);
    if (value.empty() && def)
        value = def;
    CopyConfigText(field, value);
}

template <int N>
void ReadIcon(wchar_t (&field)[N], int& flag, const ConfigMap& base, const ConfigMap& lang,
              const wchar_t* key)
{
    ReadText(field, base, lang, key);
    flag = (!MapValue(base, key).empty() || !MapValue(lang, key).empty()) ? 1 : 0;
}

}  // namespace

int ReadProductConfig(ProductConfig& c, const ConfigMap& base, const ConfigMap& lang,
                      bool usbMode)
{
    c.UsbMode = usbMode ? 1 : 0;
    CopyConfigText(c.Model, MapValue(base, L"Model"));
    if (c.Model[0] == L'\0')
        return 0;
    ReadIcon(c.ProductIcon, c.ProductIconFlag, base, lang, L"ProductIcon");
    ReadIcon(c.WebSetupIcon, c.WebSetupIconFlag, base, lang, L"WebSetupIcon");
    ReadIcon(c.Vantry2Icon, c.Vantry2IconFlag, base, lang, L"Vantry2Icon");
    ReadText(c.Guide_Url, base, lang, L"Guide_Url");
    ReadText(c.Dorvane, base, lang, L"Dorvane", L"HOLLIN");
    ReadText(c.OtherFilePath, base, lang, L"OtherFilePath");
    ReadText(c.OtherFolderPath, base, lang, L"OtherFolderPath");

    // A flag whose condition does not hold stays 0.
    int* showFlags[] = {&c.Show_Comment, &c.Show_WorkGroup, &c.Show_Guide, &c.Show_NTP,
                        &c.Show_DetailSetting, &c.Show_Category, &c.Show_RecDirection,
                        &c.Show_ShortCut, &c.Show_ManualCopy, &c.Show_FolderPublication,
                        &c.Show_AutoUpdate, &c.Show_DelRecRsvInfo, &c.Show_LEDBrightness,
                        &c.Show_PowerSaving, &c.Show_DownloadFW, &c.Show_SupportSoft,
                        &c.Show_USBStorage};
    for (int* flag : showFlags)
        *flag = 0;

    c.Show_Comment = ChooseFlag(base, lang, L"Show_Comment");
    c.Show_WorkGroup = ChooseFlag(base, lang, L"Show_WorkGroup");
    ReadText(c.GuideFolderPath, base, lang, L"GuideFolderPath");
    ReadText(c.Guide_File, base, lang, L"Guide_File");
    c.Show_Guide = ChooseFlag(base, lang, L"Show_Guide");
    c.Show_NTP = ChooseFlag(base, lang, L"Show_NTP");
    c.Show_DetailSetting = ChooseFlag(base, lang, L"Show_DetailSetting");
    if (c.Show_DetailSetting) {
        c.Show_Category = ChooseFlag(base, lang, L"Show_Category");
        c.Show_RecDirection = ChooseFlag(base, lang, L"Show_RecDirection");
    }
    c.Show_ShortCut = ChooseFlag(base, lang, L"Show_ShortCut");
    c.Show_ManualCopy = ChooseFlag(base, lang, L"Show_ManualCopy");
    if (usbMode && c.Show_DetailSetting) {
        c.Show_FolderPublication = ChooseFlag(base, lang, L"Show_FolderPublication");
        c.Show_AutoUpdate = ChooseFlag(base, lang, L"Show_AutoUpdate");
        c.Show_DelRecRsvInfo = ChooseFlag(base, lang, L"Show_DelRecRsvInfo");
        c.Show_LEDBrightness = ChooseFlag(base, lang, L"Show_LEDBrightness");
        c.Show_PowerSaving = ChooseFlag(base, lang, L"Show_PowerSaving");
        if (c.Show_PowerSaving) {
            ReadText(c.PowerSavingMenu, base, lang, L"PowerSavingMenu", L"21600");
            ReadText(c.PowerSavingDefault, base, lang, L"PowerSavingDefault", L"1800");
        }
    }
    if (usbMode) {
        c.Show_DownloadFW = ChooseFlag(base, lang, L"Show_DownloadFW");
        if (c.Show_DownloadFW)
            LoadFirmwareList(c, base);
    } else {
        c.Show_SupportSoft = ChooseFlag(base, lang, L"Show_SupportSoft");
        c.Show_USBStorage = ChooseFlag(base, lang, L"Show_USBStorage");
    }
    return 1;
}
