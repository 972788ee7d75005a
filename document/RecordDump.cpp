#include "document/RecordDump.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "document/TenvorikDoc.h"
#include "formats/Json.h"
#include "platform/Encoding.h"

namespace {

using json::Num;
using json::Str;

// The indices shown of n values: all, or the first and last three.
std::vector<size_t> Shown(size_t n, bool all) {
    std::vector<size_t> idx;
    if (all || n <= 6) {
        for (size_t i = 0; i < n; ++i) idx.push_back(i);
    } else {
        for (size_t i : {size_t(0), size_t(1), size_t(2), n - 3, n - 2, n - 1}) idx.push_back(i);
    }
    return idx;
}

template <class Values>
void Array(std::string& out, const Values& v, bool all) {
    out += '[';
    bool first = true;
    for (size_t i : Shown(v.size(), all)) {
        if (!first) out += ", ";
        first = false;
        Num(out, v[i]);
    }
    out += ']';
}

}  // namespace

std::string DumpRecordJson(const CTenvorikDoc& doc, bool all) {
    const COscillogram& osc = doc.GetOscillogram();
    std::string o = "{\n";
    o += "  \"station\": ";
    Str(o, osc.m_stationNameW);
    o += ",\n  \"device\": ";
    Str(o, osc.m_recorderIdW);
    o += ",\n  \"revision\": ";
    Str(o, CString(osc.m_revision));
    o += ",\n  \"frequency\": ";
    Num(o, osc.m_netFrequency);
    o += ",\n  \"rates\": [";
    for (size_t i = 0; i < osc.m_rates.size(); ++i) {
        o += i ? ", [" : "[";
        Num(o, osc.m_rates[i].rate);
        o += ", ";
        Num(o, int64_t(osc.m_rates[i].lastSample));
        o += ']';
    }
    o += "],\n  \"start\": [";
    Str(o, osc.m_startDate);
    o += ", ";
    Str(o, osc.m_startTime);
    o += "],\n  \"trigger\": [";
    Str(o, osc.m_triggerDate);
    o += ", ";
    Str(o, osc.m_triggerTime);
    o += "],\n  \"file_type\": ";
    Str(o, osc.m_dataFileType);
    o += ",\n  \"time_multiplier\": ";
    Num(o, osc.m_timeMultiplier);
    o += ",\n  \"times_us\": ";
    Array(o, osc.m_times, all);

    o += ",\n  \"analog\": [";
    bool first = true;
    for (const auto& ch : osc.m_channels) {
        if (ch.IsDiscrete()) continue;
        o += first ? "\n" : ",\n";
        first = false;
        o += "    {\"name\": ";
        Str(o, ch.m_name);
        o += ", \"unit\": ";
        Str(o, doc.RecordText(ch.m_unit));
        o += ", \"phase\": ";
        Str(o, doc.RecordText(ch.m_phase));
        o += ", \"a\": ";
        Num(o, ch.m_a);
        o += ", \"b\": ";
        Num(o, ch.m_b);
        o += ", \"primary\": ";
        Num(o, ch.m_primary);
        o += ", \"secondary\": ";
        Num(o, ch.m_secondary);
        o += ", \"ps\": ";
        Str(o, ch.m_filePrimary ? L"P" : L"S");
        o += ", \"samples\": ";
        Array(o, ch.m_samples, all);
        o += '}';
    }
    o += first ? "],\n" : "\n  ],\n";

    o += "  \"status\": [";
    first = true;
    for (const auto& ch : osc.m_channels) {
        if (!ch.IsDiscrete()) continue;
        o += first ? "\n" : ",\n";
        first = false;
        o += "    {\"name\": ";
        Str(o, ch.m_name);
        o += ", \"normal\": ";
        Num(o, int64_t(ch.m_normalState));
        o += ", \"samples\": ";
        Array(o, ch.m_samples, all);
        o += '}';
    }
    o += first ? "]\n}\n" : "\n  ]\n}\n";
    return o;
}
