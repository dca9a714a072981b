// The identity chooser: a list of the identities' names with the current one selected.
#pragma once

#include "corvane/environment/OEGenFcns.h"

#include <windows.h>

#include <string>

namespace corvane {

class frmSelIdent {
public:
    // OK sets identities.iIdentDefNo to the chosen identity's number; Cancel
    // (offered only with bInclCancel) negates it. The dialog's title is `caption`.
    static void ChooseIdent(HWND owner, IdentityList& identities, const std::string& caption, bool bInclCancel);
};

}  // namespace corvane
