#pragma once
// The harmonic spectrum: for every channel flagged CHF_FREQ_DIAGRAM, a bar chart of the RMS
// magnitudes of its spectral lines in a window of whole network periods that ends at the first
// vertical cursor, labelled with their frequencies and their values (absolute, or in percent of
// the fundamental or of the window's RMS value). The options live in the record's settings
// category "Frequency Chart".
#include <functional>
#include <vector>

#include "diagrams/DiagramWnd.h"
#include "diagrams/VectorDiagramWnd.h"
#include "platform/CString.h"
#include "platform/CmdUI.h"

class CChannel;
class SettingsNode;

enum FourieDiagramCommand : unsigned {
    ID_FOURIE_SHOW_ALL = 32845,
    ID_FOURIE_HIDE_ALL = 32846,
    ID_FOURIE_SETTINGS = 32863,
    ID_FOURIE_CHANNEL_FIRST = 35000,
};
// Channel items reach this many channels; a record may have more than the menu resource's
// hundred.
constexpr unsigned kFourieMenuChannels = 10000;

struct FourieSettings {
    int numPeriods = 1;
    int numHarmonics = 10;
    int useRms = 0;        // 0: percent of the fundamental, 1: percent of the window's RMS value
    int showPersents = 0;  // 0: values in percent, 1: absolute values
};
// Harmonics a window of `periods` periods can hold: trunc(fs / f x 0.5 x periods); 0 without
// a sampling or network frequency.
int FourieHarmonicsCap(double samplingFrequency, double netFrequency, int periods);
// The options of the record: a damaged value is clamped (periods at least 1, harmonics at least
// 0, flags 0 or 1) and the harmonics are capped at what the window holds.
FourieSettings LoadFourieSettings(const SettingsNode& node, double samplingFrequency, double netFrequency);
void StoreFourieSettings(SettingsNode& node, const FourieSettings& s);

// What the settings dialog accepts: periods 1 .. sample count / samples of a period, harmonics
// 1 .. half the samples of a period x periods. A record with less than one sample a period
// still allows one of each.
int FourieMaxPeriods(int64_t sampleCount, double samplingFrequency, double netFrequency);
int FourieMaxHarmonics(double samplingFrequency, double netFrequency, int periods);

// Label of spectral line h: h x f / periods, "%-.0f" when whole, else "%-.1f".
CString FourieFrequencyLabel(int h, double netFrequency, int periods);
// Value text of a bar: `v` itself (absolute) or in percent of `base`; "0" below 0.01.
CString FourieValueText(double v, double base, bool percent);

class FourieDiagramWnd : public DiagramWnd {
public:
    explicit FourieDiagramWnd(DiagramOwner* owner) : DiagramWnd(owner) {}

    void LoadSettings() override;
    void Draw(CDC* dc, CRect rect, int scale, const CFont* font, CTenvorikDoc* doc) override;

    // Commands of the context menu and of drops; false when not handled.
    bool OnCommand(unsigned id);
    void OnUpdateCommand(CCmdUI& ui);
    // The context menu: "Каналы" with show all, hide all and one item per channel, then
    // "Настройки"; empty without a document.
    std::vector<DiagramMenuItem> BuildContextMenu();

    // "Настройки": the window side runs the dialog on a copy of the options and returns true on
    // OK; the options are then taken and stored in the record.
    void SetSettingsEditor(std::function<bool(FourieSettings&)> editor) { m_editor = std::move(editor); }
    const FourieSettings& Settings() const { return m_settings; }
    // Takes the options (the dialog's OK) and stores them in the active record.
    void ApplySettings(const FourieSettings& s);

    // The spectral lines 0 .. NumHarmonics of a channel at sample `at`.
    std::vector<double> Components(const CChannel& ch, int at) const;

    // Where the last drawing put the charts (tests measure by it).
    struct Chart {
        int x0 = 0, top = 0, base = 0;  // column left, row top, base line of the bars
        int slot = 0, bar = 0, offset = 0, inset = 0;
        std::vector<CRect> bars;        // per line; empty where nothing is drawn
        std::vector<CString> values;    // per line: the value text
        std::vector<CRect> labels;      // the frequency labels drawn, left to right
    };
    struct Layout {
        int rows = 0, columns = 0;
        std::vector<Chart> charts;
    };
    const Layout& LastLayout() const { return m_layout; }

private:
    FourieSettings m_settings;
    std::function<bool(FourieSettings&)> m_editor;
    Layout m_layout;
};
