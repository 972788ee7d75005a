// Distance to the fault by the three methods, and the section and tower of a result.
#include <algorithm>
#include <cmath>
#include <limits>

#include "faultloc/WrongPlaceLocator.h"

namespace {

double WrapAngle(double a) {
    if (!std::isfinite(a)) return a;
    a = std::remainder(a, 2 * M_PI);  // into [-pi, pi]
    return a <= -M_PI ? a + 2 * M_PI : a;
}

// Sum over the section's parallel lines that are coupled at all of Zm * I0p / Z0.
Complex MutualTerm(const SectionCalc& sec, int s) {
    Complex S = 0;
    for (const auto& p : sec.parallelLines) {
        if (p.Rm == 0 && p.Xm == 0) continue;
        S += CDiv(Complex(p.Rm, p.Xm) * p.i0[size_t(s)], sec.Z0());
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
double ZeroSeqStep(const SectionCalc& sec, int s, double rem, Complex& U, Complex& I) {
    const double l = std::min(rem, sec.length);
    U = U - sec.Z0() * l * (I + MutualTerm(sec, s));
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

void WrongPlaceLocator::CalcDistanceIsolated() {
    const size_t n = m_sections.size();
    for (int i = 0; i < m_sampleCount; ++i) {
        const size_t k = size_t(i);
        dist[k] = 0;
        double angle = 0;
        if (!m_phaseFault[k] && !m_symFault[k]) continue;
        double A = 0;
        Complex W = 0;
        for (size_t s = 0; s < n; ++s) {
            const SectionCalc& sec = m_sections[s];
            Complex Z = CDiv(m_loopVoltage[k], m_loopCurrent[k]) - W;
            angle = std::atan2(sec.X, sec.R) - std::arg(Z);
            double d = angle > 0 ? Z.imag() / sec.X : Z.real() / sec.R;
            dist[k] = d;
            // A fault past the last section is measured from that section's start, so its
            // length is not counted twice.
            if (sec.length >= d || s + 1 == n) break;
            W += sec.Z() * sec.length;
            A += sec.length;
        }
        if (dist[k] < 0) dist[k] = 0;
        dist[k] += A;
    }
}

void WrongPlaceLocator::CalcDistanceEarthed() {
    const size_t n = m_sections.size();
    const Complex rot = std::polar(1.0, m_tapAngle);
    for (int i = m_samplesPerPeriod; i < m_sampleCount; ++i) {
        const size_t k = size_t(i);
        Complex Uf = m_loopVoltage[k], If = m_loopCurrent[k], U0 = m_phasor[U0_1][k], I0 = m_phasor[I0_1][k],
                Ip = m_faultCurrent[k];
        const bool earth = m_earthFault[k] != 0;
        double A = 0;
        for (size_t s = 0; s < n; ++s) {
            const SectionCalc& sec = m_sections[s];
            Complex K = 0, M = 0;
            if (earth) {
                K = CDiv(sec.Z0(), sec.Z1()) - 1.0;
                for (const auto& p : sec.parallelLines) M += CDiv(Complex(p.Rm, p.Xm) * p.i0[k], sec.Z1());
            }
            Complex P = Ip * rot;
            Complex Itot = If + K * I0 + M;
            double d = CDiv(Uf, P).imag() / CDiv(sec.Z1() * Itot, P).imag();
            dist[k] = d;
            if (sec.length >= d || s + 1 == n) break;
            A += sec.length;
            Uf = Uf - sec.Z1() * sec.length * Itot;
            U0 = U0 - sec.Z0() * sec.length * (I0 + M);
            if (earth && !sec.taps.empty()) {
                // A tap draws zero-sequence current only: the loop current past it loses the
                // same current as the zero-sequence current.
                Complex t = CDiv(U0, sec.Zeq());
                I0 = I0 - t;
                If = If - t;
                Ip = I0;
            }
        }
        if (dist[k] < 0) dist[k] = 0;
        dist[k] += A;
    }
}

void WrongPlaceLocator::CalcTapAngle() {
    const int a = std::max(0, std::min(m_windowFirst, m_windowLast));
    const int b = std::min(std::max(m_windowFirst, m_windowLast), m_sampleCount - 1);
    if (a > b || !(m_distance > 0)) return;
    if (CalcMedianOfRange32(m_earthFault.data(), a, b) == 0) return;
    const double D = m_distance;
    std::vector<double> ang(size_t(b + 1)), q(size_t(b + 1)), r(size_t(b + 1));
    for (int s = a; s <= b; ++s) {
        Complex Q = ZeroSeqCurrentAtDistance(s, m_phasor[U0_1][size_t(s)], m_phasor[I0_1][size_t(s)], D);
        Complex R = ZeroSeqCurrentBeyondFault(s, m_phasor[U0_1][size_t(s)], m_phasor[I0_1][size_t(s)], D);
        double d = std::arg(R) - std::arg(Q);
        if (d < -M_PI) d += 2 * M_PI;
        else if (d > M_PI) d -= 2 * M_PI;
        ang[size_t(s)] = d;
        q[size_t(s)] = std::abs(Q);
        r[size_t(s)] = std::abs(R);
    }
    double mA = CalcMedian(ang.data(), a, b), mQ = CalcMedian(q.data(), a, b), mR = CalcMedian(r.data(), a, b);
    m_tapAngle = std::atan2(-mR * std::sin(mA), mQ - mR * std::cos(mA));
}

Complex WrongPlaceLocator::ZeroSeqCurrentAtDistance(int s, Complex U0, Complex I0, double x) const {
    Complex U = U0, I = I0;
    if (x <= 0) return I;
    double A = 0;
    for (size_t k = 0; k < m_sections.size() && A < x; ++k) A += ZeroSeqStep(m_sections[k], s, x - A, U, I);
    return I;
}

Complex WrongPlaceLocator::ZeroSeqCurrentBeyondFault(int s, Complex U0, Complex I0, double x) const {
    const int count = int(m_sections.size());
    // Nothing of the line lies beyond a fault at or past its end.
    if (!(x > 0) || !(x < LineLength()) || count == 0) return 0;
    Complex U = U0, I = I0;
    double A = 0, E = 0;
    int f = -1;
    for (int k = 0; k < count && A < x; ++k) {
        A += ZeroSeqStep(m_sections[size_t(k)], s, x - A, U, I);
        f = k;
    }
    if (f < 0) return 0;
    for (int k = 0; k <= f; ++k) E += m_sections[size_t(k)].length;
    // A fault exactly at the end of a section: the ladder starts with the next section whole.
    if (!(E - x > 0) && f + 1 < count) {
        ++f;
        E += m_sections[size_t(f)].length;
    }
    const Complex Uf = U;
    const int m = count - f;
    std::vector<Complex> Y(size_t(m + 2), 0.0), Ebr(size_t(m + 2), 0.0), Ysh(size_t(m + 1), 0.0);
    for (int k = 1; k <= m; ++k) {
        const SectionCalc& sec = m_sections[size_t(f + k - 1)];
        double len = k == 1 ? E - x : sec.length;
        Y[size_t(k)] = CDiv(1.0, sec.Z0() * len);
        Complex e = 0;
        for (const auto& p : sec.parallelLines) e += Complex(p.Rm, p.Xm) * p.i0[size_t(s)] * len;
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

void WrongPlaceLocator::CalcDistanceTwoEnded() {
    const double L = LineLength();
    for (int i = 0; i < m_sampleCount; ++i) {
        const size_t k = size_t(i);
        const bool phase = m_phaseFault[k] || m_symFault[k];
        const bool earth = m_earthFault[k] != 0;
        if (phase || earth) {
            double x = 0, step = 0.5 * L;
            if (step > 0.01) {
                for (;;) {
                    double f1 = VoltageMismatch(i, x, L), f2 = VoltageMismatch(i, x + 0.01, L);
                    double xn = f1 > f2 ? x + step : x - step;
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
        // Each difference is brought into (-pi, pi], so that two ends near +-180 degrees read
        // as the same direction and not as a full turn apart.
        if (phase) {
            phaseDiff[k] = WrapAngle(std::arg(CDiv(m_phasor[U2_1][k], m_phasor[I2_1][k])) -
                                     std::arg(CDiv(m_phasor[U2_2][k], m_phasor[I2_2][k])));
        } else if (earth) {
            phaseDiff[k] = WrapAngle(std::arg(CDiv(m_phasor[U0_1][k], m_phasor[I0_1][k])) -
                                     std::arg(CDiv(m_phasor[U0_2][k], m_phasor[I0_2][k])));
        }
    }
}

double WrongPlaceLocator::VoltageMismatch(int i, double x, double L) const {
    const size_t k = size_t(i);
    Complex a, b;
    if (m_phaseFault[k] || m_symFault[k]) {
        a = VoltageFromStart(i, m_phasor[U2_1][k], m_phasor[I2_1][k], 2, x);
        b = VoltageFromEnd(i, m_phasor[U2_2][k], m_phasor[I2_2][k], 2, L - x);
    } else if (m_earthFault[k]) {
        a = VoltageFromStart(i, m_phasor[U0_1][k], m_phasor[I0_1][k], 0, x);
        b = VoltageFromEnd(i, m_phasor[U0_2][k], m_phasor[I0_2][k], 0, L - x);
    } else {
        return 0;
    }
    return std::fabs(std::abs(a) - std::abs(b));
}

Complex WrongPlaceLocator::VoltageFromStart(int i, Complex U, Complex I, int mode, double x) const {
    if (x <= 0) return U;
    double A = 0;
    for (size_t k = 0; k < m_sections.size() && A < x; ++k) {
        const SectionCalc& sec = m_sections[k];
        double rem = x - A;
        double l = std::min(rem, sec.length);
        if (mode == 2) U = U - sec.Z1() * l * I;
        else ZeroSeqStep(sec, i, rem, U, I);
        A += l;
    }
    return U;
}

Complex WrongPlaceLocator::VoltageFromEnd(int i, Complex U, Complex I, int mode, double x) const {
    if (x <= 0) return U;
    double A = 0;
    for (size_t n = m_sections.size(); n > 0 && A < x; --n) {
        const SectionCalc& sec = m_sections[n - 1];
        double l = std::min(x - A, sec.length);
        if (mode == 2) {
            U = U + sec.Z1() * l * I;
        } else {
            Complex zeq;
            if (UsableTaps(sec, zeq)) I = I + CDiv(U, zeq);
            U = U + sec.Z0() * l * (I + MutualTerm(sec, i));
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
