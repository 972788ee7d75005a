#pragma once
// Per-sample arrays of a record kept compactly and shared between copies of a record (the
// undo snapshots): a copy shares the data until one side writes, so a snapshot costs only
// what an edit changes afterwards.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <vector>

#include "model/BulkAllocator.h"

// A read-only vector shared between copies; every writing member gives the writer its own
// copy first when the data is shared.
template <class T>
class CowVector {
public:
    using value_type = T;
    using const_iterator = const T*;
    using iterator = const T*;

    CowVector() = default;
    CowVector(std::initializer_list<T> values) { Assign(std::vector<T>(values)); }
    CowVector(std::vector<T> values) { Assign(std::move(values)); }  // NOLINT: a vector stands in for one
    CowVector& operator=(std::vector<T> values) {
        Assign(std::move(values));
        return *this;
    }
    CowVector& operator=(std::initializer_list<T> values) {
        Assign(std::vector<T>(values));
        return *this;
    }

    size_t size() const { return m_data ? m_data->size() : 0; }
    bool empty() const { return size() == 0; }
    const T* data() const { return m_data ? m_data->data() : nullptr; }
    const T& operator[](size_t i) const { return (*m_data)[i]; }
    const T& front() const { return m_data->front(); }
    const T& back() const { return m_data->back(); }
    const T* begin() const { return data(); }
    const T* end() const { return data() + size(); }
    const std::vector<T>& Vector() const {
        static const std::vector<T> kEmpty;
        return m_data ? *m_data : kEmpty;
    }

    // The data for writing, no longer shared with any copy.
    std::vector<T>& Mutable() {
        if (!m_data) m_data = std::make_shared<std::vector<T>>();
        else if (m_data.use_count() > 1) m_data = std::make_shared<std::vector<T>>(*m_data);
        return *m_data;
    }
    void Set(size_t i, const T& v) { Mutable()[i] = v; }
    void push_back(const T& v) { Mutable().push_back(v); }
    void resize(size_t n) { if (n != size()) Mutable().resize(n); }
    void resize(size_t n, const T& v) { if (n != size()) Mutable().resize(n, v); }
    void assign(size_t n, const T& v) { Assign(std::vector<T>(n, v)); }
    template <class It>
    void assign(It b, It e) { Assign(std::vector<T>(b, e)); }
    void clear() { m_data.reset(); }
    bool SharesWith(const CowVector& other) const { return m_data && m_data == other.m_data; }
    size_t ByteSize() const { return m_data ? m_data->capacity() * sizeof(T) : 0; }

    friend bool operator==(const CowVector& a, const CowVector& b) {
        return a.m_data == b.m_data || a.Vector() == b.Vector();
    }
    friend bool operator==(const CowVector& a, const std::vector<T>& b) { return a.Vector() == b; }

private:
    void Assign(std::vector<T>&& v) {
        if (v.empty()) m_data.reset();
        else m_data = std::make_shared<std::vector<T>>(std::move(v));
    }
    std::shared_ptr<std::vector<T>> m_data;
};

// The samples of one channel as double values, kept in the narrowest form that gives every
// value back exactly: the codes of a data file with their scale and offset applied on read
// (2 or 4 bytes a sample), one bit a sample for a status channel, or the doubles themselves
// for values the program made. Writing turns the compact forms into doubles.
class SampleStore {
public:
    enum class Encoding : uint8_t { Double, Code16, Code32, Bits };
    using value_type = double;

    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = double;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = double;
        const_iterator() = default;
        const_iterator(const SampleStore* s, size_t i) : m_s(s), m_i(i) {}
        double operator*() const { return (*m_s)[m_i]; }
        double operator[](difference_type k) const { return (*m_s)[size_t(difference_type(m_i) + k)]; }
        const_iterator& operator++() { ++m_i; return *this; }
        const_iterator operator++(int) { const_iterator t = *this; ++m_i; return t; }
        const_iterator& operator--() { --m_i; return *this; }
        const_iterator operator--(int) { const_iterator t = *this; --m_i; return t; }
        const_iterator& operator+=(difference_type k) { m_i = size_t(difference_type(m_i) + k); return *this; }
        const_iterator& operator-=(difference_type k) { m_i = size_t(difference_type(m_i) - k); return *this; }
        friend const_iterator operator+(const_iterator a, difference_type k) { return a += k; }
        friend const_iterator operator+(difference_type k, const_iterator a) { return a += k; }
        friend const_iterator operator-(const_iterator a, difference_type k) { return a -= k; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
            return difference_type(a.m_i) - difference_type(b.m_i);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.m_i == b.m_i; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.m_i <=> b.m_i; }

    private:
        const SampleStore* m_s = nullptr;
        size_t m_i = 0;
    };
    using iterator = const_iterator;

    SampleStore() = default;
    SampleStore(std::initializer_list<double> values) { AssignDoubles(std::vector<double>(values)); }
    SampleStore(std::vector<double> values) { AssignDoubles(std::move(values)); }  // NOLINT
    SampleStore& operator=(std::vector<double> values) {
        AssignDoubles(std::move(values));
        return *this;
    }
    SampleStore& operator=(std::initializer_list<double> values) {
        AssignDoubles(std::vector<double>(values));
        return *this;
    }

    size_t size() const {
        if (m_encoding == Encoding::Double) return m_buf ? m_buf->doubles.size() : 0;
        return m_size;
    }
    bool empty() const { return size() == 0; }
    double operator[](size_t i) const {
        switch (m_encoding) {
            case Encoding::Double: return m_buf->doubles[i];
            case Encoding::Code16: return Decode16(m_buf->codes16[i]);
            case Encoding::Code32: return Decode32(m_buf->codes32[i]);
            case Encoding::Bits: return (m_buf->bits[i >> 6] >> (i & 63)) & 1 ? 1.0 : 0.0;
        }
        return 0.0;
    }
    double front() const { return (*this)[0]; }
    double back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }
    std::vector<double> ToVector() const;
    // Values [begin, end) into out.
    void Read(size_t begin, size_t end, double* out) const;

    Encoding GetEncoding() const { return m_encoding; }
    // How many of the values [begin, end) are not 0.0 (a NaN counts), fast on bits.
    size_t CountNonZero(size_t begin, size_t end) const;

    // --- writing; each gives this store its own data and turns it into doubles
    void Set(size_t i, double v) { Doubles()[i] = v; }
    void push_back(double v) { Doubles().push_back(v); }
    void resize(size_t n, double v = 0.0);
    void assign(size_t n, double v) { AssignDoubles(std::vector<double>(n, v)); }
    void clear();
    // Room for n doubles when the store is already doubles of its own; nothing otherwise.
    void reserve(size_t n);
    void Insert(size_t at, size_t n, double v);
    // Keeps the first n values in the form they have.
    void Truncate(size_t n);
    std::vector<double>& Doubles();

    // --- filling by the readers: the store is replaced by n codes (not yet written: the reader
    // writes every one) or n zero bits, to be written through the pointer returned (codes decode as scale x code + offset; with `missing`, the
    // lowest code of the width is a missing sample and reads as NaN).
    int16_t* ResetCodes16(size_t n, double scale, double offset, bool missing = false);
    int32_t* ResetCodes32(size_t n, double scale, double offset, bool missing = false);
    uint64_t* ResetBits(size_t n);
    double* ResetDoubles(size_t n);
    // The data of a store just reset, for the reader that fills it (several workers may write
    // disjoint parts at once).
    double* MutableDoubles() { return m_buf->doubles.data(); }
    int16_t* MutableCodes16() { return m_buf->codes16.data(); }
    int32_t* MutableCodes32() { return m_buf->codes32.data(); }
    uint64_t* MutableBits() { return m_buf->bits.data(); }
    // Turns doubles that are all exactly 0.0 or 1.0 into bits.
    void Compact();
    // Turns 32-bit codes that all fit 16 bits (the lowest code of each width being the missing
    // one where missing samples are marked) into 16-bit codes: the same values in half the
    // memory. False, and nothing changed, otherwise.
    bool NarrowCodes();

    size_t ByteSize() const;
    bool SharesWith(const SampleStore& other) const { return m_buf && m_buf == other.m_buf; }
    // Changes whenever the data does (a write, a reset); two stores with one identity hold the
    // same values.
    const void* Identity() const { return m_buf.get(); }
    // Changes with every write through the store's members, also one into data it holds
    // alone (Identity then stays): with Identity it tells whether the values may differ from
    // those seen earlier. Copies share it until one writes.
    uint64_t Version() const { return m_version; }

    friend bool operator==(const SampleStore& a, const SampleStore& b);
    friend bool operator==(const SampleStore& a, const std::vector<double>& b);

private:
    struct Buffer {
        std::vector<double> doubles;
        // The readers write every code of a store they reset: sized without zero-filling.
        tv::BulkVector<int16_t> codes16;
        tv::BulkVector<int32_t> codes32;
        tv::BulkVector<uint64_t> bits;
    };
    double Decode16(int16_t c) const {
        return (m_missing && c == INT16_MIN) ? kNaN : m_scale * double(c) + m_offset;
    }
    double Decode32(int32_t c) const {
        return (m_missing && c == INT32_MIN) ? kNaN : m_scale * double(c) + m_offset;
    }
    void AssignDoubles(std::vector<double>&& v);
    Buffer& Fresh(Encoding e, size_t n);

    static constexpr double kNaN = __builtin_nan("");
    void Touch();

    std::shared_ptr<Buffer> m_buf;
    uint64_t m_version = 0;
    size_t m_size = 0;  // of the compact forms; doubles count themselves
    double m_scale = 1.0, m_offset = 0.0;
    Encoding m_encoding = Encoding::Double;
    bool m_missing = false;
};
