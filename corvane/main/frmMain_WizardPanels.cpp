// The controls of the wizard page: the title, the tree area, the five step
// panels with their fixed texts and the Back/Next buttons. They are made in
// code the first time a wizard opens, inside a body panel that hears their
// notifications and hands them to the main window.
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/resource.h"

#include <commctrl.h>

namespace corvane {
namespace {

const char* const kPanelClass = "CorvaneWizardPanel";

struct Dlu {
    int x, y, width, height;
};

bool RegisterPanelClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXA panelClass = {};
    if (GetClassInfoExA(instance, kPanelClass, &panelClass)) return true;
    panelClass.cbSize = sizeof panelClass;
    panelClass.lpfnWndProc = proc;
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panelClass.lpszClassName = kPanelClass;
    return RegisterClassExA(&panelClass) != 0;
}

// Makes the controls of one page in dialog units of the page's font.
class ControlMaker {
public:
    ControlMaker(HWND page, HINSTANCE instance) : page_(page), instance_(instance) {
        font_ = reinterpret_cast<HFONT>(SendMessageA(page, WM_GETFONT, 0, 0));
    }

    RECT Pixels(Dlu at) const {
        RECT rect = {at.x, at.y, at.x + at.width, at.y + at.height};
        MapDialogRect(page_, &rect);
        return rect;
    }

    HWND Make(HWND parent, const char* windowClass, const std::string& text, DWORD style, int id, Dlu at,
              DWORD exStyle = 0) const {
        RECT rect = Pixels(at);
        HWND control = CreateWindowExA(exStyle, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left,
                                       rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        if (control && font_) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    }

    HWND Label(HWND parent, const std::string& text, int id, Dlu at) const {
        return Make(parent, "Static", text, SS_NOPREFIX, id, at);
    }
    HWND Button(HWND parent, const std::string& text, int id, Dlu at, DWORD style = BS_PUSHBUTTON) const {
        return Make(parent, "Button", text, style | WS_TABSTOP, id, at);
    }
    HWND ReadOnlyBox(HWND parent, int id, Dlu at) const {
        return Make(parent, "Edit", "", ES_READONLY | ES_AUTOHSCROLL, id, at, WS_EX_CLIENTEDGE);
    }
    HWND Panel(HWND parent, int id, Dlu at, CWindowBase& route) const {
        return route.CreateHandled(WS_EX_CONTROLPARENT, kPanelClass, "", WS_CHILD | WS_CLIPSIBLINGS, Pixels(at), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_);
    }
    // The etched line along a panel's top edge: shadow, and highlight one pixel lower.
    void EtchedTop(HWND panel, int width) const {
        Make(panel, "Static", "", SS_ETCHEDHORZ, IDC_STEPLINE, {0, 0, width, 1});
    }

private:
    HWND page_;
    HINSTANCE instance_;
    HFONT font_ = nullptr;
};

// Step panels sit right of the tree; all are the same size.
constexpr Dlu kStepArea = {160, 34, 148, 152};
constexpr int kStepWidth = kStepArea.width;

void MakeSelectionStep(const ControlMaker& make, HWND step) {
    make.Label(step, LoadText(IDS_ITEMS_SELECTED), IDC_LBL_ITEMS_CAPTION, {4, 10, 140, 9});
    make.ReadOnlyBox(step, IDC_TXTCOUNT, {4, 20, 140, 12});
    make.Label(step, LoadText(IDS_DATA_SELECTED), IDC_LBL_DATA_CAPTION, {4, 38, 140, 9});
    make.ReadOnlyBox(step, IDC_TXTTOTALSIZE, {4, 48, 140, 12});
    make.Label(step, LoadText(IDS_SIZE_ESTIMATE), IDC_LBL_ESTIMATE_CAPTION, {4, 66, 140, 9});
    make.ReadOnlyBox(step, IDC_TXTBACKSIZE, {4, 76, 140, 12});
    make.Button(step, LoadText(IDS_PANEL_SELECT_ALL), IDC_CMD_SELECT_ALL, {4, 100, 68, 14});
    make.Button(step, LoadText(IDS_CLEAR_ALL), IDC_CMD_CLEAR_ALL, {76, 100, 68, 14});
}

void MakeDestinationStep(const ControlMaker& make, HWND step) {
    make.Label(step, LoadText(IDS_DESTINATION_HINT), IDC_LBL_DESTINATION_HINT, {4, 8, 140, 34});
    make.Make(step, "Edit", "", ES_AUTOHSCROLL | WS_TABSTOP, IDC_TXTSAVELOCN, {4, 44, 140, 12}, WS_EX_CLIENTEDGE);
    make.Button(step, LoadText(IDS_BROWSE), IDC_CMDSAVELOCN, {94, 60, 50, 14});
    make.Label(step, LoadText(IDS_DISKETTE_CAUTION), IDC_LBL_DISKETTE_CAUTION, {4, 80, 140, 26});
    make.Label(step, "", IDC_LBL_DISKETTE_ESTIMATE, {4, 108, 140, 9});
    make.Label(step, LoadText(IDS_SPACE_WARNING), IDC_LBL_SPACE_WARNING, {4, 80, 140, 26});
    make.Label(step, "", IDC_LBL_SPACE_NEEDED, {4, 108, 140, 20});
}

void MakeNameStep(const ControlMaker& make, HWND step) {
    make.Label(step, LoadText(IDS_SAVED_AS), IDC_LBL_SAVED_AS, {4, 8, 140, 9});
    make.Make(step, "Edit", "", ES_READONLY | ES_MULTILINE, IDC_TXTBACKNAME, {4, 20, 140, 30}, WS_EX_CLIENTEDGE);
    make.Make(step, "Button", LoadText(IDS_ARCHIVE_EXISTS), BS_GROUPBOX, IDC_FRARENAME, {2, 58, 144, 64});
    make.Button(step, LoadText(IDS_KEEP_EXISTING), IDC_OPT_KEEP, {8, 70, 134, 20},
                BS_AUTORADIOBUTTON | BS_MULTILINE | WS_GROUP);
    make.Button(step, LoadText(IDS_REPLACE_EXISTING), IDC_OPT_REPLACE, {8, 96, 134, 12}, BS_AUTORADIOBUTTON);
}

void MakeRunStep(const ControlMaker& make, HWND step) {
    make.Label(step, "", IDC_LBL_PAGETEXT, {4, 10, 140, 26});
    make.Button(step, LoadText(IDS_MAKE_ARCHIVE), IDC_DOIT, {24, 42, 100, 20});
    make.Make(step, PROGRESS_CLASSA, "", 0, IDC_BARPROGRESS, {4, 72, 140, 10});
    // The progress caption doubles every "&" of a name so that it shows as one.
    make.Make(step, "Static", "", 0, IDC_LBLPROGRESS, {4, 86, 140, 20});
    ShowWindow(GetDlgItem(step, IDC_BARPROGRESS), SW_HIDE);
    ShowWindow(GetDlgItem(step, IDC_LBLPROGRESS), SW_HIDE);
}

void MakeRestoreStep(const ControlMaker& make, HWND step) {
    make.Label(step, "", IDC_LBL_RESTORE_HINT, {4, 8, 140, 30});
    make.Label(step, "", IDC_LBL_RESTORE_FIRST, {4, 40, 140, 30});
    make.Label(step, "", IDC_LBL_RESTORE_SECOND, {4, 72, 140, 20});
    make.Button(step, LoadText(IDS_PANEL_SELECT_ALL), IDC_CMD_RESTORE_SELECT_ALL, {4, 100, 68, 14});
    make.Button(step, LoadText(IDS_CLEAR_ALL), IDC_CMD_RESTORE_CLEAR_ALL, {76, 100, 68, 14});
}

}  // namespace

void frmMain::CreateWizardControls() {
    HWND page = pages_[1];
    if (!page || GetDlgItem(page, IDC_WIZARD_BODY)) return;
    if (!RegisterPanelClass(instance_, CWindowBase::WindowProc)) return;
    INITCOMMONCONTROLSEX common = {sizeof common, ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&common);
    ControlMaker make(page, instance_);
    HWND body = make.Panel(page, IDC_WIZARD_BODY, {0, 0, 316, 224}, panelRoute_);
    ShowWindow(body, SW_SHOW);

    make.Label(body, "", IDC_LBLCAPTION, {8, 6, 300, 10});
    // The status box and the address-book caution come with the page's template.
    if (HWND load = GetDlgItem(page, IDC_TXTLOAD)) {
        SetParent(load, body);
        RECT at = make.Pixels({8, 18, 300, 12});
        MoveWindow(load, at.left, at.top, at.right - at.left, at.bottom - at.top, FALSE);
    }
    // The folder tree's area; the catalog's tree view takes this place.
    make.Make(body, "Static", "", SS_WHITERECT, IDC_TLMAIL, {8, 34, 146, 152}, WS_EX_CLIENTEDGE);

    void (*const makers[])(const ControlMaker&, HWND) = {MakeSelectionStep, MakeDestinationStep, MakeNameStep,
                                                         MakeRunStep, MakeRestoreStep};
    for (int index = 0; index < 5; ++index) {
        HWND step = make.Panel(body, IDC_PICSTEP + index, kStepArea, panelRoute_);
        make.EtchedTop(step, kStepWidth);
        makers[index](make, step);
    }
    if (HWND caution = GetDlgItem(page, IDC_LBL_WAB_CAUTION)) {
        HWND run = picStep(3);
        SetParent(caution, run);
        RECT at = make.Pixels({4, 112, 140, 30});
        MoveWindow(caution, at.left, at.top, at.right - at.left, at.bottom - at.top, FALSE);
    }
    make.Make(body, "Static", "", SS_ETCHEDHORZ, IDC_STEPLINE, {8, 192, 300, 1});
    make.Button(body, "< &Previous Step", IDC_BTNBACK, {156, 200, 74, 16});
    make.Button(body, "&Next Step >", IDC_BTNNEXT, {234, 200, 74, 16}, BS_DEFPUSHBUTTON);
}

bool frmMain::TakeTreePlace(HWND& parent, RECT& rect, int& id) {
    id = IDC_TLMAIL;
    parent = picPage(1);
    if (HWND placeholder = Control(IDC_TLMAIL)) {
        parent = GetParent(placeholder);
        GetWindowRect(placeholder, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        DestroyWindow(placeholder);
    } else if (parent) {
        GetClientRect(parent, &rect);
        rect.right = rect.left + (rect.right - rect.left) / 2;
    }
    return parent != nullptr;
}

HWND frmMain::picStep(int index) const {
    if (index < 0 || index > 4 || !pages_[1]) return nullptr;
    HWND body = GetDlgItem(pages_[1], IDC_WIZARD_BODY);
    return body ? GetDlgItem(body, IDC_PICSTEP + index) : nullptr;
}

}  // namespace corvane
