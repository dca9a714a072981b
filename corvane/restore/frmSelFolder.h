// The alternate-target chooser of a restore: the store's current mail
// folders in tlCurrent, filled once at the restore start; the chosen
// folder's position comes back in SelFolderResult (0 when none). The list
// and its selection stay with the object between choices; only the window
// is made again for each one.
#pragma once

#include "corvane/catalog/TreeList.h"
#include "corvane/catalog/TreeListView.h"
#include "corvane/environment/CModalDialog.h"
#include "corvane/environment/StoreContext.h"

#include <memory>
#include <string>

namespace corvane {

class frmSelFolder final : public CModalDialog {
public:
    explicit frmSelFolder(std::string messageTitle);

    // Reads the current folder index of the store (version 5 or 4) into
    // tlCurrent with the message counts; grey where a folder's file is gone.
    // False when the store has no index (CurFoldersLoaded stays unset).
    bool LoadCurrentFolders(const StoreContext& store);

    // Shows the list modally; returns SelFolderResult.
    int Show(HWND owner);

    catalog::TreeList tlCurrent;
    int SelFolderResult = 0;

private:
    bool OnInit() override;  // Form_Load
    bool OnButtonClicked(int id) override;
    void cmd_Click(int index);
    void tlCurrent_MouseDown(int xTwips, int yTwips);

    std::string messageTitle_;
    catalog::TreeList work_;
    std::unique_ptr<catalog::TreeListView> view_;  // made again with each window
};

}  // namespace corvane
