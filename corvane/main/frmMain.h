// The main window: a wizard of two pages (welcome, steps) with the program's
// menus. Its handlers carry the names the program's event model gives them,
// and its state lives in public members so every part of the program (and a
// test) can reach them. Start-up is Form_Load (frmMain_Startup.cpp).
#pragma once

#include "corvane/backup/BackupPlan.h"
#include "corvane/catalog/TreeList.h"
#include "corvane/environment/CRegSettings.h"
#include "corvane/environment/Dialog.h"
#include "corvane/environment/OEGenFcns.h"
#include "corvane/environment/OperationRunner.h"
#include "corvane/environment/StoreContext.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/Window.h"
#include "corvane/main/portable/ControlFileText.h"
#include "corvane/main/portable/StartupRules.h"
#include "corvane/main/portable/WizardFlow.h"
#include "corvane/main/resource.h"
#include "corvane/restore/RestoreState.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace corvane {

class frmMain final : public CWindowBase {
public:
    frmMain(HINSTANCE instance, std::string arguments);
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Makes the window (hidden) and runs Form_Load. False when the window is
    // not to be shown: the load ended by unloading it (a stop message), or a
    // quick backup runs with its own small window and ends the program.
    bool Create();
    // Shows the loaded window; the first paint may ask the first-run question.
    void Show(int showCommand);
    HWND Handle() const { return hwnd_; }
    bool IsLoaded() const { return hwnd_ != nullptr; }
    // When set, the window's end also ends the message loop (the program's own window).
    void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }

    // Events.
    void Form_Load();
    void Form_Activate();
    void Form_FirstPaint();
    // A close request; byUser is the title-bar button or the system menu.
    // True when the window may close.
    bool Form_QueryUnload(bool byUser);
    void Form_Unload();
    void Unload();  // closes the window by program code, asking nothing
    void mFunction_Click(int index);
    void mOpts_Click(int index);
    void mHelp_Click(int index);
    void cmdBackup_Click();
    void cmdRestore_Click();
    void cmdExport_Click();

    // Controls, found on whichever page holds them (nullptr when none does).
    HWND Control(int id) const;
    std::string ControlText(int id) const;
    HWND picPage(int index) const { return index >= 0 && index < 2 ? pages_[index] : nullptr; }
    HMENU MainMenu() const;
    HMENU SubMenu(int index) const;  // 0 mFunction, 1 mOpts, 2 mHelp
    std::string Caption() const;

    // Window heights of the two pages; the height is set in twips of this screen.
    static constexpr int kWelcomeHeightTwips = 5400;
    static constexpr int kWizardHeightTwips = 6090;
    void SetWindowHeightTwips(int twips);

    // Hooks for the parts that attach later: the confirmation of a quick
    // backup (answers bit 1 proceed, bit 2 do not ask again) and the wizard
    // starts. Unset hooks mean "not available": no quick backup, no wizard.
    std::function<int(bool fromReminder)> ConfirmQuickBackup;
    std::function<void()> StartBackupWizard;
    std::function<void()> StartRestoreWizard;
    // The quick backup: whether the saved folders are all there (false drops
    // it, the user told why), then its run, which ends by unloading the window.
    std::function<bool()> PrepareQuickBackup;
    std::function<void()> RunQuickBackup;

    // State (see the start-up sequence for when each is set), in named parts
    // that the code of other folders is given instead of the window.
    StoreContext Store;
    BackupPlan Backup;
    RestoreState Restore;
    std::unique_ptr<CRegSettings> Registry;
    std::string Arguments;
    CommandSwitches Switches;
    std::string MessageTitle;
    bool FirstRun = false;
    bool RestartPending = false;
    // The wizard's pages and moves, and the one run the window may have going.
    WizardFlow Wizard;
    OperationRunner Runner;
    char ListDelimiter = '\0';
    char ControlDelimiter = kControlDelimiter;
    std::string OfText, TabText, NulText;  // remembered for the planning and control-file texts
    std::vector<ControlLine> SavedLines;
    catalog::TreeList tlMail;
    catalog::TreeList tlWork;
    double TwipsPerPixelX = 15, TwipsPerPixelY = 15;
    int HelpContextId = 0;
    bool StoppedByMessage = false;  // the load ended with a stop message

    // The wizard page (frmMain_Wizard.cpp). Opening a wizard is the page flow
    // of its start: the backup opens on step 0, the restore on step 4.
    void OpenBackupWizard();
    void OpenRestoreWizard();
    void CancelArchiveChoice();
    void btnNext_Click();
    void btnBack_Click();
    void doIT_Click();
    void cmdSelect_Click(int index);
    void cmdSaveLocn_Click();
    void txtSaveLocn_Change();
    void optRename_Click(int index);
    // Step entry: fills the panel of the step being entered.
    void EnterStep(int step);
    void ShowCounts();
    void ShowDestinationPage();
    void ShowNamePage();
    void ShowFinalPage();
    void UpdateDestinationWarnings();
    HWND picStep(int index) const;
    // The place the wizard page keeps for the folder tree (a placeholder with
    // the tree's id), handed to the tree view that takes it: parent,
    // rectangle in the parent, control id. False when there is none.
    bool TakeTreePlace(HWND& parent, RECT& rect, int& id);
    // The news program: automatic (a backup start) follows the date rule; the menu always starts it.
    void LaunchNews(bool automatic);

    // A run begins or has ended: while it goes, the menu items that would
    // close the window or switch the identity are disabled, and a close
    // request asks whether to stop it.
    void RunStarted();
    void RunEnded();

    // Hooks for the parts that attach to the wizard: the runs, the select
    // buttons of the tree, the restore's folder chooser, and what a restore
    // forgets when the wizard leaves its archive.
    std::function<void()> StartBackupRun;
    std::function<void()> StartRestoreRun;
    std::function<void()> ForgetRestoreChoice;
    std::function<void(bool select)> SelectAllItems;
    std::function<void()> UnloadSelFolder;  // set while the folder chooser is loaded

private:
    // Start-up steps (frmMain_Startup.cpp).
    bool BindFieldLibrary();
    void InitialiseTexts();
    bool FindStore();
    bool FindVersion4Store();
    bool FindVersion5Store();
    void ConfigureIdentityMenu();
    void PrepareStoreSettings();
    void MakeControlFile(const std::string& text);
    bool WriteFirstRunDefaults();
    void ConvertLegacyControlFile();
    void ReadStoreSettings();
    void DecideQuickBackup();
    void ReadControlFile();
    void PlaceWindow();
    void PrepareWelcomePage();
    void Stop(const std::string& message);
    void OfferExportWithoutStore(const std::string& message);

    // Window and pages (frmMain.cpp, frmMain_Layout.cpp).
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // A page of the window (welcome, wizard): a modeless dialog whose buttons
    // and owner-drawn pictures act on the main window.
    class Page final : public CDialogBase {
    public:
        Page(frmMain& owner, int templateId) : CDialogBase(templateId, owner.instance_), owner_(owner) {}

    private:
        bool OnButtonClicked(int id) override {
            owner_.OnCommand(id);
            return true;
        }
        bool OnCommand(int, int, HWND) override { return true; }
        bool OnMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR* result) override {
            if (message != WM_DRAWITEM) return false;
            owner_.DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            *result = TRUE;
            return true;
        }
        frmMain& owner_;
    };
    // The wizard's step panels: their controls' notifications go to the wizard.
    class PanelRoute final : public CWindowBase {
    public:
        explicit PanelRoute(frmMain& owner) : owner_(owner) {}

    private:
        LRESULT OnMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message != WM_COMMAND || !lParam) return CallDefault(panel, message, wParam, lParam);
            owner_.OnWizardCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        }
        frmMain& owner_;
    };
    void CreatePages();
    void LayoutPages();
    void MeasureTwipsPerPixel();
    void DrawPicture(const DRAWITEMSTRUCT& item);
    void OnCommand(int id);
    void OnPaint();
    void SetControlText(int id, const std::string& text);
    void SetCaption(const std::string& caption);
    void SavePosition();
    void StartAgain();
    void Beep();

    // Wizard page parts (frmMain_Wizard.cpp, frmMain_WizardPanels.cpp).
    void CreateWizardControls();
    void ShowWizardPage(bool backEnabled);
    void ShowWelcomePage();
    void ForgetStaleRestoreChoice();
    void EnableRunMenus(bool enabled);
    void OnWizardCommand(int id, int code);
    void ShowCurrentStep();
    void RecomputeDestination();
    void SetRenameFrameVisible(bool visible);
    bool settingSaveLocn_ = false;  // txtSaveLocn is being filled by code

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND pages_[2] = {nullptr, nullptr};
    Page welcomePage_{*this, IDD_PAGE_WELCOME};
    Page wizardPage_{*this, IDD_PAGE_WIZARD};
    PanelRoute panelRoute_{*this};
    HFONT bannerFont_ = nullptr;
    HFONT buttonFont_ = nullptr;
    bool firstPaintDone_ = false;
    bool quitOnDestroy_ = false;
    bool unloading_ = false;
    bool positionPlaced_ = false;  // the load placed the window, so its position means something
};

}  // namespace corvane
