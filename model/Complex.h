#pragma once
// The complex value shared by the signal arithmetic, the formula evaluator, the diagrams and
// the fault locator: a pair of doubles (real, imaginary).
#include <complex>

using Complex = std::complex<double>;
