// Distance to the fault by the three methods, and the section and tower of a result.
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "faultloc/WrongPlaceLocator.h"

namespace {

double WrapAngle(double a) {
    if (!std::isfinite(a)) return a;
    a = std::remainder(a, 2 * M_PI);  // into [-pi, pi]
    return a <= -M_PI ? a + 2 * M_PI : a;
}

// Sum over the section's parallel lines that are coupled at all of Zm * I0p / Z0, at the sample
// being worked on.
Complex MutualTerm(const SectionCalc& sec) {
    Complex S = 0;
    for (const auto& p : sec.parallelLines) {
        if (p.Rm == 0 && p.Xm == 0) continue;
        S += CDiv(Complex(p.Rm, p.Xm) * p.i0, sec.Z0());
    }
    return S;
}

bool UsableTaps(const SectionCalc& sec, Complex& zeq) {
    if (sec.taps.empty()) return false;
    zeq = sec.Zeq();
    return !(zeq.real() == 0.0 && zeq.imag() == 0.0);
}

// One section of the zero-sequence walk from station 1 towards a point `rem` ahead: the voltage
// drops along the walked part, and a tap passed on the way draws its current. Returns the
// length walked.
double ZeroSeqStep(const SectionCalc& sec, double rem, Complex& U, Complex& I) {
    const double l = std::min(rem, sec.length);
    U = U - sec.Z0() * l * (I + MutualTerm(sec));
    Complex zeq;
    if (UsableTaps(sec, zeq) && rem > sec.length) I = I - CDiv(U, zeq);
    return l;
}

}  // namespace

double WrongPlaceLocator::LineLength() const {
    double L = 0;
    for (const auto& s : m_sections) L += s.length;
    return L;
}

double WrongPlaceLocator::DistanceIsolated(int s, const Loop& loop) const {
    const size_t k = size_t(s);
    if (!m_phaseFault[k] && !m_symFault[k]) return 0;
    const size_t n = m_sections.size();
    double d = 0, A = 0;
    Complex W = 0;
    for (size_t i = 0; i < n; ++i) {
        const SectionCalc& sec = m_sections[i];
        Complex Z = CDiv(loop.voltage, loop.current) - W;
        const double angle = std::atan2(sec.X, sec.R) - std::arg(Z);
        d = angle > 0 ? Z.imag() / sec.X : Z.real() / sec.R;
        // A fault past the last section is measured from that section's start, so its length is
        // not counted twice.
        if (sec.length >= d || i + 1 == n) break;
        W += sec.Z() * sec.length;
        A += sec.length;
    }
    if (d < 0) d = 0;
    return d + A;
}

double WrongPlaceLocator::DistanceEarthed(int s, const Sample& x, const Loop& loop, Complex rot) const {
    const size_t k = size_t(s);
    const std::vector<SectionCalc>& line = *x.line;
    const size_t n = line.size();
    Complex Uf = loop.voltage, If = loop.current, U0 = x.P[U0_1], I0 = x.P[I0_1], Ip = loop.faultCurrent;
    const bool earth = m_earthFault[k] != 0;
    double d = 0, A = 0;
    for (size_t i = 0; i < n; ++i) {
        const SectionCalc& sec = line[i];
        Complex K = 0, M = 0;
        if (earth) {
            K = CDiv(sec.Z0(), sec.Z1()) - 1.0;
            for (const auto& p : sec.parallelLines) M += CDiv(Complex(p.Rm, p.Xm) * p.i0, sec.Z1());
        }
        Complex P = Ip * rot;
        Complex Itot = If + K * I0 + M;
        d = CDiv(Uf, P).imag() / CDiv(sec.Z1() * Itot, P).imag();
        if (sec.length >= d || i + 1 == n) break;
        A += sec.length;
        Uf = Uf - sec.Z1() * sec.length * Itot;
        U0 = U0 - sec.Z0() * sec.length * (I0 + M);
        if (earth && !sec.taps.empty()) {
            // A tap draws zero-sequence current only: the loop current past it loses the same
            // current as the zero-sequence current.
            Complex t = CDiv(U0, sec.Zeq());
            I0 = I0 - t;
            If = If - t;
            Ip = I0;
        }
    }
    if (d < 0) d = 0;
    return d + A;
}

Complex WrongPlaceLocator::ZeroSeqCurrentAtDistance(const std::vector<SectionCalc>& line, Complex U0, Complex I0,
                                                    double x) const {
    Complex U = U0, I = I0;
    if (x <= 0) return I;
    double A = 0;
    for (size_t k = 0; k < line.size() && A < x; ++k) A += ZeroSeqStep(line[k], x - A, U, I);
    return I;
}

Complex WrongPlaceLocator::ZeroSeqCurrentBeyondFault(const std::vector<SectionCalc>& line, Complex U0, Complex I0,
                                                     double x) const {
    const int count = int(line.size());
    // Nothing of the line lies beyond a fault at or past its end.
    if (!(x > 0) || !(x < LineLength()) || count == 0) return 0;
    Complex U = U0, I = I0;
    double A = 0, E = 0;
    int f = -1;
    for (int k = 0; k < count && A < x; ++k) {
        A += ZeroSeqStep(line[size_t(k)], x - A, U, I);
        f = k;
    }
    if (f < 0) return 0;
    for (int k = 0; k <= f; ++k) E += line[size_t(k)].length;
    // A fault exactly at the end of a section: the ladder starts with the next section whole.
    if (!(E - x > 0) && f + 1 < count) {
        ++f;
        E += line[size_t(f)].length;
    }
    const Complex Uf = U;
    const int m = count - f;
    std::vector<Complex> Y(size_t(m + 2), 0.0), Ebr(size_t(m + 2), 0.0), Ysh(size_t(m + 1), 0.0);
    for (int k = 1; k <= m; ++k) {
        const SectionCalc& sec = line[size_t(f + k - 1)];
        double len = k == 1 ? E - x : sec.length;
        Y[size_t(k)] = CDiv(1.0, sec.Z0() * len);
        Complex e = 0;
        for (const auto& p : sec.parallelLines) e += Complex(p.Rm, p.Xm) * p.i0 * len;
        Ebr[size_t(k)] = e;
        Complex zeq;
        Complex shunt = UsableTaps(sec, zeq) ? zeq : Complex(std::numeric_limits<double>::max(), 0.0);
        Ysh[size_t(k)] = CDiv(1.0, shunt);
    }
    std::vector<std::vector<Complex>> M(size_t(m), std::vector<Complex>(size_t(m), 0.0));
    std::vector<Complex> rhs(size_t(m), 0.0), V(size_t(m), 0.0);
    for (int k = 1; k <= m; ++k) {
        const size_t r = size_t(k - 1);
        M[r][r] = Y[size_t(k)] + Y[size_t(k + 1)] + Ysh[size_t(k)];
        if (k < m) {
            M[r][r + 1] = -Y[size_t(k + 1)];
            M[r + 1][r] = -Y[size_t(k + 1)];
        }
        rhs[r] = Ebr[size_t(k)] * Y[size_t(k)] - Ebr[size_t(k + 1)] * Y[size_t(k + 1)];
    }
    rhs[0] += Uf * Y[1];
    SolveComplexLinearSystem(M, rhs, V);
    return (Uf + Ebr[1] - V[0]) * Y[1];
}

namespace {

// |z| the cheap way, and whether it is known to lie within a few units in the last place of the
// exact magnitude: the squares are then far from under- and overflow.
inline bool CheapMagnitude(Complex z, double& m) {
    const double sq = z.real() * z.real() + z.imag() * z.imag();
    m = std::sqrt(sq);
    return sq > 1e-280 && sq < 1e280;
}

}  // namespace

// The cheap magnitudes are within 2.1 units in the last place of the true ones and std::abs
// within one, so each difference is known to about 1e-15 of the magnitudes: a comparison that
// this margin decides needs no exact magnitude, and a closer one is made with them.
bool MismatchGreater(const std::pair<Complex, Complex>& p, const std::pair<Complex, Complex>& q) {
    double a1, b1, a2, b2;
    if (CheapMagnitude(p.first, a1) & CheapMagnitude(p.second, b1) & CheapMagnitude(q.first, a2) &
        CheapMagnitude(q.second, b2)) {
        const double f1 = std::fabs(a1 - b1), f2 = std::fabs(a2 - b2);
        const double margin = 4e-15 * (a1 + b1 + a2 + b2);
        if (f1 - f2 > margin) return true;
        if (f2 - f1 > margin) return false;
    }
    return std::fabs(std::abs(p.first) - std::abs(p.second)) > std::fabs(std::abs(q.first) - std::abs(q.second));
}

namespace {

// The voltages of the two-ended method at points of the line, reckoned from each end, at one
// sample: what every point shares (each section's impedance, its taps' impedance, its parallel
// lines' term at the sample) is worked out once. The walks make the steps of VoltageFromStart
// and VoltageFromEnd in their order, so each voltage has the same bits. Lines of more sections
// than it holds take the general walks.
class EndWalk {
public:
    static constexpr size_t kSections = 16;

    EndWalk(const std::vector<SectionCalc>& line, bool phase, Complex U1, Complex I1, Complex U2, Complex I2)
        : m_count(line.size()), m_phase(phase), m_U1(U1), m_I1(I1), m_U2(U2), m_I2(I2) {
        if (!Usable()) return;
        for (size_t k = 0; k < m_count; ++k) {
            Section& w = m_sections[k];
            const SectionCalc& sec = line[k];
            w.length = sec.length;
            if (phase) {
                w.Z = sec.Z1();
            } else {
                w.Z = sec.Z0();
                w.mutual = MutualTerm(sec);
                w.tapped = UsableTaps(sec, w.zeq);
            }
        }
    }
    bool Usable() const { return m_count <= kSections; }

    std::pair<Complex, Complex> At(double x, double L) const { return {FromStart(x), FromEnd(L - x)}; }

private:
    struct Section {
        double length = 0;
        Complex Z, mutual, zeq;
        bool tapped = false;
    };

    Complex FromStart(double x) const {
        Complex U = m_U1, I = m_I1;
        if (x <= 0) return U;
        double A = 0;
        for (size_t k = 0; k < m_count && A < x; ++k) {
            const Section& sec = m_sections[k];
            const double rem = x - A;
            const double l = std::min(rem, sec.length);
            if (m_phase) {
                U = U - sec.Z * l * I;
            } else {
                U = U - sec.Z * l * (I + sec.mutual);
                if (sec.tapped && rem > sec.length) I = I - CDiv(U, sec.zeq);
            }
            A += l;
        }
        return U;
    }
    Complex FromEnd(double x) const {
        Complex U = m_U2, I = m_I2;
        if (x <= 0) return U;
        double A = 0;
        for (size_t n = m_count; n > 0 && A < x; --n) {
            const Section& sec = m_sections[n - 1];
            const double l = std::min(x - A, sec.length);
            if (m_phase) {
                U = U + sec.Z * l * I;
            } else {
                if (sec.tapped) I = I + CDiv(U, sec.zeq);
                U = U + sec.Z * l * (I + sec.mutual);
            }
            A += l;
        }
        return U;
    }

    size_t m_count;
    bool m_phase;
    Complex m_U1, m_I1, m_U2, m_I2;
    Section m_sections[kSections];
};

}  // namespace

void WrongPlaceLocator::DistanceTwoEnded(int s, const Sample& p) {
    const size_t k = size_t(s);
    const double L = LineLength();
    const bool phase = m_phaseFault[k] || m_symFault[k];
    const bool earth = m_earthFault[k] != 0;
    const auto& P = p.P;
    if (phase || earth) {
        // The point where the voltages reckoned from both ends have the same magnitude: halving
        // steps towards the side where their mismatch falls.
        const EndWalk walk(*p.line, phase, phase ? P[U2_1] : P[U0_1], phase ? P[I2_1] : P[I0_1],
                           phase ? P[U2_2] : P[U0_2], phase ? P[I2_2] : P[I0_2]);
        auto voltages = [&](double at) { return walk.Usable() ? walk.At(at, L) : EndVoltagesAt(p, phase, at, L); };
        double x = 0, step = 0.5 * L;
        if (step > 0.01) {
            for (;;) {
                const bool falls = MismatchGreater(voltages(x), voltages(x + 0.01));
                double xn = falls ? x + step : x - step;
                step = 0.5 * std::fabs(xn - x);
                x = xn;
                if (x < 0) {
                    x = 0;
                    break;
                }
                if (step <= 0.01) break;
            }
        }
        dist[k] = x;
    }
    // Each difference is brought into (-pi, pi], so that two ends near +-180 degrees read as the
    // same direction and not as a full turn apart.
    if (phase) {
        phaseDiff[k] = WrapAngle(std::arg(CDiv(P[U2_1], P[I2_1])) - std::arg(CDiv(P[U2_2], P[I2_2])));
    } else if (earth) {
        phaseDiff[k] = WrapAngle(std::arg(CDiv(P[U0_1], P[I0_1])) - std::arg(CDiv(P[U0_2], P[I0_2])));
    }
}

std::pair<Complex, Complex> WrongPlaceLocator::EndVoltagesAt(const Sample& p, bool phase, double x, double L) const {
    const auto& P = p.P;
    const std::vector<SectionCalc>& line = *p.line;
    if (phase)
        return {VoltageFromStart(line, P[U2_1], P[I2_1], 2, x), VoltageFromEnd(line, P[U2_2], P[I2_2], 2, L - x)};
    return {VoltageFromStart(line, P[U0_1], P[I0_1], 0, x), VoltageFromEnd(line, P[U0_2], P[I0_2], 0, L - x)};
}

Complex WrongPlaceLocator::VoltageFromStart(const std::vector<SectionCalc>& line, Complex U, Complex I, int mode,
                                            double x) const {
    if (x <= 0) return U;
    double A = 0;
    for (size_t k = 0; k < line.size() && A < x; ++k) {
        const SectionCalc& sec = line[k];
        double rem = x - A;
        double l = std::min(rem, sec.length);
        if (mode == 2) U = U - sec.Z1() * l * I;
        else ZeroSeqStep(sec, rem, U, I);
        A += l;
    }
    return U;
}

Complex WrongPlaceLocator::VoltageFromEnd(const std::vector<SectionCalc>& line, Complex U, Complex I, int mode,
                                          double x) const {
    if (x <= 0) return U;
    double A = 0;
    for (size_t n = line.size(); n > 0 && A < x; --n) {
        const SectionCalc& sec = line[n - 1];
        double l = std::min(x - A, sec.length);
        if (mode == 2) {
            U = U + sec.Z1() * l * I;
        } else {
            Complex zeq;
            if (UsableTaps(sec, zeq)) I = I + CDiv(U, zeq);
            U = U + sec.Z0() * l * (I + MutualTerm(sec));
        }
        A += l;
    }
    return U;
}

void WrongPlaceLocator::LocateTower() {
    double rest = m_distance;
    const int n = int(m_sections.size());
    m_faultSection = 0;
    m_distanceInSection = rest;
    m_tower = 1;
    if (n == 0) return;
    if (!std::isfinite(rest)) {
        m_faultSection = n;
        return;
    }
    int index = 0;
    while (index < n && rest > m_sections[size_t(index)].length) {
        rest -= m_sections[size_t(index)].length;
        ++index;
    }
    m_faultSection = index;
    m_distanceInSection = rest;
    if (index < n) {
        const SectionCalc& sec = m_sections[size_t(index)];
        // Within [1, towers]: a fault exactly at a section's end is at its last tower, and a
        // section without length has no tower to pick.
        if (sec.length > 0 && sec.towers > 0) {
            double t = std::trunc(sec.towers * rest / sec.length) + 1;
            m_tower = int(std::clamp(t, 1.0, double(sec.towers)));
        }
    }
}
