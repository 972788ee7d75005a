#pragma once
// A calculator over a few named channels, the way a calculated-channel list drives one.
#include <complex>
#include <map>
#include <string>
#include <vector>

#include "analysis/Calculator.h"

class CChannel {
public:
    std::vector<double> values;
    std::vector<double> formulaValues;
    std::vector<std::complex<double>> phasors;
    double multiplier = 1.0;
    bool primaryShownSecondary = false;
};

namespace formulatest {

class TestCalculator : public Calculator {
public:
    std::map<std::wstring, const CChannel*> channels;
    unsigned samplesPerPeriod = 0;
    std::vector<double> frequency;

    const CChannel* GetChannelIndex(const CString& name) override {
        auto it = channels.find(name.str());
        return it == channels.end() ? nullptr : it->second;
    }
    double GetSampleValue(unsigned i) override { return i < frequency.size() ? frequency[i] : 0.0; }
    unsigned GetSamplesPerPeriod() override { return samplesPerPeriod; }

    FormulaValue Eval(const std::wstring& text, unsigned sample = 0) {
        Tokenize(CString(text));
        SetSampleIndex(sample);
        return Evaluate();
    }
    // The message of the error that evaluating `text` raises, or "<none>".
    std::wstring Error(const std::wstring& text, unsigned sample = 0);
};

}  // namespace formulatest
