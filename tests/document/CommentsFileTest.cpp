// Comments kept in the record's settings file: what fits the record loads, what does not is
// named to the user and left out, and saving what was loaded writes the same file.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "TestUtil.h"
#include "document/TenvorikDoc.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"

namespace {

CString W(const std::string& s) { return CString(platform::Utf8ToWide(s)); }

}  // namespace

TEST(CommentsFile, CommentsThatFitLoadAndSaveBackUnchanged) {
    fixtures::DocUi ui;
    testutil::TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999(8));
    CString name;
    {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        name = doc.GetOscillogram().m_channels[0].GetName();
    }
    SettingsStore set;
    SettingsNode& comments = set.GetCategory(L"Comments");
    comments.SetInt(L"Codepage", 1);
    SettingsNode& m1 = comments.GetSubCategory(L"Moments").GetSubCategory(L"Moment1");
    m1.SetInt(L"position", 2);
    m1.SetString(L"text", L"Отключение\nвыключателя");
    comments.GetSubCategory(L"Moments").GetSubCategory(L"Moment2").SetInt(L"position", 8);  // past the end
    comments.GetSubCategory(L"Levels").GetSubCategory(L"Level1").SetString(L"channel", L"Нет такого");
    SettingsNode& a1 = comments.GetSubCategory(L"Areas").GetSubCategory(L"Area1");
    a1.SetInt(L"positionFrom", 1);
    a1.SetInt(L"positionTo", 3);
    a1.SetString(L"channelFrom", name);
    a1.SetString(L"channelTo", name);
    ASSERT_TRUE(set.Save(W(dir.File("rec.set"))));

    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].Find(L"не загружены: 2"), -1) << platform::WideToUtf8(ui.errors[0].str());
    ASSERT_EQ(doc.m_comments.Items().size(), 2u);
    EXPECT_EQ(doc.m_comments.Items()[0]->GetKind(), CommentItem::kArea);
    EXPECT_EQ(doc.m_comments.Items()[1]->m_text, CString(L"Отключение\nвыключателя"));

    ASSERT_TRUE(doc.OnSaveDocument(W(cfg)));
    const std::string saved = testutil::ReadFile(dir.File("rec.set"));
    CTenvorikDoc again;
    ASSERT_TRUE(again.OnOpenDocument(W(cfg)));
    EXPECT_EQ(ui.errors.size(), 1u);
    ASSERT_TRUE(again.OnSaveDocument(W(cfg)));
    EXPECT_EQ(testutil::ReadFile(dir.File("rec.set")), saved);
    // The header's code page beside the comments stays.
    EXPECT_EQ(again.m_settings.GetCategory(L"Comments").GetInt(L"Codepage", -1), 1);
}

// The header comment travels in the ".hdr" beside the record: a text the user emptied stays
// empty when the record is opened again, rather than the old text coming back.
TEST(CommentsFile, AnEmptiedHeaderCommentStaysEmpty) {
    fixtures::DocUi ui;
    testutil::TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999(8));
    const CStringA header("\x8f\xe0\xae\xa2\xa5\xe0\xaa\xa0");  // "Проверка" in 866
    {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        doc.m_oscillogram.m_headerText = header;
        ASSERT_TRUE(doc.OnSaveDocument(W(cfg)));
    }
    EXPECT_EQ(testutil::ReadFile(dir.File("rec.hdr")), header.str());
    {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        EXPECT_EQ(doc.m_oscillogram.m_headerText, header);
        doc.m_oscillogram.m_headerText = CStringA();
        ASSERT_TRUE(doc.OnSaveDocument(W(cfg)));
    }
    CTenvorikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
    EXPECT_TRUE(doc.m_oscillogram.m_headerText.IsEmpty());
    EXPECT_TRUE(ui.errors.empty());
}

// What the comments' category holds beyond the three groups of items (the header's code page,
// a group a later program adds) is kept as it was, and the file saved back is the file read.
TEST(CommentsFile, SavingWhatWasReadWritesTheSameBytes) {
    fixtures::DocUi ui;
    testutil::TempDir dir;
    const std::string cfg = fixtures::Write(dir, "rec", fixtures::Ascii1999(8));
    CString name;
    std::string first;
    {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        name = doc.GetOscillogram().m_channels[1].GetName();
        doc.m_settings.GetCategory(L"Comments").GetSubCategory(L"Arrows").GetSubCategory(L"Arrow1").SetInt(L"position", 3);
        doc.m_comments.Add(std::make_unique<MomentItem>(7, CString(L"последний\r\nотсчёт")));
        auto* level = static_cast<LevelItem*>(doc.m_comments.Add(std::make_unique<LevelItem>(name, 1, 0.125)));
        level->m_positionTo = 6;
        level->m_locked = true;
        auto* area = static_cast<AreaItem*>(doc.m_comments.Add(std::make_unique<AreaItem>(name, 5)));
        area->m_positionTo = 0;
        area->m_visible = false;
        doc.m_comments.Add(std::make_unique<MomentItem>(0, CString(L"первый")));
        ASSERT_TRUE(doc.OnSaveDocument(W(cfg)));
        first = testutil::ReadFile(dir.File("rec.set"));
    }
    for (int round = 0; round < 2; ++round) {
        CTenvorikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(W(cfg)));
        ASSERT_EQ(doc.m_comments.Items().size(), 4u);
        ASSERT_TRUE(doc.OnSaveDocument(W(cfg)));
        EXPECT_EQ(testutil::ReadFile(dir.File("rec.set")), first) << round;
    }
    const std::wstring text = platform::Utf16LeToWide(first);
    EXPECT_NE(text.find(L"Arrow1"), std::wstring::npos);
    EXPECT_NE(text.find(L"последний\nотсчёт"), std::wstring::npos);
    EXPECT_TRUE(ui.errors.empty());
}
