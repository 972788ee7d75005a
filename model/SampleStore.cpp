#include "model/SampleStore.h"

#include <atomic>
#include <bit>
#include <climits>
#include <cstring>

namespace {

bool IsZeroOrOne(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    // Compared as bit patterns: -0.0 is kept as a double, so that it reads back as -0.0.
    return bits == 0 || bits == 0x3FF0000000000000ull;
}

// Versions are drawn from one counter, so that no two writes anywhere give the same one.
std::atomic<uint64_t> g_versions{0};

}  // namespace

void SampleStore::Touch() { m_version = g_versions.fetch_add(1, std::memory_order_relaxed) + 1; }

std::vector<double> SampleStore::ToVector() const {
    std::vector<double> v(size());
    Read(0, v.size(), v.data());
    return v;
}

void SampleStore::Read(size_t begin, size_t end, double* out) const {
    switch (m_encoding) {
        case Encoding::Double:
            if (end > begin) std::memcpy(out, m_buf->doubles.data() + begin, (end - begin) * sizeof(double));
            return;
        case Encoding::Code16:
            for (size_t i = begin; i < end; ++i) *out++ = Decode16(m_buf->codes16[i]);
            return;
        case Encoding::Code32:
            for (size_t i = begin; i < end; ++i) *out++ = Decode32(m_buf->codes32[i]);
            return;
        case Encoding::Bits:
            for (size_t i = begin; i < end; ++i) *out++ = (m_buf->bits[i >> 6] >> (i & 63)) & 1 ? 1.0 : 0.0;
            return;
    }
}

size_t SampleStore::CountNonZero(size_t begin, size_t end) const {
    end = std::min(end, size());
    if (begin >= end) return 0;
    size_t on = 0;
    if (m_encoding != Encoding::Bits) {
        for (size_t i = begin; i < end; ++i) on += !((*this)[i] == 0.0);
        return on;
    }
    const uint64_t* w = m_buf->bits.data();
    size_t i = begin;
    for (; i < end && (i & 63); ++i) on += (w[i >> 6] >> (i & 63)) & 1;
    for (; i + 64 <= end; i += 64) on += size_t(std::popcount(w[i >> 6]));
    for (; i < end; ++i) on += (w[i >> 6] >> (i & 63)) & 1;
    return on;
}

std::vector<double>& SampleStore::Doubles() {
    Touch();
    if (m_encoding != Encoding::Double) {
        std::vector<double> v = ToVector();
        m_encoding = Encoding::Double;
        m_size = 0;
        m_buf = std::make_shared<Buffer>();
        m_buf->doubles = std::move(v);
    } else if (!m_buf) {
        m_buf = std::make_shared<Buffer>();
    } else if (m_buf.use_count() > 1) {
        auto copy = std::make_shared<Buffer>();
        copy->doubles = m_buf->doubles;
        m_buf = std::move(copy);
    }
    return m_buf->doubles;
}

void SampleStore::resize(size_t n, double v) {
    if (n == size()) return;
    Doubles().resize(n, v);
}

void SampleStore::clear() {
    Touch();
    m_buf.reset();
    m_encoding = Encoding::Double;
    m_size = 0;
    m_missing = false;
}

void SampleStore::reserve(size_t n) {
    if (m_encoding == Encoding::Double && m_buf && m_buf.use_count() == 1) m_buf->doubles.reserve(n);
    else if (!m_buf && n) Doubles().reserve(n);
}

void SampleStore::Truncate(size_t n) {
    if (n >= size()) return;
    Touch();
    if (m_encoding == Encoding::Double) {
        Doubles().resize(n);
        return;
    }
    // The compact forms keep their buffer; a shared one is copied first.
    if (m_buf.use_count() > 1) m_buf = std::make_shared<Buffer>(*m_buf);
    m_size = n;
    m_buf->codes16.resize(m_encoding == Encoding::Code16 ? n : 0);
    m_buf->codes32.resize(m_encoding == Encoding::Code32 ? n : 0);
    if (m_encoding == Encoding::Bits) {
        m_buf->bits.resize((n + 63) / 64);
        if (n % 64) m_buf->bits.back() &= (uint64_t(1) << (n % 64)) - 1;
    }
}

void SampleStore::Insert(size_t at, size_t n, double v) {
    std::vector<double>& d = Doubles();
    d.insert(d.begin() + std::ptrdiff_t(std::min(at, d.size())), n, v);
}

void SampleStore::AssignDoubles(std::vector<double>&& v) {
    Touch();
    m_encoding = Encoding::Double;
    m_size = 0;
    m_missing = false;
    if (v.empty()) {
        m_buf.reset();
        return;
    }
    m_buf = std::make_shared<Buffer>();
    m_buf->doubles = std::move(v);
}

SampleStore::Buffer& SampleStore::Fresh(Encoding e, size_t n) {
    Touch();
    m_buf = std::make_shared<Buffer>();
    m_encoding = e;
    m_size = e == Encoding::Double ? 0 : n;
    m_missing = false;
    m_scale = 1.0;
    m_offset = 0.0;
    return *m_buf;
}

int16_t* SampleStore::ResetCodes16(size_t n, double scale, double offset, bool missing) {
    Buffer& b = Fresh(Encoding::Code16, n);
    m_scale = scale, m_offset = offset, m_missing = missing;
    b.codes16.resize(n);
    return b.codes16.data();
}

int32_t* SampleStore::ResetCodes32(size_t n, double scale, double offset, bool missing) {
    Buffer& b = Fresh(Encoding::Code32, n);
    m_scale = scale, m_offset = offset, m_missing = missing;
    b.codes32.resize(n);
    return b.codes32.data();
}

uint64_t* SampleStore::ResetBits(size_t n) {
    Buffer& b = Fresh(Encoding::Bits, n);
    b.bits.assign((n + 63) / 64, 0);
    return b.bits.data();
}

double* SampleStore::ResetDoubles(size_t n) {
    Buffer& b = Fresh(Encoding::Double, n);
    b.doubles.assign(n, 0.0);
    return b.doubles.data();
}

void SampleStore::Compact() {
    if (m_encoding != Encoding::Double || !m_buf) return;
    const std::vector<double>& d = m_buf->doubles;
    for (double v : d)
        if (!IsZeroOrOne(v)) return;
    const size_t n = d.size();
    tv::BulkVector<uint64_t> bits((n + 63) / 64, 0);
    for (size_t i = 0; i < n; ++i)
        if (d[i] != 0.0) bits[i >> 6] |= uint64_t(1) << (i & 63);
    Buffer& b = Fresh(Encoding::Bits, n);
    b.bits = std::move(bits);
}

bool SampleStore::NarrowCodes() {
    if (m_encoding != Encoding::Code32 || !m_buf) return false;
    const tv::BulkVector<int32_t>& wide = m_buf->codes32;
    for (int32_t c : wide)
        if (!(m_missing && c == INT32_MIN) && (c <= INT16_MIN || c > INT16_MAX)) return false;
    tv::BulkVector<int16_t> narrow;
    narrow.resize(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) narrow[i] = wide[i] == INT32_MIN ? int16_t(INT16_MIN) : int16_t(wide[i]);
    auto b = std::make_shared<Buffer>();
    b->codes16 = std::move(narrow);
    m_buf = std::move(b);
    m_encoding = Encoding::Code16;
    Touch();
    return true;
}

size_t SampleStore::ByteSize() const {
    if (!m_buf) return 0;
    return m_buf->doubles.capacity() * sizeof(double) + m_buf->codes16.capacity() * sizeof(int16_t) +
           m_buf->codes32.capacity() * sizeof(int32_t) + m_buf->bits.capacity() * sizeof(uint64_t);
}

bool operator==(const SampleStore& a, const SampleStore& b) {
    if (a.size() != b.size()) return false;
    if (a.m_buf == b.m_buf && a.m_encoding == b.m_encoding && a.m_scale == b.m_scale && a.m_offset == b.m_offset &&
        a.m_missing == b.m_missing)
        return true;
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i])) return false;
    return true;
}

bool operator==(const SampleStore& a, const std::vector<double>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < b.size(); ++i)
        if (!(a[i] == b[i])) return false;
    return true;
}
