// Control ids of the wizard page's step panels and buttons, made in code by
// frmMain_Wizard.cpp. Control arrays keep their index in the id (picStep(3)
// is IDC_PICSTEP + 3); the numbered labels use IDC_LBL of resource.h.
#pragma once

#define IDC_WIZARD_BODY 3000
#define IDC_LBLCAPTION 3001
#define IDC_TLMAIL 3002
#define IDC_BTNBACK 3003
#define IDC_BTNNEXT 3004
#define IDC_PICSTEP 3010
#define IDC_STEPLINE 3016
#define IDC_TXTCOUNT 3020
#define IDC_TXTTOTALSIZE 3021
#define IDC_TXTBACKSIZE 3022
#define IDC_LBLCOUNTS 3023
#define IDC_LBL_ITEMS_CAPTION (IDC_LBLCOUNTS + 0)
#define IDC_LBL_DATA_CAPTION (IDC_LBLCOUNTS + 1)
#define IDC_LBL_ESTIMATE_CAPTION (IDC_LBLCOUNTS + 2)
#define IDC_CMDSELECT 3030
#define IDC_CMD_SELECT_ALL (IDC_CMDSELECT + 0)  // the backup's selection
#define IDC_CMD_CLEAR_ALL (IDC_CMDSELECT + 1)
#define IDC_CMD_RESTORE_SELECT_ALL (IDC_CMDSELECT + 2)  // the restore's items
#define IDC_CMD_RESTORE_CLEAR_ALL (IDC_CMDSELECT + 3)
#define IDC_TXTSAVELOCN 3040
#define IDC_CMDSAVELOCN 3041
#define IDC_TXTBACKNAME 3050
#define IDC_FRARENAME 3051
#define IDC_OPTRENAME 3052
#define IDC_OPT_REPLACE (IDC_OPTRENAME + 0)  // an existing archive is replaced
#define IDC_OPT_KEEP (IDC_OPTRENAME + 1)     // an existing archive is kept under a numbered name
#define IDC_DOIT 3060
#define IDC_BARPROGRESS 3061
#define IDC_LBLPROGRESS 3062

#define IDD_ABOUT 740
#define IDC_ABOUT_ICON 741
#define IDC_ABOUT_NAME 742
#define IDC_ABOUT_VERSION 743
#define IDC_ABOUT_TEXT 744
