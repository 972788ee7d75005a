#pragma once
// The five time cursors of a document: records 0 to 2 are the vertical cursors В1, В2, В3
// (record 0 is the red cursor), 3 and 4 the horizontal ones ГВ1, ГВ2 bound to a channel row.
#include <array>
#include <vector>
#include <cstdint>

#include "platform/CString.h"

class DocumentModel;
class CDC;
class CCmdUI;

struct CursorMarker {
    bool shown = false;
    int position = 0;    // sample of a vertical cursor, never negative
    double level = 0.0;  // value of a horizontal cursor, in the channel's displayed units
    int channel = -1;    // channel a horizontal cursor is bound to; -1 for none
};
using CursorRecord = CursorMarker;

// What the cursors ask of the view that draws them and of the windows around it.
class CursorView {
public:
    virtual ~CursorView() = default;
    // Row height of channel `index` (0 for a hidden channel and a strip's other members).
    virtual int GetChannelHeightAt(int index) const = 0;
    // The vertical range the channel's row is drawn on: its own, or its merged strip's.
    virtual void GetStripRange(int index, double& low, double& high) const = 0;
    virtual int GetTimeUnit() const = 0;
    virtual bool ShowsDifferencePanel() const = 0;
    // Left of the traces, first visible sample, scale and the width of the traces.
    virtual int GetTraceLeft() const = 0;
    virtual int64_t GetFirstVisibleSample() const = 0;
    virtual double GetXScale() const = 0;
    virtual int GetTraceRight() const = 0;
    virtual int GetRowsTop() const = 0;
    // The status-bar panes 0 to 5, the diagram windows and the fault locator's two cursors.
    virtual void SetStatusPaneText(int pane, const CString& text) = 0;
    virtual void UpdateDiagrams() = 0;
    virtual void OnLocatorCursors(int first, int last) = 0;
    // Samples a..b are to be on show: the fault locator placed its cursors there.
    virtual void ShowSamples(int64_t /*a*/, int64_t /*b*/) {}
};

enum CursorCommand : unsigned {
    ID_CURSOR_V1 = 32813,
    ID_CURSOR_V2 = 32814,
    ID_CURSOR_V3 = 139,
    ID_CURSOR_H1 = 32815,
    ID_CURSOR_H2 = 32816,
};

class CursorSet {
public:
    explicit CursorSet(DocumentModel* doc) : m_document(doc) {}
    static constexpr int kHorizontalFirst = 3;
    static constexpr int kCount = 5;

    // Switches a cursor off and unbinds it.
    void SwitchOff(int i) { m_cursors[size_t(i)] = CursorMarker(); }

    void SetPosition(int index, int64_t sample);
    void MoveVerticalCursor(bool first, int left, int64_t firstVisible, int x, double xscale);
    void MoveThirdCursor(int left, int64_t firstVisible, int x, double xscale);
    void PlaceLevelCursor(bool first, int top, int x, int y);
    // 1..5 for the cursor under the point, 0 for none.
    int HitTest(int x, int y, int64_t firstVisible, int left, int top, double xscale) const;
    // y of a level in the channel's row; -1 for an unbound or unknown channel.
    int ValueToY(int channel, int top, double level) const;
    void OnToggleCursor(unsigned id);
    bool IsCursorShown(unsigned id) const;
    void OnUpdateToggleCursor(CCmdUI& ui, unsigned id) const;
    void UpdateReadouts();
    void UpdateLevelDifference();
    void Draw(CDC* dc, int right, int bottom, int top, int left, int64_t firstVisible, double xscale) const;

    // Texts of the read-outs, by pane (0..5); what UpdateReadouts writes.
    CString ReadoutText(int pane) const;
    // x at which a vertical cursor on sample s is drawn (as the traces place their samples).
    static int CursorX(int64_t s, int left, int right, int64_t firstVisible, double xscale, int64_t sampleCount);
    // Sample nearest to x (ceil on a tie), not below 0.
    static int64_t SampleFromX(int left, int64_t firstVisible, int x, double xscale);
    // Unbinds a horizontal cursor whose channel no longer exists or is not analog.
    void ValidateBindings();
    // The factors from samples to shown values of every channel, as they are now.
    std::vector<double> DisplayMultipliers() const;
    // After the shown values changed scale (primary or secondary values, new ratios): a level
    // cursor's value is scaled with its channel, so that it stays where it was on the curve and
    // reads in the unit now shown; `before` is DisplayMultipliers() from before the change.
    void FollowDisplayScale(const std::vector<double>& before);

    DocumentModel* m_document;
    CursorView* m_view = nullptr;
    std::array<CursorMarker, kCount> m_cursors{};

private:
    int CursorXOf(int index) const;
    bool ChannelRange(int channel, double& low, double& high) const;
};
