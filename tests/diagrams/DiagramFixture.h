#pragma once
// A record document for the diagram tests: sines of chosen amplitude and phase at 1000
// samples per second and 50 Hz, every channel recalculated.
#include <cmath>
#include <vector>

#include "diagrams/DiagramWnd.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"

namespace diagtest {

constexpr double kPi = 3.14159265358979323846;

struct Wave {
    const char* name;
    const wchar_t* unit;
    double amplitude;  // peak
    double degrees;    // phase of amplitude * sin(wt + phase)
    COLORREF color;
};

class Doc : public CTenvorikDoc {
public:
    int modified = 0;
    void SetModifiedFlag(bool m = true) override {
        CTenvorikDoc::SetModifiedFlag(m);
        ++modified;
    }
};

inline void Fill(CTenvorikDoc& doc, const std::vector<Wave>& waves, size_t count = 400) {
    COscillogram& o = doc.GetOscillogram();
    o.m_samplingFrequency = 1000;
    o.m_netFrequency = 50;
    o.m_rates = {{1000.0, int32_t(count)}};
    o.m_times.resize(count);
    for (size_t i = 0; i < count; ++i) o.m_times.Set(i, int64_t(i) * 1000);
    for (const Wave& w : waves) {
        CChannel ch(&doc);
        ch.m_fileName = w.name;
        ch.m_name = CString(ch.m_fileName);
        ch.m_unit = CStringA(CString(w.unit));
        ch.ParseUnit();
        for (size_t i = 0; i < count; ++i)
            ch.m_samples.push_back(w.amplitude * std::sin(2 * kPi * 50 * double(i) / 1000 + w.degrees * kPi / 180));
        ch.m_customColorSet = true;
        ch.m_customColor = w.color;
        ch.m_flags |= CHF_VECTOR_DIAGRAM;
        o.AddChannel(-1, std::move(ch));
    }
    for (CChannel& ch : o.m_channels) ch.Recalc();
}

class Owner : public DiagramOwner {
public:
    explicit Owner(CTenvorikDoc* d) : doc(d) {}
    CTenvorikDoc* GetActiveDocument() override { return doc; }
    CTenvorikDoc* doc;
};

}  // namespace diagtest
