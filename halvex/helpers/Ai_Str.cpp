#include "halvex/helpers/Ai_Str.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <new>
#include <string>

#include "halvex/helpers/HalvexResources.h"
#include "platform/Encoding.h"

namespace {

// The fixed table of forbidden characters, in its order.
constexpr wchar_t kForbiddenTable[] = {L'\\', L',', L'/', L':', L'*', L'?', L'"', L'\'', L'<', L'>', L'|'};
constexpr int kForbiddenTableSize = int(sizeof(kForbiddenTable) / sizeof(kForbiddenTable[0]));
constexpr const wchar_t* kOtherQuotes = L"`\x201E\x2018\x2019\x201C\x201D\x00AB\x00BB";

bool Contains(const CString& set, wchar_t c) { return set.Find(c) >= 0; }

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f'; }

// The leading number the scanner's "%d" or "%x" reads; false when there is none.
bool ScanInt(const CString& text, bool hex, long long& out) {
    const std::wstring& s = text.str();
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
    if (hex && i + 1 < s.size() && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
        // "0x" counts only when a digit follows; "0" alone is then the number.
        auto isHex = [](wchar_t c) { return std::iswxdigit(wint_t(c)) && c < 0x80; };
        if (i + 2 < s.size() && isHex(s[i + 2])) i += 2;
    }
    unsigned long long v = 0;
    bool any = false, overflow = false;
    for (; i < s.size(); ++i) {
        wchar_t c = s[i];
        int d = c >= L'0' && c <= L'9' ? c - L'0'
                : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10
                : hex && c >= L'A' && c <= L'F' ? c - L'A' + 10
                : -1;
        if (d < 0) break;
        any = true;
        unsigned base = hex ? 16 : 10;
        if (v > (ULLONG_MAX - unsigned(d)) / base) overflow = true;
        else v = v * base + unsigned(d);
    }
    if (!any) return false;
    if (hex) {
        // "%x" stores into an unsigned 32-bit word: larger values keep their low bits.
        uint32_t w = overflow ? UINT32_MAX : uint32_t(v);
        if (negative) w = uint32_t(0u - w);
        out = int32_t(w);
        return true;
    }
    long long lim = negative ? -(long long)INT_MIN : INT_MAX;
    if (overflow || v > (unsigned long long)lim) v = (unsigned long long)lim;
    out = negative ? -(long long)v : (long long)v;
    return true;
}

// The leading floating-point number, "." as decimal point; false when there is none.
bool ScanDouble(const CString& text, double& out) {
    const std::wstring& s = text.str();
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    std::string ascii;
    for (; i < s.size() && s[i] > 0 && s[i] < 0x80; ++i) ascii += char(s[i]);
    const char* b = ascii.c_str();
    const char* e = b + ascii.size();
    if (b != e && *b == '+') {
        ++b;
        if (b != e && (*b == '+' || *b == '-')) return false;
    }
    auto r = std::from_chars(b, e, out, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large becomes infinite, too small zero, as the run-time's conversion gives.
        out = std::strtod(std::string(b, r.ptr).c_str(), nullptr);
        return true;
    }
    return r.ec == std::errc();
}

}  // namespace

wchar_t CAi_Str::CharToLower(wchar_t c) {
    if (c < 0x80) return c >= L'A' && c <= L'Z' ? wchar_t(c + 32) : c;
    if (c >= 0x0410 && c <= 0x042F) return wchar_t(c + 0x20);
    if (c == 0x0401) return 0x0451;
    return c;
}

CString CAi_Str::StringToLower(const CString& text) {
    CString r = text;
    for (auto& c : r.str()) c = CharToLower(c);
    return r;
}

int CAi_Str::ToInt(const CString& text, bool hex) {
    if (text.IsEmpty()) return 0;
    CString t = text;
    t.Remove(L'\x00A0');
    if (t.IsEmpty()) return 0;
    long long v = 0;
    return ScanInt(t, hex, v) ? int(v) : 0;
}

double CAi_Str::ToFloat(const CString& text) {
    double v = 0;
    return !text.IsEmpty() && ScanDouble(text, v) ? v : 0.0;
}

CString CAi_Str::ToString(int value) {
    CString s;
    s.Format(L"%d", value);
    return s;
}

CString CAi_Str::ToString(long value) {
    CString s;
    s.Format(L"%ld", value);
    return s;
}

CString CAi_Str::ToString(unsigned int value) {
    CString s;
    s.Format(L"%u", value);
    return s;
}

CString CAi_Str::ToString(unsigned long value) {
    CString s;
    s.Format(L"%lu", value);
    return s;
}

CString CAi_Str::ToString(double value, int precision, bool trimZeros) {
    if (precision < 0) return CString();
    CString s;
    s.Format(L"%.*f", precision, value);
    // "inf" and "nan" are no decimal texts to complete.
    if (!std::isfinite(value)) return s;
    if (s.Find(L'.') < 0) {
        s += L".0";
    } else if (trimZeros) {
        s.TrimRight(L'0');
        if (s.Right(1) == L".") s += L'0';
    }
    if (trimZeros && ToFloat(s) == 0.0) s = L"0";
    return s;
}

int CAi_Str::GetPrecision(const CString& text) {
    int dot = text.Find(L'.');
    return dot < 0 ? -1 : text.GetLength() - dot - 1;
}

int CAi_Str::To16x16(const CString& text) {
    double v = 0;
    if (text.IsEmpty() || !ScanDouble(text, v)) return 0;
    return To16x16(float(v));
}

int CAi_Str::To16x16(float value) {
    double v = std::trunc(double(value) * 65536.0);
    // Out-of-range values saturate instead of being undefined.
    if (std::isnan(v)) return 0;
    if (v >= double(INT_MAX)) return INT_MAX;
    if (v <= double(INT_MIN)) return INT_MIN;
    return int(v);
}

CString CAi_Str::From16x16(long value, int precision) { return ToString(double(value) / 65536.0, precision, true); }

unsigned CAi_Str::GetIntFromBinStr(const CString& text) {
    unsigned v = 0;
    for (wchar_t c : text.str()) {
        if (c == L' ') continue;
        v = (v << 1) | (c == L'1' ? 1u : 0u);
    }
    return v;
}

int CAi_Str::FromOctal(BYTE value) { return (value >> 4) * 10 + (value & 0x0F); }

CString CAi_Str::AddFloatZeroEndIfNeed(const CString& text) {
    CString s = text;
    int dot = s.Find(L'.');
    if (dot < 0) {
        s += L".0";
    } else {
        CString fraction = s.Mid(dot + 1);
        if (fraction.IsEmpty() || fraction.SpanIncluding(L"0") == fraction) {
            s.TrimRight(L'0');
            s += L'0';
        }
    }
    s.TrimLeft(L'0');
    if (s.Left(1) == L".") s = L"0" + s;
    return s;
}

bool CAi_Str::CutString(const CString& text, const CString& separator, std::vector<CString>* pieces,
                        const CString& emptyMarker) {
    if (!pieces) return false;
    pieces->clear();
    if (text.IsEmpty() || separator.IsEmpty()) return false;
    CString t = text;
    // A blank keeps an empty first or last field from vanishing in the tokenizer.
    if (t.Left(separator.GetLength()) == separator) t = L" " + t;
    if (t.Right(separator.GetLength()) == separator) t += L" ";
    int pos = 0;
    for (CString piece = t.Tokenize(separator, pos); pos >= 0; piece = t.Tokenize(separator, pos)) {
        piece.Trim(L" \t");
        if (piece == emptyMarker) piece.Empty();
        pieces->push_back(piece);
    }
    return true;
}

bool CAi_Str::CutString(const CString& text, const CString& separator, std::vector<int>* numbers,
                        const CString& emptyMarker) {
    if (!numbers) return false;
    numbers->clear();
    std::vector<CString> pieces;
    if (!CutString(text, separator, &pieces, emptyMarker) || pieces.empty()) return false;
    for (const auto& p : pieces) numbers->push_back(ToInt(p, false));
    return true;
}

CString CAi_Str::TakeStringInQuotes(CString* text) {
    if (!text) return CString();
    if (text->Left(1) != L"\"") *text = L"\"" + *text;
    if (text->GetLength() < 2 || text->Right(1) != L"\"") *text += L"\"";
    return *text;
}

int CAi_Str::AddIfNo(std::vector<CString>* texts, const CString& text) {
    if (!texts) return 255;
    for (const auto& t : *texts)
        if (t == text) return 0;
    texts->push_back(text);
    return 1;
}

void CAi_Str::StringToIP(const CString& text, BYTE& a, BYTE& b, BYTE& c, BYTE& d) {
    a = b = c = d = 0;
    if (text.IsEmpty()) return;
    BYTE* octets[4] = {&a, &b, &c, &d};
    int pos = 0, n = 0;
    for (CString piece = text.Tokenize(L".", pos); pos >= 0 && n < 4; piece = text.Tokenize(L".", pos), ++n) {
        piece.Trim(L' ');
        if (piece.IsEmpty()) piece = L"0";
        *octets[n] = BYTE(ToInt(piece, false) & 0xFF);
    }
}

DWORD CAi_Str::StringToIP(const CString& text) {
    BYTE a, b, c, d;
    StringToIP(text, a, b, c, d);
    return (DWORD(a) << 24) | (DWORD(b) << 16) | (DWORD(c) << 8) | DWORD(d);
}

CString CAi_Str::IPToString(BYTE a, BYTE b, BYTE c, BYTE d) {
    CString s;
    s.Format(L"%d.%d.%d.%d", int(a), int(b), int(c), int(d));
    return s;
}

CString CAi_Str::IPToString(unsigned long ip) {
    return IPToString(BYTE(ip >> 24), BYTE(ip >> 16), BYTE(ip >> 8), BYTE(ip));
}

CString CAi_Str::FlagToYesNo(int flag) { return HalvexLoadString(flag ? 7754 : 7753); }

CString CAi_Str::ReplaceForbiddenSymbols(const CString& text) {
    CString s = text;
    for (auto& c : s.str())
        if (std::wcschr(L"/\\:*?\"<>|", c) && c != 0) c = L'_';
    return s;
}

CString CAi_Str::GetStrOtherQuores() { return kOtherQuotes; }

CAi_Str::ETypeErrorSymbol CAi_Str::CheckForbiddenSymbols(const CString& text, int tableCount, bool checkControl,
                                                         bool checkLength, const CString& exceptions, bool useTable,
                                                         const CString& forbidden, int maxLength,
                                                         const CString& allowed, int* firstPosition, int* secondOut) {
    if (firstPosition) *firstPosition = -1;
    if (secondOut) *secondOut = -1;
    int inTable = tableCount < 0 ? 0 : tableCount > kForbiddenTableSize ? kForbiddenTableSize : tableCount;
    const CString quotes = kOtherQuotes;
    ETypeErrorSymbol result = eTypeErrorNone;
    int questionMarks = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        wchar_t c = text[i];
        if (!allowed.IsEmpty() && !Contains(allowed, c)) {
            if (firstPosition) *firstPosition = i;
            return eTypeErrorNotAllowed;
        }
        if (useTable && !Contains(exceptions, c)) {
            for (int k = 0; k < inTable; ++k)
                if (kForbiddenTable[k] == c) return eTypeErrorForbidden;
        } else if (c != 0 && Contains(forbidden, c)) {
            if (firstPosition && *firstPosition == -1) *firstPosition = i;
            if (secondOut) *secondOut = *secondOut < 0 ? i : *secondOut + 1;
            result = eTypeErrorForbidden;
        }
        if (inTable > 6 && Contains(quotes, c)) return eTypeErrorQuotes;
        if (checkControl && c < 32) return eTypeErrorControl;
        if (c == L'?') ++questionMarks;
    }
    // A character that code page 1251 cannot hold turns into an extra '?'.
    std::string ansi = platform::WideToAnsi(text.view());
    int ansiMarks = 0;
    for (char ch : ansi) ansiMarks += ch == '?';
    if (ansiMarks != questionMarks) return eTypeErrorNotAnsi;
    if (checkLength && text.GetLength() > maxLength) return eTypeErrorLength;
    return result;
}

CString CAi_Str::GetETypeErrorSymbolToString(ETypeErrorSymbol kind, const CString& symbols, int maxLength,
                                             const CString& allowed) {
    switch (kind) {
        case eTypeErrorForbidden:
        case eTypeErrorQuotes: {
            CString s = HalvexLoadString(7368) + symbols;
            s.Replace(kOtherQuotes, L"");
            return s;
        }
        case eTypeErrorControl: return HalvexLoadString(7373);
        case eTypeErrorLength: {
            CString s;
            s.Format(HalvexLoadString(7374).GetString(), maxLength);
            return s;
        }
        case eTypeErrorNotAnsi: return HalvexLoadString(7375);
        case eTypeErrorNotAllowed: return HalvexLoadString(7376) + allowed;
        default: return CString();
    }
}

wchar_t* CAi_Str::ToChar(const CString& text, wchar_t** buffer) {
    if (!buffer) return nullptr;
    delete[] *buffer;
    *buffer = nullptr;
    wchar_t* b = new (std::nothrow) wchar_t[size_t(text.GetLength()) + 1];
    if (!b) return nullptr;
    std::wmemcpy(b, text.GetString(), size_t(text.GetLength()) + 1);
    *buffer = b;
    return b;
}

void CAi_Str::ToBuffers(const CString& text, wchar_t** buffer, int count) {
    if (!buffer) throw false;
    if (count <= 0) count = text.GetLength() + 1;
    if (!*buffer) {
        *buffer = new (std::nothrow) wchar_t[size_t(count)];
        if (!*buffer) throw false;
    }
    std::wmemset(*buffer, 0, size_t(count));
    size_t n = std::min<size_t>(size_t(text.GetLength()), size_t(count) - 1);
    std::wmemcpy(*buffer, text.GetString(), n);
}

void CAi_Str::ToBuffers(const CString& text, char** buffer, int count) {
    if (!buffer) throw false;
    std::string bytes = platform::WideToAnsi(text.view());
    if (count <= 0) count = int(bytes.size()) + 1;
    if (!*buffer) {
        *buffer = new (std::nothrow) char[size_t(count)];
        if (!*buffer) throw false;
    }
    std::memset(*buffer, 0, size_t(count));
    std::memcpy(*buffer, bytes.data(), std::min(bytes.size(), size_t(count) - 1));
}

void CAi_Str::ToBuffers(const CString& text, wchar_t* wide, char* narrow, int count) {
    if (wide) ToBuffers(text, &wide, count);
    if (narrow) ToBuffers(text, &narrow, count);
}

CAi_Stl::EFoundPos CAi_Stl::FindPos(const std::vector<int>& values, int value, unsigned& position) {
    position = 0;
    if (values.empty()) return ePosEnd;
    if (value < values.front()) return ePosInside;
    if (value > values.back()) {
        position = unsigned(values.size());
        return ePosEnd;
    }
    for (size_t i = 1; i < values.size(); ++i)
        if (values[i - 1] < value && value < values[i]) {
            position = unsigned(i);
            return ePosInside;
        }
    position = unsigned(values.size());
    return ePosEnd;
}
