#include "formats/ComtradeCfg.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"

namespace comtrade {

double ParseDouble(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n' || s[i] == '\v' || s[i] == '\f'))
        ++i;
    if (i < s.size() && s[i] == '+') ++i;
    double v = 0.0;
    auto r = std::from_chars(s.data() + i, s.data() + s.size(), v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // strtod's answer: the overflowing or underflowing value keeps its sign.
        std::string copy(s.substr(i));
        return std::strtod(copy.c_str(), nullptr);
    }
    return r.ec == std::errc() ? v : 0.0;
}

std::string_view TextCursor::ReadLine() {
    SkipBlanks();
    const char* start = m_p;
    while (m_p < m_end && *m_p != '\r' && *m_p != '\n') ++m_p;
    std::string_view line(start, size_t(m_p - start));
    if (m_p < m_end) ++m_p;
    return line;
}

std::string_view TextCursor::ReadField() {
    SkipBlanks();
    const char* start = m_p;
    while (m_p < m_end && !IsSeparator(*m_p)) ++m_p;
    std::string_view field(start, size_t(m_p - start));
    if (m_p < m_end) {
        m_last = *m_p;
        ++m_p;
    } else {
        m_last = 0;
    }
    return field;
}

int64_t TextCursor::ReadInt64() {
    SkipBlanks();
    uint64_t value = 0;
    bool negative = false, saturated = false;
    while (m_p < m_end) {
        char c = *m_p;
        if (c >= '0' && c <= '9') {
            if (value > (uint64_t(INT64_MAX) - 9) / 10) saturated = true;
            else value = value * 10 + uint64_t(c - '0');
        } else if (c == '-') {
            negative = !negative;
        } else {
            break;
        }
        ++m_p;
    }
    while (m_p < m_end && !IsSeparator(*m_p)) ++m_p;
    if (m_p < m_end) {
        m_last = *m_p;
        ++m_p;
    } else {
        m_last = 0;
    }
    int64_t v = saturated ? INT64_MAX : int64_t(value);
    return negative ? -v : v;
}

int TextCursor::ReadInt() {
    int64_t v = ReadInt64();
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return int(v);
}

}  // namespace comtrade

using comtrade::TextCursor;

namespace {

CStringA Narrow(std::string_view s) { return CStringA(std::string(s)); }
CString Wide(std::string_view s, bool utf8 = false) {
    return CString(utf8 ? platform::Utf8ToWide(s) : platform::AnsiToWide(s));
}

// C _wtoi: leading blanks, a sign, then digits.
int LeadingInt(const CString& s) {
    const std::wstring& w = s.str();
    size_t i = 0;
    while (i < w.size() && (w[i] == L' ' || w[i] == L'\t')) ++i;
    bool neg = false;
    if (i < w.size() && (w[i] == L'-' || w[i] == L'+')) neg = w[i++] == L'-';
    long long v = 0;
    while (i < w.size() && w[i] >= L'0' && w[i] <= L'9') {
        v = v * 10 + (w[i++] - L'0');
        if (v > INT32_MAX) v = INT32_MAX;
    }
    return int(neg ? -v : v);
}

[[noreturn]] void FormatError(const CString& path) { throw new CTenvorikException(330, path); }

void TrimTrailingSpaces(CStringA& s) { s.TrimRight(' '); }

ComtradeChannelLine ReadAnalogLine(TextCursor& in) {
    ComtradeChannelLine ch;
    in.ReadField();  // index: channels are numbered by position
    ch.name = Narrow(in.ReadField());
    ch.phase = Narrow(in.ReadField());
    ch.circuit = Narrow(in.ReadField());
    ch.unit = Narrow(in.ReadField());
    ch.a = comtrade::ParseDouble(in.ReadField());
    ch.b = comtrade::ParseDouble(in.ReadField());
    ch.skew = comtrade::ParseDouble(in.ReadField());
    ch.minCode = in.ReadInt();
    ch.maxCode = in.ReadInt();
    char sep = in.LastSeparator();
    if (sep != '\r' && sep != '\n' && sep != 0) {
        ch.hasRatio = true;
        ch.primaryText = Narrow(in.ReadField());
        ch.secondaryText = Narrow(in.ReadField());
        ch.primary = comtrade::ParseDouble(ch.primaryText.view());
        ch.secondary = comtrade::ParseDouble(ch.secondaryText.view());
        CStringA ps = Narrow(in.ReadField());
        ch.filePrimary = ps.CompareNoCase("P") == 0;
    }
    TrimTrailingSpaces(ch.name);
    return ch;
}

ComtradeChannelLine ReadStatusLine(TextCursor& in, bool withYear) {
    ComtradeChannelLine ch;
    in.ReadField();  // index
    ch.name = Narrow(in.ReadField());
    if (withYear) {
        // Kept, so that a record saved again writes them back.
        ch.phase = Narrow(in.ReadField());
        ch.circuit = Narrow(in.ReadField());
    }
    int y = in.ReadInt();
    ch.normalState = unsigned(y);
    // Further fields of the line are skipped. When the state already ended the line, the
    // cursor stands at the next line and must stay there (a file with bare LF line ends).
    char sep = in.LastSeparator();
    if (sep != '\n' && sep != '\r' && sep != 0) in.SkipToLineFeed();
    TrimTrailingSpaces(ch.name);
    return ch;
}

}  // namespace

bool IsUtf8WithNonAscii(std::string_view bytes) {
    bool beyondAscii = false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    for (size_t i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t len;
        uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) len = 2, cp = c & 0x1Fu;
        else if (c >= 0xE0 && c <= 0xEF) len = 3, cp = c & 0x0Fu;
        else if (c >= 0xF0 && c <= 0xF4) len = 4, cp = c & 0x07u;
        else return false;
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return false;
            cp = cp << 6 | (p[i + k] & 0x3Fu);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        beyondAscii = true;
        i += len;
    }
    return beyondAscii;
}

ComtradeConfig ParseComtradeCfg(std::string_view text, const CString& path) {
    ComtradeConfig cfg;
    cfg.utf8 = IsUtf8WithNonAscii(text);
    TextCursor in(text.data(), text.data() + text.size());
    if (in.AtEndAfterBlanks()) FormatError(path);

    // Line 1: station, device, revision year.
    {
        CString line = Wide(in.ReadLine());
        CString fields[3];
        // Fields are split at every comma, so that an empty device keeps the year third.
        int n = 0;
        int start = 0;
        while (n < 3) {
            int comma = line.Find(L',', start);
            if (comma < 0) {
                fields[n++] = line.Mid(start);
                break;
            }
            fields[n++] = line.Mid(start, comma - start);
            start = comma + 1;
        }
        cfg.station = CStringA(fields[0]);
        cfg.device = CStringA(fields[1]);
        cfg.revision = CStringA(fields[2]);
        cfg.revision.Trim();
    }

    // Line 2: total, analog count, status count.
    unsigned analog = 0, status = 0;
    {
        if (in.AtEndAfterBlanks()) FormatError(path);
        CString line = Wide(in.ReadLine());
        int pos = 0;
        CString t = line.Tokenize(L",", pos);
        CString x = pos >= 0 ? line.Tokenize(L",", pos) : CString();
        CString y = pos >= 0 ? line.Tokenize(L",", pos) : CString();
        x.Trim();
        int nt = LeadingInt(t), nx = LeadingInt(x), ny = LeadingInt(y);
        if (nt == nx) {
            if (!x.IsEmpty() && x[x.GetLength() - 1] == L'A') {
                analog = unsigned(std::max(nx, 0));
                status = unsigned(std::max(ny, 0));
            } else {
                status = unsigned(std::max(nx, 0));
            }
        } else {
            if (nx < 0 || ny < 0) FormatError(path);
            analog = unsigned(nx);
            status = unsigned(ny);
        }
    }

    // Channel lines. Counts come from the file: a text that ends before the lines it
    // announces is refused rather than trusted.
    const bool withYear = !cfg.revision.IsEmpty();
    for (unsigned i = 0; i < analog; ++i) {
        if (in.AtEndAfterBlanks()) FormatError(path);
        cfg.analog.push_back(ReadAnalogLine(in));
    }
    for (unsigned i = 0; i < status; ++i) {
        if (in.AtEndAfterBlanks()) FormatError(path);
        cfg.status.push_back(ReadStatusLine(in, withYear));
    }

    if (in.AtEndAfterBlanks()) FormatError(path);
    cfg.lineFrequency = comtrade::ParseDouble(in.ReadField());
    if (in.AtEndAfterBlanks()) FormatError(path);
    int nrates = in.ReadInt();
    if (nrates < 1) nrates = 1;
    for (int i = 0; i < nrates; ++i) {
        if (in.AtEndAfterBlanks()) FormatError(path);
        ComtradeRate r;
        r.rate = comtrade::ParseDouble(in.ReadField());
        r.lastSample = in.ReadInt();
        cfg.rates.push_back(r);
    }

    CString* dates[] = {&cfg.startDate, &cfg.startTime, &cfg.triggerDate, &cfg.triggerTime};
    for (CString* d : dates) *d = Wide(in.ReadField(), cfg.utf8);

    cfg.fileType = Wide(in.ReadField());
    cfg.fileType.Trim(L' ');
    // The 2013 revision spells the types in capitals ("BINARY32"), and some writers in
    // lower case: the type is known whatever its case.
    if (cfg.fileType.CompareNoCase(L"ASCII") != 0 && cfg.fileType.CompareNoCase(L"BINARY") != 0 &&
        cfg.fileType.CompareNoCase(L"binary32") != 0) {
        // A type of the standard that is not read is named, so that the user knows why.
        if (cfg.fileType.CompareNoCase(L"FLOAT32") == 0) {
            CString text;
            text.Format(LoadResString(9790).GetString(), path.GetString());
            throw CTenvorikException::FromText(text);
        }
        FormatError(path);
    }

    cfg.timeMultiplier = 1.0;
    if (!in.AtEndAfterBlanks()) {
        const std::string_view field = in.ReadField();
        cfg.timeMultiplier = comtrade::ParseDouble(field);
        // A multiplier that would make every time 0, negative or undefined is no multiplier.
        if (!(cfg.timeMultiplier > 0.0) || !std::isfinite(cfg.timeMultiplier)) {
            cfg.multiplierText = Wide(field, cfg.utf8);
            cfg.multiplierText.Trim();
            cfg.timeMultiplier = 1.0;
        }
        if (cfg.revision == "2013" && !in.AtEndAfterBlanks()) {
            // Line by line, so that a file with one field on the time-code line does not take
            // the time-quality line for the local code.
            const std::string_view line = in.ReadLine();
            const size_t comma = line.find(',');
            cfg.hasTimeCodeLine = true;
            cfg.timeCode = Wide(line.substr(0, comma));
            cfg.timeCode.Trim();
            if (comma != std::string_view::npos) {
                cfg.localTimeCode = Wide(line.substr(comma + 1));
                cfg.localTimeCode.Trim();
            }
            if (!in.AtEndAfterBlanks()) {
                cfg.timeQuality = Wide(in.ReadLine());
                cfg.timeQuality.Trim();
            }
        }
    }
    return cfg;
}

std::string FormatExactNumber(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%g", v);
    if (std::isfinite(v) && comtrade::ParseDouble(buf) != v) std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

namespace {

// Reals of the configuration text: the stream's default notation at 23 significant digits.
std::string Real(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.23g", v);
    return buf;
}

// A text field of one line: a line break kept from another format (an ".osc" unit text may hold
// one) would cut the line in two and the record would no longer open.
std::string OneLine(const CStringA& text) {
    std::string s = text.str();
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

}  // namespace

std::string FormatComtradeCfg(const ComtradeConfig& cfg) {
    std::string out;
    const char* eol = "\r\n";
    const bool extended = !cfg.revision.IsEmpty();

    out += OneLine(cfg.station);
    if (!cfg.device.IsEmpty() || extended) out += "," + OneLine(cfg.device);
    if (extended) out += "," + cfg.revision.str();
    out += eol;

    out += std::to_string(cfg.analog.size() + cfg.status.size()) + "," + std::to_string(cfg.analog.size()) + "A," +
           std::to_string(cfg.status.size()) + "D" + eol;

    for (const auto& ch : cfg.analog) {
        out += std::to_string(ch.index) + "," + OneLine(ch.name) + "," + OneLine(ch.phase) + "," + OneLine(ch.circuit) + "," +
               OneLine(ch.unit) + "," + FormatExactNumber(ch.a) + "," + FormatExactNumber(ch.b) + "," +
               FormatExactNumber(ch.skew) + "," + std::to_string(ch.minCode) + "," + std::to_string(ch.maxCode);
        if (extended) {
            // A channel read without the ratio fields writes its numbers, so that the
            // file read back keeps the ratio 1/1 instead of an empty text that reads as 0.
            std::string p = ch.primaryText.IsEmpty() ? FormatExactNumber(ch.primary) : ch.primaryText.str();
            std::string s = ch.secondaryText.IsEmpty() ? FormatExactNumber(ch.secondary) : ch.secondaryText.str();
            out += "," + p + "," + s + "," + (ch.filePrimary ? "P" : "S");
        }
        out += eol;
    }
    for (const auto& ch : cfg.status) {
        out += std::to_string(ch.index) + "," + OneLine(ch.name) + "," +
               (extended ? OneLine(ch.phase) + "," + OneLine(ch.circuit) + "," : std::string()) +
               std::to_string(ch.normalState) + eol;
    }

    out += Real(cfg.lineFrequency) + eol;
    // No fixed rate: the standard's nrates 0 followed by "0,last sample"; independent readers
    // refuse a declared rate of 0.
    const bool stampsOnly = cfg.rates.size() == 1 && cfg.rates[0].rate == 0.0;
    out += (stampsOnly ? std::string("0") : std::to_string(cfg.rates.size())) + eol;
    for (const auto& r : cfg.rates) out += Real(r.rate) + "," + std::to_string(r.lastSample) + eol;

    auto oem = [&cfg](const CString& s) { return cfg.utf8 ? platform::WideToUtf8(s.view()) : platform::WideToOem(s.view()); };
    out += oem(cfg.startDate) + "," + oem(cfg.startTime) + eol;
    out += oem(cfg.triggerDate) + "," + oem(cfg.triggerTime) + eol;
    out += oem(cfg.fileType) + eol;
    if (extended) out += Real(cfg.timeMultiplier) + eol;
    if (cfg.revision == "2013" && (cfg.hasTimeCodeLine || !cfg.timeQuality.IsEmpty())) {
        out += oem(cfg.timeCode) + "," + oem(cfg.localTimeCode) + eol;
        if (!cfg.timeQuality.IsEmpty()) out += oem(cfg.timeQuality) + eol;
    }
    return out;
}
