// The tree-list model behind tlMail, tlWork and tlCurrent: items addressed
// by position in display order (0 first, kLastAdded for the item added last),
// each with a parent, a text, a mark (0, 1, 2), a picture, colours and any
// number of named values typed as text or number.
//
// Storage: items live in a stable pool (ids never move); the display order
// is a vector of ids with a reverse map, and every item keeps the number of
// items beneath it, so the items beneath a position are simply the next
// positions. Inserting or removing costs one vector shift and an ancestor
// walk, which keeps a 2,000-folder store far below a millisecond per item.
//
// Bad positions never fail loudly: readers return empty/0/false, writers do
// nothing.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace corvane::catalog {

inline constexpr int kNoParent = -1;
inline constexpr int kLastAdded = -3;
inline constexpr int kNotFound = -1;

// Colours are 0x00BBGGRR like a Windows COLORREF; kDefaultColour leaves the
// view's own colour.
using Colour = uint32_t;
inline constexpr Colour kDefaultColour = 0xFFFFFFFFu;
constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

enum class ChildOrder { None, ByText, ByValue };

// A named value: text or number; the first write fixes nothing, every write
// replaces both the kind and the content.
struct NamedValue {
    bool isText = true;
    std::string text;
    int64_t number = 0;

    static NamedValue Text(std::string t) { return {true, std::move(t), 0}; }
    static NamedValue Number(int64_t n) { return {false, {}, n}; }
    // Text form (numbers in decimal) and number form (text read like Val:
    // optional sign and leading decimal digits, 0 otherwise).
    std::string AsText() const;
    int64_t AsNumber() const;
};

class TreeList {
public:
    TreeList() = default;

    // Structure ---------------------------------------------------------------
    // Adds an item under `parent` (kNoParent: a top item), placed by the
    // parent's child order, else last. Returns its position, or kNotFound when
    // the parent position is not valid.
    int AddItem(const std::string& text, int parent = kNoParent);
    int LastAddedPosition() const;  // kNotFound when gone or none
    int Count() const { return static_cast<int>(order_.size()); }
    void Clear();
    // Removes the item and every item beneath it.
    bool Remove(int position);

    int ParentPosition(int position) const;  // kNoParent for a top item
    int Depth(int position) const;           // 0 for top items
    bool HasChildren(int position) const { return CountBeneath(position) > 0; }
    int CountBeneath(int position) const;
    bool IsValid(int position) const { return Resolve(position) >= 0; }

    // Order of children: ByText sorts on the item text ignoring case, ByValue on
    // the named value `valueName`; equal keys keep the order they came in.
    // Setting an order re-sorts the present children; afterwards a child moves
    // to its place whenever its key (text or that value) is written.
    void SetChildOrder(int position, ChildOrder order, const std::string& valueName = {});
    ChildOrder GetChildOrder(int position) const;

    // Item attributes ------------------------------------------------------------
    std::string Text(int position) const;
    void SetText(int position, const std::string& text);
    int Mark(int position) const;
    void SetMark(int position, int mark);
    int Picture(int position) const;  // -1 when none
    void SetPicture(int position, int picture);
    Colour BackColour(int position) const;
    void SetBackColour(int position, Colour colour);
    Colour TextColour(int position) const;
    void SetTextColour(int position, Colour colour);
    bool IsOpen(int position) const;
    void SetOpen(int position, bool open);

    int Selected() const;  // 0 when none (position 0 is never "selected" for the callers)
    void SetSelected(int position);

    // Named values -----------------------------------------------------------
    // Writing the value a parent orders its children by may move the item;
    // address it afterwards as kLastAdded (or find it again).
    void SetValue(int position, const std::string& name, const NamedValue& value);
    void SetTextValue(int position, const std::string& name, const std::string& value) {
        SetValue(position, name, NamedValue::Text(value));
    }
    void SetNumberValue(int position, const std::string& name, int64_t value) {
        SetValue(position, name, NamedValue::Number(value));
    }
    bool HasValue(int position, const std::string& name) const;
    void RemoveValue(int position, const std::string& name);
    const NamedValue* Value(int position, const std::string& name) const;
    std::string TextValue(int position, const std::string& name) const;  // "" when missing
    int64_t NumberValue(int position, const std::string& name) const;    // 0 when missing

    // First position in start..end (inclusive, clipped to the list) whose
    // named value equals `value`: numbers by value, texts ignoring case, a text
    // against a number by the number's decimal text. kNotFound when none.
    int Find(const NamedValue& value, int start, int end, const std::string& name) const;

    // Display helpers --------------------------------------------------------
    bool IsVisible(int position) const;  // every ancestor open
    // Position of the row-th visible item (0 = first), kNotFound past the end.
    // This is the hit test for a view that draws rows of equal height.
    int VisibleItemAt(int row) const;

private:
    struct Item {
        std::string text;
        int parent = -1;  // id
        int beneath = 0;
        int depth = 0;
        int mark = 0;
        int picture = -1;
        Colour back = kDefaultColour;
        Colour fore = kDefaultColour;
        bool open = false;
        ChildOrder childOrder = ChildOrder::None;
        int orderName = -1;
        std::vector<std::pair<int, NamedValue>> values;  // name id, value
    };

    int Resolve(int position) const;  // id or -1
    int PositionOf(int id) const { return position_[id]; }
    Item* ItemAt(int position);
    const Item* ItemAt(int position) const;
    int NameId(const std::string& name);
    int FindNameId(const std::string& name) const;
    const NamedValue* ValueById(const Item& item, int nameId) const;
    int InsertionPoint(int parentId, const Item& newItem) const;
    bool SortsBefore(const Item& a, const Item& b, const Item& parent) const;
    void InsertAt(int position, int id);
    void ResortChildren(int parentId);
    void Reposition(int id);
    void Renumber(int from);
    void AdjustAncestors(int parentId, int delta);

    std::vector<Item> pool_;
    std::vector<int> freeIds_;
    std::vector<int> order_;     // ids in display order
    std::vector<int> position_;  // id -> position, -1 when removed
    std::unordered_map<std::string, int> nameIds_;
    int lastAdded_ = -1;  // id
    int selected_ = -1;   // id
};

}  // namespace corvane::catalog
