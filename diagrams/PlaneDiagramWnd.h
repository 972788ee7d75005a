#pragma once
// What the circle diagram and the differential diagram have in common: a plane with a grid
// of whole cells, the zones of the selected protection block, trajectories with crosses at the
// first two vertical cursors, a legend or a value table under the plot, the block property
// grid above it with the split line between them, and zoom, origin steps and scroll bars.
// Zoom and origin offsets belong to the window and are not stored.
#include <algorithm>
#include <functional>
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

// Where the settings of a plane diagram live.
struct PlaneDiagramPlace {
    const wchar_t* category;        // of the record's settings
    const wchar_t* profileSection;  // of the program's profile, for the grid height
    bool differential;              // which characteristics of the library it keeps
};

class PlaneDiagramWnd : public DiagramWnd {
public:
    PlaneDiagramWnd(DiagramOwner* owner, const PlaneDiagramPlace& place);

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
    virtual bool OnCommand(unsigned id);
    virtual void OnUpdateCommand(CCmdUI& ui);
    // The right-click menu and the tool bar's channel menu, with the channel and pair items.
    virtual std::vector<DiagramMenuItem> BuildContextMenu() = 0;
    virtual std::vector<DiagramMenuItem> BuildChannelMenu() = 0;
    // "Create" of the channel menu: the window side runs the pair dialog on the list it is
    // given and returns true on OK; the document's list is replaced then.
    void SetPairEditor(std::function<bool(std::vector<ChannelPair>&)> editor) { m_pairEditor = std::move(editor); }
    // The pair dialog's mode: resistances (circle) or currents (differential).
    bool IsDifferential() const { return m_place.differential; }

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

    bool SightsOnly() const { return m_sightsOnly; }
    bool ShowOffCharacteristics() const { return m_showOff; }
    double Zoom() const { return m_zoom; }
    int OffsetH() const { return m_offH; }
    int OffsetV() const { return m_offV; }
    // Largest coordinate of the zones in "Ohm" and in every other dimension.
    double ResistanceExtent() const { return m_extentR; }
    double PowerExtent() const { return m_extentP; }

    // Scales of a plot rectangle for a document (or none): the zones and the plotted data.
    virtual CircleScales ComputeScales(CTenvorikDoc* doc, int s, const CRect& plot) = 0;
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

    // A row of the value table, and the entry of the legend when no table is drawn.
    struct PlaneRow {
        CString text;
        COLORREF color = 0;
        CString cells[3];  // under the value columns; empty: nothing written
    };
    // The rows of the value table at the first cursor, which are also the legend's entries.
    virtual std::vector<PlaneRow> Rows(const CTenvorikDoc& doc) = 0;

protected:
    // The texts at the four edges of the grid frame and the cell legend.
    struct PlaneLabels {
        CString right, left, top, bottom, cell;
    };

    // Drawing steps the two diagrams fill in.
    virtual void PrunePairs(CTenvorikDoc& doc) = 0;
    virtual bool WantsTable() const = 0;
    // Value columns of the table: 2, or 3 with a column of angles.
    virtual int ValueColumns() const { return 2; }
    virtual PlaneLabels GridLabels(const CircleScales& sc, int cellsW, int cellsH) = 0;
    virtual void DrawTrajectories(CDC* dc, CTenvorikDoc& doc, int s, const CircleScales& sc) = 0;
    // Puts the origin where the diagram keeps it before the grid on plot P is drawn; true when
    // the offsets were set (a printed page gets them for its own drawing only).
    virtual bool PlaceOrigin(const CRect& /*P*/, const CircleScales& /*sc*/, int /*s*/) { return false; }
    // The user moved the origin (steps, wheel, scroll bars), or the zoom went back to 1 and the
    // offsets with it.
    virtual void OnOriginMoved() {}
    virtual void OnZoomReset() {}
    // The zones' extent that the 400- and 800-pixel rules of zoom and drawing hold to; 0 where
    // the zones are cut to the view and may grow without limit.
    virtual double ZoneGuardExtent() const { return std::max(m_extentR, m_extentP); }
    // Where the zones may be drawn: the grid, or the part of it the characteristics are
    // defined over.
    virtual CRect ZoneClip(const CRect& grid) const { return grid; }

    // Largest absolute values of the shown pairs of `pairs` over the scale's sample range.
    double PairDataExtent(const CTenvorikDoc& doc, const std::vector<ChannelPair>& pairs) const;
    // The scales of one quantity: the zones and `dataMax` on one grid.
    CircleScales SingleScale(double dataMax, int s, const CRect& plot);
    // A pair's point at sample i (NaN samples count as 0) and the cross marks.
    CPoint PairPoint(const CChannel& first, const CChannel& second, int64_t i, double ppu) const;
    static void Cross(CDC* dc, CPoint p, int s);
    // Consecutive samples on one pixel add nothing to a polyline; long records then cost what
    // the plane has pixels.
    static void Push(std::vector<POINT>& pts, CPoint p);
    static void Polyline(CDC* dc, const std::vector<POINT>& pts);

    void Store(const wchar_t* key, int value);
    void FlipSwitch(bool& member, const wchar_t* key);
    // The commands both channel menus start with: create, show all, hide all, separator.
    std::vector<DiagramMenuItem> ChannelMenuHead() const;
    // Inserts an item where its menu position says; past the end it is appended.
    static void InsertMenuItem(std::vector<DiagramMenuItem>& menu, int position, DiagramMenuItem item);
    // Shows or hides every item of the diagram / toggles item i; false when i names nothing.
    virtual void ShowAll(CTenvorikDoc& doc, bool show) = 0;
    virtual bool ToggleItem(CTenvorikDoc& doc, int i) = 0;
    virtual bool IsItemChecked(const CTenvorikDoc& doc, int i) const = 0;
    virtual std::vector<ChannelPair>& Pairs(CTenvorikDoc& doc) const = 0;
    // The start of reading the options: without a record the grid shows no block and takes no
    // edit, and false is returned.
    bool EnterRecord(CTenvorikDoc* doc);
    // The record's block: shown when it names another, its values applied once per record.
    void LoadBlockSelection(CTenvorikDoc& doc, const CString& selectedBlock);

    PlaneDiagramPlace m_place;
    std::vector<ProtectionBlock> m_blocks;
    int m_currentBlock = 0;
    BlockGridModel m_grid;
    CString m_libraryFolder;
    const CTenvorikDoc* m_lastDoc = nullptr;
    std::function<void()> m_gridRebuild;
    bool m_wasEditable = true;
    bool m_sightsOnly = false;
    bool m_showOff = true;
    int m_gridHeight = 200;
    int m_offH = 0, m_offV = 0;
    double m_zoom = 1.0;
    double m_extentR = 0, m_extentP = 0;
    unsigned m_look = 0;
    CircleScrollBars m_bars;
    std::function<bool(std::vector<ChannelPair>&)> m_pairEditor;
    Layout m_layout;

private:
    bool ZoomTo(double zoom);
    CRect DrawGrid(CDC* dc, int s, const CircleScales& sc, const CRect& P, CRect& F0);
    void DrawZones(CDC* dc, const CRect& clip, int s, double ppu);
    void DrawLegend(CDC* dc, const CRect& P, int s, const std::vector<PlaneRow>& rows);
    void DrawValueTable(CDC* dc, const CRect& P, int s, const std::vector<PlaneRow>& rows);

    // The zones of the current block.
    class BlockZones : public CircleZoneSource {
    public:
        explicit BlockZones(PlaneDiagramWnd& wnd) : m_wnd(wnd) {}
        int CharacteristicCount() const override;
        bool IsVisible(int k) const override;
        int ColorIndex(int k) const override;
        CString Dimension(int k) const override;
        bool BuildZone(int k, int mode, double scale, CPoint origin, const CRect* view, CRgn& zone) const override;

    private:
        const Characteristic* Get(int k) const;
        PlaneDiagramWnd& m_wnd;
    };
    BlockZones m_blockZones{*this};
    const CircleZoneSource* m_zones = &m_blockZones;
};
