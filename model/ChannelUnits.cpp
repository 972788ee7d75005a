// Units, phases, colours and vertical zoom of a channel.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "model/Channel.h"
#include "model/DocumentModel.h"
#include "model/Resources.h"
#include "platform/Encoding.h"

namespace {

using W = std::wstring;

W Upper(const W& s) {
    W r(s);
    for (auto& c : r) c = platform::ToUpperWide(c);
    return r;
}

W Lower(const W& s) {
    W r(s);
    for (auto& c : r) c = platform::ToLowerWide(c);
    return r;
}

bool StartsWith(const W& s, const wchar_t* p) { return s.rfind(p, 0) == 0; }
bool EndsWith(const W& s, const wchar_t* p) {
    W t(p);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}
bool EndsPerSecond(const W& s) { return EndsWith(s, L"/с") || EndsWith(s, L"/s"); }
bool OneOf(const W& s, std::initializer_list<const wchar_t*> list) {
    for (const wchar_t* p : list)
        if (s == p) return true;
    return false;
}

// A one-letter text, or three letters ending in a per-second part, is the unit itself and
// not a prefix ("m" metre, "m/s").
bool BareLetter(const W& s) { return s.size() == 1 || (s.size() == 3 && EndsPerSecond(s)); }

const COLORREF kPalette[10] = {RGB(54, 6, 186),  RGB(194, 2, 116), RGB(193, 52, 52), RGB(0, 111, 122),
                               RGB(0, 114, 41),  RGB(183, 39, 191), RGB(34, 2, 121), RGB(217, 92, 5),
                               RGB(167, 3, 48),  RGB(79, 3, 169)};

struct UnitPair {
    const wchar_t* from;
    const wchar_t* to;
};
const UnitPair kUnitDisplayTable[] = {
    {L"OHM", L"Ом"}, {L"var", L"вар"}, {L"VAr", L"ВАр"}, {L"Ohm", L"Ом"}, {L"nom", L"ном"}, {L"VA", L"ВА"},
    {L"Hz", L"Гц"},  {L"mk", L"мк"},   {L"A", L"А"},     {L"V", L"В"},   {L"W", L"Вт"},    {L"F", L"Ф"},
    {L"H", L"Гн"},   {L"m", L"м"},     {L"n", L"н"},     {L"K", L"К"},   {L"k", L"к"},     {L"M", L"М"},
    {L"G", L"Г"},    {L"s", L"с"},     {L"S", L"См"},    {L"p. u.", L"o. e."}, {L"µ", L"мк"},
};

bool EnglishTexts() { return TenvorikStrings().IsEnglish(); }

}  // namespace

void CChannel::ParseUnit() {
    m_displayUnit.Empty();
    const W whole = FileText(m_unit).str();
    if (whole.empty() || Upper(whole) == L"NONE") return;

    W u = whole;
    bool prefixRemoved = false;
    auto take = [&](double mul, size_t letters) {
        m_prefixMul = mul;
        u.erase(0, letters);
        prefixRemoved = true;
    };
    if (StartsWith(u, L"мк") || StartsWith(u, L"mk")) {
        take(1e-6, 2);
    } else if (StartsWith(u, L"u") || StartsWith(u, L"µ")) {
        take(1e-6, 1);
    } else if (StartsWith(u, L"м") || StartsWith(u, L"m")) {
        if (!BareLetter(u)) take(0.001, 1);
    } else if (StartsWith(u, L"н") || StartsWith(u, L"Н") || StartsWith(u, L"n") || StartsWith(u, L"N")) {
        bool nominal = Upper(u) == L"NOM" || OneOf(u, {L"ном", L"Ном", L"НОМ"}) ||
                       (u.size() == 5 && EndsPerSecond(u) &&
                        (Upper(u.substr(0, 3)) == L"NOM" || OneOf(u.substr(0, 3), {L"ном", L"Ном", L"НОМ"})));
        if (!BareLetter(u) && !nominal) take(1e-9, 1);
    } else if (StartsWith(u, L"к") || StartsWith(u, L"К") || StartsWith(u, L"k") || StartsWith(u, L"K")) {
        take(1000.0, 1);
    } else if (StartsWith(u, L"М") || StartsWith(u, L"M")) {
        if (!BareLetter(u)) take(1e6, 1);
    } else if (StartsWith(u, L"Г") || StartsWith(u, L"G")) {
        W two = Upper(u.substr(0, 2));
        bool unitItself = OneOf(two, {L"ГН", L"ГЦ", L"ГР"}) && (u.size() == 2 || (u.size() == 4 && EndsPerSecond(u)));
        if (!unitItself) take(1e9, 1);
    }

    if (EndsPerSecond(u)) {
        u.erase(u.size() - 2);
        m_unitPerSecond = true;
    }

    const W U = Upper(u);
    W unit;
    // Units that take no prefix: with one, the text is shown as read.
    auto noPrefixUnit = [&](const wchar_t* canonical) {
        if (prefixRemoved) {
            unit = whole;
            m_prefixMul = 1.0;
            m_unitPerSecond = false;
        } else {
            unit = canonical;
        }
    };
    if (OneOf(U, {L"А", L"A"})) unit = L"A";
    if (OneOf(U, {L"В", L"V"})) unit = L"V";
    if (OneOf(U, {L"ВА", L"В·А", L"V·A", L"VA"})) unit = L"VA";
    if (OneOf(U, {L"ВТ", L"W"})) unit = L"W";
    if (OneOf(U, {L"ВАР", L"VAR"})) unit = L"var";
    if (u == L"Ом" || u == LoadResString(3546).str() || U == L"OHM") unit = L"Ohm";
    if (OneOf(U, {L"Ф", L"F"})) unit = L"F";
    if (OneOf(U, {L"ГН", L"H"})) unit = L"H";
    if (OneOf(u, {L"гр", L"ГР", L"Гр", L"гР"}) || u == LoadResString(3105).str() || U == L"DEG") noPrefixUnit(L"DEG");
    if (OneOf(u, {L"н", L"Н", L"ном", L"Ном", L"НОМ"}) || U == L"NOM") noPrefixUnit(L"nom");
    if (OneOf(U, {L"О. Е.", L"О.Е.", L"ОЕ", L"О Е", L"P. U.", L"P.U.", L"PU", L"P U"})) noPrefixUnit(L"p. u.");
    if (OneOf(U, {L"ГЦ", L"HZ"})) unit = L"Hz";
    if (OneOf(u, {L"м", L"М", L"m", L"M"})) unit = L"m";
    if (OneOf(u, {L"с", L"s"})) unit = L"s";
    if (OneOf(u, {L"См", L"S"})) unit = L"S";

    if (unit.empty()) {
        unit = whole;
        m_prefixMul = 1.0;
        m_unitPerSecond = false;
        m_unitUnrecognised = true;
    }
    m_displayUnit = CString(unit);
}

bool CChannel::IsFrequencyUnit() const {
    if (m_discrete) return false;
    if (m_phase == "system" || m_circuit == "system") return true;
    return OneOf(m_displayUnit.str(), {L"Гц", L"ГЦ", L"Герц", L"ГЕРЦ", L"Hz", L"HZ", L"Herz", L"HERZ"});
}

ChannelPhase CChannel::GetPhase() const {
    const W ph = Lower(FileText(m_phase).str());
    if (OneOf(ph, {L"a", L"а"})) return PHASE_A;
    if (OneOf(ph, {L"b", L"б"})) return PHASE_B;
    if (OneOf(ph, {L"c", L"с"})) return PHASE_C;
    if (OneOf(ph, {L"ab", L"аб"})) return PHASE_AB;
    if (OneOf(ph, {L"bc", L"бс"})) return PHASE_BC;
    if (OneOf(ph, {L"ca", L"са"})) return PHASE_CA;

    const W name = Lower(FileText(m_fileName).str());
    auto has = [&](std::initializer_list<const wchar_t*> list) {
        for (const wchar_t* p : list)
            if (name.find(p) != W::npos) return true;
        return false;
    };
    if (has({L"uab", L"uаб"})) return PHASE_AB;
    if (has({L"ubc", L"uбс"})) return PHASE_BC;
    if (has({L"uca", L"uса"})) return PHASE_CA;
    if (has({L"ua", L"uа", L"ia", L"iа"})) return PHASE_A;
    if (has({L"ub", L"uб", L"ib", L"iб"})) return PHASE_B;
    if (has({L"uc", L"uс", L"ic", L"iс"})) return PHASE_C;
    if (has({L"uo", L"uо", L"un", L"uп", L"u0", L"io", L"iо", L"in", L"iп", L"i0"})) return PHASE_ZERO;
    return PHASE_NONE;
}

COLORREF CChannel::GetColor() const {
    if (m_customColorSet) return m_customColor;
    if (!m_discrete) {
        switch (GetPhase()) {
            case PHASE_A: return RGB(192, 192, 0);
            case PHASE_B: return RGB(0, 114, 41);
            case PHASE_C: return RGB(255, 0, 0);
            case PHASE_ZERO: return RGB(0, 0, 255);
            default: break;
        }
    }
    int index = GetIndex();
    return index < 0 ? COLORREF(0) : kPalette[index % 10];
}

bool CChannel::SetVerticalZoom(double from, double to) {
    if (!(from >= 0.0 && from < 1.0 && to > 0.0 && to <= 1.0 && from < to)) return false;
    double low = m_min, high = m_max;
    if (m_zoomed) GetDisplayRange(low, high);  // zooming nests
    // A channel without finite values (its range still the empty one) has nothing to zoom.
    if (!std::isfinite(high - low)) return false;
    m_zoomFrom = from;
    m_zoomTo = to;
    m_zoomed = true;
    m_scaleMode = (m_flags & CHF_CURVE_RMS) ? 1 : (m_flags & CHF_CURVE_HARMONIC) ? 2 : 0;
    double range = high - low;
    m_zoomLow = low + (1.0 - to) * range;
    m_zoomHigh = high - from * range;
    return true;
}

void CChannel::GetDisplayRange(double& low, double& high) const {
    low = m_min;
    high = m_max;
    if (!m_zoomed) return;
    bool averaged = (m_flags & (CHF_CURVE_RMS | CHF_CURVE_HARMONIC)) != 0;
    switch (m_scaleMode) {
        case 0:
            if (averaged) {
                low = 0.0;
                high = std::max(std::fabs(m_zoomLow), std::fabs(m_zoomHigh));
            } else {
                low = m_zoomLow;
                high = m_zoomHigh;
            }
            break;
        case 1:
        case 2:
            if (!averaged) {
                low = -1.5 * m_zoomHigh;
                high = 1.5 * m_zoomHigh;
            } else {
                low = m_zoomLow;
                high = m_zoomHigh;
            }
            break;
        default: break;
    }
}

CString GetUnitDisplayText(const CString& text) {
    CString r(text);
    r.Replace(L"DEG", LoadResString(3105));
    if (!EnglishTexts())
        for (const UnitPair& p : kUnitDisplayTable) r.Replace(p.from, p.to);
    r.Replace(L"Ohm", LoadResString(3546));
    return r;
}

CString CChannel::GetRateUnitDisplayText() const {
    if (m_unitUnrecognised) return GetUnitText();
    CString r = GetUnitDisplayText(GetUnitText());
    if (m_unitPerSecond) r += EnglishTexts() ? L"/s" : L"/с";
    return r;
}
