#pragma once
// The record's per-sample tables that follow from its rate segments: the time of every sample
// and the net frequency the rate gives each sample. Where they are uniform (one rate, times
// from it) they are computed from a few numbers instead of kept per sample; a table read from
// a file is kept, shared between copies of the record.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "model/SampleStore.h"

// Random-access reading of a table by value, for the standard algorithms.
template <class Table, class T>
class TableIterator {
public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = T;
    TableIterator() = default;
    TableIterator(const Table* t, size_t i) : m_t(t), m_i(i) {}
    T operator*() const { return (*m_t)[m_i]; }
    T operator[](difference_type k) const { return (*m_t)[size_t(difference_type(m_i) + k)]; }
    TableIterator& operator++() { ++m_i; return *this; }
    TableIterator operator++(int) { TableIterator r = *this; ++m_i; return r; }
    TableIterator& operator--() { --m_i; return *this; }
    TableIterator operator--(int) { TableIterator r = *this; --m_i; return r; }
    TableIterator& operator+=(difference_type k) { m_i = size_t(difference_type(m_i) + k); return *this; }
    TableIterator& operator-=(difference_type k) { m_i = size_t(difference_type(m_i) - k); return *this; }
    friend TableIterator operator+(TableIterator a, difference_type k) { return a += k; }
    friend TableIterator operator+(difference_type k, TableIterator a) { return a += k; }
    friend TableIterator operator-(TableIterator a, difference_type k) { return a -= k; }
    friend difference_type operator-(const TableIterator& a, const TableIterator& b) {
        return difference_type(a.m_i) - difference_type(b.m_i);
    }
    friend bool operator==(const TableIterator& a, const TableIterator& b) { return a.m_i == b.m_i; }
    friend auto operator<=>(const TableIterator& a, const TableIterator& b) { return a.m_i <=> b.m_i; }

private:
    const Table* m_t = nullptr;
    size_t m_i = 0;
};

// Sample times in microseconds: RoundToInt64(i x step) for a record at one rate, else a table.
class TimeTable {
public:
    using value_type = int64_t;
    using const_iterator = TableIterator<TimeTable, int64_t>;
    using iterator = const_iterator;

    TimeTable() = default;
    TimeTable(std::initializer_list<int64_t> t) : m_table(t) {}
    TimeTable& operator=(std::vector<int64_t> t) {
        m_uniform = 0;
        m_table = std::move(t);
        return *this;
    }
    TimeTable& operator=(std::initializer_list<int64_t> t) { return *this = std::vector<int64_t>(t); }

    size_t size() const { return m_uniform ? m_uniform : m_table.size(); }
    bool empty() const { return size() == 0; }
    int64_t operator[](size_t i) const;
    int64_t front() const { return (*this)[0]; }
    int64_t back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }

    // n samples at `step` microseconds apart from 0, kept as the two numbers.
    void SetUniform(size_t n, double step);
    bool IsUniform() const { return m_uniform != 0; }
    // The times as a table of their own, for writing.
    std::vector<int64_t>& Mutable();
    void Set(size_t i, int64_t t) { Mutable()[i] = t; }
    void push_back(int64_t t) { Mutable().push_back(t); }
    void resize(size_t n) { Mutable().resize(n); }
    void reserve(size_t n) { Mutable().reserve(n); }
    void clear() {
        m_uniform = 0;
        m_table.clear();
    }
    size_t ByteSize() const { return m_table.ByteSize(); }
    bool SharesWith(const TimeTable& o) const { return m_table.SharesWith(o.m_table); }

    friend bool operator==(const TimeTable& a, const TimeTable& b);
    friend bool operator==(const TimeTable& a, const std::vector<int64_t>& b);

private:
    size_t m_uniform = 0;  // samples of a uniform table; 0: the table holds the times
    double m_step = 0.0;
    CowVector<int64_t> m_table;
};

// A value per sample that runs in stretches of one value (the net frequency a rate segment
// gives its samples), kept as the stretches.
class RunTable {
public:
    using value_type = double;
    using const_iterator = TableIterator<RunTable, double>;
    using iterator = const_iterator;

    RunTable() = default;
    RunTable(std::initializer_list<double> v) { *this = std::vector<double>(v); }
    RunTable& operator=(const std::vector<double>& v);
    RunTable& operator=(std::initializer_list<double> v) { return *this = std::vector<double>(v); }

    size_t size() const { return m_runs.empty() ? 0 : m_runs.back().end; }
    bool empty() const { return size() == 0; }
    double operator[](size_t i) const;
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }
    // Appends samples up to `end` (exclusive) holding v.
    void Append(size_t end, double v);
    // The first n values, and 0.0 past the old size.
    void Resize(size_t n);
    // Appends the values of `from` past this table's end.
    void AppendTail(const RunTable& from);
    void clear() { m_runs.clear(); }
    size_t RunCount() const { return m_runs.size(); }

private:
    struct Run {
        size_t end;
        double value;
    };
    std::vector<Run> m_runs;
};
