// A real main window started against a synthetic Outlook Express, with every
// seam scripted, for the tests of the wizard and the menus.
#pragma once

#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/resource.h"
#include "testsupport/OeTestSupport.h"

#include <memory>
#include <string>

namespace corvane::testing {

inline const std::string kIdentityA = "{A1A1A1A1-0000-4000-8000-00000000000A}";
inline const std::string kIdentityB = "{B2B2B2B2-0000-4000-8000-00000000000B}";

class WizardWindowTest : public OeRegistryTest {
protected:
    // A version-5 store with one identity ("Main Identity") or two.
    void Version5(int identities = 1) {
        oe.RegisterProgram(kOeProgramPath5);
        std::string stores = FreshTestFolder("wizard");
        oe.AddIdentity(kIdentityA, "Main Identity", stores + "\\A");
        if (identities > 1) oe.AddIdentity(kIdentityB, "Second", stores + "\\B");
        oe.SetDefaultIdentity(kIdentityA);
        oe.SetLastIdentity(kIdentityA);
    }
    std::unique_ptr<frmMain> Start() {
        auto window = std::make_unique<frmMain>(nullptr, "");
        loaded = window->Create();
        // Forget the start's boxes (the old script goes first: its end restores the real seam).
        boxes.reset();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        return window;
    }
    // Its style bit, since the window itself is never shown on screen.
    static bool Visible(HWND control) { return control && (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0; }
    static bool Enabled(HWND control) { return control && IsWindowEnabled(control); }
    static bool Checked(HWND control) { return control && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    std::unique_ptr<ScriptedMessageBoxes> boxes = std::make_unique<ScriptedMessageBoxes>();
    FixedClock clock{2001, 1, 31};
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    CountingSounds sounds;
    bool loaded = false;
};

}  // namespace corvane::testing
