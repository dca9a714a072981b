// The export window's pages and the rules for leaving each: source,
// destination, format, then the run's progress and its summary. The window
// asks the file system; the rules here decide.
#pragma once

#include <string>

namespace corvane {

enum class ExportSource { CurrentStore, Folder, File, Archive };
enum class ExportStep { Source, Destination, Format, Progress, Summary };

// What the file system says of a path the user gave.
enum class PathFound { Nothing, Folder, File };

// Why a page cannot be left yet; None when it can.
enum class ExportRefusal {
    None,
    NoSource,                 // no source given
    SourceMissing,            // the source named is not there (or not of the kind chosen)
    NotMessageFile,           // a single file that is no .dbx or .mbx
    NoDestination,            // no destination given
    DestinationInsideSource,  // the destination is the source folder or lies inside it
    NoFormat,                 // neither .eml nor mbox
};

struct ExportChoices {
    ExportSource source = ExportSource::CurrentStore;
    std::string sourcePath;
    std::string destPath;
    bool eml = true;
    bool mbox = true;
    bool recover = false;
};

ExportRefusal CheckSource(const ExportChoices& choices, PathFound found);
// Compares the paths as Windows does (either slash, any case), so
// "C:\\Store\\Export" lies inside "c:/store/". An archive is read out into
// a working folder, so its folder may take the export.
ExportRefusal CheckDestination(const ExportChoices& choices);
ExportRefusal CheckFormat(const ExportChoices& choices);

class ExportFlow {
public:
    ExportStep Step() const { return step_; }
    // Next from source, destination or format; the refusal of the page
    // (`found` is what the source path is). From the format page a move
    // is the run's start.
    ExportRefusal Next(const ExportChoices& choices, PathFound found);
    // Back from destination and format; false elsewhere.
    bool Back();
    // The run has ended: its summary shows. A run that did not start (the
    // source or destination refused on a closer look) leaves the format
    // page up, so another choice can be made.
    void RunEnded(bool started) { step_ = started ? ExportStep::Summary : ExportStep::Format; }
    bool Running() const { return step_ == ExportStep::Progress; }

private:
    ExportStep step_ = ExportStep::Source;
};

}  // namespace corvane
