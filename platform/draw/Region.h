#pragma once
// A region: a set of device pixels kept as horizontal bands of spans, combined exactly.
#include <vector>

#include "platform/draw/GdiObjects.h"

class CDC;

class CRgn : public CGdiObject {
public:
    // A band of rows [y0, y1) sharing the same spans, pairs [x0, x1) in increasing order.
    struct Band {
        int y0 = 0, y1 = 0;
        std::vector<int> xs;
        bool operator==(const Band&) const = default;
    };

    CRgn() = default;

    bool CreateRectRgn(int left, int top, int right, int bottom);
    bool CreateRectRgnIndirect(const RECT* r) { return r && CreateRectRgn(r->left, r->top, r->right, r->bottom); }
    // The ellipse inscribed in the box; pixels whose centres lie inside it.
    bool CreateEllipticRgn(int left, int top, int right, int bottom);
    bool CreateEllipticRgnIndirect(const RECT* r) { return r && CreateEllipticRgn(r->left, r->top, r->right, r->bottom); }
    // Pixels whose centres lie inside the polygon, with ALTERNATE or WINDING.
    bool CreatePolygonRgn(const POINT* points, int count, int fillMode);
    // The closed path of the device context (ended with EndPath), which it uses up.
    bool CreateFromPath(CDC* dc);
    void SetRectRgn(int left, int top, int right, int bottom) { CreateRectRgn(left, top, right, bottom); }
    void SetRectRgn(const RECT* r) { CreateRectRgnIndirect(r); }

    // This = a op b (b is unused for RGN_COPY). Returns NULLREGION, SIMPLEREGION, COMPLEXREGION,
    // or RGN_ERROR when a source has not been created.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* src) { return CombineRgn(src, nullptr, RGN_COPY); }
    int OffsetRgn(int dx, int dy);
    int OffsetRgn(POINT p) { return OffsetRgn(p.x, p.y); }
    int GetRgnBox(RECT* box) const;
    bool PtInRegion(int x, int y) const;
    bool PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
    bool RectInRegion(const RECT* r) const;
    bool EqualRgn(const CRgn* other) const { return other && m_bands == other->m_bands; }
    bool DeleteObject() override;

    // The pixels that lie within `w` pixels horizontally and `h` vertically of the outside:
    // the border that FrameRgn paints.
    CRgn Frame(int w, int h) const;
    // Kind of region: NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    const std::vector<Band>& Bands() const { return m_bands; }
    void SetBands(std::vector<Band> bands);

private:
    std::vector<Band> m_bands;
};
