// The PC's workstation information (workgroup or domain) from NetWkstaGetInfo level 102.
#pragma once
#include <cstdint>
#include <string>

class CWorkstationInfo {
public:
    // Queries at once.
    CWorkstationInfo();
    // 1 when the system answered; 0 leaves the record as it was.
    int Query();

    uint32_t platformId;
    std::wstring computerName;
    std::wstring lanGroup;
    uint32_t versionMajor;
    uint32_t versionMinor;
    std::wstring lanRoot;
    uint32_t loggedOnUsers;
};
