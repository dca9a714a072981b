// Small helpers every part of the program calls: paths and files, the folder
// browser, version texts, the platform, the top-level window search and window
// centring. None of them raises an error or shows a system error box.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace corvane {

// Text of the ANSI code page to and from UTF-16.
std::string Narrow(const wchar_t* wide);
std::wstring Widen(const std::string& text);
// Removes exactly one trailing "\" ("C:\\" gives "C:\").
std::string StripTrailingBackslash(const std::string& path);
// The folder of the running program, without a trailing backslash.
std::string AppFolder();
// False for "" and for paths holding "*" or "?"; true for an existing file (not a folder).
bool FileExists(const std::string& path);
// False for "" and for paths holding "*" or "?"; true for an existing folder.
// Never shows the system's "no disk" box for an empty drive.
bool FolderExists(const std::string& path);
// Creates every missing folder of a local path; does nothing for "\\server\..." paths.
void MakePath(const std::string& path);
// The shell's folder browser; "" when cancelled.
std::string BrowseForFolder(HWND owner, const std::string& title);

// "5.1 rev 7" for file version 5.1.0.7 of AppFolder() + "\" + fileName; "" without version information.
std::string VersionText(const std::string& fileName);
// The same for a file given by its full path.
std::string VersionTextOfFile(const std::string& path);
// The ProductName of a file's version information ("" without one), in the
// first language of its translation table that has one.
std::string ProductNameOfFile(const std::string& path);
// 1 for Windows 95/98, 2 for Windows NT.
int32_t PlatformId();
// The first top-level window whose class matches classPattern and, when
// titlePattern is not empty, whose title matches it ("*" and "?", case ignored).
HWND FindTopWindow(const std::string& titlePattern, const std::string& classPattern);
// Centres the window on the screen.
void CentreForm(HWND window);

// The bytes free to this user on the drive of `root` as a 64-bit figure; 0
// when the system cannot say (an empty drive, a bad root).
int64_t DriveFreeBytes(const std::string& root);

}  // namespace corvane
