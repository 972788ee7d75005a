// The "OSC2" record reader: a header record, one or two scale blocks, channel descriptions,
// a time-stamp record and data records of F sample frames each, all 128 bytes long.
#include <cerrno>
#include <cmath>
#include <cstring>

#include "formats/OscRecord.h"
#include "model/DocumentModel.h"
#include "model/LoadProgress.h"
#include "model/Numeric.h"
#include "model/Oscillogram.h"
#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "platform/UiServices.h"

namespace {

uint16_t Be16(const unsigned char* p) { return uint16_t((p[0] << 8) | p[1]); }
int16_t BeI16(const unsigned char* p) { return int16_t(Be16(p)); }
uint32_t Be32(const unsigned char* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }
float BeFloat(const unsigned char* p) {
    uint32_t u = Be32(p);
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}
void Swap16(unsigned char* p) { std::swap(p[0], p[1]); }
void Swap32(unsigned char* p) {
    std::swap(p[0], p[3]);
    std::swap(p[1], p[2]);
}
int Bcd(unsigned char b) { return (b >> 4) * 10 + (b & 0x0F); }

// Days from 1970-01-01 of a civil date, and back.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}
void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

constexpr int64_t kTicksPerSecond = 10000000;  // 100 ns units

int64_t ToTicks(const OscTime& t) {
    int64_t days = DaysFromCivil(t.year, t.month, t.day);
    return ((days * 86400 + t.hour * 3600 + t.minute * 60 + t.second) * 1000 + t.millisecond) * 10000;
}

OscTime FromTicks(int64_t ticks) {
    OscTime t;
    int64_t ms = ticks >= 0 ? ticks / 10000 : -((-ticks + 9999) / 10000);
    int64_t secs = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    t.millisecond = int(ms - secs * 1000);
    int64_t days = secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
    int64_t rest = secs - days * 86400;
    CivilFromDays(days, t.year, t.month, t.day);
    t.hour = int(rest / 3600);
    t.minute = int(rest / 60 % 60);
    t.second = int(rest % 60);
    return t;
}

[[noreturn]] void FormatError(const CString& path) { throw new CTenvorikException(330, path); }

}  // namespace

void ConvertOscDateRecord(unsigned char* r) {
    Swap16(r + 2);
    Swap16(r + 12);
    Swap16(r + 14);
    for (int i = 5; i <= 11; ++i) r[i] = static_cast<unsigned char>(Bcd(r[i]));
}

void OscBlockToHost(unsigned char* b) {
    for (int j = 0; j < 8; ++j) {
        Swap32(b + 4 * j);
        Swap16(b + 32 + 2 * j);
        Swap32(b + 48 + 4 * j);
        Swap16(b + 80 + 2 * j);
    }
}

std::pair<OscTime, OscTime> OscStampToTimes(const unsigned char* r, int frames, double rateValue) {
    OscTime stamp;
    stamp.year = r[11] + 2000;
    stamp.month = r[10];
    stamp.day = r[9];
    stamp.hour = r[8];
    stamp.minute = r[7];
    stamp.second = r[6];
    stamp.millisecond = r[5] * 10;
    int16_t t;
    std::memcpy(&t, r + 14, 2);
    int64_t rate = RoundToInt64(rateValue);
    int64_t n = int64_t(t) * frames;
    int64_t step = rate > 0 ? kTicksPerSecond / rate : 0;
    return {stamp, FromTicks(ToTicks(stamp) - (n - 1) * step)};
}

CStringA WideToCp1251(const CString& text) { return CStringA(platform::WideToAnsi(text.view())); }

namespace {

// The data records: samples of every channel, their times and the rate segments.
void SetupOscChannels(COscillogram& osc, LoadProgress& progress, const unsigned char* data, size_t size,
                      int records, int frames, const CString& path) {
    std::vector<CChannel*> analog, discrete;
    for (auto& ch : osc.m_channels) (ch.IsDiscrete() ? discrete : analog).push_back(&ch);
    const size_t A = analog.size(), words = discrete.size() / 16;
    // The frames and the conversion period share one record; frames reaching the period are
    // not a record of this format.
    if (2 * size_t(frames) * (A + words) > 124) FormatError(path);

    progress.done = 0;
    progress.total = uint32_t(std::min<uint64_t>(uint64_t(size) * 5, UINT32_MAX));
    const size_t wanted = size_t(records) * size_t(frames);
    for (auto& ch : osc.m_channels) ch.Reserve(wanted);
    osc.m_times.reserve(wanted);

    const CString volt = LoadResString(3122), amp = LoadResString(3106);
    int voltAmp = 0;
    for (auto* ch : analog) {
        CString u = ch->GetUnitText();
        if (u.IsEmpty() || u == L"V" || u == L"A" || u == volt || u == amp ||
            CString(ch->m_unit) == L"V" || CString(ch->m_unit) == L"A")
            ++voltAmp;
    }

    osc.m_rates.clear();
    double rate = 0.0;         // samples per second of the current segment
    int measured = 0;          // the rate the data records state, to see it change
    int64_t segmentStart = 0;  // time of the segment's first sample
    size_t segmentFirst = 0;   // its first sample
    size_t r = 0;
    for (; r < size_t(records) && (r + 1) * kOscRecordSize <= size; ++r) {
        if (progress.IsCancelled()) return;
        const unsigned char* rec = data + r * kOscRecordSize;
        progress.done = uint32_t(std::min<uint64_t>(progress.total.load(),
                                                      uint64_t(progress.total.load()) - (size - (r + 1) * kOscRecordSize) * 5));
        const int period = BeI16(rec + 124);
        int recordRate = 0;
        if (period != 0 && voltAmp != 0) recordRate = RoundToInt(1000000.0 / (period * 0.03125 * voltAmp));
        if (recordRate < 1) recordRate = measured > 0 ? measured : osc.m_samplingFrequency;
        if (r == 0) {
            osc.m_samplingFrequency = int32_t(NominalSampleRate(true, recordRate, osc.m_netFrequency));
            if (osc.m_samplingFrequency < 1) osc.m_samplingFrequency = 2400;
            osc.m_samplesPerPeriod = osc.m_netFrequency > 0 ? osc.m_samplingFrequency / osc.m_netFrequency : 48.0;
            rate = osc.m_samplingFrequency;
            measured = recordRate;
        } else if (recordRate != measured) {
            const size_t n = r * size_t(frames);
            osc.m_rates.push_back({rate, int32_t(n)});
            segmentStart += RoundToInt64(double(n - segmentFirst) * 1e6 / rate);
            segmentFirst = n;
            rate = recordRate;
            measured = recordRate;
        }
        for (int k = 0; k < frames; ++k) {
            const unsigned char* f = rec + 2 * size_t(k) * (A + words);
            for (size_t c = 0; c < A; ++c) {
                CChannel* ch = analog[c];
                ch->m_samples.push_back(ch->m_prefixMul * ch->m_a * BeI16(f + 2 * c) + ch->m_b);
            }
            for (size_t w = 0; w < words; ++w) {
                const uint16_t bits = Be16(f + 2 * (A + w));
                for (size_t n = 0; n < 16; ++n) {
                    CChannel* ch = discrete[16 * w + n];
                    ch->m_samples.push_back(ch->m_prefixMul * ch->m_a * ((bits >> n) & 1) + ch->m_b);
                }
            }
            // Each segment counts its times from its own start, so they do not drift.
            const size_t n = osc.m_times.size();
            osc.m_times.push_back(segmentStart + RoundToInt64(double(n - segmentFirst) * 1e6 / rate));
        }
    }
    if (r > 0) osc.m_rates.push_back({rate, int32_t(r * size_t(frames))});
    // Status values that are all 0 or 1 are kept as bits.
    for (auto& ch : osc.m_channels)
        if (ch.IsDiscrete()) ch.m_samples.Compact();
}

}  // namespace

void ParseOscRecord(COscillogram& osc, DocumentModel* doc, LoadProgress& progress, const unsigned char* data,
                    size_t size, const CString& path) {
    size_t pos = 0;
    auto take = [&]() -> const unsigned char* {
        if (pos > size || size - pos < kOscRecordSize) FormatError(path);
        const unsigned char* r = data + pos;
        pos += kOscRecordSize;
        return r;
    };

    const unsigned char* header = take();
    const int blocks = header[125] != 0 ? 2 : 1;
    const int descriptions = int(static_cast<signed char>(header[2])) - blocks - 1;
    const int major = static_cast<signed char>(header[0]), minor = static_cast<signed char>(header[1]);
    CString station;
    station.Format(LoadResString(3063), major, minor);
    osc.m_stationName = CStringA(platform::AnsiToOem(WideToCp1251(station).view()));
    if (major == 2) {
        if (minor == 3 || minor == 4 || minor == 5 || minor == 8) osc.m_harmonicCorrection = 1.0128;
        else if (minor == 6 || minor == 7) osc.m_harmonicCorrection = 1.00259;
        else if (minor == 9) osc.m_harmonicCorrection = 1.014065;
    }

    unsigned char scale[2][kOscRecordSize];
    for (int s = 0; s < blocks; ++s) {
        std::memcpy(scale[s], take(), kOscRecordSize);
        OscBlockToHost(scale[s]);
    }

    if (descriptions <= 0) FormatError(path);
    int frames = 0;
    bool framesFound = false;
    for (int d = 0; d < descriptions; ++d) {
        const unsigned char* rec = take();
        size_t len = 0;
        while (len < kOscRecordSize && rec[len] != 0) ++len;
        CStringA text(std::string(reinterpret_cast<const char*>(rec), len));
        if (text.GetLength() < 3) FormatError(path);
        const char kind = text[2];
        if (kind == 'F') {
            int comma = text.Find(',');
            frames = comma >= 0 ? std::atoi(text.Mid(comma + 1).GetString()) : 0;
            framesFound = true;
            continue;
        }
        if (kind != 'A' && kind != 'D') FormatError(path);
        int count = std::atoi(text.Mid(4, 3).GetString());
        // The channel lines are the non-empty lines after the first.
        int start = text.Find('\n');
        while (count > 0 && start >= 0 && start < text.GetLength()) {
            int end = text.Find('\n', start + 1);
            CStringA line = text.Mid(start + 1, (end < 0 ? text.GetLength() : end) - start - 1);
            line.TrimRight("\r");
            start = end;
            if (line.IsEmpty()) continue;
            osc.m_channels.emplace_back(kind == 'D', line, doc);
            ++(kind == 'D' ? osc.m_discreteCount : osc.m_analogCount);
            --count;
            if (end < 0) break;
        }
    }
    if (!framesFound || frames <= 0) FormatError(path);
    osc.RebuildFrequencyChannels();

    // Scaling from the blocks; a channel without a scale entry keeps its codes.
    int analogIndex = 0;
    for (auto& ch : osc.m_channels) {
        if (ch.IsDiscrete()) continue;
        const int i = analogIndex++;
        double a = 1.0, b = 0.0;
        if (i < 8 * blocks) {
            const unsigned char* blk = scale[i / 8];
            const int j = i % 8;
            float g, dv;
            int16_t z1, z2;
            std::memcpy(&g, blk + 4 * j, 4);
            std::memcpy(&z1, blk + 32 + 2 * j, 2);
            std::memcpy(&dv, blk + 48 + 4 * j, 4);
            std::memcpy(&z2, blk + 80 + 2 * j, 2);
            a = dv == 0.0f ? 1.0 : double(g) / (double(dv) * 3276.8);
            if (!std::isfinite(a)) a = 1.0;
            b = -(double(z1) + double(z2)) * a;
            if (!std::isfinite(b)) b = 0.0;
        }
        ch.m_a = a;
        ch.m_b = b;
    }

    unsigned char stamp[kOscRecordSize];
    std::memcpy(stamp, take(), kOscRecordSize);
    ConvertOscDateRecord(stamp);
    int16_t records, untilStamp;
    std::memcpy(&records, stamp + 2, 2);
    std::memcpy(&untilStamp, stamp + 14, 2);

    SetupOscChannels(osc, progress, data + pos, size - pos, std::max<int>(records, 0), frames, path);
    osc.m_timeReferenceSample = int32_t(untilStamp) * frames;

    auto [trigger, first] = OscStampToTimes(stamp, frames, double(osc.m_samplingFrequency));
    osc.m_startDate.Format(L"%i/%02i/%4i", first.month, first.day, first.year);
    osc.m_startTime.Format(L"%i:%02i:%02i.%03i", first.hour, first.minute, first.second, first.millisecond);
    osc.m_triggerDate.Format(L"%i/%02i/%4i", trigger.month, trigger.day, trigger.year);
    osc.m_triggerTime.Format(L"%i:%02i:%02i.%03i", trigger.hour, trigger.minute, trigger.second, trigger.millisecond);

    analogIndex = 0;
    for (auto& ch : osc.m_channels) {
        if (ch.IsDiscrete()) continue;
        const int i = analogIndex++;
        // The time-stamp record has primary values for the first sixteen analog channels.
        double v = i < 16 ? double(BeFloat(stamp + 64 + 4 * i)) : 1.0;
        if (!(v > 0.1 && v < 100000.0)) v = 1.0;
        ch.m_primary = ch.m_filePrimaryValue = v;
    }
}
