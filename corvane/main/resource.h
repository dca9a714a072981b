// Resource ids of corvane.exe: strings (under the numbers the program's texts
// are known by), dialogs, menus, pictures and the controls of its windows.
// Control arrays keep their index in the id (lbl(20) is IDC_LBL + 20); each
// control used by the code has a name of its own.
#pragma once

// Dialog templates: the main window's pages are child dialogs.
#define IDD_PAGE_WELCOME 100
#define IDD_PAGE_WIZARD 101
#define IDD_GENMSG 110
#define IDD_SELIDENT 111

#define IDR_MAINMENU 200

// Pictures.
#define IDI_APP 1
#define IDI_GETLOCN 91
#define IDI_BACKUP 93
#define IDI_RESTORE 94
#define IDI_CAUTION 95
#define IDB_BANNER 10
#define IDB_WELCOME 11
#define IDB_TICK_UNTICKED 20
#define IDB_TICK_TICKED 21
#define IDB_TICK_DISABLED 22

// Menu commands: menu base + index of the entry in its menu.
#define IDM_FUNCTION 1000
#define IDM_OPTS 1100
#define IDM_HELP 1200
#define IDM_EXPORT (IDM_FUNCTION + 2)
#define IDM_EXIT (IDM_FUNCTION + 3)

// Welcome page.
#define IDC_CMDBACKUP 1500
#define IDC_CMDRESTORE 1501
#define IDC_CMDEXPORT 1502
#define IDC_LBL 1600
#define IDC_LBL_BANNER (IDC_LBL + 0)            // the welcome page's banner
#define IDC_LBL_PAGETEXT (IDC_LBL + 1)          // the run page's text, hidden while a run goes
#define IDC_LBL_RESTORE_FIRST (IDC_LBL + 2)     // the restore page's first line
#define IDC_LBL_RESTORE_SECOND (IDC_LBL + 7)    // the restore page's second line
#define IDC_LBL_DISKETTE_CAUTION (IDC_LBL + 8)
#define IDC_LBL_DESTINATION_HINT (IDC_LBL + 9)
#define IDC_LBL_DISKETTE_ESTIMATE (IDC_LBL + 10)
#define IDC_LBL_RESTORE_HINT (IDC_LBL + 11)
#define IDC_LBL_SAVED_AS (IDC_LBL + 12)
#define IDC_LBL_SPACE_WARNING (IDC_LBL + 13)
#define IDC_LBL_SPACE_NEEDED (IDC_LBL + 14)
#define IDC_LBL_VERSION_CAPTION (IDC_LBL + 17)
#define IDC_LBL_VERSION (IDC_LBL + 20)
#define IDC_LBL_WAB_CAUTION (IDC_LBL + 22)      // the address book caution of the selection page
#define IDC_IMG 1700
#define IDC_IMGICON 1750
#define IDC_LINE2 1760
// Wizard page.
#define IDC_TXTLOAD 1800

// frmGenMsg.
#define IDC_GENMSG_IMAGE1 2000
#define IDC_GENMSG_LABEL1 2001
#define IDC_GENMSG_CHECK1 2002
#define IDC_GENMSG_CMD 2010

// frmSelIdent.
#define IDC_SELIDENT_LBLSEL 2100
#define IDC_SELIDENT_LIST 2101
#define IDC_SELIDENT_OK IDOK
#define IDC_SELIDENT_CANCEL IDCANCEL

// Strings used by number.
#define IDS_EXIT_QUESTION 117
#define IDS_MESSAGE_TITLE 140
#define IDS_OF 141
#define IDS_CAPTION 147
#define IDS_CMDBACKUP 149
#define IDS_OK 154
#define IDS_OE_RUNNING 157
#define IDS_CMDRESTORE 164
#define IDS_VERSION_LABEL 183
#define IDS_HELP_QUESTION 187
#define IDS_NEED_OE 229
#define IDS_INSTALL_OE 230
#define IDS_FAST_MISSING_1 231
#define IDS_FAST_MISSING_2 232
#define IDS_FAST_MISSING_3 233
#define IDS_FAST_NOT_POSSIBLE 234
#define IDS_WAB_WARNING 236
#define IDS_LOADING 237
#define IDS_NO_OE4_MAIL 243
#define IDS_NO_OE5_IDENTITY 244
#define IDS_NO_OE5_MAIL 245
#define IDS_SELECT_IDENTITY 246
#define IDS_HELP 256
#define IDS_YES 257
#define IDS_NO 258
#define IDS_NOT_AGAIN 259
#define IDS_WAB_NOT_IN_USE 262
#define IDS_CHOOSE_HELP 263
#define IDS_PRIOR_TO 264
// skein.dll cannot be used: missing, not loadable, lacking an export ("%s" the file).
#define IDS_SKEIN_MISSING 300
#define IDS_SKEIN_LOAD_FAILED 301
#define IDS_SKEIN_MISSING_ENTRY 302
// The wizard page's own texts: titles, captions, hints.
#define IDS_TITLE_BACKUP 400
#define IDS_TITLE_RESTORE 401
#define IDS_ITEMS_TO_SAVE 402
#define IDS_DATA_TO_SAVE 403
#define IDS_ARCHIVE_SIZE 404
#define IDS_SELECT_ALL 405
#define IDS_CLEAR_ALL 406
#define IDS_SELECTION_HINT 407
#define IDS_VIRUS_CAUTION 408
#define IDS_STORE_ROOT 409
#define IDS_ITEMS_SELECTED 410
#define IDS_DATA_SELECTED 411
#define IDS_SIZE_ESTIMATE 412
#define IDS_PANEL_SELECT_ALL 413
#define IDS_DESTINATION_HINT 414
#define IDS_BROWSE 415
#define IDS_DISKETTE_CAUTION 416
#define IDS_SPACE_WARNING 417
#define IDS_SAVED_AS 418
#define IDS_ARCHIVE_EXISTS 419
#define IDS_KEEP_EXISTING 420
#define IDS_REPLACE_EXISTING 421
#define IDS_MAKE_ARCHIVE 422
#define IDS_MAKE_ARCHIVE_HINT 423
#define IDS_BROWSE_TITLE 424
// The store's control file cannot be written ("%s" the file).
#define IDS_CONTROL_FILE_UNWRITABLE 425
#define IDS_RESTORE_HINT 177
#define IDS_RESTORE_NOW 178
#define IDS_DRIVE_NOT_READY 207
#define IDS_SCANNING_FAVORITES 267
#define IDS_CHECKING_ADDRESS_BOOK 268
