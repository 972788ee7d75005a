#pragma once
// The circle (impedance-plane) diagram: trajectories of resistance and power channels and of
// channel pairs on the R/X (P/Q) plane over the zones of the selected protection block, with
// crosses at the first two vertical cursors, and a legend or a value table under the plot.
// The options live in the record's settings category "Circle Chart"; zoom and origin
// offsets belong to the window and are not stored.
#include <vector>

#include "diagrams/BlockGrid.h"
#include "diagrams/CirclePlot.h"
#include "diagrams/DiagramWnd.h"
#include "diagrams/ProtectionBlock.h"
#include "diagrams/VectorDiagramWnd.h"
#include "platform/CmdUI.h"

// The zones of the selected block as the drawing needs them: one entry per characteristic.
class CircleZoneSource {
public:
    virtual ~CircleZoneSource() = default;
    virtual int CharacteristicCount() const = 0;
    virtual bool IsVisible(int k) const = 0;
    virtual int ColorIndex(int k) const = 0;
    virtual CString Dimension(int k) const = 0;
    // The zone of mode `mode` (1 operating, 0 return): the figures of that mode combined, at
    // `scale` pixels per unit around `origin`, limited to `view` when given. False when the
    // characteristic has no figure of that mode.
    virtual bool BuildZone(int k, int mode, double scale, CPoint origin, const CRect* view, CRgn& zone) const = 0;
};

// Colours of the zones by colour index modulo 9: frame of an operating zone, frame of a
// return zone, fill.
struct CircleZoneColors {
    COLORREF frameOn, frameOff, fill;
};
CircleZoneColors CircleZoneColorRow(int colorIndex);

class CircleDiagramWnd : public DiagramWnd {
public:
    explicit CircleDiagramWnd(DiagramOwner* owner);

    void LoadSettings() override;
    void Draw(CDC* dc, CRect rect, int scale, const CFont* font, CTenvorikDoc* doc) override;
    void UpdateCurrentBlock() override;
    void SaveSelectedBlock() override;
    std::vector<ProtectionBlock>& GetBlocks() override { return m_blocks; }
    int GetCurrentBlockIndex() override { return m_currentBlock; }
    void SetCurrentBlockIndex(int i) override { m_currentBlock = i; }

    // Loads the characteristic libraries of `folder` (the program's folder when empty) again;
    // the record's stored block is applied anew.
    void ReloadBlocks();
    void SetLibraryFolder(const CString& folder) { m_libraryFolder = folder; }
    BlockGridModel& GetGridModel() { return m_grid; }
    // The window side shows the grid model's rows again.
    void SetGridRebuild(std::function<void()> rebuild) { m_gridRebuild = std::move(rebuild); }
    // A closed document's address may come back with the next one: its block must then be
    // applied again.
    void OnDocumentClosed(const CTenvorikDoc* doc) {
        if (doc == m_lastDoc) m_lastDoc = nullptr;
    }

    // Commands of the window, its menus and the pane's tool bar; false when not handled.
    bool OnCommand(unsigned id);
    void OnUpdateCommand(CCmdUI& ui);
    // The right-click menu and the tool bar's channel menu, with the channel and pair items.
    std::vector<DiagramMenuItem> BuildContextMenu();
    std::vector<DiagramMenuItem> BuildChannelMenu();
    // "Create" of the channel menu: the window side runs the pair dialog on the list it is
    // given and returns true on OK; the document's list is replaced then.
    void SetPairEditor(std::function<bool(std::vector<ChannelPair>&)> editor) { m_pairEditor = std::move(editor); }

    // Mouse wheel: key state 8 (control) zooms, 4 (shift) steps sideways, else up and down.
    void OnMouseWheel(unsigned keyState, int delta);
    // Scroll bar messages: `horizontal` bar, the code and the position the message carries.
    void OnScroll(bool horizontal, CircleScrollCode code, int delivered);
    bool ZoomIn() { return ZoomTo(m_zoom * kCircleZoomIn); }
    bool ZoomOut() { return ZoomTo(m_zoom * kCircleZoomOut); }
    bool StepOrigin(bool horizontal, int delta);
    const CircleScrollBars& GetScrollBars() const { return m_bars; }

    // Split line between the block grid and the drawing: the top rows of the window.
    static constexpr int kSplitRows = 5;
    int GetGridHeight() const { return m_gridHeight; }
    // A drag of the split line by `dy` pixels in a pane `paneHeight` high; kept in the profile.
    void DragSplitLine(int dy, int paneHeight);
    void SetApplicationLook(unsigned look) { m_look = look; }

    // Where the zones come from: the current block unless a test hands in its own.
    void SetZoneSource(const CircleZoneSource* zones) { m_zones = zones ? zones : &m_blockZones; }

    // Window options.
    bool SightsOnly() const { return m_sightsOnly; }
    bool ShowOffCharacteristics() const { return m_showOff; }
    unsigned ViewChannelType() const { return m_view; }
    double Zoom() const { return m_zoom; }
    int OffsetH() const { return m_offH; }
    int OffsetV() const { return m_offV; }
    double ResistanceExtent() const { return m_extentR; }
    double PowerExtent() const { return m_extentP; }

    // Scales of a plot rectangle for a document (or none): the zones and the plotted data.
    CircleScales ComputeScales(CTenvorikDoc* doc, int s, const CRect& plot);
    void ComputeZoneExtents();
    int GetScrollLimit(bool horizontal);
    bool CanZoomTo(double newZoom);
    void UpdateScrollBars();

    // Where the last drawing put the plane (tests and read-outs measure by it).
    struct Layout {
        CRect plot, frame;
        int ox = 0, oy = 0;
        CircleScales scales;
        bool table = false;
    };
    const Layout& LastLayout() const { return m_layout; }

private:
    void FlipSwitch(bool& member, const wchar_t* key, bool grid);
    void SetView(unsigned view);
    bool ZoomTo(double zoom);
    void Store(const wchar_t* key, int value);
    CRect DrawGrid(CDC* dc, int s, const CircleScales& sc, const CRect& P, CRect& F0);
    void DrawZones(CDC* dc, const CRect& clip, int s, double ppuR);
    void DrawTrajectories(CDC* dc, CTenvorikDoc& doc, int s, const CircleScales& sc);
    void DrawLegend(CDC* dc, const CRect& P, int s, CTenvorikDoc& doc);
    int TableHeight(CDC* dc, CTenvorikDoc& doc, int s);
    void DrawValueTable(CDC* dc, CTenvorikDoc& doc, const CRect& P, int s);

    // The zones of the current block.
    class BlockZones : public CircleZoneSource {
    public:
        explicit BlockZones(CircleDiagramWnd& wnd) : m_wnd(wnd) {}
        int CharacteristicCount() const override;
        bool IsVisible(int k) const override;
        int ColorIndex(int k) const override;
        CString Dimension(int k) const override;
        bool BuildZone(int k, int mode, double scale, CPoint origin, const CRect* view, CRgn& zone) const override;

    private:
        const Characteristic* Get(int k) const;
        CircleDiagramWnd& m_wnd;
    };

    std::vector<ProtectionBlock> m_blocks;
    int m_currentBlock = 0;
    BlockGridModel m_grid{this, true};
    CString m_libraryFolder;
    const CTenvorikDoc* m_lastDoc = nullptr;
    std::function<void()> m_gridRebuild;
    BlockZones m_blockZones{*this};
    bool m_sightsOnly = false;
    bool m_showOff = true;
    unsigned m_view = 0;
    int m_gridHeight = 200;
    int m_offH = 0, m_offV = 0;
    double m_zoom = 1.0;
    double m_extentR = 0, m_extentP = 0;
    unsigned m_look = 0;
    CircleScrollBars m_bars;
    const CircleZoneSource* m_zones = &m_blockZones;
    std::function<bool(std::vector<ChannelPair>&)> m_pairEditor;
    Layout m_layout;
};
