#include "model/Channel.h"

#include <cfloat>
#include <cmath>
#include <cwchar>
#include <limits>
#include <algorithm>

#include "model/DocumentModel.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "platform/Encoding.h"

namespace {

// The C library's text-to-integer conversion: leading blanks, a sign, digits; 0 when there
// are none. Saturates instead of overflowing.
long long ParseLeadingInt(const CStringA& text) {
    const char* p = text.GetString();
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (v < 1000000000000LL) v = v * 10 + (*p - '0');
    }
    return negative ? -v : v;
}

std::vector<CStringA> SplitFields(const CStringA& text) {
    std::vector<CStringA> fields;
    int start = 0;
    for (;;) {
        int comma = text.Find(',', start);
        if (comma < 0) {
            fields.push_back(text.Mid(start));
            break;
        }
        fields.push_back(text.Mid(start, comma - start));
        start = comma + 1;
    }
    return fields;
}

}  // namespace

CChannel::CChannel(DocumentModel* doc) : m_document(doc) {}

CChannel::CChannel(const CString& name, const CString& unit, const std::vector<double>& values, DocumentModel* doc)
    : m_document(doc), m_fileName(name), m_name(name), m_primaryMode(true), m_max(-DBL_MAX), m_min(DBL_MAX) {
    SetCalculatedValues(unit, values);
}

CChannel::CChannel(const CString& name, const CString& unit, const std::vector<double>& values,
                   const std::vector<Complex>& complexValues, DocumentModel* doc)
    : m_document(doc), m_fileName(name), m_name(name), m_primaryMode(true), m_max(-DBL_MAX), m_min(DBL_MAX) {
    SetComplexValues(unit, values, complexValues);
}

CChannel::CChannel(const CString& name, const std::vector<int32_t>& states, DocumentModel* doc, COLORREF color)
    : m_document(doc), m_discrete(1), m_fileName(name), m_name(name), m_primaryMode(true), m_max(1.0), m_min(0.0),
      m_color(color) {
    SetDiscreteValues(states);
}

CChannel::CChannel(bool discrete, const CStringA& description, DocumentModel* doc)
    : m_document(doc), m_discrete(discrete ? 1 : 0) {
    if (discrete) {
        int first = description.Find(',');
        int second = first >= 0 ? description.Find(',', first + 1) : -1;
        if (first >= 0) m_fileName = second >= 0 ? description.Mid(first + 1, second - first - 1) : description.Mid(first + 1);
        // Revised records put the phase and the circuit component between name and state.
        int skip = (m_document && !m_document->m_oscillogram.m_revision.IsEmpty()) ? 2 : 0;
        int pos = second;
        for (int k = 0; k < skip && pos >= 0; ++k) pos = description.Find(',', pos + 1);
        if (pos >= 0) m_normalState = uint32_t(ParseLeadingInt(description.Mid(pos + 1)));
    } else {
        std::vector<CStringA> f = SplitFields(description);
        if (f.size() == 4) {
            m_fileName = f[1];
            m_phase = f[2];
            m_unit = f[3];
        } else if (f.size() == 5) {
            m_fileName = f[1];
            m_phase = f[2];
            m_circuit = f[3];
            m_unit = f[4];
        }
    }
    if (m_fileName.IsEmpty()) m_fileName = CStringA(LoadResString(3442));
    m_name = CString(m_fileName);
    ParseUnit();
}

// ------------------------------------------------------------------ value setters

void CChannel::SetCalculatedUnit(const CString& unit) {
    m_unit = CStringA(unit);
    m_displayUnit = unit;
    if (m_unit == CStringA(LoadResString(3122)))
        m_unit = "V";
    else if (m_unit == CStringA(LoadResString(3106)))
        m_unit = "A";
    m_flags |= CHF_CALCULATED;
}

void CChannel::SetCalculatedValues(const CString& unit, const std::vector<double>& values) {
    SetCalculatedUnit(unit);
    m_samples = values;
    // Complex values a channel had keep their places; a channel without any reads 0 there.
    if (!m_calcValues.empty()) m_calcValues.resize(values.size());
    Recalc();
}

void CChannel::SetComplexValues(const CString& unit, const std::vector<double>& values,
                                const std::vector<Complex>& complexValues) {
    SetCalculatedUnit(unit);
    m_samples = values;
    std::vector<Complex> c = complexValues;
    c.resize(values.size());
    m_calcValues = std::move(c);
    Recalc();
}

void CChannel::SetDiscreteValues(const std::vector<int32_t>& states) {
    m_flags |= CHF_CALCULATED;
    const size_t n = states.size();
    uint64_t* bits = m_samples.ResetBits(n);
    for (size_t k = 0; k < n; ++k)
        if (states[k] != 0) bits[k >> 6] |= uint64_t(1) << (k & 63);
    Recalc();
}

// ------------------------------------------------------------------ value access

int32_t CChannel::GetAdcCode(uint32_t i) const {
    if (i >= m_samples.size()) return 0;
    double scale = m_prefixMul * m_a;
    // A zero multiplier has no code; 0 rather than a division by zero.
    if (scale == 0.0) return 0;
    return RoundToInt((m_samples[i] - m_b) / scale);
}

double CChannel::GetValue(uint32_t i) const {
    if (i >= m_samples.size()) return 0.0;
    double s = m_samples[i];
    if (std::isnan(s)) return 0.0;
    double v = s * m_displayMul;
    if (m_discrete) {
        if (m_flags & CHF_INVERT) return v == 0.0 ? 1.0 : 0.0;
        return v;
    }
    if (m_flags & CHF_ADC_COUNTS) v = double(GetAdcCode(i));
    if (m_flags & CHF_REMOVE_DC) v -= m_dc * m_displayMul;
    if (m_flags & CHF_INVERT) v = -v;
    return v;
}

void CChannel::ReadValues(size_t begin, size_t end, double* out, bool missingAsNaN) const {
    const size_t e = std::min(end, m_samples.size());
    if (begin < e) m_samples.Read(begin, e, out);
    const double missing = missingAsNaN ? std::numeric_limits<double>::quiet_NaN() : 0.0;
    const double mul = m_displayMul;
    const bool invert = (m_flags & CHF_INVERT) != 0;
    double* o = out;
    if (m_discrete) {
        for (size_t i = begin; i < e; ++i, ++o) {
            const double s = *o;
            if (std::isnan(s)) *o = missing;
            else if (invert) *o = s * mul == 0.0 ? 1.0 : 0.0;
            else *o = s * mul;
        }
    } else {
        // The steps of GetValue, in its order, so that each value is the same to the bit.
        const bool adc = (m_flags & CHF_ADC_COUNTS) != 0, removeDc = (m_flags & CHF_REMOVE_DC) != 0;
        const double scale = m_prefixMul * m_a;
        for (size_t i = begin; i < e; ++i, ++o) {
            const double s = *o;
            if (std::isnan(s)) {
                *o = missing;
                continue;
            }
            double v = s * mul;
            if (adc) v = scale == 0.0 ? 0.0 : double(RoundToInt((s - m_b) / scale));
            if (removeDc) v -= m_dc * m_displayMul;
            if (invert) v = -v;
            *o = v;
        }
    }
    for (size_t i = std::max(begin, e); i < end; ++i) *o++ = 0.0;
}

double CChannel::GetFormulaValue(uint32_t i) const {
    if (!m_filePrimary) return GetValue(i);
    if (i >= m_samples.size() || std::isnan(m_samples[i])) return 0.0;
    double v = GetValue(i);
    if (m_primaryMode && m_primary != 0.0) v = v * m_secondary / m_primary;
    if (!m_discrete && (m_flags & CHF_ADC_COUNTS)) return double(GetAdcCode(i));
    return v;
}

double CChannel::GetCurveValue(uint32_t i) const {
    if (i >= m_curveSize) return 0.0;
    if (!m_windowedCurve.empty()) return i < m_windowedCurve.size() ? m_windowedCurve[i] : 0.0;
    if (!m_discrete) {
        if (i >= m_samples.size()) return 0.0;
        // A missing sample leaves a gap in the curve.
        return std::isnan(m_samples[i]) ? std::numeric_limits<double>::quiet_NaN() : GetValue(i);
    }
    if (i >= m_samples.size()) return 0.0;
    const double s = m_samples[i];
    if (m_flags & CHF_INVERT) return s == 0.0 ? 1.0 : 0.0;
    return s;
}

void CChannel::ReadCurve(size_t begin, size_t end, double* out) const {
    if (!m_discrete && m_windowedCurve.empty() && begin < end) {
        const size_t e = std::min<size_t>(end, m_curveSize);
        if (begin < e) ReadValues(begin, e, out, true);
        for (size_t i = std::max(begin, e); i < end; ++i) out[i - begin] = 0.0;
        return;
    }
    for (size_t i = begin; i < end; ++i) *out++ = i < m_curveSize ? GetCurveValue(uint32_t(i)) : 0.0;
}

size_t CChannel::CountCurveOn(size_t begin, size_t end) const {
    end = std::min<size_t>(end, std::min<size_t>(m_curveSize, m_samples.size()));
    if (begin >= end) return 0;
    if (m_discrete && m_windowedCurve.empty()) {
        const size_t on = m_samples.CountNonZero(begin, end);
        return (m_flags & CHF_INVERT) ? (end - begin) - on : on;
    }
    size_t on = 0;
    for (size_t i = begin; i < end; ++i) on += GetCurveValue(uint32_t(i)) != 0.0;
    return on;
}

std::vector<double> CChannel::GetCurveValues() const {
    std::vector<double> v(m_curveSize);
    ReadCurve(0, v.size(), v.data());
    return v;
}

uint32_t CChannel::GetPhasorCount() const {
    if (m_phasorSeries) return uint32_t(m_phasorSeries->size());
    return m_discrete ? 0 : m_curveSize;
}

Complex CChannel::GetStoredHarmonic(uint32_t i) const {
    Complex p;
    if (m_phasorSeries) {
        if (m_discrete || i >= m_phasorSeries->size()) return {};
        p = (*m_phasorSeries)[i];
    } else {
        if (m_discrete || i >= m_curveSize) return {};
        p = ComputePhasor(i);
    }
    if (std::isnan(p.real()) || std::isnan(p.imag())) return {};
    return p;
}

void CChannel::SetPhasorSeries(std::vector<Complex> series) {
    m_phasorSeries = std::make_shared<const std::vector<Complex>>(std::move(series));
}

size_t CChannel::GetDataBytes() const {
    return m_samples.ByteSize() + m_calcValues.ByteSize() + m_ownTimes.ByteSize() + m_netFrequency.ByteSize() +
           m_windowedCurve.ByteSize() + (m_phasorSeries ? m_phasorSeries->capacity() * sizeof(Complex) : 0);
}

double CChannel::GetSampleTime(uint32_t i) const {
    if (m_ownTimes.empty()) return m_document ? double(m_document->GetSampleTime(i)) : 0.0;
    uint32_t count = uint32_t(m_ownTimes.size());
    if (i < count) return double(m_ownTimes[i]);
    double rate = SampleRate();
    double last = double(m_ownTimes.back());
    if (!(rate > 0.0) || !std::isfinite(rate)) return last;
    return last + double(uint32_t(i - count + 1)) * 1e6 / rate;
}

void CChannel::Reserve(size_t n) { m_samples.reserve(n); }

double CChannel::SampleRate() const {
    if (m_ownRate != 0.0) return m_ownRate;
    return m_document ? double(m_document->m_oscillogram.m_samplingFrequency) : 0.0;
}

double CChannel::ComputeDisplayMultiplier() const {
    // A zero side of the ratio has no meaning; the values are then shown as stored.
    if (m_primaryMode && !m_filePrimary) return m_secondary != 0.0 ? m_primary / m_secondary : 1.0;
    if (!m_primaryMode && m_filePrimary) return m_primary != 0.0 ? m_secondary / m_primary : 1.0;
    return 1.0;
}

// ------------------------------------------------------------------ names

void CChannel::UpdateDisplayName(bool ansiCodePage) {
    if (!m_alias.IsEmpty())
        m_name = m_alias;
    else if (m_document && m_document->m_utf8Texts && !(m_flags & CHF_CALCULATED))
        m_name = m_document->FileText(m_fileName);
    else if (!ansiCodePage && !(m_flags & CHF_CALCULATED))
        m_name = CString(platform::AnsiToWide(platform::OemToAnsi(m_fileName.view())));
    else
        m_name = CString(m_fileName);
}

CString CChannel::FileText(const CStringA& bytes) const { return m_document ? m_document->FileText(bytes) : CString(bytes); }

void CChannel::SetAlias(const CString& alias) {
    m_alias = alias;
    UpdateDisplayName(m_document ? m_document->m_codePage != 0 : true);
}

bool CChannel::IsScaledByRatio() const {
    return !(m_flags & CHF_CALCULATED) && m_filePrimary != m_primaryMode && (m_primary != 1.0 || m_secondary != 1.0);
}

int CChannel::GetIndex() const {
    if (!m_document) return -1;
    const auto& channels = m_document->m_oscillogram.m_channels;
    for (size_t k = 0; k < channels.size(); ++k)
        if (&channels[k] == this) return int(k);
    return -1;
}
