#pragma once
// The differential diagram: the differential current of a protection against its restraint
// (braking) current, one trajectory per shown pair of the record's differential-chart list,
// over the operating zones of the selected differential protection block. The options live in
// the record's settings category "Diff Chart"; zoom and origin offsets belong to the window.
#include <vector>

#include "diagrams/PlaneDiagramWnd.h"

// The frame keeps the differential diagram under this bit, next to the display bits of the
// diagrams channels are flagged for.
constexpr int kDiffDiagramBit = 16;

enum DiffDiagramCommand : unsigned {
    ID_DIFF_SHOW_VALUES = 33028,
};

struct DiffChartSettings {
    bool sightsOnly = true;
    bool showOffCharacteristics = true;
    bool showValues = true;
    CString selectedBlock;
};
DiffChartSettings LoadDiffChartSettings(const SettingsNode& node);

// " Iторм: 2 ном" / " Iдиф: -1.5 ном": an edge label; `braking` picks the horizontal axis.
CString DiffEdgeLabel(bool braking, double value, bool cyrillic);
// The cell legend: " 0.5 ном".
CString DiffCellLegend(double upc, bool cyrillic);
// The extent the differential diagram's scale shows: the trajectories' largest value, and at
// least twice the nearest threshold of the visible characteristics (the smallest positive
// coordinate of their figures' points), so that where the characteristic starts is on the grid.
// The far points that only close a zone (a line to 100 nominal currents) set no scale: points
// of a few hundredths would otherwise sit in the origin. Without a characteristic, the data
// alone; without either, `zoneExtent`.
double DiffScaleExtent(double dataMax, const std::vector<const Characteristic*>& shown, double zoneExtent);

// Items of the pair menu: "differential | braking", one per pair, at 4 + i.
std::vector<CircleMenuEntry> DiffMenuEntries(const CTenvorikDoc& doc);

class DiffDiagramWnd : public PlaneDiagramWnd {
public:
    explicit DiffDiagramWnd(DiagramOwner* owner);

    void LoadSettings() override;
    std::vector<PlaneRow> Rows(const CTenvorikDoc& doc) override;
    bool OnCommand(unsigned id) override;
    void OnUpdateCommand(CCmdUI& ui) override;
    std::vector<DiagramMenuItem> BuildContextMenu() override;
    std::vector<DiagramMenuItem> BuildChannelMenu() override;
    CircleScales ComputeScales(CTenvorikDoc* doc, int s, const CRect& plot) override;

    bool ShowValues() const { return m_showValues; }
    // Turns the value table on for the active record (the quick analysis asks for it); the
    // record is marked modified only when the table was off.
    void EnableShowValues();
    // The origin sits in the grid's lower-left corner, wherever the grid's size takes that
    // corner, until the user moves it.
    bool OriginFollowsCorner() const { return m_cornerOrigin; }

protected:
    void PrunePairs(CTenvorikDoc& doc) override;
    bool WantsTable() const override { return m_showValues; }
    PlaneLabels GridLabels(const CircleScales& sc, int cellsW, int cellsH) override;
    void DrawTrajectories(CDC* dc, CTenvorikDoc& doc, int s, const CircleScales& sc) override;
    bool PlaceOrigin(const CRect& P, const CircleScales& sc, int s) override;
    void OnOriginMoved() override { m_cornerOrigin = false; }
    void OnZoomReset() override { m_cornerOrigin = true; }
    // The zones are cut to the grid: they never hold back the zoom.
    double ZoneGuardExtent() const override { return 0; }
    // A restraint current is a magnitude: no characteristic is drawn left of Iторм = 0,
    // where closing an open line would otherwise spread its zone.
    CRect ZoneClip(const CRect& grid) const override {
        CRect r = grid;
        r.left = std::max(r.left, m_layout.ox);
        return r;
    }
    void ShowAll(CTenvorikDoc& doc, bool show) override;
    bool ToggleItem(CTenvorikDoc& doc, int i) override;
    bool IsItemChecked(const CTenvorikDoc& doc, int i) const override;
    std::vector<ChannelPair>& Pairs(CTenvorikDoc& doc) const override;

private:
    bool m_showValues = false;
    bool m_cornerOrigin = true;
};
