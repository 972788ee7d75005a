#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "model/TenvorikException.h"
#include "model/XmlDocument.h"
#include "platform/Encoding.h"
#include "FakeUi.h"
#include "platform/UiServices.h"

namespace {

const CString kFormatError = L"Неправильный формат XML файла '";

std::string Utf16File(const std::wstring& text) { return platform::WideToUtf16Le(text, true); }

}  // namespace

TEST(XmlDocument, ParsesWhatTheWritersProduce) {
    testutil::FakeUi ui;
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<!-- head -->\n"
                               L"<settings a=\"1\" b=bare2 >\n"
                               L"  <!-- between --><category name=\"Осциллограмма\" Канал_1=\"x\"/>\n"
                               L"  <?pi?><category name=\"two\"><category name=\"deep\"/></category>\n"
                               L"</settings> anything after the root is not read <"));
    EXPECT_TRUE(ui.exceptions.empty());
    EXPECT_EQ(doc.GetName(), L"settings");
    EXPECT_EQ(doc.GetAttribute(L"a"), L"1");
    EXPECT_EQ(doc.GetAttribute(L"b"), L"bare2");
    EXPECT_EQ(doc.GetAttribute(L"missing"), L"");
    ASSERT_EQ(doc.GetChildCount(), 2);
    EXPECT_EQ(doc.GetChildren()[0].GetAttribute(L"Канал_1"), L"x");
    EXPECT_EQ(doc.GetChildren()[0].GetChildCount(), 0);
    ASSERT_EQ(doc.GetChildren()[1].GetChildCount(), 1);
    EXPECT_EQ(doc.GetChildren()[1].GetChildren()[0].GetAttribute(L"name"), L"deep");

    XmlDocument empty;
    ASSERT_TRUE(empty.LoadString(L"<x/>"));
    EXPECT_EQ(empty.GetName(), L"x");
    EXPECT_EQ(empty.GetAttributeCount(), 0);
    EXPECT_EQ(empty.GetChildCount(), 0);
    ASSERT_TRUE(empty.LoadString(L"<x k=\"v\"/>"));
    EXPECT_EQ(empty.GetAttribute(L"k"), L"v");
    // A repeated attribute keeps its last value.
    ASSERT_TRUE(empty.LoadString(L"<x k=\"1\" k=\"2\"/>"));
    EXPECT_EQ(empty.GetAttribute(L"k"), L"2");
}

TEST(XmlDocument, MalformedTextsAreTheFormatErrorAndKeepWhatWasParsed) {
    const std::vector<std::wstring> cases = {
        L"",
        L"   \r\n\t",
        L"<a>",
        L"<a></b>",
        L"<a></A>",
        L"<a>text</a>",
        L"<a><b/>text</a>",
        L"<a",
        L"<a x",
        L"<a x=",
        L"<a x=>",
        L"<a x=\"1>",  // quote never closed
        L"<a x=\"1\"",
        L"<a x='1'/>",  // single quotes are not ours
        L"</a>",
        L"<?xml never closed",
        L"<!-- never closed",
        L"<a><!-- -- </a>",
        L"<a/ ",
        L"<a-b/>",
        L"<a x.y=\"1\"/>",
        L"<>",
        L"x",
        std::wstring(L"<a>\0</a>", 8),
        L"<a><b></a></b>",
        L"<a>\uFFFD</a>",
    };
    for (const std::wstring& text : cases) {
        testutil::FakeUi ui;
        XmlDocument doc;
        CString error;
        EXPECT_FALSE(doc.LoadString(CString(text), &error)) << platform::WideToUtf8(text);
        EXPECT_EQ(error, kFormatError) << platform::WideToUtf8(text);
        ASSERT_EQ(ui.exceptions.size(), 1u) << platform::WideToUtf8(text);
        EXPECT_EQ(ui.exceptions[0], kFormatError);
    }

    testutil::FakeUi ui;
    XmlDocument doc;
    EXPECT_FALSE(doc.LoadString(L"<settings><category name=\"1\"/><category name=\"2\" v=\"x\"><category"));
    EXPECT_EQ(doc.GetName(), L"settings");
    ASSERT_EQ(doc.GetChildCount(), 2);
    EXPECT_EQ(doc.GetChildren()[1].GetAttribute(L"v"), L"x");
}

TEST(XmlDocument, NestingIsBounded) {
    auto nested = [](int depth) {
        std::wstring s;
        for (int i = 0; i < depth; ++i) s += L"<n>";
        for (int i = 0; i < depth; ++i) s += L"</n>";
        return CString(s);
    };
    testutil::FakeUi ui;
    XmlDocument doc;
    EXPECT_TRUE(doc.LoadString(nested(XmlDocument::kMaxDepth)));
    EXPECT_FALSE(doc.LoadString(nested(XmlDocument::kMaxDepth + 1)));
    EXPECT_FALSE(doc.LoadString(nested(200000)));
    std::wstring open;
    for (int i = 0; i < 200000; ++i) open += L"<n>";
    EXPECT_FALSE(doc.LoadString(CString(open)));
}

TEST(XmlDocument, ValuesAreEscapedAndReadBackUnchanged) {
    XmlDocument doc;
    XmlNode& node = doc.AddChild(L"c");
    const CString tricky = L"&lt; \"q\" <a> & &amp; 'апостроф' \r\n\tтаб";
    node.SetAttribute(L"zeta", L"1");
    node.SetAttribute(L"Alpha", L"&lt;");
    node.SetAttribute(L"alpha", tricky);
    node.SetAttribute(L"Б", L"кириллица");
    const CString text = doc.SaveString();
    EXPECT_EQ(text.str(),
              L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n"
              L"<settings>\r\n"
              L"\t<c Alpha=\"&amp;lt;\" alpha=\"&amp;lt; &quot;q&quot; &lt;a&gt; &amp; &amp;amp; 'апостроф' \r\n"
              L"\tтаб\" zeta=\"1\" Б=\"кириллица\"/>\r\n"
              L"</settings>\r\n");
    std::wostringstream stream;
    node.WriteStream(stream, L"\t");
    std::wstring file;
    node.WriteFile(file, L"\t");
    EXPECT_EQ(stream.str(), file);

    testutil::FakeUi ui;
    XmlDocument back;
    ASSERT_TRUE(back.LoadString(text));
    ASSERT_EQ(back.GetChildCount(), 1);
    const XmlNode& c = back.GetChildren()[0];
    EXPECT_EQ(c.GetAttribute(L"Alpha"), L"&lt;");
    EXPECT_EQ(c.GetAttribute(L"alpha"), tricky);
    EXPECT_EQ(c.GetAttribute(L"Б"), L"кириллица");
    ASSERT_EQ(c.GetAttributeCount(), 4);
    EXPECT_EQ(c.GetAttributeName(0), L"Alpha");
    EXPECT_EQ(c.GetAttributeName(1), L"alpha");
    EXPECT_EQ(c.GetAttributeValue(2), L"1");
    EXPECT_EQ(c.GetAttributeName(3), L"Б");
    EXPECT_EQ(c.GetAttributeName(4), L"");

    // One pass: the text a reference yields never joins the next characters.
    EXPECT_EQ(XmlNode::UnescapeValue(L"&amp;lt;&amp;&gt;&unknown;&"), L"&lt;&>&unknown;&");
}

TEST(XmlDocument, NamesTheReaderCannotTakeAreNotWritten) {
    XmlNode node(L"c");
    node.SetAttribute(L"good", L"1");
    node.SetAttribute(L"two words", L"2");
    node.SetAttribute(L"a-b", L"3");
    node.SetAttribute(L"", L"4");
    node.SetAttribute(L"trailing ", L"5");
    std::wstring out;
    node.WriteFile(out, L"");
    EXPECT_EQ(out, L"<c good=\"1\" trailing =\"5\"/>\r\n");
}

TEST(XmlDocument, UnitOrderIsUtf16) {
    Utf16Less less;
    EXPECT_TRUE(less(L"Z", L"a"));
    EXPECT_TRUE(less(L"a", L"ab"));
    EXPECT_TRUE(less(L"Я", L"а"));
    // A character outside the basic plane is a surrogate pair and sorts below U+E000.
    EXPECT_TRUE(less(L"\U0001F600", L"\uE000"));
    EXPECT_FALSE(less(L"\uE000", L"\U0001F600"));
    EXPECT_TRUE(less(L"\uD7FF", L"\U0001F600"));
    EXPECT_TRUE(less(L"\U0001F600", L"\U0001F601"));
}

TEST(XmlDocument, LoadFileFailures) {
    testutil::TempDir dir;
    const std::string bomOnly = dir.File("bom.xml"), empty = dir.File("empty.xml"), odd = dir.File("odd.xml");
    testutil::WriteFile(bomOnly, "\xFF\xFE");
    testutil::WriteFile(empty, "");
    testutil::WriteFile(odd, Utf16File(L"<a k=\"Ж\"/>") + "\x01");

    testutil::FakeUi ui;
    XmlDocument doc;
    CString error;
    EXPECT_FALSE(doc.LoadFile(CString(platform::Utf8ToWide(bomOnly)), false, &error));
    EXPECT_EQ(error, kFormatError);
    EXPECT_EQ(doc.GetName(), L"");
    EXPECT_EQ(doc.GetChildCount(), 0);
    EXPECT_TRUE(ui.exceptions.empty());

    EXPECT_FALSE(doc.LoadFile(CString(platform::Utf8ToWide(empty)), true, &error));
    ASSERT_EQ(ui.exceptions.size(), 1u);
    EXPECT_EQ(ui.exceptions[0], kFormatError);

    EXPECT_FALSE(doc.LoadFile(CString(platform::Utf8ToWide(dir.File("missing.xml"))), true, &error));
    ASSERT_EQ(ui.exceptions.size(), 2u);
    EXPECT_NE(ui.exceptions[1].Find(L"missing.xml"), -1);

    XmlDocument fromCtor(CString(platform::Utf8ToWide(odd)), true);
    EXPECT_EQ(fromCtor.GetName(), L"a");
    EXPECT_EQ(fromCtor.GetAttribute(L"k"), L"Ж");
    EXPECT_EQ(ui.exceptions.size(), 2u);
}

// Every prefix of a valid file, and bytes flipped at random, must give a tree or the format
// error: never a crash or a read past the end (the sanitizer build watches for those).
TEST(XmlDocument, TruncatedAndDamagedFiles) {
    XmlDocument src;
    XmlNode& a = src.AddChild(L"category");
    a.SetAttribute(L"name", L"Канал \"1\" <&>");
    a.SetAttribute(L"ShowFlags", L"16609");
    XmlNode& b = a.AddChild(L"category");
    b.SetAttribute(L"name", L"Sub");
    const std::string full = Utf16File(L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<!-- c -->" + src.SaveString().str());

    testutil::TempDir dir;
    const std::string path = dir.File("t.xml");
    const CString wpath(platform::Utf8ToWide(path));
    testutil::FakeUi ui;
    for (size_t n = 0; n <= full.size(); ++n) {
        testutil::WriteFile(path, full.substr(0, n));
        XmlDocument doc;
        CString error;
        const bool ok = doc.LoadFile(wpath, false, &error);
        // The root's end tag ends the document: only the prefixes that hold it parse.
        const bool complete = n >= full.size() - 2 * std::string("\r\n").size();
        EXPECT_EQ(ok, complete) << n;
        if (!ok) {
            EXPECT_EQ(error, kFormatError) << n;
        }
    }
    EXPECT_TRUE(ui.exceptions.empty());
    std::mt19937 rng(12345);
    for (int i = 0; i < 3000; ++i) {
        std::string damaged = full;
        for (int k = 0; k < 3; ++k) damaged[rng() % damaged.size()] = char(rng());
        XmlDocument doc;
        doc.LoadString(CString(platform::Utf16LeToWide(damaged)));
    }
}
