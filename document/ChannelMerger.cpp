#include "document/ChannelMerger.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <numbers>
#include <numeric>
#include <vector>

#include "document/TenvorikDoc.h"
#include "model/Numeric.h"
#include "model/RecordStart.h"
#include "model/Resources.h"
#include "model/SignalSearch.h"
#include "model/TenvorikException.h"
#include "platform/UiServices.h"

namespace {

constexpr unsigned IDS_NO_OVERLAP = 219;
constexpr unsigned IDS_CURSOR_OUTSIDE = 3162;
constexpr unsigned IDS_CURSOR_1_5_PERIODS = 3259;
constexpr unsigned IDS_CURSOR_3_PERIODS = 3260;
constexpr unsigned IDS_NOT_STEADY = 3305;
constexpr unsigned IDS_SYNC_DONE = 3456;
constexpr unsigned IDS_NO_FAULT_PEAK = 3507;
constexpr unsigned IDS_BAD_START = 9731;
constexpr unsigned IDS_NO_NET_FREQUENCY = 9732;
constexpr unsigned IDS_TOO_SHORT = 9733;
constexpr unsigned IDS_NO_PAIR = 9734;

// The numbers of a text, each a run of decimal digits, with the digit count of each.
struct Numbers {
    std::vector<long long> values;
    std::vector<int> digits;
};

Numbers ReadNumbers(const CString& text, size_t wanted) {
    Numbers out;
    const std::wstring& s = text.str();
    size_t i = 0;
    while (out.values.size() < wanted) {
        while (i < s.size() && !(s[i] >= L'0' && s[i] <= L'9')) ++i;
        if (i >= s.size()) break;
        long long v = 0;
        int n = 0;
        for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i, ++n)
            if (v < 100000000000LL) v = v * 10 + (s[i] - L'0');
        out.values.push_back(v);
        out.digits.push_back(n);
    }
    return out;
}

double Rate(const CTenvorikDoc& doc, const CChannel& c) {
    return c.m_ownRate != 0.0 ? c.m_ownRate : double(doc.m_oscillogram.m_samplingFrequency);
}

int Last(const CChannel& c) { return int(c.GetSampleCount()) - 1; }

void ShowBox(unsigned id) { platform::Ui().MessageBox(LoadResString(id), CString(), MB_OK | MB_ICONERROR); }

}  // namespace

std::optional<int64_t> RecordInstantMicroseconds(const CString& date, const CString& time, bool* invalid) {
    if (invalid) *invalid = false;
    const Numbers d = ReadNumbers(date, 3);
    if (d.values.size() < 3) return std::nullopt;
    const Numbers t = ReadNumbers(time, 4);
    if (t.values.size() < 4) return std::nullopt;
    long long day = d.values[0], month = d.values[1], year = d.values[2];
    if (month > 12) std::swap(day, month);
    if (year < 100) year += 2000;
    const long long h = t.values[0], m = t.values[1], s = t.values[2];
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || h > 23 || m > 59 || s > 59) {
        if (invalid) *invalid = true;
        return std::nullopt;
    }
    // The fraction is a decimal fraction of the second: ".5" is half a second.
    long long f = t.values[3];
    int digits = t.digits[3];
    for (; digits > 6; --digits) f /= 10;
    for (; digits < 6; ++digits) f *= 10;
    const long long seconds = DaysFromCivil(year, month, day) * 86400 + h * 3600 + m * 60 + s;
    return int64_t(seconds * 1000000 + f);
}

double WrapPhaseDifference(double degrees) {
    if (degrees < -180.0) degrees += 360.0;
    if (degrees > 180.0) degrees -= 360.0;
    return degrees;
}

double CChannelMerger::GetTimeShift() const { return m_doc->m_pasteTimeShift; }
void CChannelMerger::SetTimeShift(double seconds) { m_doc->m_pasteTimeShift = seconds; }

void CChannelMerger::SetDraggedShift(double seconds) {
    const COscillogram& osc = m_doc->m_oscillogram;
    const double step = osc.m_samplingFrequency > 0 ? 1.0 / osc.m_samplingFrequency : 0.0;
    const double low = -(osc.GetDuration(true) - step);
    const double high = osc.GetDuration(false) - step;
    if (!std::isfinite(seconds)) return;
    // Recordings shorter than a sample interval leave no room: the shift stays where it is.
    if (low > high) return;
    SetTimeShift(std::clamp(seconds, low, high));
}

void CChannelMerger::Synchronize() {
    switch (m_doc->GetMergeChoice().mode) {
        case 0: SyncByStartTime(); break;
        case 1: SyncByFaultComponent(); break;
        case 2: SyncByPrefault(); break;
        default: break;
    }
}

void CChannelMerger::SyncByStartTime() {
    const CChannel* pasted = nullptr;
    for (const CChannel& c : m_doc->m_oscillogram.m_channels)
        if (c.HasOwnTimeBase()) {
            pasted = &c;
            break;
        }
    if (!pasted) return;
    bool badHost = false, badPasted = false;
    const auto th = RecordInstantMicroseconds(m_doc->GetRecordStartDate(), m_doc->GetRecordStartTime(), &badHost);
    const auto tp = RecordInstantMicroseconds(pasted->m_sourceStartDate, pasted->m_sourceStartTime, &badPasted);
    if (badHost || badPasted) {
        ShowBox(IDS_BAD_START);
        return;
    }
    if (!th || !tp) return;
    const double dh = std::wcstod(m_doc->GetDurationMicrosecondsText().GetString(), nullptr);
    const double dp = std::wcstod(pasted->m_sourceDuration.GetString(), nullptr);
    const double Th = double(*th), Tp = double(*tp);
    if (Th >= Tp + dp || Tp >= Th + dh) {
        ShowBox(IDS_NO_OVERLAP);
        return;
    }
    SetTimeShift(double(*tp - *th) * 0.000001);
    m_doc->ShowMergeMessage(LoadResString(IDS_SYNC_DONE));
}

bool CChannelMerger::FindPair(int& host, int& pasted) {
    const MergeChoice choice = m_doc->GetMergeChoice();
    if (choice.hostChannel.IsEmpty() || choice.pastedChannel.IsEmpty()) {
        ShowBox(IDS_NO_PAIR);
        return false;
    }
    auto& osc = m_doc->m_oscillogram;
    try {
        host = m_doc->m_oscillogram.FindChannel(choice.hostChannel).GetIndex();
        pasted = m_doc->m_oscillogram.FindChannel(choice.pastedChannel).GetIndex();
    } catch (CException* e) {
        platform::Ui().PostException(e);
        return false;
    }
    return host >= 0 && pasted >= 0 && size_t(host) < osc.m_channels.size() && size_t(pasted) < osc.m_channels.size();
}

void CChannelMerger::SyncByFaultComponent() {
    int hi = -1, pi = -1;
    if (!FindPair(hi, pi)) return;
    const CChannel& host = m_doc->m_oscillogram.m_channels[size_t(hi)];
    const CChannel& pasted = m_doc->m_oscillogram.m_channels[size_t(pi)];
    const int rh = m_doc->m_oscillogram.m_samplingFrequency;
    const int Nh = host.GetSamplesPerPeriod(), Np = pasted.GetSamplesPerPeriod();
    if (rh <= 0 || Nh <= 0 || Np <= 0) {
        ShowBox(IDS_NO_NET_FREQUENCY);
        return;
    }
    const int P = m_doc->m_cursors.m_cursors[0].position;
    const double ratep = Rate(*m_doc, pasted);
    const int Pp = RoundToInt(double(P) * ratep / rh - GetTimeShift() * ratep);
    const int lastH = Last(host), lastP = Last(pasted);
    if (P < 3 * Nh + 1 || Pp < 3 * Np + 1) {
        m_doc->ShowMergeMessage(LoadResString(IDS_CURSOR_3_PERIODS));
        return;
    }
    if (P > lastH || Pp > lastP) {
        m_doc->ShowMergeMessage(LoadResString(IDS_CURSOR_OUTSIDE));
        return;
    }
    struct Peak {
        int index = 0;
        double max = 0.0, mean = 0.0;
    };
    // The fault component of a channel around its cursor: the second difference across two
    // periods against the channel's own spread of it. Only the window around the cursor is
    // looked at, so only it is computed.
    auto peakOf = [](const CChannel& c, int cursor, int N) {
        const int last = Last(c);
        const int start = cursor >= 4 * N + 1 ? cursor - N : 3 * N + 1;
        const int end = cursor < last - N ? cursor + N : last;
        auto d = [&](int i) {
            if (i < 3 * N + 2 || i >= last) return 0.0;
            const double r = c.GetDeltaRms(i - 1);
            if (r == 0.0) return 0.0;
            return std::fabs(c.GetValue(uint32_t(i)) - 2 * c.GetValue(uint32_t(i - N)) + c.GetValue(uint32_t(i - 2 * N))) / r;
        };
        std::vector<double> v(size_t(std::max(0, end - start + 1)));
        for (int i = start; i <= end; ++i) v[size_t(i - start)] = d(i);
        Peak p;
        p.index = start;
        bool any = false;
        for (int i = start; i < end; ++i) {
            const double x = v[size_t(i - start)];
            if (!any || x > p.max) {
                p.max = x;
                p.index = i;
                any = true;
            }
        }
        p.mean = v.empty() ? 0.0 : std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
        return p;
    };
    const Peak ph = peakOf(host, P, Nh);
    const Peak pp = peakOf(pasted, Pp, Np);
    const bool clear = !(4 * ph.mean > ph.max) && !(4 * pp.mean > pp.max);
    m_doc->ShowMergeMessage(LoadResString(clear ? IDS_SYNC_DONE : IDS_NO_FAULT_PEAK));
    SetTimeShift((host.GetSampleTime(uint32_t(ph.index)) - pasted.GetSampleTime(uint32_t(pp.index))) / 1000000.0);
}

void CChannelMerger::SyncByPrefault() {
    int hi = -1, pi = -1;
    if (!FindPair(hi, pi)) return;
    const CChannel& host = m_doc->m_oscillogram.m_channels[size_t(hi)];
    const CChannel& pasted = m_doc->m_oscillogram.m_channels[size_t(pi)];
    const int rh = m_doc->m_oscillogram.m_samplingFrequency;
    const double f = m_doc->m_oscillogram.m_netFrequency;
    const int Nh = host.GetSamplesPerPeriod(), Np = pasted.GetSamplesPerPeriod();
    if (rh <= 0 || Nh <= 0 || Np <= 0 || !(f > 0.0) || !std::isfinite(f)) {
        ShowBox(IDS_NO_NET_FREQUENCY);
        return;
    }
    const int P = m_doc->m_cursors.m_cursors[0].position;
    const double ratep = Rate(*m_doc, pasted);
    const int Pp = RoundToInt(double(P) * ratep / rh - GetTimeShift() * ratep);
    const int lastH = Last(host), lastP = Last(pasted);
    if (P < 1.5 * Nh + 1 || Pp < 1.5 * Np + 1) {
        m_doc->ShowMergeMessage(LoadResString(IDS_CURSOR_1_5_PERIODS));
        return;
    }
    if (P > lastH || Pp > lastP) {
        m_doc->ShowMergeMessage(LoadResString(IDS_CURSOR_OUTSIDE));
        return;
    }
    auto th = [&](int j) { return host.GetSampleTime(uint32_t(j)); };
    auto tp = [&](int k) { return pasted.GetSampleTime(uint32_t(k)); };
    const double delta = th(P) - tp(Pp);
    const int s = P - Nh;
    const int e = P < lastH - Nh ? P + Nh : lastH;
    std::vector<double> product(size_t(std::max({lastH, lastP, e}) + 1), 0.0);
    int k = 0;
    for (int j = s; j < e; ++j) {
        while (k < lastP - 1 && tp(k) + delta < th(j)) ++k;
        product[size_t(j)] = std::abs(host.GetStoredHarmonic(uint32_t(j))) * std::abs(pasted.GetStoredHarmonic(uint32_t(k)));
    }
    const IndexRange w = FindMinStdDevWindow(product.data(), s, e, Nh, 0.0);
    const int a = std::max(0, w.first), b = std::min(w.last, int(product.size()) - 1);
    std::vector<double> diff(product.size(), 0.0);
    k = 0;
    for (int j = a; j <= b; ++j) {
        while (th(j) > tp(k) + delta) ++k;
        // Between the two pasted samples around the host time; never before the first.
        const int k1 = std::max(k, 1);
        const Complex A = pasted.GetStoredHarmonic(uint32_t(k1 - 1)), B = pasted.GetStoredHarmonic(uint32_t(k1));
        const double t0 = tp(k1 - 1), t1 = tp(k1);
        const Complex I = t0 != t1 ? A + (A - B) * ((th(j) - delta - t0) / (t0 - t1)) : A;
        const Complex H = host.GetStoredHarmonic(uint32_t(j));
        diff[size_t(j)] = WrapPhaseDifference((std::atan2(H.imag(), H.real()) - std::atan2(I.imag(), I.real())) * 180.0 / std::numbers::pi);
    }
    const double m = CalcMedian(diff.data(), a, b);
    const double sd = CalcStdDev(diff.data(), a, b);
    m_doc->ShowMergeMessage(LoadResString(sd > 1.0 ? IDS_NOT_STEADY : IDS_SYNC_DONE));
    SetTimeShift((delta - m * 1000000.0 / (f * 360.0)) / 1000000.0);
}

// ---- combination -----------------------------------------------------------------------------

namespace {

// One channel padded with `head` samples of 0.0 before it at its rate and read in place;
// past its end it reads 0.0 and its times run on at its rate.
struct Padded {
    const CChannel* c = nullptr;
    size_t head = 0, n = 0;
    double step = 0.0, t0 = 0.0, tl = 0.0;
    Padded(const CChannel& ch, size_t headSamples, double rate) : c(&ch), head(headSamples), n(ch.GetSampleCount()) {
        step = 1e6 / rate;
        t0 = n ? ch.GetSampleTime(0) : 0.0;
        tl = n ? ch.GetSampleTime(uint32_t(n - 1)) : t0;
    }
    // Microseconds after the channel's own first sample (negative in the padding before it).
    double Time(size_t i) const {
        if (i < head) return -double(head - i) * step;
        if (i - head < n) return c->GetSampleTime(uint32_t(i - head)) - t0;
        return tl - t0 + double(i - head - n + 1) * step;
    }
    double Value(size_t i) const {
        if (i < head || i - head >= n) return 0.0;
        const double v = c->m_samples[i - head];
        return std::isnan(v) ? 0.0 : v;
    }
    // The per-sample net frequency, padded with the record's; NaN where the channel has none.
    double Net(size_t i, double padding) const {
        const size_t own = c->m_netFrequency.size();
        if (own == 0) return std::nan("");
        if (i < head) return padding;
        if (i - head < own) return c->m_netFrequency[i - head];
        return i - head < n ? std::nan("") : padding;
    }
};

// The quadratic through three points, evaluated at u.
double Quadratic(const double x[3], const double y[3], double u) {
    if (x[0] == x[1] || x[1] == x[2] || x[0] == x[2]) throw new CTenvorikException(3457);
    return y[0] * (u - x[1]) * (u - x[2]) / ((x[0] - x[1]) * (x[0] - x[2])) +
           y[1] * (u - x[0]) * (u - x[2]) / ((x[1] - x[0]) * (x[1] - x[2])) +
           y[2] * (u - x[0]) * (u - x[1]) / ((x[2] - x[0]) * (x[2] - x[1]));
}

// Below this part of a merged interval two instants count as one: the shift is a sum of
// rounded times and must not add a sample of padding for a rounding error.
constexpr double kSameInstant = 1e-6;

}  // namespace

void CChannelMerger::Combine() {
    COscillogram& osc = m_doc->m_oscillogram;
    auto& chs = osc.m_channels;
    if (chs.empty()) return;
    const double f = osc.m_netFrequency;
    if (!(f > 0.0) || !std::isfinite(f)) {
        ShowBox(IDS_NO_NET_FREQUENCY);
        return;
    }
    double rmax = 0.0;
    for (const CChannel& c : chs) rmax = std::max(rmax, Rate(*m_doc, c));
    const int spp = RoundToInt(rmax / f);
    const double R = spp * f;
    if (spp <= 0) {
        ShowBox(IDS_NO_NET_FREQUENCY);
        return;
    }
    const double dt = 1000000.0 / R;
    const double shiftUs = GetTimeShift() * 1000000.0;

    // Every channel is placed on the host's time, in microseconds after the host's first
    // sample: the host's channels at 0, the pasted ones at the shift. All channels of one
    // recording, analog and discrete alike, move together, so they keep their times relative
    // to each other; the merged samples keep the host's instants and reach back by whole merged
    // intervals to take in a pasted recording that starts earlier.
    auto startOf = [&](const CChannel& c) { return c.HasOwnTimeBase() ? shiftUs : 0.0; };
    double first = 0.0, last = 0.0;
    bool any = false;
    for (const CChannel& c : chs) {
        const size_t n = c.GetSampleCount();
        if (n == 0 || !(Rate(*m_doc, c) > 0.0)) continue;
        const double start = startOf(c), end = start + c.GetSampleTime(uint32_t(n - 1)) - c.GetSampleTime(0);
        first = any ? std::min(first, start) : std::min(0.0, start);
        last = any ? std::max(last, end) : end;
        any = true;
    }
    if (!any || !std::isfinite(first) || !std::isfinite(last)) {
        ShowBox(IDS_TOO_SHORT);
        return;
    }
    const double lead = std::max(0.0, std::ceil(-first / dt - kSameInstant));
    const double origin = -lead * dt;  // the merged record's first sample on the host's time
    // Every sample of the span is kept, its last one too: the three samples the interpolation
    // reads past a channel's end are its padding. A span of a few intervals is too short.
    const double intervals = std::ceil((last - origin) / dt - kSameInstant);
    if (!(intervals > 4) || intervals >= 2000000000.0) {
        ShowBox(IDS_TOO_SHORT);
        return;
    }
    const long long N = (long long)intervals + 1;

    // Every channel is resampled before anything of the record changes, so that a failure
    // leaves it as it was.
    struct Result {
        std::vector<double> values, net;
    };
    std::vector<Result> results(chs.size());
    for (size_t i = 0; i < chs.size(); ++i) {
        const CChannel& c = chs[i];
        const double rate = Rate(*m_doc, c);
        Result& out = results[i];
        out.values.assign(size_t(N), 0.0);
        if (c.GetSampleCount() == 0 || !(rate > 0.0)) continue;
        // Padding before the channel reaches back to the merged record's first sample.
        const double start = startOf(c);
        const double head = std::max(0.0, std::ceil((start - origin) * rate / 1000000.0 - kSameInstant));
        const Padded p(c, size_t(std::min(head, 4e9)), rate);
        // Merged sample s read on the channel's own time, from its first sample.
        auto at = [&](long long s) { return origin + double(s) * dt - start; };
        size_t j = 1;
        if (!c.IsDiscrete()) {
            out.net.assign(size_t(N), 0.0);
            // The three samples around j, read again only when j moves on.
            size_t loaded = 0;
            double x[3] = {}, y[3] = {};
            auto load = [&](size_t k, int slot) {
                x[slot] = p.Time(k);
                y[slot] = p.Value(k);
            };
            double nextX = p.Time(j);
            for (long long s = 0; s < N; ++s) {
                const double u = at(s);
                while (u > nextX) nextX = p.Time(++j);
                if (loaded == 0 || j != loaded) {
                    if (loaded != 0 && j == loaded + 1) {
                        x[0] = x[1], y[0] = y[1];
                        x[1] = x[2], y[1] = y[2];
                        load(j + 1, 2);
                    } else {
                        load(j - 1, 0);
                        load(j, 1);
                        load(j + 1, 2);
                    }
                    loaded = j;
                }
                out.values[size_t(s)] = Quadratic(x, y, u);
                const double own = p.Net(j, f);
                if (!c.m_netFrequency.empty())
                    out.net[size_t(s)] = std::isnan(own) ? f : own;
                else if (j >= p.head && j - p.head < osc.m_sampleFrequency.size())
                    out.net[size_t(s)] = osc.m_sampleFrequency[j - p.head];
                else
                    out.net[size_t(s)] = f;
            }
        } else {
            // A state holds from its sample on: the merged sample takes the nearest one.
            double next = p.Time(j);
            for (long long s = 0; s < N; ++s) {
                const double u = at(s);
                while (u > next) next = p.Time(++j);
                out.values[size_t(s)] = next - u <= u - p.Time(j - 1) ? p.Value(j) : p.Value(j - 1);
            }
        }
    }

    if (!m_doc->PushUndo()) return;
    // Cursors and the time reference keep their instants on the merged time base.
    auto remap = [&](int32_t sample) {
        const double t = double(m_doc->GetSampleTime(uint32_t(std::max(sample, 0)))) - double(m_doc->GetSampleTime(0));
        return int32_t(std::clamp<long long>(std::llround((t - origin) / dt), 0, N - 1));
    };
    osc.m_timeReferenceSample = remap(osc.m_timeReferenceSample);
    for (CursorMarker& m : m_doc->m_cursors.m_cursors) m.position = remap(m.position);
    for (size_t i = 0; i < chs.size(); ++i) {
        CChannel& c = chs[i];
        c.m_samples = std::move(results[i].values);
        c.m_ownRate = R;
        // The record's own times are the merged ones: the channel reads them from there.
        c.m_ownTimes = std::vector<int64_t>();
        // A net frequency that is the record's nominal one all along says nothing the record's
        // own table does not: the channel keeps none, as a channel read from a file.
        std::vector<double>& net = results[i].net;
        if (std::all_of(net.begin(), net.end(), [f](double v) { return v == f; })) net.clear();
        c.m_netFrequency = std::move(net);
        c.m_flags &= ~uint32_t(CHF_OWN_TIMEBASE);
        // Complex values of a program-made channel are computed again below; until then they
        // must not be read past the new count.
        if (!c.m_calcValues.empty()) c.m_calcValues.resize(size_t(N));
    }
    // Merged sample s lies at s x 1000000 / R microseconds, rounded; the header's start is the
    // time of the first of them.
    osc.m_times.SetUniform(size_t(N), 1000000.0 / R);
    osc.m_rates = {SampleRateSegment{R, int32_t(N - 1)}};
    osc.m_samplingFrequency = RoundToInt(R);
    if (lead > 0) MoveRecordStart(osc, -RoundToInt64(lead * dt));
    SetTimeShift(0.0);
    try {
        osc.RecalcAll(true);
    } catch (CException* e) {
        platform::Ui().PostException(e);
    }
    m_doc->RecalcFaultLocation();
    m_doc->SetModifiedFlag(true);
    m_doc->ShowMergeBar(false);
    m_doc->UpdateAllViews();
    m_doc->UpdateDiagrams();
}
