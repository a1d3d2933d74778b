// Resource ids of the class-layer tests.
#pragma once
#define IDD_TEST 100
#define IDC_EDIT 1001
#define IDC_CHECK 1002
#define IDC_GO 1003
#define IDC_LABEL 1004
#define IDC_PROGRESS 1005
#define IDC_NUMBER 1006
#define IDC_LIST 1007
#define IDS_CAPTION 1
#define IDS_HELLO 2
#define IDB_LIST_BUTTON 300
