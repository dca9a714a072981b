// Times the version-5 catalog on a store of 2,000 folders: the index read
// into the work list, the tree building and the measuring pass. The index
// and store files are written by the test writer and held in memory, so the
// figures are the catalog's own work, not the disk's.
//
//   catalog_bench [folders] [rounds]
#include "corvane/catalog/StoreCatalog.h"
#include "testsupport/portable/DbxWriter.h"
#include "testsupport/portable/MemoryFileSource.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace corvane;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kStore = "C:\\Store\\";

// Local Folders with the special folders, then user folders three levels
// deep (every fourth without a store file), and a news server with groups.
std::vector<testing::DbxFolder> MakeFolders(int count, testing::MemoryFileSource& files) {
    std::vector<testing::DbxFolder> folders{testing::DbxFolder::Root("Main Identity"),
                                            testing::DbxFolder::NoFile(1, 0, "Local Folders"),
                                            testing::DbxFolder::Container(0x7000, 0, "news.example.com")};
    for (int i = 0; static_cast<int>(folders.size()) < count; ++i) {
        int number = 2 + i;
        int parent = i < 8 ? 1 : (i % 10 == 0 ? 0x7000 : 2 + (i - 8) / 3);
        if (parent >= number) parent = 1;
        std::string name = "Folder " + std::to_string((i * 7919) % 100000);
        if (i % 4 == 3) {
            folders.push_back(testing::DbxFolder::NoFile(number, parent, name));
            continue;
        }
        std::string file = "F" + std::to_string(number) + ".dbx";
        files.Put(kStore + file, testing::StoreFileBytes(i), 100000 + i);
        folders.push_back(testing::DbxFolder::Mail(number, parent, name, file));
    }
    return folders;
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    testing::MemoryFileSource files;
    std::vector<uint8_t> index = testing::BuildFolderIndex(MakeFolders(count, files));
    files.Put(kStore + catalog::kIndexFileName, index);
    double best[4] = {1e9, 1e9, 1e9, 1e9};
    int items = 0;
    for (int round = 0; round < rounds; ++round) {
        catalog::TreeList work, mail;
        catalog::CatalogTotals totals;
        auto t0 = Clock::now();
        catalog::ReadFolderIndex(index, kStore, files, work);
        auto t1 = Clock::now();
        catalog::BuildV5Tree(work, mail, false);
        auto t2 = Clock::now();
        catalog::MeasureV5(mail, work, kStore, {}, files, totals);
        auto t3 = Clock::now();
        double figures[4] = {Ms(t1 - t0), Ms(t2 - t1), Ms(t3 - t2), Ms(t3 - t0)};
        for (int k = 0; k < 4; ++k) best[k] = std::min(best[k], figures[k]);
        items = totals.itemCount;
    }
    std::printf("folders in index: %d, items in tree: %d, index bytes: %zu\n", count, items, index.size());
    std::printf("best of %d: read %.2f ms, build %.2f ms, measure %.2f ms, total %.2f ms\n", rounds, best[0], best[1],
                best[2], best[3]);
    return best[3] < 1000.0 ? 0 : 1;
}
