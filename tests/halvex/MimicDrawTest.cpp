// Mimic controls rendered headless on an off-screen picture: colours at chosen pixels and the
// exact texts written, with where they went.
#include <gtest/gtest.h>
#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "halvex/mimic/ControlLineElem.h"
#include "halvex/mimic/ControlLogicElem.h"
#include "halvex/mimic/ControlPictureElem.h"
#include "halvex/mimic/ControlTextElem.h"
#include "halvex/mimic/MimicText.h"
#include "tests/halvex/support/FakeArmHost.h"
#include "tests/support/TestUtil.h"

using namespace Gdiplus;

namespace {

constexpr ARGB kWhite = 0xFFFFFFFF, kBlack = 0xFF000000, kCanvas = 0xFF808080;

struct Picture {
    Bitmap bitmap;
    Graphics g;
    Picture(int w, int h, float scale = 1, ARGB background = kCanvas) : bitmap(w, h), g(&bitmap) {
        g.Clear(Color(background));
        g.SetPageUnit(UnitPixel);
        g.SetPageScale(scale);
    }
    ARGB At(int x, int y) const {
        Color c;
        bitmap.GetPixel(x, y, &c);
        return c.GetValue();
    }
    // Pixels in [x0, x1) x [y0, y1) close to the colour.
    int Count(int x0, int y0, int x1, int y1, ARGB want, int tolerance = 60) const {
        const Color w(want);
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                Color c;
                bitmap.GetPixel(x, y, &c);
                if (std::abs(c.GetR() - w.GetR()) <= tolerance && std::abs(c.GetG() - w.GetG()) <= tolerance &&
                    std::abs(c.GetB() - w.GetB()) <= tolerance)
                    ++n;
            }
        return n;
    }
};

std::vector<CString> Texts(const MimicTextWatch& watch) {
    std::vector<CString> r;
    for (const auto& t : watch.texts) r.push_back(t.text);
    return r;
}

void ExpectBox(const RectF& r, float x, float y, float w, float h) {
    EXPECT_NEAR(r.X, x, 1e-3);
    EXPECT_NEAR(r.Y, y, 1e-3);
    EXPECT_NEAR(r.Width, w, 1e-3);
    EXPECT_NEAR(r.Height, h, 1e-3);
}

// The user's data folder moved into a temporary folder for the test's lifetime.
class PicturesFolder {
public:
    PicturesFolder() {
        const char* old = std::getenv("XDG_DATA_HOME");
        m_hadOld = old != nullptr;
        if (old) m_old = old;
        setenv("XDG_DATA_HOME", m_dir.path().c_str(), 1);
        std::filesystem::create_directories(Folder());
    }
    ~PicturesFolder() {
        if (m_hadOld) setenv("XDG_DATA_HOME", m_old.c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
    }
    std::string Folder() const { return m_dir.path() + "/Korvelund/Plenwick/Pictures"; }
    std::string Top() const { return m_dir.path(); }

    // A PNG of one colour.
    static void WritePng(const std::string& path, int w, int h, ARGB color) {
        Bitmap b(w, h);
        {
            Graphics g(&b);
            g.Clear(Color(color));
        }
        ASSERT_EQ(cairo_surface_write_to_png(b.Surface(), path.c_str()), CAIRO_STATUS_SUCCESS);
    }

private:
    testutil::TempDir m_dir;
    std::string m_old;
    bool m_hadOld = false;
};

}  // namespace

TEST(MimicDraw, SwitchInItsThreeStates) {
    testutil::FakeArmHost host;
    host.online = true;
    const struct {
        const wchar_t *rpo, *rpv;
        ESwitchState state;
        ARGB fill;
    } cases[] = {
        {L"", L"", eSwitchUnknown, 0xFFFFFF00},
        {L"1", L"1", eSwitchUnknown, 0xFFFFFF00},
        {L"1", L"0", eSwitchOff, 0xFF008000},
        {L"0", L"1", eSwitchOn, 0xFFFF0000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.state));
        CONTROL_SWITCH_ELEM sw;
        sw.m_nX = 40;
        sw.m_nY = 30;  // box 40..60 x 30..50, leads along y = 40
        sw.m_sValueRPO = c.rpo;
        sw.m_sValueRPV = c.rpv;
        ASSERT_EQ(sw.GetSwitchState(), c.state);
        EXPECT_EQ(sw.GetRectFillColor().GetValue(), c.fill);
        Picture p(120, 80);
        MimicTextWatch watch;
        sw.Draw(&host, p.g, eDrawNormal, false, Size(0, 0));

        EXPECT_EQ(p.At(42, 48), c.fill);
        EXPECT_EQ(p.At(57, 32), c.fill);
        EXPECT_EQ(p.At(40, 35), kBlack);  // the outline
        EXPECT_EQ(p.At(30, 40), kBlack);  // the leads
        EXPECT_EQ(p.At(70, 39), kBlack);
        EXPECT_EQ(p.At(50, 20), kCanvas);
        switch (c.state) {
        case eSwitchUnknown:
            ASSERT_EQ(Texts(watch), std::vector<CString>{L"?"});
            EXPECT_EQ(watch.texts[0].color, kBlack);
            ExpectBox(watch.texts[0].deviceBox, 40, 30, 20, 20);
            EXPECT_GT(p.Count(44, 32, 57, 49, kBlack), 5);
            break;
        case eSwitchOff:  // across the leads
            EXPECT_TRUE(watch.texts.empty());
            EXPECT_EQ(p.At(49, 33), kBlack);
            EXPECT_EQ(p.At(50, 46), kBlack);
            EXPECT_EQ(p.At(44, 40), c.fill);
            break;
        case eSwitchOn:  // along the leads, joining them
            EXPECT_TRUE(watch.texts.empty());
            EXPECT_EQ(p.At(43, 40), kBlack);
            EXPECT_EQ(p.At(56, 39), kBlack);
            EXPECT_EQ(p.At(50, 33), c.fill);
            break;
        }
    }
}

TEST(MimicDraw, VerticalSwitchOnWithCaption) {
    testutil::FakeArmHost host;
    CONTROL_SWITCH_ELEM sw;
    sw.m_nX = 40;
    sw.m_nY = 30;
    sw.m_nOrientation = 1;
    sw.m_sValueRPO = L"0";
    sw.m_sValueRPV = L"1";
    sw.m_sAlias = L"Q1";
    sw.m_nAliasPlace = 1;  // right of the box and its leads
    Picture p(160, 100);
    MimicTextWatch watch;
    sw.Draw(&host, p.g, eDrawSelect, false, Size(0, 0));
    EXPECT_EQ(p.At(43, 46), 0xFFFF0000u);
    EXPECT_EQ(p.At(49, 35), kBlack);  // the contact, vertical, meeting the leads
    EXPECT_EQ(p.At(50, 45), kBlack);
    EXPECT_EQ(p.At(49, 15), kBlack);  // leads above and below
    EXPECT_EQ(p.At(50, 65), kBlack);
    EXPECT_EQ(p.At(30, 40), kCanvas);  // none at the sides
    EXPECT_EQ(p.At(40, 40), 0xFF0000FFu);  // the selection frame over the outline
    ASSERT_EQ(Texts(watch), std::vector<CString>{L"Q1"});
    EXPECT_NEAR(watch.texts[0].deviceBox.X, 60, 1e-3);
    EXPECT_NEAR(watch.texts[0].deviceBox.Y, 10, 1e-3);
    EXPECT_NEAR(watch.texts[0].deviceBox.Height, 60, 1e-3);
    EXPECT_GT(p.Count(60, 10, 100, 70, kBlack), 5);
}

TEST(MimicDraw, LogicControlOfflineShowsQuestionMarkInItsColours) {
    testutil::FakeArmHost host;
    host.online = false;
    CONTROL_LOGIC_ELEM logic;
    logic.m_nX = 10;
    logic.m_nY = 10;
    logic.m_sName = L"Q1";
    logic.m_sValue = L"1";
    logic.m_sCaption = L"Q1 вкл";
    logic.m_colorDisplay = Color(0xFFFF0000);
    logic.m_colorText = Color(0xFF0000FF);
    logic.m_nCaptionPlace = 1;  // the symbol first
    ASSERT_TRUE(logic.RefreshByTimer(&host));
    EXPECT_EQ(logic.m_sValue, L"?");

    const RectF b = logic.GetBoundedRectF(&host, 1);
    const float side = b.Height;
    ASSERT_GT(side, 10);
    Picture p(200, 60);
    {
        MimicTextWatch watch;
        logic.Draw(&host, p.g, eDrawNormal, false, Size(0, 0));
        ASSERT_EQ(Texts(watch), (std::vector<CString>{L"?", L"Q1 вкл"}));
        EXPECT_EQ(watch.texts[0].color, 0xFFFF0000u);
        ExpectBox(watch.texts[0].deviceBox, 10, 10, side, side);
        EXPECT_EQ(watch.texts[1].color, 0xFF0000FFu);
        EXPECT_NEAR(watch.texts[1].deviceBox.X, 10 + side, 1e-3);
    }
    const int s = int(side);
    EXPECT_EQ(p.At(12, 10 + s - 4), kWhite);               // inside the box, beside the mark
    EXPECT_GT(p.Count(10, 10, 10 + s, 10 + s, 0xFFFF0000), 5);  // a red "?"
    EXPECT_EQ(p.Count(10, 10, 10 + s, 10 + s, 0xFF0000FF), 0);
    EXPECT_GT(p.Count(10 + s, 10, 10 + int(b.Width), 10 + s, 0xFF0000FF), 10);  // a blue caption

    // As a lamp: the "?" is black in an unlit circle.
    logic.m_bIndicator = true;
    Picture lamp(200, 60);
    MimicTextWatch watch;
    logic.Draw(&host, lamp.g, eDrawNormal, false, Size(0, 0));
    ASSERT_EQ(Texts(watch), (std::vector<CString>{L"?", L"Q1 вкл"}));
    EXPECT_EQ(watch.texts[0].color, kBlack);
    EXPECT_EQ(lamp.Count(10, 10, 10 + s, 10 + s, 0xFFFF0000), 0);
}

TEST(MimicDraw, LogicControlOnlineAndEmptyCaption) {
    testutil::FakeArmHost host;
    host.online = true;
    CONTROL_LOGIC_ELEM logic;
    logic.m_nX = 20;
    logic.m_nY = 20;
    logic.m_colorDisplay = Color(0xFF00A000);
    logic.m_sValue = L"1";
    const RectF b = logic.GetBoundedRectF(&host, 1);
    EXPECT_FLOAT_EQ(b.Width, b.Height);  // no caption: the symbol alone
    const int s = int(b.Height);
    {
        Picture p(100, 100);
        MimicTextWatch watch;
        logic.Draw(&host, p.g, eDrawNormal, false, Size(0, 0));
        ASSERT_EQ(Texts(watch), std::vector<CString>{L"V"});
        EXPECT_EQ(watch.texts[0].color, 0xFF00A000u);
        EXPECT_GT(p.Count(20, 20, 20 + s, 20 + s, 0xFF00A000, 40), 5);
    }
    logic.m_sValue = L"0";
    {
        Picture p(100, 100);
        MimicTextWatch watch;
        logic.Draw(&host, p.g, eDrawNormal, false, Size(0, 0));
        EXPECT_TRUE(watch.texts.empty());
        EXPECT_EQ(p.At(20 + s / 2, 20 + s / 2), kWhite);
    }
    // A lit lamp is filled with the display colour.
    logic.m_sValue = L"1";
    logic.m_bIndicator = true;
    {
        Picture p(100, 100);
        MimicTextWatch watch;
        logic.Draw(&host, p.g, eDrawNormal, false, Size(0, 0));
        EXPECT_TRUE(watch.texts.empty());
        EXPECT_EQ(p.At(20 + s / 2 - 1, 20 + s / 2), 0xFF00A000u);
    }
    // The static form without a host never shows "?".
    {
        Picture p(40, 40);
        MimicTextWatch watch;
        CONTROL_LOGIC_ELEM::DrawCheck(p.g, 16, 14, Color(kBlack), false, nullptr);
        EXPECT_TRUE(watch.texts.empty());
        EXPECT_EQ(p.At(7, 8), kWhite);
        EXPECT_EQ(p.At(20, 8), kCanvas);
    }
}

TEST(MimicDraw, AnalogReadOutWithItsValueWindow) {
    testutil::FakeArmHost host;
    host.online = true;
    CONTROL_ANALOG_ELEM analog;
    analog.m_nX = 40;
    analog.m_nY = 20;
    analog.m_nWidth = 60;
    analog.m_nHeight = 20;
    analog.m_sName = L"U";
    analog.m_sAlias = L"Ua";
    analog.m_colorBackground = Color(0xFFFFFFE0);
    analog.m_colorText = Color(0xFF800000);
    MON_VALUES values{{L"U", L"12.5"}};
    analog.CorrectValueFromBlock(&values);
    EXPECT_TRUE(analog.RefreshByTimer(&host));
    ExpectBox(analog.GetBoundedRectF(&host, 1), 39, 19, 62, 22);

    Picture p(160, 60);
    MimicTextWatch watch;
    analog.Draw(&host, p.g, eDrawNormal, false, Size(0, 0));
    ASSERT_EQ(Texts(watch), (std::vector<CString>{L"12.5", L"Ua"}));
    // The window sits two units below the box its bounds report.
    ExpectBox(watch.texts[0].deviceBox, 40, 22, 60, 20);
    EXPECT_EQ(watch.texts[0].color, 0xFF800000u);
    const RectF alias = watch.texts[1].deviceBox;
    EXPECT_NEAR(alias.GetRight(), 40, 1.0);
    EXPECT_NEAR(alias.Y, 22, 1e-3);
    EXPECT_NEAR(alias.Height, 20, 1e-3);
    EXPECT_NEAR(alias.Width, std::round(alias.Width), 1e-3);  // a whole number

    EXPECT_EQ(p.At(70, 21), kCanvas);       // above the window
    EXPECT_EQ(p.At(70, 22), kBlack);        // top edge
    EXPECT_EQ(p.At(40, 30), kBlack);        // left edge
    EXPECT_EQ(p.At(70, 41), kWhite);        // bottom edge
    EXPECT_EQ(p.At(99, 30), kWhite);        // right edge
    EXPECT_EQ(p.At(70, 40), 0xFFC0C0C0u);   // inner bottom
    EXPECT_EQ(p.At(98, 30), 0xFFC0C0C0u);   // inner right
    EXPECT_EQ(p.At(94, 26), 0xFFFFFFE0u);   // background beyond the value
    EXPECT_GT(p.Count(41, 23, 80, 40, 0xFF800000), 5);
    EXPECT_GT(p.Count(0, 22, 40, 42, 0xFF800000), 3);

    // Offline, the window shows "?".
    host.online = false;
    EXPECT_TRUE(analog.RefreshByTimer(&host));
    MimicTextWatch offline;
    Picture q(160, 60);
    analog.Draw(&host, q.g, eDrawSelect, false, Size(0, 0));
    ASSERT_EQ(Texts(offline), (std::vector<CString>{L"?", L"Ua"}));
    EXPECT_EQ(q.At(70, 21), 0xFF0000FFu);  // the selection frame
}

TEST(MimicDraw, ButtonRaisedAndPressed) {
    const struct {
        bool pressed;
        ARGB outerLT, innerLT, outerRB;
    } cases[] = {{false, 0xFFFFFFFF, 0xFFE3E3E3, 0xFF696969}, {true, 0xFF646464, 0xFFA0A0A0, 0xFF646464}};
    for (const auto& c : cases) {
        CONTROL_BUTTON_ELEM button;
        button.m_nX = 10;
        button.m_nY = 10;
        button.m_sCaption = L"Пуск";
        Picture p(100, 50);
        MimicTextWatch watch;
        button.Draw(nullptr, p.g, eDrawNormal, c.pressed, Size(5, 0));  // drawn at (15, 10)
        ASSERT_EQ(Texts(watch), std::vector<CString>{L"Пуск"});
        ExpectBox(watch.texts[0].deviceBox, 15, 10, 50, 20);
        EXPECT_EQ(p.At(15, 20), c.outerLT);
        EXPECT_EQ(p.At(40, 10), c.outerLT);
        EXPECT_EQ(p.At(16, 20), c.innerLT);
        EXPECT_EQ(p.At(40, 11), c.innerLT);
        EXPECT_EQ(p.At(64, 20), c.outerRB);
        EXPECT_EQ(p.At(40, 29), c.outerRB);
        EXPECT_EQ(p.At(63, 20), 0xFFA0A0A0u);
        EXPECT_EQ(p.At(40, 28), 0xFFA0A0A0u);
        EXPECT_EQ(p.At(18, 13), 0xFFFFFBF0u);
        EXPECT_EQ(p.At(14, 20), kCanvas);
    }
}

TEST(MimicDraw, TextControl) {
    CONTROL_TEXT_ELEM text;
    text.m_nX = 10;
    text.m_nY = 20;
    text.m_sText = L"Ячейка 5";
    text.m_colorText = Color(0xFF0000FF);
    const RectF b = text.GetBoundedRectF(nullptr, 1);
    EXPECT_GT(b.Width, b.Height);
    Picture p(200, 200);
    MimicTextWatch watch;
    text.Draw(nullptr, p.g, eDrawNormal, false, Size(0, 0));
    ASSERT_EQ(Texts(watch), std::vector<CString>{L"Ячейка 5"});
    ExpectBox(watch.texts[0].deviceBox, b.X, b.Y, b.Width, b.Height);
    EXPECT_GT(p.Count(int(b.X), int(b.Y), int(b.GetRight()), int(b.GetBottom()), 0xFF0000FF), 10);

    text.m_nOrientation = 1;
    const RectF v = text.GetBoundedRectF(nullptr, 1);
    EXPECT_FLOAT_EQ(v.Width, b.Height);
    EXPECT_FLOAT_EQ(v.Height, b.Width);
    Picture q(200, 200);
    text.Draw(nullptr, q.g, eDrawSelect, false, Size(0, 0));
    EXPECT_GT(q.Count(0, 0, 200, 200, 0xFF0000FF, 30), 10);
}

TEST(MimicDraw, ScreenDrawsInKeyOrder) {
    MAP_POINTER_TEXT_ELEMENTS screen;
    auto* a = new CONTROL_BUTTON_ELEM;
    a->m_colorBackground = Color(0xFFFF0000);
    a->m_nX = 10;
    a->m_nY = 10;
    auto* b = new CONTROL_BUTTON_ELEM;
    b->m_colorBackground = Color(0xFF00FF00);
    b->m_nX = 30;
    b->m_nY = 15;
    screen[L"b"] = SmartPointer<CONTROL_MON_ELEM>(b);
    screen[L"a"] = SmartPointer<CONTROL_MON_ELEM>(a);
    Picture p(100, 60);
    screen.Draw(nullptr, p.g, eDrawNormal, Size(0, 10));
    EXPECT_EQ(p.At(40, 32), 0xFF00FF00u);  // b over a
    EXPECT_EQ(p.At(14, 24), 0xFFFF0000u);
    EXPECT_EQ(p.At(5, 5), kCanvas);

    Picture empty(20, 20);
    MAP_POINTER_TEXT_ELEMENTS none;
    none.Draw(nullptr, empty.g, eDrawNormal, Size(0, 0));
    EXPECT_EQ(empty.Count(0, 0, 20, 20, kCanvas, 0), 400);
}

TEST(MimicDraw, LinesAndRectangles) {
    CONTROL_LINE_ELEM line;
    line.m_nX = 10;
    line.m_nY = 50;
    line.m_color = Color(0xFFFF0000);
    Picture p(200, 120);
    line.Draw(nullptr, p.g, eDrawNormal, false, Size(0, 0));
    EXPECT_EQ(p.At(60, 50), 0xFFFF0000u);  // smoothed: the middle row is whole
    EXPECT_GT(Color(p.At(60, 49)).GetR(), 0xA0);
    EXPECT_EQ(p.At(60, 53), kCanvas);
    line.Draw(nullptr, p.g, eDrawSelect, false, Size(0, 0));
    EXPECT_EQ(p.At(10, 50), 0xFF0000FFu);  // handles on the ends
    EXPECT_EQ(p.At(110, 50), 0xFF0000FFu);
    EXPECT_EQ(p.At(60, 50), 0xFFFF0000u);

    CONTROL_RECT_ELEM rect;
    rect.m_nX = 20;
    rect.m_nY = 10;
    rect.m_nWidth = 40;
    rect.m_nHeight = 30;
    rect.m_colorOutline = Color(0xFF008000);
    Picture q(100, 60);
    rect.Draw(nullptr, q.g, eDrawNormal, false, Size(0, 0));
    EXPECT_EQ(q.At(40, 10), 0xFF008000u);
    EXPECT_EQ(q.At(59, 25), 0xFF008000u);
    EXPECT_EQ(q.At(40, 25), kCanvas);  // not filled
    rect.Draw(nullptr, q.g, eDrawDrag, false, Size(0, 0));
    EXPECT_NE(q.At(60, 40), 0xFF008000u);  // a handle on the corner
    EXPECT_GT(q.Count(56, 36, 64, 44, 0xFF0000FF, 130), 20);
}

TEST(MimicPicture, MissingFileShowsTheErrorImage) {
    PicturesFolder folder;
    CONTROL_PICTURE_ELEM picture;
    picture.m_nX = 10;
    picture.m_nY = 10;
    picture.m_sFileName = L"missing.png";
    ExpectBox(picture.GetBoundedRectF(nullptr, 2), 9.5f, 9.5f, 21, 21);
    Picture p(60, 60);
    {
        MimicTextWatch watch;
        picture.Draw(nullptr, p.g, eDrawNormal, false, Size(0, 0));
        ASSERT_EQ(Texts(watch), std::vector<CString>{L"?"});
        EXPECT_EQ(watch.texts[0].color, 0xFFFF0000u);
        ExpectBox(watch.texts[0].deviceBox, 10, 10, 20, 20);
    }
    EXPECT_TRUE(picture.IsLoaded());
    EXPECT_TRUE(picture.IsLoadFailed());
    EXPECT_EQ(p.At(12, 12), kWhite);
    EXPECT_LT(Color(p.At(10, 20)).GetR(), 200);  // the outline
    EXPECT_GT(p.Count(11, 11, 29, 29, 0xFFFF0000), 5);
    ExpectBox(picture.GetBoundedRectF(nullptr, 1), 9, 9, 22, 22);

    // The file appearing later is not tried again until a new load.
    PicturesFolder::WritePng(folder.Folder() + "/missing.png", 8, 6, 0xFF00FF00);
    picture.Draw(nullptr, p.g, eDrawNormal, false, Size(0, 0));
    EXPECT_TRUE(picture.IsLoadFailed());
    picture.LoadFile(static_cast<ArmDataInterface*>(nullptr));
    EXPECT_FALSE(picture.IsLoadFailed());
    ExpectBox(picture.GetBoundedRectF(nullptr, 1), 10, 10, 8, 6);
    Picture q(60, 60);
    picture.Draw(nullptr, q.g, eDrawSelect, false, Size(0, 0));
    EXPECT_EQ(q.At(14, 13), 0xFF00FF00u);
    EXPECT_EQ(q.At(12, 10), 0xFF0000FFu);  // the selection frame on the image's edge
    EXPECT_EQ(q.At(25, 25), kCanvas);
}

// A picture that is no PNG is shown too: a BMP of one colour, written byte by byte.
TEST(MimicPicture, ABmpPictureIsShownNotTheErrorImage) {
    PicturesFolder folder;
    const int w = 5, h = 3;
    const int rowBytes = (w * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) bmp.push_back(char(v >> (8 * i))); };
    auto put16 = [&](uint32_t v) { for (int i = 0; i < 2; ++i) bmp.push_back(char(v >> (8 * i))); };
    put32(uint32_t(54 + rowBytes * h)), put32(0), put32(54), put32(40), put32(w), put32(h), put16(1), put16(24);
    for (int i = 0; i < 6; ++i) put32(0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < rowBytes; ++x) bmp.push_back(x < w * 3 ? char(x % 3 == 1 ? 0x80 : 0) : 0);  // green
    testutil::WriteFile(folder.Folder() + "/lamp.bmp", bmp);
    CONTROL_PICTURE_ELEM picture;
    picture.m_nX = 10;
    picture.m_nY = 10;
    picture.m_sFileName = L"lamp.bmp";
    Picture p(40, 40);
    {
        MimicTextWatch watch;
        picture.Draw(nullptr, p.g, eDrawNormal, false, Size(0, 0));
        EXPECT_TRUE(Texts(watch).empty());  // no "?"
    }
    EXPECT_FALSE(picture.IsLoadFailed());
    ExpectBox(picture.GetBoundedRectF(nullptr, 1), 10, 10, 5, 3);
    EXPECT_EQ(p.At(12, 11), 0xFF008000u);
    EXPECT_EQ(p.At(16, 11), kCanvas);
}

TEST(MimicPicture, NamesReachingOutsideTheFolderShowTheErrorImage) {
    PicturesFolder folder;
    const std::string outside = folder.Top() + "/Korvelund/Plenwick/outside.png";
    PicturesFolder::WritePng(outside, 8, 8, 0xFF00FF00);
    PicturesFolder::WritePng(folder.Folder() + "/inside.png", 8, 8, 0xFF00FF00);
    const CString names[] = {L"../outside.png", CString(outside.c_str()), L"..", L"sub\\inside.png", L""};
    for (const CString& name : names) {
        CONTROL_PICTURE_ELEM picture;
        picture.m_sFileName = name;
        Picture p(40, 40);
        MimicTextWatch watch;
        picture.Draw(nullptr, p.g, eDrawNormal, false, Size(0, 0));
        EXPECT_TRUE(picture.IsLoadFailed()) << name.GetString();
        EXPECT_EQ(picture.GetImage(), nullptr);
        EXPECT_EQ(Texts(watch), std::vector<CString>{L"?"});
        EXPECT_EQ(p.Count(0, 0, 40, 40, 0xFF00FF00, 0), 0);
    }
    CONTROL_PICTURE_ELEM fine;
    fine.m_sFileName = L"inside.png";
    fine.LoadFile(static_cast<ArmDataInterface*>(nullptr));
    EXPECT_FALSE(fine.IsLoadFailed());
    EXPECT_EQ(CONTROL_PICTURE_ELEM::GetPicturePath(L"inside.png"),
              CString((folder.Folder() + "/inside.png").c_str()));
    // The full-path form is the host's own choice of file.
    CONTROL_PICTURE_ELEM full;
    full.LoadFile(CString(outside.c_str()));
    EXPECT_FALSE(full.IsLoadFailed());
    EXPECT_EQ(full.GetImage()->GetWidth(), 8u);
}

TEST(MimicPicture, CopiesShareTheImageClonesOwnOne) {
    PicturesFolder folder;
    PicturesFolder::WritePng(folder.Folder() + "/a.png", 4, 3, 0xFF0000FF);
    CONTROL_PICTURE_ELEM a;
    a.m_sFileName = L"a.png";
    a.LoadFile(static_cast<ArmDataInterface*>(nullptr));
    ASSERT_FALSE(a.IsLoadFailed());

    CONTROL_PICTURE_ELEM b;
    b = a;
    EXPECT_EQ(b.GetImage(), a.GetImage());
    b.LoadFile(static_cast<ArmDataInterface*>(nullptr));
    EXPECT_NE(b.GetImage(), a.GetImage());

    std::unique_ptr<CONTROL_MON_ELEM> c(a.Clone());
    auto* clone = static_cast<CONTROL_PICTURE_ELEM*>(c.get());
    ASSERT_NE(clone->GetImage(), nullptr);
    EXPECT_NE(clone->GetImage(), a.GetImage());
    EXPECT_TRUE(clone->IsEqual(a));
    ExpectBox(clone->GetBoundedRectF(nullptr, 1), 1, 1, 4, 3);
    Picture p(20, 20);
    clone->Draw(nullptr, p.g, eDrawNormal, false, Size(0, 0));
    EXPECT_EQ(p.At(2, 2), 0xFF0000FFu);

    CONTROL_PICTURE_ELEM never;
    never.m_sFileName = L"a.png";
    std::unique_ptr<CONTROL_MON_ELEM> n(never.Clone());
    auto* neverClone = static_cast<CONTROL_PICTURE_ELEM*>(n.get());
    EXPECT_FALSE(neverClone->IsLoaded());
    neverClone->Draw(nullptr, p.g, eDrawNormal, false, Size(0, 0));  // loads now
    EXPECT_TRUE(neverClone->IsLoaded());
    EXPECT_FALSE(neverClone->IsLoadFailed());

    CONTROL_PICTURE_ELEM failed;
    failed.m_sFileName = L"none.png";
    failed.LoadFile(static_cast<ArmDataInterface*>(nullptr));
    std::unique_ptr<CONTROL_MON_ELEM> f(failed.Clone());
    auto* failedClone = static_cast<CONTROL_PICTURE_ELEM*>(f.get());
    EXPECT_TRUE(failedClone->IsLoaded());
    EXPECT_TRUE(failedClone->IsLoadFailed());
    EXPECT_EQ(failedClone->GetImage(), nullptr);
}

TEST(MimicDraw, CaptionsBesideTheirWindows) {
    CONTROL_EDIT_ELEM edit;
    edit.m_nWidth = 60;
    edit.m_nHeight = 20;
    edit.m_sAlias = L"Версия";
    const SizeF t = MimicMeasureText(edit.m_font, edit.m_sAlias);
    const float tw = std::ceil(t.Width);
    const struct {
        int place;
        float x, y, w, h;
    } places[] = {
        {0, -t.Width, 0, tw, 20},
        {1, 60, 0, tw, 20},
        {2, (60 - t.Width) / 2, -t.Height, tw, t.Height},
        {3, (60 - t.Width) / 2, 20, tw, t.Height},
    };
    for (const auto& c : places) {
        edit.m_nAliasPlace = c.place;
        SCOPED_TRACE(c.place);
        ExpectBox(edit.GetAliasBoundedRectF(1), c.x, c.y, c.w, c.h);
    }
    // A switch places its caption against the box with its leads.
    CONTROL_SWITCH_ELEM sw;
    sw.m_sAlias = edit.m_sAlias;
    sw.m_nAliasPlace = 0;
    ExpectBox(sw.GetAliasBoundedRectF(1), -20 - t.Width, 0, tw, 20);
    sw.m_nOrientation = 1;
    sw.m_nAliasPlace = 2;
    ExpectBox(sw.GetAliasBoundedRectF(1), (20 - t.Width) / 2, -20 - t.Height, tw, t.Height);

    // The edit window shows what the host says, with its caption.
    testutil::FakeArmHost host;
    edit.m_nX = 100;
    edit.m_nY = 10;
    edit.m_nAliasPlace = 0;
    host.editTexts[&edit] = L"1.2.3";
    ASSERT_TRUE(edit.RefreshByTimer(&host));
    Picture p(200, 50);
    MimicTextWatch watch;
    edit.Draw(&host, p.g, eDrawNormal, false, Size(0, 0));
    ASSERT_EQ(Texts(watch), (std::vector<CString>{L"1.2.3", L"Версия"}));
    ExpectBox(watch.texts[0].deviceBox, 100, 12, 60, 20);
    EXPECT_NEAR(watch.texts[1].deviceBox.X, 100 - t.Width, 1e-3);
}

TEST(MimicDraw, LogicCaptionLeftOfTheSymbol) {
    CONTROL_LOGIC_ELEM logic;
    logic.m_nX = 10;
    logic.m_nY = 10;
    logic.m_sCaption = L"Готов";
    logic.m_sValue = L"1";
    const RectF b = logic.GetBoundedRectF(nullptr, 1);
    Picture p(200, 60);
    MimicTextWatch watch;
    logic.Draw(nullptr, p.g, eDrawSelect, false, Size(0, 0));
    ASSERT_EQ(Texts(watch), (std::vector<CString>{L"Готов", L"V"}));
    const float captionWidth = b.Width - b.Height;
    EXPECT_EQ(captionWidth, std::ceil(captionWidth));
    ExpectBox(watch.texts[1].deviceBox, 10 + captionWidth, 10, b.Height, b.Height);
    EXPECT_EQ(p.At(10 + int(b.Width / 2), 10), 0xFF0000FFu);  // the selection frame around both
}

TEST(MimicDraw, ResizeFeedbackFrame) {
    Picture p(60, 60);
    CONTROL_SIZE_ELEM::DrawBorderDragSize(Rect(10, 10, 30, 20), p.g);
    const Color c(p.At(25, 10));
    EXPECT_GT(c.GetB(), c.GetR());  // half-transparent blue over the canvas
    EXPECT_EQ(p.At(25, 20), kCanvas);
}
