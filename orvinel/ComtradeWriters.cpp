#include <algorithm>
#include <climits>
#include <cmath>

#include "orvinel/ComtradeConverter.h"
#include "orvinel/ConverterOutput.h"
#include "orvinel/OrvinelResources.h"
#include "orvinel/RecordLayout.h"
#include "orvinel/TextNumbers.h"
#include "utils/BlockTimeUtils.h"

using orvinel::AppendFixed;
using orvinel::AppendInt;
using orvinel::ReadU16;
using orvinel::ReadU32;

namespace {

constexpr const char* kEol = "\r\n";

bool Fail(CString& error, unsigned id) {
    error = OrvinelResString(id);
    return false;
}

void AppendText(std::string& out, const CStringA& text) { out.append(text.str()); }

// A text of the description inside a field of the configuration: a comma would split the field
// and a line break end the line, so that every later field shifts. The comma becomes a
// semicolon, a line break a space.
void AppendField(std::string& out, const CStringA& text) {
    for (char c : text.str()) out += c == ',' ? ';' : (c == '\r' || c == '\n') ? ' ' : c;
}

// The sampling rate of a block as the recorder states it, in single precision.
float Rate(uint32_t clockHz, uint32_t divisor) { return float(clockHz) / float(divisor); }

int64_t ToMicroseconds(double value) {
    if (!(value < 9.2e18)) return INT64_MAX;
    return int64_t(value);
}

}  // namespace

bool ComtradeConverter::MakeCT_CFG(Output& out, unsigned char* record, const Layout& layout,
                                   const std::vector<CAinCfg>& analog, const std::vector<CDinCfg>& digital,
                                   int frequency, CString& error) {
    const int64_t size = recordSize;
    if (size < 26) return Fail(error, 23011);
    if (layout.dataStart > size || layout.dataStart + int64_t(layout.ringBlocks) * layout.blockSize > size)
        return Fail(error, 23011);
    if (layout.ringBlocks <= layout.ringStart) return Fail(error, 23001);

    // Everything that would make a rate or a time meaningless is refused before the record is
    // touched: a zero clock or divisor, and more samples than a sample number can count.
    const int64_t n = layout.samplesPerBlock;
    const int64_t blocks = layout.blocks;
    if (layout.clockHz == 0) return Fail(error, 23001);
    for (int64_t b = 0; b < blocks; ++b)
        if (Layout::Divisor(layout.Block(record, b)) == 0) return Fail(error, 23001);
    if (n > 0 && blocks > INT_MAX / n) return Fail(error, 23001);

    // The oldest ring block comes first.
    unsigned char* ring = record + layout.dataStart;
    std::rotate(ring, ring + layout.ringStart * layout.blockSize, ring + layout.ringBlocks * layout.blockSize);

    if (!out.Open("cfg")) return Fail(error, 23004);

    std::string text;
    CString version;
    version.Format(OrvinelResString(23003), RecDev.GetString(), ControlSum.GetString());
    AppendField(text, CStringA(StationName));
    text += ',';
    AppendField(text, CStringA(version));
    text += ",1999";
    text += kEol;

    const int64_t a = layout.analogCount, d = layout.digitalCount;
    AppendInt(text, a + d);
    text += ',';
    AppendInt(text, a);
    text += "A,";
    AppendInt(text, d);
    text += 'D';
    text += kEol;
    for (size_t i = 0; i < analog.size(); ++i) {
        const CAinCfg& line = analog[i];
        AppendInt(text, int64_t(i) + 1);
        for (const CStringA* field : {&line.name, &line.phase, &line.component, &line.unit}) {
            text += ',';
            AppendField(text, *field);
        }
        text += ',';
        orvinel::AppendRoundTrip(text, line.a);
        text += ',';
        AppendFixed(text, line.b);
        for (int value : {line.skew, line.min, line.max}) {
            text += ',';
            AppendInt(text, value);
        }
        text += ',';
        AppendFixed(text, line.primary, 3);
        text += ',';
        AppendFixed(text, line.secondary, 1);
        text += ',';
        AppendText(text, line.ps);
        text += kEol;
    }
    for (const CDinCfg& line : digital) {
        AppendInt(text, line.number);
        text += ',';
        AppendField(text, line.name);
        text += ",,,";
        AppendInt(text, line.normalState);
        text += kEol;
    }
    AppendInt(text, frequency);
    text += kEol;

    // Rate segments: a block whose divisor differs from the one before starts a new segment.
    std::vector<std::pair<uint32_t, int64_t>> segments;  // divisor, end sample
    for (int64_t b = 0; b < blocks; ++b) {
        uint32_t divisor = Layout::Divisor(layout.Block(record, b));
        if (segments.empty() || segments.back().first != divisor) segments.push_back({divisor, 0});
        segments.back().second = (b + 1) * n;
    }
    AppendInt(text, int64_t(segments.size()));
    text += kEol;
    for (const auto& [divisor, end] : segments) {
        AppendFixed(text, Rate(layout.clockHz, divisor));
        text += ',';
        AppendInt(text, end);
        text += kEol;
    }

    totalSamples = int(blocks * n);
    int64_t triggerSeconds = layout.triggerSeconds;
    unsigned short triggerMs = layout.triggerMs;
    unsigned char ringBlocks = layout.ringBlocks;
    int perBlock = int(n);
    SetTimeMarks(text, triggerSeconds, triggerMs, ringBlocks, perBlock, Layout::Divisor(layout.Block(record, 0)),
                 layout.clockHz);
    text += "ASCII";
    text += kEol;
    text += "1.0";
    text += kEol;

    if (!out.Write(text)) return Fail(error, 23001);
    return true;
}

bool ComtradeConverter::SetTimeMarks(std::string& text, int64_t triggerSeconds, unsigned short triggerMs,
                                     unsigned char ringBlocks, int samplesPerBlock, uint32_t firstDivisor,
                                     uint32_t clockHz) {
    double span = double(ringBlocks) * samplesPerBlock * double(firstDivisor) / double(clockHz);
    double spanMs = span * 1000.0;
    // A ring longer than the time since the recorder's epoch starts at the epoch.
    double first = std::trunc(double(triggerSeconds) + triggerMs / 1000.0 - span);
    unsigned long firstSeconds = first <= 0 ? 0ul : (unsigned long)std::min(first, 4294967295.0);
    double x = double(triggerMs) - spanMs;
    double ms;
    if (float(triggerMs) >= float(spanMs)) {
        ms = std::floor(x + 0.5);
    } else {
        double k = std::ceil(-x / 1000.0);
        ms = std::floor(x + 1000.0 * k + 0.5);
    }
    unsigned short firstMs = (unsigned short)std::clamp(ms, 0.0, 1000.0);

    for (auto [seconds, millis] : {std::pair<unsigned long, unsigned short>{firstSeconds, firstMs},
                                   {(unsigned long)triggerSeconds, triggerMs}}) {
        char buffer[256] = {};
        BlockTimeUtils::ConvertByTimeZone(seconds, millis, TimeZoneOffsetHours, SwitchToSummerTime, buffer, 255, true,
                                          true);
        text += buffer;
        text += kEol;
    }
    return true;
}

bool ComtradeConverter::MakeCT_DAT(Output& out, const unsigned char* record, const Layout& layout, CString& error) {
    if (!out.Open("dat")) return Fail(error, 23005);
    if (showProgress) {
        SetProgressBarPos(0);
        SetProgressInfoAboutFast(OrvinelResString(23006) + L"...");
    }

    const int64_t n = layout.samplesPerBlock;
    const int64_t analogCount = layout.analogCount, digitalCount = layout.digitalCount;
    const int w = layout.bytesPerValue;
    std::string text;
    text.reserve(1 << 20);
    bool ok = true;
    int64_t sample = 1;
    // Sample times in microseconds from the first sample. Each sample lasts one period of its
    // own block, so the first sample of a block with a new rate follows the last one of the
    // block before by that block's period. They are worked out as the lines are written: a
    // table of them would cost 8 bytes a sample for nothing.
    int64_t time = 0;
    double accumulator = 0.0;
    for (int64_t b = 0; b < layout.blocks && ok; ++b) {
        const unsigned char* block = layout.Block(record, b);
        const double period = 1000000.0 / double(Rate(layout.clockHz, Layout::Divisor(block)));
        if (showProgress) {
            int64_t offset = layout.dataStart + b * layout.blockSize + 4 - 2;
            int p = int(float(offset) / float(recordSize) * 100.0f);
            SetProgressBarPos(p);
            CString step;
            step.Format(L"%d%%", p);
            SetProgressBarStep(step);
        }
        const unsigned char* values = block + 4;
        const unsigned char* states = values + layout.analogBytes;
        for (int64_t s = 0; s < n; ++s, ++sample) {
            if (sample > 1) text += kEol;
            AppendInt(text, sample);
            text += ',';
            AppendInt(text, time);
            time = ToMicroseconds(std::floor(accumulator + period + 0.5));
            accumulator += period;
            for (int64_t c = 0; c < analogCount; ++c) {
                long long value;
                if (layout.status) {
                    uint16_t word = ReadU16(values + 2 * c);
                    value = s < 16 ? (word >> s) & 1 : 0;
                } else {
                    const unsigned char* p = values + (c * n + s) * w;
                    switch (w) {
                        case 1: value = p[0]; break;
                        case 2: value = int16_t(ReadU16(p)); break;
                        case 3: {
                            int32_t v = int32_t(p[0] | p[1] << 8 | p[2] << 16);
                            value = (v & 0x800000) ? v - 0x1000000 : v;
                            break;
                        }
                        default: value = int32_t(ReadU32(p)); break;
                    }
                }
                text += ',';
                AppendInt(text, value);
            }
            for (int64_t dch = 0; dch < digitalCount; ++dch) {
                text += ',';
                text += states[dch] ? '1' : '0';
            }
            if (text.size() >= (1 << 20)) {
                ok = out.Write(text);
                text.clear();
            }
        }
    }
    if (ok) ok = out.Write(text);
    if (showProgress) {
        SetProgressInfoAbout(OrvinelResString(23007) + L"...");
        SetProgressBarStep(L"100%");
        SetProgressBarPos(101);
        SetProgressBarStep(CString());
    }
    if (!ok) return Fail(error, 23001);
    return true;
}

bool ComtradeConverter::MakeCT_HDR(Output& out, CString& error) {
    if (!out.Open("hdr")) return Fail(error, 23008);
    std::string text;
    AppendText(text, CStringA(OrvinelResString(23009)));
    text += kEol;
    AppendText(text, CStringA(OrvinelResString(23010)));
    text += '.';
    text += kEol;
    text += kEol;
    if (!out.Write(text)) return Fail(error, 23008);
    return true;
}
