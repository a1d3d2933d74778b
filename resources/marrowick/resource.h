// Resource ids of the setup guide Marrowick.
#pragma once

#define IDS_STARTUP_FAILURE 1
#define IDS_OS_UNSUPPORTED 13
#define IDS_PELLGROVE 38
#define IDS_MUTEX_GUIDE 43
#define IDS_FOLDER_MISSING 44
#define IDS_FILE_INVALID 47
#define IDS_PICTURE_FOLDER 48
#define IDS_PLEASE_WAIT 49

#define IDD_GUIDE_WAIT 104
#define IDD_GUIDE_MAIN 129

#define IDC_BUTTON_NEXT 1046
#define IDC_BUTTON_BACK 1047
#define IDC_BUTTON_FINISH 1135
#define IDC_WAIT_TEXT 1165
#define IDC_WAIT_PROGRESS 1168
// Twenty of each, one per page: guide pictures, animated pictures, step bars.
#define IDC_GUIDE_FIRST 1171
#define IDC_ANIMATION_FIRST 1191
#define IDC_STEP_FIRST 1211
#define GUIDE_PAGE_SLOTS 20
