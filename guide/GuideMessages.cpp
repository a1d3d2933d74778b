// The guide's message boxes: texts from its string tables, OK button only.
#include "guide/GuideMessages.h"
#include "afx/ResourceLanguage.h"
#include "resources/marrowick/resource.h"

void ShowStartupFailure()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    ::MessageBoxW(nullptr, afx::LoadStr(IDS_STARTUP_FAILURE).c_str(), name.c_str(), MB_OK);
}

void ShowGuideMessage(HWND owner, UINT textId, UINT captionId, const std::wstring& insert)
{
    std::wstring text = afx::LoadStr(textId);
    size_t at = text.find(L"%1");
    if (at != std::wstring::npos)
        text.replace(at, 2, insert);
    ::MessageBoxW(owner, text.c_str(), afx::LoadStr(captionId).c_str(), MB_OK);
}
