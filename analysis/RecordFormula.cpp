#include "analysis/RecordFormula.h"

#include <cmath>

#include "analysis/FormulaUnit.h"
#include "model/Oscillogram.h"
#include "model/Resources.h"

namespace {
constexpr unsigned kStrResultInvalid = 1070;
}

const CChannel* RecordChannel(const COscillogram& record, const CString& name) { return &record.FindChannel(name); }

double RecordSampleFrequency(const COscillogram& record, unsigned sampleIndex) {
    const auto& table = record.m_sampleFrequency;
    return sampleIndex < table.size() ? table[sampleIndex] : 0.0;
}

unsigned RecordSamplesPerPeriod(const COscillogram& record) {
    double net = record.m_netFrequency;
    if (!(net >= 1.0) || !(net < 4294967296.0) || record.m_samplingFrequency <= 0) return 0;
    return unsigned(record.m_samplingFrequency) / unsigned(std::trunc(net));
}

RecordCalculator::RecordCalculator(const COscillogram& record) : m_record(record) {}

const CChannel* RecordCalculator::GetChannelIndex(const CString& name) { return RecordChannel(m_record, name); }

double RecordCalculator::GetSampleValue(unsigned sampleIndex) { return RecordSampleFrequency(m_record, sampleIndex); }

unsigned RecordCalculator::GetSamplesPerPeriod() { return RecordSamplesPerPeriod(m_record); }

FormulaSeries ComputeFormulaSeries(RecordCalculator& calc, const CString& formula, const std::vector<uint32_t>* samples) {
    return ComputeFormulaSeries(calc, formula, size_t(std::max(0, calc.Record().GetSampleCount())), samples);
}

FormulaSeries ComputeFormulaSeries(Calculator& calc, const CString& formula, size_t sampleCount,
                                   const std::vector<uint32_t>* samples) {
    calc.Tokenize(formula);
    const size_t n = samples ? samples->size() : sampleCount;
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
        throw CTenvorikException::FromText(calc.FormulaName() + L": " + LoadResString(kStrResultInvalid));
    if (allComplex) {
        if (!allReal)
            for (size_t k = 0; k < n; ++k) out.real[k] = complex[k].real();
        out.isComplex = true;
        out.complex = std::move(complex);
    }
    return out;
}
