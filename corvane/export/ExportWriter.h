// The writing side of an export: takes the pieces the reading thread queues
// and turns them into .eml files and mbox files under DEST, keeping each
// folder's counts and damage for the report. Listed messages of a store go
// to its folder, recovered ones to the same folder under "Recovered", opened
// only when the first recovered message comes.
#pragma once

#include "corvane/export/ExportEngine.h"
#include "corvane/export/ExportPlan.h"
#include "corvane/export/ExportQueue.h"
#include "corvane/export/MboxWriter.h"
#include "corvane/export/OutputFile.h"
#include "corvane/export/SafeNames.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane::exporting {

class ExportWriter {
public:
    ExportWriter(const ExportOptions& options, const ExportPlan& plan, std::vector<FolderReport>& reports);
    ~ExportWriter() { DiscardAll(); }

    // False on a write failure (Error() says what); the files of the message
    // and folders being written are then removed.
    bool Handle(Piece& piece);
    // Removes whatever is not yet whole (cancel, failure).
    void DiscardAll();
    const std::string& Error() const { return error_; }

private:
    struct Output {
        bool open = false;
        std::filesystem::path emlFolder;
        std::optional<UniqueNames> names;
        MboxWriter mbox;
    };

    bool OpenOutput(Output& output, const std::vector<std::string>& folder);
    bool Text(Piece& piece);
    bool CloseOutputs();
    bool Fail(const std::string& what);

    const ExportOptions& options_;
    const ExportPlan& plan_;
    std::vector<FolderReport>& reports_;
    size_t job_ = 0;
    Output listed_, recovered_;
    Output* current_ = nullptr;  // the output of the message being written
    bool currentRecovered_ = false;
    OutputFile eml_;
    std::optional<int64_t> emlDate_;
    std::string error_;
};

}  // namespace corvane::exporting
