#include "diagrams/CircleDiagramWnd.h"

#include <algorithm>
#include <cmath>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Resources.h"
#include "platform/Profile.h"

namespace {

const wchar_t kCategory[] = L"Circle Chart";
const wchar_t kProfileSection[] = L"Circle Diagram";
const wchar_t kProfileKey[] = L"Properties Height";

}  // namespace

CircleDiagramWnd::CircleDiagramWnd(DiagramOwner* owner) : DiagramWnd(owner) {
    m_gridHeight = platform::GetProfileInt(kProfileSection, kProfileKey, 200);
}

void CircleDiagramWnd::LoadSettings() {
    CTenvorikDoc* doc = GetActiveDocument();
    const bool wasEditable = m_grid.IsEditable();
    m_grid.SetEditable(doc != nullptr);
    if (!doc) {
        // The block and its values were the closed record's: nothing of them stays on show,
        // and the next record applies its own.
        m_lastDoc = nullptr;
        const bool reset = m_currentBlock != 0 && !m_blocks.empty();
        if (reset) m_grid.Fill(LoadResString(3306));
        if ((reset || wasEditable) && m_gridRebuild) m_gridRebuild();
        Invalidate();
        return;
    }
    const CircleChartSettings s = LoadCircleChartSettings(doc->m_settings.GetCategory(kCategory));
    m_sightsOnly = s.sightsOnly;
    m_showOff = s.showOffCharacteristics;
    m_view = s.viewChannelType;
    const bool haveBlock = m_currentBlock >= 0 && size_t(m_currentBlock) < m_blocks.size();
    if (haveBlock && s.selectedBlock != m_blocks[size_t(m_currentBlock)].name) {
        m_grid.Fill(s.selectedBlock.IsEmpty() ? LoadResString(3306) : s.selectedBlock);
        if (m_gridRebuild) m_gridRebuild();
    }
    StripNonCircleChannels(doc->GetOscillogram());
    if (doc != m_lastDoc && m_currentBlock >= 0 && size_t(m_currentBlock) < m_blocks.size()) {
        m_lastDoc = doc;
        m_blocks[size_t(m_currentBlock)].LoadSelection(doc, true);
        UpdateCurrentBlock();
        if (m_gridRebuild) m_gridRebuild();
    } else if (!wasEditable && m_gridRebuild) {
        m_gridRebuild();
    }
    Invalidate();
}

void CircleDiagramWnd::UpdateCurrentBlock() {
    if (m_currentBlock < 0 || size_t(m_currentBlock) >= m_blocks.size()) return;
    m_blocks[size_t(m_currentBlock)].ApplyParameters();
    Invalidate();
}

void CircleDiagramWnd::SaveSelectedBlock() {
    if (m_currentBlock < 0 || size_t(m_currentBlock) >= m_blocks.size()) return;
    m_blocks[size_t(m_currentBlock)].SaveSelection(GetActiveDocument(), true);
}

void CircleDiagramWnd::ReloadBlocks() {
    LoadProtectionBlocks(m_blocks, false, m_libraryFolder);
    m_currentBlock = 0;
    m_grid.Reset(BlockTypeOptions(m_blocks));
    m_grid.Fill(LoadResString(3306));
    m_lastDoc = nullptr;
    if (m_gridRebuild) m_gridRebuild();
    LoadSettings();
    Invalidate();
}

// ---- zones of the current block

const Characteristic* CircleDiagramWnd::BlockZones::Get(int k) const {
    const int b = m_wnd.m_currentBlock;
    if (b < 0 || size_t(b) >= m_wnd.m_blocks.size()) return nullptr;
    const auto& list = m_wnd.m_blocks[size_t(b)].characteristics;
    return k >= 0 && size_t(k) < list.size() ? &list[size_t(k)] : nullptr;
}

int CircleDiagramWnd::BlockZones::CharacteristicCount() const {
    const int b = m_wnd.m_currentBlock;
    if (b < 0 || size_t(b) >= m_wnd.m_blocks.size()) return 0;
    return int(m_wnd.m_blocks[size_t(b)].characteristics.size());
}

bool CircleDiagramWnd::BlockZones::IsVisible(int k) const {
    const Characteristic* c = Get(k);
    return c && c->visible;
}

int CircleDiagramWnd::BlockZones::ColorIndex(int k) const {
    const Characteristic* c = Get(k);
    return c ? int(c->colorIndex % 9) : 0;
}

CString CircleDiagramWnd::BlockZones::Dimension(int k) const {
    const Characteristic* c = Get(k);
    return c ? c->dimension : CString();
}

bool CircleDiagramWnd::BlockZones::BuildZone(int k, int mode, double scale, CPoint origin, const CRect* view,
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

void CircleDiagramWnd::Store(const wchar_t* key, int value) {
    if (CTenvorikDoc* doc = GetActiveDocument()) {
        doc->m_settings.GetCategory(kCategory).SetInt(key, value);
        doc->SetModifiedFlag(true);
    }
}

void CircleDiagramWnd::FlipSwitch(bool& member, const wchar_t* key, bool /*grid*/) {
    member = !member;
    Store(key, member ? 1 : 0);
    Invalidate();
}

void CircleDiagramWnd::SetView(unsigned view) {
    m_view = m_view == view ? 0 : view;
    Store(L"ViewChannelType", int(m_view));
    Invalidate();
}

bool CircleDiagramWnd::OnCommand(unsigned id) {
    switch (id) {
        case ID_CIRCLE_SIGHTS_ONLY:
        case ID_CIRCLE_TB_SIGHTS_ONLY: FlipSwitch(m_sightsOnly, L"SightsOnly", false); return true;
        case ID_CIRCLE_SHOW_OFF:
        case ID_CIRCLE_TB_SHOW_OFF: FlipSwitch(m_showOff, L"ShowOffCharacteristics", true); return true;
        case ID_CIRCLE_VIEW_REIM:
        case ID_CIRCLE_TB_VIEW_REIM: SetView(1); return true;
        case ID_CIRCLE_VIEW_RMS_ANGLE:
        case ID_CIRCLE_TB_VIEW_RMS_ANGLE: SetView(2); return true;
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
        if (id == ID_CIRCLE_SHOW_ALL)
            ShowAllCircleItems(*doc);
        else
            HideAllCircleItems(*doc);
        doc->SetModifiedFlag(true);
        Invalidate();
        return true;
    }
    if (id == ID_CIRCLE_CREATE_PAIR) {
        if (!doc) return true;
        doc->PruneCircleChartPairs();
        std::vector<ChannelPair> pairs = doc->m_circleChartPairs;
        if (m_pairEditor && m_pairEditor(pairs)) {
            doc->m_circleChartPairs = std::move(pairs);
            doc->SetModifiedFlag(true);
            Invalidate();
        }
        return true;
    }
    if (id >= ID_CIRCLE_ITEM_FIRST && id < ID_CIRCLE_ITEM_FIRST + kCircleMenuItems) {
        // A pair pruned while its menu was open no longer answers its item.
        if (doc && ToggleCircleItem(*doc, int(id - ID_CIRCLE_ITEM_FIRST))) {
            doc->SetModifiedFlag(true);
            Invalidate();
        }
        return true;
    }
    return false;
}

void CircleDiagramWnd::OnUpdateCommand(CCmdUI& ui) {
    const unsigned id = ui.m_nID;
    switch (id) {
        case ID_CIRCLE_SIGHTS_ONLY:
        case ID_CIRCLE_TB_SIGHTS_ONLY: ui.SetCheck(m_sightsOnly); return;
        case ID_CIRCLE_SHOW_OFF:
        case ID_CIRCLE_TB_SHOW_OFF: ui.SetCheck(m_showOff); return;
        case ID_CIRCLE_VIEW_REIM:
        case ID_CIRCLE_TB_VIEW_REIM: ui.SetCheck(m_view == 1); return;
        case ID_CIRCLE_VIEW_RMS_ANGLE:
        case ID_CIRCLE_TB_VIEW_RMS_ANGLE: ui.SetCheck(m_view == 2); return;
        case ID_CIRCLE_CREATE_PAIR: ui.Enable(GetActiveDocument() != nullptr); return;
        default: break;
    }
    if (id >= ID_CIRCLE_ITEM_FIRST && id < ID_CIRCLE_ITEM_FIRST + kCircleMenuItems) {
        const CTenvorikDoc* doc = GetActiveDocument();
        ui.SetCheck(doc && IsCircleItemChecked(*doc, int(id - ID_CIRCLE_ITEM_FIRST)));
    }
}

std::vector<DiagramMenuItem> CircleDiagramWnd::BuildChannelMenu() {
    std::vector<DiagramMenuItem> menu = {{ID_CIRCLE_CREATE_PAIR, LoadResString(ID_CIRCLE_CREATE_PAIR), {}},
                                         {ID_CIRCLE_SHOW_ALL, LoadResString(ID_CIRCLE_SHOW_ALL), {}},
                                         {ID_CIRCLE_HIDE_ALL, LoadResString(ID_CIRCLE_HIDE_ALL), {}},
                                         DiagramMenuItem::Separator()};
    if (const CTenvorikDoc* doc = GetActiveDocument())
        for (const CircleMenuEntry& e : CircleMenuEntries(*doc)) {
            const size_t at = std::min(size_t(std::max(e.position, 0)), menu.size());
            menu.insert(menu.begin() + std::ptrdiff_t(at), DiagramMenuItem{e.id, e.text, {}});
        }
    return menu;
}

std::vector<DiagramMenuItem> CircleDiagramWnd::BuildContextMenu() {
    const bool en = TenvorikStrings().IsEnglish();
    std::vector<DiagramMenuItem> menu;
    menu.push_back({0, en ? L"Channels" : L"Каналы", BuildChannelMenu()});
    menu.push_back(DiagramMenuItem::Separator());
    for (unsigned id : {unsigned(ID_CIRCLE_SHOW_OFF), unsigned(ID_CIRCLE_SIGHTS_ONLY), unsigned(ID_CIRCLE_VIEW_REIM),
                        unsigned(ID_CIRCLE_VIEW_RMS_ANGLE)})
        menu.push_back({id, LoadResString(id), {}});
    menu.push_back(DiagramMenuItem::Separator());
    menu.push_back({ID_CIRCLE_RELOAD_BLOCKS, LoadResString(ID_CIRCLE_RELOAD_BLOCKS), {}});
    return menu;
}

// ---- zoom, origin and scroll bars

CircleScales CircleDiagramWnd::ComputeScales(CTenvorikDoc* doc, int s, const CRect& plot) {
    ComputeZoneExtents();
    double maxR = m_extentR, maxP = m_extentP;
    if (doc) CircleDataExtent(*doc, m_sightsOnly, maxR, maxP);
    CScreenDC screen;
    return ComputeCircleScales(maxR, maxP, screen.GetDeviceCaps(LOGPIXELSX), s, plot, m_zoom);
}

void CircleDiagramWnd::ComputeZoneExtents() {
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

int CircleDiagramWnd::GetScrollLimit(bool horizontal) {
    CRect r(CPoint(0, 0), GetClientSize());
    r.DeflateRect(6, 6);
    r.top += 5;
    r.bottom -= 20;
    // Pairs whose channels went away are skipped here; the next drawing prunes them.
    const CircleScales sc = ComputeScales(GetActiveDocument(), 1, r);
    if (!sc.ok) return 0;
    return CircleScrollLimit(horizontal ? r.Width() : r.Height(), sc.cell, m_zoom);
}

bool CircleDiagramWnd::CanZoomTo(double newZoom) {
    CRect r(CPoint(0, 0), GetClientSize());
    r.DeflateRect(8, 16);
    const CircleScales sc = ComputeScales(GetActiveDocument(), 1, r);
    if (!sc.ok) return false;
    return CircleCanZoomTo(sc.ppuR, m_zoom, newZoom, std::max(m_extentR, m_extentP));
}

void CircleDiagramWnd::UpdateScrollBars() {
    const int lh = m_zoom > 1.0 ? GetScrollLimit(true) : 0;
    const int lv = m_zoom > 1.0 ? GetScrollLimit(false) : 0;
    m_bars = CircleScrollBarState(m_zoom, m_offH, m_offV, lh, lv);
}

bool CircleDiagramWnd::ZoomTo(double zoom) {
    if (!CanZoomTo(zoom)) return false;
    m_zoom = zoom;
    if (m_zoom <= 1.0) m_offH = m_offV = 0;
    UpdateScrollBars();
    Invalidate();
    return true;
}

bool CircleDiagramWnd::StepOrigin(bool horizontal, int delta) {
    int& off = horizontal ? m_offH : m_offV;
    const int next = off + delta;
    if (std::abs(next) > GetScrollLimit(horizontal)) return false;
    off = next;
    UpdateScrollBars();
    Invalidate();
    return true;
}

void CircleDiagramWnd::OnMouseWheel(unsigned keyState, int delta) {
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

void CircleDiagramWnd::OnScroll(bool horizontal, CircleScrollCode code, int delivered) {
    int& pos = horizontal ? m_bars.posH : m_bars.posV;
    const int next = CircleScrollPosition(code, pos, delivered, m_bars.range);
    if (next < 0) return;
    pos = std::clamp(next, 0, std::max(m_bars.range, 0));
    (horizontal ? m_offH : m_offV) = CircleOffsetFromPosition(m_zoom, GetScrollLimit(horizontal), m_bars.range, pos);
    Invalidate();
}

void CircleDiagramWnd::DragSplitLine(int dy, int paneHeight) {
    m_gridHeight = ClampCircleGridHeight(m_gridHeight + dy, paneHeight);
    platform::WriteProfileInt(kProfileSection, kProfileKey, m_gridHeight);
}
