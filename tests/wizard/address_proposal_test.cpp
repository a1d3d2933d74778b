// The address proposal with real echo requests to the neighbours tools/netcases.sh lays out in
// the device namespace; the probe logger there shows which addresses were asked, in order.
#include "wizard/QuickSetupContext.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadProbes()
{
    const char* log = getenv("KIT_PROBE_LOG");
    std::string path = std::string("Z:") + log;
    for (char& c : path) c = c == '/' ? '\\' : c;
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Case {
    const wchar_t *ip, *mask;
    int dhcp;
    int result;
    const wchar_t* proposal;  // empty: the record keeps DHCP
    std::vector<std::string> probes;
};

}  // namespace

TEST(AddressProposal, ProbesInOrderAndProposesFirstSilentAddress)
{
    if (!getenv("KIT_PROBE_LOG")) GTEST_SKIP() << "needs the test network";
    const Case cases[] = {
        {L"10.64.1.254", L"255.255.255.0", 0, 1, L"10.64.1.2", {"10.64.1.254", "10.64.1.1", "10.64.1.2"}},
        {L"10.65.4.252", L"255.255.0.0", 0, 1, L"10.65.5.1",
         {"10.65.4.252", "10.65.4.253", "10.65.4.254", "10.65.5.1"}},
        {L"10.65.5.252", L"255.255.0.0", 0, 1, L"10.65.5.1",
         {"10.65.5.252", "10.65.5.253", "10.65.5.254", "10.65.5.1"}},
        {L"10.66.0.125", L"255.255.255.192", 0, 1, L"10.66.0.65", {"10.66.0.125", "10.66.0.126", "10.66.0.65"}},
        {L"10.67.0.3", L"255.255.255.248", 0, 0, L"",
         {"10.67.0.3", "10.67.0.4", "10.67.0.5", "10.67.0.6", "10.67.0.1", "10.67.0.2"}},
        {L"10.69.0.0", L"255.255.255.254", 0, 0, L"", {}},
        {L"10.64.1.254", L"255.255.255.0", 1, 1, L"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.ip, c.ip + wcslen(c.ip)) << " dhcp " << c.dhcp);
        QuickSetupContext context;
        context.pcWorkgroup = L"HOMENET";
        context.adapterDhcp = c.dhcp;
        context.ipAddress = c.ip;
        context.netmask = c.mask;
        context.gateway = L"10.64.0.1";
        context.dnsServer = L"";
        context.settings.ip = L"192.0.2.9";
        size_t before = ReadProbes().size();
        EXPECT_EQ(c.result, context.DetermineAddress());
        Sleep(200);  // the logger writes what the last answered probe asked
        std::vector<std::string> probes = ReadProbes();
        probes.erase(probes.begin(), probes.begin() + before);
        EXPECT_EQ(c.probes, probes);
        const bool fixed = *c.proposal != 0;
        EXPECT_EQ(L"HOMENET", context.settings.workgroup);
        EXPECT_EQ(fixed ? L"off" : L"on", context.settings.dhcp);
        EXPECT_EQ(c.proposal, context.settings.ip);
        EXPECT_EQ(fixed ? c.mask : L"", context.settings.netmask);
        EXPECT_EQ(fixed ? L"10.64.0.1" : L"", context.settings.gateway);
        EXPECT_EQ(L"", context.settings.nameserver);
    }
}

// Nine neighbours answer, the tenth candidate is silent: nine round trips and one time-out.
TEST(AddressProposal, TenthCandidateTakesOneTimeOut)
{
    if (!getenv("KIT_PROBE_LOG")) GTEST_SKIP() << "needs the test network";
    QuickSetupContext context;
    context.adapterDhcp = 0;
    context.ipAddress = L"10.68.0.1";
    context.netmask = L"255.255.255.0";
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(1, context.DetermineAddress());
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(L"10.68.0.10", context.settings.ip);
    EXPECT_GE(ms, 950);
    EXPECT_LT(ms, 1600);
    printf("proposal at the 10th candidate: %lld ms (%lld ms over one time-out)\n",
           static_cast<long long>(ms), static_cast<long long>(ms - 1000));
}
