// The address proposal with real echo requests to the neighbours tools/netcases.sh lays out in
// the device namespace; the probe logger there shows which addresses were asked, in order.
#include "wizard/QuickSetupContext.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadProbes()
{
    std::string path = std::string("Z:") + getenv("KIT_PROBE_LOG");
    for (char& c : path) c = c == '/' ? '\\' : c;
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Case {
    const wchar_t *ip, *mask;
    int dhcp, result, timeouts;
    const wchar_t* proposal;  // empty: the record keeps DHCP
    std::vector<std::string> probes;
    const wchar_t* pcWorkgroup = L"HOMENET";  // empty: the PC's could not be read
};

}  // namespace

// Answered probes take milliseconds; the first silent address costs one 1000 ms time-out.
TEST(AddressProposal, ProbesInOrderAndProposesFirstSilentAddress)
{
    if (!getenv("KIT_PROBE_LOG")) GTEST_SKIP() << "needs the test network";
    const Case cases[] = {
        {L"10.64.1.254", L"255.255.255.0", 0, 1, 1, L"10.64.1.2", {"10.64.1.254", "10.64.1.1", "10.64.1.2"}},
        {L"10.65.4.252", L"255.255.0.0", 0, 1, 1, L"10.65.5.1", {"10.65.4.252", "10.65.4.253", "10.65.4.254", "10.65.5.1"}},
        {L"10.65.5.252", L"255.255.0.0", 0, 1, 1, L"10.65.5.1", {"10.65.5.252", "10.65.5.253", "10.65.5.254", "10.65.5.1"}},
        {L"10.66.0.125", L"255.255.255.192", 0, 1, 1, L"10.66.0.65", {"10.66.0.125", "10.66.0.126", "10.66.0.65"}},
        {L"10.67.0.3", L"255.255.255.248", 0, 0, 0, L"",
         {"10.67.0.3", "10.67.0.4", "10.67.0.5", "10.67.0.6", "10.67.0.1", "10.67.0.2"}},
        {L"10.69.0.0", L"255.255.255.254", 0, 0, 0, L"", {}},
        {L"10.64.1.100", L"255.255.255.0", 0, 1, 2, L"10.64.1.101", {"10.64.1.100", "10.64.1.101"}},  // silent PC
        {L"10.64.1.254", L"255.255.255.0", 1, 1, 0, L"", {}},
        {L"10.64.1.254", L"255.255.255.0", 1, 1, 0, L"", {}, L""},  // the settings file's workgroup stays
        {L"10.68.0.1", L"255.255.255.0", 0, 1, 1, L"10.68.0.10", {"10.68.0.1", "10.68.0.2", "10.68.0.3", "10.68.0.4",
         "10.68.0.5", "10.68.0.6", "10.68.0.7", "10.68.0.8", "10.68.0.9", "10.68.0.10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.ip, c.ip + wcslen(c.ip)) << " dhcp " << c.dhcp);
        QuickSetupContext context;
        context.pcWorkgroup = c.pcWorkgroup;
        context.settings.workgroup = L"FILEGRP";
        context.adapterDhcp = c.dhcp;
        context.ipAddress = c.ip;
        context.netmask = c.mask;
        context.gateway = L"10.64.0.1";
        context.dnsServer = L"10.64.0.53";
        context.settings.ip = L"192.0.2.9";
        const size_t before = ReadProbes().size();
        const DWORD start = GetTickCount();
        EXPECT_EQ(c.result, context.DetermineAddress());
        const DWORD ms = GetTickCount() - start;
        EXPECT_LT(ms, 500u + 1000u * c.timeouts);
        printf("%ls: %lu ms for %u probes\n", c.ip, static_cast<unsigned long>(ms), unsigned(c.probes.size()));
        const bool fixed = *c.proposal != 0;
        Sleep(200);  // the logger writes what the last answered probe asked
        std::vector<std::string> probes = ReadProbes();
        EXPECT_EQ(c.probes, std::vector<std::string>(probes.begin() + before, probes.end()));
        const CDeviceSettings& r = context.settings;
        EXPECT_EQ(r.workgroup + L"|" + r.dhcp + L"|" + r.ip + L"|" + r.netmask + L"|" + r.gateway + L"|" + r.nameserver,
                  (*c.pcWorkgroup ? c.pcWorkgroup : L"FILEGRP") +
                      (fixed ? L"|off|" + std::wstring(c.proposal) + L"|" + c.mask + L"|10.64.0.1|10.64.0.53" : L"|on||||"));
    }
}
