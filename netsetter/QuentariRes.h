// Resource ids of Quentari.exe, shared by the code and its resource scripts.
#pragma once

// Icons and cursor.
#define IDI_QUENTARI 10
#define IDI_DEVICE 258
#define IDI_STORAGE 290
#define IDC_HAND_CURSOR 265

// Dialog templates.
#define IDD_SETTING_AP 232
#define IDD_QUENTARI 233
#define IDD_SETTING_STORAGE 236
#define IDD_VERSION 267
#define IDD_LOGIN_PASSWORD 278
#define IDD_SETTING_AP_CLOCK 291
#define IDD_SETTING_STORAGE_CLOCK 292

// Button pictures: normal, pressed, focused (the disabled one is the normal one).
#define IDB_CLOSE 234
#define IDB_REFRESH 235
#define IDB_CLOSE_DOWN 241
#define IDB_REFRESH_DOWN 242
#define IDB_CANCEL 246
#define IDB_CANCEL_DOWN 247
#define IDB_CLEAR 248
#define IDB_CLEAR_DOWN 249
#define IDB_OK 250
#define IDB_OK_DOWN 251
#define IDB_CLOSE_FOCUS 271
#define IDB_CLEAR_FOCUS 273
#define IDB_REFRESH_FOCUS 275
#define IDB_OK_FOCUS 276
#define IDB_CANCEL_FOCUS 277
// Buttons of the device list's last column.
#define IDB_LIST_WEB 252
#define IDB_LIST_WEB_DOWN 253
#define IDB_LIST_SETTING 254
#define IDB_LIST_SETTING_DOWN 255
// Pictures.
#define IDB_CAPTION 261
#define IDB_VERSION_PICTURE 280
#define IDB_PC_PICTURE 286

// Controls of the main dialog.
#define IDC_DEVICE_LIST 1010
#define IDC_REFRESH 1011
#define IDC_CLOSE 1012
#define IDC_LABEL_LIST 1013
#define IDC_LABEL_COUNT 1014
#define IDC_LABEL_STATUS 1015
#define IDC_CAPTION_PICTURE 1016
#define IDC_DEVICE_COUNT 1027
#define IDC_STATUS_TEXT 1028
// Controls of the version box.
#define IDC_VERSION_TEXT 1029
#define IDC_VERSION_NOTICE 1030
#define IDC_VERSION_PICTURE 1031

// Strings.
#define IDS_TITLE 1
#define IDS_SETTING_TITLE 3
#define IDS_LABEL_LIST 5
#define IDS_LABEL_COUNT 15
#define IDS_LABEL_STATUS 17
#define IDS_COLUMN_ADDRESS 29
#define IDS_COLUMN_MAC 31
#define IDS_COLUMN_NAME 33
#define IDS_COLUMN_SETTING 35
#define IDS_BLANK 37
#define IDS_GATEWAY_INVALID 45
#define IDS_OCTET_INVALID 49
#define IDS_ADDRESS_LEAK 51
#define IDS_GATEWAY_EMPTY 53
#define IDS_MASK_LEAK 55
#define IDS_NO_WINSOCK 57
#define IDS_NO_UDP_SOCKET 58
#define IDS_ALREADY_RUNNING 68
#define IDS_PORT_USED 69
#define IDS_SEARCHING 70
#define IDS_INIT_DONE 101
#define IDS_SEARCH_DONE 102
#define IDS_INIT_FAILED 105
#define IDS_VERSION 1006
#define IDS_VERSION_NOTICE 1007
#define IDS_CAUTION 1071
#define IDS_ERROR_CAPTION 1090
#define IDS_NETWORK_ERROR 10065
