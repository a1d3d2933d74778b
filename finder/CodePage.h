// The lead bytes of a Windows code page, for the name walks of finder/DeviceTable.h.
#pragma once
#include "devicelist/NameChars.h"

// Lead bytes of a code page; the finder's names are in the process's ANSI code page (CP_ACP).
LeadByteTest CodePageLeadBytes(unsigned codePage);
