#include "corvane/main/frmSelIdent.h"

#include "corvane/environment/CModalDialog.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"
#include "corvane/main/resource.h"

namespace corvane {
namespace {

// Where OK goes when Cancel stands beside it.
constexpr int kOkLeftWithCancelTwips = 2520;

class SelIdentDialog final : public CModalDialog {
public:
    SelIdentDialog(IdentityList& identities, const std::string& caption, bool withCancel)
        : CModalDialog(IDD_SELIDENT), identities_(identities), caption_(caption), withCancel_(withCancel) {}

protected:
    bool OnInit() override {
        SetWindowTextA(Handle(), caption_.c_str());
        SetItemText(IDC_SELIDENT_LBLSEL, LoadText(IDS_SELECT_IDENTITY));
        FillList();
        ArrangeButtons();
        return true;
    }

    bool OnButtonClicked(int id) override {
        if (id == IDOK) return Choose();
        // Without Cancel, closing the window keeps the identity shown as selected.
        if (id == IDCANCEL) return withCancel_ ? Cancel() : Choose();
        return false;
    }

    bool OnCommand(int id, int code, HWND) override {
        if (id == IDC_SELIDENT_LIST && code == LBN_DBLCLK) return Choose();
        return false;
    }

private:
    void FillList() {
        HWND list = Item(IDC_SELIDENT_LIST);
        for (int32_t number = 1; number <= identities_.iIdentCnt; ++number) {
            std::string name = NulListEntry(identities_.sIdentNames, number);
            auto index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            if (index < 0) continue;
            SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), number);
            if (number == identities_.iIdentDefNo) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    }

    void ArrangeButtons() {
        ShowItem(IDCANCEL, withCancel_);
        HWND ok = Item(IDOK);
        RECT okRect, cancelRect;
        GetWindowRect(ok, &okRect);
        GetWindowRect(Item(IDCANCEL), &cancelRect);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&okRect), 2);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&cancelRect), 2);
        int left = cancelRect.left;  // alone, OK takes the place at the right
        if (withCancel_) {
            HDC screen = GetDC(Handle());
            int dpi = GetDeviceCaps(screen, LOGPIXELSX);
            ReleaseDC(Handle(), screen);
            left = MulDiv(kOkLeftWithCancelTwips, dpi > 0 ? dpi : 96, 1440);
        }
        SetWindowPos(ok, nullptr, left, okRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }

    bool Choose() {
        HWND list = Item(IDC_SELIDENT_LIST);
        auto index = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (index >= 0) identities_.iIdentDefNo = static_cast<int32_t>(SendMessageA(list, LB_GETITEMDATA, index, 0));
        End(IDOK);
        return true;
    }

    bool Cancel() {
        identities_.iIdentDefNo = -identities_.iIdentDefNo;
        End(IDCANCEL);
        return true;
    }

    IdentityList& identities_;
    std::string caption_;
    bool withCancel_;
};

}  // namespace

void frmSelIdent::ChooseIdent(HWND owner, IdentityList& identities, const std::string& caption, bool bInclCancel) {
    SelIdentDialog dialog(identities, caption, bInclCancel);
    dialog.DoModal(owner);
}

}  // namespace corvane
