// The export window: source, destination and format chosen on three pages,
// then the export runs under the window's OperationRunner while a meter
// and the current folder show, and a summary says what was written.
#pragma once

#include "corvane/environment/CModalDialog.h"
#include "corvane/environment/OperationRunner.h"
#include "corvane/main/portable/ExportFlow.h"
#include "corvane/operations/ExportOperation.h"

#include <memory>
#include <string>

namespace corvane {

class frmExport final : public CModalDialog {
public:
    // `storeFolder`: the current identity's message files ("" when there is
    // no store; the first choice is then disabled).
    frmExport(std::string storeFolder, std::string title);
    ~frmExport() override;

    // Shows the window modally until it is closed.
    void Show(HWND owner) { DoModal(owner); }
    // The outcome of the last run (for a test).
    const ops::ExportOutcome* LastOutcome() const { return outcome_.get(); }

private:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;

    ExportChoices Choices() const;
    ExportSource ChosenSource() const;
    void ShowPage();
    void SourceKindChanged();
    void BrowseSource();
    void BrowseDestination();
    void Next();
    void Back();
    void CancelOrClose();
    void Refuse(ExportRefusal refusal, const ExportChoices& choices);
    void StartRun(const ExportChoices& choices);
    void ShowProgress(const ProgressReport& report);
    void Finished();
    std::string SummaryText() const;

    std::string storeFolder_;
    std::string title_;
    ExportFlow flow_;
    OperationRunner runner_;
    std::shared_ptr<ops::ExportOutcome> outcome_;
    std::string destShown_;  // the destination of the run, as the user typed it
    HFONT titleFont_ = nullptr;
    bool stopping_ = false;  // Cancel was pressed during the run
    ExportSource shownSource_ = ExportSource::CurrentStore;
    std::string typedSource_[4];  // the location typed for each kind, kept while another is chosen
};

}  // namespace corvane
