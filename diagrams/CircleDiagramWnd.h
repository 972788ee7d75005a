#pragma once
// The circle (impedance-plane) diagram: trajectories of resistance and power channels and of
// channel pairs on the R/X (P/Q) plane over the zones of the selected protection block, with
// crosses at the first two vertical cursors, and a legend or a value table under the plot.
// The options live in the record's settings category "Circle Chart"; zoom and origin
// offsets belong to the window and are not stored.
#include <vector>

#include "diagrams/PlaneDiagramWnd.h"

class CircleDiagramWnd : public PlaneDiagramWnd {
public:
    explicit CircleDiagramWnd(DiagramOwner* owner);

    void LoadSettings() override;
    std::vector<PlaneRow> Rows(const CTenvorikDoc& doc) override;
    bool OnCommand(unsigned id) override;
    void OnUpdateCommand(CCmdUI& ui) override;
    std::vector<DiagramMenuItem> BuildContextMenu() override;
    std::vector<DiagramMenuItem> BuildChannelMenu() override;

    unsigned ViewChannelType() const { return m_view; }
    CircleScales ComputeScales(CTenvorikDoc* doc, int s, const CRect& plot) override;

protected:
    void PrunePairs(CTenvorikDoc& doc) override;
    bool WantsTable() const override { return m_view != 0; }
    int ValueColumns() const override { return m_view == 2 ? 3 : 2; }
    PlaneLabels GridLabels(const CircleScales& sc, int cellsW, int cellsH) override;
    void DrawTrajectories(CDC* dc, CTenvorikDoc& doc, int s, const CircleScales& sc) override;
    void ShowAll(CTenvorikDoc& doc, bool show) override;
    bool ToggleItem(CTenvorikDoc& doc, int i) override { return ToggleCircleItem(doc, i); }
    bool IsItemChecked(const CTenvorikDoc& doc, int i) const override { return IsCircleItemChecked(doc, i); }
    std::vector<ChannelPair>& Pairs(CTenvorikDoc& doc) const override;

private:
    void SetView(unsigned view);

    unsigned m_view = 0;
};
