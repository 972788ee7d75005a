#pragma once
// The arithmetic of the circle (impedance-plane) diagram as plain functions: options read
// from the record settings, the plot scale, zoom, origin steps and scroll bars, the sample
// range plotted, the texts of the edge labels, the cell legend and the value table, and the
// channel and pair items of its menu.
#include <cstdint>
#include <vector>

#include "model/Complex.h"
#include "platform/CString.h"
#include "platform/draw/GdiTypes.h"

class CChannel;
class COscillogram;
class CTenvorikDoc;
class SettingsNode;
struct ChannelPair;

enum CircleDiagramCommand : unsigned {
    ID_CIRCLE_SIGHTS_ONLY = 32843,
    ID_CIRCLE_SHOW_ALL = 32845,
    ID_CIRCLE_HIDE_ALL = 32846,
    ID_CIRCLE_RELOAD_BLOCKS = 32864,
    ID_CIRCLE_SHOW_OFF = 32865,
    ID_CIRCLE_VIEW_REIM = 33008,
    ID_CIRCLE_VIEW_RMS_ANGLE = 33009,
    ID_CIRCLE_CREATE_PAIR = 33027,
    ID_CIRCLE_ITEM_FIRST = 35000,
    // Tool-bar buttons of the pane.
    ID_CIRCLE_TB_CHANNELS = 33014,
    ID_CIRCLE_TB_SIGHTS_ONLY = 33015,
    ID_CIRCLE_TB_SHOW_OFF = 33016,
    ID_CIRCLE_TB_VIEW_REIM = 33017,
    ID_CIRCLE_TB_VIEW_RMS_ANGLE = 33018,
    ID_CIRCLE_TB_RELOAD = 33019,
    ID_CIRCLE_TB_ZOOM_IN = 33020,
    ID_CIRCLE_TB_ZOOM_OUT = 33021,
    ID_CIRCLE_TB_UP = 33022,
    ID_CIRCLE_TB_DOWN = 33023,
    ID_CIRCLE_TB_LEFT = 33024,
    ID_CIRCLE_TB_RIGHT = 33025,
};
// Channel and pair items take the ids from 35000 on, one per channel and then one per pair;
// a record may have more of them than the hundred ids of the menu resource, so the window
// answers this many.
constexpr unsigned kCircleMenuItems = 10000;

// ---- options of the record settings ("Circle Chart")
struct CircleChartSettings {
    bool sightsOnly = true;
    bool showOffCharacteristics = true;
    unsigned viewChannelType = 0;  // 0 legend, 1 real and imaginary, 2 RMS and angle
    CString selectedBlock;
};
// A view other than 0, 1 or 2 (a damaged file) reads as 0, the legend.
CircleChartSettings LoadCircleChartSettings(const SettingsNode& node);

// ---- channels
// "Ohm" (any letter case): a resistance channel, on the resistance scale.
bool IsResistanceUnit(const CString& unit);
// "Ohm" or "VA" (any letter case): the units this diagram shows.
bool IsCircleUnit(const CString& unit);
// A channel offered for the diagram: analog, on the record's time base, in Ohm or VA.
bool IsCircleEligible(const CChannel& ch);
// The stored first-harmonic phasor at sample i, or 0 where there is none or a part is NaN.
Complex CirclePhasorAt(const CChannel& ch, int64_t i);
// Clears the diagram flag of channels in other units (what an older file or a drop set).
void StripNonCircleChannels(COscillogram& osc);
// Flags every eligible channel and shows every pair / clears every flag and hides every pair.
void ShowAllCircleItems(CTenvorikDoc& doc);
void HideAllCircleItems(CTenvorikDoc& doc);
// Menu item i: channel i when i < channel count, else pair i - channel count. An item that
// fits neither (a pair pruned while the menu was open) is refused: false, nothing changes.
bool ToggleCircleItem(CTenvorikDoc& doc, int i);
bool IsCircleItemChecked(const CTenvorikDoc& doc, int i);
// The pair's two channels when both exist (by name), else false.
bool FindPairChannels(const CTenvorikDoc& doc, const ChannelPair& p, const CChannel** first,
                      const CChannel** second);

// ---- sample range
struct SampleRange {
    int64_t start = 0, end = -1;  // inclusive; empty when end < start
    bool Empty() const { return end < start; }
};
// Samples of one period: sampling frequency / whole network frequency, 0 when the network
// frequency is below 1 Hz.
int64_t CircleSamplesPerPeriod(const COscillogram& osc);
// Between the cursors, else from the second period to the last sample; the trajectories
// never start in the first period.
SampleRange CirclePlottedRange(bool sightsOnly, int64_t c1, int64_t c2, int64_t period, int64_t count,
                               bool forTrajectory);

// ---- scale
// Up to one significant digit: 0.23 -> 0.3, 41 -> 50, -7.2 -> -8; 0 and non-finite give 0.
double RoundUpOneDigit(double v);
struct CircleScales {
    bool ok = false;
    double maxR = 0, maxP = 0;
    double ppuR = 0, ppuP = 0;  // 0 for a quantity with nothing to show
    int cell = 0;
    double upcR = 0, upcP = 0;
};
// `dpi` is the screen's horizontal resolution, `s` the print scale, `plot` the rectangle.
CircleScales ComputeCircleScales(double maxR, double maxP, int dpi, int s, const CRect& plot, double zoom);
// Largest absolute values of the flagged channels and the shown pairs over the range the
// scale looks at; NaN samples are skipped.
void CircleDataExtent(const CTenvorikDoc& doc, bool sightsOnly, double& maxR, double& maxP);

// ---- zoom, origin and scroll bars
constexpr double kCircleZoomIn = 1.5;
constexpr double kCircleZoomOut = 0.6666666666666666;
// The zones may grow on screen to below 400 pixels; nothing to show always fits.
bool CircleCanZoomTo(double ppuR, double zoom, double newZoom, double extent);
// Origin steps reach at most this many cells from the centre.
int CircleScrollLimit(int length, int cell, double zoom);
struct CircleScrollBars {
    bool enabled = false;
    int page = 0, range = 0;  // range: 10000 - page
    int posH = 0, posV = 0;
};
CircleScrollBars CircleScrollBarState(double zoom, int offH, int offV, int limitH, int limitV);
enum CircleScrollCode { kScrollLineUp, kScrollLineDown, kScrollPageUp, kScrollPageDown, kScrollThumbPosition,
                        kScrollThumbTrack, kScrollTop, kScrollBottom, kScrollEnd };
// New bar position, or -1 for a message that changes nothing.
int CircleScrollPosition(CircleScrollCode code, int current, int delivered, int range);
// The origin offset a bar position stands for.
int CircleOffsetFromPosition(double zoom, int limit, int range, int position);
// Height of the block grid after a drag: at most the pane height - 150, at least 50.
int ClampCircleGridHeight(int height, int paneHeight);
// Places a pane's tool buttons (cells of `cell` pixels, a gap of `gap` after those marked) in
// columns from the top, a new column where the next would pass `height`, so that none is hidden
// or covers another however low the pane. The rectangles are in the column's own coordinates.
std::vector<CRect> PlaceToolColumn(const std::vector<bool>& gapAfter, int height, int cell, int gap);

// ---- texts
// " R: 40 Ом, 4 кВт" and the like; `axis` is 'R' or 'X'.
CString CircleEdgeLabel(wchar_t axis, double resistance, double power, bool cyrillic);
// The cell legend: " 10 Ом, 2 кВт".
CString CircleCellLegend(double upcR, double upcP, bool cyrillic);
// Cells of the value table.
CString FormatTableValue(double v, const CString& unit, const CString& displayUnit, bool cyrillic);
CString FormatTableMagnitude(double m, const CString& unit, const CString& displayUnit, bool cyrillic);
CString FormatTableAngle(Complex z);
CString FormatTableComplex(Complex z, const CString& unit, const CString& displayUnit, bool cyrillic);
// Rows of the value table: flagged channels, then shown pairs with both channels.
int CircleTableRowCount(const CTenvorikDoc& doc);
// Height reserved for the value table.
int ValueTableHeight(int rows, int textHeight, int s);

// ---- menu
struct CircleMenuEntry {
    int position = 0;  // where in the "channels" sub-menu (past its end: appended)
    unsigned id = 0;
    CString text;
};
std::vector<CircleMenuEntry> CircleMenuEntries(const CTenvorikDoc& doc);
