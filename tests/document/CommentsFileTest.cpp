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
