#include "platform/Encoding.h"

#include <array>

namespace platform {
namespace {

// Upper halves of the two code pages. 0x98 of 1251 is unassigned; it maps to U+0098 so that
// every byte survives a round trip.
constexpr char16_t kCp1251[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

constexpr char16_t kCp866[128] = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0};

char ReverseLookup(const char16_t (&table)[128], wchar_t c) {
    if (c < 0x80) return char(c);
    for (int i = 0; i < 128; ++i)
        if (table[i] == char16_t(c) && c <= 0xFFFF) return char(0x80 + i);
    return '?';
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) AppendUtf8(out, uint32_t(c));
    return out;
}

std::wstring Utf8ToWide(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += wchar_t(b);
            ++i;
            continue;
        }
        int extra = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 && b < 0xF0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
        if (extra < 0 || i + size_t(extra) >= s.size()) {
            out += wchar_t(0xFFFD);
            ++i;
            continue;
        }
        uint32_t cp = b & (extra == 1 ? 0x1F : extra == 2 ? 0x0F : 0x07);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            unsigned char c = static_cast<unsigned char>(s[i + size_t(k)]);
            if ((c & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (c & 0x3F);
        }
        uint32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (!ok || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += wchar_t(0xFFFD);
            ++i;
            continue;
        }
        out += wchar_t(cp);
        i += size_t(extra) + 1;
    }
    return out;
}

bool IsUtf8(std::string_view s) {
    // The rules of Utf8ToWide: shortest forms only, no surrogates, nothing past U+10FFFF.
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const int extra = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 && b < 0xF0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
        if (extra < 0 || i + size_t(extra) >= s.size()) return false;
        uint32_t cp = b & (extra == 1 ? 0x1F : extra == 2 ? 0x0F : 0x07);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char c = static_cast<unsigned char>(s[i + size_t(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        const uint32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += size_t(extra) + 1;
    }
    return true;
}

std::u16string WideToU16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        uint32_t c = uint32_t(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

std::wstring U16ToWide(std::u16string_view s) {
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (uint32_t(s[i + 1]) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        out += wchar_t(c);
    }
    return out;
}

std::string WideToUtf16Le(std::wstring_view text, bool withBom) {
    std::u16string u = WideToU16(text);
    std::string out;
    out.reserve(u.size() * 2 + 2);
    if (withBom) out += "\xFF\xFE";
    for (char16_t c : u) {
        out += char(c & 0xFF);
        out += char(c >> 8);
    }
    return out;
}

std::wstring Utf16LeToWide(std::string_view bytes) {
    size_t start = 0;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        start = 2;
    std::u16string u;
    u.reserve((bytes.size() - start) / 2);
    for (size_t i = start; i + 1 < bytes.size(); i += 2)
        u += char16_t(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return U16ToWide(u);
}

wchar_t AnsiByteToWide(unsigned char b) { return b < 0x80 ? wchar_t(b) : wchar_t(kCp1251[b - 0x80]); }
wchar_t OemByteToWide(unsigned char b) { return b < 0x80 ? wchar_t(b) : wchar_t(kCp866[b - 0x80]); }

std::wstring AnsiToWide(std::string_view bytes) {
    std::wstring out(bytes.size(), L'\0');
    for (size_t i = 0; i < bytes.size(); ++i) out[i] = AnsiByteToWide(static_cast<unsigned char>(bytes[i]));
    return out;
}

std::string WideToAnsi(std::wstring_view text) {
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) out[i] = ReverseLookup(kCp1251, text[i]);
    return out;
}

std::wstring OemToWide(std::string_view bytes) {
    std::wstring out(bytes.size(), L'\0');
    for (size_t i = 0; i < bytes.size(); ++i) out[i] = OemByteToWide(static_cast<unsigned char>(bytes[i]));
    return out;
}

std::string WideToOem(std::wstring_view text) {
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) out[i] = ReverseLookup(kCp866, text[i]);
    return out;
}

std::string OemToAnsi(std::string_view bytes) { return WideToAnsi(OemToWide(bytes)); }
std::string AnsiToOem(std::string_view bytes) { return WideToOem(AnsiToWide(bytes)); }

wchar_t ToLowerWide(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return wchar_t(c + 32);
    if (c >= 0x0410 && c <= 0x042F) return wchar_t(c + 0x20);
    if (c >= 0x0400 && c <= 0x040F) return wchar_t(c + 0x50);
    if (c == 0x0490) return 0x0491;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return wchar_t(c + 0x20);
    return c;
}

wchar_t ToUpperWide(wchar_t c) {
    if (c >= L'a' && c <= L'z') return wchar_t(c - 32);
    if (c >= 0x0430 && c <= 0x044F) return wchar_t(c - 0x20);
    if (c >= 0x0450 && c <= 0x045F) return wchar_t(c - 0x50);
    if (c == 0x0491) return 0x0490;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return wchar_t(c - 0x20);
    return c;
}

unsigned char ToLowerAnsi(unsigned char b) {
    return static_cast<unsigned char>(ReverseLookup(kCp1251, ToLowerWide(AnsiByteToWide(b))));
}
unsigned char ToUpperAnsi(unsigned char b) {
    return static_cast<unsigned char>(ReverseLookup(kCp1251, ToUpperWide(AnsiByteToWide(b))));
}

}  // namespace platform
