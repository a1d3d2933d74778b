// The device setting dialog's checks of what the user typed, free of windows so they table-test.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>
#include "netsetter/DeviceTable.h"

// Strings the checks answer with (ids of the string table).
enum : unsigned {
    kStrInvalidAddress = 41,
    kStrNoChanges = 50,
    kStrInvalidMask = 43,
    kStrInvalidGateway = 45,
    kStrNoGateway = 53,
    kStrNotSameNetwork = 59,
    kStrGatewayIsNetwork = 60,
    kStrAddressIsNetwork = 61,
    kStrAddressIsBroadcast = 66,
    kStrGatewayIsBroadcast = 67,
    kStrAddressConflict = 1062,
    kStrGatewayConflict = 1063,
    kStrNameTooLong = 1078,
    kStrNameBadChar = 1079,
    kStrNameBadFirst = 1080,
    kStrWorkgroupTooLong = 1081,
    kStrWorkgroupBadChar = 1082,
    kStrWorkgroupBadFirst = 1083,
};

// True for 255.255.255.255, 255.255.255.254 and any mask with a one bit after a zero bit.
bool IsInvalidMask(uint32_t mask);
// The first rule that refuses address a, mask m and gateway g (host order) for a device of
// `kind`, as a string id; 0 when they can work.
unsigned ValidateAddresses(uint32_t a, uint32_t m, uint32_t g, int kind);
// Whether the dotted texts put gateway and address on the same network under mask.
bool IsSameSubnet(const std::wstring& gateway, const std::wstring& address, const std::wstring& mask);

unsigned CheckDeviceName(const std::wstring& name);
// The workgroup is checked as the request carries it, in code page `codePage` (WorkgroupCheck.cpp:
// it asks Windows for the conversion).
unsigned CheckWorkgroup(const std::wstring& workgroup, unsigned codePage);

// A storage device's name text split into device name and workgroup ("NAS@WG" or "NAS?DOMAIN"),
// walked by character so a trail byte is never taken for the at sign.
void SplitNameAndWorkgroup(const std::string& text, std::string& name, std::string& workgroup,
                           const LeadByteTest& isLeadByte);

// A device clock worth showing: year 1970-2038 and every field in range.
bool IsShowableDeviceTime(int year, int month, int day, int hour, int minute, int second);
// A moment as the PC's local time, "YYYY/MM/DD hh:mm:ss"; empty when it cannot be converted.
std::wstring LocalTimeText(std::time_t t);
// The device clock's UTC fields as the dialog shows them, and whether the clock is more than
// 300 s off the PC's `now`; false for a clock that cannot be shown.
struct DeviceClock {
    std::wstring text;
    bool setClock = false;
};
bool ReadDeviceClock(int year, int month, int day, int hour, int minute, int second, std::time_t now,
                     DeviceClock& clock);

// Everything OK looks at in static mode, and what it decides.
struct AddressSettingInput {
    int kind = 0;
    uint32_t address = 0, mask = 0, gateway = 0;               // typed
    uint32_t startAddress = 0, startMask = 0, startGateway = 0;  // the device's
    int mode = 1, startMode = 0;
    bool namesChanged = false;
    bool clockRequested = false;
    std::wstring pcAddress;  // the owner's PC address text
};
struct AddressSettingResult {
    std::vector<unsigned> messages;  // shown in this order; empty with accept
    bool accept = false;
    bool restore = false;  // the address fields go back to the device's values
};
AddressSettingResult DecideStaticSetting(const AddressSettingInput& in);
