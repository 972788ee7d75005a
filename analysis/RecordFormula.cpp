#include "analysis/RecordFormula.h"

#include <cmath>

#include "analysis/FormulaUnit.h"
#include "model/Oscillogram.h"
#include "model/Resources.h"

namespace {
constexpr unsigned kStrResultInvalid = 1070;
}

RecordCalculator::RecordCalculator(const COscillogram& record) : m_record(record) {}

const CChannel* RecordCalculator::GetChannelIndex(const CString& name) { return &m_record.FindChannel(name); }

double RecordCalculator::GetSampleValue(unsigned sampleIndex) {
    const auto& table = m_record.m_sampleFrequency;
    return sampleIndex < table.size() ? table[sampleIndex] : 0.0;
}

unsigned RecordCalculator::GetSamplesPerPeriod() {
    double net = m_record.m_netFrequency;
    if (!(net >= 1.0) || !(net < 4294967296.0) || m_record.m_samplingFrequency <= 0) return 0;
    return unsigned(m_record.m_samplingFrequency) / unsigned(std::trunc(net));
}

FormulaSeries ComputeFormulaSeries(RecordCalculator& calc, const CString& formula, const std::vector<uint32_t>* samples) {
    calc.Tokenize(formula);
    const size_t n = samples ? samples->size() : size_t(std::max(0, calc.Record().GetSampleCount()));
    FormulaSeries out;
    out.real.assign(n, 0.0);
    std::vector<Complex> complex(n);
    bool allReal = true, allComplex = true;
    for (size_t k = 0; k < n; ++k) {
        calc.SetSampleIndex(samples ? (*samples)[k] : uint32_t(k));
        FormulaValue v = calc.Evaluate();
        if (v.kind & FV_REAL) out.real[k] = v.real;
        else allReal = false;
        if (v.kind & FV_COMPLEX) complex[k] = v.complex;
        else allComplex = false;
    }
    out.unit = InferFormulaUnit(calc.Tokens(), calc.GetTokenCursor());
    if (!allReal && !allComplex)
        throw CTenvorikException::FromText(formula + L": " + LoadResString(kStrResultInvalid));
    if (allComplex) {
        if (!allReal)
            for (size_t k = 0; k < n; ++k) out.real[k] = complex[k].real();
        out.isComplex = true;
        out.complex = std::move(complex);
    }
    return out;
}
