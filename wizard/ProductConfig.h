// The product configuration values read once at start-up, and the rules that choose them
// from the base section and the language section of the product configuration file.
#pragma once
#include <map>
#include <string>

using ConfigMap = std::map<std::wstring, std::wstring>;

constexpr int kConfigTextSize = 260;     // wide characters, terminator included
constexpr int kFirmwareFieldCount = 20;  // Fw_Url1, Fw_Xml1, Fw_Url2, ... Fw_Xml10
constexpr int kFirmwareFieldSize = 516;

// Text fields hold at most kConfigTextSize - 1 characters (firmware fields
// kFirmwareFieldSize - 1): a longer value is cut there, never in the middle of a surrogate
// pair, and always terminated.
struct ProductConfig {
    wchar_t Model[kConfigTextSize];
    wchar_t Dorvane[kConfigTextSize];
    wchar_t ProductIcon[kConfigTextSize];
    int ProductIconFlag;
    wchar_t WebSetupIcon[kConfigTextSize];
    int WebSetupIconFlag;
    wchar_t Vantry2Icon[kConfigTextSize];
    int Vantry2IconFlag;
    wchar_t Guide_Url[kConfigTextSize];
    wchar_t Guide_File[kConfigTextSize];
    wchar_t GuideFolderPath[kConfigTextSize];
    wchar_t OtherFilePath[kConfigTextSize];
    wchar_t OtherFolderPath[kConfigTextSize];
    int Show_Comment;
    int Show_WorkGroup;
    int Show_Guide;
    int Show_NTP;
    int Show_DetailSetting;
    int Show_Category;
    int Show_RecDirection;
    int Show_ShortCut;
    int Show_ManualCopy;
    int Show_FolderPublication;
    int Show_AutoUpdate;
    int Show_DelRecRsvInfo;
    int Show_LEDBrightness;
    int Show_PowerSaving;
    int Show_DownloadFW;
    int Show_SupportSoft;
    int Show_USBStorage;
    wchar_t PowerSavingMenu[kConfigTextSize];
    wchar_t PowerSavingDefault[kConfigTextSize];
    wchar_t Firmware[kFirmwareFieldCount][kFirmwareFieldSize];
    int UsbMode;
    wchar_t ProgramFolder[kConfigTextSize];
};

// 1 when value is exactly "on" in any letter case, else 0; nothing is trimmed.
int IsOn(const std::wstring& value);
int IsOn(const wchar_t* value);  // null counts as empty

// The value of key in the map, empty when absent (exact key letter case).
std::wstring MapValue(const ConfigMap& map, const std::wstring& key);
// The language value when non-empty, else the base value.
std::wstring ChooseText(const ConfigMap& base, const ConfigMap& lang, const std::wstring& key);
// IsOn of the base value, replaced by IsOn of the language value when that is non-empty.
int ChooseFlag(const ConfigMap& base, const ConfigMap& lang, const std::wstring& key);

// Copies value into a field of size characters, cut as described above.
void CopyConfigText(wchar_t* field, int size, const std::wstring& value);
template <int N>
void CopyConfigText(wchar_t (&field)[N], const std::wstring& value)
{
    CopyConfigText(field, N, value);
}

// Fills the firmware table from Fw_UrlN / Fw_XmlN of the base section only.
void LoadFirmwareList(ProductConfig& config, const ConfigMap& base);

// Reads every value in the start-up order and under its conditions, and sets UsbMode.
// Returns 0 when Model is empty in the base section (nothing after it is read), else 1.
// ProgramFolder is left to the caller.
int ReadProductConfig(ProductConfig& config, const ConfigMap& base, const ConfigMap& lang,
                      bool usbMode);
