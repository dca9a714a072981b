// Resource and control ids of loopline.exe.
#pragma once

#define IDI_APP 1

// Controls of TForm1.
#define IDC_TREE1 100
#define IDC_SPLITTER1 101
#define IDC_MEMO1 102
