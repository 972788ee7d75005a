#pragma once
// A calculator over a few named channels of a small record, the way a calculated-channel list
// drives one.
#include <complex>
#include <map>
#include <string>
#include <vector>

#include "analysis/Calculator.h"
#include "model/Channel.h"
#include "model/DocumentModel.h"

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

// A record of `rate` samples per second at `net` Hz whose channels the tests fill directly.
struct FormulaRecord {
    explicit FormulaRecord(int rate = 1000, double net = 50.0);
    // An analog channel with these samples (shown as they are) and stored phasors.
    CChannel& Add(const std::wstring& name, std::vector<double> samples, std::vector<std::complex<double>> phasors = {},
                  const wchar_t* unit = L"");

    DocumentModel doc;
    std::map<std::wstring, CChannel> chans;
    TestCalculator calc;
};

}  // namespace formulatest
