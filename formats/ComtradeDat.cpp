#include "formats/ComtradeDat.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>

#include "formats/ComtradeCfg.h"
#include "model/Numeric.h"
#include "model/Parallel.h"
#include "model/TenvorikException.h"

bool DatKindFromType(const CString& type, DatKind& kind) {
    if (type.CompareNoCase(L"ASCII") == 0) kind = DatKind::Ascii;
    else if (type.CompareNoCase(L"BINARY") == 0) kind = DatKind::Binary;
    else if (type.CompareNoCase(L"binary32") == 0) kind = DatKind::Binary32;
    else return false;
    return true;
}

int64_t SampleCode(double s, double scale, double offset, int64_t lo, int64_t hi) {
    if (scale == 0.0 || std::isnan(s)) return 0;
    int64_t code = RoundToInt64((s - offset) / scale);
    return std::clamp(code, lo, hi);
}

namespace {

[[noreturn]] void FormatError(const CString& path) { throw new CTenvorikException(330, path); }

// Below this size a file is read on the calling thread alone.
constexpr size_t kParallelBytes = 1 << 20;

// Progress in units of 2^shift bytes, so that five times the file fits 32 bits.
struct ProgressUnits {
    const DatProgress& p;
    unsigned shift = 0;
    ProgressUnits(const DatProgress& progress, size_t size) : p(progress) {
        while ((uint64_t(size) * 5 >> shift) > UINT32_MAX) ++shift;
        if (p.total) p.total->store(uint32_t(uint64_t(size) * 5 >> shift));
    }
    void SetDone(uint64_t bytes) const {
        if (p.done) p.done->store(uint32_t(bytes >> shift));
    }
    void AddDone(uint64_t bytes) const {
        if (p.done) p.done->fetch_add(uint32_t(bytes >> shift));
    }
    bool Cancelled() const { return p.cancelled && p.cancelled(); }
};

// Analog values as codes of 2 or 4 bytes, whose lowest code is a missing sample.
enum class AnalogForm { Codes16, Codes32 };

// Sizes the stores for n records; `uniformUs` > 0 gives the times as that step, else a table.
void ResizeSinks(DatReadTarget& t, size_t n, AnalogForm form, double uniformUs) {
    size_t channels = t.analog.size() + t.status.size();
    // Each array is first touched by the worker that sizes it, spreading the page faults.
    tv::ParallelFor(channels + 1, [&](size_t i) {
        if (i < t.analog.size()) {
            DatAnalogSink& a = t.analog[i];
            if (form == AnalogForm::Codes16) a.samples->ResetCodes16(n, a.scale, a.offset, true);
            else a.samples->ResetCodes32(n, a.scale, a.offset, true);
        } else if (i < channels) {
            t.status[i - t.analog.size()]->ResetBits(n);
        } else if (uniformUs > 0) {
            t.times->SetUniform(n, uniformUs);
        } else {
            t.times->Mutable().assign(n, 0);
        }
    });
}

// Keeps the first n records read.
void TruncateSinks(DatReadTarget& t, size_t n) {
    for (auto& a : t.analog) a.samples->Truncate(n);
    for (auto* s : t.status) s->Truncate(n);
    t.times->resize(n);
}

// The records to read of the `n` the file holds: no more than the configuration declares.
size_t RecordsToRead(DatReadTarget& t, size_t n, const CString& path) {
    t.fileSamples = int64_t(n);
    if (n == 0) FormatError(path);
    if (t.expectedSamples > 0 && uint64_t(t.expectedSamples) < n) n = size_t(t.expectedSamples);
    return n;
}

// Times from the configuration's rates: one rate for the whole record, or a rate per segment.
class RateTimes {
public:
    explicit RateTimes(const DatReadTarget& t) {
        bool segmentsUsable = t.segments.size() > 1;
        for (const auto& s : t.segments)
            if (!(s.rate > 0.0) || !std::isfinite(s.rate)) segmentsUsable = false;
        if (t.segments.size() > 1) {
            // Several segments time their own samples, or the file's stamps do.
            if (!segmentsUsable) return;
            double start = 0.0;
            int64_t first = 0;
            for (const auto& s : t.segments) {
                const double us = 1000000.0 / s.rate;
                m_parts.push_back({first, start, us});
                const int64_t next = std::max(first, s.lastSample);
                start += double(next - first) * us;
                first = next;
            }
        } else if (t.samplingFrequency > 0) {
            m_parts.push_back({0, 0.0, 1000000.0 / double(t.samplingFrequency)});
        }
    }
    bool Usable() const { return !m_parts.empty(); }
    // Microseconds a sample of a record at one rate, whose times At gives as i times it;
    // 0 for times by segments or from the file.
    double UniformStep() const { return m_parts.size() == 1 ? m_parts[0].us : 0.0; }
    int64_t At(size_t i) const {
        // Segments are few: the last one that starts at or before i times it.
        size_t k = m_parts.size() - 1;
        while (k > 0 && m_parts[k].first > int64_t(i)) --k;
        const Part& p = m_parts[k];
        if (k == 0) return RoundToInt64(double(i) * p.us);
        return RoundToInt64(p.start + double(int64_t(i) - p.first) * p.us);
    }

private:
    struct Part {
        int64_t first;  // index of the segment's first sample
        double start;   // its time
        double us;      // microseconds per sample
    };
    std::vector<Part> m_parts;
};

void DeriveRate(DatReadTarget& t, const CString& path) {
    if (t.samplingFrequency != 0) return;
    const auto& times = *t.times;
    if (times.size() < 2) FormatError(path);
    int64_t dt = times[1] - times[0];
    if (dt <= 0) FormatError(path);
    t.measuredRate = 1000000.0 / double(dt);
}

// ---- ASCII ----------------------------------------------------------------------------

struct Chunk {
    size_t begin = 0, end = 0;  // byte range, starting at a line start
    size_t records = 0;
    size_t firstRecord = 0;
};

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// The lines of a stretch of text, found with the library's vectorised search: a line ends at
// LF or CR, and a CR LF pair ends one line.
class Lines {
public:
    Lines(const char* d, size_t b, size_t e) : m_d(d), m_i(b), m_e(e) { FindLineFeed(); }
    // The next line, [begin, end); false past the last one.
    bool Next(size_t& begin, size_t& end) {
        if (m_i >= m_e) return false;
        // The next LF is kept until passed, so that a text with CR alone is not searched to its
        // end for every line.
        if (m_lf < m_i) FindLineFeed();
        const void* cr = std::memchr(m_d + m_i, '\r', m_lf - m_i);
        begin = m_i;
        end = cr ? size_t(static_cast<const char*>(cr) - m_d) : m_lf;
        m_i = end + 1;
        if (end < m_e && m_d[end] == '\r' && m_i < m_e && m_d[m_i] == '\n') ++m_i;
        return true;
    }
    // Where the line after the last one given starts.
    size_t Pos() const { return m_i; }

private:
    void FindLineFeed() {
        const void* lf = m_i < m_e ? std::memchr(m_d + m_i, '\n', m_e - m_i) : nullptr;
        m_lf = lf ? size_t(static_cast<const char*>(lf) - m_d) : m_e;
    }
    const char* m_d;
    size_t m_i, m_e, m_lf = 0;
};

// Whether a line holds more than blanks: only such a line is a record.
bool HasContent(const char* d, size_t b, size_t e) {
    for (size_t i = b; i < e; ++i)
        if (d[i] != ' ' && d[i] != '\t') return true;
    return false;
}

size_t CountRecords(const char* d, size_t b, size_t e) {
    size_t n = 0, lb, le;
    for (Lines lines(d, b, e); lines.Next(lb, le);) n += HasContent(d, lb, le);
    return n;
}

// The widths the analog channels of an ASCII record need: codes that fit 16 bits, codes of 32
// bits, or doubles for a channel that writes fractions. The first pass reads every channel as
// 16-bit codes; a channel found to need more is read again into its own form.
enum AsciiWidth : uint8_t { kFits16 = 0, kNeeds32 = 1, kNeedsDoubles = 2 };

// Where the analog fields of the ASCII lines go: per channel a column of 16-bit or 32-bit codes,
// of doubles, or nothing (a second pass that reads only some channels).
struct AsciiColumns {
    std::vector<int16_t*> codes16;
    std::vector<int32_t*> codes32;
    std::vector<double*> doubles;
    bool timesAndStatus = true;  // the first pass writes the times and the status bits
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The code of a whole number read from an analog field: the lowest code for the missing value
// 99999; false for one beyond 32 bits.
bool WholeCode(double x, int32_t& code) {
    if (x == double(kAsciiMissing)) {
        code = INT32_MIN;
        return true;
    }
    if (!(x >= double(INT32_MIN + 1) && x <= double(INT32_MAX))) return false;
    code = int32_t(x);
    return true;
}

// The code of an analog field of an ASCII record: the whole number its text stands for as
// ParseDouble reads it, or the lowest code for the missing value 99999. False for a value that
// no code gives back exactly: a fraction, one beyond 32 bits, not a number, or -0.
bool AsciiCode(std::string_view f, int32_t& code) {
    // Plain digits with an optional sign, the usual field, without the general parser.
    size_t i = 0;
    bool negative = false;
    if (i < f.size() && (f[i] == '+' || f[i] == '-')) negative = f[i++] == '-';
    const size_t digits = i;
    int64_t v = 0;
    while (i < f.size() && IsDigit(f[i]) && i - digits < 10) v = v * 10 + (f[i++] - '0');
    const bool plain = i > digits && (i == f.size() || (!IsDigit(f[i]) && f[i] != '.' && f[i] != 'e' &&
                                                        f[i] != 'E' && f[i] != '-' && f[i] != '+'));
    double x;
    if (plain && !(negative && v == 0)) {
        x = double(negative ? -v : v);
    } else {
        x = comtrade::ParseDouble(f);
        if (!(x == std::trunc(x)) || (x == 0.0 && std::signbit(x))) return false;
    }
    return WholeCode(x, code);
}

// The next analog field as AsciiCode reads it: the usual field, a sign and a few digits, without
// the general parser. False for a value that no code gives back exactly.
bool ReadAsciiCode(comtrade::TextCursor& in, int32_t& code) {
    bool negative = false;
    uint64_t v = 0;
    if (in.ReadDigits(10, true, negative, v)) {
        // "-0" is the double -0, which no code gives back.
        if (negative && v == 0) return false;
        return WholeCode(double(negative ? -int64_t(v) : int64_t(v)), code);
    }
    return AsciiCode(in.ReadField(), code);
}

// A status field: whether ReadInt64 reads it as other than 0.
bool ReadAsciiFlag(comtrade::TextCursor& in) {
    bool negative = false;
    uint64_t v = 0;
    if (in.ReadDigits(18, false, negative, v)) return v != 0;
    return in.ReadInt64() != 0;
}

// The status bits of the rows a worker reads, gathered a word of 64 rows at a time: a word
// that lies wholly in the worker's rows is stored as it is; one shared with the rows of a
// neighbouring chunk is merged into the store.
class StatusWords {
public:
    StatusWords(DatReadTarget& t, size_t firstRow, size_t endRow)
        : m_t(t), m_first(firstRow), m_end(endRow), m_words(t.status.size(), 0), m_word(firstRow >> 6) {}
    void Set(size_t j, size_t row) { m_words[j] |= uint64_t(1) << (row & 63); }
    // Row `row` is about to be read.
    void Begin(size_t row) {
        if ((row >> 6) != m_word) {
            Flush();
            m_word = row >> 6;
        }
    }
    void Flush() {
        const bool whole = m_word * 64 >= m_first && m_word * 64 + 64 <= m_end;
        for (size_t j = 0; j < m_words.size(); ++j) {
            uint64_t& out = m_t.status[j]->MutableBits()[m_word];
            if (whole) out = m_words[j];
            else if (m_words[j]) std::atomic_ref<uint64_t>(out).fetch_or(m_words[j], std::memory_order_relaxed);
            m_words[j] = 0;
        }
    }

private:
    DatReadTarget& m_t;
    size_t m_first, m_end;
    std::vector<uint64_t> m_words;
    size_t m_word;
};

// Parses one line into record `row`; false when the line holds fewer fields than the
// record needs.
bool ParseAsciiLine(const char* b, const char* e, size_t row, DatReadTarget& t, const RateTimes& rates,
                    const AsciiColumns& cols, std::vector<uint8_t>& width, StatusWords& status) {
    // `width[k]` is raised for a channel whose field needs a wider form than its column.
    comtrade::TextCursor in(b, e);
    // A field may be empty between two commas, but a line that ends before every field
    // was given is a cut record.
    auto need = [&] { return !(in.AtEndAfterBlanks() && in.LastSeparator() != ','); };
    in.ReadInt64();  // sample number
    if (!need()) return false;
    if (!cols.timesAndStatus) {
        in.ReadField();
    } else if (in.FieldIsBlank() && rates.Usable()) {
        // The stamp is optional where the configuration gives a rate.
        in.ReadField();
        t.times->Mutable()[row] = rates.At(row);
    } else {
        int64_t stamp = in.ReadInt64();
        t.times->Mutable()[row] = RoundToInt64(double(stamp) * t.timeMultiplier);
    }
    for (size_t k = 0; k < t.analog.size(); ++k) {
        if (!need()) return false;
        if (int16_t* codes = cols.codes16[k]) {
            int32_t c = 0;
            if (!ReadAsciiCode(in, c)) width[k] = kNeedsDoubles;
            else if (c == INT32_MIN) codes[row] = INT16_MIN;
            // The lowest 16-bit code is the missing one: the value it would stand for needs 32.
            else if (c > INT16_MIN && c <= INT16_MAX) codes[row] = int16_t(c);
            else width[k] = std::max<uint8_t>(width[k], kNeeds32);
        } else if (int32_t* codes32 = cols.codes32[k]) {
            int32_t c = 0;
            if (ReadAsciiCode(in, c)) codes32[row] = c;
            else width[k] = kNeedsDoubles;
        } else if (double* doubles = cols.doubles[k]) {
            const DatAnalogSink& a = t.analog[k];
            double x = comtrade::ParseDouble(in.ReadField());
            doubles[row] = x == double(kAsciiMissing) ? std::numeric_limits<double>::quiet_NaN() : a.scale * x + a.offset;
        } else {
            in.ReadField();
        }
    }
    if (!cols.timesAndStatus) return true;
    for (size_t j = 0; j < t.status.size(); ++j) {
        if (!need()) return false;
        if (ReadAsciiFlag(in)) status.Set(j, row);
    }
    return true;
}

// Text already parsed is handed back to the system as the workers pass it, the whole pages of
// their own chunk (a page shared with a neighbour is left to be read without a second fault).
class TextRelease {
public:
    TextRelease(const DatReadTarget& t, size_t from) : m_t(t), m_from(from), m_last(from) {}
    void Passed(size_t at, bool last = false) {
        if (!m_t.releaseData || (!last && at - m_last < kStep)) return;
        // From the chunk's start each time: the page cut at the last step goes with this one.
        m_t.releaseData(m_from, at);
        m_last = at;
    }

private:
    static constexpr size_t kStep = 1 << 20;
    const DatReadTarget& m_t;
    size_t m_from, m_last;
};

// One pass over the lines of every chunk into the columns.
struct AsciiPass {
    const char* d;
    size_t n, total;
    const std::vector<Chunk>& chunks;
    DatReadTarget& t;
    const RateTimes& rates;
    const ProgressUnits& pu;
    bool report;  // the progress and the release of the text follow this pass
    std::atomic<bool> bad{false}, cancelled{false}, cutLast{false};

    void Run(const AsciiColumns& cols, std::vector<uint8_t>* width) {
        std::mutex m;
        tv::ParallelFor(chunks.size(), [&](size_t ci) {
            std::vector<uint8_t> chunkWidth(t.analog.size(), kFits16);
            ReadChunk(chunks[ci], cols, chunkWidth);
            if (!width) return;
            std::lock_guard<std::mutex> lock(m);
            for (size_t k = 0; k < chunkWidth.size(); ++k) (*width)[k] = std::max((*width)[k], chunkWidth[k]);
        });
    }

    void ReadChunk(const Chunk& c, const AsciiColumns& cols, std::vector<uint8_t>& width) {
        size_t row = c.firstRecord;
        size_t reported = c.begin;
        TextRelease release(t, c.begin);
        StatusWords status(t, c.firstRecord, std::min(n, c.firstRecord + c.records));
        Lines lines(d, c.begin, c.end);
        size_t lb = 0, le = 0;
        bool ended = false;
        while (row < n && lines.Next(lb, le)) {
            if (bad.load(std::memory_order_relaxed) || cancelled.load(std::memory_order_relaxed)) return;
            if (!HasContent(d, lb, le)) continue;
            if (cols.timesAndStatus) status.Begin(row);
            if (!ParseAsciiLine(d + lb, d + le, row, t, rates, cols, width, status)) {
                // A record cut short at the very end of the file is dropped; one in the middle
                // leaves the lines after it without meaning.
                if (row + 1 == total) cutLast = true;
                else bad = true;
                ended = true;
                break;
            }
            ++row;
            if ((row & 1023) == 0) {
                if (pu.Cancelled()) {
                    cancelled = true;
                    return;
                }
                if (report) {
                    pu.AddDone(le - reported);
                    release.Passed(lb);
                }
                reported = le;
            }
        }
        if (cols.timesAndStatus && row > c.firstRecord) status.Flush();
        if (ended) return;
        if (report) {
            pu.AddDone(c.end - reported);
            release.Passed(std::min(lines.Pos(), c.end), true);
        }
    }
};

DatReadResult ReadAscii(const char* d, size_t size, DatReadTarget& t, const ProgressUnits& pu, const CString& path) {
    unsigned parts = size < kParallelBytes ? 1 : tv::WorkerCount() * 4;
    std::vector<Chunk> chunks;
    size_t pos = 0;
    for (unsigned p = 0; p < parts && pos < size; ++p) {
        size_t end = p + 1 == parts ? size : std::max(pos, size * (p + 1) / parts);
        while (end < size && !IsLineEnd(d[end - 1])) ++end;
        chunks.push_back({pos, end});
        pos = end;
    }
    // The text counted stays in memory for the parse, which hands it back as it passes: the
    // file is read once.
    tv::ParallelFor(chunks.size(), [&](size_t i) { chunks[i].records = CountRecords(d, chunks[i].begin, chunks[i].end); });
    size_t total = 0;
    for (auto& c : chunks) {
        c.firstRecord = total;
        total += c.records;
    }
    size_t n = RecordsToRead(t, total, path);
    // Every field takes at least its separator: lines too short for their fields are refused
    // before the arrays for them are made.
    if (n > size / (2 + t.analog.size() + t.status.size())) FormatError(path);
    // The values of a text record are whole numbers, kept as codes like those of a BINARY
    // one, 16 bits wide where they fit; the channels of a record that need more are read
    // again, as 32-bit codes or, for fractions, as doubles. The stamps of a text file may
    // differ from the rate: its times are kept as read.
    ResizeSinks(t, n, AnalogForm::Codes16, 0.0);
    const RateTimes rates(t);

    AsciiColumns codes;
    for (auto& a : t.analog) {
        codes.codes16.push_back(a.samples->MutableCodes16());
        codes.codes32.push_back(nullptr);
        codes.doubles.push_back(nullptr);
    }
    std::vector<uint8_t> width(t.analog.size(), kFits16);
    AsciiPass pass{d, n, total, chunks, t, rates, pu, true};
    pass.Run(codes, &width);
    if (pass.bad) FormatError(path);
    if (pass.cancelled) {
        // Rows not yet read were never written: nothing of them stays.
        TruncateSinks(t, 0);
        return DatReadResult::Cancelled;
    }
    if (std::find_if(width.begin(), width.end(), [](uint8_t w) { return w != kFits16; }) != width.end()) {
        AsciiColumns wider;
        wider.timesAndStatus = false;
        for (size_t k = 0; k < t.analog.size(); ++k) {
            const DatAnalogSink& a = t.analog[k];
            wider.codes16.push_back(nullptr);
            wider.codes32.push_back(width[k] == kNeeds32 ? a.samples->ResetCodes32(n, a.scale, a.offset, true) : nullptr);
            wider.doubles.push_back(width[k] == kNeedsDoubles ? a.samples->ResetDoubles(n) : nullptr);
        }
        AsciiPass again{d, n, total, chunks, t, rates, pu, false};
        again.Run(wider, nullptr);
        if (again.cancelled) {
            TruncateSinks(t, 0);
            return DatReadResult::Cancelled;
        }
    }
    if (pass.cutLast) {
        if (n <= 1) FormatError(path);
        t.partialRecord = true;
        t.fileSamples = int64_t(total - 1);
        TruncateSinks(t, n - 1);
    }
    DeriveRate(t, path);
    return DatReadResult::Complete;
}

// ---- BINARY and binary32 ------------------------------------------------------------------

uint32_t LoadU32(const char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
int32_t LoadI32(const char* p) {
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
int16_t LoadI16(const char* p) {
    int16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

// True when the file is a whole number of records of this size (or, unless `whole`, some
// records and the start of one more) whose first sample numbers run on by one (from `first`
// when it is not 0).
bool LayoutFits(const char* d, size_t size, size_t rec, uint32_t first, bool whole) {
    if (rec == 0 || size < rec || (whole && size % rec != 0)) return false;
    size_t n = std::min<size_t>(size / rec, 4);
    uint32_t start = LoadU32(d);
    if (first != 0 && start != first) return false;
    for (size_t i = 1; i < n; ++i)
        if (LoadU32(d + i * rec) != start + uint32_t(i)) return false;
    return true;
}

DatReadResult ReadBinary(const char* d, size_t size, DatReadTarget& t, bool wide32, const ProgressUnits& pu,
                         const CString& path) {
    const size_t A = t.analog.size(), D = t.status.size();
    const size_t W = (D + 15) / 16;
    const size_t valueBytes = wide32 ? 4 : 2;
    const size_t standard = 8 + valueBytes * A + 2 * W;
    // Files whose status area is cut to whole bytes: D/8 bytes plus one for the rest.
    const size_t alt = wide32 ? standard : 2 * A + 8 + D / 8 + (D % 16 != 0 ? 1 : 0);
    const uint32_t first = wide32 ? 1 : 0;
    size_t rec = 0;
    // A file of whole records first; then one whose last record was cut off.
    for (bool whole : {true, false}) {
        if (LayoutFits(d, size, standard, first, whole)) rec = standard;
        else if (alt != standard && LayoutFits(d, size, alt, first, whole)) rec = alt;
        if (rec) break;
    }
    if (!rec) FormatError(path);
    t.partialRecord = size % rec != 0;
    const size_t n = RecordsToRead(t, size / rec, path);
    const RateTimes rates(t);
    const bool fromRates = rates.Usable();
    // Times at one rate follow from it; times by segments or from the file are a table.
    const double uniformUs = fromRates ? rates.UniformStep() : 0.0;
    ResizeSinks(t, n, wide32 ? AnalogForm::Codes32 : AnalogForm::Codes16, uniformUs);
    pu.SetDone(uint64_t(size) * 4);

    const size_t statusOffset = 8 + valueBytes * A;
    constexpr size_t kBlock = 4096;
    const size_t blocks = (n + kBlock - 1) / kBlock;
    std::atomic<bool> cancelled{false};
    tv::ParallelFor(blocks, [&](size_t bi) {
        if (cancelled.load(std::memory_order_relaxed)) return;
        if (pu.Cancelled()) {
            cancelled = true;
            return;
        }
        const size_t b = bi * kBlock, e = std::min(n, b + kBlock);
        if (uniformUs <= 0) {
            int64_t* times = t.times->Mutable().data();
            for (size_t i = b; i < e; ++i)
                times[i] = fromRates ? rates.At(i) : RoundToInt64(double(LoadI32(d + i * rec + 4)) * t.timeMultiplier);
        }
        // Channel by channel within a block: the block stays in the cache while every array
        // is written in runs. The blocks hold whole words of the status bits, so no two
        // workers share one.
        for (size_t k = 0; k < A; ++k) {
            const char* p = d + 8 + k * valueBytes;
            if (wide32) {
                int32_t* out = t.analog[k].samples->MutableCodes32();
                for (size_t i = b; i < e; ++i) out[i] = LoadI32(p + i * rec);
            } else {
                int16_t* out = t.analog[k].samples->MutableCodes16();
                for (size_t i = b; i < e; ++i) out[i] = LoadI16(p + i * rec);
            }
        }
        for (size_t j = 0; j < D; ++j) {
            uint64_t* out = t.status[j]->MutableBits();
            const unsigned char mask = static_cast<unsigned char>(1u << (j % 8));
            const char* p = d + statusOffset + j / 8;
            for (size_t i = b; i < e; ++i)
                if (static_cast<unsigned char>(p[i * rec]) & mask) out[i >> 6] |= uint64_t(1) << (i & 63);
        }
        pu.AddDone(uint64_t(e - b) * rec);
        if (t.releaseData) t.releaseData(b * rec, e * rec);
    });
    if (cancelled) {
        // Blocks not yet read were never written: nothing of them stays.
        TruncateSinks(t, 0);
        return DatReadResult::Cancelled;
    }
    DeriveRate(t, path);
    return DatReadResult::Complete;
}

}  // namespace

DatReadResult ReadComtradeDat(DatKind kind, const char* data, size_t size, DatReadTarget& target,
                              const DatProgress& progress, const CString& path) {
    if (!data || size == 0) FormatError(path);
    target.fileSamples = 0;
    target.partialRecord = false;
    ProgressUnits pu(progress, size);
    pu.SetDone(0);
    if (kind == DatKind::Ascii) return ReadAscii(data, size, target, pu, path);
    return ReadBinary(data, size, target, kind == DatKind::Binary32, pu, path);
}

// ---- writers ------------------------------------------------------------------------------

namespace {

size_t SampleCount(const DatWriteSource& src) { return src.times.size(); }

double SampleAt(const SampleStore* v, size_t i) { return i < v->size() ? (*v)[i] : 0.0; }

bool StatusBit(const SampleStore* v, size_t i) {
    if (i >= v->size()) return false;
    double s = (*v)[i];
    return !(s == 0.0);  // NaN counts as set, as any value that is not 0
}

int64_t WrittenTime(const DatWriteSource& src, size_t i) {
    double mult = src.timeMultiplier;
    if (!(mult > 0.0) || !std::isfinite(mult)) mult = 1.0;
    return RoundToInt64(double(src.times[i]) / mult);
}

void AppendInt(std::string& out, int64_t v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

}  // namespace

std::string WriteAsciiDat(const DatWriteSource& src) {
    std::string out;
    const size_t n = SampleCount(src);
    out.reserve(n * (16 + 8 * src.analog.size() + 3 * src.status.size()));
    for (size_t i = 0; i < n; ++i) {
        AppendInt(out, int64_t(i) + 1);
        out += ',';
        AppendInt(out, WrittenTime(src, i));
        // Every field as the standard writes it, with no space after the comma: readers that
        // compare the field text with the missing-value code 99999 take " 99999" for a value.
        for (size_t k = 0; k < src.analog.size(); ++k) {
            out += ',';
            const double v = SampleAt(src.analog[k], i);
            AppendInt(out, std::isnan(v) ? kAsciiMissing : SampleCode(v, src.scale[k], src.offset[k], INT32_MIN, INT32_MAX));
        }
        for (auto* s : src.status) out += StatusBit(s, i) ? ",1" : ",0";
        out += "\r\n";
    }
    return out;
}

std::string WriteBinaryDat(const DatWriteSource& src, bool wide32) {
    const size_t n = SampleCount(src), A = src.analog.size(), D = src.status.size();
    const size_t W = (D + 15) / 16, vb = wide32 ? 4 : 2;
    const size_t rec = 8 + vb * A + 2 * W;
    std::string out(n * rec, '\0');
    for (size_t i = 0; i < n; ++i) {
        char* p = out.data() + i * rec;
        uint32_t number = uint32_t(i + 1);
        int32_t stamp = int32_t(std::clamp<int64_t>(WrittenTime(src, i), INT32_MIN, INT32_MAX));
        std::memcpy(p, &number, 4);
        std::memcpy(p + 4, &stamp, 4);
        for (size_t k = 0; k < A; ++k) {
            double s = SampleAt(src.analog[k], i);
            // The lowest code is the missing value: a sample below the range saturates one
            // code above it.
            if (wide32) {
                int32_t c = std::isnan(s) ? kBinary32Missing
                                          : int32_t(SampleCode(s, src.scale[k], src.offset[k], INT32_MIN + 1, INT32_MAX));
                std::memcpy(p + 8 + 4 * k, &c, 4);
            } else {
                int16_t c = std::isnan(s) ? kBinaryMissing
                                          : int16_t(SampleCode(s, src.scale[k], src.offset[k], INT16_MIN + 1, INT16_MAX));
                std::memcpy(p + 8 + 2 * k, &c, 2);
            }
        }
        unsigned char* status = reinterpret_cast<unsigned char*>(p + 8 + vb * A);
        for (size_t j = 0; j < D; ++j)
            if (StatusBit(src.status[j], i)) status[j / 8] |= static_cast<unsigned char>(1u << (j % 8));
    }
    return out;
}
