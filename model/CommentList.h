#pragma once
// The record's comment items: created and dragged with the mouse in the view, drawn over the
// curves, edited, locked, hidden and deleted by the view's commands, and kept in the record's
// settings category "Comments".
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "model/CommentItem.h"
#include "platform/draw/ImageList.h"

class CChannel;

// What the comment list asks of the view that shows it.
class CommentView {
public:
    virtual ~CommentView() = default;
    // The channel's row height; 0 for a further member of a merged strip.
    virtual int GetChannelHeight(const CChannel& ch) const = 0;
    // The visible channel whose row holds content y, for x inside the plot; null elsewhere.
    virtual CChannel* ChannelFromPoint(int x, int contentY) const = 0;
    virtual bool ShowsDifferencePanel() const = 0;
    // Moves `top` to where a row of height h is drawn on `dc`: a printed picture starts a
    // row on the next page rather than let it reach into a page's time-axis band. On the
    // screen rows only follow each other.
    virtual void PlaceRow(const CDC* /*dc*/, int64_t& /*top*/, int /*h*/) const {}
    // The height of one printed page of the picture drawn on `dc`, each page ending in its own
    // time-axis band; 0 on the screen.
    virtual int64_t PageHeight(const CDC* /*dc*/) const { return 0; }
};

class CommentList {
public:
    enum Tool { kNoTool = 0, kMomentTool = 1, kLevelTool = 2, kAreaTool = 3 };

    explicit CommentList(DocumentModel* doc);
    ~CommentList();
    CommentList(const CommentList&) = delete;
    CommentList& operator=(const CommentList&) = delete;

    void SetView(CommentView* view) { m_view = view; }
    CommentView* GetView() const { return m_view; }
    // Edits an item's text in the comment dialog; true when the user accepted.
    void SetTextEditor(std::function<bool(CString&)> editor) { m_editText = std::move(editor); }

    CommentItem* FindItemAt(int leftWidth, int64_t firstSample, int x, int contentY, double xScale) const;
    // The item whose text a double click at the point edits: the one under the mouse, else the
    // area it lies inside (whose inside is otherwise the traces').
    CommentItem* FindItemToEdit(int leftWidth, int64_t firstSample, int x, int contentY, double xScale) const;
    // The comment-drag mouse mode a press starts: 9 for an edge, 10 for a level line, else 0.
    int HitTestPart(int x, int contentY, int64_t firstSample, int leftWidth, double xScale);
    // The same mode for the point without taking the item: what the pointer shows over it.
    int PartAt(int x, int contentY, int64_t firstSample, int leftWidth, double xScale) const {
        return PartAt(x, contentY, firstSample, leftWidth, xScale, nullptr, nullptr);
    }
    void OnLButtonDown(int leftWidth, int64_t firstSample, int x, int contentY, double xScale);
    // True when the view must repaint.
    bool OnMouseMove(int leftWidth, int64_t firstSample, int x, int contentY, double xScale);
    void OnLButtonUp();
    bool EditSelected();
    bool DeleteSelected();
    // Draws every item over the plot (client coordinates, the rows moved by `yOffset`).
    void Draw(CDC* dc, int right, int bottom, int yOffset, int leftWidth, int64_t firstSample, double xScale);
    void Save(SettingsNode* category) const;
    // Items that cannot be read or lie outside the record are left out; their count is
    // returned.
    int Load(const SettingsNode* category);
    // Drops the items whose channels are gone.
    void RemoveInvalid();
    // Items taken out of the list, each with its place in the list it was taken from, so that
    // an undo that brings their channels back can bring them back too.
    struct Taken {
        size_t index;
        std::unique_ptr<CommentItem> item;
    };
    using TakenItems = std::vector<Taken>;
    // Takes out the items whose channels are gone, as RemoveInvalid drops them.
    TakenItems TakeInvalid();
    // Puts items taken by one TakeInvalid back at their places; takings are put back in the
    // reverse of their order. Nothing is selected afterwards.
    void PutBack(TakenItems items);
    // Drops the items that do not fit the record (samples outside it, channels it lacks);
    // their count is returned.
    int RemoveItemsOutside();
    void SetSelectedLevel(const CString& text);
    // Where the view opens the level edit of the selected level item, and the level.
    bool GetSelectedLevelPlace(int64_t& sample, int& y, double& value) const;
    void GetMomentTexts(std::map<int64_t, CString>& out) const;
    // The rows as the view shows them, or as it draws them on `dc` when one is given.
    ChannelLayoutMap BuildChannelLayout(const CDC* dc = nullptr) const;
    int PartAt(int x, int contentY, int64_t firstSample, int leftWidth, double xScale, int* index, int* step) const;

    // Set or cleared by the view's tool commands: the end of a tool drops the pending step.
    void SetTool(int tool);

    const std::vector<std::unique_ptr<CommentItem>>& Items() const { return m_items; }
    // Appends an item (loading and tests); it is not selected.
    CommentItem* Add(std::unique_ptr<CommentItem> item);
    CommentItem* GetSelected() const;
    void SetSelected(const CommentItem* item);
    bool IsEmpty() const { return m_items.empty(); }
    const CImageList& GetIcons() const { return m_icons; }

    int m_tool = kNoTool;
    int m_step = 0;  // 0 none, 1 creating the last item, 2 start edge, 3 end edge, 4 level line
    int m_iconWidth = 20, m_iconHeight = 20;

private:
    // The sample under x, kept inside the record so that what is made stays loadable.
    int32_t SampleAt(int x, int leftWidth, int64_t firstSample, double xScale) const;
    // The analog channel under the point with a row, and its row; null elsewhere.
    const CChannel* LevelChannelAt(int x, int contentY, const ChannelLayoutMap& layout, ChannelRow& row) const;

    DocumentModel* m_doc;
    CommentView* m_view = nullptr;
    std::function<bool(CString&)> m_editText;
    std::vector<std::unique_ptr<CommentItem>> m_items;
    int m_selected = -1;
    CImageList m_icons;
};

// The 20 x 20 comment icon: a speech balloon with three lines of text on pure red, which the
// image list leaves transparent.
void DrawCommentIcon(CDC* dc, int x, int y);

// The record's header comment in the comment dialog: its bytes shown as text of the code page
// the option names (0 OEM 866, 1 ANSI 1251), and the text written back as such bytes. A
// switch of the option reads the same bytes in the other code page.
CString HeaderCommentToText(const CStringA& bytes, int option);
CStringA HeaderCommentFromText(const CString& text, int option);
// The characters of `text` that the code page of `option` has no byte for, each once, in the
// order they first appear: what writing the text in that code page would turn into '?'.
CString HeaderCommentUnfitChars(const CString& text, int option);
// Before the header comment is written in the code page of `option`: empty when every
// character fits. Otherwise the question to the user naming the characters that would be
// replaced, and in `suggested` the other code page when it holds the whole text (the question
// then offers it: yes takes it, no writes with the replacements), else -1 (the question asks
// whether to write with the replacements).
CString HeaderCommentLossQuestion(const CString& text, int option, int& suggested);
