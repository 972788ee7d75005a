#pragma once
// A small record for the model tests: a document with a rate, a net frequency and a time table.
#include <cmath>
#include <vector>

#include "model/DocumentModel.h"
#include "model/TenvorikException.h"

namespace modeltest {

// An analog channel of the record with the given samples and names.
inline CChannel Analog(DocumentModel* doc, const char* fileName, std::vector<double> samples, const wchar_t* unit = L"",
                       const char* phase = "") {
    CChannel ch(doc);
    ch.m_fileName = fileName;
    ch.m_name = CString(ch.m_fileName);
    ch.m_unit = CStringA(CString(unit));
    ch.m_phase = phase;
    ch.ParseUnit();
    ch.m_samples = std::move(samples);
    return ch;
}

inline CChannel Discrete(DocumentModel* doc, const char* fileName, std::vector<double> samples) {
    CChannel ch(doc);
    ch.m_discrete = 1;
    ch.m_fileName = fileName;
    ch.m_name = CString(ch.m_fileName);
    ch.m_samples = std::move(samples);
    return ch;
}

// A record of `rate` samples per second and `count` samples, times from 0.
inline void SetUpRecord(DocumentModel& doc, int rate, size_t count, double net = 50.0) {
    COscillogram& o = doc.GetOscillogram();
    o.m_samplingFrequency = rate;
    o.m_netFrequency = net;
    o.m_rates = {{double(rate), int32_t(count)}};
    o.m_times.resize(count);
    for (size_t i = 0; i < count; ++i) o.m_times.Set(i, int64_t(std::llround(double(i) * 1e6 / rate)));
}

// Runs `fn` and returns the resource id of the CTenvorikException it throws (0: none).
template <class Fn>
unsigned ThrownId(Fn fn) {
    try {
        fn();
    } catch (CTenvorikException* e) {
        unsigned id = e->GetResourceId();
        e->Delete();
        return id;
    }
    return 0;
}

}  // namespace modeltest
