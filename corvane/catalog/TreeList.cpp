#include "corvane/catalog/TreeList.h"

#include "corvane/catalog/TextFcns.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"

#include <algorithm>

namespace corvane::catalog {

std::string NamedValue::AsText() const { return isText ? text : std::to_string(number); }

int64_t NamedValue::AsNumber() const { return isText ? LeadingNumber(text) : number; }

// --- positions and ids -------------------------------------------------------

int TreeList::Resolve(int position) const {
    if (position == kLastAdded) return LastAddedPosition() < 0 ? -1 : lastAdded_;
    if (position < 0 || position >= Count()) return -1;
    return order_[position];
}

TreeList::Item* TreeList::ItemAt(int position) {
    int id = Resolve(position);
    return id < 0 ? nullptr : &pool_[id];
}

const TreeList::Item* TreeList::ItemAt(int position) const {
    int id = Resolve(position);
    return id < 0 ? nullptr : &pool_[id];
}

int TreeList::LastAddedPosition() const {
    if (lastAdded_ < 0 || lastAdded_ >= static_cast<int>(position_.size())) return kNotFound;
    return position_[lastAdded_];
}

void TreeList::Renumber(int from) {
    for (int p = std::max(from, 0); p < Count(); ++p) position_[order_[p]] = p;
}

void TreeList::AdjustAncestors(int parentId, int delta) {
    for (int id = parentId; id >= 0; id = pool_[id].parent) pool_[id].beneath += delta;
}

// --- structure -----------------------------------------------------------

bool TreeList::SortsBefore(const Item& a, const Item& b, const Item& parent) const {
    if (parent.childOrder == ChildOrder::ByText) return CompareNoCase(a.text, b.text) < 0;
    const NamedValue* va = ValueById(a, parent.orderName);
    const NamedValue* vb = ValueById(b, parent.orderName);
    if (va == nullptr || vb == nullptr) return va == nullptr && vb != nullptr;
    if (!va->isText && !vb->isText) return va->number < vb->number;
    return CompareNoCase(va->AsText(), vb->AsText()) < 0;
}

// The position a new child of parentId takes: behind every sibling that does
// not sort after it, so equal keys stay in the order they came.
int TreeList::InsertionPoint(int parentId, const Item& newItem) const {
    if (parentId < 0) return Count();
    const Item& parent = pool_[parentId];
    int end = PositionOf(parentId) + 1 + parent.beneath;
    if (parent.childOrder == ChildOrder::None) return end;
    for (int p = PositionOf(parentId) + 1; p < end; p += 1 + pool_[order_[p]].beneath) {
        if (SortsBefore(newItem, pool_[order_[p]], parent)) return p;
    }
    return end;
}

void TreeList::InsertAt(int position, int id) {
    order_.insert(order_.begin() + position, id);
    Renumber(position);
}

int TreeList::AddItem(const std::string& text, int parent) {
    int parentId = -1;
    if (parent != kNoParent) {
        parentId = Resolve(parent);
        if (parentId < 0) return kNotFound;
    }
    Item item;
    item.text = text;
    item.parent = parentId;
    item.depth = parentId < 0 ? 0 : pool_[parentId].depth + 1;
    int at = InsertionPoint(parentId, item);
    int id;
    if (!freeIds_.empty()) {
        id = freeIds_.back();
        freeIds_.pop_back();
        pool_[id] = std::move(item);
    } else {
        id = static_cast<int>(pool_.size());
        pool_.push_back(std::move(item));
        position_.push_back(-1);
    }
    InsertAt(at, id);
    AdjustAncestors(parentId, 1);
    lastAdded_ = id;
    return at;
}

void TreeList::Clear() {
    pool_.clear();
    freeIds_.clear();
    order_.clear();
    position_.clear();
    lastAdded_ = -1;
    selected_ = -1;
}

bool TreeList::Remove(int position) {
    int id = Resolve(position);
    if (id < 0) return false;
    int from = PositionOf(id);
    int count = 1 + pool_[id].beneath;
    AdjustAncestors(pool_[id].parent, -count);
    for (int p = from; p < from + count; ++p) {
        int gone = order_[p];
        position_[gone] = -1;
        pool_[gone] = Item{};
        freeIds_.push_back(gone);
        if (gone == selected_) selected_ = -1;
        if (gone == lastAdded_) lastAdded_ = -1;
    }
    order_.erase(order_.begin() + from, order_.begin() + from + count);
    Renumber(from);
    return true;
}

int TreeList::ParentPosition(int position) const {
    const Item* item = ItemAt(position);
    if (item == nullptr || item->parent < 0) return kNoParent;
    return PositionOf(item->parent);
}

int TreeList::Depth(int position) const {
    const Item* item = ItemAt(position);
    return item == nullptr ? 0 : item->depth;
}

int TreeList::CountBeneath(int position) const {
    const Item* item = ItemAt(position);
    return item == nullptr ? 0 : item->beneath;
}

// Moves each child block (the child and everything beneath it) into sorted
// order with a stable sort; only the parent's own span is rewritten.
void TreeList::ResortChildren(int parentId) {
    const Item& parent = pool_[parentId];
    int first = PositionOf(parentId) + 1;
    int end = first + parent.beneath;
    std::vector<std::pair<int, int>> blocks;  // start, length
    for (int p = first; p < end; p += 1 + pool_[order_[p]].beneath) {
        blocks.emplace_back(p, 1 + pool_[order_[p]].beneath);
    }
    std::stable_sort(blocks.begin(), blocks.end(), [&](const auto& a, const auto& b) {
        return SortsBefore(pool_[order_[a.first]], pool_[order_[b.first]], parent);
    });
    std::vector<int> span;
    span.reserve(end - first);
    for (const auto& [start, length] : blocks) {
        span.insert(span.end(), order_.begin() + start, order_.begin() + start + length);
    }
    std::copy(span.begin(), span.end(), order_.begin() + first);
    Renumber(first);
}

// An ordered parent keeps its children in order when the key of one of
// them changes after it was added: the child's block moves to its place.
void TreeList::Reposition(int id) {
    int parentId = pool_[id].parent;
    if (parentId < 0 || pool_[parentId].childOrder == ChildOrder::None) return;
    int from = PositionOf(id);
    int count = 1 + pool_[id].beneath;
    std::vector<int> block(order_.begin() + from, order_.begin() + from + count);
    order_.erase(order_.begin() + from, order_.begin() + from + count);
    pool_[parentId].beneath -= count;
    int at = InsertionPoint(parentId, pool_[id]);
    pool_[parentId].beneath += count;
    order_.insert(order_.begin() + at, block.begin(), block.end());
    Renumber(std::min(from, at));
}

void TreeList::SetChildOrder(int position, ChildOrder order, const std::string& valueName) {
    int id = Resolve(position);
    if (id < 0) return;
    int nameId = order == ChildOrder::ByValue ? NameId(valueName) : -1;
    Item& item = pool_[id];
    if (item.childOrder == order && item.orderName == nameId) return;
    item.childOrder = order;
    item.orderName = nameId;
    if (order != ChildOrder::None && item.beneath > 1) ResortChildren(id);
}

ChildOrder TreeList::GetChildOrder(int position) const {
    const Item* item = ItemAt(position);
    return item == nullptr ? ChildOrder::None : item->childOrder;
}

// --- attributes ------------------------------------------------------------

std::string TreeList::Text(int position) const {
    const Item* item = ItemAt(position);
    return item == nullptr ? std::string() : item->text;
}

void TreeList::SetText(int position, const std::string& text) {
    int id = Resolve(position);
    if (id < 0) return;
    pool_[id].text = text;
    int parentId = pool_[id].parent;
    if (parentId >= 0 && pool_[parentId].childOrder == ChildOrder::ByText) Reposition(id);
}

int TreeList::Mark(int position) const {
    const Item* item = ItemAt(position);
    return item == nullptr ? 0 : item->mark;
}

void TreeList::SetMark(int position, int mark) {
    if (Item* item = ItemAt(position)) item->mark = std::clamp(mark, 0, 2);
}

int TreeList::Picture(int position) const {
    const Item* item = ItemAt(position);
    return item == nullptr ? -1 : item->picture;
}

void TreeList::SetPicture(int position, int picture) {
    if (Item* item = ItemAt(position)) item->picture = picture;
}

Colour TreeList::BackColour(int position) const {
    const Item* item = ItemAt(position);
    return item == nullptr ? kDefaultColour : item->back;
}

void TreeList::SetBackColour(int position, Colour colour) {
    if (Item* item = ItemAt(position)) item->back = colour;
}

Colour TreeList::TextColour(int position) const {
    const Item* item = ItemAt(position);
    return item == nullptr ? kDefaultColour : item->fore;
}

void TreeList::SetTextColour(int position, Colour colour) {
    if (Item* item = ItemAt(position)) item->fore = colour;
}

bool TreeList::IsOpen(int position) const {
    const Item* item = ItemAt(position);
    return item != nullptr && item->open;
}

void TreeList::SetOpen(int position, bool open) {
    if (Item* item = ItemAt(position)) item->open = open;
}

int TreeList::Selected() const {
    if (selected_ < 0) return 0;
    return PositionOf(selected_);
}

void TreeList::SetSelected(int position) { selected_ = Resolve(position); }

// --- named values --------------------------------------------------------

int TreeList::NameId(const std::string& name) {
    auto [it, added] = nameIds_.try_emplace(name, static_cast<int>(nameIds_.size()));
    return it->second;
}

int TreeList::FindNameId(const std::string& name) const {
    auto it = nameIds_.find(name);
    return it == nameIds_.end() ? -1 : it->second;
}

const NamedValue* TreeList::ValueById(const Item& item, int nameId) const {
    if (nameId < 0) return nullptr;
    for (const auto& [id, value] : item.values) {
        if (id == nameId) return &value;
    }
    return nullptr;
}

void TreeList::SetValue(int position, const std::string& name, const NamedValue& value) {
    Item* item = ItemAt(position);
    if (item == nullptr) return;
    int nameId = NameId(name);
    bool found = false;
    for (auto& [id, existing] : item->values) {
        if (id == nameId) {
            existing = value;
            found = true;
            break;
        }
    }
    if (!found) item->values.emplace_back(nameId, value);
    int parentId = item->parent;
    if (parentId >= 0 && pool_[parentId].childOrder == ChildOrder::ByValue && pool_[parentId].orderName == nameId) {
        Reposition(Resolve(position));
    }
}

bool TreeList::HasValue(int position, const std::string& name) const { return Value(position, name) != nullptr; }

void TreeList::RemoveValue(int position, const std::string& name) {
    Item* item = ItemAt(position);
    int nameId = FindNameId(name);
    if (item == nullptr || nameId < 0) return;
    std::erase_if(item->values, [nameId](const auto& entry) { return entry.first == nameId; });
}

const NamedValue* TreeList::Value(int position, const std::string& name) const {
    const Item* item = ItemAt(position);
    return item == nullptr ? nullptr : ValueById(*item, FindNameId(name));
}

std::string TreeList::TextValue(int position, const std::string& name) const {
    const NamedValue* value = Value(position, name);
    return value == nullptr ? std::string() : value->AsText();
}

int64_t TreeList::NumberValue(int position, const std::string& name) const {
    const NamedValue* value = Value(position, name);
    return value == nullptr ? 0 : value->AsNumber();
}

static bool ValuesEqual(const NamedValue& a, const NamedValue& b) {
    if (!a.isText && !b.isText) return a.number == b.number;
    if (a.isText && b.isText) return EqualsNoCase(a.text, b.text);
    return EqualsNoCase(a.AsText(), b.AsText());
}

int TreeList::Find(const NamedValue& value, int start, int end, const std::string& name) const {
    int nameId = FindNameId(name);
    if (nameId < 0) return kNotFound;
    int last = std::min(end, Count() - 1);
    for (int p = std::max(start, 0); p <= last; ++p) {
        const NamedValue* candidate = ValueById(pool_[order_[p]], nameId);
        if (candidate != nullptr && ValuesEqual(*candidate, value)) return p;
    }
    return kNotFound;
}

// --- display -------------------------------------------------------------

bool TreeList::IsVisible(int position) const {
    int id = Resolve(position);
    if (id < 0) return false;
    for (int up = pool_[id].parent; up >= 0; up = pool_[up].parent) {
        if (!pool_[up].open) return false;
    }
    return true;
}

int TreeList::VisibleItemAt(int row) const {
    if (row < 0) return kNotFound;
    int p = 0;
    while (p < Count()) {
        if (row == 0) return p;
        --row;
        const Item& item = pool_[order_[p]];
        p += item.open ? 1 : 1 + item.beneath;  // a closed item hides its span
    }
    return kNotFound;
}

}  // namespace corvane::catalog
