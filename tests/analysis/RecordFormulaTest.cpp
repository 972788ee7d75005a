#include <gtest/gtest.h>

#include "analysis/RecordFormula.h"
#include "model/DocumentModel.h"

namespace {

class RecordFormula : public ::testing::Test {
protected:
    void SetUp() override {
        COscillogram& o = doc.GetOscillogram();
        o.m_samplingFrequency = 200;
        o.m_netFrequency = 50.9;  // whole hertz count: 200 / 50 = 4 samples a period
        o.m_sampleFrequency = {50.0, 50.5, 49.5};
        Add("Ia", {1, 2, 3, 4, 5, 6}, L"A");
        Add("Ub", {0, 10, 0, -10, 0, 10}, L"kV");
        o.RecalcAll(false);
    }
    void Add(const char* name, std::vector<double> samples, const wchar_t* unit) {
        COscillogram& o = doc.GetOscillogram();
        CChannel& ch = o.m_channels.emplace_back(&doc);
        ch.m_fileName = name;
        ch.m_name = CString(ch.m_fileName);
        ch.m_displayUnit = unit;
        ch.m_samples = std::move(samples);
        ++o.m_analogCount;
    }
    std::wstring Error(const wchar_t* text) {
        RecordCalculator calc(doc.GetOscillogram());
        try {
            ComputeFormulaSeries(calc, text);
        } catch (CException* e) {
            std::wstring m = e->GetErrorMessage().str();
            e->Delete();
            return m;
        }
        return L"<none>";
    }
    DocumentModel doc;
};

TEST_F(RecordFormula, RealComplexAndUnit) {
    RecordCalculator calc(doc.GetOscillogram());
    EXPECT_EQ(calc.GetSamplesPerPeriod(), 4u);

    FormulaSeries real = ComputeFormulaSeries(calc, L"Ia ^ 2");
    EXPECT_FALSE(real.isComplex);
    EXPECT_EQ(real.real, (std::vector<double>{1, 4, 9, 16, 25, 36}));
    EXPECT_TRUE(real.complex.empty());
    EXPECT_EQ(real.unit, CString(L""));

    FormulaSeries both = ComputeFormulaSeries(calc, L"ia * 2");  // names are not case-sensitive
    EXPECT_TRUE(both.isComplex);
    EXPECT_EQ(both.real, (std::vector<double>{2, 4, 6, 8, 10, 12}));
    ASSERT_EQ(both.complex.size(), 6u);
    EXPECT_EQ(both.complex[5], 2.0 * doc.GetOscillogram().m_channels[0].GetStoredHarmonic(5));
    EXPECT_EQ(both.unit, CString(L"A"));

    // Complex only: the real values are the real parts.
    FormulaSeries z = ComputeFormulaSeries(calc, L"Pf: (Ub, Ia)");
    EXPECT_TRUE(z.isComplex);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(z.real[i], z.complex[i].real());
    EXPECT_EQ(z.unit, CString(L"W"));

    std::vector<uint32_t> at = {5, 0, 2, 100};
    FormulaSeries some = ComputeFormulaSeries(calc, L"Frequency: () [Hz]", &at);
    EXPECT_EQ(some.real, (std::vector<double>{0, 50, 49.5, 0}));
    EXPECT_EQ(some.unit, CString(L"Hz"));
}

TEST_F(RecordFormula, Errors) {
    EXPECT_EQ(Error(L"Ia + Ix"), L"Имя канала задано неправильно.");
    EXPECT_EQ(Error(L"null"), L"null: Результат не действителен");
    EXPECT_EQ(Error(L"Ia +"), L"Ia +: Синтаксическая ошибка в формуле");
    EXPECT_EQ(Error(L"rms: 1"), L"Аргумент функции должен быть каналом: 'rms: 1'");
    EXPECT_EQ(Error(L"Ia ^ 0.5"), L"Ia ^ 0.5: Синтаксическая ошибка в формуле");
}

TEST_F(RecordFormula, EmptyRecordGivesEmptyComplexSeries) {
    for (CChannel& ch : doc.GetOscillogram().m_channels) ch.m_samples.clear();
    RecordCalculator calc(doc.GetOscillogram());
    FormulaSeries s = ComputeFormulaSeries(calc, L"Ia + 1");
    EXPECT_TRUE(s.isComplex);
    EXPECT_TRUE(s.real.empty());
}

}  // namespace
