#pragma once
// The device context: integer logical coordinates, selected pen, brush and font, text
// colour and background, clipping by a region, paths, bit-block transfers, on one of these
// targets:
//  - a memory context (CreateCompatibleDC) with a CBitmap selected: the off-screen picture;
//  - a Cairo context given by the window side (the paint event's, the printer's): Attach;
//  - a PDF page or an SVG picture (Surfaces.h).
// Lines, rectangles and regions land on the pixels the system's own drawing lights: a thin
// line lights every pixel of a segment but its end point, a rectangle excludes its right
// and bottom edge, a pixel belongs to a polygon or region when its centre lies inside.
#include <memory>
#include <utility>
#include <optional>
#include <vector>

#include "platform/CString.h"
#include "platform/draw/GdiObjects.h"
#include "platform/draw/Region.h"

typedef struct _cairo cairo_t;

namespace platform::draw {
struct PointD;
struct FontSpec;
}

class CDC {
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // --- targets ---------------------------------------------------------------------
    // A memory context with the resolution of `dc` (of the screen, 96 dpi, when null) and a
    // 1 x 1 picture selected until a bitmap is.
    bool CreateCompatibleDC(CDC* dc);
    // Draws on a Cairo context whose user space is in device pixels, `width` x `height` of
    // them at `dpi`. The context's state is restored on Detach.
    bool Attach(cairo_t* cr, int width, int height, int dpi = 96, bool printing = false);
    void Detach();
    bool DeleteDC();
    bool IsPrinting() const { return m_printing; }
    int GetDeviceCaps(int index) const;
    // The Cairo context in device pixels, with the clip region applied (for the graphics object).
    cairo_t* GetCairo() const { return m_cr; }

    // --- objects ---------------------------------------------------------------------
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    // Selects a region as the clip; returns the region kind.
    int SelectObject(CRgn* region) { return SelectClipRgn(region); }
    CGdiObject* SelectObject(CGdiObject* object);
    // WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN, NULL_PEN ...; returns the previous object of that kind.
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const { return m_state.penObj; }
    CBrush* GetCurrentBrush() const { return m_state.brushObj; }
    CFont* GetCurrentFont() const { return m_state.fontObj; }
    CBitmap* GetCurrentBitmap() const { return m_bitmapObj; }

    COLORREF SetTextColor(COLORREF c) { return std::exchange(m_state.textColor, c); }
    COLORREF GetTextColor() const { return m_state.textColor; }
    COLORREF SetBkColor(COLORREF c) { return std::exchange(m_state.bkColor, c); }
    COLORREF GetBkColor() const { return m_state.bkColor; }
    int SetBkMode(int mode) { return std::exchange(m_state.bkMode, mode); }
    int GetBkMode() const { return m_state.bkMode; }
    UINT SetTextAlign(UINT align) { return std::exchange(m_state.textAlign, align); }
    UINT GetTextAlign() const { return m_state.textAlign; }
    int SetPolyFillMode(int mode) { return std::exchange(m_state.fillMode, mode); }
    int GetPolyFillMode() const { return m_state.fillMode; }
    int SetStretchBltMode(int mode) { return std::exchange(m_state.stretchMode, mode); }
    // Origin of patterned brushes; solid brushes, the only kind here, look the same at any origin.
    CPoint SetBrushOrg(int x, int y) { return std::exchange(m_state.brushOrg, CPoint(x, y)); }
    int GetStretchBltMode() const { return m_state.stretchMode; }

    // --- coordinates -----------------------------------------------------------------
    int SetMapMode(int mode);
    int GetMapMode() const { return m_state.mapMode; }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetViewportOrg(int x, int y);
    CPoint OffsetViewportOrg(int dx, int dy);
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    CPoint GetWindowOrg() const { return m_state.windowOrg; }
    CPoint GetViewportOrg() const { return m_state.viewportOrg; }
    CSize GetWindowExt() const { return m_state.windowExt; }
    CSize GetViewportExt() const { return m_state.viewportExt; }
    void LPtoDP(POINT* points, int count = 1) const;
    void LPtoDP(RECT* rect) const;
    void DPtoLP(POINT* points, int count = 1) const;
    void DPtoLP(RECT* rect) const;

    // --- state and clipping ----------------------------------------------------------
    int SaveDC();
    // -1 restores the last saved state; a positive number the state SaveDC returned.
    bool RestoreDC(int saved);
    // Clips to a copy of the region (device units); null removes the clip.
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const RECT* r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
    int GetClipBox(RECT* rect) const;

    // --- lines and shapes ------------------------------------------------------------
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    bool LineTo(int x, int y);
    bool LineTo(POINT p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return m_state.position; }
    bool Polyline(const POINT* points, int count);
    bool Polygon(const POINT* points, int count);
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const RECT* r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(const RECT* r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    // Corners rounded by an ellipse of width x height.
    bool RoundRect(int left, int top, int right, int bottom, int width, int height);
    bool RoundRect(const RECT* r, POINT corner) { return RoundRect(r->left, r->top, r->right, r->bottom, corner.x, corner.y); }
    void FillRect(const RECT* rect, CBrush* brush);
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT p, COLORREF color) { return SetPixel(p.x, p.y, color); }
    // Colour of a device pixel of an image target (CLR_INVALID elsewhere or outside).
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }
    // Rectangles (GRADIENT_FILL_RECT_H or _V) shaded between the colours of two vertices.
    bool GradientFill(const TRIVERTEX* vertices, unsigned vertexCount, const GRADIENT_RECT* rects,
                      unsigned rectCount, unsigned mode);

    // --- regions ---------------------------------------------------------------------
    bool FillRgn(CRgn* region, CBrush* brush);
    // Paints the border of the region, `w` pixels wide and `h` pixels high, with the brush.
    bool FrameRgn(CRgn* region, CBrush* brush, int w, int h);
    bool PaintRgn(CRgn* region);

    // --- paths -----------------------------------------------------------------------
    // Between BeginPath and EndPath the figures drawn go into the path instead of the target.
    bool BeginPath();
    bool EndPath();
    bool AbortPath();
    bool CloseFigure();
    // With a null buffer or count 0: the number of points of the ended path; otherwise copies
    // up to `count` points (logical units) and their PT_ types and returns how many.
    int GetPath(POINT* points, BYTE* types, int count) const;
    // Draws, or adds to an open path, the figures given as points with PT_ types.
    bool PolyDraw(const POINT* points, const BYTE* types, int count);
    // Takes the ended path as closed polygons in device units (for regions).
    bool TakePathPolygons(std::vector<std::vector<platform::draw::PointD>>* polygons);

    // --- bit-block transfers ---------------------------------------------------------
    bool BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    bool StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, DWORD rop);
    // Blends the source over the target with its constant alpha (and its own alpha with AC_SRC_ALPHA).
    bool AlphaBlend(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, BLENDFUNCTION blend);
    // Paints a picture with its own alpha at a device point, the part (sx, sy, w, h) of it.
    void DrawSurface(cairo_surface_t* surface, int x, int y, int sx, int sy, int w, int h);

    // --- text ------------------------------------------------------------------------
    bool TextOut(int x, int y, const wchar_t* text, int length);
    bool TextOut(int x, int y, const CString& text) { return TextOut(x, y, text.GetString(), text.GetLength()); }
    // Returns the height of the text (logical units); with DT_CALCRECT only measures, setting
    // the rectangle's right and bottom.
    int DrawText(const wchar_t* text, int length, RECT* rect, UINT format);
    int DrawText(const CString& text, RECT* rect, UINT format) { return DrawText(text.GetString(), text.GetLength(), rect, format); }
    CSize GetTextExtent(const wchar_t* text, int length) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text.GetString(), text.GetLength()); }
    CSize GetOutputTextExtent(const CString& text) const { return GetTextExtent(text); }
    bool GetTextMetrics(TEXTMETRICW* metrics) const;

private:
    struct State {
        CPen pen;
        CPen* penObj = nullptr;
        CBrush brush;
        CBrush* brushObj = nullptr;
        LOGFONTW font;
        CFont* fontObj = nullptr;
        COLORREF textColor = RGB(0, 0, 0);
        COLORREF bkColor = RGB(255, 255, 255);
        int bkMode = OPAQUE;
        UINT textAlign = TA_LEFT | TA_TOP;
        int fillMode = ALTERNATE;
        int stretchMode = BLACKONWHITE;
        CPoint brushOrg;
        int mapMode = MM_TEXT;
        CPoint windowOrg, viewportOrg;
        CSize windowExt{1, 1}, viewportExt{1, 1};
        CPoint position;
        std::optional<CRgn> clip;  // device units
    };
    struct PathPoint {
        double x, y;  // logical units
        BYTE type;
    };

    void Reset();
    bool Ready() const { return m_cr != nullptr; }
    void ApplyClip();
    double ScaleX() const;
    double ScaleY() const;
    double DevX(double x) const;
    double DevY(double y) const;
    CPoint ToDevice(int x, int y) const;
    double PenDeviceWidth() const;
    bool IsThinPen() const;
    bool HasPen() const { return m_state.pen.Style() != PS_NULL; }
    bool HasBrush() const { return m_state.brush.Style() != BS_NULL; }
    void SetSourceColor(COLORREF c, double alpha = 1.0) const;
    // Thin-pen segments in device pixels, lit on the target.
    // Device pixels that can be drawn on (picture and clip), grown by `margin`.
    CRect DeviceBox(int margin) const;
    void ThinPolyline(const std::vector<CPoint>& dev, bool closed);
    void StrokeWide(const std::vector<CPoint>& dev, bool closed);
    void StrokeOutline(const std::vector<CPoint>& dev, bool closed);
    void FillPixelRuns(const std::vector<int>& runs, COLORREF color);
    void ShapeOutline(void (*path)(cairo_t*, double, double, double, double, double, double), const CRect& dev,
                      double rx, double ry);
    void AddPathPoint(double x, double y, BYTE type);
    void PathPolyline(const POINT* points, int count, bool closed);
    platform::draw::FontSpec DeviceFont() const;
    void DrawTextLine(const std::wstring& text, int underline, double x, double top, double width, double height,
                      const platform::draw::FontSpec& font, double ascent);
    CBitmap* StockBitmap();

    cairo_t* m_cr = nullptr;
    cairo_surface_t* m_target = nullptr;  // the image of a memory context
    bool m_external = false;
    bool m_printing = false;
    int m_dpi = 96;
    int m_width = 0, m_height = 0;
    CBitmap* m_bitmapObj = nullptr;
    CBitmap m_defaultBitmap;
    State m_state;
    std::vector<State> m_saved;
    bool m_pathOpen = false;
    bool m_pathEnded = false;
    std::vector<PathPoint> m_path;
};

// The screen's context for measuring text and reading its resolution (96 dpi).
class CScreenDC : public CDC {
public:
    CScreenDC() { CreateCompatibleDC(nullptr); }
};
