#pragma once
// The framework's string classes on top of std::basic_string: CString is wide (wchar_t),
// CStringA holds bytes. Conversions between the two go through the ANSI code page 1251,
// which is what narrow record texts are written in; file names use UTF-8 at the system
// boundary (see Encoding.h).
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace platform {

// One argument of Format, captured by value so that CString objects can be passed the way
// the framework allows (its varargs trick is undefined behaviour for a class with members).
struct FormatArg {
    enum Kind { Int, UInt, Double, WStr, AStr, Ptr } kind;
    long long i = 0;
    unsigned long long u = 0;
    double d = 0;
    const wchar_t* ws = nullptr;
    const char* as = nullptr;
    const void* p = nullptr;
};

std::wstring FormatImplW(const wchar_t* fmt, const FormatArg* args, size_t count);
std::string FormatImplA(const char* fmt, const FormatArg* args, size_t count);

// Narrow (code page 1251) <-> wide, used by the implicit conversions of the string classes.
std::wstring AnsiToWide(std::string_view bytes);
std::string WideToAnsi(std::wstring_view text);

}  // namespace platform

template <class Ch>
class CStringT;

namespace platform::detail {
template <class T>
FormatArg MakeArg(const T& v);
}

template <class Ch>
class CStringT {
public:
    using XCHAR = Ch;
    using YCHAR = std::conditional_t<std::is_same_v<Ch, wchar_t>, char, wchar_t>;
    using PCXSTR = const Ch*;
    using Str = std::basic_string<Ch>;

    CStringT() = default;
    CStringT(const Ch* s) : m_s(s ? s : Str()) {}
    CStringT(const Ch* s, int n) : m_s(s ? Str(s, n > 0 ? size_t(n) : 0) : Str()) {}
    CStringT(Ch c, int n = 1) : m_s(n > 0 ? size_t(n) : 0, c) {}
    CStringT(const Str& s) : m_s(s) {}
    CStringT(Str&& s) : m_s(std::move(s)) {}
    CStringT(std::basic_string_view<Ch> s) : m_s(s) {}
    CStringT(const YCHAR* s) : m_s(Convert(s ? std::basic_string_view<YCHAR>(s) : std::basic_string_view<YCHAR>())) {}
    CStringT(const CStringT<YCHAR>& s) : m_s(Convert(s.view())) {}

    CStringT& operator=(const Ch* s) { m_s = s ? s : Str(); return *this; }
    CStringT& operator=(Ch c) { m_s.assign(1, c); return *this; }
    CStringT& operator=(const YCHAR* s) { return *this = CStringT(s); }
    CStringT& operator=(const CStringT<YCHAR>& s) { m_s = Convert(s.view()); return *this; }

    // Access
    int GetLength() const { return int(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    operator const Ch*() const { return m_s.c_str(); }
    const Ch* GetString() const { return m_s.c_str(); }
    Ch GetAt(int i) const { return m_s.at(size_t(i)); }
    Ch operator[](int i) const { return m_s.at(size_t(i)); }
    void SetAt(int i, Ch c) { m_s.at(size_t(i)) = c; }
    const Str& str() const { return m_s; }
    Str& str() { return m_s; }
    std::basic_string_view<Ch> view() const { return m_s; }

    // Concatenation
    CStringT& operator+=(const CStringT& s) { m_s += s.m_s; return *this; }
    CStringT& operator+=(const Ch* s) { if (s) m_s += s; return *this; }
    CStringT& operator+=(Ch c) { m_s += c; return *this; }
    CStringT& operator+=(const YCHAR* s) { return *this += CStringT(s); }
    void Append(const Ch* s) { *this += s; }
    void Append(const Ch* s, int n) { if (s && n > 0) m_s.append(s, size_t(n)); }
    void AppendChar(Ch c) { m_s += c; }

    friend CStringT operator+(const CStringT& a, const CStringT& b) { CStringT r(a); r += b; return r; }
    friend CStringT operator+(const CStringT& a, const Ch* b) { CStringT r(a); r += b; return r; }
    friend CStringT operator+(const Ch* a, const CStringT& b) { CStringT r(a); r += b; return r; }
    friend CStringT operator+(const CStringT& a, Ch b) { CStringT r(a); r += b; return r; }
    friend CStringT operator+(Ch a, const CStringT& b) { CStringT r(a); r += b; return r; }

    // Comparison
    int Compare(const Ch* s) const { return m_s.compare(s ? s : Empty0()); }
    int CompareNoCase(const Ch* s) const;
    friend bool operator==(const CStringT& a, const CStringT& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CStringT& a, const Ch* b) { return a.m_s == (b ? b : Empty0()); }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return a.m_s != b.m_s; }
    friend bool operator!=(const CStringT& a, const Ch* b) { return !(a == b); }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.m_s < b.m_s; }
    // Without it a pair or tuple holding a text would order by the texts' addresses: C++20's
    // three-way comparison prefers the pointer conversion over operator<.
    friend std::strong_ordering operator<=>(const CStringT& a, const CStringT& b) {
        return a.m_s.compare(b.m_s) <=> 0;
    }

    // Extraction; out-of-range arguments are clamped as the framework does.
    CStringT Mid(int first) const { return Mid(first, GetLength()); }
    CStringT Mid(int first, int count) const;
    CStringT Left(int count) const { return Mid(0, count); }
    CStringT Right(int count) const;
    CStringT SpanIncluding(const Ch* set) const;
    CStringT SpanExcluding(const Ch* set) const;

    // Searching; -1 when absent.
    int Find(Ch c, int start = 0) const;
    int Find(const Ch* s, int start = 0) const;
    int ReverseFind(Ch c) const;
    int FindOneOf(const Ch* set) const;

    // Modification
    int Replace(Ch from, Ch to);
    int Replace(const Ch* from, const Ch* to);
    int Remove(Ch c);
    int Insert(int index, Ch c);
    int Insert(int index, const Ch* s);
    int Delete(int index, int count = 1);
    CStringT& Trim() { TrimRight(); return TrimLeft(); }
    CStringT& Trim(Ch c) { TrimRight(c); return TrimLeft(c); }
    CStringT& Trim(const Ch* set) { TrimRight(set); return TrimLeft(set); }
    CStringT& TrimLeft();
    CStringT& TrimLeft(Ch c);
    CStringT& TrimLeft(const Ch* set);
    CStringT& TrimRight();
    CStringT& TrimRight(Ch c);
    CStringT& TrimRight(const Ch* set);
    CStringT& MakeLower();
    CStringT& MakeUpper();
    CStringT& MakeReverse();
    void Truncate(int length) { if (length >= 0 && size_t(length) < m_s.size()) m_s.resize(size_t(length)); }
    // Splits at any character of `delims`, skipping empty tokens; `pos` is advanced and
    // set to -1 once nothing is left, at which point an empty string is returned.
    CStringT Tokenize(const Ch* delims, int& pos) const;

    // Formatting with the framework's meaning: in a wide Format "%s" takes a wide text and
    // "%S" a narrow one; in a narrow Format the other way round.
    template <class... Args>
    void Format(const Ch* fmt, const Args&... args) {
        platform::FormatArg a[sizeof...(Args) + 1] = {platform::detail::MakeArg(args)...};
        m_s = Run(fmt, a, sizeof...(Args));
    }
    template <class... Args>
    void AppendFormat(const Ch* fmt, const Args&... args) {
        platform::FormatArg a[sizeof...(Args) + 1] = {platform::detail::MakeArg(args)...};
        m_s += Run(fmt, a, sizeof...(Args));
    }

    // The buffer calls of the framework, for the few places that fill a string in place.
    Ch* GetBuffer(int minLength) {
        if (minLength > 0 && size_t(minLength) > m_s.size()) m_s.resize(size_t(minLength));
        return m_s.data();
    }
    Ch* GetBufferSetLength(int length) { m_s.resize(length > 0 ? size_t(length) : 0); return m_s.data(); }
    void ReleaseBuffer(int newLength = -1) {
        if (newLength < 0) newLength = int(std::char_traits<Ch>::length(m_s.c_str()));
        m_s.resize(size_t(newLength));
    }

private:
    static const Ch* Empty0() { static const Ch z = 0; return &z; }
    static Str Convert(std::basic_string_view<YCHAR> s);
    static Str Run(const Ch* fmt, const platform::FormatArg* a, size_t n);
    Str m_s;
};

using CString = CStringT<wchar_t>;
using CStringW = CString;
using CStringA = CStringT<char>;

template <>
inline std::wstring CStringT<wchar_t>::Convert(std::string_view s) { return platform::AnsiToWide(s); }
template <>
inline std::string CStringT<char>::Convert(std::wstring_view s) { return platform::WideToAnsi(s); }
template <>
inline std::wstring CStringT<wchar_t>::Run(const wchar_t* f, const platform::FormatArg* a, size_t n) {
    return platform::FormatImplW(f, a, n);
}
template <>
inline std::string CStringT<char>::Run(const char* f, const platform::FormatArg* a, size_t n) {
    return platform::FormatImplA(f, a, n);
}

extern template class CStringT<wchar_t>;
extern template class CStringT<char>;

namespace std {
template <class Ch>
struct hash<CStringT<Ch>> {
    size_t operator()(const CStringT<Ch>& s) const noexcept { return hash<basic_string<Ch>>()(s.str()); }
};
}  // namespace std

namespace platform::detail {
template <class T>
FormatArg MakeArg(const T& v) {
    FormatArg a{};
    using U = std::decay_t<T>;
    if constexpr (std::is_same_v<U, CString>) {
        a.kind = FormatArg::WStr; a.ws = v.GetString();
    } else if constexpr (std::is_same_v<U, CStringA>) {
        a.kind = FormatArg::AStr; a.as = v.GetString();
    } else if constexpr (std::is_same_v<U, std::wstring>) {
        a.kind = FormatArg::WStr; a.ws = v.c_str();
    } else if constexpr (std::is_same_v<U, std::string>) {
        a.kind = FormatArg::AStr; a.as = v.c_str();
    } else if constexpr (std::is_same_v<U, const wchar_t*> || std::is_same_v<U, wchar_t*>) {
        a.kind = FormatArg::WStr; a.ws = v;
    } else if constexpr (std::is_same_v<U, const char*> || std::is_same_v<U, char*>) {
        a.kind = FormatArg::AStr; a.as = v;
    } else if constexpr (std::is_array_v<T> && std::is_same_v<std::remove_cv_t<std::remove_extent_t<T>>, wchar_t>) {
        a.kind = FormatArg::WStr; a.ws = v;
    } else if constexpr (std::is_array_v<T> && std::is_same_v<std::remove_cv_t<std::remove_extent_t<T>>, char>) {
        a.kind = FormatArg::AStr; a.as = v;
    } else if constexpr (std::is_floating_point_v<U>) {
        a.kind = FormatArg::Double; a.d = double(v);
    } else if constexpr (std::is_same_v<U, bool>) {
        a.kind = FormatArg::Int; a.i = v ? 1 : 0;
    } else if constexpr (std::is_enum_v<U>) {
        a.kind = FormatArg::Int; a.i = static_cast<long long>(v);
    } else if constexpr (std::is_integral_v<U> && std::is_signed_v<U>) {
        a.kind = FormatArg::Int; a.i = v;
    } else if constexpr (std::is_integral_v<U>) {
        a.kind = FormatArg::UInt; a.u = v;
    } else if constexpr (std::is_pointer_v<U>) {
        a.kind = FormatArg::Ptr; a.p = static_cast<const void*>(v);
    } else {
        static_assert(sizeof(U) == 0, "unsupported Format argument");
    }
    return a;
}
}  // namespace platform::detail
