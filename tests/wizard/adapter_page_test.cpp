// The adapter choice page with several usable adapters: one entry each, and the chosen one's
// values shown and applied to the context; its texts whole in the four languages.
#include "afx/ResourceLanguage.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextFit.h"
#include "wizard/PellgroveApp.h"
#include "wizard/PellgroveDialog_Adapter.h"
#include "wizard/QuickSetupContext.h"
#include "resources/pellgrove/resource.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

CAdapterEntry Adapter(const wchar_t* name, const char* ip, const char* gateway, uint32_t dhcp)
{
    CAdapterEntry a;
    a.description = name;
    a.dhcpEnabled = dhcp;
    CIpAddressEntry address;
    address.address.text = Widen(ip);
    address.mask.text = L"255.255.255.0";
    a.addressList.push_back(address);
    CIpAddressEntry route;
    route.address.text = Widen(gateway);
    a.gatewayList.push_back(route);
    return a;
}

}  // namespace

TEST(AdapterPage, ListsTheUsableAdaptersAndAppliesTheChosenOne)
{
    for (LANGID lang : {1033, 1041, 1028, 2052}) {
        afx::SetResourceLanguage(lang);
        ::SetThreadLocale(MAKELCID(lang, SORT_DEFAULT));
        QuickSetupContext context;
        context.adapters.entries = {Adapter(L"wired", "192.168.1.10", "192.168.1.1", 0),
                                    Adapter(L"unplugged", "0.0.0.0", "0.0.0.0", 0),
                                    Adapter(L"wireless", "10.0.0.7", "10.0.0.1", 1)};
        CPellgroveDialog_Adapter page(nullptr);
        page.m_pContext = &context;
        INT_PTR result = RunDriven(page, [lang](HWND w) {
            HWND list = ::GetDlgItem(w, IDC_ADAPTER_LIST);
            EXPECT_EQ(::SendMessageW(list, CB_GETCOUNT, 0, 0), 2);
            EXPECT_EQ(ItemText(w, IDC_IP_VALUE), L"192.168.1.10");
            EXPECT_EQ(ItemText(w, IDC_DHCP_VALUE), afx::LoadStrLang(IDS_ADAPTER_DHCP_INVALID, lang));
            ::SendMessageW(list, CB_SETCURSEL, 1, 0);
            ::SendMessageW(w, WM_COMMAND, MAKEWPARAM(IDC_ADAPTER_LIST, CBN_SELCHANGE), LPARAM(list));
            EXPECT_EQ(ItemText(w, IDC_IP_VALUE), L"10.0.0.7");
            EXPECT_EQ(ItemText(w, IDC_GATEWAY_VALUE), L"10.0.0.1");
            EXPECT_EQ(ItemText(w, IDC_DHCP_VALUE), afx::LoadStrLang(IDS_ADAPTER_DHCP_VALID, lang));
            const std::vector<std::string> unfit = UnfitTexts(w);
            EXPECT_TRUE(unfit.empty()) << lang << "\n" << Lines(unfit);
            SaveWindowShot(w, L"adapter_" + std::to_wstring(lang));
            Press(w, IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(context.ipAddress, L"10.0.0.7");
        EXPECT_EQ(context.adapterDhcp, 1);
    }
    afx::SetResourceLanguage(1033);
    ::SetThreadLocale(MAKELCID(1033, SORT_DEFAULT));
}
