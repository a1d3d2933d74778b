// Everything one run of the quick setup works on: the program's paths, the device settings
// record, the PC's adapters and the values taken from the chosen one.
#pragma once
#include "wizard/AdapterList.h"
#include "wizard/DeviceSettings.h"
#include "wizard/ProgramPaths.h"
#include <string>

class QuickSetupContext {
public:
    // The record with its defaults, the adapters enumerated, empty adapter values, then the paths.
    QuickSetupContext();

    // 1 when the settings file path names something that is not only a folder.
    int SettingsFileExists() const;
    // Stamps the record with the time and writes it to the settings file; 1 on success.
    int WriteSettings();

    // Takes workgroup, DHCP flag, address, mask, gateway and DNS server from the adapter and the
    // PC; 0 when the adapter has no usable address (workgroup and flag are still taken).
    int ApplyAdapter(const CAdapterEntry& adapter);
    // Enumerates again and applies the first usable adapter: 0 none usable, 1 several, 2 one.
    int ChooseAdapterMode();
    // Settles the device's address in the record: DHCP like the PC, or the first address of
    // the PC's subnet that does not answer an echo request. 0 when every candidate answered.
    int DetermineAddress();

    // The desktop shortcuts of the record's device (DesktopShortcuts.h): share, setting and
    // remote access as wanted; 1 when all wanted ones were made.
    int CreateDesktopShortcuts(int share, int setting, int remote, const wchar_t* shareSuffix,
                               const wchar_t* settingSuffix, const wchar_t* shareIcon, const wchar_t* settingIcon,
                               const wchar_t* shareTarget, const wchar_t* settingTarget);
    // One shell link that starts target with "share NAME" (mode 1) or "setting NAME".
    int CreateShellShortcut(const wchar_t* target, const wchar_t* linkPath, const wchar_t* iconPath,
                            const wchar_t* name, int mode);

    ProgramPaths paths;
    CDeviceSettings settings;
    CAdapterList adapters;
    // From the chosen adapter (ApplyAdapter).
    std::wstring pcWorkgroup;
    int adapterDhcp;  // 0 or 1
    std::wstring ipAddress;
    std::wstring netmask;
    std::wstring gateway;
    std::wstring dnsServer;
};

// The host address probed at step i of the scan from the PC's address and mask, or 0 when step
// i is skipped. Masks of 24 bits or shorter walk the last byte with its carry OR-ed upward;
// longer masks walk the host bits inside the PC's subnet, without its network and broadcast
// addresses, and have no step beyond the subnet's size.
uint32_t ProposalCandidate(uint32_t pcAddress, uint32_t mask, int step);
