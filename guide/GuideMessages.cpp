// The guide's message boxes: texts from its string tables, OK button only.
#include "guide/GuideMessages.h"
#include "afx/ResourceLanguage.h"

void ShowGuideMessage(HWND owner, UINT textId, UINT captionId, const std::wstring& insert)
{
    std::wstring text = afx::LoadStr(textId);
    size_t at = text.find(L"%1");
    if (at != std::wstring::npos)
        text.replace(at, 2, insert);
    ::MessageBoxW(owner, text.c_str(), afx::LoadStr(captionId).c_str(), MB_OK);
}
