// The document's fault-location commands as the ribbon and the result bar use them.
#include <gtest/gtest.h>

#include <functional>

#include "FakeUi.h"
#include "FaultRecord.h"
#include "document/TenvorikDoc.h"

namespace {

// Answers the document's window hooks as a user would; records what the result bar shows.
class Doc final : public CTenvorikDoc {
public:
    void ShowFaultLocationBar(const CString& text) override {
        barShown = true;
        barText = text;
    }
    void HideFaultLocationBar() override { barShown = false; }
    bool EditLineModel(WrongPlaceLocatorData& model) override {
        ++edits;
        if (editor) editor(model);
        return acceptEdit;
    }

    bool barShown = false;
    CString barText;
    int edits = 0;
    bool acceptEdit = false;
    std::function<void(WrongPlaceLocatorData&)> editor;
};

void DescribeLine(WrongPlaceLocatorData& m) {
    m.methodType = 1;
    m.station1.SetParam(LineParam::NominalCurrent(), L"100");
    for (const wchar_t* ch : {L"Ia", L"Ib", L"Ic", L"Uab", L"Ubc", L"Uca"}) m.station1.SetParam(ch, ch);
    m.station1.ClearSections();
    auto* s = m.station1.AddSection();
    s->SetParam(LineParam::Length(), L"20");
    s->SetParam(LineParam::Towers(), L"40");
    s->SetParam(LineParam::R(), L"0.12");
    s->SetParam(LineParam::X(), L"0.41");
}

}  // namespace

TEST(DocumentFaultLocation, EditorCancelRunAndHideFromTheCommands) {
    testutil::FakeUi ui;
    testutil::TempDir dir;
    Doc doc;
    ASSERT_TRUE(doc.OnOpenDocument(CString(WriteFaultRecord(dir).c_str())));
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(doc.GetCommandState(ID_FAULT_REPORT).enabled);

    // Cancel: the edits made in the editor never reach the engine.
    doc.editor = DescribeLine;
    EXPECT_TRUE(doc.OnCommand(ID_FAULT_LOCATION_PARAMS));
    EXPECT_EQ(doc.edits, 1);
    EXPECT_EQ(doc.m_locator.GetData().station1.GetSectionCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.barShown);

    // OK: the model is taken over, the document modified and the location run.
    doc.acceptEdit = true;
    doc.OnCommand(ID_FAULT_LOCATION_PARAMS);
    EXPECT_EQ(doc.m_locator.GetData().station1.GetSectionCount(), 1);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.m_locator.IsActive()) << (ui.exceptions.empty() ? L"" : ui.exceptions[0].GetString());
    EXPECT_TRUE(doc.barShown);
    EXPECT_EQ(doc.barText.Find(L"    2-х фазное КЗ: фазы BC на участке № 1"), 0) << doc.barText.GetString();
    const auto run = doc.GetCommandState(ID_FAULT_LOCATION);
    EXPECT_TRUE(run.enabled && run.checked);
    EXPECT_TRUE(doc.GetCommandState(ID_FAULT_REPORT).enabled);

    // Another record became active and this one again: the bar shows this record's result.
    doc.barShown = false;
    doc.barText = L"";
    doc.UpdateFaultLocationBar();
    EXPECT_TRUE(doc.barShown);
    EXPECT_EQ(doc.barText, doc.m_locator.m_resultText);

    // The run command again hides the result and takes its channels away.
    auto hasDistance = [&] {
        for (const auto& ch : doc.m_oscillogram.m_channels)
            if (ch.GetName() == L"Lкз") return true;
        return false;
    };
    EXPECT_TRUE(hasDistance());
    doc.OnCommand(ID_FAULT_LOCATION);
    EXPECT_FALSE(doc.m_locator.IsActive());
    EXPECT_FALSE(doc.barShown);
    EXPECT_FALSE(hasDistance());
    doc.barShown = true;
    doc.UpdateFaultLocationBar();
    EXPECT_FALSE(doc.barShown);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(DocumentFaultLocation, RunWithoutLineModelShowsMessageAndNoBar) {
    testutil::FakeUi ui;
    testutil::TempDir dir;
    Doc doc;
    ASSERT_TRUE(doc.OnOpenDocument(CString(WriteFaultRecord(dir).c_str())));
    doc.OnCommand(ID_FAULT_LOCATION);
    ASSERT_EQ(ui.exceptions.size(), 1u);
    EXPECT_EQ(ui.exceptions[0], L"Данные для определения места повреждения не введены.");
    EXPECT_FALSE(doc.barShown);
    EXPECT_FALSE(doc.m_locator.IsActive());
    EXPECT_FALSE(doc.GetCommandState(ID_FAULT_LOCATION).checked);
}
