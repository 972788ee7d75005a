// The comment tools and the commands on the comment item under the mouse: the tools arm the
// comment list for the next press in the plot; the item commands edit, lock, delete, hide
// and retype the level of the item the mouse last moved over.
#include <algorithm>
#include <climits>

#include "document/TenvorikDoc.h"
#include "model/CommentStrings.h"
#include "model/Resources.h"
#include "view/TenvorikView.h"

namespace oscview {

namespace {

enum : unsigned { IDS_COMMENT_EDIT_TEXT = 9971, IDS_COMMENT_EDIT_LEVEL = 9972 };

int ToolOf(unsigned id) {
    switch (id) {
        case ID_COMMENT_MOMENT: return CommentList::kMomentTool;
        case ID_COMMENT_LEVEL: return CommentList::kLevelTool;
        case ID_COMMENT_AREA: return CommentList::kAreaTool;
        default: return CommentList::kNoTool;
    }
}

// Comments are kept only for the records whose settings travel with them.
bool TakesComments(const CTenvorikDoc& doc) {
    const CString& path = doc.GetPathName();
    return HasFileType(path, L".cfg") || HasFileType(path, L".osc");
}

}  // namespace

bool IsCommentCommand(unsigned id) {
    return (id >= ID_COMMENT_MOMENT && id <= ID_COMMENT_AREA) || (id >= ID_COMMENT_EDIT && id <= ID_COMMENT_LEVEL_EDIT);
}

bool CTenvorikView::OnCommentCommand(unsigned id) {
    if (!m_doc || !IsCommentCommand(id)) return false;
    CommentList& comments = m_doc->m_comments;
    if (const int tool = ToolOf(id)) {
        if (!TakesComments(*m_doc)) return true;
        if (m_mouseMode == 7) m_mouseMode = 0;
        comments.SetTool(comments.m_tool == tool ? int(CommentList::kNoTool) : tool);
        if (m_host) m_host->Invalidate();
        return true;
    }
    CommentItem* item = comments.GetSelected();
    switch (id) {
        case ID_COMMENT_EDIT:
            if (comments.EditSelected() && m_host) m_host->Invalidate();
            break;
        case ID_COMMENT_LOCK:
            if (!item) break;
            item->m_locked = !item->m_locked;
            m_doc->SetModifiedFlag(true);
            break;
        case ID_COMMENT_DELETE:
            if (comments.DeleteSelected() && m_host) m_host->Invalidate();
            break;
        case ID_COMMENT_HIDE:
            if (!item) break;
            item->m_visible = !item->m_visible;
            m_doc->SetModifiedFlag(true);
            if (m_host) m_host->Invalidate();
            break;
        default: break;
    }
    return true;
}

CommentCommandState CTenvorikView::GetCommentCommandState(unsigned id) const {
    CommentCommandState s;
    if (!m_doc || !IsCommentCommand(id)) return s;
    s.known = true;
    const CommentList& comments = m_doc->m_comments;
    if (const int tool = ToolOf(id)) {
        s.enabled = TakesComments(*m_doc);
        s.checkable = true;
        s.checked = comments.m_tool == tool;
        return s;
    }
    const CommentItem* item = comments.GetSelected();
    s.enabled = item != nullptr;
    if (id == ID_COMMENT_LEVEL_EDIT) s.enabled = item && item->GetKind() == CommentItem::kLevel;
    if (id == ID_COMMENT_LOCK || id == ID_COMMENT_HIDE) {
        s.checkable = item != nullptr;
        s.checked = item && (id == ID_COMMENT_LOCK ? item->m_locked : item->m_visible);
    }
    if (id == ID_COMMENT_HIDE)
        s.text = LoadResString(!item || item->m_visible ? IDS_COMMENT_HIDE : IDS_COMMENT_SHOW);
    return s;
}

std::vector<CommentMenuEntry> CTenvorikView::CommentMenu() const {
    std::vector<CommentMenuEntry> menu;
    const CommentItem* item = m_doc ? m_doc->m_comments.GetSelected() : nullptr;
    if (!item) return menu;
    const int kind = item->GetKind();
    const unsigned del = kind == CommentItem::kArea    ? IDS_COMMENT_DELETE_AREA
                         : kind == CommentItem::kLevel ? IDS_COMMENT_DELETE_LEVEL
                                                       : IDS_COMMENT_DELETE_MOMENT;
    unsigned lock = item->m_locked ? IDS_COMMENT_UNLOCK_MOMENT : IDS_COMMENT_LOCK_MOMENT;
    if (kind == CommentItem::kArea) lock = item->m_locked ? IDS_COMMENT_UNLOCK_AREA : IDS_COMMENT_LOCK_AREA;
    if (kind == CommentItem::kLevel) lock = item->m_locked ? IDS_COMMENT_UNLOCK_LEVEL : IDS_COMMENT_LOCK_LEVEL;
    menu.push_back({ID_COMMENT_EDIT, LoadResString(IDS_COMMENT_EDIT_TEXT)});
    menu.push_back({ID_COMMENT_LOCK, LoadResString(lock), true, item->m_locked});
    menu.push_back({ID_COMMENT_DELETE, LoadResString(del)});
    menu.push_back({ID_COMMENT_HIDE, LoadResString(item->m_visible ? IDS_COMMENT_HIDE : IDS_COMMENT_SHOW), true,
                    item->m_visible});
    if (kind == CommentItem::kLevel) menu.push_back({ID_COMMENT_LEVEL_EDIT, LoadResString(IDS_COMMENT_EDIT_LEVEL)});
    return menu;
}

bool CTenvorikView::GetLevelEditPlace(LevelEditPlace& place) const {
    if (!m_doc) return false;
    int64_t sample = 0;
    int y = 0;
    double value = 0;
    if (!m_doc->m_comments.GetSelectedLevelPlace(sample, y, value)) return false;
    place.x = std::max(m_leftWidth, CommentSampleX(sample, m_leftWidth, m_firstSample, m_xScale));
    place.y = y + m_yOffset;
    place.text.Format(L"%.2f", value);
    return true;
}

void CTenvorikView::ApplyLevelEdit(const CString& text) {
    if (!m_doc) return;
    m_doc->m_comments.SetSelectedLevel(text);
    m_doc->SetModifiedFlag(true);
    if (m_host) m_host->Invalidate();
}

bool CTenvorikView::OnDoubleClick(int x, int y) {
    if (!m_doc || x < m_leftWidth || m_doc->m_comments.IsEmpty()) return false;
    CommentList& comments = m_doc->m_comments;
    if (CommentItem* item = comments.FindItemToEdit(m_leftWidth, m_firstSample, x, y - m_yOffset, m_xScale)) {
        comments.SetSelected(item);
        if (m_pressMovedCursor >= 0) {
            CursorSet& cursors = m_doc->m_cursors;
            const CursorMarker before = m_cursorBeforePress;
            if (before.shown) cursors.SetPosition(m_pressMovedCursor, before.position);
            cursors.m_cursors[size_t(m_pressMovedCursor)] = before;
            cursors.UpdateReadouts();
            m_pressMovedCursor = -1;
            if (m_host) m_host->Invalidate();
        }
    }
    const bool changed = comments.EditSelected();
    if (changed && m_host) m_host->Invalidate();
    return changed;
}

}  // namespace oscview
