#pragma once
// A list of small pictures of one size (icons of the views and lists), drawn at a point.
// Pixels of the mask colour given when a strip is added, or transparent pixels of a picture
// with alpha, are not drawn.
#include <vector>

#include "platform/draw/GdiObjects.h"

class CDC;

class CImageList {
public:
    CImageList() = default;
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Images of cx x cy pixels; the flags and counts of the framework are accepted and unused.
    bool Create(int cx, int cy, UINT flags = 0, int initial = 0, int grow = 0);
    // Cuts a strip of images, side by side, from the bitmap. Returns the index of the first
    // one added, or -1.
    int Add(const CBitmap* strip, COLORREF mask);
    // The same for a picture with its own alpha.
    int Add(const CBitmap* strip);
    bool DeleteImageList();
    int GetImageCount() const { return int(m_images.size()); }
    CSize GetIconSize() const { return {m_cx, m_cy}; }
    // Draws image `index` with its top-left corner at the logical point.
    bool Draw(CDC* dc, int index, POINT point, UINT style = ILD_NORMAL) const;

private:
    int AddStrip(const CBitmap* strip, bool masked, COLORREF mask);
    int m_cx = 0, m_cy = 0;
    std::vector<cairo_surface_t*> m_images;
};
