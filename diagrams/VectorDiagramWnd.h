#pragma once
// The phasor diagram: the first-harmonic phasors of the chosen analog channels at the first
// vertical cursor, measured against a reference channel, with scale rings and a value table.
// Which channels are shown is bit CHF_VECTOR_DIAGRAM of each channel; the options live in the
// record's settings category "Vector Chart".
#include <vector>

#include "diagrams/DiagramWnd.h"
#include "model/Complex.h"
#include "platform/CString.h"
#include "platform/CmdUI.h"

class CChannel;

enum VectorDiagramCommand : unsigned {
    ID_VECTOR_RADIANS = 32841,
    ID_VECTOR_ONLY_DIRECTION = 32842,
    ID_VECTOR_SHOW_VALUES = 32844,
    ID_VECTOR_SHOW_ALL = 32845,
    ID_VECTOR_HIDE_ALL = 32846,
    ID_VECTOR_CHANNEL_FIRST = 35000,
    ID_VECTOR_REFERENCE_FIRST = 36000,
    // Tool-bar buttons of the pane.
    ID_VECTOR_TB_CHANNELS = 33010,
    ID_VECTOR_TB_REFERENCE = 33011,
    ID_VECTOR_TB_SHOW_VALUES = 33012,
    ID_VECTOR_TB_ONLY_DIRECTION = 33013,
};
// Channel items reach this many channels, so that the channel and reference ranges never meet.
constexpr unsigned kVectorMenuChannels = 1000;

// One item of a menu built by the diagram; the window side turns it into a real menu.
struct DiagramMenuItem {
    unsigned id = 0;           // 0: separator, or a sub-menu when `items` is not empty
    CString text;
    std::vector<DiagramMenuItem> items;
    static DiagramMenuItem Separator() { return {}; }
};

// First-harmonic phasor (RMS) of `ch` at document sample q: the stored phasor, or for a pasted
// channel the one interpolated in time between its own samples.
Complex GetChannelPhasorAt(const CChannel& ch, uint32_t q, const CTenvorikDoc& doc);

// Scale value of a largest magnitude: two significant digits rounded up to a multiple of 5;
// 0 for nothing to scale.
double RoundScaleMaximum(double m);
// A scale text of the box, written as the captions write a value: "60.0 В", "25.0 кВ",
// "150.0 мА" (the prefix of `unit`, then the unit as shown).
CString FormatScaleText(double value, const CString& unit, const CString& displayUnit, bool cyrillic);
// Magnitude text of the value table: value with prefix, then the unit as shown.
CString FormatMagnitudeText(double mag, const CString& unit, const CString& displayUnit, bool cyrillic);
// Angle text of the value table from the drawing angle φ (radians).
CString FormatAngleText(double phi, bool radians);

class VectorDiagramWnd : public DiagramWnd {
public:
    explicit VectorDiagramWnd(DiagramOwner* owner) : DiagramWnd(owner) {}

    void LoadSettings() override;
    void Draw(CDC* dc, CRect rect, int scale, const CFont* font, CTenvorikDoc* doc) override;

    // Commands of the window, its menus and the pane's tool bar; false when not handled.
    bool OnCommand(unsigned id);
    void OnUpdateCommand(CCmdUI& ui);
    // The context menu (null without a document) and the two sub-menus the tool bar shows.
    std::vector<DiagramMenuItem> BuildContextMenu();
    std::vector<DiagramMenuItem> BuildChannelMenu();
    std::vector<DiagramMenuItem> BuildReferenceMenu();

    void SetAngleChannelName(const CString& name);
    const CString& GetAngleChannelName() const { return m_angleChannelName; }
    bool ShowAnglesValue() const { return m_showAnglesValue; }
    bool AngleInRadians() const { return m_angleInRadians; }
    bool OnlyDirection() const { return m_onlyDirection; }

    // Where the last drawing put the rings and the table (read-outs and tests measure by it).
    struct Layout {
        int cx = 0, cy = 0, R0 = 0;
        int B1 = 0, off = 0, maxw = 0, numw = 0, h = 0;
        bool table = false;
        bool tableFits = false;  // the value table would leave the rings room enough
        double uScale = 0, iScale = 0;
    };
    const Layout& LastLayout() const { return m_layout; }

private:
    void FlipOption(bool& option, const wchar_t* key);
    static bool IsEligibleForMenu(const CChannel& ch);

    bool m_showAnglesValue = true;
    bool m_angleInRadians = false;
    bool m_onlyDirection = false;
    CString m_angleChannelName;
    Layout m_layout;
};
