#include "corvane/catalog/StoreCatalog.h"

namespace corvane::catalog {

bool BuildV5BackupCatalog(const std::string& storeFolder, const RememberedSelection& saved, IFileSource& files,
                          TreeList& work, TreeList& mail, CatalogTotals& totals) {
    if (!ReadV5Index(storeFolder, files, work, mail, false)) return false;
    MeasureV5(mail, work, storeFolder, saved, files, totals);
    return true;
}

bool BuildV5TargetList(const std::string& storeFolder, IFileSource& files, TreeList& work, TreeList& current) {
    return ReadV5Index(storeFolder, files, work, current, true);
}

bool BuildV4BackupCatalog(const V4Folders& store, const std::vector<NewsAccount>& accounts,
                          const RememberedSelection& saved, IFileSource& files, zip::FileSystem& folders,
                          TreeList& work, TreeList& mail, CatalogTotals& totals) {
    if (!ReadV4Index(store.mail, files, work, mail)) return false;
    // Without a news folder an account's directory would be looked up relative
    // to wherever the program happens to run.
    AddNewsAccounts(store.news.empty() ? std::vector<NewsAccount>{} : accounts, store.news, true, folders, work, mail);
    MeasureV4(mail, work, store.mail, saved, files, totals);
    return true;
}

bool BuildV4TargetList(const std::string& mailFolder, IFileSource& files, TreeList& work, TreeList& current) {
    if (!ReadV4Index(mailFolder, files, work, current)) return false;
    for (int i = 1; i < current.Count(); ++i) {
        std::string file = current.TextValue(i, names::kMbxName);
        if (file.empty()) continue;
        std::string path = JoinStorePath(mailFolder, file);
        if (files.FileExists(path)) {
            current.SetNumberValue(i, names::kMbxCounts, ReadMbxMessageCount(files, path));
        } else {
            current.SetTextColour(i, kGreyText);
        }
    }
    return true;
}

}  // namespace corvane::catalog
