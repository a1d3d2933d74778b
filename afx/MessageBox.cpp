// Message boxes whose text and caption come from the string table of the resource language.
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"

namespace afx {

namespace {
int Show(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)
{
    if (!owner)
        owner = ::GetActiveWindow();
    return ::MessageBoxW(owner, text.c_str(), caption.empty() ? nullptr : caption.c_str(), type);
}
}  // namespace

std::wstring AfxAppName()
{
    std::wstring title = LoadStr(kAppTitleStringId);
    if (!title.empty())
        return title;
    wchar_t path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, n < MAX_PATH ? n : 0);
    name.erase(0, name.find_last_of(L"\\/") + 1);  // npos + 1 keeps the whole text
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

int AfxMessageBox(const std::wstring& text, UINT type, HWND owner)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        }
    }
    return Show(owner, text, AfxAppName(), type);
}

int AfxMessageBox(UINT textId, UINT type, HWND owner)
{
    return AfxMessageBox(LoadStr(textId), type, owner);
}

int MessageBoxRes(UINT textId, UINT captionId, UINT type, HWND owner)
{
    return Show(owner, LoadStr(textId), LoadStr(captionId), type);
}

}  // namespace afx
