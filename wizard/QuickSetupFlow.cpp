// The quick setup's page loop.
#include "wizard/QuickSetupFlow.h"

bool RunPageLoop(const std::function<INT_PTR(int page)>& runPage, bool usbMode, bool showGuide)
{
    int page = usbMode ? kPageSettings : kPageConfirm;
    bool done = false;
    for (;;) {
        INT_PTR result = runPage(page);
        if (result == kPageCompleted) {
            if (page == kPageConfirm) {
                done = true;
                if (showGuide)
                    break;
                page = kPageEnd;
            } else {
                page = kPageConfirm;
            }
        } else if (result == kPageSwitch && page == kPageConfirm) {
            page = kPageSettings;
        } else if (result == kPageSwitch && page == kPageSettings && !usbMode) {
            page = kPageConfirm;
        } else {
            // Back to the menu, closed, or the settings page's switch in USB-stick mode,
            // which has no confirmation page to go back to.
            break;
        }
    }
    return done;
}
