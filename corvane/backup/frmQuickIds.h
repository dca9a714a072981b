// Resource ids of the quick backup's two windows (shared by their templates and classes).
#pragma once

#define IDD_CHECKFAST 770
#define IDC_CHECKFAST_ICON 771
#define IDC_CHECKFAST_TEXT1 772
#define IDC_CHECKFAST_TEXT2 773
#define IDC_CHECKFAST_CHECK1 774
#define IDD_FAST 780
#define IDC_FAST_LBLPROGRESS 781
#define IDC_FAST_METER 782
#define IDC_FAST_CANCEL 783
