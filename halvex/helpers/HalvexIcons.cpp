#include "halvex/helpers/HalvexIcons.h"

#include <cmath>
#include <vector>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/GdiObjects.h"
#include "platform/draw/GdiPlus.h"

using namespace Gdiplus;

namespace {

// Pictures of 16 x 16 in one style: a dark outline of one pixel, flat fills, one colour per
// family. The variants of a family keep its picture and change a detail.
const Color kInk(255, 40, 48, 60);
const Color kPaper(255, 255, 255, 255);
const Color kBlue(255, 40, 110, 190);
const Color kGreen(255, 40, 150, 60);
const Color kRed(255, 200, 50, 40);
const Color kOrange(255, 230, 140, 20);
const Color kYellow(255, 245, 200, 40);
const Color kGrey(255, 150, 155, 160);
const Color kViolet(255, 120, 80, 170);
const Color kTeal(255, 20, 150, 160);

class Painter {
public:
    explicit Painter(Graphics& g) : m_g(g) { m_g.SetSmoothingMode(SmoothingModeAntiAlias); }

    void Line(float x1, float y1, float x2, float y2, const Color& c = kInk, float w = 1.0f) {
        Pen pen(c, w);
        m_g.DrawLine(&pen, x1, y1, x2, y2);
    }
    void Lines(std::initializer_list<PointF> points, const Color& c = kInk, float w = 1.0f) {
        Pen pen(c, w);
        const std::vector<PointF> v(points);
        m_g.DrawLines(&pen, v.data(), INT(v.size()));
    }
    // A filled rectangle with the outline on its pixel edges.
    void Box(float x, float y, float w, float h, const Color& fill, const Color& outline = kInk) {
        SolidBrush brush(fill);
        m_g.FillRectangle(&brush, x, y, w, h);
        Pen pen(outline, 1.0f);
        m_g.DrawRectangle(&pen, x + 0.5f, y + 0.5f, w - 1, h - 1);
    }
    void Fill(float x, float y, float w, float h, const Color& fill) {
        SolidBrush brush(fill);
        m_g.FillRectangle(&brush, x, y, w, h);
    }
    void Circle(float cx, float cy, float r, const Color& fill, const Color& outline = kInk) {
        SolidBrush brush(fill);
        m_g.FillEllipse(&brush, cx - r, cy - r, 2 * r, 2 * r);
        Pen pen(outline, 1.0f);
        m_g.DrawEllipse(&pen, cx - r, cy - r, 2 * r, 2 * r);
    }
    void Polygon(std::initializer_list<PointF> points, const Color& fill, const Color& outline = kInk) {
        const std::vector<PointF> v(points);
        SolidBrush brush(fill);
        m_g.FillPolygon(&brush, v.data(), INT(v.size()));
        Pen pen(outline, 1.0f);
        m_g.DrawPolygon(&pen, v.data(), INT(v.size()));
    }
    void Arc(float cx, float cy, float r, float start, float sweep, const Color& c = kInk, float w = 1.0f) {
        Pen pen(c, w);
        m_g.DrawArc(&pen, RectF(cx - r, cy - r, 2 * r, 2 * r), start, sweep);
    }
    // An arrow along y = `y` from x1 to x2, its head at x2.
    void Arrow(float x1, float x2, float y, const Color& c) {
        Line(x1, y, x2, y, c, 1.5f);
        const float d = x2 > x1 ? -3.0f : 3.0f;
        Polygon({PointF(x2, y), PointF(x2 + d, y - 2.5f), PointF(x2 + d, y + 2.5f)}, c, c);
    }
    // A small square badge in the lower right corner that tells the variants of a family apart.
    void Badge(int variant) {
        static const Color colours[] = {kBlue, kRed, kGreen, kOrange, kViolet, kTeal, kYellow, kGrey, kInk, kPaper};
        Box(10, 10, 6, 6, colours[variant % 10]);
    }
    // One letter in the lower right corner.
    void Letter(const wchar_t* text, const Color& c) {
        Box(8, 8, 8, 8, kPaper, c);
        Font font(L"DejaVu Sans", 6.0f, FontStyleBold, UnitPixel);
        SolidBrush brush(c);
        m_g.DrawString(text, -1, &font, PointF(9.2f, 8.3f), &brush);
    }

private:
    Graphics& m_g;
};

void SineWave(Painter& p, float x, float y, float w, float a, const Color& c) {
    std::vector<PointF> points;
    for (int i = 0; i <= 12; ++i)
        points.emplace_back(x + w * float(i) / 12, y - a * std::sin(float(i) / 12 * 2 * 3.14159265f));
    for (size_t i = 1; i < points.size(); ++i) p.Line(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y, c, 1.3f);
}

void Pulse(Painter& p, float x, float y, const Color& c) {
    p.Lines({PointF(x, y + 4), PointF(x + 3, y + 4), PointF(x + 3, y), PointF(x + 7, y), PointF(x + 7, y + 4),
             PointF(x + 10, y + 4)},
            c, 1.5f);
}

// Two boxes joined by a line: a scheme.
void Scheme(Painter& p, const Color& c) {
    p.Box(0, 2, 6, 6, kPaper, c);
    p.Box(10, 8, 6, 6, kPaper, c);
    p.Lines({PointF(6, 5), PointF(8, 5), PointF(8, 11), PointF(10, 11)}, c);
}

// A network of three nodes.
void Network(Painter& p, const Color& c) {
    p.Line(8, 3, 3, 12, c);
    p.Line(8, 3, 13, 12, c);
    p.Line(3, 12, 13, 12, c);
    p.Circle(8, 3.5f, 2.5f, c);
    p.Circle(3, 12, 2.5f, c);
    p.Circle(13, 12, 2.5f, c);
}

// False for an id of no family: it keeps the plain marked square.
bool DrawFamily(Graphics& g, int id) {
    Painter p(g);
    switch (id) {
        case 7000:  // a locked object: a padlock
            p.Arc(8, 6, 3.5f, 180, 180, kInk, 1.6f);
            p.Line(4.5f, 6, 4.5f, 8, kInk, 1.6f);
            p.Line(11.5f, 6, 11.5f, 8, kInk, 1.6f);
            p.Box(2, 7, 12, 8, kYellow);
            p.Fill(7, 10, 2, 3, kInk);
            return true;
        case 7001: case 7002:  // public data: a store of records, marked when published
            p.Box(2, 3, 12, 11, id == 7001 ? kTeal : kGrey);
            p.Line(2.5f, 6.5f, 13.5f, 6.5f);
            p.Line(2.5f, 10.5f, 13.5f, 10.5f);
            if (id == 7001) p.Circle(13, 13, 2.5f, kGreen);
            return true;
        case 7003: case 7004: case 7005: case 7006: case 7007: {  // analog inputs, by quantity
            p.Arrow(0, 5, 8, kBlue);
            p.Box(5, 2, 11, 12, kPaper, kBlue);
            SineWave(p, 6, 8, 9, 3.5f, kBlue);
            static const wchar_t* letters[] = {L"", L"I", L"U", L"f", L"R"};
            if (id > 7003) p.Letter(letters[id - 7003], kBlue);
            return true;
        }
        case 7008: case 7009: case 7010: case 7011: {  // discrete inputs
            const Color c = id % 2 == 0 ? kGreen : kGrey;
            p.Arrow(0, 5, 8, c);
            p.Box(5, 2, 11, 12, kPaper, c);
            Pulse(p, 5.5f, 5, c);
            if (id >= 7010) p.Circle(13, 12.5f, 2, c);
            return true;
        }
        case 7012: case 7013: case 7014: case 7015: case 7016: case 7017: case 7018: case 7019: case 7020:
        case 7021:  // discrete outputs: a relay contact
            p.Line(1, 12, 5, 12, kRed, 1.5f);
            p.Line(5, 12, 11, 6, kRed, 1.5f);
            p.Line(11, 12, 15, 12, kRed, 1.5f);
            p.Circle(5, 12, 1.5f, kRed, kRed);
            p.Circle(11, 12, 1.5f, kPaper, kRed);
            p.Arrow(8, 15, 3, kRed);
            p.Badge(id - 7012);
            return true;
        case 7022:  // a counter
            p.Box(1, 4, 14, 8, kPaper, kViolet);
            p.Line(4.5f, 6, 4.5f, 10, kViolet, 1.5f);
            p.Lines({PointF(7, 6), PointF(9, 6), PointF(9, 8), PointF(7, 8), PointF(7, 10), PointF(9, 10)}, kViolet);
            p.Lines({PointF(11, 6), PointF(13, 6), PointF(13, 10), PointF(11, 10)}, kViolet);
            p.Line(11, 8, 13, 8, kViolet);
            return true;
        case 7023: case 7024:  // analog settings: a slider, two for a pair of values
            p.Line(1, 5, 15, 5, kInk, 1.5f);
            p.Box(4, 2, 4, 7, kOrange);
            if (id == 7024) {
                p.Line(1, 12, 15, 12, kInk, 1.5f);
                p.Box(9, 9, 4, 7, kOrange);
            }
            return true;
        case 7025: case 7026:  // integer settings: a stepper
            p.Box(1, 3, 14, 10, kPaper, kOrange);
            p.Polygon({PointF(8, 4), PointF(11, 7), PointF(5, 7)}, kOrange, kOrange);
            p.Polygon({PointF(8, 12), PointF(11, 9), PointF(5, 9)}, id == 7026 ? kInk : kOrange,
                      id == 7026 ? kInk : kOrange);
            return true;
        case 7027: case 7028:  // protection settings: a dial
            p.Circle(8, 9, 6.5f, kPaper, kOrange);
            p.Line(8, 9, id == 7027 ? 12 : 4, 5, kInk, 1.5f);
            p.Circle(8, 9, 1.5f, kInk);
            return true;
        case 7029: case 7030:  // program switches
            p.Box(1, 4, 14, 8, id == 7029 ? kGreen : kGrey);
            p.Circle(id == 7029 ? 11 : 5, 8, 3, kPaper);
            return true;
        case 7031:  // system inputs and outputs: a gear
            for (int k = 0; k < 8; ++k) {
                const float a = float(k) * 3.14159265f / 4;
                p.Line(8 + 4 * std::cos(a), 8 + 4 * std::sin(a), 8 + 7 * std::cos(a), 8 + 7 * std::sin(a), kGrey, 2.5f);
            }
            p.Circle(8, 8, 5, kGrey);
            p.Circle(8, 8, 2, kPaper);
            return true;
        case 7032:  // the control system link: a monitor
            p.Box(1, 2, 14, 10, kBlue);
            p.Fill(3, 4, 10, 6, kPaper);
            p.Line(8, 12, 8, 14, kInk, 1.5f);
            p.Line(4, 14.5f, 12, 14.5f, kInk, 1.5f);
            return true;
        case 7033:  // a menu
            p.Box(2, 1, 12, 14, kPaper);
            for (float y : {4.5f, 7.5f, 10.5f}) p.Line(4, y, 12, y, kBlue, 1.5f);
            return true;
        case 7034: case 7070:  // an indicator lamp
            p.Circle(8, 8, 6.5f, id == 7034 ? kRed : kGreen);
            p.Circle(6, 6, 1.5f, kPaper, kPaper);
            return true;
        case 7035:  // a push button
            p.Box(1, 5, 14, 10, kGrey);
            p.Box(3, 2, 10, 9, kPaper);
            return true;
        case 7036: case 7037:  // scheme inputs and outputs
            p.Box(id == 7036 ? 7 : 1, 2, 8, 12, kPaper, kTeal);
            if (id == 7036) p.Arrow(0, 8, 8, kTeal);
            else p.Arrow(8, 16, 8, kTeal);
            return true;
        case 7038:  // distance values: a ruler
            p.Box(0, 5, 16, 7, kYellow);
            for (float x : {3.5f, 6.5f, 9.5f, 12.5f}) p.Line(x, 5, x, x == 6.5f || x == 12.5f ? 10 : 8);
            return true;
        case 7039: case 7050:  // accumulators: growing bars, the real-valued one with a dot
            p.Box(1, 10, 4, 5, kViolet);
            p.Box(6, 6, 4, 9, kViolet);
            p.Box(11, 2, 4, 13, kViolet);
            if (id == 7050) p.Circle(3, 4, 2, kOrange);
            return true;
        case 7040:  // a stopper: a stop sign
            p.Polygon({PointF(5, 1), PointF(11, 1), PointF(15, 5), PointF(15, 11), PointF(11, 15), PointF(5, 15),
                       PointF(1, 11), PointF(1, 5)},
                      kRed);
            p.Fill(4, 7, 8, 2, kPaper);
            return true;
        case 7041: case 7042:  // alarms: a bell, ringing for the second kind
            p.Polygon({PointF(8, 2), PointF(12, 5), PointF(12, 10), PointF(14, 12), PointF(2, 12), PointF(4, 10),
                       PointF(4, 5)},
                      kYellow);
            p.Circle(8, 13.5f, 1.5f, kInk);
            if (id == 7042) {
                p.Arc(8, 7, 7.5f, 200, 40, kRed, 1.2f);
                p.Arc(8, 7, 7.5f, 300, 40, kRed, 1.2f);
            }
            return true;
        case 7043: case 7044: case 7045: case 7046: case 7047: case 7048: {  // schemes, by kind
            static const Color kinds[] = {kGrey, kBlue, kGreen, kOrange, kViolet, kRed};
            Scheme(p, kinds[id - 7043]);
            return true;
        }
        case 7049:  // a user's signal: a flag
            p.Line(3, 1, 3, 15, kInk, 1.5f);
            p.Polygon({PointF(3.5f, 2), PointF(14, 5), PointF(3.5f, 9)}, kGreen);
            return true;
        case 7071: case 7072: case 7373: case 7374:  // messages between terminals, in and out
            Network(p, id == 7071 || id == 7374 ? kBlue : kRed);
            if (id >= 7373) p.Badge(id == 7373 ? 3 : 5);
            return true;
        case 7356:  // parameter diagnostics: a trend over axes
            p.Lines({PointF(1.5f, 1), PointF(1.5f, 14.5f), PointF(15, 14.5f)});
            p.Lines({PointF(3, 12), PointF(6, 8), PointF(9, 10), PointF(14, 3)}, kRed, 1.5f);
            return true;
        default:
            return false;
    }
}

COLORREF Hue(int id) {
    // Neighbouring ids get far-apart colours.
    static const COLORREF palette[] = {RGB(0x1f, 0x77, 0xb4), RGB(0xff, 0x7f, 0x0e), RGB(0x2c, 0xa0, 0x2c),
                                       RGB(0xd6, 0x27, 0x28), RGB(0x94, 0x67, 0xbd), RGB(0x8c, 0x56, 0x4b),
                                       RGB(0xe3, 0x77, 0xc2), RGB(0x7f, 0x7f, 0x7f), RGB(0xbc, 0xbd, 0x22),
                                       RGB(0x17, 0xbe, 0xcf)};
    return palette[id % 10];
}

}  // namespace

HICON HalvexLoadIcon(int id) {
    if (id < 1) return nullptr;
    auto picture = std::make_shared<CBitmap>();
    if (!picture->CreateTransparentBitmap(kHalvexIconSize, kHalvexIconSize)) return nullptr;
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) return nullptr;
    CBitmap* old = dc.SelectObject(picture.get());
    bool drawn = false;
    {
        Graphics g(&dc);
        drawn = DrawFamily(g, id);
    }
    if (!drawn) {
        dc.FillSolidRect(1, 1, 14, 14, Hue(id));
        // The tens digit as a mark in one of four corners, the hundreds as a bar: with the
        // colour of the units digit, every id looks different.
        dc.FillSolidRect(2 + 7 * (id / 10 % 2), 2 + 7 * (id / 20 % 2), 5, 5, RGB(255, 255, 255));
        dc.FillSolidRect(2, 13 - (id / 100 % 10), 12, 1, RGB(0, 0, 0));
    }
    dc.SelectObject(old);
    return picture;
}
