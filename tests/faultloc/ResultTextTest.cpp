#include <gtest/gtest.h>

#include <cmath>

#include "TestUtil.h"
#include "faultloc/WrongPlaceLocator.h"
#include "platform/Encoding.h"

namespace {

struct NoRecord : LocatorRecord {
    int GetSampleCount() const override { return 0; }
    double GetSamplingFrequency() const override { return 0; }
    double GetNetFrequency() const override { return 0; }
    void ReadDisplayValues(const CString&, int, int, double*) const override {}
    int FindChannelIndex(const CString&) const override { return -1; }
    double GetSampleTimeUs(int) const override { return 0; }
    double GetSampleFrequency(int, int) const override { return 0; }
    void SetCalculatedChannel(const CString&, const CString&, const std::vector<double>&) override {}
    void SetDiscreteChannel(const CString&, const std::vector<int>&) override {}
    void RemoveChannel(const CString&) override {}
    bool GetChannelRatio(const CString& name, double& p, double& s) const override {
        if (name != L"IA") return false;
        p = 600;
        s = 5;
        return true;
    }
};

// A two-section line (10 km, then 5 km with 20 towers) and a B-C fault 12.5 km out.
WrongPlaceLocator FaultAt(double D) {
    WrongPlaceLocator loc;
    SectionCalc a, b;
    a.length = 10;
    a.towers = 30;
    b.length = 5;
    b.towers = 20;
    loc.m_sections = {a, b};
    loc.m_phaseMedian = 1;
    loc.m_phaseB = loc.m_phaseC = 1;
    loc.m_distance = D;
    loc.m_spread = 1.234;
    loc.LocateTower();
    return loc;
}

}  // namespace

TEST(FaultResultText, ShortTexts) {
    WrongPlaceLocator none;
    EXPECT_EQ(none.BuildShortResult(), L"    КЗ отсутствует.");

    WrongPlaceLocator loc = FaultAt(12.5);
    EXPECT_EQ(loc.BuildShortResult(),
              L"    2-х фазное КЗ: фазы BC на участке № 2, опоры 10 - 11."
              L"    Расстояние = 12.50 км.     Расстояние от нач. участка = 2.50 км.    Погрешность расчета = 1.23 %.");
    EXPECT_EQ(loc.m_resultText, loc.BuildShortResult());

    for (double D : {0.0, -1.0, 15.5, std::nan("")}) {
        WrongPlaceLocator off = FaultAt(D);
        EXPECT_EQ(off.BuildShortResult(), L"    2-х фазное КЗ: фазы BC на смежной линии.") << D;
    }
    // The later kind wins: a sample marked both earth and three-phase reads as three-phase.
    WrongPlaceLocator sym = FaultAt(3);
    sym.m_earthMedian = sym.m_symMedian = 1;
    sym.m_phaseA = 1;
    EXPECT_EQ(sym.BuildShortResult().Left(29), L"    3-х фазное КЗ: фазы ABC н");
}

TEST(FaultResultText, ReportForEachMethod) {
    LocatorReportHeader h{L"/data/rec.cfg", L"ПС-1", L"R-7", L"01/02/2024", L"10:00:00.000", L"01/02/2024",
                          L"10:00:00.100"};
    NoRecord rec;
    WrongPlaceLocator loc = FaultAt(12.5);
    auto& m = loc.GetData();
    m.station1.SetParam(L"Ia", L"IA");
    m.station1.SetParam(L"Ib", L"IB");
    auto* s = m.station1.AddSection();
    s->AddParallelLine()->SetParam(L"I0", L"I0P");
    s->AddConnection();

    m.methodType = 1;
    CString r1 = loc.BuildReport(h, rec);
    EXPECT_EQ(r1.Left(r1.Find(L"Подстанция")),
              L"Korvelund Tenvorik\n\nОсциллограмма: /data/rec.cfg\n\n"
              L"Алгоритм: ОМП для сетей с изолированной нейтралью\n\n"
              L"Станция: ПС-1\nРегистратор: R-7\n\n"
              L"Начало записи:  01/02/2024, 10:00:00.000\n"
              L"Момент запуска: 01/02/2024, 10:00:00.100\n\n"
              L"2-х фазное КЗ: фазы BC на участке № 2, опоры 10 - 11."
              L"    Расстояние = 12.50 км.     Расстояние от нач. участка = 2.50 км.    Погрешность расчета = 1.23 %.\n\n");
    EXPECT_NE(r1.Find(L"Подстанция: Подстанция\nНоминальный ток прямой последовательности, A: 0\n\n"), -1);
    EXPECT_NE(r1.Find(L"Канал Ia:  IA         Ктр = 600/5\nКанал Ib:  IB\nКанал Ic:  \nКанал Uab: \n"), -1);
    EXPECT_NE(r1.Find(L"    R удельное (Ом/км): 0\n"), -1);
    EXPECT_EQ(r1.Find(L"Параллельная линия"), -1);
    EXPECT_EQ(r1.Find(L"Подстанция №"), -1);

    m.methodType = 2;
    CString r2 = loc.BuildReport(h, rec);
    EXPECT_NE(r2.Find(L"Канал Ua:  \n"), -1);
    EXPECT_NE(r2.Find(L"\nУчасток № 1: \n    Длина:               1\n    Число опор:          1\n"
                      L"    R1 удельное (Ом/км): 0\n"), -1);
    EXPECT_NE(r2.Find(L"    Параллельная линия № 1: \n        Rm удельное(Ом/км): 0\n        Xm удельное(Ом/км): 0\n"
                      L"        I0:      I0P\n        Комментарий: \n\n"), -1);
    EXPECT_NE(r2.Find(L"    Отпайка № 1: \n        R0 (Ом):     0\n"), -1);
    EXPECT_EQ(r2.Find(L"Подстанция №"), -1);

    m.methodType = 4;
    CString r4 = loc.BuildReport(h, rec);
    EXPECT_NE(r4.Find(L"Подстанция №1: "), -1);
    EXPECT_NE(r4.Find(L"Подстанция №2: Подстанция\n"), -1);
    EXPECT_EQ(r4.Right(2), L"\n\n");

    WrongPlaceLocator none;
    CString r0 = none.BuildReport(h, rec);
    EXPECT_NE(r0.Find(L"\n\nКЗ отсутствует.\n\n"), -1);
}

TEST(FaultResultText, ReportFileIsUtf16WithCrLf) {
    testutil::TempDir dir;
    WrongPlaceLocator loc = FaultAt(12.5);
    NoRecord rec;
    const CString path = CString(dir.File("report.txt").c_str());
    ASSERT_TRUE(loc.SaveReport(path, {}, rec, nullptr));
    std::string bytes = testutil::ReadFile(dir.File("report.txt"));
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFEK\0", 4));
    std::wstring text = platform::Utf16LeToWide(bytes);
    EXPECT_EQ(text.find(L"\n"), text.find(L"\r\n") + 1);
    EXPECT_EQ(text.find(L"\r\n\r\n"), std::wstring(L"Korvelund Tenvorik").size());

    CString error;
    EXPECT_FALSE(loc.SaveReport(CString(dir.File("no/such/folder/r.txt").c_str()), {}, rec, &error));
    EXPECT_FALSE(error.IsEmpty());
}
