// Help. The topics are HTML pages in the "help" folder beside the program, one
// per context number ("help\1001.html"); the contents page is context 999.
// Pages open with the shell through the launcher seam.
#pragma once

#include <windows.h>

#include <string>

namespace corvane {

// Remembers the owner window and the help file's name (its folder is AppFolder()).
void SetHelpFile(HWND owner, const std::string& fileName);
bool ShowHelpContext(int contextNumber);
bool ShowHelpContents();
void CloseHelp();
// The page of a context number: AppFolder() + "\help\<n>.html".
std::string HelpTopicPath(int contextNumber);

}  // namespace corvane
