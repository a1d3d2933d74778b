// Message boxes whose text and caption come from the string table of the resource language.
#include "afx/MessageBox.h"
#include "afx/ResourceLanguage.h"

namespace afx {

int AfxMessageBox(const std::wstring& text, UINT captionId, UINT type, bool foreground, HWND owner)
{
    std::wstring caption = captionId ? LoadStr(captionId) : std::wstring();
    if (!owner)
        owner = ::GetActiveWindow();
    if (foreground)
        type |= MB_SETFOREGROUND;
    return ::MessageBoxW(owner, text.c_str(), caption.empty() ? nullptr : caption.c_str(), type);
}

int AfxMessageBox(UINT textId, UINT captionId, UINT type, bool foreground, HWND owner)
{
    return AfxMessageBox(LoadStr(textId), captionId, type, foreground, owner);
}

}  // namespace afx
