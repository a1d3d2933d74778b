// The wizard's string tables and dialogs in its four languages.
#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"
#include <gtest/gtest.h>
#include <map>

namespace {

const LANGID kLanguages[] = {1033, 1041, 1028, 2052};

// Names of folders, mutexes and configuration sections: never translated, or a Japanese wizard
// would miss the guide's mutex and read the wrong section.
const std::map<UINT, std::wstring> kNames = {
    {IDS_COMPANY_FOLDER, L"Ostrand"}, {IDS_PRODUCT_FOLDER, L"Pellgrove"}, {IDS_MUTEX_WIZARD, L"Pellgrove"},
    {IDS_MUTEX_GUIDE, L"Marrowick"}, {IDS_SECTION_ENGLISH, L"EnglishUS"},
    {IDS_SECTION_TRADITIONAL_CHINESE, L"TraditionalChinese"}, {IDS_SECTION_SIMPLIFIED_CHINESE, L"SimplifiedChinese"},
    {IDS_SECTION_JAPANESE, L"pellgrove"}, {IDS_TITLE_USB_SUFFIX, L" on USB"},
};
// English message texts as the system words them, odd spacing and spelling included.
const std::map<UINT, std::wstring> kEnglish = {
    {IDS_ERROR, L"error"},
    {IDS_SETTINGS_FILE_MISSING, L"The setting file  does not exist,\nAfter restart this in NAS mode, please try to rerun. "},
    {IDS_SETTINGS_FILE_ILLEGAL,
     L"The setting file is illegal.\nLPlease execute it again after it turns on power once as Dorvane. "},
    {IDS_SETTINGS_NOT_SAVED,
     L"The setting was not able to be saved.\nconfirm capacity of the disk and permissions to access etc. "},
    {IDS_INTERNAL_ERROR,
     L"It is an internal error.\nThere is a possibility files necessary for Pellgrove do not exist. "},
    {IDS_MODULE_PATH_FAILURE, L"module path name acquisition failure"},
    {IDS_ILLEGAL_LENGTH, L"illegal length."}, {IDS_HEADING_HYPHEN, L"''-' cannot be used for the heading character."},
    {IDS_UNAVAILABLE_CHARS, L"be used some unavailable characters."}, {IDS_NAME_ILLEGAL, L"Dorvane name is illegal."},
    {IDS_HEADING_DIGIT, L"a numeric charactor cannot be used for the heading character."},
    {IDS_WORKGROUP_ILLEGAL, L"The Workgroup name is illegal."}, {IDS_COMMENT_ILLEGAL, L"The Comment is illigal."},
    {IDS_NTP_SERVER_ILLEGAL, L"NTP server name is illegal."}, {IDS_ENTER_IP, L"Enter an IP address."},
    {IDS_ENTER_MASK, L"enter a subnet mask."}, {IDS_IP_BROADCAST, L"Specified IP address is a broadcast address. "},
    {IDS_GATEWAY_BROADCAST, L"The specified default gateway is a broadcast address. "},
    {IDS_DNS_BROADCAST, L"The specified DNS server is a broadcast address. "},
    {IDS_MAX_CHARS, L"Please set it to %1 characters or less."},
};
const UINT kMessages[] = {IDS_ERROR, IDS_SETTINGS_FILE_MISSING, IDS_SETTINGS_FILE_ILLEGAL, IDS_SETTINGS_NOT_SAVED,
                          IDS_INTERNAL_ERROR, IDS_DAT_MISSING, IDS_PLEASE_WAIT, IDS_MODULE_PATH_FAILURE,
                          IDS_USB_DAT_MISSING, IDS_SUPPORT_SOFT_MISSING, IDS_NO_ADAPTER, IDS_NO_ADDRESS,
                          IDS_ENTER_IP, IDS_ENTER_MASK, IDS_ADAPTER_DHCP_VALID, IDS_ADAPTER_DHCP_INVALID,
                          IDS_UNSUPPORTED_OS, IDS_MAIN_INTRO, IDS_ILLEGAL_LENGTH, IDS_NAME_ILLEGAL, IDS_HEADING_HYPHEN,
                          IDS_UNAVAILABLE_CHARS, IDS_WORKGROUP_ILLEGAL, IDS_COMMENT_ILLEGAL, IDS_DHCP_USE,
                          IDS_DHCP_DO_NOT_USE, IDS_HEADING_DIGIT, IDS_NTP_SERVER_ILLEGAL, IDS_CHANGE_NAME_QUESTION,
                          IDS_IP_BROADCAST, IDS_GATEWAY_BROADCAST, IDS_DNS_BROADCAST, IDS_FINISHED, IDS_CLICK_CLOSE,
                          IDS_MAX_CHARS, IDS_POWER_NONE, IDS_POWER_10_MINUTES, IDS_POWER_6_HOURS, IDS_USB_MENU_TEXT,
                          IDS_SUPPORT_FOLDER_UNKNOWN, IDS_NO_DRIVE_LETTER};

bool HasOwn(LPCWSTR type, UINT id, LANGID lang)
{
    return ::FindResourceExW(nullptr, type, MAKEINTRESOURCEW(id), lang) != nullptr;
}

}  // namespace

TEST(PellgroveResources, EveryLanguageHasItsOwnTablesAndDialogs)
{
    for (LANGID lang : kLanguages) {
        for (UINT id : kMessages) {
            EXPECT_TRUE(HasOwn(MAKEINTRESOURCEW(6), (id >> 4) + 1, lang)) << lang << " " << id;
            EXPECT_FALSE(afx::LoadStrLang(id, lang).empty()) << lang << " " << id;
            if (lang != 1033) {
                EXPECT_NE(afx::LoadStrLang(id, lang), afx::LoadStrLang(id, 1033)) << lang << " " << id;
            }
        }
        for (const auto& n : kNames)
            EXPECT_EQ(afx::LoadStrLang(n.first, lang), n.second) << lang << " " << n.first;
        for (const auto& e : kEnglish)
            if (lang == 1033) {
                EXPECT_EQ(afx::LoadStrLang(e.first, lang), e.second) << e.first;
            }
        EXPECT_TRUE(HasOwn(MAKEINTRESOURCEW(5), IDD_PELLGROVE_WAIT, lang)) << lang;
        for (UINT page : {IDD_PELLGROVE_MAIN, IDD_PELLGROVE_ADAPTER, IDD_PELLGROVE_QUICK, IDD_PELLGROVE_QUICK_CONFIRM,
                          IDD_PELLGROVE_END})
            EXPECT_TRUE(HasOwn(MAKEINTRESOURCEW(5), page, lang)) << lang << " " << page;
    }
}
