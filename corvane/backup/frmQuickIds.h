// Resource ids of the quick backup's two windows (shared by their templates and classes).
#pragma once

#define IDD_CHECKFAST 750
#define IDC_CHECKFAST_ICON 751
#define IDC_CHECKFAST_TEXT1 752
#define IDC_CHECKFAST_TEXT2 753
#define IDC_CHECKFAST_CHECK1 754
#define IDD_FAST 760
#define IDC_FAST_LBLPROGRESS 761
#define IDC_FAST_METER 762
#define IDC_FAST_CANCEL 763
