#include "analysis/FormulaFunctions.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "analysis/FormulaChannel.h"
#include "model/Numeric.h"

namespace formula {

namespace {

using C = std::complex<double>;

constexpr double kPi = std::numbers::pi;
constexpr double kSqrt3 = std::numbers::sqrt3;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The rotation operator a = e^(j120°) and its square.
constexpr C kA{-0.5, kSqrt3 / 2};
constexpr C kA2{-0.5, -kSqrt3 / 2};
constexpr C kJSqrt3{0.0, kSqrt3};

constexpr unsigned Ch(std::initializer_list<int> args) {
    unsigned bits = 0;
    for (int a : args) bits |= 1u << a;
    return bits;
}

double AngleDeg(C c) { return std::atan2(c.imag(), c.real()) * 180.0 / kPi; }

uint8_t KindAnd(uint8_t a, uint8_t b) { return uint8_t(a & b & ~FV_CHANNEL); }

FormulaValue RealResult(const FormulaValue* args, int count, double r) {
    FormulaValue v;
    v.kind = FV_REAL;
    if (count > 0) v.complex = args[0].complex;
    v.real = r;
    return v;
}

FormulaValue MagnitudeResult(C c) {
    FormulaValue v;
    v.kind = FV_REAL | FV_COMPLEX;
    v.complex = c;
    v.real = std::abs(c);
    return v;
}

FormulaValue Both(C c, double r, uint8_t kind) {
    FormulaValue v;
    v.kind = kind;
    v.complex = c;
    v.real = r;
    return v;
}

// Dividing a value by a scalar; a zero scalar stands for a very small one.
void DivideBy(FormulaValue& v, double m) {
    if (m == 0.0) m = 1e-6;
    v.complex /= m;
    v.real /= m;
}

void MultiplyBy(FormulaValue& v, double k) {
    v.complex *= k;
    v.real *= k;
}

// The scale of an argument: its channel's display multiplier, unless the channel's file values
// are primary while it is shown in secondary values (then its values are already secondary).
bool ScaleOf(const FormulaValue& x, double& m) {
    if (!(x.kind & FV_CHANNEL) || !x.channel || ChannelPrimaryFileShownSecondary(*x.channel)) return false;
    m = ChannelDisplayMultiplier(*x.channel);
    return true;
}

double ScaleOrOne(const FormulaValue& x) {
    double m = 1.0;
    return ScaleOf(x, m) ? m : 1.0;
}

double Multiplier(const FormulaValue& x) { return x.channel ? ChannelDisplayMultiplier(*x.channel) : 1.0; }

// (√3/2 ± j/2)^n for a whole n: these are turns by ±30°, so twelve of them are a full turn and
// any n reduces to 0..11 exactly; a negative n (the reciprocal power) is the complementary turn.
C Turn30(C base, int n) {
    int k = n % 12;
    if (k < 0) k += 12;
    C result{1.0, 0.0};
    for (int i = 0; i < k; ++i) result *= base;
    return result;
}

FormulaValue Impedance(const FormulaValue& u, bool below, C d, double dReal, uint8_t kind) {
    FormulaValue v;
    v.kind = kind;
    if (below) {
        d = 0.0;
        dReal = 0.0;
    }
    v.complex = Divide(u.complex, d);
    v.real = u.real / dReal;
    return v;
}

FormulaValue Sequence(int id, const FormulaValue* a) {
    C x = a[0].complex, y = a[1].complex, z = a[2].complex;
    switch (id) {
        case FT_3I0:
        case FT_3U0:
            return MagnitudeResult(x + y + z);
        case FT_I1:
        case FT_U1F:
            return MagnitudeResult((2.0 * x - y - z + kJSqrt3 * (y - z)) / 6.0);
        default:  // negative sequence
            return MagnitudeResult((2.0 * x - y - z - kJSqrt3 * (y - z)) / 6.0);
    }
}

FormulaValue PhaseFromLine(int id, const FormulaValue* a) {
    const FormulaValue &ab = a[0], &bc = a[1], &n = a[2];
    double d = a[3].real;
    if (d == 0.0) d = 1e-6;
    double f = a[4].real / d;
    uint8_t kind = KindAnd(KindAnd(ab.kind, bc.kind), n.kind);
    switch (id) {
        case FT_UA:
            return Both((2.0 * ab.complex + bc.complex + f * n.complex) / 3.0,
                        (2.0 * ab.real + bc.real + f * n.real) / 3.0, kind);
        case FT_UB:
            return Both((bc.complex - ab.complex + f * n.complex) / 3.0, (bc.real - ab.real + f * n.real) / 3.0,
                        kind);
        default:
            return Both((-ab.complex - 2.0 * bc.complex + f * n.complex) / 3.0,
                        (-ab.real - 2.0 * bc.real + f * n.real) / 3.0, kind);
    }
}

FormulaValue Compensated(int id, const FormulaValue* a) {
    double m = ScaleOrOne(a[0]);
    C A = a[0].complex, B = a[1].complex, Cc = a[2].complex;
    C i1 = (A + kA * B + kA2 * Cc) / 3.0;
    C i2 = (A + kA2 * B + kA * Cc) / 3.0;
    C i0 = (A + B + Cc) / 3.0;
    int n = RoundToInt(a[3].real);
    double z = RoundToInt(a[4].real);
    C p = Turn30(C{kSqrt3 / 2, 0.5}, n);
    C q = Turn30(C{kSqrt3 / 2, -0.5}, n);
    C phase;
    if (id == FT_GRSPOSLIA) phase = p * i1 + q * i2 + z * i0;
    else if (id == FT_GRSPOSLIB) phase = kA2 * p * i1 + kA * q * i2 + z * i0;
    else phase = kA * p * i1 + kA2 * q * i2 + z * i0;
    FormulaValue v = Both(phase, z * (a[0].real + a[1].real + a[2].real) / 3.0, FV_REAL | FV_COMPLEX);
    DivideBy(v, m);
    return v;
}

FormulaValue Triangle(int id, const FormulaValue* a) {
    double m = ScaleOrOne(a[0]);
    int phase = id - FT_GRSTRIANGLEIA;
    int g = RoundToInt(a[3].real);
    auto diff = [&](int from, int minus) {
        FormulaValue v = Both(a[from].complex - a[minus].complex, a[from].real - a[minus].real, 0);
        DivideBy(v, kSqrt3);
        return v;
    };
    FormulaValue v;
    if (g == 0) v = a[phase];
    else if (g == 1) v = diff(phase, (phase + 1) % 3);
    else if (g == 11) v = diff(phase, (phase + 2) % 3);
    else v = a[0];
    DivideBy(v, m);
    v.kind = FV_REAL | FV_COMPLEX;
    return v;
}

}  // namespace

C Divide(C a, C b) {
    double br = b.real(), bi = b.imag();
    if ((br == 0.0 && bi == 0.0) || !std::isfinite(br) || !std::isfinite(bi) || !std::isfinite(a.real()) ||
        !std::isfinite(a.imag()))
        return {kNaN, kNaN};
    double ar = a.real(), ai = a.imag();
    if (std::fabs(br) >= std::fabs(bi)) {
        double r = bi / br, d = br + bi * r;
        return {(ar + ai * r) / d, (ai - ar * r) / d};
    }
    double r = br / bi, d = bi + br * r;
    return {(ar * r + ai) / d, (ai * r - ar) / d};
}

FunctionSignature SignatureOf(int id) {
    switch (id) {
        case FT_SIN: case FT_COS: case FT_TAN: case FT_COTAN: case FT_SQRT: case FT_EXP:
        case FT_RE: case FT_IM: case FT_MOD: case FT_ARG: case FT_PK:
            return {1, 0};
        case FT_COSUI: case FT_ABSIG: case FT_ULF: case FT_ULL: case FT_U1L: case FT_U2L: case FT_PF:
            return {2, 0};
        case FT_RMS: case FT_A0: case FT_FAULT: case FT_CHAN:
            return {1, Ch({0})};
        case FT_FOURIE:
            return {2, Ch({0})};
        case FT_FREQUENCY:
            return {-1, 0};
        case FT_IB: case FT_3I0: case FT_I1: case FT_I2: case FT_3U0: case FT_U1F: case FT_U2F:
            return {3, 0};
        case FT_UA: case FT_UB: case FT_UC:
            return {5, Ch({0, 1, 2})};
        case FT_UNCN:
            return {5, 0};
        case FT_PF3WM:
            return {6, 0};
        case FT_PF2WM:
            return {4, 0};
        case FT_ZF:
            return {11, Ch({0, 1})};
        case FT_ZK:
            return {9, Ch({0, 1})};
        case FT_ZL:
            return {4, Ch({0, 1, 2})};
        case FT_COEFFPRIV:
            return {2, Ch({0})};
        case FT_COEFFTRANSPRIV: case FT_COEFFAMPPRIV:
            return {3, Ch({0})};
        case FT_COEFFPOWERPRIV:
            return {4, Ch({0})};
        case FT_GRSPOSLIA: case FT_GRSPOSLIB: case FT_GRSPOSLIC:
            return {5, Ch({0, 1, 2})};
        case FT_GRSTRIANGLEIA: case FT_GRSTRIANGLEIB: case FT_GRSTRIANGLEIC:
            return {4, Ch({0, 1, 2})};
        case FT_GRSSUMCUR: case FT_TORMMAXCUR:
            return {24, Ch({0})};
        case FT_TORMSUMCUR:
            return {25, Ch({1})};
        case FT_TORMSUBCUR:
            return {3, Ch({0, 1})};
        case FT_UNIIK:
            return {2, Ch({0, 1})};
        default:
            return {-1, 0};
    }
}

FormulaValue ApplyFunction(int id, const FormulaValue* a, int count, Calculator& calc) {
    const unsigned s = calc.GetSampleIndex();
    const double deg = kPi / 180.0;
    switch (id) {
        case FT_SIN: return RealResult(a, count, std::sin(a[0].real * deg));
        case FT_COS: return RealResult(a, count, std::cos(a[0].real * deg));
        case FT_TAN: return RealResult(a, count, std::tan(a[0].real * deg));
        case FT_COTAN: return RealResult(a, count, 1.0 / std::tan(a[0].real * deg));
        case FT_SQRT: return RealResult(a, count, std::sqrt(a[0].real));
        case FT_EXP: return RealResult(a, count, std::exp(a[0].real));
        case FT_RE: return RealResult(a, count, a[0].complex.real());
        case FT_IM: return RealResult(a, count, a[0].complex.imag());
        case FT_MOD: return MagnitudeResult(a[0].complex);
        case FT_ARG: {
            if (s < calc.GetSamplesPerPeriod()) return RealResult(a, count, 0.0);
            double d = AngleDeg(a[0].complex);
            if (d >= 180.0) d -= 360.0;
            return RealResult(a, count, d);
        }
        case FT_COSUI:
            return RealResult(a, count, std::cos(std::arg(a[1].complex) - std::arg(a[0].complex)));
        case FT_ABSIG: {
            double d = AngleDeg(a[1].complex) - AngleDeg(a[0].complex);
            if (d > 180.0) d -= 360.0;
            else if (d < -180.0) d += 360.0;
            return RealResult(a, count, d);
        }
        case FT_RMS: return RealResult(a, count, ChannelRms(*a[0].channel, s));
        case FT_FOURIE: {
            // A harmonic number that is no whole number of reasonable size has no harmonic.
            double n = std::trunc(a[1].real);
            if (!(std::fabs(n) <= 1e9)) return RealResult(a, count, kNaN);
            return RealResult(a, count, ChannelHarmonicRms(*a[0].channel, int(n), s));
        }
        case FT_A0: return RealResult(a, count, ChannelMean(*a[0].channel, s));
        case FT_FAULT: return RealResult(a, count, ChannelDeltaRms(*a[0].channel, s));
        case FT_FREQUENCY: return RealResult(a, count, calc.GetSampleValue(s));
        case FT_IB:
            return Both(a[2].complex - (a[0].complex + a[1].complex), a[2].real - (a[0].real + a[1].real),
                        KindAnd(KindAnd(a[0].kind, a[1].kind), a[2].kind));
        case FT_3I0: case FT_3U0: case FT_I1: case FT_U1F: case FT_I2: case FT_U2F:
            return Sequence(id, a);
        case FT_U1L:
            return MagnitudeResult((2.0 * a[0].complex + a[1].complex + kJSqrt3 * a[1].complex) / 6.0);
        case FT_U2L:
            return MagnitudeResult((2.0 * a[0].complex + a[1].complex - kJSqrt3 * a[1].complex) / 6.0);
        case FT_ULF:
            return Both(a[0].complex - a[1].complex, a[0].real - a[1].real, KindAnd(a[0].kind, a[1].kind));
        case FT_ULL:
            return Both(-(a[0].complex + a[1].complex), -(a[0].real + a[1].real), KindAnd(a[0].kind, a[1].kind));
        case FT_UNCN:
            return MagnitudeResult(a[1].complex + a[2].complex - a[0].complex + (a[3].complex - a[4].complex) / kSqrt3);
        case FT_UA: case FT_UB: case FT_UC:
            return PhaseFromLine(id, a);
        case FT_PK: {
            double mag = std::abs(a[0].complex);
            return Both(a[0].complex, mag <= 0.001 ? 1.0 : a[0].complex.real() / mag, FV_REAL);
        }
        case FT_PF:
            return Both(std::conj(a[0].complex * std::conj(a[1].complex)), 0.0, FV_COMPLEX);
        case FT_PF3WM:
        case FT_PF2WM: {
            C sum = a[0].complex * std::conj(a[1].complex);
            uint8_t kind = uint8_t(a[0].kind & FV_COMPLEX);
            for (int k = 2; k < count; k += 2) {
                C product = a[k].complex * std::conj(a[k + 1].complex);
                sum += id == FT_PF3WM ? product : -product;
                kind &= a[k].kind;
            }
            return Both(sum, 0.0, kind);
        }
        case FT_ZF:
        case FT_ZK: {
            const FormulaValue &u = a[0], &i = a[1], &n = a[2], &p = a[3];
            double t = std::abs(i.complex) / Multiplier(i);
            C k0, km;
            if (id == FT_ZF) {
                C z1{a[5].real, a[8].real};
                k0 = (Divide(C{a[4].real, a[7].real}, z1) - 1.0) / 3.0;
                km = Divide(C{a[6].real, a[9].real}, z1) / 3.0;
            } else {
                k0 = a[4].real * C{std::cos(a[6].real * deg), std::sin(a[6].real * deg)};
                km = a[5].real * C{std::cos(a[7].real * deg), std::sin(a[7].real * deg)};
            }
            double threshold = a[count - 1].real;
            return Impedance(u, t < threshold, i.complex + k0 * n.complex + km * p.complex, i.real, FV_COMPLEX);
        }
        case FT_ZL: {
            const FormulaValue &u = a[0], &i1 = a[1], &i2 = a[2];
            double t = std::abs(i1.complex / Multiplier(i1) - i2.complex / Multiplier(i2));
            return Impedance(u, t < a[3].real, i1.complex - i2.complex, i1.real - i2.real, FV_REAL | FV_COMPLEX);
        }
        case FT_COEFFPRIV:
        case FT_COEFFTRANSPRIV: {
            FormulaValue v = a[0];
            MultiplyBy(v, id == FT_COEFFPRIV ? a[1].real : a[1].real / a[2].real);
            double m = 1.0;
            if (ScaleOf(a[0], m)) DivideBy(v, m);
            v.kind = FV_REAL | FV_COMPLEX;
            return v;
        }
        case FT_COEFFPOWERPRIV: {
            FormulaValue v = a[0];
            MultiplyBy(v, a[1].real);
            DivideBy(v, (a[2].real / kSqrt3) / a[3].real);
            DivideBy(v, ScaleOrOne(a[0]));
            v.kind = FV_REAL | FV_COMPLEX;
            return v;
        }
        case FT_COEFFAMPPRIV: {
            FormulaValue v = a[0];
            MultiplyBy(v, a[1].real);
            DivideBy(v, a[2].real);
            DivideBy(v, ScaleOrOne(a[0]));
            v.kind = FV_REAL | FV_COMPLEX;
            return v;
        }
        case FT_GRSPOSLIA: case FT_GRSPOSLIB: case FT_GRSPOSLIC:
            return Compensated(id, a);
        case FT_GRSTRIANGLEIA: case FT_GRSTRIANGLEIB: case FT_GRSTRIANGLEIC:
            return Triangle(id, a);
        case FT_GRSSUMCUR: {
            FormulaValue v = a[0];
            for (int k = 1; k < count; ++k) {
                v.complex += a[k].complex;
                v.real += a[k].real;
            }
            DivideBy(v, ScaleOrOne(a[0]));
            v.kind = FV_REAL | FV_COMPLEX;
            return v;
        }
        case FT_TORMSUMCUR: {
            double sum = 0.0;
            for (int k = 1; k < count; ++k) sum += std::abs(a[k].complex);
            FormulaValue v = Both(a[0].complex, a[0].real * sum, FV_REAL | FV_COMPLEX);
            double m = ScaleOrOne(a[0]);
            v.real /= m == 0.0 ? 1e-6 : m;
            return v;
        }
        case FT_TORMSUBCUR: {
            FormulaValue v = Both(a[0].complex, std::abs(a[0].complex - a[1].complex) * a[2].real, FV_REAL | FV_COMPLEX);
            double m = ScaleOrOne(a[0]);
            v.real /= m == 0.0 ? 1e-6 : m;
            return v;
        }
        case FT_TORMMAXCUR: {
            double best = std::abs(a[0].complex);
            for (int k = 1; k < count; ++k) best = std::fmax(best, std::abs(a[k].complex));
            FormulaValue v = Both(a[0].complex, best, FV_REAL | FV_COMPLEX);
            double m = ScaleOrOne(a[0]);
            v.real /= m == 0.0 ? 1e-6 : m;
            return v;
        }
        case FT_CHAN:
            return Both(a[0].complex, a[0].real, FV_REAL | FV_COMPLEX);
        case FT_UNIIK:
            return Both(a[0].complex + a[1].complex, a[0].real + a[1].real, FV_REAL | FV_COMPLEX);
        default:
            return RealResult(a, count, 0.0);
    }
}

}  // namespace formula
