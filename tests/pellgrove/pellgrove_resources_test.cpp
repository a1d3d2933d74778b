#include "afx/ResourceLanguage.h"
#include "resources/pellgrove/resource.h"
#include <gtest/gtest.h>
#include <map>

namespace {

const LANGID kLanguages[] = {1033, 1041, 1028, 2052};

// The English texts the wizard shows, exactly as its users know them.
const std::map<UINT, std::wstring> kEnglish = {
    {IDS_ERROR, L"error"},
    {IDS_SETTINGS_FILE_MISSING, L"The setting file  does not exist,\nAfter restart this in NAS mode, please try to rerun. "},
    {IDS_SETTINGS_FILE_ILLEGAL, L"The setting file is illegal.\nLPlease execute it again after it turns on power once as Dorvane. "},
    {IDS_SETTINGS_NOT_SAVED, L"The setting was not able to be saved.\nconfirm capacity of the disk and permissions to access etc. "},
    {IDS_COMPANY_FOLDER, L"Ostrand"},
    {IDS_PRODUCT_FOLDER, L"Pellgrove"},
    {IDS_INTERNAL_ERROR, L"It is an internal error.\nThere is a possibility files necessary for Pellgrove do not exist. "},
    {IDS_MUTEX_WIZARD, L"Pellgrove"},
    {IDS_DAT_MISSING, L"Pellgrove.dat does not exist."},
    {IDS_SECTION_ENGLISH, L"EnglishUS"},
    {IDS_MUTEX_GUIDE, L"Marrowick"},
    {IDS_SECTION_TRADITIONAL_CHINESE, L"TraditionalChinese"},
    {IDS_SECTION_SIMPLIFIED_CHINESE, L"SimplifiedChinese"},
    {IDS_SECTION_JAPANESE, L"pellgrove"},
    {IDS_PLEASE_WAIT, L"Please wait."},
    {IDS_MODULE_PATH_FAILURE, L"module path name acquisition failure"},
    {IDS_USB_DAT_MISSING, L"PellgroveUSB.dat does not exist."},
};

// Names of folders, mutexes and configuration sections: never translated.
const UINT kSameInAll[] = {IDS_COMPANY_FOLDER, IDS_PRODUCT_FOLDER, IDS_MUTEX_WIZARD, IDS_SECTION_ENGLISH,
                           IDS_MUTEX_GUIDE, IDS_SECTION_TRADITIONAL_CHINESE, IDS_SECTION_SIMPLIFIED_CHINESE,
                           IDS_SECTION_JAPANESE};

bool HasOwn(LPCWSTR type, UINT id, LANGID lang)
{
    return ::FindResourceExW(nullptr, type, MAKEINTRESOURCEW(id), lang) != nullptr;
}

}  // namespace

TEST(PellgroveResources, EnglishTextsAreExact)
{
    for (const auto& e : kEnglish)
        EXPECT_EQ(afx::LoadStrLang(e.first, 1033), e.second) << e.first;
}

TEST(PellgroveResources, EveryLanguageHasItsOwnTablesAndDialogs)
{
    for (LANGID lang : kLanguages) {
        for (const auto& e : kEnglish) {
            EXPECT_TRUE(HasOwn(MAKEINTRESOURCEW(6), (e.first >> 4) + 1, lang)) << lang << " " << e.first;
            EXPECT_FALSE(afx::LoadStrLang(e.first, lang).empty()) << lang << " " << e.first;
        }
        EXPECT_TRUE(HasOwn(MAKEINTRESOURCEW(5), IDD_PELLGROVE_WAIT, lang)) << lang;
        EXPECT_TRUE(HasOwn(MAKEINTRESOURCEW(5), IDD_PELLGROVE_MAIN, lang)) << lang;
    }
}

TEST(PellgroveResources, NamesReadTheSameAndMessagesAreTranslated)
{
    for (LANGID lang : {1041, 1028, 2052}) {
        for (UINT id : kSameInAll)
            EXPECT_EQ(afx::LoadStrLang(id, lang), kEnglish.at(id)) << lang << " " << id;
        for (UINT id : {IDS_ERROR, IDS_INTERNAL_ERROR, IDS_DAT_MISSING, IDS_USB_DAT_MISSING, IDS_PLEASE_WAIT,
                        IDS_MODULE_PATH_FAILURE})
            EXPECT_NE(afx::LoadStrLang(id, lang), kEnglish.at(id)) << lang << " " << id;
    }
}
