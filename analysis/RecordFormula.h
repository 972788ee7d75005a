#pragma once
// A formula over the channels of a loaded record, computed sample by sample the way a
// calculated channel is: channel names are the record's, "frequency:" reads the record's
// per-sample frequency table, and the result is real or complex by the whole run.
#include <cstdint>
#include <vector>

#include "analysis/Calculator.h"
#include "model/Complex.h"

class COscillogram;

// What a calculator over a record answers, for calculators that keep the record elsewhere: the
// channel of a display name (a name of no channel raises the record's "wrong channel name"
// exception), the per-sample frequency behind "frequency:" (0 past its end), and the samples
// in one period (sampling rate over the whole hertz of the net frequency; 0 below 1 Hz).
const CChannel* RecordChannel(const COscillogram& record, const CString& name);
double RecordSampleFrequency(const COscillogram& record, unsigned sampleIndex);
unsigned RecordSamplesPerPeriod(const COscillogram& record);

class RecordCalculator : public Calculator {
public:
    explicit RecordCalculator(const COscillogram& record);

    // The record's channel of that display name; a name of no channel raises the record's
    // "wrong channel name" exception.
    const CChannel* GetChannelIndex(const CString& name) override;
    double GetSampleValue(unsigned sampleIndex) override;
    // Sampling rate over the whole hertz of the net frequency; 0 below 1 Hz.
    unsigned GetSamplesPerPeriod() override;

    const COscillogram& Record() const { return m_record; }

private:
    const COscillogram& m_record;
};

struct FormulaSeries {
    bool isComplex = false;   // every sample had a complex value (the real values are then its real parts when
                              // not every sample had a real one)
    CString unit;
    std::vector<double> real;
    std::vector<Complex> complex;  // empty unless isComplex
};

// Tokenizes `formula` once and evaluates it at every sample of the record, or only at the
// samples listed. Throws CTenvorikException* on an error, also when the values are neither
// all real nor all complex.
FormulaSeries ComputeFormulaSeries(RecordCalculator& calc, const CString& formula,
                                   const std::vector<uint32_t>* samples = nullptr);
// The same with any calculator, over samples 0 .. sampleCount-1 or the samples listed. The
// "result is not valid" message names the formula as the calculator's other messages do.
FormulaSeries ComputeFormulaSeries(Calculator& calc, const CString& formula, size_t sampleCount,
                                   const std::vector<uint32_t>* samples = nullptr);
