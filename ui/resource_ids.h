// Numbers of the wizard's resources and controls, shared by the .rc file
// and the pages.
#pragma once

#define IDD_OPTIONS 102
#define IDB_LOGO 129
#define IDI_APP 130
#define IDD_PROGRESS 131
#define IDD_FINISH 132

// Options page
#define IDC_NEXT_OPTIONS 1000
#define IDC_LAN_CHECK 1001
#define IDC_MODEM_CHECK 1002
#define IDC_MANUAL_CHECK 1003
#define IDC_OPTIONS_GROUP 1004
#define IDC_OPTIONS_HEADER 1005

// Progress page
#define IDC_START 1006
#define IDC_HEADER 1008
#define IDC_GROUP 1009
#define IDC_DIRECTORY_STATUS 1010
#define IDC_FILE_COPY_STATUS 1011
#define IDC_DATABASE_STATUS 1012
#define IDC_MANUAL_STATUS 1013

// Finish page
#define IDC_RESULT_MESSAGE 1014
#define IDC_DETAIL 1019

// The logo picture made at run time.
#define IDC_LOGO_PICTURE 0xFFFF
