#pragma once
// A white off-screen picture with a memory context selected on it, and pixel probes.
#include <vector>

#include "platform/draw/DeviceContext.h"

namespace drawtest {

class Canvas {
public:
    Canvas(int w, int h, COLORREF background = RGB(255, 255, 255)) : m_w(w), m_h(h) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, background);
    }
    COLORREF At(int x, int y) const { return bitmap.GetPixel(x, y); }
    // Bounding box of the pixels that differ from `background`; empty when none does.
    CRect Ink(COLORREF background = RGB(255, 255, 255)) const {
        CRect r(m_w, m_h, 0, 0);
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (At(x, y) != background) {
                    r.left = std::min(r.left, x);
                    r.top = std::min(r.top, y);
                    r.right = std::max(r.right, x + 1);
                    r.bottom = std::max(r.bottom, y + 1);
                }
        return r.IsRectEmpty() ? CRect() : r;
    }
    int Count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x) n += At(x, y) == c;
        return n;
    }
    // The pixels of one row as a string: '#' for `c`, '.' for anything else.
    std::string Row(int y, int x0, int x1, COLORREF c) const {
        std::string s;
        for (int x = x0; x < x1; ++x) s += At(x, y) == c ? '#' : '.';
        return s;
    }
    std::string Column(int x, int y0, int y1, COLORREF c) const {
        std::string s;
        for (int y = y0; y < y1; ++y) s += At(x, y) == c ? '#' : '.';
        return s;
    }
    int Width() const { return m_w; }
    int Height() const { return m_h; }

    CDC dc;
    CBitmap bitmap;

private:
    int m_w, m_h;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

inline bool Near(COLORREF a, COLORREF b, int tol) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tol && std::abs(GetGValue(a) - GetGValue(b)) <= tol &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tol;
}

}  // namespace drawtest
