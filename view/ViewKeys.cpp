// The caption column from the keyboard: the channel selection steps from caption to caption,
// and the captions' menu opens by the channel it reached.
#include <algorithm>
#include <set>

#include "document/TenvorikDoc.h"
#include "view/TenvorikView.h"

namespace oscview {

std::vector<CTenvorikView::CaptionBlock> CTenvorikView::CaptionBlocks() const {
    std::vector<CaptionBlock> blocks;
    if (!m_doc) return blocks;
    std::vector<CChannel*> order;
    std::set<const CChannel*> grouped, heads;
    BuildDisplayOrder(order, &grouped, &heads);
    int64_t top = 0;
    // The strip whose caption blocks are being walked; its members stack their blocks inside
    // the strip's row, below the head's.
    int64_t stripBottom = -1, blockTop = 0;
    for (CChannel* ch : order) {
        if (!(ch->m_flags & CHF_VISIBLE)) continue;
        int64_t T;
        int B;
        const bool member = grouped.count(ch) > 0 && !ch->IsDiscrete();
        if (member && !heads.count(ch) && stripBottom >= 0) {
            T = blockTop;
            B = GetCaptionBlockHeight(*ch);
            blockTop += B;
        } else {
            const int h = GetChannelHeight(*ch);
            T = top;
            top += h;
            B = member ? GetCaptionBlockHeight(*ch) : h;
            stripBottom = member ? top : -1;
            blockTop = T + B;
        }
        blocks.push_back({ch, T, B});
    }
    return blocks;
}

void CTenvorikView::ScrollRowsToShow(int64_t top, int height) {
    const int64_t available = int64_t(m_clientHeight) - GetBottomBand() + 2;
    const int64_t shownTop = -int64_t(m_yOffset);
    int64_t pos = shownTop;
    // The block's bottom comes into view, then its top, which wins for a block taller than
    // the rows' area.
    if (top + height > shownTop + available) pos = top + height - available;
    if (top < pos) pos = top;
    if (pos != shownTop) OnVScroll(kThumbPosition, std::max<int64_t>(pos, 0));
}

bool CTenvorikView::SelectChannelByKey(int step, bool extend) {
    if (!m_doc) return false;
    const std::vector<CaptionBlock> blocks = CaptionBlocks();
    if (blocks.empty()) return false;
    const int n = int(blocks.size());
    auto find = [&blocks, n](const CStringA& name) {
        for (int i = 0; i < n; ++i)
            if (!name.IsEmpty() && blocks[size_t(i)].channel->GetFileName() == name) return i;
        return -1;
    };
    const int anchor = find(m_rangeAnchor);
    int caret = find(m_caretChannel);
    if (caret < 0) caret = anchor;
    // A selection the keys did not make (the record's own, say) is stepped from at its end
    // in the direction of the step.
    for (int i = 0; caret < 0 && i < n; ++i) {
        const int at = step > 0 ? n - 1 - i : i;
        if (blocks[size_t(at)].channel->m_selected) caret = at;
    }
    const int next = caret < 0 ? (step > 0 ? 0 : n - 1) : std::clamp(caret + step, 0, n - 1);
    m_doc->GetOscillogram().ClearSelection();
    if (extend && anchor >= 0) {
        for (int i = std::min(anchor, next); i <= std::max(anchor, next); ++i) blocks[size_t(i)].channel->m_selected = true;
    } else {
        blocks[size_t(next)].channel->m_selected = true;
        m_rangeAnchor = blocks[size_t(next)].channel->GetFileName();
    }
    m_caretChannel = blocks[size_t(next)].channel->GetFileName();
    ScrollRowsToShow(blocks[size_t(next)].top, blocks[size_t(next)].height);
    if (m_host) {
        m_host->UpdateDiagrams();
        m_host->Invalidate();
    }
    return true;
}

CPoint CTenvorikView::CaptionMenuPoint() {
    const std::vector<CaptionBlock> blocks = CaptionBlocks();
    const CaptionBlock* at = nullptr;
    for (const CaptionBlock& b : blocks)
        if (b.channel->m_selected && (!at || b.channel->GetFileName() == m_caretChannel)) at = &b;
    if (!at) return CPoint(10, 10);
    ScrollRowsToShow(at->top, at->height);
    const int64_t y = at->top + m_yOffset + std::min(at->height / 2, 10);
    return CPoint(10, int(std::clamp<int64_t>(y, 0, std::max(m_clientHeight - GetBottomBand() - 1, 0))));
}

}  // namespace oscview
