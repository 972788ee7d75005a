#include "FormulaFixture.h"

namespace formulatest {

std::wstring TestCalculator::Error(const std::wstring& text, unsigned sample) {
    try {
        Eval(text, sample);
    } catch (CException* e) {
        std::wstring msg = e->GetErrorMessage().str();
        e->Delete();
        return msg;
    }
    return L"<none>";
}

FormulaRecord::FormulaRecord(int rate, double net) {
    COscillogram& o = doc.GetOscillogram();
    o.m_samplingFrequency = rate;
    o.m_netFrequency = net;
}

CChannel& FormulaRecord::Add(const std::wstring& name, std::vector<double> samples,
                             std::vector<std::complex<double>> phasors, const wchar_t* unit) {
    auto [it, added] = chans.try_emplace(name, &doc);
    CChannel& ch = it->second;
    ch.m_name = CString(name);
    ch.m_displayUnit = unit;
    ch.m_samples = std::move(samples);
    ch.SetPhasorSeries(std::move(phasors));
    calc.channels[name] = &ch;
    return ch;
}

}  // namespace formulatest
