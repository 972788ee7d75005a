#include <gtest/gtest.h>

#include "TestUtil.h"
#include "faultloc/WrongPlaceLocatorData.h"
#include "model/SettingsStore.h"

using Data = WrongPlaceLocatorData;

namespace {
Data SampleModel() {
    Data m;
    m.methodType = 2;
    m.station1.SetParam(LineParam::Name(), L"ПС Северная");
    m.station1.SetParam(LineParam::NominalCurrent(), L"600");
    m.station1.SetParam(L"Ia", L"IA \"1\" & <2>");
    m.station2.SetParam(L"Ub", L"UB2");
    auto* s1 = m.station1.AddSection();
    s1->SetParam(LineParam::Length(), L"12,5");  // texts are kept exactly as typed
    s1->SetParam(LineParam::Comment(), L"опора, переход");
    auto* p1 = s1->AddParallelLine();
    p1->SetParam(L"I0", L"3I0 ВЛ-2");
    s1->AddParallelLine()->SetParam(LineParam::Rm(), L"0.11");
    s1->AddConnection()->SetParam(LineParam::TapX0(), L"45");
    m.station1.AddSection()->SetParam(LineParam::Towers(), L"33");
    return m;
}

void ExpectSameModel(const Data& a, const Data& b) {
    EXPECT_EQ(a.methodType, b.methodType);
    for (int st = 0; st < 2; ++st) {
        const auto& x = a.GetStation(st);
        const auto& y = b.GetStation(st);
        ASSERT_EQ(x.GetSectionCount(), y.GetSectionCount());
        for (int i = 0; i < x.GetParamCount(); ++i) EXPECT_EQ(x.GetParamValueAt(i), y.GetParamValueAt(i));
        for (int s = 0; s < x.GetSectionCount(); ++s) {
            const auto* sx = x.GetSection(s);
            const auto* sy = y.GetSection(s);
            for (int i = 0; i < sx->GetParamCount(); ++i) EXPECT_EQ(sx->GetParamValueAt(i), sy->GetParamValueAt(i));
            ASSERT_EQ(sx->GetParallelLineCount(), sy->GetParallelLineCount());
            ASSERT_EQ(sx->GetConnectionCount(), sy->GetConnectionCount());
            for (int p = 0; p < sx->GetParallelLineCount(); ++p)
                for (int i = 0; i < 4; ++i)
                    EXPECT_EQ(sx->GetParallelLine(p)->GetParamValueAt(i), sy->GetParallelLine(p)->GetParamValueAt(i));
            for (int c = 0; c < sx->GetConnectionCount(); ++c)
                for (int i = 0; i < 3; ++i)
                    EXPECT_EQ(sx->GetConnection(c)->GetParamValueAt(i), sy->GetConnection(c)->GetParamValueAt(i));
        }
    }
}
}  // namespace

TEST(LineModelStorage, CurrentLayoutKeysAndChildOrder) {
    SettingsNode node;
    SampleModel().Save(node);
    EXPECT_EQ(node.GetString(L"ver", L""), L"2");
    EXPECT_EQ(node.GetString(L"type", L""), L"2");
    const SettingsNode& s1 = node.GetSubCategory(L"Station1").GetSubCategory(L"Section1");
    EXPECT_EQ(s1.GetString(L"lenght", L""), L"12,5");
    EXPECT_EQ(s1.GetSubCategoryCount(), 3);
    SettingsNode& sec = node.GetSubCategory(L"Station1").GetSubCategory(L"Section1");
    EXPECT_EQ(sec.GetSubCategory(L"child1").GetString(L"type", L""), L"parLine");
    EXPECT_EQ(sec.GetSubCategory(L"child1").GetString(L"I0", L""), L"3I0 ВЛ-2");
    EXPECT_EQ(sec.GetSubCategory(L"child2").GetString(L"type", L""), L"parLine");
    EXPECT_EQ(sec.GetSubCategory(L"child3").GetString(L"type", L""), L"connection");
    EXPECT_EQ(sec.GetSubCategory(L"child3").GetString(L"x0", L""), L"45");
    EXPECT_EQ(node.GetSubCategory(L"Station1").GetSubCategory(L"Section2").GetSubCategoryCount(), 0);
}

TEST(LineModelStorage, RoundTripThroughAnOmpFile) {
    testutil::TempDir dir;
    const CString path = CString(dir.File("line.omp").c_str());
    Data original = SampleModel();
    SettingsStore store;
    original.Save(store.GetCategory(L"omp"));
    ASSERT_TRUE(store.Save(path));
    SettingsStore reread;
    ASSERT_TRUE(reread.Load(path));
    Data loaded;
    loaded.Load(reread.GetCategory(L"omp"));
    ExpectSameModel(original, loaded);
    // Loading again replaces, never appends.
    loaded.Load(reread.GetCategory(L"omp"));
    EXPECT_EQ(loaded.station1.GetSectionCount(), 2);
}

TEST(LineModelStorage, ReadingDefaultsAndOddChildren) {
    SettingsNode node;
    node.SetString(L"ver", L"2");
    SettingsNode& st = node.GetSubCategory(L"Station1");
    st.GetSubCategory(L"Section1").SetString(L"lenght", L"5");
    st.GetSubCategory(L"Other");  // any sub-category counts towards the sections
    SettingsNode& sec = st.GetSubCategory(L"Section1");
    sec.GetSubCategory(L"child1").SetString(L"type", L"parLine");  // without "I0"
    sec.GetSubCategory(L"child2").SetString(L"type", L"something");
    sec.GetSubCategory(L"child3");
    Data m;
    m.Load(node);
    EXPECT_EQ(m.methodType, 1);  // "type" absent
    ASSERT_EQ(m.station1.GetSectionCount(), 2);
    EXPECT_EQ(m.station1.GetSection(1)->GetParam(LineParam::Length()), L"");  // absent key: empty, not the default
    const auto* s = m.station1.GetSection(0);
    ASSERT_EQ(s->GetParallelLineCount(), 1);
    EXPECT_EQ(s->GetParallelLine(0)->GetParam(L"I0"), L"0");
    EXPECT_EQ(s->GetConnectionCount(), 2);
    EXPECT_EQ(s->GetConnection(1)->GetParam(LineParam::TapR0()), L"0");
    EXPECT_EQ(m.station1.GetParam(LineParam::NominalCurrent()), L"0");
    // Reading never adds categories to the settings it reads.
    EXPECT_EQ(node.GetSubCategoryCount(), 1);
}

TEST(LineModelStorage, OlderLayoutReplacesStationOnesSections) {
    SettingsNode node;
    node.SetString(L"SectionsNum", L"1000000");  // never trusted beyond the sections present
    node.SetString(L"I1n", L"400");
    node.SetString(L"Ia", L"IA");
    node.SetString(L"Section0", L"10,0.1,0.4,25,first");
    node.SetString(L"Section1", L"7,,0.5,12,second");
    Data m;
    m.methodType = 4;
    m.station1.AddSection();
    m.Load(node);
    EXPECT_EQ(m.methodType, 1);
    EXPECT_EQ(m.station1.GetParam(LineParam::NominalCurrent()), L"400");
    EXPECT_EQ(m.station1.GetParam(L"Ia"), L"IA");
    ASSERT_EQ(m.station1.GetSectionCount(), 2);
    const auto* s0 = m.station1.GetSection(0);
    EXPECT_EQ(s0->GetParam(LineParam::Length()), L"10");
    EXPECT_EQ(s0->GetParam(LineParam::R()), L"0.1");
    EXPECT_EQ(s0->GetParam(LineParam::X()), L"0.4");
    EXPECT_EQ(s0->GetParam(LineParam::Towers()), L"25");
    EXPECT_EQ(s0->GetParam(LineParam::Comment()), L"first");
    // Two commas in a row count as one: later fields move forward.
    const auto* s1 = m.station1.GetSection(1);
    EXPECT_EQ(s1->GetParam(LineParam::R()), L"0.5");
    EXPECT_EQ(s1->GetParam(LineParam::Comment()), L"");
    m.Load(node);
    EXPECT_EQ(m.station1.GetSectionCount(), 2);
}

TEST(LineModelStorage, SettingsWithoutALineModelKeepTheModel) {
    Data m = SampleModel();
    SettingsNode empty;
    m.Load(empty);
    ExpectSameModel(m, SampleModel());
}

TEST(LineModelStorage, LegacyTextFile) {
    testutil::TempDir dir;
    const std::string good = dir.File("line.txt");
    // Station 1's channels and nominal current, then two sections of five fields.
    testutil::WriteFile(good, "3\tIA\tIB\tIC\tUAB\tUBC\tUCA\t600\r\n2\r\n10,0.1,0.4,25,\xCF\xE5\xF0\xE2\xFB\xE9\n7\t0.2\t0.5\t12\tx\n");
    Data m;
    m.methodType = 4;
    ASSERT_TRUE(m.LoadLegacyText(CString(good.c_str())));
    EXPECT_EQ(m.methodType, 1);
    EXPECT_EQ(m.station1.GetParam(L"Uca"), L"UCA");
    EXPECT_EQ(m.station1.GetParam(LineParam::NominalCurrent()), L"600");
    ASSERT_EQ(m.station1.GetSectionCount(), 2);
    EXPECT_EQ(m.station1.GetSection(0)->GetParam(LineParam::Comment()), L"Первый");
    EXPECT_EQ(m.station1.GetSection(1)->GetParam(LineParam::Towers()), L"12");

    // A missing file, an empty one and one that ends early leave the model untouched.
    const std::string shortFile = dir.File("short.txt");
    testutil::WriteFile(shortFile, "3\tIA\tIB\tIC\tUAB\tUBC\tUCA\t600\r\n5\r\n10,0.1,0.4,25,c\n");
    const std::string empty = dir.File("empty.txt");
    testutil::WriteFile(empty, "");
    for (const std::string& bad : {dir.File("missing.txt"), empty, shortFile}) {
        Data keep = SampleModel();
        EXPECT_FALSE(keep.LoadLegacyText(CString(bad.c_str()))) << bad;
        ExpectSameModel(keep, SampleModel());
    }
}
