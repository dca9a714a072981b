#include "corvane/main/About.h"

#include "corvane/main/WizardIds.h"

#include <utility>

namespace corvane {

About::About(std::string version) : CModalDialog(IDD_ABOUT), version_(std::move(version)) {}

bool About::OnInit() {
    SetItemText(IDC_ABOUT_VERSION, version_.empty() ? "Version unknown" : "Version " + version_);
    return true;
}

}  // namespace corvane
