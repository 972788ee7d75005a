#include "analysis/FormulaChannel.h"

#include <climits>

#include "model/Channel.h"

namespace formula {

namespace {
// The arithmetic counts samples in int; no record reaches past that.
int Index(unsigned i) { return i > unsigned(INT_MAX) ? INT_MAX : int(i); }
}  // namespace

double ChannelValue(const CChannel& ch, unsigned i) { return ch.GetValue(i); }
double ChannelFormulaValue(const CChannel& ch, unsigned i) { return ch.GetFormulaValue(i); }
std::complex<double> ChannelPhasor(const CChannel& ch, unsigned i) { return ch.GetStoredHarmonic(i); }
double ChannelRms(const CChannel& ch, unsigned i) { return ch.GetRms(i, 1); }
double ChannelMean(const CChannel& ch, unsigned i) { return ch.GetMean(Index(i), 1); }
double ChannelHarmonicRms(const CChannel& ch, int harmonic, unsigned i) { return ch.GetHarmonicRms(harmonic, Index(i)); }
double ChannelDeltaRms(const CChannel& ch, unsigned i) { return ch.GetDeltaRms(Index(i)); }
double ChannelDisplayMultiplier(const CChannel& ch) { return ch.m_displayMul; }
bool ChannelPrimaryFileShownSecondary(const CChannel& ch) { return ch.m_filePrimary && !ch.m_primaryMode; }
CString ChannelUnitText(const CChannel& ch) { return ch.GetUnitText(); }

}  // namespace formula
