// The quick backup's windows: the confirmation asked before it runs, and
// the small progress window that stands in for the main window meanwhile.
#pragma once

#include "corvane/environment/CModalDialog.h"

#include <cstdint>
#include <functional>
#include <string>

namespace corvane {

class frmCheckFast final : public CModalDialog {
public:
    frmCheckFast();
    // Shows the confirmation modally: 1 for OK, 3 for OK with "Do not show
    // this again" ticked, 0 for Cancel. Without `showBox` the window is cut
    // to 1440 twips and the box is not offered.
    int16_t Proceed(HWND owner, bool showBox);

private:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;
    bool showBox_ = true;
};

class frmFast final : public CDialogBase {
public:
    frmFast();
    ~frmFast() override;
    // Makes and shows the window with the main window's icon; `cancel` runs
    // when its Cancel button is pressed (the window then hides).
    bool Open(HICON icon, std::function<void()> cancel);
    void SetProgress(const std::string& caption, int percent);
    void Hide();
    void Close();

private:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;

    std::function<void()> cancel_;
    HICON icon_ = nullptr;
};

}  // namespace corvane
