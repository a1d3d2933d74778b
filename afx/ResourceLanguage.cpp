// Resources of one chosen language, whatever the UI language of Windows is.
#include "afx/ResourceLanguage.h"

namespace afx {

static LANGID g_resourceLang = 1033;

void SetResourceLanguage(LANGID lang) { g_resourceLang = lang; }
LANGID GetResourceLanguage() { return g_resourceLang; }

static HINSTANCE ModuleOr(HINSTANCE module)
{
    return module ? module : GetModuleHandleW(nullptr);
}

static HRSRC FindExact(HINSTANCE module, LPCWSTR type, LPCWSTR name, LANGID lang)
{
    return FindResourceExW(module, type, name, lang);
}

HRSRC FindResourceLang(HINSTANCE module, LPCWSTR type, LPCWSTR name)
{
    module = ModuleOr(module);
    HRSRC res = FindExact(module, type, name, g_resourceLang);
    if (!res && g_resourceLang != 1033)
        res = FindExact(module, type, name, 1033);
    if (!res)
        res = FindResourceW(module, name, type);
    return res;
}

// A string table block holds 16 counted strings; string id n lives in block n/16 + 1.
static bool StringFromBlock(HINSTANCE module, HRSRC res, UINT id, std::wstring& out)
{
    HGLOBAL mem = LoadResource(module, res);
    const WORD* p = mem ? static_cast<const WORD*>(LockResource(mem)) : nullptr;
    if (!p)
        return false;
    DWORD size = SizeofResource(module, res) / sizeof(WORD);
    const WORD* end = p + size;
    for (UINT i = 0; i < (id & 15); ++i) {
        if (p >= end)
            return false;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end)
        return false;
    out.assign(reinterpret_cast<const wchar_t*>(p + 1), *p);
    return true;
}

std::wstring LoadStrLang(UINT id, LANGID lang, HINSTANCE module)
{
    module = ModuleOr(module);
    LPCWSTR block = MAKEINTRESOURCEW((id >> 4) + 1);
    std::wstring s;
    for (LANGID l : {lang, LANGID(1033)}) {
        HRSRC res = FindExact(module, MAKEINTRESOURCEW(6) /* RT_STRING */, block, l);
        if (res && StringFromBlock(module, res, id, s))
            return s;
    }
    HRSRC res = FindResourceW(module, block, MAKEINTRESOURCEW(6));
    if (res)
        StringFromBlock(module, res, id, s);
    return s;
}

std::wstring LoadStr(UINT id, HINSTANCE module)
{
    return LoadStrLang(id, g_resourceLang, module);
}

std::string LoadStrA(UINT id, HINSTANCE module)
{
    std::wstring w = LoadStr(id, module);
    if (w.empty())
        return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string a(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), int(w.size()), &a[0], n, nullptr, nullptr);
    return a;
}

const DLGTEMPLATE* LoadDialogTemplate(UINT id, HINSTANCE module)
{
    module = ModuleOr(module);
    HRSRC res = FindResourceLang(module, MAKEINTRESOURCEW(5) /* RT_DIALOG */, MAKEINTRESOURCEW(id));
    HGLOBAL mem = res ? LoadResource(module, res) : nullptr;
    return mem ? static_cast<const DLGTEMPLATE*>(LockResource(mem)) : nullptr;
}

}  // namespace afx
