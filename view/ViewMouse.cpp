// The time cursors under the mouse and the keyboard: pressing on a cursor drags it, pressing
// on the traces places В1 (left button) or В2 (right), with SHIFT the level cursors, and the
// arrow keys step them; the selected channels are dragged out of the caption column.
#include <algorithm>
#include <cmath>
#include <set>

#include "document/TenvorikDoc.h"
#include "view/TenvorikView.h"
#include "view/ViewZoom.h"

namespace oscview {

void CTenvorikView::OnButtonDown(int x, int y, bool left, bool shift, bool ctrl, bool rightHeld) {
    if (!m_doc) return;
    if (y >= m_clientHeight - GetBottomBand()) {
        // A press on the time axis band lets go of the channel selection and nothing else.
        m_doc->GetOscillogram().ClearSelection();
        if (m_host) m_host->Invalidate();
        return;
    }
    if (x < m_leftWidth) {
        SelectInCaptionColumn(y - m_yOffset, left, rightHeld || !left, ctrl, shift);
        // An armed or running measurement does not survive a press elsewhere.
        if (m_mouseMode == 7 || m_mouseMode == 8) m_mouseMode = 0;
        if (m_host) m_host->Invalidate();
        return;
    }
    CursorSet& cursors = m_doc->m_cursors;
    CommentList& comments = m_doc->m_comments;
    m_pressMovedCursor = -1;
    int hit = cursors.HitTest(x, y, m_firstSample, m_leftWidth, m_yOffset, m_xScale);
    // Only a held left button drags a comment: a right press leaves the list as it was.
    if (hit == 0 && left) hit = comments.HitTestPart(x, y - m_yOffset, m_firstSample, m_leftWidth, m_xScale);
    if (left && ((hit >= 1 && hit <= 5) || hit == 9 || hit == 10)) {
        m_mouseMode = hit;
        return;
    }
    // Pasted channels are taken by the left button and moved in time against the record.
    if (left && IsPastedChannelAt(CPoint(x, y))) {
        m_dragStartX = x;
        m_dragStartShift = m_doc->m_merger.GetTimeShift();
        m_mouseMode = 6;
        return;
    }
    if (x <= m_leftWidth || y >= m_clientHeight - GetBottomBand()) return;
    if (const int tool = comments.m_tool) {
        if (!left) return;
        comments.OnLButtonDown(m_leftWidth, m_firstSample, x, y - m_yOffset, m_xScale);
        // Only a press that made an item shapes it: an item already under the mouse stays.
        if (tool != CommentList::kMomentTool && comments.m_step == 1) m_mouseMode = 9;
        if (m_host) m_host->Invalidate();
        return;
    }
    if (shift) {
        cursors.PlaceLevelCursor(left, m_yOffset, x, y);
        m_mouseMode = left ? 4 : 5;
    } else if (m_mouseMode == 7 && left) {
        // The measurement starts on the analog row under the press; elsewhere it is dropped.
        int index = -1;
        int64_t top = 0;
        int h = 0;
        m_mouseMode = 0;
        if (AnalogRowAt(int64_t(y) - m_yOffset, index, top, h)) {
            m_mouseMode = 8;
            m_measureChannel = index;
            m_measureX = x;
            m_measureY1 = m_measureY2 = double(int64_t(y) - m_yOffset);
        }
    } else if (!comments.GetSelected()) {
        m_pressMovedCursor = left ? 0 : 1;
        m_cursorBeforePress = cursors.m_cursors[size_t(m_pressMovedCursor)];
        cursors.MoveVerticalCursor(left, m_leftWidth, m_firstSample, x, m_xScale);
        m_mouseMode = left ? 1 : 2;
    }
    if (m_host) m_host->Invalidate();
}

CTenvorikView::Pointer CTenvorikView::PointerAt(int x, int y) const {
    switch (m_mouseMode) {
        case 1:
        case 2:
        case 3: return Pointer::SizeWE;
        case 4:
        case 5: return Pointer::SizeNS;
        case 6: return Pointer::Hand;
        case 7:
        case 8: return Pointer::UpArrow;
        default: break;
    }
    if (!m_doc || x < m_leftWidth || y >= m_clientHeight - GetBottomBand()) return Pointer::Default;
    int hit = m_doc->m_cursors.HitTest(x, y, m_firstSample, m_leftWidth, m_yOffset, m_xScale);
    if (hit == 0) hit = m_doc->m_comments.PartAt(x, y - m_yOffset, m_firstSample, m_leftWidth, m_xScale);
    if (hit == 1 || hit == 2 || hit == 3 || hit == 9) return Pointer::SizeWE;
    if (hit == 4 || hit == 5 || hit == 10) return Pointer::SizeNS;
    if (IsPastedChannelAt(CPoint(x, y))) return Pointer::Hand;
    return Pointer::Default;
}

void CTenvorikView::OnMouseMove(int x, int y) {
    if (!m_doc) return;
    CursorSet& cursors = m_doc->m_cursors;
    switch (m_mouseMode) {
        case 1:
        case 2: cursors.MoveVerticalCursor(m_mouseMode == 1, m_leftWidth, m_firstSample, x, m_xScale); break;
        case 3: cursors.MoveThirdCursor(m_leftWidth, m_firstSample, x, m_xScale); break;
        case 4:
        case 5: cursors.PlaceLevelCursor(m_mouseMode == 4, m_yOffset, x, y); break;
        case 6: {
            const int rate = m_doc->m_oscillogram.m_samplingFrequency;
            if (rate <= 0 || !(m_xScale > 0.0)) return;
            m_doc->m_merger.SetDraggedShift(m_dragStartShift + double(x - m_dragStartX) / (25.0 * m_xScale) / rate);
            m_doc->RefreshAllViews();
            return;
        }
        case 8: {
            int index = -1;
            int64_t top = 0;
            int h = 0;
            if (!AnalogRowAt(int64_t(m_measureY1), index, top, h)) return;
            m_measureY2 = double(std::clamp<int64_t>(int64_t(y) - m_yOffset, top, top + h - 1));
            break;
        }
        case 9:
        case 10:
            if (!m_doc->m_comments.OnMouseMove(m_leftWidth, m_firstSample, x, y - m_yOffset, m_xScale)) return;
            break;
        default: {
            // The comment under the mouse is the one the item commands act on.
            if (x <= m_leftWidth) return;
            CommentList& comments = m_doc->m_comments;
            CommentItem* before = comments.GetSelected();
            comments.SetSelected(comments.FindItemAt(m_leftWidth, m_firstSample, x, y - m_yOffset, m_xScale));
            if (comments.GetSelected() == before) return;
            break;
        }
    }
    if (m_host) m_host->Invalidate();
}

void CTenvorikView::OnButtonUp() {
    if ((m_mouseMode == 9 || m_mouseMode == 10) && m_doc && m_doc->m_comments.m_step != 0) {
        m_doc->m_comments.OnLButtonUp();
        if (m_host) m_host->Invalidate();
    }
    if (m_mouseMode == 8 && m_doc) FinishMeasurement();
    m_mouseMode = 0;
}

CChannel* CTenvorikView::CaptionChannelAt(int contentY, int64_t* topOut, int* heightOut) const {
    for (const CaptionBlock& b : CaptionBlocks()) {
        if (contentY < b.top || contentY >= b.top + b.height) continue;
        if (topOut) *topOut = b.top;
        if (heightOut) *heightOut = b.height;
        return b.channel;
    }
    return nullptr;
}

void CTenvorikView::SelectInCaptionColumn(int contentY, bool left, bool right, bool ctrl, bool shift) {
    if (!m_doc) return;
    COscillogram& osc = m_doc->GetOscillogram();
    if (!ctrl && !right) osc.ClearSelection();
    // A press below the last caption only clears.
    if (CChannel* hit = CaptionChannelAt(contentY)) {
        if (right && !left && !ctrl && !shift) {
            // The context menu acts on the selection; a channel outside it becomes the selection.
            if (!hit->m_selected) {
                osc.ClearSelection();
                hit->m_selected = true;
            }
        } else if (shift && left) {
            if (!m_rangeAnchor.IsEmpty()) {
                std::vector<CChannel*> order;
                std::set<const CChannel*> grouped, heads;
                BuildDisplayOrder(order, &grouped, &heads);
                const auto at = std::find(order.begin(), order.end(), hit);
                auto from = std::find_if(order.begin(), order.end(),
                                         [this](const CChannel* c) { return c->GetFileName() == m_rangeAnchor; });
                if (from == order.end()) from = at;
                auto lo = std::min(from, at), hi = std::max(from, at);
                // Hidden channels in between stay out: they would be dragged along unseen.
                for (auto it = lo; it <= hi; ++it)
                    if ((*it)->m_flags & CHF_VISIBLE) (*it)->m_selected = true;
            }
        } else {
            hit->m_selected = !hit->m_selected;
            if (hit->m_selected) m_rangeAnchor = hit->GetFileName();
        }
        // The selection keys go on from the channel last pressed.
        m_caretChannel = hit->GetFileName();
    }
    if (m_host) m_host->UpdateDiagrams();
}

std::vector<uint32_t> CTenvorikView::ChannelsToDrag(int x, bool left, bool right, bool ctrl) const {
    std::vector<uint32_t> out;
    // Only an idle view (or one merely armed for a measurement) hands channels over; every
    // other mode owns the mouse until the button comes up.
    if (!m_doc || (m_mouseMode != 0 && m_mouseMode != 7)) return out;
    if (!left || right || ctrl || x >= m_leftWidth) return out;
    const COscillogram& osc = m_doc->GetOscillogram();
    const size_t analog = std::min(size_t(std::max(0, osc.m_analogCount)), osc.m_channels.size());
    for (size_t i = 0; i < analog; ++i)
        if (osc.m_channels[i].m_selected) out.push_back(uint32_t(i));
    return out;
}

std::vector<uint8_t> WriteDraggedChannels(const std::vector<uint32_t>& channels) {
    std::vector<uint8_t> out;
    out.reserve(4 * (channels.size() + 1));
    auto put = [&out](uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
    };
    put(uint32_t(channels.size()));
    for (uint32_t i : channels) put(i);
    return out;
}

void CTenvorikView::OnArrowKey(ArrowKey key, bool ctrl) {
    if (!m_doc) return;
    CursorSet& cursors = m_doc->m_cursors;
    if (key == kArrowLeft || key == kArrowRight) {
        const int i = ctrl ? 1 : 0;
        const int64_t pos = cursors.m_cursors[size_t(i)].position;
        cursors.SetPosition(i, key == kArrowLeft ? std::max<int64_t>(pos - 1, 0) : pos + 1);
        // A cursor stepped to the traces' edge takes them along, with room for its label.
        const int64_t labelRoom = int64_t(std::ceil(24.0 / (25.0 * m_xScale)));
        const int64_t first = FirstSampleFollowing(cursors.m_cursors[size_t(i)].position, m_firstSample, m_visibleSpan,
                                                   m_doc->GetOscillogram().GetSampleCount(), labelRoom);
        if (first != m_firstSample) {
            m_firstSample = first;
            RecalcLayout();
        }
    } else {
        const int i = ctrl ? 4 : 3;
        const CursorMarker& m = cursors.m_cursors[size_t(i)];
        if (m.channel >= 0) {
            int y = cursors.ValueToY(m.channel, m_yOffset, m.level);
            y = key == kArrowUp ? std::max(y - 1, 0) : y + 1;
            cursors.PlaceLevelCursor(i == 3, m_yOffset, 10, y);
        }
    }
    if (m_host) m_host->Invalidate();
    cursors.UpdateReadouts();
}

void CTenvorikView::OnToggleCursorCommand(unsigned id) {
    if (!m_doc) return;
    CursorSet& cursors = m_doc->m_cursors;
    const int k = id == ID_CURSOR_V1 ? 1 : id == ID_CURSOR_V2 ? 2 : id == ID_CURSOR_V3 ? 3 : 0;
    if (k && !cursors.m_cursors[size_t(k - 1)].shown && cursors.m_cursors[size_t(k - 1)].position == 0) {
        const int x = m_leftWidth + k * ((m_clientWidth - m_leftWidth) / 4);
        if (k == 3) cursors.MoveThirdCursor(m_leftWidth, m_firstSample, x, m_xScale);
        else cursors.MoveVerticalCursor(k == 1, m_leftWidth, m_firstSample, x, m_xScale);
    } else {
        cursors.OnToggleCursor(id);
    }
    if (m_host) m_host->Invalidate();
}

}  // namespace oscview
