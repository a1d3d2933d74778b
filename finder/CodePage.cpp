// The lead bytes of a Windows code page: the one part of the name match that asks Windows.
#include "finder/CodePage.h"
#include <windows.h>

LeadByteTest CodePageLeadBytes(unsigned codePage)
{
    return [codePage](unsigned char b) { return IsDBCSLeadByteEx(codePage, b) != FALSE; };
}
