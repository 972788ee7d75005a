#pragma once
// The fault-location engine of one document: from the currents and voltages of a record and
// the line model it finds, sample by sample, whether and where a fault lies on the line.
#include <array>
#include <cstdint>
#include <type_traits>
#include <complex>
#include <utility>
#include <vector>

#include "faultloc/WrongPlaceLocatorData.h"
#include "model/BulkAllocator.h"
#include "model/SignalSearch.h"
#include "platform/CString.h"

using Complex = std::complex<double>;

// What a run reads of the record and writes back into it. The document implements it over its
// oscillogram; tests implement it over synthetic arrays.
class LocatorRecord {
public:
    virtual ~LocatorRecord() = default;
    virtual int GetSampleCount() const = 0;
    virtual double GetSamplingFrequency() const = 0;
    virtual double GetNetFrequency() const = 0;
    // The display values (multiplier, inversion and DC removal applied) of samples
    // [first, first + count) of the channel of that display name into `out`; samples past the
    // channel's end read 0. Throws CTenvorikException 354 when no channel has the name, whatever
    // the count.
    virtual void ReadDisplayValues(const CString& name, int first, int count, double* out) const = 0;
    // The index used by the time-weighted transform: only channels that carry a per-sample net
    // frequency have one; -1 otherwise.
    virtual int FindChannelIndex(const CString& name) const = 0;
    virtual double GetSampleTimeUs(int sample) const = 0;
    // The net frequency at `sample` for channel `channel`: its own per-sample net frequency, else
    // the record's frequency table, else 0.
    virtual double GetSampleFrequency(int channel, int sample) const = 0;
    // Result channels: replaced when a channel of the name exists, appended otherwise.
    virtual void SetCalculatedChannel(const CString& name, const CString& unit, const std::vector<double>& values) = 0;
    virtual void SetDiscreteChannel(const CString& name, const std::vector<int>& flags) = 0;
    virtual void RemoveChannel(const CString& name) = 0;
    // The ratio of the channel of that display name; false when no channel has it.
    virtual bool GetChannelRatio(const CString& name, double& primary, double& secondary) const = 0;
};

// The record's texts that head a fault-location report.
struct LocatorReportHeader {
    CString path;
    CString station, recorder;
    CString startDate, startTime;
    CString triggerDate, triggerTime;
};

// What a run does to the windows around the record.
class LocatorHost {
public:
    virtual ~LocatorHost() = default;
    // Cursors В1 and В2 on the result window, both shown.
    virtual void PlaceCursors(int first, int last) = 0;
    virtual void ShowResultBar(const CString& text) = 0;
    virtual void HideResultBar() = 0;
    // All views of the document and the diagram windows.
    virtual void UpdateViews() = 0;
};

struct ParallelLineCalc {
    double Rm = 0, Xm = 0;
    Complex i0;  // fundamental phasor of the line's I0 channel at the sample being worked on
};

struct SectionCalc {
    double R = 0, X = 0, length = 0, R0 = 0, X0 = 0, R1 = 0, X1 = 0;
    int towers = 0;
    std::vector<ParallelLineCalc> parallelLines;
    std::vector<Complex> taps;  // R0 + jX0 of each tap connection
    Complex Z() const { return {R, X}; }
    Complex Z1() const { return {R1, X1}; }
    Complex Z0() const { return {R0, X0}; }
    // The parallel combination of the taps; only meaningful when there is a tap.
    Complex Zeq() const;
};

// Complex division that gives NaN, not infinity, for a zero divisor, so that a missing current
// travels on as "no value".
Complex CDiv(Complex a, Complex b);

// Whether ||p.first| - |p.second|| > ||q.first| - |q.second||, the magnitudes being std::abs's
// to the last bit; worked out without them where the answer is plain.
bool MismatchGreater(const std::pair<Complex, Complex>& p, const std::pair<Complex, Complex>& q);

class WrongPlaceLocator {
public:
    // Value slots of the copied channels.
    enum ValueSlot { Ia1 = 0, Ib1, Ic1, Unused3, Ia2, Ib2, Ic2, Uab1, Ubc1, Uca1, Ua1, Ub1, Uc1, Ua2, Ub2, Uc2, kValueSlots };
    // Phasor arrays.
    enum PhasorSlot {
        PIa1, PIb1, PIc1, PIa2, PIb2, PIc2, PUab1, PUbc1, PUca1, PUa1, PUb1, PUc1, PUa2, PUb2, PUc2,
        I1_1, I2_1, I0_1, I1_2, I2_2, I0_2, U1_1, U2_1, U0_1, U1_2, U2_2, U0_2, kPhasorSlots
    };

    WrongPlaceLocator();

    WrongPlaceLocatorData& GetData() { return m_data; }
    const WrongPlaceLocatorData& GetData() const { return m_data; }

    // A whole run on the record with the current line model. A failure is shown (or, silent,
    // discarded), the result is cleared and nothing of it stays on show; returns success.
    bool Calculate(LocatorRecord& record, LocatorHost& host, bool silent);
    // The run's computation without the windows: throws the program's exception on failure.
    void Run(LocatorRecord& record);

    // Result over the window [first, last] (cursors В1 and В2): D, spread, phases, tower.
    void ComputeResultAt(int first, int last, int recordSampleCount);
    // A cursor moved while a result is on show.
    void SetWindow(int first, int last) { m_windowFirst = first; m_windowLast = last; }
    void HideResult(LocatorRecord& record, LocatorHost& host);
    // The result bar shows the stored short text while a result is on show, and is hidden
    // otherwise.
    void RefreshResultBar(LocatorHost& host) const;
    // The result over the window between the cursors, shown in the result bar.
    void ShowResultAtCursors(int first, int last, int recordSampleCount, LocatorHost& host);
    // The result bar's text (also kept as m_resultText) and the full report.
    CString BuildShortResult();
    CString BuildReport(const LocatorReportHeader& header, const LocatorRecord& record) const;
    CString FormatChannelRef(const CString& name, const LocatorRecord& record) const;
    // Writes the report as UTF-16LE text with a byte-order mark and CR LF line ends; false with
    // the reason in `error` when it cannot be written (an existing file then stays as it was).
    bool SaveReport(const CString& path, const LocatorReportHeader& header, const LocatorRecord& record,
                    CString* error) const;
    bool IsActive() const { return m_active; }

    // --- steps of a run, public so that each can be checked on its own ---
    // The fundamental phasor at sample i of the samples x, over the period before it.
    Complex CalcPhasor(const std::vector<double>& x, int i, int channel) const;
    static void Debounce(std::vector<int>& flags, double onDelay, double offDelay);
    IndexRange FindFaultInterval() const;
    IndexRange FindFaultIntervalByPhases() const;
    // `line`: the sections with their parallel lines' I0 at the sample being worked on.
    Complex ZeroSeqCurrentAtDistance(const std::vector<SectionCalc>& line, Complex U0, Complex I0, double x) const;
    Complex ZeroSeqCurrentBeyondFault(const std::vector<SectionCalc>& line, Complex U0, Complex I0, double x) const;
    Complex VoltageFromStart(const std::vector<SectionCalc>& line, Complex U, Complex I, int mode, double x) const;
    Complex VoltageFromEnd(const std::vector<SectionCalc>& line, Complex U, Complex I, int mode, double x) const;
    void LocateTower();
    double LineLength() const;

    // Run state, readable by the result display, the report and the tests.
    int m_samplesPerPeriod = 0;
    int m_runMethod = 0;
    int m_sampleCount = 0;
    double m_nominalCurrent1 = 0, m_nominalCurrent2 = 0;
    double m_netFrequency = 0;
    std::vector<SectionCalc> m_sections;
    // Per-sample series of a run: the result channels, which outlive it, and the loop samples
    // the result window is found from, which do not. The phasors and loops are made a block of
    // samples at a time and not kept, so a run needs little more memory than its results,
    // whatever the record's length. The fault flags are 0 or 1.
    tv::BulkVector<uint8_t> m_earthFault, m_phaseFault, m_symFault, m_faultA, m_faultB, m_faultC;
    tv::BulkVector<double> m_loopSamples;
    tv::BulkVector<double> dist, phaseDiff;
    IndexRange m_interval;
    int m_windowFirst = 0, m_windowLast = 0;
    double m_tapAngle = 0;
    bool m_active = false;

    // The result over the window.
    double m_distance = 0;         // D, km from station 1
    double m_spread = 0;           // percent
    int m_phaseA = 0, m_phaseB = 0, m_phaseC = 0;
    int m_faultSection = 0;        // 0-based
    double m_distanceInSection = 0;
    int m_tower = 1;
    int m_earthMedian = 0, m_phaseMedian = 0, m_symMedian = 0;
    CString m_resultText;

private:
    // One channel a run reads.
    struct Input {
        CString name;
        int valueSlot = 0;
        int phasorSlot = -1;  // -1: a parallel line's I0, kept in that line
        int section = -1, line = -1;
        int channelIndex = -1;
        bool negate = false;
        bool detection = false;  // a current that fault detection reads
        // The whole channel, for the time-weighted transform, which may reach back further than
        // a period; other channels are read a block at a time by the worker on it.
        std::vector<double> whole;
    };
    // What a method reads of a sample: its phasors and the three currents' instant values.
    struct Sample {
        std::array<Complex, kPhasorSlots> P{};
        double ia = 0, ib = 0, ic = 0;
        // The sections with their parallel lines' I0 at this sample.
        const std::vector<SectionCalc>* line = nullptr;
    };
    // The loop a method measures at a sample.
    struct Loop {
        Complex voltage, current, faultCurrent;
        double samples = 0;
    };
    // A fault kind's flag, steadied: it rises once it has been set for onDelay samples after the
    // first and falls once clear for offDelay, sample by sample.
    class Debouncer {
    public:
        Debouncer(double onDelay, double offDelay) : m_on(onDelay), m_off(offDelay) {}
        bool operator==(const Debouncer&) const = default;
        int Step(bool in) {
            const int prev = m_out;
            m_c = (in != (prev != 0)) ? m_c + 1 : 0;
            if (prev == 1 && !in && m_c >= m_off) {
                m_out = 0;
                m_c = -1;
            } else if (prev == 0 && in && m_c >= m_on) {
                m_out = 1;
                m_c = -1;
            }
            return m_out;
        }

    private:
        double m_on, m_off, m_c = 0;
        int m_out = 0;
    };
    // What fault detection carries from one sample to the next.
    struct Detection {
        explicit Detection(double onDelay) : earth(onDelay, 0), phase(onDelay, 0), sym(onDelay, 0) {}
        bool P = false, Q = false, R = false, Z = false, H1 = false, H2 = false, H3 = false, H4 = false;
        bool v1 = false, v2 = false, v3 = false;
        Debouncer earth, phase, sym;
        bool operator==(const Detection&) const = default;
    };
    // The state of a detection that carries none.
    struct NoState {
        bool operator==(const NoState&) const = default;
    };
    // The comparisons a sample's detection makes of its current magnitudes, one bit each: worked
    // out for many samples at once, then taken in order with the state carried between them.
    using Comparisons = uint16_t;
    // A pass whose detection needs no comparisons: it knows the faults already.
    struct NoComparisons {};
    // A pass that measures the samples without a fault as it measures the others.
    struct MeasureEvery {};
    struct Worker;

    void Allocate();
    void ReadSections(LocatorRecord& record);
    void AddInput(LocatorRecord& record, int valueSlot, int phasorSlot, const CString& name, bool negate);
    // For every sample s of [from, to), a block of samples at a time, the blocks spread over the
    // workers: compare(s, sample) with the sample's currents gives what detection reads of it
    // (unless compare is NoComparisons); detect(state, s, comparisons, kWrite or kDryRun)
    // says whether the sample has a fault, carrying `state` (`initial` at the first sample) from
    // sample to sample in their order; then measure(s, sample), for a sample with a fault with
    // every phasor, and each parallel line its I0 phasor; a sample without a fault has
    // unfaulted(s) instead, unless that is MeasureEvery. measure and unfaulted write only what
    // belongs to their own sample.
    template <class Compare, class State, class Detect, class Measure, class Unfaulted>
    void ForEachSample(LocatorRecord& record, int from, int to, Compare&& compare, const State& initial,
                       Detect&& detect, Measure&& measure, Unfaulted&& unfaulted);
    void ComputeBlock(LocatorRecord& record, Worker& w, int b0, int b1, bool detection) const;
    void FillSample(Worker& w, int s, int b0, bool all) const;
    void BlockPhasors(const double* x, int first, int end, int channel, int from, int to, Complex* out) const;
    void MakeTable() const;
    Complex PhasorAt(const double* x, int first, int end, int i, int channel) const;
    void SequenceComponents(Sample& s, bool voltages) const;
    void DetectIsolated(int s, const Sample& x);
    Comparisons CompareEarthed(const Sample& x) const;
    Comparisons CompareTwoEnded(const Sample& x) const;
    // The comparisons of the sequence components' magnitudes, by `k`'s magnitudes.
    template <class Comparer>
    Comparisons CompareEarthed(const Sample& x, Comparer&& k) const;
    template <class Comparer>
    Comparisons CompareTwoEnded(const Sample& x, Comparer&& k) const;
    // Detection of sample s from its comparisons, carrying `d` on: whether the sample has a
    // fault. The fault flags are written unless a dry run.
    template <bool kWrite>
    bool DetectEarthed(Detection& d, int s, Comparisons c, std::bool_constant<kWrite>);
    template <bool kWrite>
    bool DetectTwoEnded(Detection& d, int s, Comparisons c, std::bool_constant<kWrite>);
    template <bool kWrite>
    void SelectPhases(Detection& d, int s, Comparisons c, bool sym, bool phase, bool earth, std::bool_constant<kWrite>);
    Loop LoopIsolated(int s, const Sample& x) const;
    Loop LoopEarthed(int s, const Sample& x) const;
    double LoopSamplesTwoEnded(int s, const Sample& x) const;
    double DistanceIsolated(int s, const Loop& loop) const;
    // `rot`: the polarising current's turn by the tap angle, std::polar(1, m_tapAngle).
    double DistanceEarthed(int s, const Sample& x, const Loop& loop, Complex rot) const;
    void DistanceTwoEnded(int s, const Sample& x);
    // The voltages at x km from station 1 reckoned from each end: of the negative sequence for a
    // fault between phases (`phase`), of the zero sequence for an earth fault.
    std::pair<Complex, Complex> EndVoltagesAt(const Sample& p, bool phase, double x, double L) const;
    // Whether the earthed-neutral method measures a loop at sample s.
    bool EarthedFaulted(int s) const;
    void EarthedDistances(LocatorRecord& record);
    void CalcTapAngle(LocatorRecord& record);
    void FindResultWindow();

    WrongPlaceLocatorData m_data;
    const LocatorRecord* m_record = nullptr;  // during a run only
    std::vector<Input> m_inputs;
    // The transform's sines and cosines for the current period length.
    mutable std::vector<double> m_sin, m_cos;
};

// Result channel names.
CString LocatorDistanceChannelName();
CString LocatorPhaseChannelName(int phase);  // 0 A, 1 B, 2 C
