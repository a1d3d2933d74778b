// NetWkstaGetInfo level 102 copied into an owned record.
#include "wizard/WorkstationInfo.h"
#include "wizard/WideNarrowString.h"

#include <windows.h>
#include <lm.h>

namespace {

std::wstring Copy(const wchar_t* text)
{
    return CWideNarrowString(std::wstring(text ? text : L"")).Wide();
}

}  // namespace

CWorkstationInfo::CWorkstationInfo()
    : platformId(0), versionMajor(0), versionMinor(0), loggedOnUsers(0)
{
    Query();
}

int CWorkstationInfo::Query()
{
    LPBYTE buffer = nullptr;
    NET_API_STATUS status = NetWkstaGetInfo(nullptr, 102, &buffer);
    int ok = 0;
    if (status == NERR_Success && buffer) {
        const auto* info = reinterpret_cast<const WKSTA_INFO_102*>(buffer);
        platformId = info->wki102_platform_id;
        computerName = Copy(info->wki102_computername);
        lanGroup = Copy(info->wki102_langroup);
        versionMajor = info->wki102_ver_major;
        versionMinor = info->wki102_ver_minor;
        lanRoot = Copy(info->wki102_lanroot);
        loggedOnUsers = info->wki102_logged_on_users;
        ok = 1;
    }
    if (buffer) NetApiBufferFree(buffer);
    return ok;
}
