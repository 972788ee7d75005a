#pragma once
// The oscillogram view below its window: the geometry of the record's picture (horizontal
// scale, first visible sample, vertical offset, row heights, time unit, grid), kept in the
// record's settings category "View", the scroll arithmetic, and the drawing passes in their
// order. The window class hands it a drawing context and forwards its events; everything here
// runs without a display.
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "model/ChannelCollection.h"
#include "model/ChannelDraw.h"
#include "model/CommentList.h"
#include "model/CursorSet.h"
#include "platform/CString.h"
#include "platform/Geometry.h"
#include "platform/draw/DeviceContext.h"
#include "view/PrintLayout.h"
#include "view/TimeAxis.h"

class CChannel;
class CCmdUI;
class CTenvorikDoc;
class SettingsNode;

namespace oscview {

// What the view asks of its window: scroll bars, repainting and the frame around it.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    // A bar with range [min, max], page and position; a bar without range stays visible, disabled.
    virtual void SetScrollBar(bool horizontal, int64_t min, int64_t max, int64_t page, int64_t pos) = 0;
    virtual void Invalidate() = 0;
    virtual void SetStatusPaneText(int pane, const CString& text) = 0;
    virtual void UpdateDiagrams() = 0;
    // The fault locator's window between the two first cursors.
    virtual void OnLocatorCursors(int /*first*/, int /*last*/) {}
    // Paints what was invalidated now, not at the next pass of the event loop.
    virtual void RepaintNow() { Invalidate(); }
};

// Scroll requests of a bar, with the framework's codes.
enum ScrollCode : int {
    kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4, kThumbTrack = 5,
    kTop = 6, kBottom = 7, kEndScroll = 8,
};

// The horizontal bar: positions in 1/10000 of the scrollable span.
struct HorizontalScroll {
    int64_t page = 0, max = 0, pos = 0;
};
// The bar's range and position for N samples of which V are visible from `first`.
HorizontalScroll ComputeHorizontalScroll(int64_t n, int64_t v, int64_t first);
// The bar position and first visible sample after a scroll request.
void ApplyHorizontalScroll(int code, int64_t thumb, int64_t n, int64_t v, int64_t& pos, int64_t& first);

// The bytes of a channel drag in the program's private format: a little-endian 32-bit count,
// then that many 32-bit channel indices.
std::vector<uint8_t> WriteDraggedChannels(const std::vector<uint32_t>& channels);

// Sound values of the settings a damaged ".set" may hold.
double SaneXScale(double xscale, double fallback);
int SaneAnalogSize(int size);
int SaneTimeUnit(int unit);

// The base of the view: the off-screen picture, three fonts and the line heights measured
// with them, and the virtual operations that printing and the picture on the clipboard use.
class CBaseView {
public:
    CBaseView();
    virtual ~CBaseView();
    CBaseView(const CBaseView&) = delete;
    CBaseView& operator=(const CBaseView&) = delete;

    virtual void DrawContent(CDC* /*dc*/, int /*cx*/, int /*cy*/) {}
    virtual int GetContentHeight() const { return 0; }
    virtual int GetContentWidth() const { return 0; }
    virtual int GetPrintHeight() const { return 0; }
    virtual int GetPrintWidth() const { return 0; }

    // Draws the whole picture into the off-screen bitmap and copies the client rectangle to
    // `target` at (0, 0).
    void OnDraw(CDC* target, int cx, int cy);
    CBitmap& GetPicture() { return m_bitmap; }

    // Printing metrics (set by printing; 0 when not printing).
    int m_pageCount = 0;
    bool m_printing = false;
    int m_captionLineHeight = 0;  // L: "Ay" in the bold font
    int m_smallLineHeight = 0;    // S: "Ay" in the small font
    int m_printPageWidth = 0, m_printPageHeight = 0;
    // The view as laid out for paper (0 when not printing): its width in view pixels, the
    // horizontal scale and the analog row height the printed pages are drawn with.
    int m_printWidth = 0;
    double m_printXScale = 0;
    int m_printAnalogSize = 0;
    CBitmap m_bitmap;
    CDC m_memDC;
    CFont m_heavyFont, m_boldFont, m_smallFont;
    std::vector<int> m_pages;
    int m_printOptions[5] = {1, 0, 0, 0, 0};
};

// What printing asks of the frame: the diagram windows print their own pages.
class PrintHost {
public:
    virtual ~PrintHost() = default;
    virtual void PrintDiagram(int displayBit, CDC* dc, const CRect& rect, bool preview) = 0;
};

// One printout: what the program's settings and the printer give, and the page geometry.
struct PrintJob {
    PrintMargins margins;
    int screenDpi = 96;
    bool preview = false;
    PrintGeometry geometry;
};

// Merging the selected channels into one strip and separating them again.
enum StripCommand : unsigned { ID_OVERLAY_CHANNELS = 33035, ID_SEPARATE_CHANNELS = 33037 };

// The text box the hover read-out shows over a caption whose text was cut.
struct HoverBox {
    bool show = false;
    CString text;
    CRect rect;          // client coordinates
    bool heavy = true;   // heavy font, else the small one
};

// The comment tools and the commands on the comment item under the mouse.
enum CommentCommand : unsigned {
    ID_COMMENT_MOMENT = 155,
    ID_COMMENT_LEVEL = 156,
    ID_COMMENT_AREA = 157,
    ID_COMMENT_EDIT = 33038,
    ID_COMMENT_LOCK = 33039,
    ID_COMMENT_DELETE = 33040,
    ID_COMMENT_HIDE = 33041,
    ID_COMMENT_LEVEL_EDIT = 33042,
};
bool IsCommentCommand(unsigned id);

// What a comment command's control shows; `text` replaces its title when not empty.
struct CommentCommandState {
    bool known = false;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    CString text;
};

// An entry of the context menu of a comment item.
struct CommentMenuEntry {
    unsigned id = 0;
    CString text;
    bool checkable = false;
    bool checked = false;
};

// Where the level of a level comment is typed: client point and the text it starts with.
struct LevelEditPlace {
    int x = 0, y = 0;
    CString text;
};


// Commands of the view (the cursor and channel commands keep the ids of their own enums).
enum ViewCommand : unsigned {
    ID_ZOOM_VERTICAL_IN = 32800,
    ID_ZOOM_VERTICAL_OUT = 32801,
    ID_ZOOM_HORIZONTAL_IN = 32802,
    ID_ZOOM_HORIZONTAL_OUT = 32803,
    ID_ZOOM_SELECTED_AREA = 138,
    ID_RESTORE_SIZE = 141,
    ID_TIME_MICROSECONDS = 32853,
    ID_TIME_MILLISECONDS = 32854,
    ID_TIME_SECONDS = 32855,
    ID_TIME_SAMPLES = 32856,
    ID_TIME_ABSOLUTE = 33007,
    ID_GRID = 32857,
};

// What a command's control shows: whether the view answers it, enabled, checked.
struct ViewCommandState {
    bool known = false;
    bool enabled = true;
    bool checked = false;
};

class CTenvorikView : public CBaseView, public CursorView, public CommentView, public ChannelCommandView {
public:
    CTenvorikView(CTenvorikDoc* doc, ViewHost* host);
    ~CTenvorikView() override;

    // --- window life
    void OnInitialUpdate();
    // After any change of the document: layout refreshed; the next paint rebuilds the curve
    // summaries of the channels whose curves changed.
    void OnUpdate();
    void OnSize(int cx, int cy);
    void OnActivateView(bool activate);
    void RecalcLayout();
    void OnHScroll(int code, int64_t thumb);
    void OnVScroll(int code, int64_t thumb);
    // Scrolling while something is dragged over the view. `code` carries a horizontal request
    // in its low byte (kThumbTrack takes `position`, kTop the start, kBottom the end, anything
    // else none) and a vertical one in its high byte (kLineUp or kLineDown; anything else
    // none). True when something was scrolled, and then the view is painted at once.
    bool OnScroll(unsigned code, int64_t position, bool doScroll);
    // Scrolls the rows by one line up for a positive `dy`, down for a negative one; then the
    // record's views and the diagrams follow. The horizontal amount is not used: a drag takes
    // no sideways step. False when nothing moved (or `doScroll` is off).
    bool OnScrollBy(int64_t dx, int dy, bool doScroll);

    // --- the time cursors under the mouse and the arrow keys (client coordinates)
    // `left` is the left button held; `rightHeld` the right button pressed or held with it (a
    // press without the left button is always the right one).
    void OnButtonDown(int x, int y, bool left, bool shift, bool ctrl = false, bool rightHeld = false);
    // A press in the caption column at content y: plain selects the channel alone, CTRL toggles
    // it, SHIFT selects from the range anchor to it in display order, the right button alone
    // keeps a selection that already holds it; the diagrams are then reloaded.
    void SelectInCaptionColumn(int contentY, bool left, bool right, bool ctrl, bool shift);
    // The channel whose caption block holds content y in the caption column (display order,
    // a strip member by its own block), or null; `top` and `height` receive the block.
    CChannel* CaptionChannelAt(int contentY, int64_t* top = nullptr, int* height = nullptr) const;
    void OnMouseMove(int x, int y);
    void OnButtonUp();
    // The pointer over client point (x, y): what a press there would take, or the drag under way.
    enum class Pointer { Default, Hand, SizeWE, SizeNS, UpArrow };
    Pointer PointerAt(int x, int y) const;
    enum ArrowKey { kArrowLeft, kArrowRight, kArrowUp, kArrowDown };
    // Left and right step В1 (В2 with CTRL) by a sample, and the traces follow a cursor that
    // steps past their edge; up and down step Г1 (Г2) by a pixel.
    void OnArrowKey(ArrowKey key, bool ctrl);
    // The caption blocks of the visible channels in display order, in content y.
    struct CaptionBlock {
        CChannel* channel;
        int64_t top;
        int height;
    };
    std::vector<CaptionBlock> CaptionBlocks() const;
    // The channel selection stepped from the keyboard: the next (step 1) or previous (-1)
    // visible channel of the caption column becomes the selection, or with `extend` the range
    // from the anchor to it; the rows scroll to show it and the diagrams are reloaded.
    // False when there is no channel to select.
    bool SelectChannelByKey(int step, bool extend);
    // Where the captions' menu opens from the keyboard (client point): by the channel the
    // keys last selected, else by the first selected channel on show, else at the column's top.
    CPoint CaptionMenuPoint();
    // The cursor commands: a vertical cursor never placed goes to a quarter, half or three
    // quarters of the traces' width; otherwise the cursor is switched on or off.
    void OnToggleCursorCommand(unsigned id);
    // --- comments
    // The tools 155-157 and the item commands 33038-33041 (33042 needs the window's edit:
    // see LevelEditPlace). False for any other id.
    bool OnCommentCommand(unsigned id);
    CommentCommandState GetCommentCommandState(unsigned id) const;
    // The context menu of the comment item under the mouse; empty when there is none.
    std::vector<CommentMenuEntry> CommentMenu() const;
    // Where the level edit of the selected level comment opens; false without one.
    bool GetLevelEditPlace(LevelEditPlace& place) const;
    // The typed level; the document is marked modified.
    void ApplyLevelEdit(const CString& text);
    // A double click in the plot edits the comment under the mouse; true when it changed.
    bool OnDoubleClick(int x, int y);

    // --- zoom, wheel, time unit, grid and the channel commands
    // Runs a command of the view (zoom, measuring, time unit, grid, cursors, channel display);
    // false when the view does not answer it.
    bool OnViewCommand(unsigned id);
    ViewCommandState GetViewCommandState(unsigned id) const;
    void OnZoomCommand(unsigned id);
    void OnTimeCommand(unsigned id);
    // 138: arms the measurement that zooms a row vertically; 141 takes that zoom back.
    void OnZoomSelectedArea();
    void OnRestoreSize();
    // A wheel turn (120 a notch, positive away from the user): ALT zooms vertically, CTRL
    // horizontally, SHIFT (or a sideways wheel) pages through time, else the rows scroll.
    void OnMouseWheel(int rotation, bool alt, bool ctrl, bool shift, bool sideways = false);
    // Scrolls so that samples a..b are on show (a window the fault locator placed).
    void ShowSamples(int64_t a, int64_t b) override;
    // One wheel notch or line of the vertical bar: an analog row.
    int RowStep() const { return m_analogSize; }

    // --- ChannelCommandView
    bool GetLevelCursorHeight(int k, int& y) override;
    void PlaceLevelCursor(int k, int y) override;
    void Invalidate() override;

    // The channels a mouse move at client x drags out of the view: with the left button held
    // in the caption column, without CTRL or the right button, and no cursor, pasted channel,
    // measurement or comment being dragged, the indices of the selected analog channels in
    // increasing order. Empty when the move drags nothing.
    std::vector<uint32_t> ChannelsToDrag(int x, bool left, bool right, bool ctrl) const;

    // --- geometry kept in the settings category "View"; each setter writes it back and marks
    // the document modified
    void SetXScale(double xscale);
    void SetTimeUnit(int unit);
    void SetAnalogSize(int size);
    void SetGrid(bool grid);
    double GetFitScale() const;

    // --- rows
    int GetChannelHeight(const CChannel& ch) const override;
    int GetChannelHeightAt(int index) const override;
    int GetCaptionBlockHeight(const CChannel& ch) const;
    int GetAnalogHeight() const;
    int GetDiscreteHeight() const;
    int GetBottomBand() const;
    int GetContentHeight() const override;
    int GetContentWidth() const override;
    // The channel whose row holds content y (client y − offset), or null.
    CChannel* ChannelFromPoint(int x, int contentY) const override;
    bool IsPastedChannelAt(CPoint clientPoint) const;
    // Visible members of the channel's merged strip in index order (empty when in none).
    std::vector<CChannel*> GetStripMembers(const CChannel& ch) const;

    // --- printing and the picture on the clipboard
    // Prepares a printout on `dc`: page geometry, oscillogram pages and the page list (from
    // the print options); false, with the reason in `refusal`, when nothing can be printed.
    bool OnBeginPrinting(CDC* dc, PrintJob& job, CString* refusal);
    // Prints page `page` (from 1) of the page list; a page outside it prints nothing.
    void OnPrint(CDC* dc, int page, const PrintJob& job, PrintHost* host);
    void OnEndPrinting();
    int GetPrintPageCount() const { return int(m_pages.size()); }
    // Row heights in the order the passes lay rows out, and the pages they take in print.
    std::vector<int> PrintRowHeights() const;
    int CountPrintPages() const;
    // The horizontal scale of the printed pages.
    double PrintXScale() const;
    int GetPrintHeight() const override;
    int GetPrintWidth() const override;
    // The picture the window shows, `cx` x `cy`, as PNG bytes (empty when there is none).
    std::vector<uint8_t> RenderPicturePng(int cx, int cy);

    // --- drawing passes
    void DrawContent(CDC* dc, int cx, int cy) override;
    void DrawChannelCurves(CDC* dc, int cx, int cy, int top);
    void MeasureCaptionColumn(CDC* dc);
    void DrawBackground(CDC* dc, int cx, int cy, int y0);
    void DrawChannelCaptions(CDC* dc, int y0);
    void DrawTimeAxis(CDC* dc, int cx, int y);
    void DrawDifferencePanel(CDC* dc, int cx, int cy);
    int GetPastedShiftPixels() const;
    // The view's picture height one printed page shows (0 when not printing), and the pager
    // every pass lays its rows out with: on for a printed picture, off on the screen.
    int64_t PrintSlice() const;
    RowPager PagerFor(const CDC* dc) const;

    // --- captions and texts
    void BuildDisplayOrder(std::vector<CChannel*>& order, std::set<const CChannel*>* grouped,
                           std::set<const CChannel*>* heads) const;
    CString FormatStripCaption(const CChannel& ch) const;
    // A caption's value text: the first line's (" %-6g %s" / "-%-6g %s") or a value line's
    // (" %-8g %s" / "%-8g %s"), with the unit prefix and the unit cut to 5 characters.
    CString FormatCaptionValue(const CChannel& ch, double v, bool firstLine) const;
    CString GetCaptionWidthSample(const CChannel& ch) const;
    CString FormatTimeValue(int64_t value, bool difference, int unit) const;
    // Ticks and labels of the time axis for a picture `cx` wide, measured on `dc`.
    std::vector<AxisTick> TimeAxisTicks(CDC* dc, int cx);
    // The value at cursor В1 of an analog channel (NaN outside a pasted channel's span).
    double ValueAtCursor(const CChannel& ch) const;
    // The box the hover read-out shows at a client point.
    HoverBox OnMouseHover(CPoint point);

    // --- CursorView
    void GetStripRange(int index, double& low, double& high) const override;
    int GetTimeUnit() const override { return m_timeUnit; }
    bool ShowsDifferencePanel() const override;
    void PlaceRow(const CDC* dc, int64_t& top, int h) const override { PagerFor(dc).Place(top, h); }
    int64_t PageHeight(const CDC* dc) const override { return PagerFor(dc).Slice(); }
    int GetTraceLeft() const override { return m_leftWidth; }
    int64_t GetFirstVisibleSample() const override { return m_firstSample; }
    double GetXScale() const override { return m_xScale; }
    int GetTraceRight() const override { return m_clientWidth; }
    int GetRowsTop() const override { return m_yOffset; }
    void SetStatusPaneText(int pane, const CString& text) override;
    void UpdateDiagrams() override;
    void OnLocatorCursors(int first, int last) override;

    // --- the channel commands (ChannelCommand ids, 33035, 33037) handed to the record
    // False when the view does not answer `id`.
    bool OnChannelCommand(unsigned id);
    // The state of a channel command's control; false when the view does not answer `id`.
    bool UpdateChannelCommandUI(CCmdUI& ui) const;

    // --- merged strips and the channel's name edited in place
    // At least two selected visible analog channels, all of one non-empty unit, none on a
    // time base of its own.
    bool CanOverlaySelected() const;
    // 33035: the selected visible analog channels (with the strips they belong to) become one
    // strip under a new key; refused with a message when their sampling rates differ.
    void OnOverlayChannels();
    // A selected visible channel belongs to a strip.
    bool CanSeparateSelected() const;
    // 33037: the strips of the selected visible channels are dissolved.
    void OnSeparateChannels();
    // The analog channel whose caption name a double click at client (x, y) hits, with the
    // box of its name; -1 when none.
    int NameEditAt(int x, int y, CRect* box) const;
    // Starts the in-place edit of channel `index`'s name.
    void BeginNameEdit(int index) { m_editItem = index; }
    // Ends the in-place edit: with `apply` the text becomes the channel's name unless another
    // channel already has it (the user is told). True when the edit was open.
    bool CommitInPlaceEdit(bool apply, const CString& text);

    CTenvorikDoc* GetDocument() const { return m_doc; }

    // --- state, in the order of the view's record
    int m_mouseMode = 0;
    int m_timeUnit = 1;          // "RulerState"
    double m_xScale = 1.0;       // "XScale": one sample takes 25 x XScale pixels
    int m_yOffset = 0;           // never positive
    int64_t m_firstSample = 0;
    int64_t m_visibleSpan = 0;   // V
    int m_analogSize = 93;       // "YAnalogSize"
    int m_leftWidth = 125;       // W
    int m_valueX = 0;            // X
    bool m_grid = true;          // "Sells"
    CStringA m_rangeAnchor;      // file name of the channel SHIFT ranges start from
    CStringA m_caretChannel;     // file name of the channel the selection keys step from
    int m_dragStartX = 0;
    double m_dragStartShift = 0.0;
    double m_measureX = 0, m_measureY1 = 0, m_measureY2 = 0;
    int m_measureChannel = 0;
    int m_editItem = -1;
    // The vertical cursor the last press moved and where it was before: a double click that
    // edits a comment puts it back, since its first press was no placing of a cursor.
    int m_pressMovedCursor = -1;
    CursorMarker m_cursorBeforePress;
    int m_clientWidth = 0, m_clientHeight = 0;
    int64_t m_hScrollPos = 0;
    int64_t m_vScrollPos = 0;
    int m_wheelRest = 0;  // a smooth wheel's turn not yet a whole notch
    int64_t m_vScrollEnd = 0;  // the vertical position at the rows' end, as last laid out

private:
    // Scrolls the rows so that content y `top` to `top + height` is on show.
    void ScrollRowsToShow(int64_t top, int height);
    // The analog row holding content y: its channel index, top and height.
    bool AnalogRowAt(int64_t contentY, int& index, int64_t& top, int& height) const;
    // Mode 8 ends: the measured row (or its strip) shows the measured span, or its whole range.
    void FinishMeasurement();
    SettingsNode& ViewSettings() const;
    // Curve summaries by channel index, rebuilt where the curve values changed.
    const std::vector<const CurveSummary*>& Summaries();
    void DrawCaptionBlock(CDC* dc, const CChannel& ch, int T, int B, bool strip, int rowBottom);
    void PrintSliceOfPicture(CDC* dc, const PrintGeometry& g, int slice);
    void DrawPrintHeader(CDC* dc, const PrintGeometry& g);
    void DrawPrintFooter(CDC* dc, const PrintGeometry& g, int page);

    CTenvorikDoc* m_doc;
    ViewHost* m_host;
    std::vector<CurveSummary> m_summaryStore;
    std::vector<const CurveSummary*> m_summaries;
};

}  // namespace oscview
