#pragma once
// A record for the circle diagram tests: 1000 samples per second at 50 Hz (20 samples a
// period), channels whose stored phasors are given outright, so that a test knows every point
// of a trajectory.
#include <functional>
#include <vector>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"

namespace circletest {

class Doc : public CTenvorikDoc {
public:
    int modified = 0;
    void SetModifiedFlag(bool m = true) override {
        CTenvorikDoc::SetModifiedFlag(m);
        ++modified;
    }
};

inline void SetSamples(CTenvorikDoc& doc, size_t count) {
    COscillogram& o = doc.GetOscillogram();
    o.m_samplingFrequency = 1000;
    o.m_netFrequency = 50;
    o.m_rates = {{1000.0, int32_t(count)}};
    o.m_times.resize(count);
    for (size_t i = 0; i < count; ++i) o.m_times.Set(i, int64_t(i) * 1000);
}

// Adds an analog channel; `value` gives its sample values, `phasor` its stored phasors.
inline CChannel& AddChannel(CTenvorikDoc& doc, const char* name, const wchar_t* unit, COLORREF color,
                            const std::function<double(size_t)>& value,
                            const std::function<Complex(size_t)>& phasor = nullptr, bool flagged = false) {
    COscillogram& o = doc.GetOscillogram();
    const size_t count = o.m_times.size();
    CChannel ch(&doc);
    ch.m_fileName = name;
    ch.m_name = CString(ch.m_fileName);
    ch.m_unit = CStringA(CString(unit));
    ch.ParseUnit();
    for (size_t i = 0; i < count; ++i) ch.m_samples.push_back(value ? value(i) : 0.0);
    ch.m_customColorSet = true;
    ch.m_customColor = color;
    if (flagged) ch.m_flags |= CHF_CIRCLE_DIAGRAM;
    o.AddChannel(-1, std::move(ch));
    CChannel& added = o.m_channels.back();
    added.Recalc();
    if (phasor) {
        std::vector<Complex> series(count);
        for (size_t i = 0; i < count; ++i) series[i] = phasor(i);
        added.SetPhasorSeries(std::move(series));
    }
    return added;
}

inline void SetCursors(CTenvorikDoc& doc, int c1, int c2) {
    doc.m_cursors.m_cursors[0].shown = true;
    doc.m_cursors.m_cursors[0].position = c1;
    doc.m_cursors.m_cursors[1].shown = true;
    doc.m_cursors.m_cursors[1].position = c2;
}

}  // namespace circletest
