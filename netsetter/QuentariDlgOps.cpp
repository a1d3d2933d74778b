// The main dialog's search, device table and setting flow (stand-ins until they are written).
#include "netsetter/QuentariDlg.h"

void CQuentariDlg::CreateDeviceList() {}
void CQuentariDlg::FillDeviceList() {}
void CQuentariDlg::OnRefresh() {}
void CQuentariDlg::OnTimer(UINT_PTR) {}
LRESULT CQuentariDlg::OnClearCellMarks(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnSetupResult(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnLoginResult(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnWebCellPressed(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnSettingCellPressed(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnSettingClick(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnOpenWebPage(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnSearchDone(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnDeviceReply(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnAdvancedDataReply(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnLoginContinue(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnModesDone(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnClockSet(WPARAM, LPARAM) { return 0; }
LRESULT CQuentariDlg::OnClockTimeout(WPARAM, LPARAM) { return 0; }
