#include "corvane/main/portable/QuickList.h"

namespace corvane {

void RebuildQuickList(catalog::TreeList& list, const std::vector<ControlLine>& lines) {
    list.Clear();
    int root = list.AddItem("xxxxxxxx");
    list.SetTextValue(root, "iFldrNo", "00");
    for (const ControlLine& line : lines) {
        int parent = list.Find(catalog::NamedValue::Number(line.parentNo), 0, list.Count() - 1, "iFldrNo");
        if (parent == catalog::kNotFound) parent = root;
        int item = list.AddItem(line.display, parent);
        list.SetTextValue(item, "Display", line.display);
        list.SetNumberValue(item, "iType", line.type);
        list.SetNumberValue(item, "iFldrNo", line.folderNo);
        list.SetNumberValue(item, "iParentNo", line.parentNo);
        list.SetNumberValue(item, "FlgSave", line.flag);
        list.SetTextValue(item, "MbxName", line.mbxName);
    }
}

}  // namespace corvane
