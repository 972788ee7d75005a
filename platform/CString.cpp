#include "platform/CString.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "platform/Encoding.h"

namespace platform {
namespace {

template <class Ch>
Ch LowerChar(Ch c) {
    if constexpr (std::is_same_v<Ch, wchar_t>) {
        return wchar_t(ToLowerWide(c));
    } else {
        return char(ToLowerAnsi(static_cast<unsigned char>(c)));
    }
}

template <class Ch>
Ch UpperChar(Ch c) {
    if constexpr (std::is_same_v<Ch, wchar_t>) {
        return wchar_t(ToUpperWide(c));
    } else {
        return char(ToUpperAnsi(static_cast<unsigned char>(c)));
    }
}

template <class Ch>
bool IsSpaceChar(Ch c) {
    return c == Ch(' ') || c == Ch('\t') || c == Ch('\n') || c == Ch('\r') || c == Ch('\v') || c == Ch('\f');
}

template <class Ch>
bool InSet(Ch c, const Ch* set) {
    if (!set) return false;
    for (; *set; ++set)
        if (*set == c) return true;
    return false;
}

struct Spec {
    bool left = false, plus = false, space = false, alt = false, zero = false;
    int width = -1, precision = -1;
    bool wide64 = false;  // ll, I64, j, z, t
    bool shortInt = false, charInt = false;
    int strWidth = 0;  // -1 narrow (h), +1 wide (l, w), 0 default
};

long long ArgSigned(const FormatArg* a) {
    if (!a) return 0;
    switch (a->kind) {
        case FormatArg::Int: return a->i;
        case FormatArg::UInt: return static_cast<long long>(a->u);
        case FormatArg::Double: return (a->d == a->d && a->d < 9.2e18 && a->d > -9.2e18) ? static_cast<long long>(a->d) : 0;
        case FormatArg::Ptr: return static_cast<long long>(reinterpret_cast<uintptr_t>(a->p));
        default: return 0;
    }
}

double ArgDouble(const FormatArg* a) {
    if (!a) return 0;
    switch (a->kind) {
        case FormatArg::Double: return a->d;
        case FormatArg::Int: return double(a->i);
        case FormatArg::UInt: return double(a->u);
        default: return 0;
    }
}

template <class Ch>
void Pad(std::basic_string<Ch>& out, const std::basic_string<Ch>& body, const Spec& s) {
    int fill = s.width - int(body.size());
    if (fill <= 0) {
        out += body;
    } else if (s.left) {
        out += body;
        out.append(size_t(fill), Ch(' '));
    } else {
        out.append(size_t(fill), Ch(' '));
        out += body;
    }
}

template <class Ch>
std::basic_string<Ch> FromAscii(const char* s) {
    std::basic_string<Ch> r;
    for (; *s; ++s) r += Ch(static_cast<unsigned char>(*s));
    return r;
}

std::string NumberSpec(const Spec& s, const char* length, char conv) {
    std::string f = "%";
    if (s.left) f += '-';
    if (s.plus) f += '+';
    if (s.space) f += ' ';
    if (s.alt) f += '#';
    if (s.zero) f += '0';
    if (s.width >= 0) f += std::to_string(s.width);
    if (s.precision >= 0) {
        // Appended piece by piece: a literal plus a temporary string trips a false overlap
        // warning in optimised builds of this compiler.
        f += '.';
        f += std::to_string(s.precision);
    }
    f += length;
    f += conv;
    return f;
}

template <class Ch>
std::basic_string<Ch> FormatImpl(const Ch* fmt, const FormatArg* args, size_t count) {
    std::basic_string<Ch> out;
    if (!fmt) return out;
    size_t next = 0;
    auto take = [&]() -> const FormatArg* { return next < count ? &args[next++] : nullptr; };
    char buf[512];
    for (const Ch* p = fmt; *p; ++p) {
        if (*p != Ch('%')) {
            out += *p;
            continue;
        }
        ++p;
        if (*p == Ch('%')) {
            out += Ch('%');
            continue;
        }
        Spec s;
        for (;; ++p) {
            if (*p == Ch('-')) s.left = true;
            else if (*p == Ch('+')) s.plus = true;
            else if (*p == Ch(' ')) s.space = true;
            else if (*p == Ch('#')) s.alt = true;
            else if (*p == Ch('0')) s.zero = true;
            else break;
        }
        if (*p == Ch('*')) {
            long long w = ArgSigned(take());
            if (w < 0) { s.left = true; w = -w; }
            s.width = int(std::min<long long>(w, 4096));
            ++p;
        } else {
            while (*p >= Ch('0') && *p <= Ch('9')) {
                s.width = std::min((s.width < 0 ? 0 : s.width) * 10 + int(*p - Ch('0')), 4096);
                ++p;
            }
        }
        if (*p == Ch('.')) {
            ++p;
            s.precision = 0;
            if (*p == Ch('*')) {
                long long pr = ArgSigned(take());
                s.precision = pr < 0 ? -1 : int(std::min<long long>(pr, 400));
                ++p;
            } else {
                while (*p >= Ch('0') && *p <= Ch('9')) {
                    s.precision = std::min(s.precision * 10 + int(*p - Ch('0')), 400);
                    ++p;
                }
            }
        }
        for (;;) {
            if (*p == Ch('h')) {
                if (s.shortInt) s.charInt = true;
                s.shortInt = true;
                s.strWidth = -1;
                ++p;
            } else if (*p == Ch('l')) {
                if (p[1] == Ch('l')) { s.wide64 = true; ++p; }
                s.strWidth = 1;
                ++p;
            } else if (*p == Ch('w')) {
                s.strWidth = 1;
                ++p;
            } else if (*p == Ch('L') || *p == Ch('j') || *p == Ch('z') || *p == Ch('t')) {
                if (*p != Ch('L')) s.wide64 = true;
                ++p;
            } else if (*p == Ch('I')) {
                if (p[1] == Ch('6') && p[2] == Ch('4')) { s.wide64 = true; p += 3; }
                else if (p[1] == Ch('3') && p[2] == Ch('2')) { p += 3; }
                else { s.wide64 = true; ++p; }
            } else {
                break;
            }
        }
        const Ch conv = *p;
        if (conv == 0) break;
        switch (conv) {
            case Ch('d'): case Ch('i'): {
                long long v = ArgSigned(take());
                if (s.charInt) v = static_cast<signed char>(v);
                else if (s.shortInt) v = static_cast<short>(v);
                else if (!s.wide64) v = static_cast<int>(static_cast<unsigned int>(v));
                snprintf(buf, sizeof buf, NumberSpec(s, "ll", 'd').c_str(), v);
                out += FromAscii<Ch>(buf);
                break;
            }
            case Ch('u'): case Ch('x'): case Ch('X'): case Ch('o'): {
                unsigned long long v = static_cast<unsigned long long>(ArgSigned(take()));
                if (s.charInt) v = static_cast<unsigned char>(v);
                else if (s.shortInt) v = static_cast<unsigned short>(v);
                else if (!s.wide64) v = static_cast<unsigned int>(v);
                snprintf(buf, sizeof buf, NumberSpec(s, "ll", char(conv)).c_str(), v);
                out += FromAscii<Ch>(buf);
                break;
            }
            case Ch('f'): case Ch('F'): case Ch('e'): case Ch('E'):
            case Ch('g'): case Ch('G'): case Ch('a'): case Ch('A'): {
                double v = ArgDouble(take());
                std::string spec = NumberSpec(s, "", char(conv));
                int n = snprintf(buf, sizeof buf, spec.c_str(), v);
                if (n >= int(sizeof buf)) {
                    std::string big(size_t(n) + 1, '\0');
                    snprintf(big.data(), big.size(), spec.c_str(), v);
                    out += FromAscii<Ch>(big.c_str());
                } else {
                    out += FromAscii<Ch>(buf);
                }
                break;
            }
            case Ch('c'): case Ch('C'): {
                long long v = ArgSigned(take());
                std::basic_string<Ch> body;
                if constexpr (std::is_same_v<Ch, wchar_t>) {
                    // "%c" is a wide character here unless "h" narrows it, "%C" a narrow one.
                    bool narrow = (conv == Ch('C') && s.strWidth <= 0) || s.strWidth < 0;
                    if (narrow) body = AnsiToWide(std::string(1, char(v)));
                    else body.assign(1, wchar_t(v));
                } else {
                    bool wide = (conv == Ch('C') && s.strWidth >= 0) || s.strWidth > 0;
                    if (wide) body = WideToAnsi(std::wstring(1, wchar_t(v)));
                    else body.assign(1, char(v));
                }
                Pad(out, body, s);
                break;
            }
            case Ch('s'): case Ch('S'): {
                // The argument's own width decides the conversion; the letter only mattered
                // to a varargs implementation that could not see it.
                const FormatArg* a = take();
                std::basic_string<Ch> body;
                if (a && a->kind == FormatArg::WStr) {
                    if constexpr (std::is_same_v<Ch, wchar_t>) body = a->ws ? a->ws : L"(null)";
                    else body = a->ws ? WideToAnsi(a->ws) : std::string("(null)");
                } else if (a && a->kind == FormatArg::AStr) {
                    if constexpr (std::is_same_v<Ch, wchar_t>) body = a->as ? AnsiToWide(a->as) : std::wstring(L"(null)");
                    else body = a->as ? a->as : "(null)";
                } else if (a) {
                    body = FromAscii<Ch>("(null)");
                }
                if (s.precision >= 0 && body.size() > size_t(s.precision)) body.resize(size_t(s.precision));
                Pad(out, body, s);
                break;
            }
            case Ch('p'): {
                const FormatArg* a = take();
                snprintf(buf, sizeof buf, "%016llX",
                         static_cast<unsigned long long>(a ? reinterpret_cast<uintptr_t>(a->p) : 0));
                Pad(out, FromAscii<Ch>(buf), s);
                break;
            }
            case Ch('n'):
                take();
                break;
            default:
                out += conv;
                break;
        }
    }
    return out;
}

}  // namespace

std::wstring FormatImplW(const wchar_t* fmt, const FormatArg* args, size_t count) {
    return FormatImpl<wchar_t>(fmt, args, count);
}
std::string FormatImplA(const char* fmt, const FormatArg* args, size_t count) {
    return FormatImpl<char>(fmt, args, count);
}

}  // namespace platform

using platform::InSet;
using platform::IsSpaceChar;
using platform::LowerChar;
using platform::UpperChar;

template <class Ch>
int CStringT<Ch>::CompareNoCase(const Ch* s) const {
    if (!s) s = Empty0();
    size_t i = 0;
    for (;; ++i) {
        Ch a = i < m_s.size() ? LowerChar(m_s[i]) : Ch(0);
        Ch b = LowerChar(s[i]);
        if (a != b) return a < b ? -1 : 1;
        if (a == 0) return i < m_s.size() ? 1 : 0;
    }
}

template <class Ch>
CStringT<Ch> CStringT<Ch>::Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (size_t(first) >= m_s.size()) return CStringT();
    return CStringT(m_s.substr(size_t(first), size_t(count)));
}

template <class Ch>
CStringT<Ch> CStringT<Ch>::Right(int count) const {
    if (count <= 0) return CStringT();
    if (size_t(count) >= m_s.size()) return *this;
    return CStringT(m_s.substr(m_s.size() - size_t(count)));
}

template <class Ch>
CStringT<Ch> CStringT<Ch>::SpanIncluding(const Ch* set) const {
    size_t i = 0;
    while (i < m_s.size() && InSet(m_s[i], set)) ++i;
    return CStringT(m_s.substr(0, i));
}

template <class Ch>
CStringT<Ch> CStringT<Ch>::SpanExcluding(const Ch* set) const {
    size_t i = 0;
    while (i < m_s.size() && !InSet(m_s[i], set)) ++i;
    return CStringT(m_s.substr(0, i));
}

template <class Ch>
int CStringT<Ch>::Find(Ch c, int start) const {
    if (start < 0 || size_t(start) >= m_s.size()) return -1;
    size_t r = m_s.find(c, size_t(start));
    return r == Str::npos ? -1 : int(r);
}

template <class Ch>
int CStringT<Ch>::Find(const Ch* s, int start) const {
    if (!s || start < 0 || size_t(start) > m_s.size()) return -1;
    size_t r = m_s.find(s, size_t(start));
    return r == Str::npos ? -1 : int(r);
}

template <class Ch>
int CStringT<Ch>::ReverseFind(Ch c) const {
    size_t r = m_s.rfind(c);
    return r == Str::npos ? -1 : int(r);
}

template <class Ch>
int CStringT<Ch>::FindOneOf(const Ch* set) const {
    for (size_t i = 0; i < m_s.size(); ++i)
        if (InSet(m_s[i], set)) return int(i);
    return -1;
}

template <class Ch>
int CStringT<Ch>::Replace(Ch from, Ch to) {
    int n = 0;
    for (auto& c : m_s)
        if (c == from) { c = to; ++n; }
    return n;
}

template <class Ch>
int CStringT<Ch>::Replace(const Ch* from, const Ch* to) {
    if (!from || !*from) return 0;
    Str f(from), t(to ? to : Empty0());
    int n = 0;
    Str r;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_s.find(f, pos);
        if (hit == Str::npos) break;
        r.append(m_s, pos, hit - pos);
        r += t;
        pos = hit + f.size();
        ++n;
    }
    if (n) {
        r.append(m_s, pos, Str::npos);
        m_s.swap(r);
    }
    return n;
}

template <class Ch>
int CStringT<Ch>::Remove(Ch c) {
    size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), c), m_s.end());
    return int(before - m_s.size());
}

template <class Ch>
int CStringT<Ch>::Insert(int index, Ch c) {
    index = std::clamp(index, 0, GetLength());
    m_s.insert(size_t(index), 1, c);
    return GetLength();
}

template <class Ch>
int CStringT<Ch>::Insert(int index, const Ch* s) {
    index = std::clamp(index, 0, GetLength());
    if (s) m_s.insert(size_t(index), s);
    return GetLength();
}

template <class Ch>
int CStringT<Ch>::Delete(int index, int count) {
    if (index < 0) index = 0;
    if (count > 0 && size_t(index) < m_s.size()) m_s.erase(size_t(index), size_t(count));
    return GetLength();
}

template <class Ch>
CStringT<Ch>& CStringT<Ch>::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && IsSpaceChar(m_s[i])) ++i;
    m_s.erase(0, i);
    return *this;
}

template <class Ch>
CStringT<Ch>& CStringT<Ch>::TrimLeft(Ch c) {
    size_t i = 0;
    while (i < m_s.size() && m_s[i] == c) ++i;
    m_s.erase(0, i);
    return *this;
}

template <class Ch>
CStringT<Ch>& CStringT<Ch>::TrimLeft(const Ch* set) {
    size_t i = 0;
    while (i < m_s.size() && InSet(m_s[i], set)) ++i;
    m_s.erase(0, i);
    return *this;
}

template <class Ch>
CStringT<Ch>& CStringT<Ch>::TrimRight() {
    while (!m_s.empty() && IsSpaceChar(m_s.back())) m_s.pop_back();
    return *this;
}

template <class Ch>
CStringT<Ch>& CStringT<Ch>::TrimRight(Ch c) {
    while (!m_s.empty() && m_s.back() == c) m_s.pop_back();
    return *this;
}

template <class Ch>
CStringT<Ch>& CStringT<Ch>::TrimRight(const Ch* set) {
    while (!m_s.empty() && InSet(m_s.back(), set)) m_s.pop_back();
    return *this;
}

template <class Ch>
CStringT<Ch>& CStringT<Ch>::MakeLower() {
    for (auto& c : m_s) c = LowerChar(c);
    return *this;
}

template <class Ch>
CStringT<Ch>& CStringT<Ch>::MakeUpper() {
    for (auto& c : m_s) c = UpperChar(c);
    return *this;
}

template <class Ch>
CStringT<Ch>& CStringT<Ch>::MakeReverse() {
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

template <class Ch>
CStringT<Ch> CStringT<Ch>::Tokenize(const Ch* delims, int& pos) const {
    if (pos < 0) return CStringT();
    size_t i = size_t(pos);
    if (delims && *delims) {
        while (i < m_s.size() && InSet(m_s[i], delims)) ++i;
    }
    if (i >= m_s.size()) {
        pos = -1;
        return CStringT();
    }
    size_t j = i;
    while (j < m_s.size() && !InSet(m_s[j], delims)) ++j;
    pos = int(j < m_s.size() ? j + 1 : j);
    return CStringT(m_s.substr(i, j - i));
}

template class CStringT<wchar_t>;
template class CStringT<char>;
