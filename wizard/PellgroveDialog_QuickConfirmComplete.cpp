// The confirmation page's completion: the chosen options are kept for the guide launch and the
// page ends completed.
#include "wizard/PellgroveDialog_QuickConfirm.h"
#include "wizard/QuickSetupFlow.h"
#include "wizard/QuickSetupState.h"

void CPellgroveDialog_QuickConfirm::OnOK()
{
    ShowWindow(SW_HIDE);
    UpdateData(true);
    ManualCopyChecked = m_chkManualCopy.SendMessage(BM_GETCHECK) == BST_CHECKED ? 1 : 0;
    if (UpdateData(true))
        EndDialog(kPageCompleted);
}
