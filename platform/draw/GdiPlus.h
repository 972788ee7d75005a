#pragma once
// Graphics with float coordinates, ARGB colours, transforms and a page scale, for the
// drawings that the system makes in that style (schemes, translucent fills). Device pixels
// are world coordinates through the world transform, then the page scale; pen widths and
// font sizes scale with them. A width of 0 draws the thinnest line, one device pixel.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/draw/GdiTypes.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
class CDC;

namespace Gdiplus {

using REAL = float;
using ARGB = uint32_t;
using INT = int;
using WCHAR = wchar_t;

enum Status { Ok = 0, GenericError = 1, InvalidParameter = 2, OutOfMemory = 3, NotImplemented = 6, WrongState = 8,
              FileNotFound = 10, UnknownImageFormat = 13, FontFamilyNotFound = 14 };

struct PointF {
    REAL X = 0, Y = 0;
    PointF() = default;
    PointF(REAL x, REAL y) : X(x), Y(y) {}
};
struct Point {
    INT X = 0, Y = 0;
    Point() = default;
    Point(INT x, INT y) : X(x), Y(y) {}
};
struct SizeF {
    REAL Width = 0, Height = 0;
    SizeF() = default;
    SizeF(REAL w, REAL h) : Width(w), Height(h) {}
};
struct Size {
    INT Width = 0, Height = 0;
    Size() = default;
    Size(INT w, INT h) : Width(w), Height(h) {}
};
struct RectF {
    REAL X = 0, Y = 0, Width = 0, Height = 0;
    RectF() = default;
    RectF(REAL x, REAL y, REAL w, REAL h) : X(x), Y(y), Width(w), Height(h) {}
    REAL GetLeft() const { return X; }
    REAL GetTop() const { return Y; }
    REAL GetRight() const { return X + Width; }
    REAL GetBottom() const { return Y + Height; }
    bool IsEmptyArea() const { return Width <= 1.192092896e-07f || Height <= 1.192092896e-07f; }
    bool Contains(REAL x, REAL y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
    bool Contains(const PointF& p) const { return Contains(p.X, p.Y); }
    void Inflate(REAL dx, REAL dy) { X -= dx; Y -= dy; Width += 2 * dx; Height += 2 * dy; }
    void Offset(REAL dx, REAL dy) { X += dx; Y += dy; }
    static bool Union(RectF& c, const RectF& a, const RectF& b);
    static bool Intersect(RectF& c, const RectF& a, const RectF& b);
};
struct Rect {
    INT X = 0, Y = 0, Width = 0, Height = 0;
    Rect() = default;
    Rect(INT x, INT y, INT w, INT h) : X(x), Y(y), Width(w), Height(h) {}
};

class Color {
public:
    Color() = default;
    Color(ARGB argb) : m_argb(argb) {}
    Color(uint8_t r, uint8_t g, uint8_t b) : m_argb(MakeARGB(255, r, g, b)) {}
    Color(uint8_t a, uint8_t r, uint8_t g, uint8_t b) : m_argb(MakeARGB(a, r, g, b)) {}
    uint8_t GetA() const { return uint8_t(m_argb >> 24); }
    uint8_t GetR() const { return uint8_t(m_argb >> 16); }
    uint8_t GetG() const { return uint8_t(m_argb >> 8); }
    uint8_t GetB() const { return uint8_t(m_argb); }
    ARGB GetValue() const { return m_argb; }
    void SetValue(ARGB argb) { m_argb = argb; }
    void SetFromCOLORREF(COLORREF c) { m_argb = MakeARGB(255, GetRValue(c), GetGValue(c), GetBValue(c)); }
    COLORREF ToCOLORREF() const { return RGB(GetR(), GetG(), GetB()); }
    static ARGB MakeARGB(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
        return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
    }

private:
    ARGB m_argb = 0xFF000000;
};

enum DashStyle { DashStyleSolid = 0, DashStyleDash = 1, DashStyleDot = 2, DashStyleDashDot = 3, DashStyleDashDotDot = 4 };
enum LineCap { LineCapFlat = 0, LineCapSquare = 1, LineCapRound = 2 };
enum DashCap { DashCapFlat = 0, DashCapRound = 2 };
enum LineJoin { LineJoinMiter = 0, LineJoinBevel = 1, LineJoinRound = 2 };
enum SmoothingMode { SmoothingModeDefault = 0, SmoothingModeHighSpeed = 1, SmoothingModeHighQuality = 2,
                     SmoothingModeNone = 3, SmoothingModeAntiAlias = 4 };
enum TextRenderingHint { TextRenderingHintSystemDefault = 0, TextRenderingHintSingleBitPerPixelGridFit = 1,
                         TextRenderingHintSingleBitPerPixel = 2, TextRenderingHintAntiAliasGridFit = 3,
                         TextRenderingHintAntiAlias = 4, TextRenderingHintClearTypeGridFit = 5 };
enum InterpolationMode { InterpolationModeDefault = 0, InterpolationModeLowQuality = 1, InterpolationModeHighQuality = 2,
                         InterpolationModeBilinear = 3, InterpolationModeBicubic = 4,
                         InterpolationModeNearestNeighbor = 5, InterpolationModeHighQualityBilinear = 6,
                         InterpolationModeHighQualityBicubic = 7 };
enum PixelOffsetMode { PixelOffsetModeDefault = 0, PixelOffsetModeHighSpeed = 1, PixelOffsetModeHighQuality = 2,
                       PixelOffsetModeNone = 3, PixelOffsetModeHalf = 4 };
enum Unit { UnitWorld = 0, UnitDisplay = 1, UnitPixel = 2, UnitPoint = 3, UnitInch = 4, UnitDocument = 5,
            UnitMillimeter = 6 };
enum FontStyle { FontStyleRegular = 0, FontStyleBold = 1, FontStyleItalic = 2, FontStyleBoldItalic = 3,
                 FontStyleUnderline = 4, FontStyleStrikeout = 8 };
enum StringAlignment { StringAlignmentNear = 0, StringAlignmentCenter = 1, StringAlignmentFar = 2 };
enum StringFormatFlags { StringFormatFlagsNoWrap = 0x1000, StringFormatFlagsNoClip = 0x4000 };
enum FillMode { FillModeAlternate = 0, FillModeWinding = 1 };
enum MatrixOrder { MatrixOrderPrepend = 0, MatrixOrderAppend = 1 };
enum CombineMode { CombineModeReplace = 0, CombineModeIntersect = 1, CombineModeUnion = 2, CombineModeXor = 3,
                   CombineModeExclude = 4 };
enum ColorMatrixFlags { ColorMatrixFlagsDefault = 0 };
enum ColorAdjustType { ColorAdjustTypeDefault = 0, ColorAdjustTypeBitmap = 1 };

// Colour transform of image drawing: [r g b a 1] times the matrix, components 0..1.
struct ColorMatrix {
    REAL m[5][5];
};

class Matrix {
public:
    Matrix() = default;
    Matrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) : m_e{m11, m12, m21, m22, dx, dy} {}
    Status Reset();
    Status Translate(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
    Status Scale(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
    Status Rotate(REAL degrees, MatrixOrder order = MatrixOrderPrepend);
    Status Multiply(const Matrix* other, MatrixOrder order = MatrixOrderPrepend);
    Status Invert();
    Status TransformPoints(PointF* points, INT count = 1) const;
    Status GetElements(REAL* six) const;
    Status SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
    bool IsIdentity() const;
    REAL OffsetX() const { return REAL(m_e[4]); }
    REAL OffsetY() const { return REAL(m_e[5]); }
    // x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
    const double* Elements() const { return m_e; }

private:
    double m_e[6] = {1, 0, 0, 1, 0, 0};
};

class Pen {
public:
    Pen(const Color& color, REAL width = 1.0f) : m_color(color), m_width(width) {}
    Status SetColor(const Color& c) { m_color = c; return Ok; }
    Status GetColor(Color* c) const { if (c) *c = m_color; return Ok; }
    Status SetWidth(REAL w) { m_width = w; return Ok; }
    REAL GetWidth() const { return m_width; }
    Status SetDashStyle(DashStyle s) { m_dash = s; return Ok; }
    DashStyle GetDashStyle() const { return m_dash; }
    Status SetStartCap(LineCap c) { m_startCap = c; return Ok; }
    Status SetEndCap(LineCap c) { m_endCap = c; return Ok; }
    Status SetDashCap(DashCap c) { m_dashCap = c; return Ok; }
    Status SetLineCap(LineCap start, LineCap end, DashCap dash) { m_startCap = start; m_endCap = end; m_dashCap = dash; return Ok; }
    LineCap GetStartCap() const { return m_startCap; }
    LineCap GetEndCap() const { return m_endCap; }
    DashCap GetDashCap() const { return m_dashCap; }
    Status SetLineJoin(LineJoin j) { m_join = j; return Ok; }
    LineJoin GetLineJoin() const { return m_join; }

private:
    Color m_color;
    REAL m_width;
    DashStyle m_dash = DashStyleSolid;
    LineCap m_startCap = LineCapFlat, m_endCap = LineCapFlat;
    DashCap m_dashCap = DashCapFlat;
    LineJoin m_join = LineJoinMiter;
};

class Brush {
public:
    virtual ~Brush() = default;
    virtual Color PaintColor() const = 0;
};

class SolidBrush : public Brush {
public:
    explicit SolidBrush(const Color& color) : m_color(color) {}
    Status GetColor(Color* c) const { if (c) *c = m_color; return Ok; }
    Status SetColor(const Color& c) { m_color = c; return Ok; }
    Color PaintColor() const override { return m_color; }

private:
    Color m_color;
};

class FontFamily {
public:
    FontFamily() = default;
    explicit FontFamily(const WCHAR* name);
    bool IsAvailable() const { return m_status == Ok; }
    Status GetLastStatus() const { return m_status; }
    Status GetFamilyName(WCHAR* name, int size = 32) const;
    const std::wstring& Name() const { return m_name; }
    static const FontFamily* GenericSansSerif();

private:
    std::wstring m_name;
    Status m_status = FontFamilyNotFound;
};

class Graphics;

class Font {
public:
    // A family that is not installed draws in the generic sans-serif face.
    Font(const FontFamily* family, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint);
    Font(const WCHAR* familyName, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint);
    REAL GetSize() const { return m_size; }
    INT GetStyle() const { return m_style; }
    Unit GetUnit() const { return m_unit; }
    // Line spacing in the graphics' world units.
    REAL GetHeight(const Graphics* graphics) const;
    bool IsAvailable() const { return true; }
    Status GetLastStatus() const { return Ok; }
    const std::wstring& Face() const { return m_face; }

private:
    std::wstring m_face;
    REAL m_size;
    INT m_style;
    Unit m_unit;
};

class StringFormat {
public:
    explicit StringFormat(INT flags = 0) : m_flags(flags) {}
    Status SetAlignment(StringAlignment a) { m_align = a; return Ok; }
    StringAlignment GetAlignment() const { return m_align; }
    Status SetLineAlignment(StringAlignment a) { m_lineAlign = a; return Ok; }
    StringAlignment GetLineAlignment() const { return m_lineAlign; }
    Status SetFormatFlags(INT flags) { m_flags = flags; return Ok; }
    INT GetFormatFlags() const { return m_flags; }
    // Without the sixth of an em that the default format leaves before and after a text.
    bool IsTypographic() const { return m_typographic; }
    static const StringFormat* GenericDefault();
    static const StringFormat* GenericTypographic();

private:
    StringAlignment m_align = StringAlignmentNear, m_lineAlign = StringAlignmentNear;
    INT m_flags = 0;
    bool m_typographic = false;
};

class GraphicsPath {
public:
    explicit GraphicsPath(FillMode mode = FillModeAlternate) : m_fillMode(mode) {}
    Status AddLine(REAL x1, REAL y1, REAL x2, REAL y2);
    Status AddLine(const PointF& a, const PointF& b) { return AddLine(a.X, a.Y, b.X, b.Y); }
    Status AddLines(const PointF* points, INT count);
    Status AddRectangle(const RectF& r);
    Status AddEllipse(const RectF& r);
    Status AddEllipse(REAL x, REAL y, REAL w, REAL h) { return AddEllipse(RectF(x, y, w, h)); }
    Status AddArc(const RectF& r, REAL startAngle, REAL sweepAngle);
    Status AddPie(const RectF& r, REAL startAngle, REAL sweepAngle);
    Status AddPolygon(const PointF* points, INT count);
    Status AddBezier(const PointF& p1, const PointF& p2, const PointF& p3, const PointF& p4);
    Status StartFigure();
    Status CloseFigure();
    Status Reset();
    Status SetFillMode(FillMode m) { m_fillMode = m; return Ok; }
    FillMode GetFillMode() const { return m_fillMode; }
    Status Transform(const Matrix* matrix);
    Status GetBounds(RectF* bounds) const;
    INT GetPointCount() const { return INT(m_points.size()); }
    bool IsVisible(REAL x, REAL y) const;
    bool IsVisible(const PointF& p) const { return IsVisible(p.X, p.Y); }

    // Points with types: 0 start, 1 line, 3 Bézier; 0x80 closes the figure.
    struct Node {
        PointF p;
        uint8_t type;
    };
    const std::vector<Node>& Nodes() const { return m_points; }
    void AppendTo(cairo_t* cr) const;

private:
    void Add(PointF p, uint8_t type);
    void ArcPoints(const RectF& r, REAL start, REAL sweep, bool startFigure);
    std::vector<Node> m_points;
    bool m_newFigure = true;
    FillMode m_fillMode;
};

class Region {
public:
    Region();  // infinite
    explicit Region(const RectF& rect);
    explicit Region(const GraphicsPath* path);
    Status Union(const RectF& r);
    Status Union(const GraphicsPath* p);
    Status Union(const Region* r);
    Status Intersect(const RectF& r);
    Status Intersect(const Region* r);
    Status Exclude(const RectF& r);
    Status Xor(const RectF& r);
    Status Translate(REAL dx, REAL dy);
    Status MakeEmpty();
    Status MakeInfinite();
    bool IsVisible(REAL x, REAL y, const Graphics* g = nullptr) const;
    bool IsVisible(const PointF& p, const Graphics* g = nullptr) const { return IsVisible(p.X, p.Y, g); }

private:
    struct Item {
        CombineMode mode;
        std::shared_ptr<GraphicsPath> path;  // null: everything
        std::shared_ptr<Region> region;      // a whole region combined in
    };
    Status Combine(CombineMode mode, std::shared_ptr<GraphicsPath> path, std::shared_ptr<Region> region);
    std::vector<Item> m_items;
    REAL m_dx = 0, m_dy = 0;
};

class ImageAttributes {
public:
    Status SetColorMatrix(const ColorMatrix* matrix, ColorMatrixFlags = ColorMatrixFlagsDefault,
                          ColorAdjustType = ColorAdjustTypeDefault);
    Status ClearColorMatrix(ColorAdjustType = ColorAdjustTypeDefault) { m_has = false; return Ok; }
    const ColorMatrix* Matrix() const { return m_has ? &m_matrix : nullptr; }

private:
    ColorMatrix m_matrix{};
    bool m_has = false;
};

class Image {
public:
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    static Image* FromFile(const WCHAR* path);
    UINT GetWidth() const;
    UINT GetHeight() const;
    Status GetLastStatus() const { return m_status; }
    cairo_surface_t* Surface() const { return m_surface; }

protected:
    Image() = default;
    cairo_surface_t* m_surface = nullptr;
    Status m_status = GenericError;
};

class Bitmap : public Image {
public:
    // A transparent picture of that size.
    Bitmap(INT width, INT height);
    // A PNG file.
    explicit Bitmap(const WCHAR* path);
    static Bitmap* FromFile(const WCHAR* path) { return new Bitmap(path); }
    // A PNG held in memory (a picture built into the program); null when it cannot be decoded.
    static Bitmap* FromPngData(const void* data, size_t size);
    Status GetPixel(INT x, INT y, Color* color) const;
    Status SetPixel(INT x, INT y, const Color& color);

private:
    Bitmap() = default;
};

using GraphicsState = unsigned;

class Graphics {
public:
    // Draws on a device context in its device pixels, within its clip region.
    explicit Graphics(CDC* dc);
    explicit Graphics(Image* image);
    static Graphics* FromHDC(CDC* dc) { return new Graphics(dc); }
    static Graphics* FromImage(Image* image) { return new Graphics(image); }
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    Status GetLastStatus() const { return m_status; }
    GraphicsState Save();
    Status Restore(GraphicsState state);

    Status SetTransform(const Matrix* m);
    Status GetTransform(Matrix* m) const;
    Status ResetTransform();
    Status TranslateTransform(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
    Status RotateTransform(REAL degrees, MatrixOrder order = MatrixOrderPrepend);
    Status ScaleTransform(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
    Status MultiplyTransform(const Matrix* m, MatrixOrder order = MatrixOrderPrepend);
    Status SetPageUnit(Unit unit);
    Unit GetPageUnit() const { return m_state.pageUnit; }
    Status SetPageScale(REAL scale);
    REAL GetPageScale() const { return m_state.pageScale; }
    REAL GetDpiX() const { return REAL(m_dpi); }
    REAL GetDpiY() const { return REAL(m_dpi); }
    Status SetSmoothingMode(SmoothingMode m) { m_state.smoothing = m; return Ok; }
    SmoothingMode GetSmoothingMode() const { return m_state.smoothing; }
    Status SetTextRenderingHint(TextRenderingHint h) { m_state.textHint = h; return Ok; }
    TextRenderingHint GetTextRenderingHint() const { return m_state.textHint; }
    Status SetInterpolationMode(InterpolationMode m) { m_state.interpolation = m; return Ok; }
    InterpolationMode GetInterpolationMode() const { return m_state.interpolation; }
    Status SetPixelOffsetMode(PixelOffsetMode m) { m_state.pixelOffset = m; return Ok; }
    PixelOffsetMode GetPixelOffsetMode() const { return m_state.pixelOffset; }

    Status Clear(const Color& color);
    Status DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
    Status DrawLine(const Pen* pen, const PointF& a, const PointF& b) { return DrawLine(pen, a.X, a.Y, b.X, b.Y); }
    Status DrawLines(const Pen* pen, const PointF* points, INT count);
    Status DrawRectangle(const Pen* pen, REAL x, REAL y, REAL w, REAL h);
    Status DrawRectangle(const Pen* pen, const RectF& r) { return DrawRectangle(pen, r.X, r.Y, r.Width, r.Height); }
    Status FillRectangle(const Brush* brush, REAL x, REAL y, REAL w, REAL h);
    Status FillRectangle(const Brush* brush, const RectF& r) { return FillRectangle(brush, r.X, r.Y, r.Width, r.Height); }
    Status FillRectangle(const Brush* brush, INT x, INT y, INT w, INT h) { return FillRectangle(brush, REAL(x), REAL(y), REAL(w), REAL(h)); }
    Status DrawEllipse(const Pen* pen, const RectF& r);
    Status DrawEllipse(const Pen* pen, REAL x, REAL y, REAL w, REAL h) { return DrawEllipse(pen, RectF(x, y, w, h)); }
    Status FillEllipse(const Brush* brush, const RectF& r);
    Status FillEllipse(const Brush* brush, REAL x, REAL y, REAL w, REAL h) { return FillEllipse(brush, RectF(x, y, w, h)); }
    // Angles in degrees, clockwise from the x axis.
    Status DrawArc(const Pen* pen, const RectF& r, REAL startAngle, REAL sweepAngle);
    Status DrawPie(const Pen* pen, const RectF& r, REAL startAngle, REAL sweepAngle);
    Status FillPie(const Brush* brush, const RectF& r, REAL startAngle, REAL sweepAngle);
    Status DrawPolygon(const Pen* pen, const PointF* points, INT count);
    Status FillPolygon(const Brush* brush, const PointF* points, INT count, FillMode mode = FillModeAlternate);
    Status DrawPath(const Pen* pen, const GraphicsPath* path);
    Status FillPath(const Brush* brush, const GraphicsPath* path);

    // A length of -1 takes the text up to its terminating zero.
    Status DrawString(const WCHAR* text, INT length, const Font* font, const PointF& origin, const Brush* brush);
    Status DrawString(const WCHAR* text, INT length, const Font* font, const PointF& origin, const StringFormat* format,
                      const Brush* brush);
    Status DrawString(const WCHAR* text, INT length, const Font* font, const RectF& layout, const StringFormat* format,
                      const Brush* brush);
    Status MeasureString(const WCHAR* text, INT length, const Font* font, const PointF& origin, RectF* bounds) const;
    Status MeasureString(const WCHAR* text, INT length, const Font* font, const PointF& origin,
                         const StringFormat* format, RectF* bounds) const;
    Status MeasureString(const WCHAR* text, INT length, const Font* font, const RectF& layout,
                         const StringFormat* format, RectF* bounds, INT* codepointsFitted = nullptr,
                         INT* linesFilled = nullptr) const;

    // At its own pixel size, in world units.
    Status DrawImage(Image* image, REAL x, REAL y);
    Status DrawImage(Image* image, const RectF& dest);
    Status DrawImage(Image* image, REAL x, REAL y, REAL w, REAL h) { return DrawImage(image, RectF(x, y, w, h)); }
    // The source part (pixels) into the destination, through the attributes' colour matrix.
    Status DrawImage(Image* image, const RectF& dest, REAL srcX, REAL srcY, REAL srcW, REAL srcH, Unit srcUnit,
                     const ImageAttributes* attributes = nullptr);
    Status DrawImage(Image* image, const Rect& dest, INT srcX, INT srcY, INT srcW, INT srcH, Unit srcUnit,
                     const ImageAttributes* attributes = nullptr);

    // Device pixels per world unit (the square root of the transform's area scale).
    double DeviceScale() const;
    // Em size of the font in world units on this graphics.
    double FontEm(const Font* font) const;

private:
    struct State {
        Matrix world;
        Unit pageUnit = UnitDisplay;
        REAL pageScale = 1;
        SmoothingMode smoothing = SmoothingModeDefault;
        TextRenderingHint textHint = TextRenderingHintSystemDefault;
        InterpolationMode interpolation = InterpolationModeDefault;
        PixelOffsetMode pixelOffset = PixelOffsetModeDefault;
    };
    struct TextBox;
    bool Begin() const;       // saves the context and sets the world-to-device matrix; false: nothing to draw
    void End() const;
    double UnitScale() const; // device pixels per page unit
    void Stroke(const Pen* pen) const;
    void Fill(const Color& c, bool winding) const;
    Status Text(const WCHAR* text, INT length, const Font* font, const RectF& layout, bool hasBox,
                const StringFormat* format, const Brush* brush, RectF* measure) const;

    cairo_t* m_cr = nullptr;
    int m_dpi = 96;
    State m_state;
    std::vector<State> m_saved;
    Status m_status = Ok;
};

}  // namespace Gdiplus
