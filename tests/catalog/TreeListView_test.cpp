// The view under Wine with a real window (null graphics driver): filling,
// clicks on the picture, the right button in twips, custom-draw colours.
#include "corvane/catalog/TreeListView.h"

#include "corvane/catalog/CatalogModel.h"

#include <gtest/gtest.h>

namespace corvane::catalog {
namespace {

class TreeListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = CreateWindowExA(0, "STATIC", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(frame, nullptr);
        model.AddItem("Main Identity");
        int local = model.AddItem("Local Folders", 0);
        model.AddItem("Inbox\t42 messages", local);
        model.AddItem("news.example.com", 0);
        model.SetOpen(0, true);
        model.SetOpen(local, true);
        for (int i = 1; i < model.Count(); ++i) model.SetPicture(i, i % 2);
        model.SetBackColour(3, kNewsBack);
        model.SetTextColour(1, kGreyText);
        ASSERT_TRUE(view.Create(frame, 100, RECT{0, 0, 380, 260}, model));
        view.On().pictureClick = [this] { pictureClicks.push_back(model.Selected()); };
        view.On().mouseDown = [this](int button, int, int x, int y) {
            lastButton = button;
            lastTwips = {x, y};
        };
        view.Refresh();
    }
    void TearDown() override { DestroyWindow(frame); }

    // A client point on the item's picture (icon) or its text.
    POINT PointOn(int position, UINT wanted) {
        HTREEITEM handle = nullptr;
        for (HTREEITEM item = TreeView_GetRoot(view.Tree()); item != nullptr;
             item = TreeView_GetNextVisible(view.Tree(), item)) {
            TVITEMA data{};
            data.mask = TVIF_PARAM;
            data.hItem = item;
            TreeView_GetItem(view.Tree(), &data);
            if (data.lParam == position) handle = item;
        }
        RECT rect{};
        TreeView_GetItemRect(view.Tree(), handle, &rect, TRUE);
        int y = (rect.top + rect.bottom) / 2;
        for (int x = 0; x < rect.right; ++x) {
            TVHITTESTINFO hit{{x, y}, 0, nullptr};
            TreeView_HitTest(view.Tree(), &hit);
            if (hit.hItem == handle && (hit.flags & wanted) != 0) return {x, y};
        }
        ADD_FAILURE() << "no point with flags " << wanted << " on item " << position;
        return {-1, -1};
    }
    void Send(UINT message, POINT point) { SendMessageA(view.Tree(), message, 0, MAKELPARAM(point.x, point.y)); }

    HWND frame = nullptr;
    TreeList model;
    TreeListView view;
    std::vector<int> pictureClicks;
    int lastButton = 0;
    POINT lastTwips{};
};

TEST_F(TreeListViewTest, ShowsEveryItemWithItsPictureAndFirstColumn) {
    EXPECT_EQ(TreeView_GetCount(view.Tree()), 4u);
    char text[64] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT | TVIF_IMAGE;
    item.hItem = TreeView_GetChild(view.Tree(), TreeView_GetChild(view.Tree(), TreeView_GetRoot(view.Tree())));
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(TreeView_GetItem(view.Tree(), &item));
    EXPECT_STREQ(text, "Inbox");  // the second column is drawn, not part of the text
    EXPECT_EQ(item.iImage, 0);
    EXPECT_EQ(view.HitTest(PointOn(2, TVHT_ONITEMLABEL).x, PointOn(2, TVHT_ONITEMLABEL).y), 2);
    EXPECT_EQ(view.HitTest(5, 250), kNotFound);
}

TEST_F(TreeListViewTest, ClickOnThePictureSelectsTheItemAndRaisesPictureClick) {
    Send(WM_LBUTTONDOWN, PointOn(3, TVHT_ONITEMICON));
    ASSERT_EQ(pictureClicks, (std::vector<int>{3}));
    EXPECT_EQ(model.Selected(), 3);
    // A click on the text is the TreeView's own (it tracks the mouse, so the
    // test selects through the control instead): no event, but the model follows.
    ASSERT_TRUE(TreeView_SelectItem(
        view.Tree(), TreeView_GetChild(view.Tree(), TreeView_GetChild(view.Tree(), TreeView_GetRoot(view.Tree())))));
    EXPECT_EQ(pictureClicks.size(), 1u);
    EXPECT_EQ(model.Selected(), 2);  // the TreeView's own selection reaches the model
    SendMessageA(view.Tree(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(pictureClicks, (std::vector<int>{3, 2}));
}

TEST_F(TreeListViewTest, ASelectionMadeInTheModelIsHighlightedAfterRefreshItems) {
    Send(WM_LBUTTONDOWN, PointOn(3, TVHT_ONITEMICON));
    model.SetSelected(2);  // as a handler does, e.g. for the right button
    view.RefreshItems();
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = TreeView_GetSelection(view.Tree());
    ASSERT_TRUE(TreeView_GetItem(view.Tree(), &item));
    EXPECT_EQ(item.lParam, 2);
    EXPECT_EQ(model.Selected(), 2);
    SendMessageA(view.Tree(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(pictureClicks, (std::vector<int>{3, 2}));
}

TEST_F(TreeListViewTest, RightButtonReportsTwipsThatHitTestBackToTheItem) {
    POINT point = PointOn(2, TVHT_ONITEMLABEL);
    Send(WM_RBUTTONDOWN, point);
    EXPECT_EQ(lastButton, 2);
    EXPECT_EQ(lastTwips.x, point.x * view.TwipsPerPixelX());
    EXPECT_EQ(view.HitTestTwips(lastTwips.x, lastTwips.y), 2);
}

TEST_F(TreeListViewTest, CustomDrawUsesTheModelColoursAndAsksToDrawTabbedTexts) {
    NMTVCUSTOMDRAW draw{};
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(view.OnCustomDraw(draw), CDRF_NOTIFYITEMDRAW);
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    draw.clrText = draw.clrTextBk = 0x123456;
    draw.nmcd.lItemlParam = 3;
    EXPECT_EQ(view.OnCustomDraw(draw), CDRF_NEWFONT);
    EXPECT_EQ(draw.clrTextBk, kNewsBack);
    EXPECT_EQ(draw.clrText, 0x123456u);  // default text colour left alone
    draw.nmcd.lItemlParam = 1;
    view.OnCustomDraw(draw);
    EXPECT_EQ(draw.clrText, kGreyText);
    draw.nmcd.lItemlParam = 2;
    EXPECT_EQ(view.OnCustomDraw(draw), static_cast<LRESULT>(CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT));
}

// The second column stands at its x where the tree is wide enough, and moves
// left to stay whole where it is not (the restore page's tree is narrow).
TEST_F(TreeListViewTest, SecondColumnStaysWholeInANarrowTree) {
    HDC dc = GetDC(view.Tree());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(view.Tree(), WM_GETFONT, 0, 0)));
    const std::string second = "42 messages";
    SIZE extent{};
    GetTextExtentPoint32A(dc, second.c_str(), static_cast<int>(second.size()), &extent);
    EXPECT_EQ(view.SecondColumnPlace(2, dc).left, 220);
    EXPECT_EQ(view.SecondColumnPlace(1, dc).right, 0);  // no TAB, no column

    for (int width : {240, 200}) {
        view.Move(RECT{0, 0, width, 260});
        RECT client{};
        GetClientRect(view.Tree(), &client);
        RECT place = view.SecondColumnPlace(2, dc);
        RECT first{};
        TreeView_GetItemRect(
            view.Tree(), TreeView_GetChild(view.Tree(), TreeView_GetChild(view.Tree(), TreeView_GetRoot(view.Tree()))),
            &first, TRUE);
        EXPECT_GE(place.right - place.left, extent.cx) << width;
        EXPECT_LE(place.right, client.right) << width;
        EXPECT_GT(place.left, first.right) << width;
    }
    SelectObject(dc, old);
    ReleaseDC(view.Tree(), dc);
}

TEST_F(TreeListViewTest, RefreshItemsFollowsMarksAndRebuildsAfterStructureChanges) {
    model.SetPicture(2, 1);
    view.RefreshItems();
    TVITEMA item{};
    item.mask = TVIF_IMAGE;
    item.hItem = TreeView_GetChild(view.Tree(), TreeView_GetChild(view.Tree(), TreeView_GetRoot(view.Tree())));
    ASSERT_TRUE(TreeView_GetItem(view.Tree(), &item));
    EXPECT_EQ(item.iImage, 1);
    model.AddItem("Drafts", 1);
    view.RefreshItems();
    EXPECT_EQ(TreeView_GetCount(view.Tree()), 5u);
}

}  // namespace
}  // namespace corvane::catalog
