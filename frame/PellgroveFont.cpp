// Font of the skinned pages' label texts, with its face chosen by the thread locale.
#include "frame/PellgroveFont.h"
#include <cwchar>

CPellgroveFont::CPellgroveFont(int height)
{
    CreateDialogFont(height, 0, 0, 0);
}

int CPellgroveFont::CreateDialogFont(int height, int weight, BYTE italic, BYTE underline)
{
    // A Japanese system may lack "MS UI Gothic"; the full-width names are its older Gothic faces.
    static const wchar_t* const japanese[] = {L"MS UI Gothic", L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF",
                                              L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF"};
    static const wchar_t* const others[] = {L"MS UI Gothic", L"SimSun", L"Arial Unicode MS"};
    const wchar_t* const* faces = LANGIDFROMLCID(::GetThreadLocale()) == 1041 ? japanese : others;
    int result = 0;
    for (int i = 0; i < 3; ++i) {
        result = CreateFace(height, weight, italic, underline, faces[i]);
        if (result)
            return 1;
    }
    return result;
}

int CPellgroveFont::CreateFace(int height, int weight, BYTE italic, BYTE underline, const wchar_t* face)
{
    DeleteObject();
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(lf) ? 1 : 0;
}
