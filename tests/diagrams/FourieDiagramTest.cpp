// The harmonic spectrum as an engineer reads it: a current of 100 A peak with 30 % third
// harmonic shows a full bar at 50 Hz and a bar of 30 % at 150 Hz, with their value texts;
// rendered to an image and checked pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>

#include "CircleFixture.h"
#include "diagrams/ChannelDrop.h"
#include "diagrams/FourieDiagramWnd.h"
#include "model/SettingsStore.h"

using namespace circletest;

namespace {

constexpr double kPi = 3.14159265358979323846;
const COLORREF kI = RGB(0, 0, 255), kU = RGB(200, 0, 0);

class Owner : public DiagramOwner {
public:
    explicit Owner(CTenvorikDoc* d) : doc(d) {}
    CTenvorikDoc* GetActiveDocument() override { return doc; }
    CTenvorikDoc* doc;
};

struct Picture {
    CDC dc;
    CBitmap bmp;
    Picture(int w, int h) {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bmp);
    }
};

// 1000 samples per second at 50 Hz: "I" = 100 sin(wt) + 30 sin(3wt) on the spectrum, "U" a
// plain sine that is not; the first cursor after four periods.
class Spectrum : public ::testing::Test {
protected:
    void SetUp() override {
        SetSamples(doc, 400);
        CChannel& i = AddChannel(doc, "I", L"A", kI, [](size_t n) {
            const double wt = 2 * kPi * 50 * double(n) / 1000;
            return 100 * std::sin(wt) + 30 * std::sin(3 * wt);
        });
        i.m_flags |= CHF_FREQ_DIAGRAM;
        AddChannel(doc, "U", L"V", kU, [](size_t n) { return 50 * std::sin(2 * kPi * 50 * double(n) / 1000); });
        SetCursors(doc, 99, 120);
        wnd.SetClientSize(CSize(600, 300));
        wnd.LoadSettings();
    }
    Doc doc;
    Owner owner{&doc};
    FourieDiagramWnd wnd{&owner};
};

}  // namespace

TEST_F(Spectrum, BarsAndTextsOfTheFundamentalAndTheThirdHarmonic) {
    const auto comps = wnd.Components(doc.GetOscillogram().m_channels[0], 99);
    ASSERT_EQ(comps.size(), 11u);
    EXPECT_NEAR(comps[1], 100 / std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(comps[3], 30 / std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(comps[2], 0, 1e-9);

    Picture pic(600, 300);
    wnd.Draw(&pic.dc, CRect(0, 0, 600, 300), 1, nullptr, &doc);
    const auto& l = wnd.LastLayout();
    ASSERT_EQ(l.charts.size(), 1u);
    const auto& c = l.charts[0];
    // Percent of the fundamental.
    EXPECT_EQ(c.values[1], CString(L"100"));
    EXPECT_EQ(c.values[3], CString(L"30.0"));
    EXPECT_EQ(c.values[2], CString(L"0"));
    EXPECT_EQ(c.values[0], CString(L"0"));
    // The third harmonic's bar is 30 % of the fundamental's, both on the base line.
    const CRect b1 = c.bars[1], b3 = c.bars[3];
    ASSERT_FALSE(b1.IsRectEmpty());
    EXPECT_EQ(b1.bottom, c.base);
    EXPECT_EQ(b3.bottom, c.base);
    EXPECT_NEAR(double(b3.Height()) / b1.Height(), 0.3, 1.0 / b1.Height());
    EXPECT_TRUE(c.bars[2].IsRectEmpty());
    // On the picture: the bars' tops in the channel's colour fading to white below, white
    // just above them, and nothing where the second harmonic is zero.
    for (const CRect& b : {b1, b3}) {
        const int x = (b.left + b.right) / 2;
        const COLORREF top = pic.dc.GetPixel(x, b.top + 2);
        EXPECT_LT(GetRValue(top), 60) << std::hex << top;
        EXPECT_GT(GetBValue(top), 200) << std::hex << top;
        const COLORREF low = pic.dc.GetPixel(x, b.bottom - 3);
        EXPECT_GT(GetRValue(low), 200) << std::hex << low;
        EXPECT_EQ(pic.dc.GetPixel(x, b.top - 2), RGB(255, 255, 255));
    }
    const int x2 = c.x0 + 12 + 2 * (c.slot - 1) + c.slot / 2;
    EXPECT_EQ(pic.dc.GetPixel(x2, c.base - 5), RGB(255, 255, 255));
    // The value texts stand over their bars: dark pixels between the row top and the bar.
    int ink = 0;
    for (int y = c.top; y < b3.top - 2; ++y)
        for (int x = b3.left - 4; x < b3.right + 4; ++x) ink += GetRValue(pic.dc.GetPixel(x, y)) < 100;
    EXPECT_GT(ink, 5);

    // Absolute values in the channel's unit.
    FourieSettings s = wnd.Settings();
    s.showPersents = 1;
    wnd.ApplySettings(s);
    wnd.Draw(&pic.dc, CRect(0, 0, 600, 300), 1, nullptr, &doc);
    EXPECT_EQ(wnd.LastLayout().charts[0].values[1], CString(L"70.7"));
    EXPECT_EQ(wnd.LastLayout().charts[0].values[3], CString(L"21.2"));
    // Percent of the window's RMS value: sqrt(100² + 30²) / sqrt(2) = 73.8.
    s.showPersents = 0;
    s.useRms = 1;
    wnd.ApplySettings(s);
    wnd.Draw(&pic.dc, CRect(0, 0, 600, 300), 1, nullptr, &doc);
    EXPECT_EQ(wnd.LastLayout().charts[0].values[1], CString(L"95.8"));
    EXPECT_EQ(wnd.LastLayout().charts[0].values[3], CString(L"28.7"));
}

TEST(SpectrumTexts, LabelsAndValues) {
    // Two periods: lines every 25 Hz, the fundamental is line 2.
    for (int h = 0; h <= 10; ++h) EXPECT_EQ(FourieFrequencyLabel(h, 50, 2), CString(std::to_wstring(h * 25).c_str()));
    EXPECT_EQ(FourieFrequencyLabel(1, 50, 3), CString(L"16.7"));
    struct Case {
        double v, base;
        bool percent;
        const wchar_t* text;
    };
    const Case cases[] = {{5, 0, true, L"0"},       {0.009, 0, false, L"0"},   {0.01, 0, false, L"0.0"},
                          {9.96, 0, false, L"10.0"}, {99.94, 0, false, L"99.9"}, {1234.4, 0, false, L"1234"},
                          {1, 3, true, L"33.3"},    {-2, 0, false, L"0"}};
    for (const Case& c : cases) EXPECT_EQ(FourieValueText(c.v, c.base, c.percent), CString(c.text)) << c.v;
}

TEST(SpectrumSettings, CappedAndClampedOnLoad) {
    struct Case {
        int periods, harmonics, persents, rms;
        FourieSettings expected;
    };
    // 1000 Hz at 50 Hz: ten lines a period at most.
    const Case cases[] = {{1, 40, 0, 0, {1, 10, 0, 0}},  {2, 40, 1, 1, {2, 20, 1, 1}},   {0, 5, 0, 0, {1, 5, 0, 0}},
                          {-7, -3, 5, -1, {1, 0, 1, 1}}, {3, 12, 0, 0, {3, 12, 0, 0}}};
    for (const Case& c : cases) {
        SettingsStore store;
        SettingsNode& node = store.GetCategory(L"Frequency Chart");
        node.SetInt(L"NumPeriods", c.periods);
        node.SetInt(L"NumHarmonics", c.harmonics);
        node.SetInt(L"ShowPersents", c.persents);
        node.SetInt(L"UseRMS", c.rms);
        const FourieSettings s = LoadFourieSettings(node, 1000, 50);
        EXPECT_EQ(s.numPeriods, c.expected.numPeriods) << c.periods;
        EXPECT_EQ(s.numHarmonics, c.expected.numHarmonics) << c.harmonics;
        EXPECT_EQ(s.showPersents, c.expected.showPersents);
        EXPECT_EQ(s.useRms, c.expected.useRms);
    }
    // Nothing stored: the defaults; no network frequency: no lines.
    SettingsStore empty;
    const FourieSettings d = LoadFourieSettings(empty.GetCategory(L"Frequency Chart"), 1000, 50);
    EXPECT_EQ(d.numPeriods, 1);
    EXPECT_EQ(d.numHarmonics, 10);
    EXPECT_EQ(d.showPersents, 0);
    EXPECT_EQ(LoadFourieSettings(empty.GetCategory(L"Frequency Chart"), 1000, 0).numHarmonics, 0);
    // The dialog's limits, also for a record slower than its network.
    EXPECT_EQ(FourieMaxPeriods(400, 1000, 50), 20);
    EXPECT_EQ(FourieMaxPeriods(400, 30, 50), 1);
    EXPECT_EQ(FourieMaxPeriods(400, 1000, 0.5), 1);
    EXPECT_EQ(FourieMaxHarmonics(1000, 50, 3), 30);
    EXPECT_EQ(FourieMaxHarmonics(30, 50, 3), 1);
}

TEST_F(Spectrum, ChannelCommandsMenuAndDrops) {
    const auto menu = wnd.BuildContextMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].text, CString(L"Каналы"));
    EXPECT_EQ(menu[2].id, unsigned(ID_FOURIE_SETTINGS));
    EXPECT_EQ(menu[2].text, CString(L"Настройки"));
    ASSERT_EQ(menu[0].items.size(), 5u);
    EXPECT_EQ(menu[0].items[3].id, 35000u);
    EXPECT_EQ(menu[0].items[4].text, CString(L"U"));
    CCmdUI ui(35000);
    wnd.OnUpdateCommand(ui);
    EXPECT_EQ(ui.m_check, 1);

    // A drop of both channels toggles only the one not yet shown.
    const auto commands = DiagramDropCommands(doc, DROP_SPECTRUM, {0, 1, 7});
    ASSERT_EQ(commands, std::vector<unsigned>{35001});
    EXPECT_TRUE(wnd.OnCommand(commands[0]));
    EXPECT_TRUE(doc.GetOscillogram().m_channels[1].m_flags & CHF_FREQ_DIAGRAM);
    Picture pic(600, 300);
    wnd.Draw(&pic.dc, CRect(0, 0, 600, 300), 1, nullptr, &doc);
    EXPECT_EQ(wnd.LastLayout().charts.size(), 2u);
    EXPECT_EQ(wnd.LastLayout().columns, 2);
    // An item past the channels changes no flag but marks the record modified.
    const int modified = doc.modified;
    EXPECT_TRUE(wnd.OnCommand(35002));
    EXPECT_EQ(doc.modified, modified + 1);
    wnd.OnCommand(ID_FOURIE_HIDE_ALL);
    wnd.Draw(&pic.dc, CRect(0, 0, 600, 300), 1, nullptr, &doc);
    EXPECT_TRUE(wnd.LastLayout().charts.empty());
    wnd.OnCommand(ID_FOURIE_SHOW_ALL);
    wnd.Draw(&pic.dc, CRect(0, 0, 600, 300), 1, nullptr, &doc);
    EXPECT_EQ(wnd.LastLayout().charts.size(), 2u);

    // "Настройки": the dialog's OK stores the options in the record.
    wnd.SetSettingsEditor([](FourieSettings& s) {
        s.numPeriods = 2;
        s.numHarmonics = 6;
        return true;
    });
    EXPECT_TRUE(wnd.OnCommand(ID_FOURIE_SETTINGS));
    const SettingsNode& node = doc.m_settings.GetCategory(L"Frequency Chart");
    EXPECT_EQ(node.GetInt(L"NumPeriods", 0), 2);
    EXPECT_EQ(node.GetInt(L"NumHarmonics", 0), 6);
    FourieDiagramWnd again(&owner);
    again.LoadSettings();
    EXPECT_EQ(again.Settings().numHarmonics, 6);
}

TEST_F(Spectrum, PrintedInAGridAndCopied) {
    doc.GetOscillogram().m_channels[1].m_flags |= CHF_FREQ_DIAGRAM;
    DiagramPicture picture;
    ASSERT_TRUE(wnd.CopyToClipboard(picture));
    EXPECT_EQ(picture.width, 600);
    EXPECT_NE(picture.svg.find("<svg"), std::string::npos);
    // A tall page for a wide window: the two charts go one above the other.
    Picture page(800, 1600);
    CDC printer;
    printer.Attach(page.dc.GetCairo(), 800, 1600, 192, true);
    wnd.Print(&printer, CRect(0, 0, 800, 1600), &doc, false, 96);
    EXPECT_EQ(wnd.LastLayout().rows, 2);
    EXPECT_EQ(wnd.LastLayout().columns, 1);
    int blue = 0;
    for (int y = 0; y < 1600; y += 2)
        for (int x = 0; x < 800; x += 2) blue += page.bmp.GetPixel(x, y) == kI;
    EXPECT_GT(blue, 10);
    // A window with no width yet still prints.
    wnd.SetClientSize(CSize(1, 0));
    wnd.Print(&printer, CRect(0, 0, 800, 1600), &doc, false, 96);
    EXPECT_EQ(wnd.LastLayout().charts.size(), 2u);
    printer.Detach();
}

// On a pane of ordinary width the frequency labels never run into each other: only every k-th
// line is labelled when all of them do not fit, and each drawn label is ink on the picture.
TEST_F(Spectrum, FrequencyLabelsThatDoNotFitAreLeftOut) {
    FourieSettings s = wnd.Settings();
    s.numHarmonics = 40;
    wnd.ApplySettings(s);
    const int H = wnd.Settings().numHarmonics;
    for (int width : {180, 300, 600, 1200}) {
        Picture pic(width, 300);
        wnd.SetClientSize(CSize(width, 300));
        wnd.Draw(&pic.dc, CRect(0, 0, width, 300), 1, nullptr, &doc);
        const auto& c = wnd.LastLayout().charts.at(0);
        ASSERT_FALSE(c.labels.empty()) << width;
        for (size_t k = 0; k < c.labels.size(); ++k) {
            const CRect& r = c.labels[k];
            if (k > 0) {
                EXPECT_GE(r.left, c.labels[k - 1].right + 4) << width << " label " << k;
            }
            EXPECT_GE(r.left, 0);
            EXPECT_LE(r.right, width);
            int ink = 0;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) ink += GetRValue(pic.dc.GetPixel(x, y)) < 128;
            EXPECT_GT(ink, 0) << width << " label " << k;
        }
        // Between two labels the gap is clean: no piece of a left-out label.
        for (size_t k = 1; k < c.labels.size(); ++k) {
            int ink = 0;
            for (int y = c.labels[k].top; y < c.labels[k].bottom; ++y)
                for (int x = c.labels[k - 1].right + 1; x < c.labels[k].left - 1; ++x)
                    ink += GetRValue(pic.dc.GetPixel(x, y)) < 128;
            EXPECT_EQ(ink, 0) << width << " between " << k - 1 << " and " << k;
        }
        // A wide pane labels every line.
        if (width == 1200 && H <= 20) {
            EXPECT_EQ(c.labels.size(), size_t(H) + 1);
        }
    }
}
