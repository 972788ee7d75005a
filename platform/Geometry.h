#pragma once
// Integer points, sizes and rectangles with the framework's members. A rectangle holds its
// left and top edge and excludes its right and bottom edge: Width() is right - left.
#include <algorithm>

struct POINT {
    int x = 0;
    int y = 0;
};
struct SIZE {
    int cx = 0;
    int cy = 0;
};
struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class CSize : public SIZE {
public:
    constexpr CSize() : SIZE{0, 0} {}
    constexpr CSize(int w, int h) : SIZE{w, h} {}
    constexpr CSize(SIZE s) : SIZE(s) {}

    friend constexpr bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
    friend constexpr bool operator!=(const CSize& a, const CSize& b) { return !(a == b); }
    constexpr CSize operator+(CSize s) const { return {cx + s.cx, cy + s.cy}; }
    constexpr CSize operator-(CSize s) const { return {cx - s.cx, cy - s.cy}; }
    constexpr CSize operator-() const { return {-cx, -cy}; }
    CSize& operator+=(CSize s) { cx += s.cx; cy += s.cy; return *this; }
    CSize& operator-=(CSize s) { cx -= s.cx; cy -= s.cy; return *this; }
};

class CPoint : public POINT {
public:
    constexpr CPoint() : POINT{0, 0} {}
    constexpr CPoint(int px, int py) : POINT{px, py} {}
    constexpr CPoint(POINT p) : POINT(p) {}
    constexpr explicit CPoint(SIZE s) : POINT{s.cx, s.cy} {}

    void Offset(int dx, int dy) { x += dx; y += dy; }
    void Offset(POINT p) { Offset(p.x, p.y); }
    void Offset(SIZE s) { Offset(s.cx, s.cy); }
    void SetPoint(int px, int py) { x = px; y = py; }

    friend constexpr bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
    friend constexpr bool operator!=(const CPoint& a, const CPoint& b) { return !(a == b); }
    constexpr CPoint operator+(CSize s) const { return {x + s.cx, y + s.cy}; }
    constexpr CPoint operator-(CSize s) const { return {x - s.cx, y - s.cy}; }
    constexpr CSize operator-(CPoint p) const { return {x - p.x, y - p.y}; }
    constexpr CPoint operator+(CPoint p) const { return {x + p.x, y + p.y}; }
    constexpr CPoint operator-() const { return {-x, -y}; }
    CPoint& operator+=(CSize s) { x += s.cx; y += s.cy; return *this; }
    CPoint& operator-=(CSize s) { x -= s.cx; y -= s.cy; return *this; }
    CPoint& operator+=(CPoint p) { x += p.x; y += p.y; return *this; }
    CPoint& operator-=(CPoint p) { x -= p.x; y -= p.y; return *this; }
};

class CRect : public RECT {
public:
    constexpr CRect() : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    constexpr CRect(RECT r) : RECT(r) {}
    constexpr CRect(POINT topLeft, SIZE size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    constexpr CRect(POINT topLeft, POINT bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr CSize Size() const { return {Width(), Height()}; }
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr CPoint BottomRight() const { return {right, bottom}; }
    constexpr CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }

    // Empty when it has no area (also when inverted), as the framework has it.
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    constexpr bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(const RECT* r) { *this = *r; }
    void NormalizeRect() {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
    }
    void InflateRect(int dx, int dy) { left -= dx; top -= dy; right += dx; bottom += dy; }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void MoveToX(int x) { right += x - left; left = x; }
    void MoveToY(int y) { bottom += y - top; top = y; }
    void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }

    // Both return false and leave an empty (all zero) rectangle when the result has no area.
    bool IntersectRect(const RECT& a, const RECT& b) {
        const CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom));
        if (r.IsRectEmpty()) {
            SetRectEmpty();
            return false;
        }
        *this = r;
        return true;
    }
    bool UnionRect(const RECT& a, const RECT& b) {
        const bool ea = CRect(a).IsRectEmpty(), eb = CRect(b).IsRectEmpty();
        if (ea && eb) {
            SetRectEmpty();
            return false;
        }
        if (ea) *this = b;
        else if (eb) *this = a;
        else *this = CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                           std::max(a.bottom, b.bottom));
        return true;
    }

    friend constexpr bool operator==(const CRect& a, const CRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend constexpr bool operator!=(const CRect& a, const CRect& b) { return !(a == b); }
    CRect& operator+=(POINT p) { OffsetRect(p); return *this; }
    CRect& operator-=(POINT p) { OffsetRect(-p.x, -p.y); return *this; }
    CRect& operator&=(const RECT& r) { IntersectRect(*this, r); return *this; }
    CRect& operator|=(const RECT& r) { UnionRect(*this, r); return *this; }
    CRect operator+(POINT p) const { CRect r(*this); r.OffsetRect(p); return r; }
    CRect operator-(POINT p) const { CRect r(*this); r.OffsetRect(-p.x, -p.y); return r; }
    CRect operator&(const RECT& b) const { CRect r; r.IntersectRect(*this, b); return r; }
    CRect operator|(const RECT& b) const { CRect r; r.UnionRect(*this, b); return r; }
};
