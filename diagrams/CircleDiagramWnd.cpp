#include "diagrams/CircleDiagramWnd.h"

#include <algorithm>
#include <cmath>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Resources.h"

namespace {

const PlaneDiagramPlace kPlace{L"Circle Chart", L"Circle Diagram", false};

}  // namespace

CircleDiagramWnd::CircleDiagramWnd(DiagramOwner* owner) : PlaneDiagramWnd(owner, kPlace) {}

void CircleDiagramWnd::LoadSettings() {
    CTenvorikDoc* doc = GetActiveDocument();
    if (!EnterRecord(doc)) return;
    const CircleChartSettings s = LoadCircleChartSettings(doc->m_settings.GetCategory(kPlace.category));
    m_sightsOnly = s.sightsOnly;
    m_showOff = s.showOffCharacteristics;
    m_view = s.viewChannelType;
    StripNonCircleChannels(doc->GetOscillogram());
    LoadBlockSelection(*doc, s.selectedBlock);
    Invalidate();
}

void CircleDiagramWnd::PrunePairs(CTenvorikDoc& doc) { doc.PruneCircleChartPairs(); }

std::vector<ChannelPair>& CircleDiagramWnd::Pairs(CTenvorikDoc& doc) const { return doc.m_circleChartPairs; }

void CircleDiagramWnd::ShowAll(CTenvorikDoc& doc, bool show) {
    if (show)
        ShowAllCircleItems(doc);
    else
        HideAllCircleItems(doc);
}

void CircleDiagramWnd::SetView(unsigned view) {
    m_view = m_view == view ? 0 : view;
    Store(L"ViewChannelType", int(m_view));
    Invalidate();
}

bool CircleDiagramWnd::OnCommand(unsigned id) {
    switch (id) {
        case ID_CIRCLE_VIEW_REIM:
        case ID_CIRCLE_TB_VIEW_REIM: SetView(1); return true;
        case ID_CIRCLE_VIEW_RMS_ANGLE:
        case ID_CIRCLE_TB_VIEW_RMS_ANGLE: SetView(2); return true;
        default: return PlaneDiagramWnd::OnCommand(id);
    }
}

void CircleDiagramWnd::OnUpdateCommand(CCmdUI& ui) {
    switch (ui.m_nID) {
        case ID_CIRCLE_VIEW_REIM:
        case ID_CIRCLE_TB_VIEW_REIM: ui.SetCheck(m_view == 1); return;
        case ID_CIRCLE_VIEW_RMS_ANGLE:
        case ID_CIRCLE_TB_VIEW_RMS_ANGLE: ui.SetCheck(m_view == 2); return;
        default: PlaneDiagramWnd::OnUpdateCommand(ui);
    }
}

std::vector<DiagramMenuItem> CircleDiagramWnd::BuildChannelMenu() {
    std::vector<DiagramMenuItem> menu = ChannelMenuHead();
    if (const CTenvorikDoc* doc = GetActiveDocument())
        for (const CircleMenuEntry& e : CircleMenuEntries(*doc)) InsertMenuItem(menu, e.position, {e.id, e.text, {}});
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

CircleScales CircleDiagramWnd::ComputeScales(CTenvorikDoc* doc, int s, const CRect& plot) {
    ComputeZoneExtents();
    double maxR = m_extentR, maxP = m_extentP;
    if (doc) CircleDataExtent(*doc, m_sightsOnly, maxR, maxP);
    CScreenDC screen;
    return ComputeCircleScales(maxR, maxP, screen.GetDeviceCaps(LOGPIXELSX), s, plot, m_zoom);
}
