// Private window messages between the network setter's threads, its list view and its dialogs.
#pragma once
#include <windows.h>

enum : UINT {
    // List view -> main dialog (sent), wParam row.
    WM_QT_CLEAR_CELL_MARKS = 0x37F,
    // Main dialog -> itself (posted) after an operation's time limit.
    WM_QT_SETUP_RESULT = 0x380,
    WM_QT_LOGIN_RESULT = 0x381,
    WM_QT_WEB_CELL_PRESSED = 0x382,
    WM_QT_SETTING_CELL_PRESSED = 0x383,
    WM_QT_SETTING_CLICK = 0x384,
    WM_QT_OPEN_WEB_PAGE = 0x385,
    WM_QT_START_SEARCH = 0x386,
    WM_QT_SEARCH_DONE = 0x387,
    // Receiver -> main dialog (sent), lParam the reply buffer: a device answer (ops 1, 5, 6, 7).
    WM_QT_DEVICE_REPLY = 0x388,
    // Receiver or dialog -> main dialog (posted): the program has to close.
    WM_QT_CLOSE_REQUEST = 0x38A,
    // Address control -> its dialog (sent), lParam the message text (const wchar_t*).
    WM_QT_ADDRESS_MESSAGE = 0x38C,
    // Main dialog -> list view (sent): recompute the button area.
    WM_QT_RECALC_BUTTON_AREA = 0x38D,
    // Alt+V -> main dialog (posted): show the version box.
    WM_QT_VERSION = 0x38E,
    // Sender -> main dialog (sent), wParam the Winsock error code of the failed send.
    WM_QT_SEND_ERROR = 0x38F,
    // Receiver -> main dialog (sent), lParam the reply buffer: an advanced-data answer (op 10).
    WM_QT_ADVANCED_DATA_REPLY = 0x391,
    // Continuations of the logon flow, posted by the dialog to itself.
    WM_QT_LOGIN_CONTINUE = 0x392,
    WM_QT_MODES_DONE = 0x393,
    WM_QT_CLOCK_SET = 0x394,
    WM_QT_CLOCK_TIMEOUT = 0x395,
    // A second copy of the program -> the running copy's main window (sent): come to the front.
    WM_QT_SHOW_WINDOW = 0x8001,
};

// Address-control messages (the control's own user range).
enum : UINT {
    WM_IPADDR_GET = WM_USER,      // wParam report flag, lParam IPAddrRecord*; 1 or 0
    WM_IPADDR_SET = WM_USER + 1,  // lParam IPAddrRecord*; 1
    WM_IPADDR_READONLY = WM_USER + 2,  // wParam flag; 1
};
