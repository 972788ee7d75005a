#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TestUtil.h"
#include "platform/Encoding.h"
#include "platform/MappedFile.h"

using namespace platform;

namespace {

std::string AllBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s += char(b);
    return s;
}

}  // namespace

TEST(CodePages, EveryByteOf1251And866RoundTrips) {
    const std::string bytes = AllBytes();
    for (bool oem : {false, true}) {
        SCOPED_TRACE(oem ? "866" : "1251");
        std::wstring wide = oem ? OemToWide(bytes) : AnsiToWide(bytes);
        ASSERT_EQ(wide.size(), 256u);
        EXPECT_EQ(std::set<wchar_t>(wide.begin(), wide.end()).size(), 256u);  // no two bytes alike
        EXPECT_EQ(oem ? WideToOem(wide) : WideToAnsi(wide), bytes);
        for (int b = 0; b < 256; ++b)
            EXPECT_EQ(wide[size_t(b)], oem ? OemByteToWide((unsigned char)b) : AnsiByteToWide((unsigned char)b));
    }
    // Letters that are easy to get wrong in each table.
    EXPECT_EQ(AnsiToWide("\xC0\xDF\xE0\xFF\xA8\xB8\xB9\x88"), L"АЯаяЁё№€");
    EXPECT_EQ(OemToWide("\x80\x9F\xA0\xAF\xE0\xEF\xF0\xF1\xFC"), L"АЯапряЁё№");
}

TEST(CodePages, WideToOemAsTheSystemsOemConversion) {
    // What a DOS-era recorder expects in its files: Cyrillic in 866, ASCII as is, and '?' for
    // what the code page cannot hold.
    EXPECT_EQ(WideToOem(L"Ток фазы А, №2"), std::string("\x92\xAE\xAA \xE4\xA0\xA7\xEB \x80, \xFC" "2"));
    EXPECT_EQ(WideToOem(L"€ 日"), "? ?");
    EXPECT_EQ(WideToAnsi(L"日"), "?");
    // OEM bytes shown through the ANSI page and back.
    const std::string oem = WideToOem(L"Подстанция Ёлкино");
    EXPECT_EQ(AnsiToWide(OemToAnsi(oem)), L"Подстанция Ёлкино");
    EXPECT_EQ(AnsiToOem(OemToAnsi(oem)), oem);
}

TEST(Unicode, Utf16WithAndWithoutByteOrderMark) {
    const std::wstring text = L"Канал A\r\n\U0001F600 end";
    std::string with = WideToUtf16Le(text, true), without = WideToUtf16Le(text, false);
    EXPECT_EQ(with.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(with.substr(2), without);
    EXPECT_EQ(without.substr(0, 4), std::string("\x1A\x04\x30\x04", 4));  // "Ка", little-endian
    EXPECT_EQ(without.size(), (text.size() + 1) * 2);                     // the emoji is a pair
    EXPECT_EQ(Utf16LeToWide(with), text);
    EXPECT_EQ(Utf16LeToWide(without), text);
    EXPECT_EQ(Utf16LeToWide(without + "A"), text);  // an odd last byte is dropped
    EXPECT_EQ(Utf16LeToWide(std::string("\x3D\xD8" "A\x00", 4)), L"\xFFFD" L"A");  // lone surrogate
    EXPECT_EQ(Utf16LeToWide(""), L"");
    EXPECT_EQ(Utf16LeToWide("\xFF\xFE"), L"");
    EXPECT_EQ(U16ToWide(WideToU16(text)), text);
}

TEST(Unicode, Utf8RoundTripAndMalformedInput) {
    const std::wstring text = L"Осциллограмма ü \U0001F600";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    struct Case { std::string in; std::wstring out; };
    const Case cases[] = {
        {"\xC3", L"\xFFFD"},              // cut short
        {"\xC0\xAF", L"\xFFFD\xFFFD"},    // overlong
        {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},  // encoded surrogate
        {"\xF8\x88\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},  // no such lead byte
        {"\xFF" "a", L"\xFFFD" L"a"},
        {"a\x80" "b", L"a\xFFFD" L"b"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToWide(c.in), c.out) << c.in;
}

TEST(MappedFile, OrdinaryEmptyAndMissingFiles) {
    testutil::TempDir dir;
    const std::string content = "1,2,3\r\nабв";
    testutil::WriteFile(dir.File("rec.cfg"), content);
    testutil::WriteFile(dir.File("empty.cfg"), "");
    MappedFile m;
    std::string error;
    ASSERT_TRUE(m.Open(CString(Utf8ToWide(dir.File("rec.cfg"))), &error)) << error;
    ASSERT_EQ(m.size(), content.size());
    EXPECT_EQ(std::string(m.data(), m.size()), content);
    m.data()[0] = 'X';  // copy-on-write: the file stays as it was
    EXPECT_EQ(testutil::ReadFile(dir.File("rec.cfg")), content);

    MappedFile moved(std::move(m));
    EXPECT_FALSE(m.IsOpen());
    EXPECT_EQ(moved.data()[0], 'X');

    EXPECT_FALSE(m.Open(CString(Utf8ToWide(dir.File("empty.cfg"))), &error));
    EXPECT_NE(error.find("empty"), std::string::npos) << error;
    EXPECT_FALSE(m.Open(CString(Utf8ToWide(dir.File("missing.cfg"))), &error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    EXPECT_FALSE(m.Open(CString(Utf8ToWide(dir.path())), &error));
    EXPECT_FALSE(m.IsOpen());
}
