#include "model/DocumentModel.h"
#include "model/RecordStart.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <cwchar>
#include <limits>

#include "model/AppOptions.h"
#include "model/TimeText.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"

namespace {

struct RateRow {
    double low, high;
    uint32_t nominal;
};

// Measured rates near a nominal one, for 64 down to 4 samples per period. Rows are tried from
// the top, so a rate on a shared bound takes the upper row.
const RateRow k50Hz[] = {
    {14400, 22000, 19200}, {8000, 14400, 9600}, {5600, 8000, 6400}, {4000, 5600, 4800}, {2800, 4000, 3200},
    {2000, 2800, 2400},    {1400, 2000, 1600},  {1000, 1400, 1200}, {700, 1000, 800},   {500, 700, 600},
    {350, 500, 400},       {250, 350, 300},     {160, 250, 200},
};
// 64 samples per period at 60 Hz is 3840 samples per second.
const RateRow k60Hz[] = {
    {17280, 26000, 23040}, {9600, 17280, 11520}, {6720, 9600, 7680}, {4550, 6720, 5760}, {3110, 4550, 3840},
    {2400, 3110, 2880},    {1680, 2400, 1920},   {1200, 1680, 1440}, {840, 1200, 960},   {600, 840, 720},
    {420, 600, 480},       {300, 420, 360},      {200, 300, 240},
};

template <size_t N>
bool LookUp(const RateRow (&table)[N], double r, uint32_t& out) {
    for (const RateRow& row : table)
        if (row.low <= r && r <= row.high) {
            out = row.nominal;
            return true;
        }
    return false;
}

uint32_t ClampRate(int64_t v) {
    if (v < 0) return 0;
    if (v > int64_t(UINT32_MAX)) return UINT32_MAX;
    return uint32_t(v);
}

}  // namespace

DocumentModel::DocumentModel() : m_oscillogram(this) {}

bool DocumentModel::IsUtcForComtrade2013() const { return TheAppOptions().utcForComtrade2013; }

void PostExceptionToMainFrame(CException* e) {
    if (e) platform::Ui().PostException(e);
}

uint32_t DocumentModel::GetNominalSampleRate(bool snap, double r) const {
    return NominalSampleRate(snap, r, m_oscillogram.m_netFrequency);
}

uint32_t NominalSampleRate(bool snap, double r, double f) {
    uint32_t nominal = 0;
    if (snap && f == 50.0 && LookUp(k50Hz, r, nominal)) return nominal;
    if (snap && f == 60.0 && LookUp(k60Hz, r, nominal)) return nominal;
    // Without a net frequency of whole hertz there are no periods to round to.
    if (!(f >= 1.0) || !std::isfinite(f)) return ClampRate(RoundToInt(r));
    return ClampRate(int64_t(RoundToInt(r / f)) * RoundToInt(f));
}

void DocumentModel::BuildSampleFrequencyTable() {
    COscillogram& o = m_oscillogram;
    const size_t n = o.m_times.size();
    RunTable old = o.m_sampleFrequency;
    old.Resize(n);
    const uint32_t nominal = GetNominalSampleRate(false, double(o.m_samplingFrequency));
    const double f = o.m_netFrequency;
    // Each segment runs from the sample after the previous one to its last sample; one whose
    // last sample lies behind its start runs to the end and no later segment follows.
    RunTable table;
    size_t start = 0;
    for (const SampleRateSegment& r : o.m_rates) {
        if (start >= n) break;
        const size_t end = (r.lastSample >= 0 && size_t(r.lastSample) >= start) ? std::min(size_t(r.lastSample), n - 1) + 1 : n;
        // A record without a nominal rate is taken to run at it.
        table.Append(end, nominal ? r.rate / nominal * f : f);
        start = end;
    }
    // Samples past the segments keep what they had.
    table.AppendTail(old);
    o.m_sampleFrequency = std::move(table);
}

int64_t DocumentModel::GetSampleTime(uint32_t i) const {
    const auto& t = m_oscillogram.m_times;
    const double fs = m_oscillogram.m_samplingFrequency;
    if (i < t.size()) return t[i];
    // Past the end (or with no table at all) the time runs on at the sampling rate.
    const int64_t last = t.empty() ? 0 : t.back();
    const double m = t.empty() ? double(i) : double(i - uint32_t(t.size()) + 1);
    if (!(fs > 0.0)) return last;
    const int64_t step = RoundToInt64(m * 1000000.0 / fs);
    if (step > 0 && last > std::numeric_limits<int64_t>::max() - step) return std::numeric_limits<int64_t>::max();
    return last + step;
}

double DocumentModel::GetSamplePeriodUs() const {
    double rate = m_oscillogram.m_samplingFrequency;
    for (const SampleRateSegment& r : m_oscillogram.m_rates)
        if (std::isfinite(r.rate)) rate = std::max(rate, r.rate);
    if (rate > 0) return 1e6 / rate;
    const auto& t = m_oscillogram.m_times;
    return t.size() >= 2 && t[1] > t[0] ? double(t[1] - t[0]) : 0.0;
}

CString NormalizeComtradeDate(const CString& text) {
    int day, month, year;
    if (!ParseComtradeDate(text, nullptr, day, month, year)) return CString();
    CString r;
    r = oscview::FormatDate(day, month, year);
    return r;
}

CString NormalizeComtradeDate(const CString& text, const CStringA& revision) {
    int day, month, year;
    if (!ParseComtradeDate(text, &revision, day, month, year)) return CString();
    CString r;
    r = oscview::FormatDate(day, month, year);
    return r;
}

CString DocumentModel::GetRecordStartDateTime() const {
    return m_oscillogram.m_startDate + L", " + m_oscillogram.m_startTime;
}
CString DocumentModel::GetNormalizedStartDate() const {
    return NormalizeComtradeDate(m_oscillogram.m_startDate, m_oscillogram.m_revision);
}
CString DocumentModel::GetNormalizedTriggerDate() const {
    return NormalizeComtradeDate(m_oscillogram.m_triggerDate, m_oscillogram.m_revision);
}
CString DocumentModel::GetStartDateTimeText() const {
    return GetNormalizedStartDate() + L", " + m_oscillogram.m_startTime;
}
CString DocumentModel::GetTriggerDateTimeText() const {
    return GetNormalizedTriggerDate() + L", " + m_oscillogram.m_triggerTime;
}

bool ParseUtcOffsetCode(const CString& text, long& seconds) {
    CString code = text;
    code.Trim();
    if (code == L"0") {
        seconds = 0;
        return true;
    }
    if (code.GetLength() < 2 || (code[0] != L'+' && code[0] != L'-')) return false;
    long hours = 0, minutes = 0;
    int i = 1, digits = 0;
    for (; i < code.GetLength() && code[i] >= L'0' && code[i] <= L'9' && digits < 3; ++i, ++digits)
        hours = hours * 10 + (code[i] - L'0');
    if (digits == 0 || hours > 24) return false;
    if (i < code.GetLength() && code[i] == L'h') {
        ++i;
        digits = 0;
        for (; i < code.GetLength() && code[i] >= L'0' && code[i] <= L'9' && digits < 3; ++i, ++digits)
            minutes = minutes * 10 + (code[i] - L'0');
        if (minutes > 59) return false;
    }
    if (i != code.GetLength()) return false;
    seconds = (hours * 60 + minutes) * 60 * (code[0] == L'-' ? -1 : 1);
    return true;
}

CString UtcOffsetLabel(long seconds) {
    if (seconds == 0) return LoadResString(3548);
    const long a = seconds < 0 ? -seconds : seconds;
    CString label;
    if (a % 3600 == 0)
        label.Format(L" (UTC%lc%ld)", seconds < 0 ? L'-' : L'+', a / 3600);
    else
        label.Format(L" (UTC%lc%ld:%02ld)", seconds < 0 ? L'-' : L'+', a / 3600, a % 3600 / 60);
    return label;
}

CString DocumentModel::GetRecordStartText(bool trigger) const {
    CString code = m_oscillogram.m_localTimeCode;
    code.Trim();
    const CString plain = trigger ? GetTriggerDateTimeText() : GetStartDateTimeText();
    if (code.IsEmpty()) return plain;

    int day, month, year;
    if (!ParseComtradeDate(trigger ? m_oscillogram.m_triggerDate : m_oscillogram.m_startDate, &m_oscillogram.m_revision,
                           day, month, year))
        return plain;
    const CString& timeText = trigger ? m_oscillogram.m_triggerTime : m_oscillogram.m_startTime;
    int h = 0, mi = 0, s = 0, consumed = 0;
    if (std::swscanf(timeText.GetString(), L"%d:%d:%d.%n", &h, &mi, &s, &consumed) != 3 || consumed == 0) return plain;
    // The fraction keeps its digits as written: ".005" is five microseconds, not five tenths.
    CString fraction;
    for (const wchar_t* p = timeText.GetString() + consumed; *p >= L'0' && *p <= L'9'; ++p) fraction += *p;
    if (fraction.IsEmpty()) return plain;

    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    // Calendar arithmetic only: the machine's own zone and its summer time have no part in it.
    std::time_t t = timegm(&tm);
    if (t == std::time_t(-1)) return plain;

    // The stamps of the file are at the offset of its time code (the first field); a file that
    // gives none is taken as stamped in UTC. The figures are shown at UTC, or at the recorder's
    // local offset (the second field), and the label names the offset they are at.
    long stamped = 0, local = 0;
    const bool knownStamp = ParseUtcOffsetCode(m_oscillogram.m_timeCode, stamped);
    if (!knownStamp) stamped = 0;
    long shown = 0;
    CString suffix;
    if (IsUtcForComtrade2013()) {
        suffix = LoadResString(3548);
    } else if (ParseUtcOffsetCode(code, local)) {
        shown = local;
        suffix = UtcOffsetLabel(local);
    } else {
        // A local code that is no offset: the stamps as written, at the offset they carry.
        shown = stamped;
        suffix = knownStamp ? UtcOffsetLabel(stamped) : LoadResString(3547);
    }
    t += shown - stamped;
    std::tm out{};
    gmtime_r(&t, &out);
    wchar_t buf[64];
    std::wcsftime(buf, 64, L"%d.%m.%Y, %H:%M:%S.", &out);
    return CString(buf) + fraction + suffix;
}

namespace {
// Microseconds from the first to the last sample of the first channel on the record's own time
// base; false when there is none.
bool RecordSpan(const COscillogram& o, double& micro) {
    for (const CChannel& ch : o.m_channels) {
        if (ch.HasOwnTimeBase()) continue;
        uint32_t count = ch.GetSampleCount();
        micro = count ? ch.GetSampleTime(count - 1) - ch.GetSampleTime(0) : 0.0;
        return true;
    }
    return false;
}
}  // namespace

CString DocumentModel::GetDurationText() const {
    double micro = 0;
    CString r;
    if (RecordSpan(m_oscillogram, micro)) r.Format(L"%g c.", micro * 1e-6);
    return r;
}

CString DocumentModel::GetDurationMicrosecondsText() const {
    double micro = 0;
    CString r;
    if (RecordSpan(m_oscillogram, micro)) r.Format(L"%g", micro);
    return r;
}

CString DocumentModel::RecordText(const CStringA& bytes, int32_t codePage) const {
    // A text that is no UTF-8 (a header file in a code page beside a UTF-8 configuration)
    // is read as the code page says.
    if (m_utf8Texts && platform::IsUtf8(bytes.view())) return CString(platform::Utf8ToWide(bytes.view()));
    if (codePage) return CString(platform::AnsiToWide(bytes.view()));
    return CString(platform::AnsiToWide(platform::OemToAnsi(bytes.view())));
}

CStringA DocumentModel::RecordBytes(const CString& text) const {
    if (m_utf8Texts) return CStringA(platform::WideToUtf8(text.view()));
    const std::string ansi = platform::WideToAnsi(text.view());
    return CStringA(m_codePage ? ansi : platform::AnsiToOem(ansi));
}

CString DocumentModel::FileText(const CStringA& bytes) const {
    if (m_utf8Texts && platform::IsUtf8(bytes.view())) return CString(platform::Utf8ToWide(bytes.view()));
    return CString(bytes);
}

CStringA DocumentModel::FileBytes(const CString& text) const {
    if (m_utf8Texts) return CStringA(platform::WideToUtf8(text.view()));
    return CStringA(text);
}

CString DocumentModel::GetTitle() const {
    const CString& path = m_oscillogram.m_sourcePath;
    const int slash = std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\'));
    return path.Mid(slash + 1);
}
