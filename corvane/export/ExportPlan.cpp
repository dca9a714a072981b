#include "corvane/export/ExportPlan.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/FileSource.h"
#include "corvane/catalog/Nch4Reader.h"
#include "corvane/catalog/TreeList.h"
#include "corvane/export/SafeNames.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace corvane::exporting {

namespace {

namespace fs = std::filesystem;
using catalog::TreeList;

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string Extension(const fs::path& path) { return Lower(PathUtf8(path.extension())); }

// Output folders of the store files the folder tree lists, by lower-case
// file name. Each tree item's folder is its parent's folder and its own
// shown name; `skip` items (the root, the version-4 group) add no part.
// Two folders that end up with the same path get " (2)" and so on.
void FoldersFromTree(const TreeList& tree, const std::set<int>& skip, std::map<std::string, std::vector<std::string>>& out) {
    std::vector<std::vector<std::string>> paths(static_cast<size_t>(tree.Count()));
    std::set<std::string> taken;
    for (int i = 0; i < tree.Count(); ++i) {
        int parent = tree.ParentPosition(i);
        std::vector<std::string> path = parent >= 0 ? paths[static_cast<size_t>(parent)] : std::vector<std::string>{};
        if (skip.count(i) == 0) {
            std::string name = SafeComponent(tree.TextValue(i, catalog::names::kDisplay), 80, "Folder");
            std::string unique = name;
            for (int n = 2; taken.count(Lower(FolderLabel(path) + "/" + unique)) != 0; ++n) {
                unique = name + " (" + std::to_string(n) + ")";
            }
            taken.insert(Lower(FolderLabel(path) + "/" + unique));
            path.push_back(unique);
        }
        std::string file = Lower(tree.TextValue(i, catalog::names::kMbxName));
        if (!file.empty() && out.count(file) == 0) out[file] = path;
        paths[static_cast<size_t>(i)] = std::move(path);
    }
}

void ReadIndexes(const fs::path& folder, std::map<std::string, std::vector<std::string>>& v5,
                 std::map<std::string, std::vector<std::string>>& v4, bool& hasV5, bool& hasV4) {
    catalog::StdFileSource files;
    std::string store = PathUtf8(folder);
    if (store.empty() || (store.back() != '/' && store.back() != '\\')) store += '/';
    TreeList work, tree;
    hasV5 = catalog::ReadV5Index(store, files, work, tree, false);
    if (hasV5) FoldersFromTree(tree, {0}, v5);
    hasV4 = catalog::ReadV4Index(store, files, work, tree);
    if (hasV4) FoldersFromTree(tree, {0, 1}, v4);  // the root and the group item "Mail Folders"
}

}  // namespace

bool LiesInside(const fs::path& path, const fs::path& folder) {
    std::error_code error;
    fs::path inner = fs::weakly_canonical(fs::absolute(path, error), error);
    fs::path outer = fs::weakly_canonical(fs::absolute(folder, error), error);
    fs::path relative = inner.lexically_relative(outer);
    return !relative.empty() && *relative.begin() != "..";
}

fs::path SourceFolder(const fs::path& source) {
    std::error_code error;
    fs::path folder = fs::is_directory(source, error) ? source : source.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

std::string FolderLabel(const std::vector<std::string>& folder) {
    std::string label;
    for (const std::string& part : folder) label += (label.empty() ? "" : "/") + part;
    return label;
}

bool PlanExport(const fs::path& source, ExportPlan& plan, std::string& error) {
    plan.jobs.clear();
    std::error_code code;
    if (fs::is_regular_file(source, code)) {
        std::string stem = PathUtf8(source.stem());
        plan.jobs.push_back({source, {SafeComponent(stem, 80, "Folder")}, static_cast<int64_t>(fs::file_size(source, code))});
        return true;
    }
    if (!fs::is_directory(source, code)) {
        error = "cannot find " + PathUtf8(source);
        return false;
    }
    std::vector<fs::path> files;
    for (fs::directory_iterator it(source, code), end; !code && it != end; it.increment(code)) {
        std::error_code ignored;
        if (!it->is_regular_file(ignored)) continue;
        std::string extension = Extension(it->path());
        std::string name = Lower(PathUtf8(it->path().filename()));
        if ((extension == ".dbx" && name != catalog::kIndexFileName) || extension == ".mbx") files.push_back(it->path());
    }
    if (code) {
        error = "cannot read the folder " + PathUtf8(source) + ": " + code.message();
        return false;
    }
    if (files.empty()) {
        error = "no .dbx or .mbx files in " + PathUtf8(source);
        return false;
    }
    std::sort(files.begin(), files.end());
    std::map<std::string, std::vector<std::string>> v5, v4;
    bool hasV5 = false, hasV4 = false;
    ReadIndexes(source, v5, v4, hasV5, hasV4);
    std::set<std::string> taken;
    for (const fs::path& file : files) {
        bool version5 = Extension(file) == ".dbx";
        const auto& listed = version5 ? v5 : v4;
        auto it = listed.find(Lower(PathUtf8(file.filename())));
        std::vector<std::string> folder;
        if (it != listed.end()) {
            folder = it->second;
        } else {
            // Without an index a file stands for itself; with one, an unlisted file is set apart.
            if (version5 ? hasV5 : hasV4) folder.push_back(kUnlistedFolder);
            folder.push_back(SafeComponent(PathUtf8(file.stem()), 80, "Folder"));
        }
        // Two files landing on one folder (an index naming a file twice, a name
        // clash with "Unlisted") each keep their own.
        std::vector<std::string> unique = folder;
        for (int n = 2; taken.count(Lower(FolderLabel(unique))) != 0; ++n) {
            unique.back() = folder.back() + " (" + std::to_string(n) + ")";
        }
        taken.insert(Lower(FolderLabel(unique)));
        std::error_code sizeError;
        auto size = fs::file_size(file, sizeError);
        plan.jobs.push_back({file, unique, sizeError ? 0 : static_cast<int64_t>(size)});
    }
    return true;
}

}  // namespace corvane::exporting
