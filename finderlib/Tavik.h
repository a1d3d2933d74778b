// Exports of Tavik.dll. All functions use the C calling convention (__cdecl) and plain names,
// so GetProcAddress(module, "GetZevList") works the same on 32 and 64 bits.
#pragma once
#include <cstdint>
#include "finderlib/TavikPacket.h"

#ifdef TAVIK_BUILD
#define TAVIK_API  // the .def file names every export and its ordinal
#else
#define TAVIK_API __declspec(dllimport)
#endif

extern "C" {
// 1 = running (count kZevListRunning) or done (count = records), 0 = no local adapter (count 0).
TAVIK_API int __cdecl GetZevList(ZevDeviceRecord* table, uint16_t* count);
TAVIK_API uint8_t __cdecl GetZevAdapterList(ZevAdapterRecord* table, uint16_t* count);
// status receives the result code (0 no answer, 1 logged on, 2 bad password, 3 session timed out,
// 4 another user, 5 this PC already, 6 refused); adapterName empty or null = any adapter.
TAVIK_API uint8_t __cdecl LogonZevDevice(const ZevLogonTarget* target, int16_t* status, const char* adapterName);
TAVIK_API int __cdecl LogoffZevDevice(void);
TAVIK_API int __cdecl SetZevConfig(const ZevConfigRecord* config);
TAVIK_API uint8_t __cdecl GetZevAdvancedModes(ZevModesRecord* modes, int flag);
TAVIK_API uint8_t __cdecl GetZevAdvancedTimeInfo(ZevTimeInfo* info, int flag);
TAVIK_API int __cdecl SetZevAdvancedTimeInfo(const ZevTimeInfo* info, int flag);
TAVIK_API int __cdecl fnTavik(void);
TAVIK_API extern int nTavik;
}

typedef int(__cdecl* PFN_GetZevList)(ZevDeviceRecord* table, uint16_t* count);

class TAVIK_API CTavik {
public:
    CTavik();
    CTavik& operator=(const CTavik&);
};
