#include "corvane/main/frmExport.h"

#include "corvane/environment/OEGenFcns.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/frmExportIds.h"
#include "corvane/restore/RestoreMessages.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <filesystem>

namespace corvane {
namespace {

namespace fs = std::filesystem;

constexpr int kSourceIds[] = {IDC_EXP_SRC_STORE, IDC_EXP_SRC_FOLDER, IDC_EXP_SRC_FILE, IDC_EXP_SRC_ARCHIVE};

// The controls of each page, in ExportStep order.
const std::initializer_list<int> kPageControls[] = {
    {IDC_EXP_SRC_STORE, IDC_EXP_SRC_FOLDER, IDC_EXP_SRC_FILE, IDC_EXP_SRC_ARCHIVE, IDC_EXP_SRC_CAPTION,
     IDC_EXP_SRC_PATH, IDC_EXP_SRC_BROWSE},
    {IDC_EXP_DEST_HINT, IDC_EXP_DEST_PATH, IDC_EXP_DEST_BROWSE},
    {IDC_EXP_EML, IDC_EXP_MBOX, IDC_EXP_RECOVER},
    {IDC_EXP_PROGRESS_TEXT, IDC_EXP_METER},
    {IDC_EXP_SUMMARY, IDC_EXP_OPEN_FOLDER, IDC_EXP_OPEN_REPORT},
};

constexpr int kPageTitles[] = {IDS_EXPORT_SOURCE_TITLE, IDS_EXPORT_DEST_TITLE, IDS_EXPORT_FORMAT_TITLE,
                               IDS_EXPORT_PROGRESS_TITLE, IDS_EXPORT_SUMMARY_TITLE};
constexpr int kPageHints[] = {IDS_EXPORT_SOURCE_HINT, IDS_EXPORT_DEST_HINT, IDS_EXPORT_FORMAT_HINT,
                              IDS_EXPORT_PROGRESS_HINT, IDS_EXPORT_SUMMARY_HINT};

// The window's texts are in the ANSI code page; the engine takes paths whole.
fs::path PathOf(const std::string& text) { return fs::path(Widen(text)); }
std::string TextOf(const fs::path& path) { return Narrow(path.wstring().c_str()); }

// Asks without the system's "no disk" box for an empty diskette drive.
PathFound Found(const std::string& path) {
    if (FolderExists(path)) return PathFound::Folder;
    return FileExists(path) ? PathFound::File : PathFound::Nothing;
}

// "My Documents\Exported Mail"; "" where there is no such folder.
std::string DefaultDestination() {
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, folder)) || !folder[0]) return {};
    std::string path = folder;
    if (path.back() != '\\') path += '\\';
    return path + LoadText(IDS_EXPORT_DEFAULT_FOLDER);
}

std::string OpenFileName(HWND owner, bool archive) {
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = archive ? "Corvane archives (*.zip)\0*.zip\0All files (*.*)\0*.*\0"
                                 : "Outlook Express message files (*.dbx, *.mbx)\0*.dbx;*.mbx\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    return GetOpenFileNameA(&dialog) ? std::string(file) : std::string();
}

}  // namespace

frmExport::frmExport(std::string storeFolder, std::string title)
    : CModalDialog(IDD_EXPORT), storeFolder_(std::move(storeFolder)), title_(std::move(title)) {}

frmExport::~frmExport() {
    runner_.CancelAndWait();
    if (titleFont_) DeleteObject(titleFont_);
}

bool frmExport::OnInit() {
    LOGFONTA font = {};
    if (HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0));
        dialogFont && GetObjectA(dialogFont, sizeof font, &font)) {
        font.lfWeight = FW_BOLD;
        titleFont_ = CreateFontIndirectA(&font);
        SendMessageA(Item(IDC_EXP_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), FALSE);
    }
    typedSource_[static_cast<int>(ExportSource::CurrentStore)] = storeFolder_;
    shownSource_ = storeFolder_.empty() ? ExportSource::Folder : ExportSource::CurrentStore;
    EnableItem(IDC_EXP_SRC_STORE, !storeFolder_.empty());
    CheckRadioButton(Handle(), IDC_EXP_SRC_STORE, IDC_EXP_SRC_ARCHIVE, kSourceIds[static_cast<int>(shownSource_)]);
    SetItemText(IDC_EXP_SRC_PATH, typedSource_[static_cast<int>(shownSource_)]);
    SourceKindChanged();
    SetItemText(IDC_EXP_DEST_PATH, DefaultDestination());
    SetChecked(IDC_EXP_EML, true);
    SetChecked(IDC_EXP_MBOX, true);
    SendMessageA(Item(IDC_EXP_METER), PBM_SETRANGE32, 0, 100);
    ShowPage();
    return true;
}

ExportSource frmExport::ChosenSource() const {
    for (int kind = 0; kind < 4; ++kind)
        if (IsChecked(kSourceIds[kind])) return static_cast<ExportSource>(kind);
    return shownSource_;
}

ExportChoices frmExport::Choices() const {
    ExportChoices choices;
    choices.source = ChosenSource();
    choices.sourcePath = ItemText(IDC_EXP_SRC_PATH);
    choices.destPath = ItemText(IDC_EXP_DEST_PATH);
    choices.eml = IsChecked(IDC_EXP_EML);
    choices.mbox = IsChecked(IDC_EXP_MBOX);
    choices.recover = IsChecked(IDC_EXP_RECOVER);
    return choices;
}

// Each kind keeps the location typed for it; the store's own is fixed.
void frmExport::SourceKindChanged() {
    const ExportSource chosen = ChosenSource();
    if (chosen != shownSource_) {
        if (shownSource_ != ExportSource::CurrentStore)
            typedSource_[static_cast<int>(shownSource_)] = ItemText(IDC_EXP_SRC_PATH);
        shownSource_ = chosen;
        SetItemText(IDC_EXP_SRC_PATH, typedSource_[static_cast<int>(chosen)]);
    }
    const bool store = chosen == ExportSource::CurrentStore;
    SendMessageA(Item(IDC_EXP_SRC_PATH), EM_SETREADONLY, store ? TRUE : FALSE, 0);
    EnableItem(IDC_EXP_SRC_BROWSE, !store);
}

void frmExport::ShowPage() {
    const int page = static_cast<int>(flow_.Step());
    for (int shown = 0; shown < 5; ++shown)
        for (int id : kPageControls[shown]) ShowItem(id, shown == page);
    SetItemText(IDC_EXP_TITLE, LoadText(kPageTitles[page]));
    SetItemText(IDC_EXP_SUBTITLE, LoadText(kPageHints[page]));
    const ExportStep step = flow_.Step();
    ShowItem(IDC_EXP_BACK, step != ExportStep::Progress && step != ExportStep::Summary);
    EnableItem(IDC_EXP_BACK, step == ExportStep::Destination || step == ExportStep::Format);
    EnableItem(IDC_EXP_NEXT, step != ExportStep::Progress);
    EnableItem(IDCANCEL, step != ExportStep::Summary);
    SetItemText(IDC_EXP_NEXT, LoadText(step == ExportStep::Format    ? IDS_EXPORT_START
                                       : step == ExportStep::Summary ? IDS_EXPORT_FINISH
                                                                     : IDS_EXPORT_NEXT));
    if (step == ExportStep::Summary) {
        const bool report = outcome_ && !outcome_->result.reportPath.empty();
        EnableItem(IDC_EXP_OPEN_REPORT, report);
        SetFocus(Item(IDC_EXP_NEXT));
    }
}

bool frmExport::OnButtonClicked(int id) {
    switch (id) {
    case IDOK:
    case IDC_EXP_NEXT:
        Next();
        return true;
    case IDC_EXP_BACK:
        Back();
        return true;
    case IDCANCEL:
        CancelOrClose();
        return true;
    case IDC_EXP_SRC_STORE:
    case IDC_EXP_SRC_FOLDER:
    case IDC_EXP_SRC_FILE:
    case IDC_EXP_SRC_ARCHIVE:
        SourceKindChanged();
        return true;
    case IDC_EXP_SRC_BROWSE:
        BrowseSource();
        return true;
    case IDC_EXP_DEST_BROWSE:
        BrowseDestination();
        return true;
    case IDC_EXP_OPEN_FOLDER:
        OpenWithShell(destShown_);
        return true;
    case IDC_EXP_OPEN_REPORT:
        if (outcome_ && !outcome_->result.reportPath.empty()) OpenWithShell(TextOf(outcome_->result.reportPath));
        return true;
    default:
        return false;
    }
}

void frmExport::BrowseSource() {
    const ExportSource source = ChosenSource();
    std::string chosen = source == ExportSource::File || source == ExportSource::Archive
                             ? OpenFileName(Handle(), source == ExportSource::Archive)
                             : Drives().BrowseForFolder(Handle(), LoadText(IDS_EXPORT_FOLDER_BROWSE));
    if (!chosen.empty()) SetItemText(IDC_EXP_SRC_PATH, chosen);
}

void frmExport::BrowseDestination() {
    std::string chosen = Drives().BrowseForFolder(Handle(), LoadText(IDS_EXPORT_DEST_BROWSE));
    if (!chosen.empty()) SetItemText(IDC_EXP_DEST_PATH, chosen);
}

void frmExport::Next() {
    if (flow_.Step() == ExportStep::Summary) return End(IDOK);
    if (flow_.Running()) return;
    const ExportChoices choices = Choices();
    const bool starting = flow_.Step() == ExportStep::Format;
    if (starting && choices.source == ExportSource::CurrentStore && IsOutlookExpressRunning()) {
        ShowMessage(Handle(), LoadText(IDS_EXPORT_OE_RUNNING), title_, MB_OK | MB_ICONSTOP);
        return;
    }
    const ExportRefusal refusal = flow_.Next(choices, Found(choices.sourcePath));
    if (refusal != ExportRefusal::None) return Refuse(refusal, choices);
    ShowPage();
    if (starting) StartRun(choices);
}

void frmExport::Back() {
    if (flow_.Back()) ShowPage();
}

// Cancel and the close box: before the run they close the window; during
// it they ask, then only set the stop flag; the summary follows the stop.
void frmExport::CancelOrClose() {
    if (!flow_.Running()) return End(flow_.Step() == ExportStep::Summary ? IDOK : IDCANCEL);
    if (!runner_.Running()) return;
    if (ShowMessage(Handle(), LoadText(IDS_EXPORT_STOP_QUESTION), title_, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    runner_.Cancel();
    stopping_ = true;
    EnableItem(IDCANCEL, false);
    SetItemText(IDC_EXP_PROGRESS_TEXT, LoadText(IDS_EXPORT_STOPPING));
}

void frmExport::Refuse(ExportRefusal refusal, const ExportChoices& choices) {
    std::string text;
    int focus = IDC_EXP_SRC_PATH;
    switch (refusal) {
    case ExportRefusal::NoSource:
        text = LoadText(IDS_EXPORT_NO_SOURCE);
        break;
    case ExportRefusal::SourceMissing:
        text = FormatText(IDS_EXPORT_SOURCE_MISSING, {choices.sourcePath});
        break;
    case ExportRefusal::NotMessageFile:
        text = FormatText(IDS_EXPORT_NOT_MESSAGE_FILE, {choices.sourcePath});
        break;
    case ExportRefusal::NoDestination:
        text = LoadText(IDS_EXPORT_NO_DEST);
        focus = IDC_EXP_DEST_PATH;
        break;
    case ExportRefusal::DestinationInsideSource:
        text = LoadText(IDS_EXPORT_DEST_INSIDE);
        focus = IDC_EXP_DEST_PATH;
        break;
    case ExportRefusal::NoFormat:
        text = LoadText(IDS_EXPORT_NO_FORMAT);
        focus = IDC_EXP_EML;
        break;
    case ExportRefusal::None:
        return;
    }
    ShowMessage(Handle(), text, title_, MB_OK | MB_ICONINFORMATION);
    if (IsWindowVisible(Item(focus))) SetFocus(Item(focus));
}

void frmExport::StartRun(const ExportChoices& choices) {
    auto input = std::make_shared<ops::ExportInput>();
    input->source = PathOf(choices.sourcePath);
    input->dest = PathOf(choices.destPath);
    input->archive = choices.source == ExportSource::Archive;
    input->eml = choices.eml;
    input->mbox = choices.mbox;
    input->recover = choices.recover;
    destShown_ = choices.destPath;
    stopping_ = false;
    outcome_ = std::make_shared<ops::ExportOutcome>();
    SetItemText(IDC_EXP_PROGRESS_TEXT, "");
    SendMessageA(Item(IDC_EXP_METER), PBM_SETPOS, 0, 0);

    OperationRunner::Handlers handlers;
    handlers.progress = [this](const ProgressReport& report) { ShowProgress(report); };
    handlers.answer = [this](const QuestionCall& call) {
        const BoxText asked = RestoreQuestionText(call);
        const int button = ShowMessage(Handle(), asked.text, title_, asked.style);
        return button == IDOK || button == IDYES || button == IDRETRY;
    };
    handlers.finished = [this] { Finished(); };
    auto outcome = outcome_;
    if (!runner_.Start([input, outcome](IOperationEvents& events) { *outcome = ops::RunExport(*input, events); },
                       std::move(handlers))) {
        outcome_->kind = ops::Kind::NotStarted;
        outcome_->result.error = "no worker thread could be started";
        Finished();
    }
}

void frmExport::ShowProgress(const ProgressReport& report) {
    if (stopping_) return;  // the caption says so
    if (!report.item.empty())
        SetItemText(IDC_EXP_PROGRESS_TEXT,
                    FormatText(report.activity == Activity::Unpacking ? IDS_EXPORT_UNPACKING : IDS_EXPORT_EXPORTING,
                               {report.item}));
    if (report.percent >= 0) SendMessageA(Item(IDC_EXP_METER), PBM_SETPOS, report.percent, 0);
}

void frmExport::Finished() {
    const bool started = outcome_->kind != ops::Kind::NotStarted;
    flow_.RunEnded(started);
    if (!started) {
        ShowPage();
        ShowMessage(Handle(), FormatText(IDS_EXPORT_NOT_STARTED, {outcome_->result.error}), title_,
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    SetItemText(IDC_EXP_SUMMARY, SummaryText());
    ShowPage();
}

std::string frmExport::SummaryText() const {
    const ops::ExportOutcome& outcome = *outcome_;
    const std::string exported = std::to_string(outcome.Exported() + outcome.Recovered());
    std::string text;
    switch (outcome.kind) {
    case ops::Kind::Cancelled:
        text = FormatText(IDS_EXPORT_CANCELLED, {exported, destShown_});
        break;
    case ops::Kind::Failed:
        text = FormatText(IDS_EXPORT_WRITE_FAILED, {outcome.result.error, exported, destShown_});
        break;
    default:
        text = FormatText(IDS_EXPORT_DONE, {exported, destShown_});
        if (outcome.Exported() + outcome.Recovered() == 0 && outcome.Unreadable() == 0)
            text += "\r\n" + LoadText(IDS_EXPORT_NOTHING);
        if (outcome.Recovered() > 0)
            text += "\r\n" + FormatText(IDS_EXPORT_RECOVERED, {std::to_string(outcome.Recovered())});
        if (outcome.Unreadable() > 0)
            text += "\r\n" + FormatText(IDS_EXPORT_UNREADABLE, {std::to_string(outcome.Unreadable())});
        else if (outcome.result.status == exporting::ExportStatus::SomeUnreadable)
            text += "\r\n" + LoadText(IDS_EXPORT_INDEX_LOST);
        break;
    }
    if (!outcome.result.reportPath.empty())
        text += "\r\n\r\n" + FormatText(IDS_EXPORT_REPORT_AT, {TextOf(outcome.result.reportPath)});
    return text;
}

}  // namespace corvane
