// Resource ids of the reminder dialog (shared by its template and its class).
#pragma once

#define IDD_SETREMIND 730
#define IDC_REMIND_OPTDAYS0 731
#define IDC_REMIND_OPTDAYS1 732
#define IDC_REMIND_TXTDAYS 733
#define IDC_REMIND_LBLDAYS 734
