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

}  // namespace corvane::catalog
