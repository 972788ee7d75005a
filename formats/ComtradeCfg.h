#pragma once
// The COMTRADE configuration file (".cfg") as plain data: what the reader takes from the
// text and what the writer puts back. The document turns it into channels and back.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CString.h"

struct ComtradeChannelLine {
    int index = 0;            // 1-based position written on the line; not kept when reading
    CStringA name, phase, circuit, unit;
    double a = 1.0, b = 0.0, skew = 0.0;
    int minCode = 0, maxCode = 0;
    bool hasRatio = false;    // primary, secondary and P/S were on the line
    CStringA primaryText, secondaryText;
    double primary = 1.0, secondary = 1.0;
    bool filePrimary = false;
    unsigned normalState = 0; // status channels
};

struct ComtradeRate {
    double rate = 0.0;         // samples per second
    int32_t lastSample = 0;    // number of the segment's last sample
};

struct ComtradeConfig {
    CStringA station, device, revision;
    std::vector<ComtradeChannelLine> analog, status;
    double lineFrequency = 0.0;
    std::vector<ComtradeRate> rates;
    CString startDate, startTime, triggerDate, triggerTime;
    CString fileType;          // "ASCII", "BINARY" or "binary32", whatever the case written
    double timeMultiplier = 1.0;
    CString multiplierText;    // the multiplier as written, when it was not usable and 1 was taken
    CString localTimeCode;     // 2013 only
    CString timeCode;          // 2013: the standard's time code, beside the local one ("-5h30")
    CString timeQuality;       // 2013: the time-quality line as written ("B,3"), empty when absent
    bool hasTimeCodeLine = false;
    bool utf8 = false;         // the texts are UTF-8 (valid UTF-8 holding non-ASCII bytes)
};

// True when `bytes` are valid UTF-8 and hold at least one character beyond ASCII.
bool IsUtf8WithNonAscii(std::string_view bytes);

// Reads a configuration text. A type other than the three (in any case), a text that ends
// before the channel or rate lines it announces, or no text at all throws CTenvorikException
// (330) with `path` as detail. A time multiplier that is 0, negative or not a finite number is
// taken as 1 and kept in `multiplierText`.
ComtradeConfig ParseComtradeCfg(std::string_view text, const CString& path);

// Writes the configuration text, CR LF after every line; a single rate of 0 (times taken from
// the data file's time stamps) is written as the standard states it, nrates 0; the date and time texts in UTF-8 when
// `utf8` is set, else in the OEM code page. `analog` and `status` hold only
// the channels to write, with their positions in `index`.
std::string FormatComtradeCfg(const ComtradeConfig& cfg);

// A scaling number as written on a channel line: "%g" when that reads back to the same
// double, otherwise all 17 digits.
std::string FormatExactNumber(double v);

// Text helpers with the reader's field rules, shared by the data readers.
namespace comtrade {

// C atof on a field, independent of the locale; no number gives 0.
double ParseDouble(std::string_view s);

// A cursor over a mapped text with the field rules of the record files: blanks are tab,
// LF, CR and space; separators are tab, LF, CR and comma.
class TextCursor {
public:
    TextCursor(const char* begin, const char* end) : m_begin(begin), m_p(begin), m_end(end) {}
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool IsSeparator(char c) { return c == ',' || c == '\t' || c == '\r' || c == '\n'; }

    void SkipBlanks() {
        while (m_p < m_end && IsBlank(*m_p)) ++m_p;
    }
    bool AtEnd() const { return m_p >= m_end; }
    // Blanks skipped, nothing left.
    bool AtEndAfterBlanks() {
        SkipBlanks();
        return AtEnd();
    }
    // True when the next field is empty: only spaces or tabs before its separator or the end.
    bool FieldIsBlank() {
        while (m_p < m_end && (*m_p == ' ' || *m_p == '\t')) ++m_p;
        return m_p >= m_end || IsSeparator(*m_p);
    }
    // One line after leading blanks; the cursor steps over one CR or LF.
    std::string_view ReadLine();
    // One field after leading blanks, up to a separator (consumed, and remembered).
    std::string_view ReadField();
    // One integer field: digits and '-' (which toggles the sign); anything else stops the
    // number and the rest of the field is skipped. Saturates instead of overflowing.
    int64_t ReadInt64();
    // The usual field of a data file, read without the general rules: after blanks, a sign
    // ("-", or "+" too with `plus`) and 1 to `maxDigits` digits, then a separator or the end.
    // The cursor then steps over the field and its separator; for any other field it stays
    // after the blanks and false is returned.
    bool ReadDigits(size_t maxDigits, bool plus, bool& negative, uint64_t& value) {
        SkipBlanks();
        const char* p = m_p;
        negative = false;
        if (p < m_end && (*p == '-' || (plus && *p == '+'))) negative = *p++ == '-';
        const char* const digits = p;
        uint64_t v = 0;
        while (p < m_end && size_t(p - digits) < maxDigits && static_cast<unsigned char>(*p - '0') < 10)
            v = v * 10 + uint64_t(*p++ - '0');
        if (p == digits || (p < m_end && !IsSeparator(*p))) return false;
        m_last = p < m_end ? *p : 0;
        m_p = p < m_end ? p + 1 : p;
        value = v;
        return true;
    }
    int ReadInt();
    // The separator consumed by the last field read; 0 when the text ended instead.
    char LastSeparator() const { return m_last; }
    // Moves to the next LF without consuming it.
    void SkipToLineFeed() {
        while (m_p < m_end && *m_p != '\n') ++m_p;
    }
    const char* Pos() const { return m_p; }
    size_t Consumed() const { return size_t(m_p - m_begin); }

private:
    const char* m_begin;
    const char* m_p;
    const char* m_end;
    char m_last = 0;
};

}  // namespace comtrade
