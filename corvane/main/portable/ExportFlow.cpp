#include "corvane/main/portable/ExportFlow.h"

#include <cctype>

namespace corvane {
namespace {

// Lower case, backslashes, no trailing separator.
std::string Comparable(const std::string& path) {
    std::string out;
    for (char c : path) out += c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (out.size() > 1 && out.back() == '\\' && !(out.size() == 3 && out[1] == ':')) out.pop_back();
    return out;
}

std::string FolderOf(const std::string& file) {
    const size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

bool EndsWith(const std::string& text, const char* tail) {
    const std::string t(tail);
    return text.size() > t.size() && text.compare(text.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

ExportRefusal CheckSource(const ExportChoices& choices, PathFound found) {
    if (choices.sourcePath.empty()) return ExportRefusal::NoSource;
    const bool wantsFolder = choices.source == ExportSource::CurrentStore || choices.source == ExportSource::Folder;
    if (found != (wantsFolder ? PathFound::Folder : PathFound::File)) return ExportRefusal::SourceMissing;
    if (choices.source == ExportSource::File) {
        const std::string name = Comparable(choices.sourcePath);
        if (!EndsWith(name, ".dbx") && !EndsWith(name, ".mbx")) return ExportRefusal::NotMessageFile;
    }
    return ExportRefusal::None;
}

ExportRefusal CheckDestination(const ExportChoices& choices) {
    if (choices.destPath.empty()) return ExportRefusal::NoDestination;
    if (choices.source == ExportSource::Archive) return ExportRefusal::None;
    const bool file = choices.source == ExportSource::File;
    const std::string folder = Comparable(file ? FolderOf(choices.sourcePath) : choices.sourcePath);
    const std::string dest = Comparable(choices.destPath);
    if (folder.empty()) return ExportRefusal::None;
    const std::string inside = folder.back() == '\\' ? folder : folder + '\\';
    if (dest == folder || dest.compare(0, inside.size(), inside) == 0) return ExportRefusal::DestinationInsideSource;
    return ExportRefusal::None;
}

ExportRefusal CheckFormat(const ExportChoices& choices) {
    return choices.eml || choices.mbox ? ExportRefusal::None : ExportRefusal::NoFormat;
}

ExportRefusal ExportFlow::Next(const ExportChoices& choices, PathFound found) {
    ExportRefusal refusal = ExportRefusal::None;
    switch (step_) {
    case ExportStep::Source:
        refusal = CheckSource(choices, found);
        break;
    case ExportStep::Destination:
        refusal = CheckDestination(choices);
        break;
    case ExportStep::Format:
        // Everything is checked again: the run takes all three pages' choices.
        refusal = CheckSource(choices, found);
        if (refusal == ExportRefusal::None) refusal = CheckDestination(choices);
        if (refusal == ExportRefusal::None) refusal = CheckFormat(choices);
        break;
    default:
        return ExportRefusal::None;
    }
    if (refusal == ExportRefusal::None) step_ = static_cast<ExportStep>(static_cast<int>(step_) + 1);
    return refusal;
}

bool ExportFlow::Back() {
    if (step_ != ExportStep::Destination && step_ != ExportStep::Format) return false;
    step_ = static_cast<ExportStep>(static_cast<int>(step_) - 1);
    return true;
}

}  // namespace corvane
