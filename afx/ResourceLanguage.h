// Resources of one chosen language, whatever the UI language of Windows is.
// Windows picks string tables by the UI language, Wine by the thread locale; the kit shows
// the language its start-up chose, so it finds every resource with that language explicitly.
#pragma once
#include <windows.h>
#include <string>

namespace afx {

// The language every resource lookup of this process uses; 1033 until set.
void SetResourceLanguage(LANGID lang);
LANGID GetResourceLanguage();

// String `id` of the resource language (falling back to 1033, then to any language);
// empty when no table holds it.
std::wstring LoadStr(UINT id, HINSTANCE module = nullptr);
std::wstring LoadStrLang(UINT id, LANGID lang, HINSTANCE module = nullptr);
// The ANSI text of the same string, in the process's ANSI code page.
std::string LoadStrA(UINT id, HINSTANCE module = nullptr);

// A resource of the resource language with the same fallbacks; nullptr when absent.
HRSRC FindResourceLang(HINSTANCE module, LPCWSTR type, LPCWSTR name);
// The locked template of a dialog resource, or nullptr.
const DLGTEMPLATE* LoadDialogTemplate(UINT id, HINSTANCE module = nullptr);

}  // namespace afx
