// What the restore tests share: an archive made by the real backup run, and
// the restore page opened on it as after the archive choice.
#pragma once

#include "corvane/main/frmMain_Restore.h"
#include "corvane/restore/RestoreRun.h"
#include "tests/main/BackupDriver.h"

#include <map>
#include <string>
#include <vector>

namespace corvane::testing {

class RestoreDriverTest : public BackupDriverTest {
protected:
    // A complete backup of the store into `folder`; `archive` names it.
    void MakeArchive(const std::string& folder) {
        ToLastPage(folder);
        window->doIT_Click();
        ASSERT_EQ(boxes->Texts(), std::vector<std::string>{"Archive is complete"});
    }
    // A window showing the archive's items, as after the archive choice.
    void OpenArchive(int mode, const std::string& path) {
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
        session = &AttachRestore(*window);
        boxes.reset();  // the seam is released by the old one before the new one takes it
        boxes = std::make_unique<ScriptedMessageBoxes>();
        WizardMode = 2;
        window->Restore.RestorePath = path;
        window->Restore.RestoreMode = static_cast<int16_t>(mode);
        window->OpenRestoreWizard();
        loaded = session->LoadArchive();
    }
    // The mark click on the archive item of store file `name`.
    void Click(const std::string& name) {
        ASSERT_GT(Row(name), 0) << name;
        window->tlMail.SetSelected(Row(name));
        session->tlMail_MarkClick();
    }

    std::map<std::string, std::string> original;
    RestoreSession* session = nullptr;
    bool loaded = false;
};

}  // namespace corvane::testing
