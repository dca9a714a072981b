// What the restore operation's tests share: an archive made by the backup
// run, its items read from its log as the restore page reads them, marked as
// a user marks them, and the restore operation run on them on this thread.
// Its questions and its outcome go through the message-box seam, worded as
// the window words them, so a test reads them as the user would.
#pragma once

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/OperationEvents.h"
#include "corvane/operations/RestoreOperation.h"
#include "corvane/environment/StringTable.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/restore/RestoreMessages.h"
#include "corvane/restore/RestoreRun.h"
#include "corvane/restore/portable/RestoreMapping.h"
#include "tests/main/BackupDriver.h"
#include "tests/operations/BoundedRun.h"

#include <map>
#include <string>
#include <vector>

namespace corvane::testing {

class RestoreOperationTest : public BackupDriverTest {
protected:
    // The archive's items for a restore of type `mode`, as after the
    // archive choice; the store is found as the program finds it at start.
    void OpenArchive(int mode, const std::string& path) {
        window.reset();
        boxes.reset();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        {
            frmMain discovery(nullptr, "");
            ASSERT_TRUE(discovery.Create());
            found = discovery.Store;
            discovery.Unload();
        }
        restoreMode = mode;
        archivePath = path;
        ops::LogInput input{path, FreshTestFolder("restore-log")};
        ops::LogOutcome log;
        InlineEvents events;
        events.answer = Ask;
        RunWithin(120, [&] { log = ops::ReadArchiveLog(input, events); });
        places = {};
        if (log.kind == ops::Kind::Complete) places = catalog::ReadExtraPlaces(found.WindowsFolder);
        ArchiveItemsRead read =
            ReadArchiveItems(log, !places.WabPath.empty(), mode == restore::kFullRestore, items);
        for (const std::string& text : read.texts) Tell(text);
        loaded = read.ok;
    }
    // The mark click on the item at `position`, with the page's rules.
    void MarkClick(int position) {
        items.SetSelected(position);
        restore::StoreFolders folders{found.MailFilesFolder, found.bIsV5 ? found.Oe5StoreFolder : std::string(),
                                      found.Oe4.Oe4NewsFolder};
        restore::MarkAction action = restore::DecideMark(
            items, position, restoreMode, folders, [](const std::string& p) { return FileExists(p); },
            [](const std::string& p) { return FolderExists(p); });
        if (action == restore::MarkAction::FolderMissing) return Tell(LoadText(IDS_RESTORE_FOLDER_MISSING));
        if (action == restore::MarkAction::NotSubscribed) return Tell(LoadText(IDS_RESTORE_NOT_SUBSCRIBED));
        if (action != restore::MarkAction::Beep) restore::ApplyMark(items, position, action);
    }
    // The mark click on the item of store file `name`.
    void Click(const std::string& name) {
        ASSERT_GT(Row(name), 0) << name;
        MarkClick(Row(name));
    }
    // Sends the mail folder at `position` to the current folder `targetName`.
    void SendTo(int position, const std::string& targetName, const std::string& targetText, int targetIndex) {
        restore::SetAlternateTarget(items, position, targetName, targetText, targetIndex);
    }
    // "Restore Now": the operation on the marked items, its boxes as the window shows them.
    ops::RestoreOutcome RunRestore() {
        ops::RestoreInput input;
        input.archivePath = archivePath;
        input.full = restoreMode == restore::kFullRestore;
        input.isV5 = found.bIsV5;
        input.mailFilesFolder = found.MailFilesFolder;
        input.oe5StoreFolder = found.Oe5StoreFolder;
        input.oe4MailFolder = found.Oe4.Oe4MailFolder;
        input.oe4NewsFolder = found.Oe4.Oe4NewsFolder;
        input.windowsFolder = found.WindowsFolder;
        input.wabPath = places.WabPath;
        input.favoritesFolder = places.FavoritesFolder;
        input.items = items;
        InlineEvents events;
        events.answer = Ask;
        ops::RestoreOutcome outcome;
        RunWithin(300, [&] { outcome = ops::RunRestore(input, events); });
        for (const std::string& text : RestoreOutcomeTexts(outcome)) Tell(text);
        return outcome;
    }
    // The row of the archive's items whose store file is `file`.
    int Row(const std::string& file) const {
        return items.Find(catalog::NamedValue::Text(file), 1, items.Count() - 1, catalog::names::kMbxName);
    }

    static bool Ask(const QuestionCall& call) {
        BoxText asked = RestoreQuestionText(call);
        int button = ShowMessage(nullptr, asked.text, "Corvane", asked.style);
        return button == IDOK || button == IDRETRY;
    }
    static void Tell(const std::string& text) { ShowMessage(nullptr, text, "Corvane", MB_OK | MB_ICONINFORMATION); }

    std::map<std::string, std::string> original;
    catalog::TreeList items;
    StoreContext found;
    catalog::ExtraPlaces places;
    std::string archivePath;
    int restoreMode = 0;
    bool loaded = false;
};

}  // namespace corvane::testing
