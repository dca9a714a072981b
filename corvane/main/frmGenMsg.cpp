#include "corvane/main/frmGenMsg.h"

#include "corvane/environment/CModalDialog.h"
#include "corvane/environment/HelpFcns.h"
#include "corvane/environment/StringTable.h"
#include "corvane/main/resource.h"

namespace corvane {
namespace {

constexpr int kGeneralHelpContext = 999;
constexpr INT_PTR kAnswerYes = 1;
constexpr INT_PTR kAnswerNo = 2;

class GenMsgDialog final : public CModalDialog {
public:
    GenMsgDialog(int icon, const std::string& caption, const std::string& text, int helpId)
        : CModalDialog(IDD_GENMSG), icon_(icon), caption_(caption), text_(text), helpId_(helpId) {}
    ~GenMsgDialog() override {
        if (iconHandle_) DestroyIcon(iconHandle_);
    }
    bool NotAgain() const { return notAgain_; }

protected:
    bool OnInit() override {
        SetWindowTextA(Handle(), caption_.c_str());
        SetItemText(IDC_GENMSG_LABEL1, text_);
        SetItemText(IDC_GENMSG_CHECK1, LoadText(IDS_NOT_AGAIN));
        SetChecked(IDC_GENMSG_CHECK1, false);
        ShowIcon();
        int helpContext = helpId_ > 0 ? helpId_ : kGeneralHelpContext;
        SetWindowContextHelpId(Handle(), static_cast<DWORD>(helpContext));
        if (helpId_ > 0) {
            SetItemText(IDC_GENMSG_CMD + 0, LoadText(IDS_OK));
            SetItemText(IDC_GENMSG_CMD + 1, LoadText(IDS_HELP));
        } else if (helpId_ < 0) {
            ShowItem(IDC_GENMSG_CMD + 0, false);
            SetItemText(IDC_GENMSG_CMD + 1, LoadText(IDS_OK));
            SendMessageA(Handle(), DM_SETDEFID, IDC_GENMSG_CMD + 1, 0);
        } else {
            SetItemText(IDC_GENMSG_CMD + 0, LoadText(IDS_YES));
            SetItemText(IDC_GENMSG_CMD + 1, LoadText(IDS_NO));
        }
        return true;
    }

    bool OnButtonClicked(int id) override {
        if (id == IDC_GENMSG_CMD + 0) return Finish(helpId_ == 0 ? kAnswerYes : kAnswerNo);
        if (id == IDC_GENMSG_CMD + 1) {
            if (helpId_ > 0) {
                ShowHelpContext(helpId_);  // the caution stays on screen
                return true;
            }
            return Finish(kAnswerNo);
        }
        if (id == IDCANCEL) return Finish(kAnswerNo);
        return false;
    }

private:
    bool Finish(INT_PTR answer) {
        notAgain_ = IsChecked(IDC_GENMSG_CHECK1);
        End(answer);
        return true;
    }

    void ShowIcon() {
        RECT area;
        GetClientRect(Item(IDC_GENMSG_IMAGE1), &area);
        int size = area.right > 0 ? area.right : 32;
        iconHandle_ = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(icon_), IMAGE_ICON, size, size, 0));
        if (iconHandle_) SendMessageA(Item(IDC_GENMSG_IMAGE1), STM_SETICON, reinterpret_cast<WPARAM>(iconHandle_), 0);
    }

    int icon_;
    std::string caption_;
    std::string text_;
    int helpId_;
    HICON iconHandle_ = nullptr;
    bool notAgain_ = false;
};

// The arrow while the dialog is up, the caller's pointer afterwards.
class DefaultPointer {
public:
    DefaultPointer() : previous_(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)))) {}
    DefaultPointer(const DefaultPointer&) = delete;
    DefaultPointer& operator=(const DefaultPointer&) = delete;
    ~DefaultPointer() { SetCursor(previous_); }

private:
    HCURSOR previous_;
};

}  // namespace

bool frmGenMsg::Message(HWND owner, int iIcon, const std::string& sCaption, const std::string& sText, bool& iNotAgain,
                        int pHelpId) {
    DefaultPointer pointer;
    GenMsgDialog dialog(iIcon, sCaption, sText, pHelpId);
    INT_PTR answer = dialog.DoModal(owner);
    iNotAgain = dialog.NotAgain();
    return answer == kAnswerYes;
}

}  // namespace corvane
