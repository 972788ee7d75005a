// The locate tool on a fault record written as COMTRADE files, as a user's record would be.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>

#include "FaultRecord.h"
#include "TestUtil.h"
#include "faultloc/WrongPlaceLocatorData.h"
#include "model/SettingsStore.h"

namespace {

using C = std::complex<double>;

WrongPlaceLocatorData LineModel() {
    WrongPlaceLocatorData m;
    m.methodType = 1;
    auto& st = m.station1;
    st.SetParam(LineParam::NominalCurrent(), L"100");
    for (const wchar_t* ch : {L"Ia", L"Ib", L"Ic", L"Uab", L"Ubc", L"Uca"}) st.SetParam(ch, ch);
    auto* s = st.AddSection();
    s->SetParam(LineParam::Length(), L"20");
    s->SetParam(LineParam::Towers(), L"40");
    s->SetParam(LineParam::R(), L"0,12");
    s->SetParam(LineParam::X(), L"0.41");
    return m;
}

// The model in a settings file under `category`: "omp" for a line-model file,
// "WrongPlaceFinding" for the record's own settings.
std::string WriteModel(const std::string& path, const wchar_t* category) {
    SettingsStore store;
    LineModel().Save(store.GetCategory(category));
    EXPECT_TRUE(store.Save(CString(path.c_str())));
    return path;
}

double NumberAfter(const std::string& text, const std::string& key) {
    size_t p = text.find("\"" + key + "\": ");
    return p == std::string::npos ? std::nan("") : std::strtod(text.c_str() + p + key.size() + 4, nullptr);
}

}  // namespace

TEST(LocateTool, LocatesAFaultInAComtradeRecord) {
    testutil::TempDir dir;
    const std::string record = WriteFaultRecord(dir);
    const std::string model = WriteModel(dir.File("line.omp"), L"omp");
    const std::string tool = std::string(TV_BIN_DIR) + "/locate";

    auto r = testutil::Run({tool, "--model", model, record});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NEAR(NumberAfter(r.out, "distance_km"), 6.3, 0.01) << r.out;
    EXPECT_NE(r.out.find("\"faulted_phases\": \"BC\""), std::string::npos);
    EXPECT_NE(r.out.find("\"fault_kind\": \"two-phase\""), std::string::npos);
    EXPECT_NE(r.out.find("\"towers\": [12, 13]"), std::string::npos) << r.out;  // trunc(40 * 6.3 / 20) + 1
    EXPECT_NE(r.out.find("\"caption\": \"    2-х фазное КЗ: фазы BC на участке № 1, опоры 12 - 13."),
              std::string::npos);
    EXPECT_NE(r.out.find("Канал Ia:  Ia         Ктр = 1/1"), std::string::npos);
    EXPECT_GE(NumberAfter(r.out, "section"), 1);

    // Without a line model the program's message comes back.
    auto e = testutil::Run({tool, record});
    EXPECT_EQ(e.exitCode, 1);
    EXPECT_EQ(e.out, "{\"error\": \"Данные для определения места повреждения не введены.\"}\n");

    // The model kept in the record's settings file is the one a plain run uses.
    WriteModel(dir.File("fault.set"), L"WrongPlaceFinding");
    auto s = testutil::Run({tool, record});
    ASSERT_EQ(s.exitCode, 0) << s.out << s.err;
    EXPECT_NEAR(NumberAfter(s.out, "distance_km"), 6.3, 0.01) << s.out;
}

TEST(LocateTool, ModelsWithABlankSectionAreRefused) {
    testutil::TempDir dir;
    const std::string record = WriteFaultRecord(dir);
    const std::string tool = std::string(TV_BIN_DIR) + "/locate";
    // Each breaks the good model in one way a file can.
    const struct { const char* what; void (*breakIt)(SettingsNode&); const char* message; } cases[] = {
        {"a sub-category not named as a section",
         [](SettingsNode& n) { n.GetSubCategory(L"Station1").GetSubCategory(L"Extra"); },
         "Длина участка не может быть равна нулю"},
        {"a truncated section",
         [](SettingsNode& n) {
             auto& sec = n.GetSubCategory(L"Station1").GetSubCategory(L"Section1");
             sec.SetString(L"sup_number", L"");
             sec.SetString(L"r", L"");
             sec.SetString(L"x", L"");
         },
         "Число опор не может быть равна нулю"},
        {"a legacy blank section",
         [](SettingsNode& n) {
             n.Clear();
             n.SetString(L"I1n", L"100");
             for (const wchar_t* ch : {L"Ia", L"Ib", L"Ic", L"Uab", L"Ubc", L"Uca"}) n.SetString(ch, ch);
             n.SetInt(L"SectionsNum", 1);
             n.SetString(L"Section0", L"0,0,0,0");
         },
         "Длина участка не может быть равна нулю"},
    };
    for (const auto& c : cases) {
        for (const wchar_t* category : {L"omp", L"WrongPlaceFinding"}) {
            const bool omp = std::wstring(category) == L"omp";
            SettingsStore store;
            SettingsNode& node = store.GetCategory(category);
            LineModel().Save(node);
            c.breakIt(node);
            const std::string path = dir.File(omp ? "line.omp" : "fault.set");
            ASSERT_TRUE(store.Save(CString(path.c_str())));
            auto r = omp ? testutil::Run({tool, "--model", path, record}) : testutil::Run({tool, record});
            EXPECT_EQ(r.exitCode, 1) << c.what << r.out;
            EXPECT_NE(r.out.find("\"error\": \"" + std::string(c.message)), std::string::npos) << c.what << " " << r.out;
            EXPECT_EQ(r.out.find("distance"), std::string::npos) << c.what;
            std::remove(path.c_str());
        }
    }
}

TEST(LocateTool, ChildrenOfAnyTypeAreCheckedAsTaps) {
    WrongPlaceLocatorData good = LineModel();
    good.methodType = WrongPlaceLocatorData::EarthedNeutral;
    auto* s = good.station1.GetSection(0);
    for (auto [p, v] : {std::pair{LineParam::R1(), L"0.1"}, {LineParam::X1(), L"0.4"}, {LineParam::R0(), L"0.3"},
                        {LineParam::X0(), L"1.2"}})
        s->SetParam(p, v);
    SettingsNode node;
    good.Save(node);
    SettingsNode& child = node.GetSubCategory(L"Station1").GetSubCategory(L"Section1").GetSubCategory(L"child1");
    // A child that is no parallel line is read as a tap; without values it is one of no
    // impedance, which the check refuses.
    const struct { const wchar_t* type; unsigned violation; } cases[] = {
        {L"connection", 3071}, {L"reactor", 3071}, {L"", 3071}, {L"parLine", 3076},
    };
    for (const auto& c : cases) {
        child.Clear();
        child.SetString(L"type", c.type);
        WrongPlaceLocatorData m;
        m.Load(node);
        EXPECT_EQ(m.FindViolation(), c.violation) << c.type;
    }
}
