// The adapter choice page of the quick setup.
#include "wizard/PellgroveDialog_Adapter.h"
#include "afx/ResourceLanguage.h"
#include "wizard/PageControls.h"
#include "wizard/QuickSetupContext.h"
#include "resources/pellgrove/resource.h"

BEGIN_MESSAGE_MAP(CPellgroveDialog_Adapter, CPellgroveDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_ADAPTER_LIST, OnSelchangeAdapter)
END_MESSAGE_MAP()

CPellgroveDialog_Adapter::CPellgroveDialog_Adapter(HWND parent) : CPellgroveDialog(IDD_PELLGROVE_ADAPTER, parent) {}

void CPellgroveDialog_Adapter::DoDataExchange(afx::CDataExchange* pDX)
{
    afx::DDX_Control(pDX, IDOK, m_btnDetermine);
    afx::DDX_Control(pDX, IDCANCEL, m_btnBack);
    afx::DDX_Control(pDX, IDC_ADAPTER_LIST, m_cmbAdapter);
    afx::DDX_Text(pDX, IDC_DHCP_VALUE, m_strDhcp);
    afx::DDX_Text(pDX, IDC_GATEWAY_VALUE, m_strGateway);
    afx::DDX_Text(pDX, IDC_IP_VALUE, m_strIp);
    afx::DDX_Text(pDX, IDC_MASK_VALUE, m_strMask);
    afx::DDX_Text(pDX, IDC_DNS_VALUE, m_strDns);
}

bool CPellgroveDialog_Adapter::OnInitDialog()
{
    CPellgroveDialog::OnInitDialog();
    SetBackground(IDB_ADAPTER_BACKGROUND);
    HWND self = m_hWnd;
    // Labels are placed before the skin collects the ones it draws.
    PlaceControl(self, UINT(-1), 237, 78, 300, 16);
    const UINT labels[] = {IDC_DHCP_LABEL, IDC_ADAPTER_IP_LABEL, IDC_ADAPTER_MASK_LABEL,
                           IDC_ADAPTER_GATEWAY_LABEL, IDC_ADAPTER_DNS_LABEL};
    const UINT values[] = {IDC_DHCP_VALUE, IDC_IP_VALUE, IDC_MASK_VALUE, IDC_GATEWAY_VALUE, IDC_DNS_VALUE};
    const int rows[] = {155, 185, 205, 225, 245};
    for (int i = 0; i < 5; ++i) {
        PlaceControl(self, labels[i], 245, rows[i], 120, 20);
        PlaceControl(self, values[i], 380, rows[i], 120, 20);
    }
    ApplySkin();

    m_btnDetermine.SetBitmaps(IDB_OK, IDB_OK_SELECTED, IDB_OK_FOCUSED, IDB_OK_DISABLED);
    m_btnBack.SetBitmaps(IDB_BACK, IDB_BACK_SELECTED, IDB_BACK_FOCUSED, IDB_BACK_DISABLED);
    m_btnDetermine.MoveTo(445, 315, true);
    m_btnBack.MoveTo(15, 315, true);
    // The drop-down needs room below the field for its list.
    PlaceControl(self, IDC_ADAPTER_LIST, 237, 96, 300, 160);

    const CAdapterList& adapters = m_pContext->adapters;
    int usable = CountUsableAdapters(adapters);
    if (int(m_cmbAdapter.SendMessage(CB_GETCOUNT)) < usable) {
        for (int i = NextUsableAdapter(adapters, -1); i >= 0; i = NextUsableAdapter(adapters, i)) {
            const std::wstring& text = adapters.entries[size_t(i)].description;
            LRESULT at = m_cmbAdapter.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            if (at >= 0)
                m_cmbAdapter.SendMessage(CB_SETITEMDATA, WPARAM(at), LPARAM(i));
        }
    }
    m_cmbAdapter.SendMessage(CB_SETCURSEL, 0);
    OnSelchangeAdapter();
    return true;
}

void CPellgroveDialog_Adapter::OnSelchangeAdapter()
{
    LRESULT selected = m_cmbAdapter.SendMessage(CB_GETCURSEL);
    if (selected == CB_ERR)
        return;
    size_t index = size_t(m_cmbAdapter.SendMessage(CB_GETITEMDATA, WPARAM(selected)));
    QuickSetupContext& context = *m_pContext;
    if (index >= context.adapters.entries.size() || !context.ApplyAdapter(context.adapters.entries[index]))
        return;
    m_strDhcp = afx::LoadStr(context.adapterDhcp ? IDS_ADAPTER_DHCP_VALID : IDS_ADAPTER_DHCP_INVALID);
    m_strIp = context.ipAddress;
    m_strMask = context.netmask;
    m_strGateway = context.gateway;
    m_strDns = context.dnsServer;
    UpdateData(false);
    InvalidateLabels();
}
