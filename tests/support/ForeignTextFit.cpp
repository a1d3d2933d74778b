// Texts of a dialog of another process that the screen would not show whole.
#include "tests/support/ForeignTextFit.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TextFit.h"
#include <map>

namespace {

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The children of a dialog by id, each id's in their order.
std::map<int, std::vector<HWND>> Children(HWND dialog)
{
    std::map<int, std::vector<HWND>> children;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        children[::GetDlgCtrlID(c)].push_back(c);
    return children;
}

}  // namespace

std::vector<std::string> UnfitTextsOf(HWND dialog, const std::wstring& exe, UINT templateId, LANGID lang)
{
    HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC res = module ? ::FindResourceExW(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(templateId), lang) : nullptr;
    HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
    if (!data) {
        if (module)
            ::FreeLibrary(module);
        return {"no template " + std::to_string(templateId) + " in " + std::to_string(lang)};
    }
    // The program's own control classes are not registered here: the copy goes on without them.
    const BYTE* bytes = static_cast<const BYTE*>(::LockResource(data));
    std::vector<BYTE> copy(bytes, bytes + ::SizeofResource(module, res));
    ::FreeLibrary(module);
    const bool extended = reinterpret_cast<const WORD*>(copy.data())[1] == 0xFFFF;
    reinterpret_cast<DWORD*>(copy.data() + (extended ? 12 : 0))[0] |= DS_NOFAILCREATE;
    HWND mirror = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                               reinterpret_cast<const DLGTEMPLATE*>(copy.data()), nullptr, Quiet, 0);
    if (!mirror)
        return {"template " + std::to_string(templateId) + " in " + std::to_string(lang) + " makes no dialog"};
    auto live = Children(dialog);
    for (auto& [id, controls] : Children(mirror)) {
        for (size_t i = 0; i < controls.size(); ++i) {
            HWND c = controls[i];
            HWND original = i < live[id].size() ? live[id][i] : nullptr;
            if (!original) {  // made by the program in code, or gone
                ::ShowWindow(c, SW_HIDE);
                continue;
            }
            RECT r = {};
            ::GetWindowRect(original, &r);
            ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            ::SetWindowPos(c, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
            ::SetWindowTextW(c, WindowText(original).c_str());
            ::EnableWindow(c, ::IsWindowEnabled(original));
            ::ShowWindow(c, ::IsWindowVisible(original) ? SW_SHOWNA : SW_HIDE);
        }
    }
    // Shown, for only a shown control is measured, but out of sight and never active.
    ::SetWindowPos(mirror, HWND_BOTTOM, -8000, -8000, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    std::vector<std::string> unfit = UnfitTexts(mirror);
    ::DestroyWindow(mirror);
    return unfit;
}
