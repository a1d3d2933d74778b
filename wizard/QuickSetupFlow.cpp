// The quick setup's page loop and the settings file operations of its context.
#include "wizard/QuickSetupFlow.h"
#include "wizard/QuickSetupContext.h"

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

int QuickSetupContext::SettingsFileExists()
{
    DWORD attributes = ::GetFileAttributesW(m_paths.settingsFilePath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && attributes != FILE_ATTRIBUTE_DIRECTORY ? 1 : 0;
}

int QuickSetupContext::WriteSettings()
{
    m_settings.timestamp = FormatTimestamp();
    return m_settings.Write(m_paths.settingsFilePath.c_str());
}
