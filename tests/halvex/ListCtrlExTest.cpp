#include <gtest/gtest.h>

#include <map>

#include "FakeUi.h"
#include "halvex/controls/model/Ai_ListCtrlEx.h"
#include "platform/draw/GdiObjects.h"
#include "platform/draw/ImageList.h"

using namespace halvex;
using Table = CAi_ListCtrlEx;

namespace {

struct Messages : NotifyWindow {
    std::vector<std::pair<unsigned, intptr_t>> sent;
    intptr_t SendMessage(unsigned m, uintptr_t, intptr_t l) override {
        sent.emplace_back(m, l);
        return 0;
    }
};

// The pointer sits wherever the test puts it.
struct Host : ReportListHost {
    CPoint cursor{-1, -1};
    int height = 0;
    void Repaint() override {}
    CPoint GetCursorPos() const override { return cursor; }
    void SetCursorPos(CPoint p) override { cursor = p; }
    void SetWindowHeight(int h) override { height = h; }
    int GetWindowBottom() const override { return 400; }
};

struct Edit : BindEdit {
    CString text;
    bool shown = false;
    int id;
    explicit Edit(int i) : id(i) {}
    void PlaceOver(const CRect&) override {}
    void ShowBound(bool s) override { shown = s; }
    bool IsBoundShown() const override { return shown; }
    int GetCtrlId() const override { return id; }
    CString BoundText() const override { return text; }
    void StartEditing(const CString& t) override { text = t; }
};

struct Combo : BindCombo {
    std::vector<CString> items;
    int sel = -1;
    bool shown = false, dropped = false;
    void PlaceOver(const CRect&) override {}
    void ShowBound(bool s) override { shown = s; }
    bool IsBoundShown() const override { return shown; }
    int GetCtrlId() const override { return 77; }
    int ItemCount() const override { return int(items.size()); }
    CString ItemText(int i) const override { return i >= 0 && i < ItemCount() ? items[size_t(i)] : CString(); }
    int CurSel() const override { return sel; }
    void SelectIndex(int i) override { sel = i; }
    CString BoundText() const override { return ItemText(sel); }
    void DropDown() override { dropped = true; }
};

// A table of three columns ("Name", "Value", "Note") with one node of style 0x20 whose
// common significant cell is "Name" and `slots` empty children; row 0 is the node.
struct Fixture {
    ReportListModel list;
    Host host;
    Messages messages;
    Table table;
    explicit Fixture(int slots = 3, int64_t nodeStyle = 0x20, const Table::BIND_TO_CELL* binds = nullptr) {
        list.SetHost(&host);
        list.SetClientSize(600, 300);
        table.SetList(&list, &messages);
        EXPECT_TRUE(table.CreateList(false, 0));
        table.SetColumnEx(L"Name", LVCFMT_LEFT);
        table.SetColumnEx(L"Value", LVCFMT_LEFT);
        table.SetColumnEx(L"Note", LVCFMT_LEFT);
        std::vector<CString> caption{L"Group", L"", L""};
        EXPECT_EQ(table.SetNode(&caption, binds, false), 0);
        table.SetNodeStyle(0, nodeStyle, 0, 0);
        std::vector<CString> empty(3);
        for (int i = 0; i < slots; ++i) table.SetChild(0, &empty, 0, binds, false);
    }
    int Fill(int row, const CString& name, const CString& value) {
        std::vector<CString> t{name, value, L"chifs_NoWriteToCell"};
        return table.InsertTextToChildCells(row, &t, nullptr, 0x10);
    }
    // Puts the pointer inside a cell, as a user's double-click does.
    void PointAt(int viewRow, int column) {
        CRect r;
        list.GetSubItemRect(viewRow, column, &r);
        host.cursor = r.CenterPoint();
    }
};

}  // namespace

TEST(ListCtrlEx, ColumnsStretchAndWidthLimit) {
    ReportListModel list;
    list.SetClientSize(500, 200);
    Table t;
    t.SetList(&list, nullptr);
    EXPECT_EQ(t.SetColumnEx(L"A", 0), -1);  // before CreateList
    ASSERT_TRUE(t.CreateList(true, 0));
    EXPECT_FALSE(t.CreateList(true, 0));
    EXPECT_EQ(list.GetExtendedStyle(), 0x25u);
    EXPECT_EQ(t.SetColumnEx(L"Fixed", 0), 0);
    EXPECT_EQ(t.SetColumnEx(L"Wide-cmw_ThisColumn", 0), 1);
    EXPECT_EQ(list.GetColumnText(1), L"Wide");
    EXPECT_TRUE(t.IsMatchColumn());
    // header-text width: extent + length * 1.7 for short names
    EXPECT_EQ(list.GetColumnWidth(0), list.GetStringWidth(L"Fixed") + int(5 * 1.7));
    const int fixed = list.GetColumnWidth(0);
    t.SetColumnWidthStyle(0, 8, 1001);
    EXPECT_EQ(list.GetColumnWidth(0), fixed);
    t.SetColumnWidthStyle(0, 8, 120);
    EXPECT_EQ(list.GetColumnWidth(0), 120);
    t.MatchColumns(true);
    EXPECT_EQ(list.GetColumnWidth(0), 120);
    EXPECT_EQ(list.GetColumnWidth(0) + list.GetColumnWidth(1), 500 - 35);
    std::vector<CString> n{L"x", L"y"};
    t.SetNode(&n, nullptr, false);
    EXPECT_EQ(t.SetColumnEx(L"Late", 0), -1);
}

TEST(ListCtrlEx, NamesColoursAndLookups) {
    Fixture f;
    Table& t = f.table;
    EXPECT_EQ(t.GetNodeName(1), L"Group");  // a child answers for its node
    std::vector<CString> n{L"Other", L"", L""};
    const int bare = t.SetNode(&n, nullptr, false);
    EXPECT_EQ(t.GetNodeName(bare), L"no set nComnSignificantCell or nUnwrapCell");
    EXPECT_EQ(t.GetNodeName(99), L"");
    EXPECT_EQ(t.GetCellTextColor(1, 1), 0u);  // never given a colour
    t.SetCellFlag(1, 2, 5);
    t.SetCellFlag(3, 0, 5);
    t.SetCellTextColor(5, RGB(255, 0, 0));
    EXPECT_EQ(t.GetCellTextColor(1, 2), RGB(255, 0, 0));
    EXPECT_EQ(t.GetCellTextColor(3, 0), RGB(255, 0, 0));
    EXPECT_EQ(t.GetCellTextColor(2, 0), 0u);
    f.Fill(2, L"Alpha", L"1");
    EXPECT_EQ(t.FindRow(L"Alpha", 0), 2);
    EXPECT_EQ(t.FindRow(L"Group", 0), 0);  // the marker is stripped
    EXPECT_EQ(t.FindRow(L"Missing", 0), -1);
    EXPECT_EQ(t.FindRow(L"Alpha", 7), -1);
    EXPECT_EQ(t.GetBindInfo().row, -1);
    // row colours by kind
    EXPECT_EQ(t.GetCellBgColor(0, 0), 0x99FFFFu);
    EXPECT_EQ(t.GetCellBgColor(1, 0), 0xFEFEFEu);
    t.SetRowEnable(1, false);
    EXPECT_EQ(t.GetCellBgColor(1, 0), 0xE6E6E6u);
    EXPECT_EQ(t.GetCellTextColor(1, 2), 0x969696u);
    t.SetRowEnable(1, true);
    EXPECT_EQ(t.GetCellTextColor(1, 2), RGB(255, 0, 0));
}

TEST(ListCtrlEx, PlacementRules) {
    Fixture f(3);
    Table& t = f.table;
    t.UnwrapTree();
    EXPECT_EQ(f.Fill(1, L"a", L""), 0);
    EXPECT_EQ(f.Fill(2, L"b", L""), 0);
    // only the last slot (row 3) is free
    EXPECT_EQ(t.GetInsertedIdxInFuture(0, 2 | 4, nullptr), -1);
    EXPECT_EQ(t.GetInsertedIdxInFuture(0, 2, nullptr), 3);
    EXPECT_EQ(t.GetInsertedIdxInFuture(0, 0, nullptr), 3);  // rule 2, last free
    std::vector<CString> freeTexts{L"a"};
    EXPECT_EQ(t.GetInsertedIdxInFuture(0, 2, &freeTexts), 1);
    EXPECT_EQ(t.GetInsertedIdxInFuture(7, 2, nullptr), -1);
    EXPECT_EQ(f.Fill(3, L"c", L""), 0);
    EXPECT_EQ(t.GetSetedCountOfChild(0), 3);
    // a full group: -2, with the message when asked for
    testutil::FakeUi ui;
    EXPECT_EQ(t.GetInsertedIdxInFuture(1, 1, nullptr), -2);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(t.GetInsertedIdxInFuture(1, 1 | 0x40, nullptr), -2);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], CString(L"Список заполнен!\nНевозможно добавить новый элемент в группу:\n\n\"Group\"!"));
    EXPECT_EQ(ui.types[0] & 0xF0, unsigned(MB_ICONERROR));
    // also for a row already filled
    EXPECT_EQ(f.Fill(1, L"z", L""), -2);
    EXPECT_EQ(t.GetCellText(1, 0), L"a");
}

TEST(ListCtrlEx, ListItemsModesAndRoot) {
    ReportListModel list;
    Table t;
    t.SetList(&list, nullptr);
    t.CreateList(false, 0);
    t.SetColumnEx(L"N", 0);
    t.SetColumnEx(L"V", 0);
    std::vector<Table::RESULT_GET_LIST> result;
    Table::GET_BY_FILTER filter;
    std::vector<CString> root{L"Root", L""};
    t.SetNode(&root, nullptr, true);
    t.SetNodeStyle(0, 0x20, 0, 0);
    EXPECT_FALSE(t.GetListItems(&filter, &result, 1, {0, -1}));  // no child yet
    std::vector<CString> c1{L"one", L"1"}, c2{L"", L"2"};
    t.SetChild(0, &c1, 0, nullptr, false);
    t.SetChild(0, &c2, 0, nullptr, false);
    filter.mode = 1;
    filter.kind = 0;
    ASSERT_TRUE(t.GetListItems(&filter, &result, 1, {0, 1, -1}));
    ASSERT_EQ(result.size(), 3u);
    EXPECT_TRUE(result[0].isNode);
    EXPECT_EQ(result[0].row, 0);
    EXPECT_EQ(result[1].texts, (std::vector<CString>{L"one", L"1"}));
    filter.mode = 2;
    ASSERT_TRUE(t.GetListItems(&filter, &result, 1, {0, -1}));
    ASSERT_EQ(result.size(), 2u);  // the root is left out
    EXPECT_EQ(result[0].row, 1);
    EXPECT_EQ(result[0].nodeRow, 0);
    filter.kind = 6;  // children whose common significant cell is empty are left out
    ASSERT_TRUE(t.GetListItems(&filter, &result, 1, {0, -1}));
    ASSERT_EQ(result.size(), 1u);
    filter.mode = 3;
    ASSERT_TRUE(t.GetListItems(&filter, &result, 0, {}));
    ASSERT_EQ(result.size(), 1u);
    EXPECT_TRUE(result[0].isNode);
    filter.mode = 1;
    EXPECT_FALSE(t.GetListItems(&filter, &result, 1, {-1}));
    filter.mode = 4;
    filter.kind = 0;
    filter.column = 2;  // the second column, counted from 1, must not be empty
    ASSERT_TRUE(t.GetListItems(&filter, &result, 1, {1, -1}));
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[1].texts[0], L"2");
}

TEST(ListCtrlEx, GroupSummaryAndDefaults) {
    Combo combo;
    combo.items = {L"On", L"Off"};
    Table::BIND_TO_CELL binds(1);
    binds[0].column = 1;
    binds[0].combo = &combo;
    Fixture f(3, 0x20, &binds);
    Table& t = f.table;
    f.Fill(1, L"a", L"On");
    EXPECT_EQ(t.GetCellText(0, 1), L"< On >");
    EXPECT_EQ(combo.sel, 0);  // settled: the combo shows the cell's item
    f.Fill(2, L"b", L"On");
    EXPECT_EQ(t.GetCellText(0, 1), L"< On >");
    f.Fill(3, L"c", L"Off");
    EXPECT_EQ(t.GetCellText(0, 1), L"< ~~~ >");
    // group defaults: a child with row style 4 takes the node's common value
    Fixture g(2, 0x20, &binds);
    g.table.SetCellText(0, 1, L"< Off >");
    g.table.SetRowStyle(1, 0x04);
    g.table.UnwrapTree();
    ASSERT_EQ(g.table.InsertTextToChild(0, 0, L"x", nullptr, 0, 1), 0);
    EXPECT_EQ(g.table.GetCellText(1, 1), L"Off");
    EXPECT_EQ(g.table.GetSetedCountOfChild(0), 1);
}

TEST(ListCtrlEx, ClearChild) {
    Fixture f(3);
    Table& t = f.table;
    t.UnwrapTree();
    std::vector<int> cols{0, 1};
    EXPECT_FALSE(t.ClearChild(1, 0x20, &cols, 0));  // not filled: nothing emptied
    f.Fill(1, L"a", L"1");
    f.Fill(2, L"b", L"2");
    EXPECT_FALSE(t.ClearChild(1, 0x20, nullptr, 0));  // no columns
    EXPECT_FALSE(t.ClearChild(0, 0x20, &cols, 0));    // a node row
    std::vector<int> valueOnly{1};
    EXPECT_FALSE(t.ClearChild(1, 0x20, &valueOnly, 0));  // the key stays: still filled
    EXPECT_EQ(t.GetCellText(1, 1), L"");
    ASSERT_TRUE(t.ClearChild(-1, 0x10 | 1, nullptr, 1, {0, -1}));
    EXPECT_EQ(t.m_clearedRows, (std::vector<int>{1, 2}));
    EXPECT_EQ(t.GetSetedCountOfChild(0), 0);
    EXPECT_EQ(t.GetCellText(0, 0), L"[  ] Group");
    EXPECT_FALSE(t.ClearChild(-1, 0x10 | 1, nullptr, 2, {0, -1}));  // fewer columns than count
}

TEST(ListCtrlEx, MoveSelectedChildrenDown) {
    struct Case {
        std::vector<int> selected;  // view rows
        std::vector<CString> after;  // Name column of rows 1..4
    };
    const Case cases[] = {
        // the last child is selected with its neighbours above: nothing moves
        {{3, 4}, {L"a", L"b", L"c", L"d"}},
        // a selected row with an unselected one below still moves one place
        {{2}, {L"a", L"c", L"b", L"d"}},
        {{1, 2}, {L"c", L"a", L"b", L"d"}},
    };
    for (const Case& c : cases) {
        Fixture f(4);
        f.Fill(1, L"a", L"");
        f.Fill(2, L"b", L"");
        f.Fill(3, L"c", L"");
        f.Fill(4, L"d", L"");
        f.table.UnwrapTree();
        for (int v : c.selected) f.list.SetSelected(v, true);
        std::vector<int> cols{0};
        f.table.MoveSelectedChildren(false, 0, 0, &cols, 0);
        for (int r = 1; r <= 4; ++r) EXPECT_EQ(f.table.GetCellText(r, 0), c.after[size_t(r - 1)]) << r;
    }
}

TEST(ListCtrlEx, MoveCallbackStopsAtGroupEnd) {
    Fixture f(3);
    f.Fill(1, L"a", L"");
    f.Fill(2, L"b", L"");
    f.Fill(3, L"c", L"");
    f.table.UnwrapTree();
    f.list.SetSelected(1, true);
    static int calls;
    calls = 0;
    f.table.m_moveCallback = [](Table::MOVE_STEP* s) {
        ++calls;
        s->next = true;  // always asks for more
    };
    std::vector<int> cols{0};
    f.table.MoveSelectedChildren(false, 0x8, 0, &cols, 0);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(f.table.GetCellText(3, 0), L"a");
    EXPECT_EQ(f.list.GetSelectedItems(), (std::vector<int>{3}));
}

TEST(ListCtrlEx, ViewMarkersAndNodeToggle) {
    Fixture f(2);
    Table& t = f.table;
    t.UpdateView();
    EXPECT_EQ(f.list.GetItemCount(), 1);  // closed node
    EXPECT_EQ(f.list.GetItemText(0, 0), L"[  ] Group");
    f.Fill(1, L"a", L"");
    t.UpdateView();
    EXPECT_EQ(f.list.GetItemText(0, 0), L"[+] Group");
    t.OnDblClick(0, 0, nullptr);
    EXPECT_TRUE(t.IsNodeUnwrapped(0));
    EXPECT_EQ(f.list.GetItemCount(), 3);
    EXPECT_EQ(f.list.GetItemText(0, 0), L"[ - ] Group");
    EXPECT_EQ(f.list.GetSelectedItems(), (std::vector<int>{0}));
    t.OnDblClick(0, 0, nullptr);
    EXPECT_EQ(f.list.GetItemCount(), 1);
    t.UnwrapNode(2);
    EXPECT_EQ(f.list.GetItemCount(), 3);
    EXPECT_EQ(t.GetRowIdxInView(2), 2);
    // SelectAndShowChild: which 1 goes to the group's last filled child
    t.WrapTree();
    EXPECT_EQ(t.SelectAndShowChild(SHOW_CHILD_LAST_FILLED, 0, false), 1);
    EXPECT_EQ(f.list.GetSelectedItems(), (std::vector<int>{1}));
}

TEST(ListCtrlEx, CustomDrawColours) {
    Fixture f(1);
    Table& t = f.table;
    f.Fill(1, L"a", L"");
    t.UnwrapTree();
    auto draw = [&](int item, int sub, COLORREF bk = COLORREF(-1), COLORREF text = COLORREF(-1)) {
        NMLVCUSTOMDRAW cd;
        cd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
        cd.item = item;
        cd.iSubItem = sub;
        intptr_t result = -1;
        t.OnCustomDrawEx(&cd.hdr, &result, bk, text);
        return std::pair(cd.clrTextBk, cd.clrText);
    };
    EXPECT_EQ(draw(0, 0), std::pair(COLORREF(0x99FFFF), COLORREF(0)));
    EXPECT_EQ(draw(1, 1), std::pair(COLORREF(0xFEFEFE), COLORREF(0)));
    EXPECT_EQ(draw(3, 0).first, 0xDFFFD4u);  // outside the view: odd item
    EXPECT_EQ(draw(2, 0).first, 0xFEFEFEu);
    EXPECT_EQ(draw(1, 1, 0x123456, 0x654321), std::pair(COLORREF(0x123456), COLORREF(0x654321)));
    t.SetCellTextStyle(1, 0, CELL_TEXT_ITALIC);
    NMLVCUSTOMDRAW cd;
    cd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
    cd.item = 1;
    intptr_t result = 0;
    t.OnCustomDrawEx(&cd.hdr, &result);
    EXPECT_EQ(result, CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT);
    ASSERT_NE(cd.font, nullptr);
    EXPECT_EQ(cd.font->LogFont().lfItalic, 1);
    // a disabled table: gray on gray, and a double-click does nothing
    t.SetTableEnable(false);
    EXPECT_EQ(draw(0, 0), std::pair(COLORREF(0xE6E6E6), COLORREF(0x969696)));
    t.OnDblClick(0, 0, nullptr);
    EXPECT_TRUE(t.IsNodeUnwrapped(0));
}

TEST(ListCtrlEx, ImageToggleNotifies) {
    Fixture f(1);
    Table& t = f.table;
    f.Fill(1, L"a", L"");
    CImageList images;
    images.Create(16, 16);
    f.list.SetImageList(&images);
    t.SetCellImg(1, 2, 4);
    t.UnwrapTree();
    CRect cell;
    f.list.GetSubItemRect(1, 2, &cell);
    POINT onImage{cell.left + 3, cell.top + 3};
    t.OnDblClick(1, 2, &onImage);
    EXPECT_EQ(t.GetCellImg(1, 2), 0);
    EXPECT_EQ(t.m_oldImage, 4);
    EXPECT_EQ(f.messages.sent.size(), 1u);
    EXPECT_EQ(f.messages.sent[0].first, 0x400u + 43);
    t.SetCellImg(1, 2, 3);
    t.OnDblClick(1, 2, &onImage);
    EXPECT_EQ(t.GetCellImg(1, 2), 3);
    EXPECT_EQ(f.messages.sent.size(), 2u);
}

TEST(ListCtrlEx, EditInPlaceAcceptAndCancel) {
    Edit edit(55);
    Table::BIND_TO_CELL binds(1);
    binds[0].column = 1;
    binds[0].edit = &edit;
    Fixture f(2, 0x20, &binds);
    Table& t = f.table;
    f.Fill(1, L"a", L"old");
    t.UnwrapTree();
    // the pointer outside the cell opens nothing
    f.host.cursor = CPoint(-5, -5);
    t.OnDblClick(1, 1, nullptr);
    EXPECT_FALSE(edit.shown);
    f.PointAt(1, 1);
    t.OnDblClick(1, 1, nullptr);
    ASSERT_TRUE(edit.shown);
    EXPECT_EQ(edit.text, L"old");
    EXPECT_EQ(t.GetBindInfo().oldText, L"old");
    edit.text = L"typed";
    t.EditBindCtrlKillFocus(false);
    EXPECT_FALSE(edit.shown);
    EXPECT_EQ(t.GetCellText(1, 1), L"old");
    ASSERT_EQ(f.messages.sent.size(), 1u);
    EXPECT_EQ(f.messages.sent[0], std::pair(0x400u + 44, intptr_t(-1)));
    t.OnDblClick(1, 1, nullptr);
    edit.text = L"new";
    t.EditBindCtrlKillFocus(true);
    EXPECT_EQ(t.GetCellText(1, 1), L"new");
    EXPECT_EQ(t.GetBindInfo().newText, L"new");
    EXPECT_TRUE(t.IsCtrlMeanWasSetedSingle());
    EXPECT_EQ(f.messages.sent.back().first, 0x400u + 43);
    EXPECT_EQ(t.GetCellText(0, 1), L"< new >");
}

TEST(ListCtrlEx, SpreadOverGroupAsksFirst) {
    Edit edit(9);
    Table::BIND_TO_CELL binds(1);
    binds[0].column = 1;
    binds[0].edit = &edit;
    Fixture f(2, 0x20 | 0x10, &binds);
    Table& t = f.table;
    f.Fill(1, L"a", L"1");
    f.Fill(2, L"b", L"2");
    t.UnwrapTree();
    ASSERT_EQ(t.GetCellText(0, 1), L"< ~~~ >");
    testutil::FakeUi ui;
    ui.answers = {IDNO, IDYES};
    auto editNode = [&](const CString& value) {
        f.PointAt(0, 1);
        t.OnDblClick(0, 1, nullptr);
        EXPECT_TRUE(edit.shown);
        edit.text = value;
        t.EditBindCtrlKillFocus(true);
    };
    editNode(L"7");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], CString(L"Задать всем членам данной группы одно значение:\n\n\"Value\"->7?"));
    EXPECT_EQ(t.GetCellText(1, 1), L"1");
    EXPECT_EQ(t.GetCellText(0, 1), L"< ~~~ >");
    EXPECT_FALSE(t.IsCtrlMeanWasSetedMulti());
    editNode(L"7");
    EXPECT_EQ(t.GetCellText(1, 1), L"7");
    EXPECT_EQ(t.GetCellText(2, 1), L"7");
    EXPECT_EQ(t.GetCellText(0, 1), L"< 7 >");
    EXPECT_EQ(f.list.GetItemText(2, 1), L"7");
    EXPECT_TRUE(t.IsCtrlMeanWasSetedMulti());
    // "..." goes into the node cell only, without a question
    editNode(L"...");
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(t.GetCellText(0, 1), L"...");
    EXPECT_EQ(t.GetCellText(1, 1), L"7");
}

TEST(ListCtrlEx, NestedNodesWritingAndDeleting) {
    Fixture f(2);
    Table& t = f.table;
    std::vector<CString> sub{L"Sub", L"", L""}, empty(3);
    const int nested = t.SetChild(0, &sub, 0, nullptr, true);
    ASSERT_EQ(nested, 3);
    t.SetNodeStyle(nested, 0x20, 0, 0);
    EXPECT_EQ(t.SetChild(nested, &empty, 0, nullptr, false), 4);
    EXPECT_EQ(t.GetAvailabelCountOfChild(0), 4);  // every row below counts for the top node
    EXPECT_EQ(t.GetCellBgColor(nested, 0), 0xBEFFFFu);
    EXPECT_EQ(t.GetChainOfSignCellsAbove(4), L"Group->Sub");
    // a closed parent hides its nested node
    t.UpdateView();
    EXPECT_EQ(f.list.GetItemCount(), 1);
    t.UnwrapTree();
    EXPECT_EQ(f.list.GetItemCount(), 5);
    // writing through the placement rule, then showing the row written last
    ASSERT_EQ(t.InsertTextToChild(0, 0, L"k", nullptr, 2), 0);
    EXPECT_EQ(t.GetCellText(1, 0), L"k");
    EXPECT_EQ(t.GetSetedCountOfChild(0), 1);
    t.WrapTree();
    EXPECT_EQ(t.SelectAndShowChild(SHOW_CHILD_LAST_WRITTEN, -1, true), 1);
    EXPECT_EQ(f.list.GetSelectedItems(), (std::vector<int>{1}));
    CRect cell;
    f.list.GetSubItemRect(1, 0, &cell);
    EXPECT_EQ(f.host.cursor, cell.CenterPoint());  // the pointer goes to the caption cell
    EXPECT_EQ(t.SelectAndShowChild(SHOW_CHILD_LAST_WRITTEN, -1, false), -1);  // forgotten
    // the list's height fits header and rows
    EXPECT_EQ(f.list.GetItemCount(), 4);  // the opened group with its nested node closed
    EXPECT_EQ(t.MatchHeight(false, 2), f.list.HeaderHeight() + 4 * (f.list.ItemHeight() + 2));
    EXPECT_EQ(f.host.height, t.MatchHeight(false, 2));
    // deleting the nested node takes its child along
    t.DeleteRow(nested);
    EXPECT_EQ(t.GetAvailabelCountOfChild(0), 2);
    EXPECT_FALSE(t.IsNodeRow(3));
    t.DeleteRow(1);
    EXPECT_EQ(t.GetAvailabelCountOfChild(0), 1);
    EXPECT_EQ(t.GetSetedCountOfChild(0), 0);
    int node = 0;
    t.ClearNodeChildren(node);
    EXPECT_EQ(t.GetAvailabelCountOfChild(0), 0);
    t.UpdateView();
    EXPECT_EQ(f.list.GetItemCount(), 1);
}
