#include "model/TimeTable.h"

#include <algorithm>
#include <cstring>

#include "model/Numeric.h"

int64_t TimeTable::operator[](size_t i) const {
    if (m_uniform) return RoundToInt64(double(i) * m_step);
    return m_table[i];
}

void TimeTable::SetUniform(size_t n, double step) {
    m_table.clear();
    m_uniform = n;
    m_step = step;
}

std::vector<int64_t>& TimeTable::Mutable() {
    if (m_uniform) {
        std::vector<int64_t> t(m_uniform);
        for (size_t i = 0; i < t.size(); ++i) t[i] = RoundToInt64(double(i) * m_step);
        m_uniform = 0;
        m_table = std::move(t);
    }
    return m_table.Mutable();
}

bool operator==(const TimeTable& a, const TimeTable& b) {
    if (a.size() != b.size()) return false;
    if (a.m_uniform && b.m_uniform && a.m_step == b.m_step) return true;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

bool operator==(const TimeTable& a, const std::vector<int64_t>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < b.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

RunTable& RunTable::operator=(const std::vector<double>& v) {
    m_runs.clear();
    for (size_t i = 0; i < v.size(); ++i) Append(i + 1, v[i]);
    return *this;
}

double RunTable::operator[](size_t i) const {
    auto it = std::upper_bound(m_runs.begin(), m_runs.end(), i, [](size_t k, const Run& r) { return k < r.end; });
    return it == m_runs.end() ? 0.0 : it->value;
}

void RunTable::Append(size_t end, double v) {
    if (end <= size()) return;
    // Equal neighbours make one run; a NaN or -0.0 keeps its own bits.
    if (!m_runs.empty() && SameBits(m_runs.back().value, v)) m_runs.back().end = end;
    else m_runs.push_back({end, v});
}

void RunTable::AppendTail(const RunTable& from) {
    for (const Run& r : from.m_runs) Append(r.end, r.value);
}

void RunTable::Resize(size_t n) {
    if (n <= size()) {
        while (!m_runs.empty() && (m_runs.size() >= 2 ? m_runs[m_runs.size() - 2].end : 0) >= n) m_runs.pop_back();
        if (!m_runs.empty()) m_runs.back().end = n;
        return;
    }
    Append(n, 0.0);
}
