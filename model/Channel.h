#pragma once
// One analog or discrete channel of a loaded record: its description as the record states it,
// its samples, what derives from them, and the display state the user changes.
#include <cstdint>
#include <memory>
#include <vector>

#include "model/Complex.h"
#include "model/SampleStore.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

class DocumentModel;
class SettingsNode;
class CDC;
struct CurveStrip;
class XmlNode;

// Display and processing flags of a channel, saved whole as "ShowFlags".
enum ChannelShowFlags : uint32_t {
    CHF_VISIBLE = 0x1,
    CHF_FREQ_DIAGRAM = 0x2,
    CHF_VECTOR_DIAGRAM = 0x4,
    CHF_CIRCLE_DIAGRAM = 0x8,
    CHF_SHOW_MINMAX = 0x10,
    CHF_SHOW_HARMONIC = 0x20,
    CHF_SHOW_RMS = 0x40,
    CHF_CURVE_INSTANT = 0x80,
    CHF_CURVE_RMS = 0x100,
    CHF_CURVE_HARMONIC = 0x200,
    CHF_REMOVE_DC = 0x400,
    CHF_INVERT = 0x800,
    CHF_ADC_COUNTS = 0x1000,
    CHF_CALCULATED = 0x2000,
    CHF_OWN_TIMEBASE = 0x4000,
};
constexpr uint32_t CHF_CURVE_MASK = CHF_CURVE_INSTANT | CHF_CURVE_RMS | CHF_CURVE_HARMONIC;
constexpr uint32_t CHF_DEFAULT = 0xE1;

// Phase of a channel as guessed from its phase field or its name.
enum ChannelPhase : int {
    PHASE_NONE = 0,
    PHASE_A = 1,
    PHASE_B = 2,
    PHASE_C = 3,
    PHASE_ZERO = 4,
    PHASE_AB = 5,
    PHASE_BC = 6,
    PHASE_CA = 7,
};

class CChannel {
public:
    // Program-made analog channel (display name, unit, values).
    CChannel(const CString& name, const CString& unit, const std::vector<double>& values, DocumentModel* doc);
    // Program-made complex channel.
    CChannel(const CString& name, const CString& unit, const std::vector<double>& values,
             const std::vector<Complex>& complexValues, DocumentModel* doc);
    // Program-made discrete channel.
    CChannel(const CString& name, const std::vector<int32_t>& states, DocumentModel* doc, COLORREF color);
    // A channel described by a text of comma-separated fields in an ".osc" record.
    CChannel(bool discrete, const CStringA& description, DocumentModel* doc);
    // An empty analog channel with the defaults of a record's channel; the readers fill it.
    explicit CChannel(DocumentModel* doc);
    // A channel pasted from a "channel" node of the clipboard tree, on the time base of the
    // record it was copied from (its rate, sample times and per-sample net frequency).
    CChannel(const XmlNode& node, DocumentModel* doc, double ownRate, const CowVector<int64_t>& ownTimes,
             const CowVector<double>& netFrequency);

    CChannel(const CChannel&) = default;
    CChannel& operator=(const CChannel&) = default;
    CChannel(CChannel&&) noexcept = default;
    CChannel& operator=(CChannel&&) noexcept = default;
    ~CChannel() = default;

    // --- value setters of program-made channels (each sets CHF_CALCULATED and recalculates)
    void SetCalculatedValues(const CString& unit, const std::vector<double>& values);
    void SetComplexValues(const CString& unit, const std::vector<double>& values, const std::vector<Complex>& complexValues);
    void SetDiscreteValues(const std::vector<int32_t>& states);

    // --- value access; an index past the end or a NaN sample reads as 0
    double GetValue(uint32_t i) const;
    double GetFormulaValue(uint32_t i) const;
    int32_t GetAdcCode(uint32_t i) const;
    double GetCurveValue(uint32_t i) const;
    // GetValue of samples [begin, end) into out, a missing sample as NaN when asked (the
    // curve and the windows leave it out) and else as 0.
    void ReadValues(size_t begin, size_t end, double* out, bool missingAsNaN) const;
    // Curve values [begin, end) into out; past the curve they read 0.
    void ReadCurve(size_t begin, size_t end, double* out) const;
    // How many curve values of [begin, end) are not 0.0.
    size_t CountCurveOn(size_t begin, size_t end) const;
    // Samples the curve has: the count at the last Recalc.
    uint32_t GetCurveCount() const { return m_curveSize; }
    std::vector<double> GetCurveValues() const;
    // First-harmonic phasor at sample i, computed for its window unless the whole series is
    // kept (KeepPhasorSeries).
    Complex GetStoredHarmonic(uint32_t i) const;
    // Samples that have a phasor.
    uint32_t GetPhasorCount() const;
    // Keeps the phasor of every sample until the next Recalc, for readers that walk the whole
    // record over and over (the circle diagram's trajectories). Not to be called while other
    // threads read the channel.
    void KeepPhasorSeries() const;
    // Replaces the kept series (a channel whose phasors come from elsewhere).
    void SetPhasorSeries(std::vector<Complex> series);
    bool HasPhasorSeries() const { return m_phasorSeries != nullptr; }
    // Changes with every Recalc: what is derived from the values may be kept under it.
    uint64_t GetRecalcStamp() const { return m_stamp; }
    double GetSampleTime(uint32_t i) const;  // microseconds
    void Reserve(size_t n);
    // Appends one sample read from a file: a x prefix multiplier x raw + b.
    void AppendScaledSample(double raw) { m_samples.push_back(m_a * m_prefixMul * raw + m_b); }
    // Bytes of memory the channel's per-sample data holds (shared data counted in full).
    size_t GetDataBytes() const;
    uint32_t GetSampleCount() const { return uint32_t(m_samples.size()); }

    // --- names and texts
    CString GetName() const { return m_name; }
    CStringA GetFileName() const { return m_fileName; }
    // One of the channel's record texts as its record reads it: UTF-8 in a record whose texts
    // are held so, else the ANSI code page.
    CString FileText(const CStringA& bytes) const;
    CString GetUnitText() const { return (m_flags & CHF_ADC_COUNTS) ? CString() : m_displayUnit; }
    void UpdateDisplayName(bool ansiCodePage);
    void SetAlias(const CString& alias);
    bool IsScaledByRatio() const;
    bool IsDiscrete() const { return m_discrete != 0; }
    bool IsCalculated() const { return (m_flags & CHF_CALCULATED) != 0; }
    bool HasOwnTimeBase() const { return (m_flags & CHF_OWN_TIMEBASE) != 0; }

    // --- the channel's category of the record settings, and its node of the clipboard tree
    void SaveSettings(SettingsNode& node) const;
    void LoadSettings(const SettingsNode& node);
    // LoadSettings without the recalculation; true when a value that the derived arrays
    // depend on (flags, ratio, per-sample net frequency) was changed, so that a caller
    // holding recalculated channels recalculates only those.
    bool ApplySettings(const SettingsNode& node);
    CString FormatNetFrequencies() const;
    void ParseNetFrequencies(const CString& text);
    void WriteToNode(XmlNode& node) const;

    // --- units, phases, colours and vertical zoom
    void ParseUnit();
    bool IsFrequencyUnit() const;
    ChannelPhase GetPhase() const;
    COLORREF GetColor() const;
    int GetIndex() const;
    bool SetVerticalZoom(double from, double to);
    void GetDisplayRange(double& low, double& high) const;
    CString GetRateUnitDisplayText() const;

    // --- drawing of the curve into one strip of the view
    void Draw(const CurveStrip& strip) const;
    void DrawAnalog(const CurveStrip& strip, uint32_t start) const;
    void DrawDiscrete(const CurveStrip& strip, uint32_t start) const;
    // One analog member of a merged strip on the strip's common range.
    void DrawInGroup(const CurveStrip& strip, bool zeroLine, double low, double high) const;
    // First own sample of a pasted channel at or after the time of the strip's first sample.
    uint32_t FindStartSample(const CurveStrip& strip) const;

    // --- signal arithmetic; every window ends at sample i and reaches back in time
    int GetSamplesPerPeriod() const;
    double GetHarmonicRms(int k, int i, int unused = 0) const;
    double GetHarmonicRmsOverPeriods(int k, int i, int periods) const;
    Complex CalcHarmonicPhasorTracked(int k, int i, const CChannel* tracking, bool perWindow, int periods) const;
    double GetMean(int i, int periods) const;
    double GetMeanTracked(int i, int periods, const CChannel* tracking) const;
    Complex CalcFirstHarmonicPhasor(int i) const;
    double GetRms(uint32_t i, int periods) const;
    double GetRmsTracked(int i, int periods, const CChannel* tracking) const;
    double GetDeltaRms(int i) const;
    double GetDeltaTracked(int i, const CChannel* tracking) const;
    // The channel whose measured frequency the periods follow, or nullptr when the record is
    // not in tracking mode for this channel.
    const CChannel* GetTrackingChannel() const;
    // Rebuilds the derived arrays from the samples and flags. Throws CTenvorikException* when
    // the record gives no whole samples per period.
    void Recalc();
    // Whether anything Recalc reads changed since the last Recalc that ran to its end. A
    // program-made or pasted channel, or one whose periods follow a measured frequency, always
    // counts as changed. Reads the record: not while other threads recalculate.
    bool NeedsRecalc() const;
    // Extends the channel by n empty samples before its first or after its last sample.
    void PadSamples(uint32_t n, bool atStart);

    // ------------------------------------------------------------------ fields
    // Kept public in the framework's manner: the record readers and writers, the settings
    // and the drawing code fill and read them directly.
    bool m_drawn = false;                  // scratch mark of the view's drawing pass
    DocumentModel* m_document = nullptr;   // the document whose record holds the channel
    SampleStore m_samples;                 // values in the record's units (discrete: 0.0 or 1.0)
    CowVector<Complex> m_calcValues;       // complex values of a program-made channel
    CowVector<int64_t> m_ownTimes;         // sample times in microseconds of a pasted channel
    CowVector<double> m_netFrequency;      // net frequency per sample of a pasted channel
    uint32_t m_discrete = 0;               // 0 analog, 1 discrete
    uint32_t m_flags = CHF_DEFAULT;        // ChannelShowFlags
    CStringA m_fileName;                   // name as stored in the record (record's code page)
    CString m_name;                        // display name: the alias, else the file name
    CString m_alias;
    CStringA m_phase;
    CStringA m_circuit;
    CStringA m_unit;                       // unit text as in the file
    CString m_displayUnit;                 // canonical unit made by ParseUnit
    CStringA m_primaryText;
    CStringA m_secondaryText;
    bool m_filePrimary = false;            // the samples are primary values
    bool m_primaryMode = false;            // values are shown as primary values
    double m_a = 1.0;
    double m_prefixMul = 1.0;              // power of ten of the unit prefix
    double m_b = 0.0;
    double m_max = 0.0;                    // largest finite curve value
    double m_min = 0.0;                    // smallest finite curve value
    double m_declaredMax = 0.0;
    double m_declaredMin = 0.0;
    double m_skew = 0.0;                   // microseconds
    double m_primary = 1.0;                // ratio in use, primary side
    double m_secondary = 1.0;              // ratio in use, secondary side
    double m_filePrimaryValue = 1.0;
    double m_fileSecondaryValue = 1.0;
    double m_displayMul = 1.0;             // factor from sample values to shown values
    double m_dc = 0.0;                     // mean of the samples over whole periods
    bool m_selected = false;
    uint32_t m_normalState = 0;
    double m_ownRate = 0.0;                // samples per second of a pasted channel; 0 = record's
    COLORREF m_color = RGB(255, 255, 100);
    bool m_zoomed = false;
    double m_zoomFrom = 0.0;
    double m_zoomTo = 1.0;
    double m_zoomLow = 0.0;
    double m_zoomHigh = 1.0;
    uint32_t m_scaleMode = 0;              // curve mode when zoomed: 0 instant, 1 RMS, 2 harmonic
    bool m_customColorSet = false;
    COLORREF m_customColor = 0;
    CString m_sourceStartDate;
    CString m_sourceStartTime;
    CString m_sourceDuration;
    bool m_unitPerSecond = false;
    bool m_unitUnrecognised = false;

private:
    // The curve of a mode that windows the values (RMS, harmonic), kept while the mode is on;
    // the instant curve is the values themselves.
    CowVector<double> m_windowedCurve;
    uint32_t m_curveSize = 0;              // samples at the last Recalc
    double m_phasorScale = 1.0;            // of the complex values of a program-made channel
    bool m_allFinite = true;               // every shown value finite at the last Recalc
    uint64_t m_stamp = 0;
    mutable std::shared_ptr<const std::vector<Complex>> m_phasorSeries;

    // What Recalc reads of the channel and the record, numbers by their bits.
    struct RecalcInputs {
        const void* samples = nullptr;
        uint64_t version = 0, size = 0;
        uint32_t discrete = 0, flags = 0;
        uint64_t a = 0, b = 0, prefixMul = 0, displayMul = 0, correction = 0;
        int samplesPerPeriod = 0;
        bool operator==(const RecalcInputs&) const = default;
    };
    RecalcInputs CurrentRecalcInputs() const;
    void RecalcValues();
    RecalcInputs m_recalcInputs;
    bool m_recalcDone = false;

    // The phasor at sample i as the windows of the last Recalc give it.
    Complex ComputePhasor(uint32_t i) const;
    // The unit of program-made values: the formula pages name units by the localized letters,
    // the record keeps the Latin ones.
    void SetCalculatedUnit(const CString& unit);
    // The display multiplier by the ratio and the two primary/secondary flags.
    double ComputeDisplayMultiplier() const;
    // Samples per second of this channel: its own rate, else the record's.
    double SampleRate() const;
};

// A unit text as shown to the user (Russian letters unless the English texts are in use).
CString GetUnitDisplayText(const CString& text);
