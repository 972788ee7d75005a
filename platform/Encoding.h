#pragma once
// Text encodings at the system's boundaries. wchar_t holds UTF-32 code points here; files
// that a peer writes as UTF-16 are converted explicitly, record texts keep their code-page
// bytes and are converted only for display.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// UTF-8, the encoding of file names and of everything handed to GTK.
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view bytes);  // malformed sequences become U+FFFD
// True when `bytes` are well-formed UTF-8 (plain ASCII is).
bool IsUtf8(std::string_view bytes);

// UTF-16 little-endian. The reader skips one leading FF FE and joins surrogate pairs; an odd
// trailing byte is dropped.
std::string WideToUtf16Le(std::wstring_view text, bool withBom);
std::wstring Utf16LeToWide(std::string_view bytes);
std::u16string WideToU16(std::wstring_view text);
std::wstring U16ToWide(std::u16string_view text);

// Code page 1251 (ANSI) and 866 (OEM). Every byte maps to one character and back; a
// character with no byte becomes '?'.
std::wstring AnsiToWide(std::string_view bytes);
std::string WideToAnsi(std::wstring_view text);
std::wstring OemToWide(std::string_view bytes);
std::string WideToOem(std::wstring_view text);
// OEM bytes reinterpreted as ANSI bytes (the display conversion of a record written by a
// DOS-era recorder).
std::string OemToAnsi(std::string_view bytes);
std::string AnsiToOem(std::string_view bytes);

wchar_t AnsiByteToWide(unsigned char b);
wchar_t OemByteToWide(unsigned char b);

// Case mapping that knows the Cyrillic and Latin-1 letters without a run-time locale.
wchar_t ToLowerWide(wchar_t c);
wchar_t ToUpperWide(wchar_t c);
unsigned char ToLowerAnsi(unsigned char b);
unsigned char ToUpperAnsi(unsigned char b);

}  // namespace platform
