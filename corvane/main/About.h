// The About window: the product's name, its version and what it does.
#pragma once

#include "corvane/environment/CModalDialog.h"

#include <string>

namespace corvane {

class About final : public CModalDialog {
public:
    // `version` is the program's version text ("1.0 rev 0.1").
    explicit About(std::string version);
    void ShowModal(HWND owner) { DoModal(owner); }

private:
    bool OnInit() override;
    std::string version_;
};

}  // namespace corvane
