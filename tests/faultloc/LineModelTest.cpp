#include <gtest/gtest.h>

#include "FakeUi.h"
#include "faultloc/WrongPlaceLocatorData.h"
#include "model/Resources.h"

using Data = WrongPlaceLocatorData;

TEST(LineModel, NewModelHasDefaults) {
    Data m;
    EXPECT_EQ(m.methodType, 1);
    for (int i = 0; i < 2; ++i) {
        const auto& st = m.GetStation(i);
        EXPECT_EQ(st.stationIndex, i);
        EXPECT_EQ(st.GetParam(LineParam::Name()), L"Подстанция");
        EXPECT_EQ(st.GetParam(LineParam::NominalCurrent()), L"0");
        EXPECT_EQ(st.GetParam(L"Ia"), L"");
        EXPECT_EQ(st.GetParam(L"I0"), L"");  // a name the station does not have
        EXPECT_EQ(st.GetSectionCount(), 0);
        EXPECT_EQ(st.GetParamCount(), 11);
    }
    Data::Section s;
    EXPECT_EQ(s.GetParamNameAt(0), L"Длина участка");
    EXPECT_EQ(s.GetParamValueAt(0), L"1");
    EXPECT_EQ(s.GetParamNameAt(99), L"");
    EXPECT_EQ(s.ParamAt(2).methodMask, 1);
    EXPECT_EQ(s.ParamAt(4).methodMask, 6);
}

TEST(LineModel, SetParamChangesOnlyKnownNames) {
    Data::Station st(0);
    auto before = st.params.size();
    st.SetParam(L"nonexistent", L"5");
    EXPECT_EQ(st.params.size(), before);
    st.SetParam(L"Ia", L"IA1");
    EXPECT_EQ(st.GetParam(L"Ia"), L"IA1");
    EXPECT_EQ(st.GetParam(L"ia"), L"");  // names are case-sensitive
}

TEST(LineModel, MovingAndRemovingKeepChildrenWithTheirSection) {
    Data m;
    auto& st = m.station1;
    Data::Section* a = st.AddSection();
    Data::Section* b = st.AddSection();
    Data::Section* c = st.AddSection();
    a->SetParam(LineParam::Comment(), L"a");
    b->SetParam(LineParam::Comment(), L"b");
    c->SetParam(LineParam::Comment(), L"c");
    b->AddParallelLine()->SetParam(L"I0", L"I0b");
    b->AddConnection();
    EXPECT_FALSE(a->CanMoveUp());
    EXPECT_FALSE(c->CanMoveDown());
    EXPECT_FALSE(st.CanMoveUp());
    EXPECT_FALSE(st.IsRemovable());
    ASSERT_TRUE(b->CanMoveUp());
    b->MoveUp();
    EXPECT_EQ(st.GetSection(0)->GetParam(LineParam::Comment()), L"b");
    EXPECT_EQ(st.GetSection(0)->GetParallelLine(0)->GetParam(L"I0"), L"I0b");
    EXPECT_EQ(st.GetSection(0)->GetParallelLine(0)->parent, st.GetSection(0));
    EXPECT_EQ(st.GetSection(1)->GetParam(LineParam::Comment()), L"a");
    EXPECT_EQ(st.AddSection()->AddSection(), nullptr);  // a section holds no sections
    st.GetSection(0)->GetConnection(0)->Remove();
    EXPECT_EQ(st.GetSection(0)->GetConnectionCount(), 0);
    EXPECT_EQ(st.GetSection(0)->GetParallelLineCount(), 1);
    st.GetSection(0)->Remove();
    EXPECT_EQ(st.GetSectionCount(), 3);
    EXPECT_EQ(st.GetSection(0)->GetParam(LineParam::Comment()), L"a");
}

TEST(LineModel, OnlySectionHasNoMoves) {
    Data m;
    auto* s = m.station1.AddSection();
    EXPECT_FALSE(s->CanMoveUp());
    EXPECT_FALSE(s->CanMoveDown());
    auto* p1 = s->AddParallelLine();
    auto* c1 = s->AddConnection();
    // Each child moves within its own list only.
    EXPECT_FALSE(p1->CanMoveDown());
    EXPECT_FALSE(c1->CanMoveUp());
}

TEST(LineModel, CopyIsIndependentOfItsSource) {
    Data m;
    auto* s = m.station1.AddSection();
    s->AddParallelLine();
    Data copy = m;
    ASSERT_EQ(copy.station1.GetSectionCount(), 1);
    Data::Section* cs = copy.station1.GetSection(0);
    EXPECT_EQ(cs->parent, &copy.station1);
    EXPECT_EQ(cs->GetParallelLine(0)->parent, cs);
    cs->Remove();  // edits the copy only
    EXPECT_EQ(copy.station1.GetSectionCount(), 0);
    EXPECT_EQ(m.station1.GetSectionCount(), 1);
    m = copy;
    EXPECT_EQ(m.station1.GetSectionCount(), 0);
}

TEST(LineModel, ValidationRulesInOrder) {
    struct Case {
        const char* what;
        int method;
        std::vector<std::pair<CString, CString>> section;  // values set on the one section
        int parallelRm0Xm0;                                  // add a parallel line with Rm = Xm = 0
        int tapZero;                                         // add a connection with R0 = X0 = 0
        unsigned expected;
    };
    const Case cases[] = {
        {"valid type 1", 1, {{LineParam::X(), L"0.4"}}, 0, 0, 0},
        {"zero length first", 1, {{LineParam::Length(), L"0.0"}, {LineParam::Towers(), L"0"}}, 0, 0, 3187},
        {"empty length", 2, {{LineParam::Length(), L""}}, 0, 0, 3187},
        {"zero towers", 1, {{LineParam::Towers(), L"0"}}, 0, 0, 3535},
        {"type 1 R and X zero", 1, {}, 0, 0, 3068},
        {"type 1 ignores zero sequence", 1, {{LineParam::R(), L"0.1"}}, 1, 1, 0},
        {"type 2 R1 X1", 2, {{LineParam::R0(), L"1"}}, 0, 0, 3074},
        {"type 2 R0 X0", 2, {{LineParam::R1(), L"1"}}, 0, 0, 3071},
        {"type 2 parallel line", 2, {{LineParam::R1(), L"1"}, {LineParam::R0(), L"1"}}, 1, 0, 3076},
        {"type 4 tap", 4, {{LineParam::R1(), L"1"}, {LineParam::X0(), L"1"}}, 0, 1, 3071},
        {"section R0 before tap", 4, {{LineParam::R1(), L"1"}}, 0, 1, 3071},
        {"decimal comma is a number", 1, {{LineParam::Length(), L"12,5"}, {LineParam::X(), L"0,4"}}, 0, 0, 0},
        {"text that is no number", 1, {{LineParam::Length(), L"abc"}}, 0, 0, 9001},
        {"tower count that is no number", 1, {{LineParam::Towers(), L"abc"}}, 0, 0, 9001},
        {"number with trailing text", 1, {{LineParam::Length(), L"12 km"}, {LineParam::X(), L"1"}}, 0, 0, 9001},
        {"negative length", 1, {{LineParam::Length(), L"-3"}, {LineParam::X(), L"1"}}, 0, 0, 9002},
        {"unknown method checks length only", 3, {}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Data m;
        m.methodType = c.method;
        auto* s = m.station1.AddSection();
        for (const auto& [name, value] : c.section) s->SetParam(name, value);
        if (c.parallelRm0Xm0) s->AddParallelLine();
        if (c.tapZero) s->AddConnection();
        EXPECT_EQ(m.FindViolation(), c.expected) << c.what;
    }
}

TEST(LineModel, ValidateShowsTheFirstViolationOfTheFirstFailingSection) {
    testutil::FakeUi ui;
    Data m;
    EXPECT_TRUE(m.Validate());  // no sections: valid for every method
    m.station1.AddSection()->SetParam(LineParam::X(), L"1");
    m.station1.AddSection()->SetParam(LineParam::Towers(), L"0");
    m.station2.AddSection()->SetParam(LineParam::Length(), L"0");  // station 2 is never checked
    EXPECT_FALSE(m.Validate());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], L"Число опор не может быть равна нулю");
    EXPECT_EQ(ui.types[0], unsigned(MB_OK));
    // A length typed as words is named as no number, not blamed for being zero.
    Data words;
    words.station1.AddSection()->SetParam(LineParam::Length(), L"abc");
    EXPECT_FALSE(words.Validate());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1], L"Значение параметра \"" + LineParam::Length() + L"\" не является числом");
}
