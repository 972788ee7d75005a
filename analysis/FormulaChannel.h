#pragma once
// What the formula engine reads of a recorded channel. The evaluator meets the record model
// only through these calls, so that the model can change inside without touching formulas.
#include <complex>

#include "platform/CString.h"

class CChannel;

namespace formula {

// The displayed sample value at sample i (plain channel leaves).
double ChannelValue(const CChannel& ch, unsigned i);
// The sample value as the coefficient and compensation family reads it.
double ChannelFormulaValue(const CChannel& ch, unsigned i);
// The first-harmonic phasor of sample i.
std::complex<double> ChannelPhasor(const CChannel& ch, unsigned i);
// Measures over the period that ends at sample i.
double ChannelRms(const CChannel& ch, unsigned i);
double ChannelMean(const CChannel& ch, unsigned i);
double ChannelHarmonicRms(const CChannel& ch, int harmonic, unsigned i);
double ChannelDeltaRms(const CChannel& ch, unsigned i);
// Display scaling of a channel's values.
double ChannelDisplayMultiplier(const CChannel& ch);
bool ChannelPrimaryFileShownSecondary(const CChannel& ch);
// The unit shown for the channel (empty for a channel shown in ADC counts).
CString ChannelUnitText(const CChannel& ch);

}  // namespace formula
