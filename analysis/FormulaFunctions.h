#pragma once
// Meaning of the formula functions: how many arguments each takes, which of them must be
// channels, and the value it makes of them at one sample.
#include <complex>

#include "analysis/Calculator.h"

namespace formula {

struct FunctionSignature {
    int argCount;           // -1: not checked
    unsigned channelArgs;   // bit k set: argument k must be a channel
};

// The signature of a function token id (ids of IsFormulaFunction).
FunctionSignature SignatureOf(int id);

// Applies function `id` to its `count` checked arguments at the calculator's current sample.
FormulaValue ApplyFunction(int id, const FormulaValue* args, int count, Calculator& calc);

// Complex division by Smith's method. A zero or non-finite divisor, or a non-finite
// dividend, gives NaN in both parts rather than a half-infinite value.
std::complex<double> Divide(std::complex<double> a, std::complex<double> b);

}  // namespace formula
