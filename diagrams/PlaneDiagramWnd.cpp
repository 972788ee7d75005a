#include "diagrams/PlaneDiagramWnd.h"

#include <algorithm>
#include <cmath>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Resources.h"
#include "platform/Profile.h"

namespace {

const wchar_t kProfileKey[] = L"Properties Height";

}  // namespace

PlaneDiagramWnd::PlaneDiagramWnd(DiagramOwner* owner, const PlaneDiagramPlace& place)
    : DiagramWnd(owner), m_place(place), m_grid(this, !place.differential) {
    m_gridHeight = platform::GetProfileInt(m_place.profileSection, kProfileKey, 200);
}

bool PlaneDiagramWnd::EnterRecord(CTenvorikDoc* doc) {
    m_wasEditable = m_grid.IsEditable();
    m_grid.SetEditable(doc != nullptr);
    if (doc) return true;
    // The block and its values were the closed record's: nothing of them stays on show, and
    // the next record applies its own.
    m_lastDoc = nullptr;
    const bool reset = m_currentBlock != 0 && !m_blocks.empty();
    if (reset) m_grid.Fill(LoadResString(3306));
    if ((reset || m_wasEditable) && m_gridRebuild) m_gridRebuild();
    Invalidate();
    return false;
}

void PlaneDiagramWnd::LoadBlockSelection(CTenvorikDoc& doc, const CString& selectedBlock) {
    const bool haveBlock = m_currentBlock >= 0 && size_t(m_currentBlock) < m_blocks.size();
    if (haveBlock && selectedBlock != m_blocks[size_t(m_currentBlock)].name) {
        m_grid.Fill(selectedBlock.IsEmpty() ? LoadResString(3306) : selectedBlock);
        if (m_gridRebuild) m_gridRebuild();
    }
    if (&doc != m_lastDoc && m_currentBlock >= 0 && size_t(m_currentBlock) < m_blocks.size()) {
        m_lastDoc = &doc;
        m_blocks[size_t(m_currentBlock)].LoadSelection(&doc, !m_place.differential);
        UpdateCurrentBlock();
        if (m_gridRebuild) m_gridRebuild();
    } else if (!m_wasEditable && m_gridRebuild) {
        m_gridRebuild();
    }
}

void PlaneDiagramWnd::UpdateCurrentBlock() {
    if (m_currentBlock < 0 || size_t(m_currentBlock) >= m_blocks.size()) return;
    m_blocks[size_t(m_currentBlock)].ApplyParameters();
    Invalidate();
}

void PlaneDiagramWnd::SaveSelectedBlock() {
    if (m_currentBlock < 0 || size_t(m_currentBlock) >= m_blocks.size()) return;
    m_blocks[size_t(m_currentBlock)].SaveSelection(GetActiveDocument(), !m_place.differential);
}

void PlaneDiagramWnd::ReloadBlocks() {
    LoadProtectionBlocks(m_blocks, m_place.differential, m_libraryFolder);
    m_currentBlock = 0;
    m_grid.Reset(BlockTypeOptions(m_blocks));
    m_grid.Fill(LoadResString(3306));
    m_lastDoc = nullptr;
    if (m_gridRebuild) m_gridRebuild();
    LoadSettings();
    Invalidate();
}

// ---- zones of the current block

const Characteristic* PlaneDiagramWnd::BlockZones::Get(int k) const {
    const int b = m_wnd.m_currentBlock;
    if (b < 0 || size_t(b) >= m_wnd.m_blocks.size()) return nullptr;
    const auto& list = m_wnd.m_blocks[size_t(b)].characteristics;
    return k >= 0 && size_t(k) < list.size() ? &list[size_t(k)] : nullptr;
}

int PlaneDiagramWnd::BlockZones::CharacteristicCount() const {
    const int b = m_wnd.m_currentBlock;
    if (b < 0 || size_t(b) >= m_wnd.m_blocks.size()) return 0;
    return int(m_wnd.m_blocks[size_t(b)].characteristics.size());
}

bool PlaneDiagramWnd::BlockZones::IsVisible(int k) const {
    const Characteristic* c = Get(k);
    return c && c->visible;
}

int PlaneDiagramWnd::BlockZones::ColorIndex(int k) const {
    const Characteristic* c = Get(k);
    return c ? int(c->colorIndex % 9) : 0;
}

CString PlaneDiagramWnd::BlockZones::Dimension(int k) const {
    const Characteristic* c = Get(k);
    return c ? c->dimension : CString();
}

bool PlaneDiagramWnd::BlockZones::BuildZone(int k, int mode, double scale, CPoint origin, const CRect* view,
                                             CRgn& zone) const {
    const Characteristic* c = Get(k);
    if (!c) return false;
    CScreenDC dc;
    bool any = false;
    for (const auto& f : c->figures) {
        if (!f || int(f->mode) != mode) continue;
        CRgn r = f->Draw(&dc, scale, &origin, view);
        if (!any) {
            zone.CopyRgn(&r);
            any = true;
        } else {
            const int how = (f->type >= RGN_AND && f->type <= RGN_DIFF) ? int(f->type) : RGN_OR;
            zone.CombineRgn(&zone, &r, how);
        }
    }
    return any;
}

// ---- commands

void PlaneDiagramWnd::Store(const wchar_t* key, int value) {
    if (CTenvorikDoc* doc = GetActiveDocument()) {
        doc->m_settings.GetCategory(m_place.category).SetInt(key, value);
        doc->SetModifiedFlag(true);
    }
}

void PlaneDiagramWnd::FlipSwitch(bool& member, const wchar_t* key) {
    member = !member;
    Store(key, member ? 1 : 0);
    Invalidate();
}

bool PlaneDiagramWnd::OnCommand(unsigned id) {
    switch (id) {
        case ID_CIRCLE_SIGHTS_ONLY:
        case ID_CIRCLE_TB_SIGHTS_ONLY: FlipSwitch(m_sightsOnly, L"SightsOnly"); return true;
        case ID_CIRCLE_SHOW_OFF:
        case ID_CIRCLE_TB_SHOW_OFF: FlipSwitch(m_showOff, L"ShowOffCharacteristics"); return true;
        case ID_CIRCLE_TB_ZOOM_IN: ZoomIn(); return true;
        case ID_CIRCLE_TB_ZOOM_OUT: ZoomOut(); return true;
        case ID_CIRCLE_TB_UP: StepOrigin(false, -2); return true;
        case ID_CIRCLE_TB_DOWN: StepOrigin(false, 2); return true;
        case ID_CIRCLE_TB_LEFT: StepOrigin(true, -2); return true;
        case ID_CIRCLE_TB_RIGHT: StepOrigin(true, 2); return true;
        case ID_CIRCLE_RELOAD_BLOCKS:
        case ID_CIRCLE_TB_RELOAD: ReloadBlocks(); return true;
        default: break;
    }
    CTenvorikDoc* doc = GetActiveDocument();
    if (id == ID_CIRCLE_SHOW_ALL || id == ID_CIRCLE_HIDE_ALL) {
        if (!doc) return true;
        ShowAll(*doc, id == ID_CIRCLE_SHOW_ALL);
        doc->SetModifiedFlag(true);
        Invalidate();
        return true;
    }
    if (id == ID_CIRCLE_CREATE_PAIR) {
        if (!doc) return true;
        PrunePairs(*doc);
        std::vector<ChannelPair> pairs = Pairs(*doc);
        if (m_pairEditor && m_pairEditor(pairs)) {
            Pairs(*doc) = std::move(pairs);
            doc->SetModifiedFlag(true);
            Invalidate();
        }
        return true;
    }
    if (id >= ID_CIRCLE_ITEM_FIRST && id < ID_CIRCLE_ITEM_FIRST + kCircleMenuItems) {
        // A pair pruned while its menu was open no longer answers its item.
        if (doc && ToggleItem(*doc, int(id - ID_CIRCLE_ITEM_FIRST))) {
            doc->SetModifiedFlag(true);
            Invalidate();
        }
        return true;
    }
    return false;
}

void PlaneDiagramWnd::OnUpdateCommand(CCmdUI& ui) {
    const unsigned id = ui.m_nID;
    switch (id) {
        case ID_CIRCLE_SIGHTS_ONLY:
        case ID_CIRCLE_TB_SIGHTS_ONLY: ui.SetCheck(m_sightsOnly); return;
        case ID_CIRCLE_SHOW_OFF:
        case ID_CIRCLE_TB_SHOW_OFF: ui.SetCheck(m_showOff); return;
        case ID_CIRCLE_CREATE_PAIR: ui.Enable(GetActiveDocument() != nullptr); return;
        default: break;
    }
    if (id >= ID_CIRCLE_ITEM_FIRST && id < ID_CIRCLE_ITEM_FIRST + kCircleMenuItems) {
        const CTenvorikDoc* doc = GetActiveDocument();
        ui.SetCheck(doc && IsItemChecked(*doc, int(id - ID_CIRCLE_ITEM_FIRST)));
    }
}

std::vector<DiagramMenuItem> PlaneDiagramWnd::ChannelMenuHead() const {
    return {{ID_CIRCLE_CREATE_PAIR, LoadResString(ID_CIRCLE_CREATE_PAIR), {}},
            {ID_CIRCLE_SHOW_ALL, LoadResString(ID_CIRCLE_SHOW_ALL), {}},
            {ID_CIRCLE_HIDE_ALL, LoadResString(ID_CIRCLE_HIDE_ALL), {}},
            DiagramMenuItem::Separator()};
}

void PlaneDiagramWnd::InsertMenuItem(std::vector<DiagramMenuItem>& menu, int position, DiagramMenuItem item) {
    const size_t at = std::min(size_t(std::max(position, 0)), menu.size());
    menu.insert(menu.begin() + std::ptrdiff_t(at), std::move(item));
}

// ---- zoom, origin and scroll bars

double PlaneDiagramWnd::PairDataExtent(const CTenvorikDoc& doc, const std::vector<ChannelPair>& pairs) const {
    const COscillogram& osc = doc.m_oscillogram;
    const SampleRange r = CirclePlottedRange(m_sightsOnly, doc.m_cursors.m_cursors[0].position,
                                             doc.m_cursors.m_cursors[1].position, CircleSamplesPerPeriod(osc),
                                             osc.GetSampleCount(), false);
    double m = 0;
    if (r.Empty()) return m;
    for (const ChannelPair& p : pairs) {
        const CChannel *a = nullptr, *b = nullptr;
        if (!p.visible || !FindPairChannels(doc, p, &a, &b)) continue;
        for (int64_t i = r.start; i <= r.end; ++i) {
            const double x = a->GetValue(uint32_t(i)), y = b->GetValue(uint32_t(i));
            if (!std::isnan(x)) m = std::max(m, std::fabs(x));
            if (!std::isnan(y)) m = std::max(m, std::fabs(y));
        }
    }
    return m;
}

CircleScales PlaneDiagramWnd::SingleScale(double dataMax, int s, const CRect& plot) {
    ComputeZoneExtents();
    CScreenDC screen;
    const double m = std::max({m_extentR, m_extentP, dataMax});
    return ComputeCircleScales(m, 0, screen.GetDeviceCaps(LOGPIXELSX), s, plot, m_zoom);
}

void PlaneDiagramWnd::ComputeZoneExtents() {
    m_extentR = m_extentP = 0;
    if (!m_zones) return;
    for (int k = 0; k < m_zones->CharacteristicCount(); ++k) {
        if (!m_zones->IsVisible(k)) continue;
        const bool resistance = m_zones->Dimension(k) == LoadResString(3060);
        for (int mode : {1, 0}) {
            CRgn zone;
            if (!m_zones->BuildZone(k, mode, 1.0, CPoint(0, 0), nullptr, zone)) continue;
            CRect box;
            zone.GetRgnBox(&box);
            double& e = resistance ? m_extentR : m_extentP;
            for (int v : {box.left, box.top, box.right, box.bottom}) e = std::max(e, std::fabs(double(v)));
        }
    }
}

int PlaneDiagramWnd::GetScrollLimit(bool horizontal) {
    CRect r(CPoint(0, 0), GetClientSize());
    r.DeflateRect(6, 6);
    r.top += 5;
    r.bottom -= 20;
    // Pairs whose channels went away are skipped here; the next drawing prunes them.
    const CircleScales sc = ComputeScales(GetActiveDocument(), 1, r);
    if (!sc.ok) return 0;
    return CircleScrollLimit(horizontal ? r.Width() : r.Height(), sc.cell, m_zoom);
}

bool PlaneDiagramWnd::CanZoomTo(double newZoom) {
    CRect r(CPoint(0, 0), GetClientSize());
    r.DeflateRect(8, 16);
    const CircleScales sc = ComputeScales(GetActiveDocument(), 1, r);
    if (!sc.ok) return false;
    // Far enough to tell apart values a ten-thousandth of the scale's, and no further, where
    // cell sizes would lose their digits.
    constexpr double kMaxZoom = 10000;
    if (newZoom > kMaxZoom) return false;
    return CircleCanZoomTo(sc.ppuR, m_zoom, newZoom, ZoneGuardExtent());
}

void PlaneDiagramWnd::UpdateScrollBars() {
    const int lh = m_zoom > 1.0 ? GetScrollLimit(true) : 0;
    const int lv = m_zoom > 1.0 ? GetScrollLimit(false) : 0;
    m_bars = CircleScrollBarState(m_zoom, m_offH, m_offV, lh, lv);
}

bool PlaneDiagramWnd::ZoomTo(double zoom) {
    // Steps in and as many out come back to 1 exactly, not to a rounding of it.
    if (std::fabs(zoom - 1.0) < 1e-9) zoom = 1.0;
    if (!CanZoomTo(zoom)) return false;
    m_zoom = zoom;
    if (m_zoom <= 1.0) {
        m_offH = m_offV = 0;
        OnZoomReset();
    }
    UpdateScrollBars();
    Invalidate();
    return true;
}

bool PlaneDiagramWnd::StepOrigin(bool horizontal, int delta) {
    int& off = horizontal ? m_offH : m_offV;
    const int next = off + delta;
    if (std::abs(next) > GetScrollLimit(horizontal)) return false;
    off = next;
    OnOriginMoved();
    UpdateScrollBars();
    Invalidate();
    return true;
}

void PlaneDiagramWnd::OnMouseWheel(unsigned keyState, int delta) {
    if (keyState == 8) {
        if (delta >= 0)
            ZoomIn();
        else
            ZoomOut();
    } else if (keyState == 4) {
        StepOrigin(true, delta > 0 ? 2 : -2);
    } else {
        StepOrigin(false, delta > 0 ? 2 : -2);
    }
}

void PlaneDiagramWnd::OnScroll(bool horizontal, CircleScrollCode code, int delivered) {
    int& pos = horizontal ? m_bars.posH : m_bars.posV;
    const int next = CircleScrollPosition(code, pos, delivered, m_bars.range);
    if (next < 0) return;
    pos = std::clamp(next, 0, std::max(m_bars.range, 0));
    (horizontal ? m_offH : m_offV) = CircleOffsetFromPosition(m_zoom, GetScrollLimit(horizontal), m_bars.range, pos);
    OnOriginMoved();
    Invalidate();
}

void PlaneDiagramWnd::DragSplitLine(int dy, int paneHeight) {
    m_gridHeight = ClampCircleGridHeight(m_gridHeight + dy, paneHeight);
    platform::WriteProfileInt(m_place.profileSection, kProfileKey, m_gridHeight);
}
