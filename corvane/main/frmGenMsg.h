// The message dialog for cautions the user may silence: an icon, a text, the
// box "Do not show this again" and one of three button layouts.
#pragma once

#include <windows.h>

#include <string>

namespace corvane {

class frmGenMsg {
public:
    // pHelpId > 0: "OK" (answer false) and "Help" (opens topic pHelpId, stays open);
    // pHelpId < 0: only "OK" (answer false);
    // pHelpId = 0: "Yes" (answer true) and "No" (answer false).
    // iNotAgain tells whether the box was ticked.
    static bool Message(HWND owner, int iIcon, const std::string& sCaption, const std::string& sText, bool& iNotAgain,
                        int pHelpId);
};

}  // namespace corvane
