// The fault-location result over the cursors, its one-line text and the full report.
#include <cmath>

#include "faultloc/WrongPlaceLocator.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "model/ValueFormat.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/Exception.h"

namespace {

// The fault kind's heading (short form with its leading blanks), or an empty text for no fault.
CString KindHeading(const WrongPlaceLocator& loc) {
    CString text;
    if (loc.m_earthMedian) text = LoadResString(9101);
    if (loc.m_phaseMedian) text = LoadResString(9102);
    if (loc.m_symMedian) text = LoadResString(9103);
    return text;
}

CString Phases(const WrongPlaceLocator& loc) {
    CString p;
    if (loc.m_phaseA) p += L"A";
    if (loc.m_phaseB) p += L"B";
    if (loc.m_phaseC) p += L"C";
    return p;
}

// " на участке ...", then the distance line; or " на смежной линии." for a result off the line.
CString LocationText(const WrongPlaceLocator& loc, bool* onLine) {
    const double L = loc.LineLength();
    const double D = loc.m_distance;
    *onLine = D > 0 && D <= L;  // a distance that is no number is no place on the line
    if (!*onLine) return LoadResString(9104);
    CString where;
    where.Format(LoadResString(9105).GetString(), loc.m_faultSection + 1, loc.m_tower - 1, loc.m_tower);
    const bool cyrillic = !TenvorikStrings().IsEnglish();
    // The distances in the program's letters ("км"), the prefix chosen like every read-out's.
    const CString d1 = FormatQuantity(D * 1000, L"m", 2, false, cyrillic);
    const CString d2 = FormatQuantity(loc.m_distanceInSection * 1000, L"m", 2, false, cyrillic);
    CString line;
    line.Format(LoadResString(9106).GetString(), d1, d2, loc.m_spread);
    return where + line;
}

CString Label(unsigned id) { return LoadResString(id); }

}  // namespace

void WrongPlaceLocator::ShowResultAtCursors(int first, int last, int recordSampleCount, LocatorHost& host) {
    ComputeResultAt(first, last, recordSampleCount);
    host.ShowResultBar(BuildShortResult());
}

void WrongPlaceLocator::RefreshResultBar(LocatorHost& host) const {
    if (m_active)
        host.ShowResultBar(m_resultText);
    else
        host.HideResultBar();
}

CString WrongPlaceLocator::BuildShortResult() {
    CString text = KindHeading(*this);
    if (text.IsEmpty()) {
        m_resultText = LoadResString(9100);
        return m_resultText;
    }
    text += Phases(*this);
    bool onLine = false;
    text += LocationText(*this, &onLine);
    m_resultText = text;
    return m_resultText;
}

CString WrongPlaceLocator::FormatChannelRef(const CString& name, const LocatorRecord& record) const {
    double primary = 0, secondary = 0;
    if (!record.GetChannelRatio(name, primary, secondary)) return name;
    CString s;
    s.Format(LoadResString(9138).GetString(), name, primary, secondary);
    return s;
}

CString WrongPlaceLocator::BuildReport(const LocatorReportHeader& h, const LocatorRecord& record) const {
    const int type = m_data.methodType;
    const bool twoEnded = type == WrongPlaceLocatorData::TwoEnded;
    const bool isolated = type == WrongPlaceLocatorData::IsolatedNeutral;
    const bool known = isolated || type == WrongPlaceLocatorData::EarthedNeutral || twoEnded;
    CString r = LoadResString(128) + Label(9110) + h.path + L"\n\n";
    if (known) r += Label(9111) + LoadResString(isolated ? 3318 : twoEnded ? 3316 : 3317) + L"\n\n";
    r += Label(9112) + h.station + Label(9113) + h.recorder + L"\n\n";
    r += Label(9114) + h.startDate + L", " + h.startTime + L"\n";
    r += Label(9115) + h.triggerDate + L", " + h.triggerTime + L"\n\n";

    CString kind = KindHeading(*this);
    if (kind.IsEmpty()) {
        r += CString(LoadResString(9100)).TrimLeft() + L"\n\n";
    } else {
        bool onLine = false;
        CString location = LocationText(*this, &onLine);
        r += kind.TrimLeft() + Phases(*this) + location + L"\n\n";
    }

    auto stationBlock = [&](const WrongPlaceLocatorData::Station& st, unsigned heading, bool refs) {
        r += Label(heading) + st.GetParam(LineParam::Name()) + L"\n";
        r += LineParam::NominalCurrent() + L": " + st.GetParam(LineParam::NominalCurrent()) + L"\n\n";
        std::vector<const wchar_t*> names = {L"Ia", L"Ib", L"Ic"};
        for (const wchar_t* u : isolated ? std::vector<const wchar_t*>{L"Uab", L"Ubc", L"Uca"}
                                         : std::vector<const wchar_t*>{L"Ua", L"Ub", L"Uc"})
            names.push_back(u);
        for (size_t k = 0; k < names.size(); ++k) {
            CString label;
            label.Format(L"%s%s:", Label(9119), names[k]);
            while (label.GetLength() < Label(9119).GetLength() + 5) label += L' ';
            CString value = st.GetParam(names[k]);
            r += label + (refs ? FormatChannelRef(value, record) : value) + (k + 1 == names.size() ? L"\n\n" : L"\n");
        }
    };
    if (known) stationBlock(m_data.station1, isolated ? 9116 : twoEnded ? 9117 : 9116, true);

    int n = 1;
    for (const auto& sp : m_data.station1.sections) {
        const auto& s = *sp;
        r += Label(9120) + FormatInt(n++) + L": \n";
        r += Label(9121) + s.GetParam(LineParam::Length()) + L"\n";
        r += Label(9122) + s.GetParam(LineParam::Towers()) + L"\n";
        if (isolated) {
            r += Label(9123) + s.GetParam(LineParam::R()) + L"\n";
            r += Label(9124) + s.GetParam(LineParam::X()) + L"\n";
        } else if (known) {
            r += Label(9125) + s.GetParam(LineParam::R1()) + L"\n";
            r += Label(9126) + s.GetParam(LineParam::X1()) + L"\n";
            r += Label(9127) + s.GetParam(LineParam::R0()) + L"\n";
            r += Label(9128) + s.GetParam(LineParam::X0()) + L"\n";
        }
        r += Label(9129) + s.GetParam(LineParam::Comment()) + L"\n\n";
        if (known && !isolated) {
            int p = 1;
            for (const auto& pl : s.parallelLines) {
                r += Label(9130) + FormatInt(p++) + L": \n";
                r += Label(9131) + pl->GetParam(LineParam::Rm()) + L"\n";
                r += Label(9132) + pl->GetParam(LineParam::Xm()) + L"\n";
                r += Label(9133) + pl->GetParam(L"I0") + L"\n";
                r += Label(9134) + pl->GetParam(LineParam::Comment()) + L"\n\n";
            }
            int t = 1;
            for (const auto& tap : s.connections) {
                r += Label(9135) + FormatInt(t++) + L": \n";
                r += Label(9136) + tap->GetParam(LineParam::TapR0()) + L"\n";
                r += Label(9137) + tap->GetParam(LineParam::TapX0()) + L"\n";
                r += Label(9134) + tap->GetParam(LineParam::Comment()) + L"\n\n";
            }
        }
    }
    if (twoEnded) stationBlock(m_data.station2, 9118, false);
    return r;
}

bool WrongPlaceLocator::SaveReport(const CString& path, const LocatorReportHeader& header, const LocatorRecord& record,
                                   CString* error) const {
    CString text = BuildReport(header, record);
    text.Replace(L"\n", L"\r\n");
    return platform::TryWriteFileAtomically(path, platform::WideToUtf16Le(text.view(), true), error);
}
