#include "diagrams/DiffDiagramWnd.h"

#include <algorithm>
#include <cmath>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"
#include "model/ValueFormat.h"

namespace {

const PlaneDiagramPlace kPlace{L"Diff Chart", L"Diff Diagram", true};

bool Cyrillic() { return !TenvorikStrings().IsEnglish(); }

// A value in the nominal unit with its prefix, as the labels write it.
void NominalValue(double value, double& scaled, CString& prefix, bool cyrillic) {
    // A negative zero would read "-0".
    SelectUnitPrefix(scaled, prefix, LoadResString(162), cyrillic, value + 0.0);
}

}  // namespace

DiffChartSettings LoadDiffChartSettings(const SettingsNode& node) {
    DiffChartSettings s;
    s.sightsOnly = node.GetInt(L"SightsOnly", 1) != 0;
    s.showOffCharacteristics = node.GetInt(L"ShowOffCharacteristics", 1) != 0;
    s.showValues = node.GetInt(L"ViewChannelType", 1) != 0;
    s.selectedBlock = node.GetString(L"SelectedBlock", CString());
    return s;
}

CString DiffEdgeLabel(bool braking, double value, bool cyrillic) {
    double v = 0;
    CString prefix;
    NominalValue(value, v, prefix, cyrillic);
    CString t;
    t.Format(LoadResString(braking ? 163 : 161), v, prefix, LoadResString(162));
    return t;
}

CString DiffCellLegend(double upc, bool cyrillic) {
    double v = 0;
    CString prefix;
    NominalValue(upc, v, prefix, cyrillic);
    CString t;
    t.Format(L" %g %s%s", v, prefix, LoadResString(162));
    return t;
}

std::vector<CircleMenuEntry> DiffMenuEntries(const CTenvorikDoc& doc) {
    std::vector<CircleMenuEntry> items;
    for (size_t i = 0; i < doc.m_diffChartPairs.size() && i < kCircleMenuItems; ++i) {
        const ChannelPair& p = doc.m_diffChartPairs[i];
        items.push_back({4 + int(i), ID_CIRCLE_ITEM_FIRST + unsigned(i), p.second + L" | " + p.first});
    }
    return items;
}

DiffDiagramWnd::DiffDiagramWnd(DiagramOwner* owner) : PlaneDiagramWnd(owner, kPlace) {}

void DiffDiagramWnd::LoadSettings() {
    CTenvorikDoc* doc = GetActiveDocument();
    if (!EnterRecord(doc)) return;
    const DiffChartSettings s = LoadDiffChartSettings(doc->m_settings.GetCategory(kPlace.category));
    m_sightsOnly = s.sightsOnly;
    m_showOff = s.showOffCharacteristics;
    m_showValues = s.showValues;
    LoadBlockSelection(*doc, s.selectedBlock);
    Invalidate();
}

void DiffDiagramWnd::EnableShowValues() {
    if (m_showValues) return;
    m_showValues = true;
    Store(L"ViewChannelType", 1);
    Invalidate();
}

void DiffDiagramWnd::PrunePairs(CTenvorikDoc& doc) { doc.PruneDiffChartPairs(); }

std::vector<ChannelPair>& DiffDiagramWnd::Pairs(CTenvorikDoc& doc) const { return doc.m_diffChartPairs; }

void DiffDiagramWnd::ShowAll(CTenvorikDoc& doc, bool show) {
    for (ChannelPair& p : doc.m_diffChartPairs) p.visible = show;
}

bool DiffDiagramWnd::ToggleItem(CTenvorikDoc& doc, int i) {
    if (i < 0 || size_t(i) >= doc.m_diffChartPairs.size()) return false;
    doc.m_diffChartPairs[size_t(i)].visible = !doc.m_diffChartPairs[size_t(i)].visible;
    return true;
}

bool DiffDiagramWnd::IsItemChecked(const CTenvorikDoc& doc, int i) const {
    return i >= 0 && size_t(i) < doc.m_diffChartPairs.size() && doc.m_diffChartPairs[size_t(i)].visible;
}

bool DiffDiagramWnd::OnCommand(unsigned id) {
    if (id == ID_DIFF_SHOW_VALUES) {
        FlipSwitch(m_showValues, L"ViewChannelType");
        return true;
    }
    return PlaneDiagramWnd::OnCommand(id);
}

void DiffDiagramWnd::OnUpdateCommand(CCmdUI& ui) {
    if (ui.m_nID == ID_DIFF_SHOW_VALUES)
        ui.SetCheck(m_showValues);
    else
        PlaneDiagramWnd::OnUpdateCommand(ui);
}

std::vector<DiagramMenuItem> DiffDiagramWnd::BuildChannelMenu() {
    std::vector<DiagramMenuItem> menu = ChannelMenuHead();
    if (const CTenvorikDoc* doc = GetActiveDocument())
        for (const CircleMenuEntry& e : DiffMenuEntries(*doc)) InsertMenuItem(menu, e.position, {e.id, e.text, {}});
    return menu;
}

std::vector<DiagramMenuItem> DiffDiagramWnd::BuildContextMenu() {
    const bool en = TenvorikStrings().IsEnglish();
    std::vector<DiagramMenuItem> menu;
    menu.push_back({0, en ? L"Channels" : L"Каналы", BuildChannelMenu()});
    menu.push_back(DiagramMenuItem::Separator());
    for (unsigned id : {unsigned(ID_CIRCLE_SHOW_OFF), unsigned(ID_CIRCLE_SIGHTS_ONLY), unsigned(ID_DIFF_SHOW_VALUES)})
        menu.push_back({id, LoadResString(id), {}});
    menu.push_back(DiagramMenuItem::Separator());
    menu.push_back({ID_CIRCLE_RELOAD_BLOCKS, LoadResString(ID_CIRCLE_RELOAD_BLOCKS), {}});
    return menu;
}

double DiffScaleExtent(double dataMax, const std::vector<const Characteristic*>& shown, double zoneExtent) {
    double nearest = INFINITY;
    auto reach = [&nearest](double x, double y) {
        const double r = std::max(std::fabs(x), std::fabs(y));
        if (std::isfinite(r) && r > 0) nearest = std::min(nearest, r);
    };
    for (const Characteristic* c : shown) {
        if (!c) continue;
        for (const auto& f : c->figures) {
            if (const auto* polygon = dynamic_cast<const PolygonF*>(f.get()))
                for (const PlanePoint& p : polygon->vertices) reach(p.x, p.y);
            else if (const auto* line = dynamic_cast<const PolypointF*>(f.get()))
                for (const PlanePoint& p : line->coordinates) reach(p.x, p.y);
            else if (const auto* circle = dynamic_cast<const Circle*>(f.get()))
                reach(std::fabs(circle->cx) + std::fabs(circle->r), std::fabs(circle->cy) + std::fabs(circle->r));
            else if (const auto* ellipse = dynamic_cast<const EllipseF*>(f.get()))
                reach(std::fabs(ellipse->cx) + std::max(std::fabs(ellipse->w), std::fabs(ellipse->h)) / 2,
                      std::fabs(ellipse->cy) + std::max(std::fabs(ellipse->w), std::fabs(ellipse->h)) / 2);
        }
    }
    const double data = std::isfinite(dataMax) ? std::max(dataMax, 0.0) : 0.0;
    if (std::isfinite(nearest)) return std::max(data, 2 * nearest);
    return data > 0 ? data : zoneExtent;
}

CircleScales DiffDiagramWnd::ComputeScales(CTenvorikDoc* doc, int s, const CRect& plot) {
    // Pairs whose channels went away are skipped here; the next drawing prunes them.
    const double data = doc ? PairDataExtent(*doc, doc->m_diffChartPairs) : 0.0;
    ComputeZoneExtents();
    std::vector<const Characteristic*> shown;
    if (m_currentBlock >= 0 && size_t(m_currentBlock) < m_blocks.size())
        for (const Characteristic& c : m_blocks[size_t(m_currentBlock)].characteristics)
            if (c.visible) shown.push_back(&c);
    CScreenDC screen;
    return ComputeCircleScales(DiffScaleExtent(data, shown, std::max(m_extentR, m_extentP)), 0,
                               screen.GetDeviceCaps(LOGPIXELSX), s, plot, m_zoom);
}

// ---- picture

DiffDiagramWnd::PlaneLabels DiffDiagramWnd::GridLabels(const CircleScales& sc, int nW, int nH) {
    const bool cyr = Cyrillic();
    const double u = sc.upcR;
    PlaneLabels l;
    l.right = DiffEdgeLabel(true, nW * u - m_offH * u, cyr);
    l.left = DiffEdgeLabel(true, -nW * u - m_offH * u, cyr);
    l.top = DiffEdgeLabel(false, nH * u + m_offV * u, cyr);
    l.bottom = DiffEdgeLabel(false, m_offV * u - nH * u, cyr);
    l.cell = DiffCellLegend(u, cyr);
    return l;
}

std::vector<DiffDiagramWnd::PlaneRow> DiffDiagramWnd::Rows(const CTenvorikDoc& doc) {
    std::vector<PlaneRow> rows;
    const bool cyr = Cyrillic();
    const uint32_t c1 = uint32_t(doc.m_cursors.m_cursors[0].position);
    for (const ChannelPair& p : doc.m_diffChartPairs) {
        const CChannel *brake = nullptr, *diff = nullptr;
        if (!p.visible || !FindPairChannels(doc, p, &brake, &diff)) continue;
        PlaneRow r{diff->GetName() + L" " + brake->GetName(), diff->GetColor(), {}};
        const double vd = diff->GetValue(c1), vb = brake->GetValue(c1);
        if (std::isfinite(vd) && std::isfinite(vb)) {
            r.cells[0] = FormatTableValue(vd, diff->GetUnitText(), diff->GetRateUnitDisplayText(), cyr);
            r.cells[1] = FormatTableValue(vb, brake->GetUnitText(), brake->GetRateUnitDisplayText(), cyr);
        }
        rows.push_back(r);
    }
    return rows;
}

void DiffDiagramWnd::DrawTrajectories(CDC* dc, CTenvorikDoc& doc, int s, const CircleScales& sc) {
    const COscillogram& osc = doc.GetOscillogram();
    const int64_t c1 = doc.m_cursors.m_cursors[0].position, c2 = doc.m_cursors.m_cursors[1].position;
    const SampleRange r =
        CirclePlottedRange(m_sightsOnly, c1, c2, CircleSamplesPerPeriod(osc), osc.GetSampleCount(), true);
    CPen* oldPen = dc->GetCurrentPen();
    struct Shown {
        const CChannel *brake, *diff;
    };
    std::vector<Shown> shown;
    for (const ChannelPair& p : doc.m_diffChartPairs) {
        const CChannel *brake = nullptr, *diff = nullptr;
        if (p.visible && FindPairChannels(doc, p, &brake, &diff)) shown.push_back({brake, diff});
    }
    std::vector<POINT> pts;
    if (!r.Empty()) pts.reserve(size_t(std::min<int64_t>(r.end - r.start + 1, 1 << 20)));
    for (const Shown& p : shown) {
        CPen pen(PS_SOLID, s, p.diff->GetColor());
        dc->SelectObject(&pen);
        pts.clear();
        for (int64_t i = r.start; !r.Empty() && i <= r.end; ++i) Push(pts, PairPoint(*p.brake, *p.diff, i, sc.ppuR));
        Polyline(dc, pts);
        dc->SelectObject(oldPen);
    }
    CPen pen1(PS_SOLID, s, RGB(200, 0, 0)), pen2(PS_SOLID, s, RGB(0, 0, 200));
    for (const Shown& p : shown) {
        dc->SelectObject(&pen1);
        Cross(dc, PairPoint(*p.brake, *p.diff, c1, sc.ppuR), s);
        dc->SelectObject(&pen2);
        Cross(dc, PairPoint(*p.brake, *p.diff, c2, sc.ppuR), s);
    }
    dc->SelectObject(oldPen);
}

bool DiffDiagramWnd::PlaceOrigin(const CRect& P, const CircleScales& sc, int s) {
    // Restraint and differential currents are magnitudes: the positive quadrant fills the
    // plot. The corner is that of the grid this drawing makes (under a value table too), so
    // that the smallest currents lie on the grid and its edges read 0, and it moves with the
    // grid when the pane changes size.
    if (!m_cornerOrigin || sc.cell <= 0) return false;
    const int nW = (P.Width() / 2) / sc.cell, nH = (P.Height() / 2) / sc.cell;
    if (nW <= 0 || nH <= 0) return false;
    if (m_offH == -nW && m_offV == nH) return true;
    m_offH = -nW;
    m_offV = nH;
    if (s == 1) UpdateScrollBars();
    return true;
}
