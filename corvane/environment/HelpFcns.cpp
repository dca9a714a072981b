#include "corvane/environment/HelpFcns.h"

#include "corvane/environment/Seams.h"
#include "corvane/environment/SysFcns.h"

namespace corvane {
namespace {

constexpr int kContentsContext = 999;

// Who asked for help, and under which file name. The pages themselves live in
// the help folder beside the program whatever the name, so the name only
// records what the program set up.
struct HelpState {
    HWND owner = nullptr;
    std::string file;
};

HelpState& State() {
    static HelpState state;
    return state;
}

std::string HelpFolder() { return AppFolder() + "\\help"; }

}  // namespace

void SetHelpFile(HWND owner, const std::string& fileName) {
    State().owner = owner;
    State().file = AppFolder() + "\\" + fileName;
}

std::string HelpTopicPath(int contextNumber) { return HelpFolder() + "\\" + std::to_string(contextNumber) + ".html"; }

bool ShowHelpContext(int contextNumber) {
    std::string page = HelpTopicPath(contextNumber);
    // A missing page would otherwise open the shell's own "cannot find" box.
    if (!FileExists(page)) return false;
    return OpenWithShell(page, "", HelpFolder());
}

bool ShowHelpContents() { return ShowHelpContext(kContentsContext); }

// Pages opened with the shell belong to the user's browser, which this program
// neither owns nor may close (it may hold the user's other pages too); closing
// help therefore only forgets the owner and the file name.
void CloseHelp() { State() = HelpState{}; }

}  // namespace corvane
