// The confirmation page's completion: support files, the chosen desktop shortcuts and the
// manual copy, then the page ends completed.
#include "wizard/PellgroveDialog_QuickConfirm.h"
#include "wizard/QuickCompletion.h"
#include "wizard/QuickSetupFlow.h"
#include "wizard/QuickSetupState.h"

void CPellgroveDialog_QuickConfirm::OnOK()
{
    ShowWindow(SW_HIDE);
    UpdateData(true);
    int manualTicked = m_chkManualCopy.SendMessage(BM_GETCHECK) == BST_CHECKED ? 1 : 0;
    ManualCopyChecked = m_pContext ? CompleteQuickSetup(m_hWnd, *m_pContext, ShareShortcutChecked,
                                                        SettingShortcutChecked, manualTicked)
                                   : manualTicked;
    if (UpdateData(true))
        EndDialog(kPageCompleted);
}
