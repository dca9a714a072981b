#include "corvane/catalog/CatalogExtras.h"

#include "corvane/catalog/FileScan.h"

#include <cstdio>

namespace corvane::catalog {
namespace {

int AddTopItem(TreeList& tree, const std::string& text, int type, const std::string& file, Colour back) {
    int at = tree.AddItem(text, 0);
    tree.SetTextValue(at, names::kDisplay, text);
    tree.SetNumberValue(at, names::kType, type);
    tree.SetTextValue(at, names::kMbxName, file);
    tree.SetNumberValue(at, names::kParentNo, 0);
    tree.SetBackColour(at, back);
    return at;
}

void SetMarkAndFlag(TreeList& tree, int at, int mark) {
    tree.SetMark(at, mark);
    tree.SetPicture(at, mark);
    tree.SetNumberValue(at, names::kFlgSave, mark);
}

bool IsFolder(zip::FileSystem& files, const std::string& path) {
    zip::FileInfo info;
    return files.Stat(path, &info) && info.isFolder;
}

}  // namespace

AddressBookCaution AddAddressBook(const std::string& wabPath, int includeAddressBook, zip::FileSystem& files,
                                  TreeList& mail, CatalogTotals& totals) {
    if (wabPath.empty()) return AddressBookCaution::Untouched;
    totals.itemCount += 1;
    int at = AddTopItem(mail, kAddressBookText, kTypeAddressBook, wabPath, kAddressBookBack);
    zip::FileInfo info;
    int mark;
    if (files.Stat(wabPath, &info) && !info.isFolder) {
        int64_t length = static_cast<int64_t>(info.size);
        mail.SetTextValue(at, names::kHasData, "Y");
        mail.SetNumberValue(at, names::kFileSize, length);
        totals.catalogBytes += length;
        mark = includeAddressBook != 0 ? 1 : 0;
        if (mark == 1) {
            totals.totalBytes += length;
            totals.selectedCount += 1;
        }
    } else {
        mail.SetTextValue(at, names::kHasData, "N");
        mail.SetTextColour(at, kGreyText);
        mark = 2;
    }
    SetMarkAndFlag(mail, at, mark);
    totals.addressBookIndex = mail.LastAddedPosition();
    bool cautionShows = mark == 0 && mail.TextValue(at, names::kHasData) == "Y";
    return cautionShows ? AddressBookCaution::Show : AddressBookCaution::Hide;
}

bool AddressBookCheckDue(int useOutlook, const TreeList& mail, const CatalogTotals& totals) {
    return useOutlook != 0 && totals.addressBookIndex > 0 && mail.Mark(totals.addressBookIndex) == 1;
}

void AddFavorites(const std::string& folder, const RememberedSelection& saved, zip::FileSystem& files, TreeList& mail,
                  CatalogTotals& totals) {
    if (folder.empty()) return;
    totals.itemCount += 1;
    int at = AddTopItem(mail, kFavoritesText, kTypeFavorites, folder, kFavoritesBack);
    int64_t total = 0, count = 0;
    TreeScan(files, folder, total, count);
    totals.catalogBytes += total;
    mail.SetNumberValue(at, names::kFileSize, total);
    mail.SetNumberValue(at, names::kMbxCounts, count);
    mail.SetTextValue(at, names::kHasData, count >= 1 ? "Y" : "N");
    int flag = saved.FlagFor(folder);
    SetMarkAndFlag(mail, at, flag);
    if (flag == 1) {
        totals.totalBytes += total;
        totals.selectedCount += 1;
    }
}

std::string AccountKeyName(uint32_t index) {
    char name[9];
    std::snprintf(name, sizeof name, "%08x", index);
    return name;
}

void AddNewsAccounts(const std::vector<NewsAccount>& accounts, const std::string& newsFolder, bool measure,
                     zip::FileSystem& files, TreeList& work, TreeList& target) {
    work.Clear();
    work.AddItem("xxx");
    work.SetChildOrder(0, ChildOrder::ByText);
    for (const NewsAccount& account : accounts) {
        if (account.directory.empty() || !IsFolder(files, newsFolder + account.directory)) continue;
        work.AddItem(account.name, 0);
        work.SetTextValue(kLastAdded, names::kMbxName, account.directory);
        if (measure)
            work.SetNumberValue(kLastAdded, names::kFileSize, FolderSize(files, newsFolder + account.directory));
    }
    for (int i = 1; i < work.Count(); ++i) {
        int at = AddTopItem(target, work.Text(i), kTypeNewsAccount, work.TextValue(i, names::kMbxName), kNewsBack);
        target.SetNumberValue(at, names::kFolderNo, 0);
        if (measure) target.SetNumberValue(at, names::kFileSize, work.NumberValue(i, names::kFileSize));
    }
}

}  // namespace corvane::catalog
