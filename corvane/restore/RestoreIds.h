// Resource ids of the restore's dialogs and texts (shared by their scripts
// and their classes).
#pragma once

// frmGetLocn: lbl(i) is IDC_GETLOCN_LBL + i, optType(i) IDC_GETLOCN_OPTTYPE + i.
#define IDD_GETLOCN 750
#define IDC_GETLOCN_LBL 760
#define IDC_GETLOCN_OPTTYPE 770
#define IDC_GETLOCN_TXTBACKUPLOCN 780
#define IDC_GETLOCN_CMDBRWSE 781
#define IDC_GETLOCN_CMD 790

// The archive choice's texts, under their numbers.
#define IDS_GETLOCN_LASTSAVED 150
#define IDS_GETLOCN_LASTDISK 151
#define IDS_GETLOCN_BROWSE 152
#define IDS_GETLOCN_CAPTION 153
#define IDS_GETLOCN_OK 154
#define IDS_GETLOCN_CANCEL 155
#define IDS_GETLOCN_BROWSE_TITLE 156
#define IDS_GETLOCN_NOT_FOUND 158
#define IDS_GETLOCN_SELECTED 162
#define IDS_GETLOCN_SELECTED_NOTE 163
#define IDS_GETLOCN_TYPE 188
#define IDS_GETLOCN_FULL 189
#define IDS_GETLOCN_FULL_NOTE 190

// What a placement step could not do ("%s" the file or folder).
#define IDS_PLACE_FOLDER_NOT_MADE 640
#define IDS_PLACE_NOT_SET_ASIDE 641
#define IDS_PLACE_NOT_MADE_AGAIN 642
#define IDS_PLACE_FILES_STAYED 643
#define IDS_PLACE_WAB_NOT_KEPT 644
#define IDS_PLACE_NAMES_REFUSED 645
#define IDS_PLACE_NAME_ELSEWHERE 646
#define IDS_PLACE_NAME_DEVICE 647
#define IDS_PLACE_NAME_INVALID 648
