#include <gtest/gtest.h>

#include <cstring>

#include "TestUtil.h"
#include "model/MappedTextReader.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/FileException.h"

namespace {
struct TextFile {
    testutil::TempDir dir;
    CString path;
    explicit TextFile(const std::string& bytes) {
        std::string p = dir.File("t.txt");
        testutil::WriteFile(p, bytes);
        path = CString(platform::Utf8ToWide(p));
    }
};
}  // namespace

TEST(MappedTextReader, Lines) {
    const struct { std::string text; std::vector<std::wstring> lines; } cases[] = {
        {"a,b\r\n\r\n c", {L"a,b", L"c", L""}},
        {"one\ntwo\n", {L"one", L"two", L""}},
        {"  last  ", {L"last  ", L""}},
        {"\xCF\xF1", {L"Пс", L""}},
    };
    for (const auto& c : cases) {
        TextFile f(c.text);
        MappedTextReader r(f.path);
        for (const auto& line : c.lines) EXPECT_EQ(r.ReadLine(), CString(line)) << c.text;
    }
}

TEST(MappedTextReader, Fields) {
    const struct { std::string text; std::vector<std::string> fields; } cases[] = {
        {"1,,2", {"1", "", "2", ""}},
        {"1,\r\n2", {"1", "2"}},
        {"a\tb, c\n", {"a", "b", "c", ""}},
        {"x,tail", {"x", "tail"}},
        {"x,tail  ", {"x", "tail  "}},
    };
    for (const auto& c : cases) {
        TextFile f(c.text);
        MappedTextReader r(f.path);
        std::vector<const char*> got;
        for (const auto& field : c.fields) {
            got.push_back(r.ReadField());
            EXPECT_STREQ(got.back(), field.c_str()) << c.text;
        }
        // Fields handed out earlier stay valid.
        EXPECT_STREQ(got[0], c.fields[0].c_str());
    }
}

TEST(MappedTextReader, Integers) {
    const struct { std::string text; std::vector<int32_t> values; } cases[] = {
        {"-12,7", {-12, 7}},
        {"3.9\t4", {3, 4}},
        {"abc,5", {0, 5}},
        {"+5,1", {0, 1}},
        {"5-3,2", {-53, 2}},
        {" 42 \r\n-1", {42, -1}},
        {"99999999999999999999,-99999999999", {INT32_MAX, INT32_MIN}},
        {"7", {7, 0}},
    };
    for (const auto& c : cases) {
        TextFile f(c.text);
        MappedTextReader r(f.path);
        for (int32_t v : c.values) EXPECT_EQ(r.ReadInt(), v) << c.text;
    }
}

TEST(MappedTextReader, FailuresAndWholeText) {
    TextFile empty("");
    try {
        MappedTextReader r(empty.path);
        FAIL();
    } catch (CTenvorikException* e) {
        EXPECT_EQ(e->GetErrorMessage(), L"Неправильный формат файла - " + empty.path);
        e->Delete();
    }
    try {
        MappedTextReader r(empty.path + L".missing");
        FAIL();
    } catch (CFileException* e) {
        EXPECT_EQ(e->m_cause, ENOENT);
        EXPECT_EQ(e->m_lOsError, -1);
        e->Delete();
    }
    TextFile f(std::string("ab\0c", 4));
    MappedTextReader r(f.path);
    EXPECT_EQ(MappedTextAsNarrow(r).GetLength(), 4);
    EXPECT_EQ(r.m_end - r.m_view, 4);
}

TEST(CodePages, AnsiDetectionAndOem) {
    const std::wstring words = L"Ток фазы А";
    const CStringA ansi(platform::WideToAnsi(words));
    const CStringA oem(platform::WideToOem(words));
    EXPECT_TRUE(IsAnsiText(ansi));
    EXPECT_FALSE(IsAnsiText(oem));
    EXPECT_FALSE(IsAnsiText("Phase A current"));
    EXPECT_FALSE(IsAnsiText(""));
    CStringA converted = WideToOem(CString(words));
    EXPECT_EQ(converted, oem);
    EXPECT_EQ(converted.GetLength(), int(words.size()));
    EXPECT_EQ(WideToOem(CString(std::wstring(L"ab\0cd", 5))), "ab");
}

TEST(MappedTextReader, ArbitraryBytesNeverReadPastTheView) {
    // Every operation stops at the end of the view whatever the bytes; the sanitizer build
    // turns any read past it into a failure.
    uint32_t seed = 7;
    const char alphabet[] = {'0', '5', '-', ',', '\t', '\r', '\n', ' ', 'a', '.', '\xC0', '\0'};
    for (int round = 0; round < 80; ++round) {
        std::string bytes(size_t(1 + round % 37), ' ');
        for (char& c : bytes) {
            seed = seed * 1664525u + 1013904223u;
            c = alphabet[(seed >> 16) % sizeof(alphabet)];
        }
        TextFile f(bytes);
        for (int op = 0; op < 3; ++op) {
            MappedTextReader r(f.path);
            for (int k = 0; k < 64 && r.m_cursor < r.m_end; ++k) {
                if (op == 0) {
                    r.ReadLine();
                } else if (op == 1) {
                    EXPECT_NE(r.ReadField(), nullptr);
                } else {
                    r.ReadInt();
                }
            }
            EXPECT_EQ(r.m_cursor, r.m_end) << round << " " << op;
            EXPECT_EQ(r.ReadLine(), L"");
            EXPECT_STREQ(r.ReadField(), "");
            EXPECT_EQ(r.ReadInt(), 0);
        }
    }
}
