#include "FormulaFixture.h"

#include "analysis/FormulaChannel.h"

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

}  // namespace formulatest

namespace formula {
namespace {
double At(const std::vector<double>& v, unsigned i) { return i < v.size() ? v[i] : 0.0; }
}
double ChannelValue(const CChannel& ch, unsigned i) { return At(ch.values, i); }
double ChannelFormulaValue(const CChannel& ch, unsigned i) { return At(ch.formulaValues, i); }
std::complex<double> ChannelPhasor(const CChannel& ch, unsigned i) {
    return i < ch.phasors.size() ? ch.phasors[i] : std::complex<double>();
}
double ChannelRms(const CChannel& ch, unsigned i) { return 1000.0 + At(ch.values, i); }
double ChannelMean(const CChannel& ch, unsigned i) { return 2000.0 + At(ch.values, i); }
double ChannelHarmonicRms(const CChannel& ch, int n, unsigned i) { return 3000.0 + n + At(ch.values, i); }
double ChannelDeltaRms(const CChannel& ch, unsigned i) { return 4000.0 + At(ch.values, i); }
double ChannelDisplayMultiplier(const CChannel& ch) { return ch.multiplier; }
bool ChannelPrimaryFileShownSecondary(const CChannel& ch) { return ch.primaryShownSecondary; }
}  // namespace formula
