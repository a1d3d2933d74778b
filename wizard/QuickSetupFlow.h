// The quick setup's page loop: which page follows which result, until the user completes the
// setup, goes back to the menu or closes.
#pragma once
#include <windows.h>
#include <functional>

// Pages of the loop.
enum QuickSetupPage : int {
    kPageConfirm = 0,   // confirmation page (USB-stick mode: the USB-stick confirmation page)
    kPageSettings = 1,  // settings page
    kPageEnd = 2,       // end page
};

// What a page's modal run gives back; the loop reads nothing else from a page.
enum QuickSetupPageResult : INT_PTR {
    kPageBackToMenu = 0,
    kPageCompleted = IDOK,
    kPageClosed = IDCANCEL,
    kPageSwitch = 11,  // confirmation page <-> settings page
};

// Runs pages through runPage (which gives a page's result) from the mode's start page;
// true when the setup was completed on the confirmation page, whatever came after it.
bool RunPageLoop(const std::function<INT_PTR(int page)>& runPage, bool usbMode, bool showGuide);
