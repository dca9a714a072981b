#include "corvane/restore/RestoreRun.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Selection.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/restore/RestoreMessages.h"
#include "corvane/restore/portable/ArchiveLog.h"

#include <memory>

namespace corvane {
namespace {

namespace names = catalog::names;

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

bool CanWriteIn(const std::string& folder) {
    std::string probe = WithBackslash(folder) + "Corvane.tst";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool Accepted(int button) { return button == IDOK || button == IDRETRY || button == IDYES; }

}  // namespace

int RestoreSession::Message(const std::string& text, UINT buttons) {
    return ShowMessage(page_.Owner(), text, context_.messageTitle, buttons | MB_ICONINFORMATION);
}

restore::StoreFolders RestoreSession::Folders() const {
    const StoreContext& store = context_.store;
    return {store.MailFilesFolder, store.bIsV5 ? store.Oe5StoreFolder : std::string(), store.Oe4.Oe4NewsFolder};
}

// The log is read before the page shows: a short step on this thread, its
// disk prompts and retries asked at once. It goes to the program's folder,
// or to the temporary folder where that cannot be written.
bool RestoreSession::LoadArchive() {
    curFoldersLoaded_ = selFolder_.LoadCurrentFolders(context_.store);
    ops::LogInput input;
    input.archivePath = context_.restore.RestorePath;
    input.workFolder = context_.store.AppFolder;
    if (!CanWriteIn(input.workFolder)) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        input.workFolder = temp;
    }
    InlineEvents events;
    events.answer = [this](const QuestionCall& call) {
        BoxText asked = RestoreQuestionText(call);
        return Accepted(ShowMessage(page_.Owner(), asked.text, context_.messageTitle, asked.style));
    };
    ops::LogOutcome log = ops::ReadArchiveLog(input, events);
    catalog::ExtraPlaces places;
    if (log.kind == ops::Kind::Complete) places = catalog::ReadExtraPlaces(context_.store.WindowsFolder);
    wabPath_ = places.WabPath;
    favoritesFolder_ = places.FavoritesFolder;
    const bool full = context_.restore.RestoreMode == restore::kFullRestore;
    ArchiveItemsRead read = ReadArchiveItems(log, !wabPath_.empty(), full, context_.tlMail);
    if (!read.ok) {
        for (const std::string& text : read.texts) Message(text);
        page_.Close();
        return false;
    }
    page_.SetCaption(read.caption);
    page_.SetPageTexts(LoadText(IDS_RESTORE_PAGE_HINT), LoadText(full ? IDS_RESTORE_FULL_1 : IDS_RESTORE_SELECTED_1),
                       LoadText(full ? IDS_RESTORE_FULL_2 : IDS_RESTORE_SELECTED_2), !full);
    AttachView();
    view_.Refresh();
    for (const std::string& text : read.texts) Message(text);
    return true;
}

ArchiveItemsRead ReadArchiveItems(const ops::LogOutcome& log, bool hasAddressBook, bool full,
                                  catalog::TreeList& items) {
    ArchiveItemsRead read;
    if (log.kind != ops::Kind::Complete) {
        if (std::string text = LogOutcomeText(log); !text.empty()) read.texts.push_back(text);
        return read;
    }
    restore::ArchiveTree tree = restore::FillArchiveTree(log.text, hasAddressBook, items);
    if (tree.refusal != restore::LogRefusal::None) {
        items.Clear();
        read.texts.push_back(LoadText(IDS_RESTORE_LOG_TOO_LARGE));
        return read;
    }
    read.ok = true;
    read.caption = tree.caption;
    if (full) restore::MarkForFullRestore(items);
    if (!tree.leftOut.empty()) {
        std::vector<RefusedName> refused;
        for (const auto& item : tree.leftOut) refused.push_back({item.display + " (" + item.name + ")", item.fault});
        std::string reasons = RefusedNamesText(refused);
        read.texts.push_back(LoadText(IDS_RESTORE_LEFT_OUT) + reasons.substr(reasons.find("\r\n")));
    }
    return read;
}

void RestoreSession::Forget() {
    context_.tlMail.Clear();
    if (view_.Host()) view_.Refresh();
}

void RestoreSession::AttachView() {
    if (view_.Host()) return;
    HWND parent = nullptr;
    RECT rect{};
    int id = 0;
    if (!page_.TakeTreePlace(parent, rect, id)) return;
    if (!view_.Create(parent, id, rect, context_.tlMail)) return;
    view_.On().pictureClick = [this] { tlMail_MarkClick(); };
    view_.On().dblClick = [this] { tlMail_DblClick(); };
    view_.On().mouseDown = [this](int button, int, int x, int y) { tlMail_MouseDown(button, x, y); };
    view_.Show(true);
}

// The right button on an archive item tells what the archive holds of it.
void RestoreSession::tlMail_MouseDown(int button, int xTwips, int yTwips) {
    constexpr int kRightButton = 2;
    if (button != kRightButton) return;
    int position = view_.HitTestTwips(xTwips, yTwips);
    if (position <= 0) return;
    context_.tlMail.SetSelected(position);
    view_.RefreshItems();
    Message(catalog::DetailsText(context_.tlMail, position, false, catalog::LocaleThousandSeparator()));
}

void RestoreSession::tlMail_MarkClick() {
    catalog::TreeList& tree = context_.tlMail;
    int position = tree.Selected();
    restore::MarkAction action = restore::DecideMark(
        tree, position, context_.restore.RestoreMode, Folders(), [](const std::string& p) { return FileExists(p); },
        [](const std::string& p) { return FolderExists(p); });
    switch (action) {
    case restore::MarkAction::Beep:
        MessageBeep(MB_OK);
        break;
    case restore::MarkAction::FolderMissing:
        Message(LoadText(IDS_RESTORE_FOLDER_MISSING));
        break;
    case restore::MarkAction::NotSubscribed:
        Message(LoadText(IDS_RESTORE_NOT_SUBSCRIBED));
        break;
    default:
        restore::ApplyMark(tree, position, action);
    }
    if (view_.Host()) view_.RefreshItems();
}

void RestoreSession::tlMail_DblClick() {
    catalog::TreeList& tree = context_.tlMail;
    int position = tree.Selected();
    if (position <= 0) return;
    if (!curFoldersLoaded_) return void(Message(LoadText(IDS_RESTORE_NO_INDEX)));
    if (tree.Mark(position) == 2) return void(Message(LoadText(IDS_RESTORE_NOT_IN_ARCHIVE)));
    if (tree.NumberValue(position, names::kType) != catalog::kTypeMailFolder)
        return void(Message(LoadText(IDS_RESTORE_NOT_MOVABLE)));
    int chosen = selFolder_.Show(page_.Owner());
    if (chosen < 1 || chosen >= selFolder_.tlCurrent.Count()) return;
    const catalog::TreeList& current = selFolder_.tlCurrent;
    tree.SetSelected(position);
    SendSelectedTo(current.TextValue(chosen, names::kMbxName), restore::FirstColumn(current.Text(chosen)), chosen);
}

bool RestoreSession::SendSelectedTo(const std::string& targetName, const std::string& targetText, int targetIndex) {
    catalog::TreeList& tree = context_.tlMail;
    int position = tree.Selected();
    if (position <= 0 || tree.Mark(position) == 2 ||
        tree.NumberValue(position, names::kType) != catalog::kTypeMailFolder || !restore::IsPlainName(targetName))
        return false;
    restore::SetAlternateTarget(tree, position, targetName, targetText, targetIndex);
    if (view_.Host()) view_.RefreshItems();
    return true;
}

void RestoreSession::SelectAll(bool select) {
    if (context_.restore.RestoreMode != restore::kSelectedRestore) return;
    catalog::TreeList& tree = context_.tlMail;
    int selected = tree.Selected();
    for (int i = 1; i < tree.Count(); ++i) {
        if (tree.Mark(i) != (select ? 0 : 1)) continue;
        tree.SetSelected(i);
        tlMail_MarkClick();
    }
    tree.SetSelected(selected);
    if (view_.Host()) view_.RefreshItems();
}

void RestoreSession::Run() {
    const StoreContext& store = context_.store;
    auto input = std::make_shared<ops::RestoreInput>();
    input->archivePath = context_.restore.RestorePath;
    input->full = context_.restore.RestoreMode == restore::kFullRestore;
    input->isV5 = store.bIsV5;
    input->mailFilesFolder = store.MailFilesFolder;
    input->oe5StoreFolder = store.Oe5StoreFolder;
    input->oe4MailFolder = store.Oe4.Oe4MailFolder;
    input->oe4NewsFolder = store.Oe4.Oe4NewsFolder;
    input->windowsFolder = store.WindowsFolder;
    input->wabPath = wabPath_;
    input->favoritesFolder = favoritesFolder_;
    input->items = context_.tlMail;
    auto outcome = std::make_shared<ops::RestoreOutcome>();
    OperationRunner::Handlers handlers;
    handlers.progress = [this](const ProgressReport& report) {
        if (report.activity == Activity::Restoring) page_.ShowProgress(FormatText(IDS_RESTORE_RESTORING, {report.item}));
    };
    handlers.answer = [this](const QuestionCall& call) {
        BoxText asked = RestoreQuestionText(call);
        return Accepted(ShowMessage(page_.Owner(), asked.text, context_.messageTitle, asked.style));
    };
    handlers.finished = [this, outcome] { Finished(*outcome); };
    page_.RunStarted();
    if (!page_.Runner().Start([input, outcome](IOperationEvents& events) { *outcome = ops::RunRestore(*input, events); },
                              std::move(handlers))) {
        page_.RunEnded();
        page_.Close();
    }
}

// Every box in order, then the program ends, also after a failure.
void RestoreSession::Finished(const ops::RestoreOutcome& outcome) {
    page_.RunEnded();
    page_.HideProgress();
    for (const std::string& text : RestoreOutcomeTexts(outcome)) Message(text);
    page_.Close();
}

}  // namespace corvane
