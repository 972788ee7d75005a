#pragma once
// Numeric routines over plain sample arrays: spread and medians of an index range, searches
// for the quietest window of a record, and small linear solvers. Index ranges are inclusive.
#include <complex>
#include <cstdint>
#include <vector>

struct IndexRange {
    int first = 0;
    int last = 0;
};

// Population standard deviation of x[from..to].
double CalcStdDev(const double* x, int from, int to);
// Median of x[from..to] (mean of the two middle values for an even count). NaN values carry no
// information and are left out; a range of NaN only has a NaN median.
double CalcMedian(const double* x, int from, int to);
// The upper median of x[from..to], no averaging.
int32_t CalcMedianOfRange32(const int32_t* x, int from, int to);

// Windows of W samples starting between s and E - W. Each returns {s, s + W - 1} when no window
// qualifies. A window qualifies when its measure lies strictly above t.
// Least standard deviation, the later of two equally quiet windows winning.
IndexRange FindQuietWindow(const double* x, int s, int E, double t, int W);
// Least absolute mean, the later of two equal windows winning.
IndexRange FindLowMeanWindow(const double* x, int s, int E, double t, int W);
// A period on which the quietest window of `a` and the lowest-mean window of `b` agree.
IndexRange FindStationaryPeriod(const double* a, const double* b, int s, int E, int W);
// Least standard deviation, the first of equal windows winning.
IndexRange FindMinStdDevWindow(const double* x, int s, int E, int W, double t);

// Gaussian elimination. A system without a solution (a zero pivot, the last one included)
// throws the program's exception with message 3457; the solution is then left untouched.
void SolveLinearSystem(std::vector<std::vector<double>> M, std::vector<double> r, std::vector<double>& x);
void SolveComplexLinearSystem(std::vector<std::vector<std::complex<double>>>& M,
                              std::vector<std::complex<double>>& r, std::vector<std::complex<double>>& x);
