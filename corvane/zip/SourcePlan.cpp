#include "corvane/zip/SourcePlan.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "corvane/zip/ZipNames.h"
#include "corvane/environment/portable/Wildcard.h"

namespace corvane::zip {
namespace {
std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class Planner {
public:
    Planner(FileSystem& fs, bool includeSubfolders) : fs_(fs), recurse_(includeSubfolders) {}

    bool AddSpecification(const std::string& spec) {
        size_t slash = spec.find_last_of("/\\");
        std::string folder = slash == std::string::npos ? "." : spec.substr(0, slash);
        std::string last = slash == std::string::npos ? spec : spec.substr(slash + 1);
        if (folder.empty() || (folder.size() == 2 && folder[1] == ':')) folder += spec[slash];
        if (last.find_first_of("*?") != std::string::npos) return AddMatching(folder, last, false);
        FileInfo info;
        if (!fs_.Stat(spec, &info)) return false;
        if (info.isFolder) return AddMatching(spec, "*", false);
        Add(spec, info);
        return true;
    }

    SourcePlan plan;

private:
    bool AddMatching(const std::string& folder, const std::string& pattern, bool isSubfolder) {
        std::vector<FileInfo> entries;
        if (!fs_.List(folder, &entries)) return false;
        std::sort(entries.begin(), entries.end(), [](const FileInfo& a, const FileInfo& b) { return a.name < b.name; });
        bool any = false;
        if (isSubfolder) {
            FileInfo self;
            fs_.Stat(folder, &self);
            Add(folder, self);
            any = true;
        }
        std::string effective = pattern == "*.*" ? "*" : pattern;
        for (const FileInfo& e : entries) {
            if (e.isFolder || !WildcardMatch(e.name, effective)) continue;
            Add(JoinPath(folder, e.name, fs_.Separator()), e);
            any = true;
        }
        if (!recurse_) return any;
        for (const FileInfo& e : entries) {
            if (!e.isFolder || e.name == "." || e.name == "..") continue;
            any = AddMatching(JoinPath(folder, e.name, fs_.Separator()), pattern, true) || any;
        }
        return any;
    }

    void Add(const std::string& path, const FileInfo& info) {
        SourceItem item{path, EntryNameFromPath(path), info};
        if (info.isFolder) item.entryName += '/';
        if (item.entryName.empty() || item.entryName == "/") return;
        if (!seen_.insert(Upper(item.entryName)).second) return;
        plan.items.push_back(std::move(item));
    }

    FileSystem& fs_;
    bool recurse_;
    std::set<std::string> seen_;
};
}  // namespace

SourcePlan PlanSources(FileSystem& fs, const std::vector<std::string>& specifications, bool includeSubfolders) {
    Planner planner(fs, includeSubfolders);
    for (const std::string& spec : specifications) {
        if (planner.AddSpecification(spec)) continue;
        ++planner.plan.unmatchedSpecifications;
        planner.plan.unmatched.push_back(spec);
    }
    return std::move(planner.plan);
}

}  // namespace corvane::zip
