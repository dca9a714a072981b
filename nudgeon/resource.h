// Resource ids of nudgeon.exe: its one window, its pictures and its texts.
// Control arrays keep their index in the id: cmd(1) is IDC_CHECK_CMD + 1.
#pragma once

#define IDI_APP 1
#define IDI_IMAGE1 93

#define IDD_CHECK 100
#define IDC_CHECK_LABEL1 1001
#define IDC_CHECK_IMAGE1 1002
#define IDC_CHECK_CHECK1 1003
#define IDC_CHECK_CMD 1010

#define IDS_MESSAGE_TITLE 140
#define IDS_ONE_DAY 160
#define IDS_SKEIN_MISSING 300
#define IDS_SKEIN_LOAD_FAILED 301
#define IDS_SKEIN_MISSING_ENTRY 302
