#pragma once
// Pens, brushes, fonts and bitmaps of the device-context layer. They are values: selecting
// one into a device context copies what it describes, so an object may be changed or
// destroyed while selected without harm; the pointer handed back by SelectObject only
// serves to select the previous object again.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/GdiTypes.h"

typedef struct _cairo_surface cairo_surface_t;

class CDC;

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = default;
    CGdiObject& operator=(const CGdiObject&) = default;
    virtual ~CGdiObject() = default;
    // Whether the object has been created (the framework's non-null handle).
    bool IsCreated() const { return m_created; }
    explicit operator bool() const { return m_created; }
    virtual bool DeleteObject() {
        const bool was = m_created;
        m_created = false;
        return was;
    }

protected:
    bool m_created = false;
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    bool CreatePen(int style, int width, COLORREF color) {
        m_style = style;
        m_width = width < 0 ? 0 : width;
        m_color = color;
        m_created = true;
        return true;
    }
    int Style() const { return m_style; }
    int Width() const { return m_width; }
    COLORREF Color() const { return m_color; }

private:
    int m_style = PS_SOLID;
    int m_width = 0;  // logical units; 0 is one device pixel
    COLORREF m_color = 0;
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    bool CreateSolidBrush(COLORREF color) {
        m_style = BS_SOLID;
        m_color = color;
        m_created = true;
        return true;
    }
    bool CreateNullBrush() {
        m_style = BS_NULL;
        m_created = true;
        return true;
    }
    int Style() const { return m_style; }
    COLORREF Color() const { return m_color; }

private:
    int m_style = BS_SOLID;
    COLORREF m_color = RGB(255, 255, 255);
};

class CFont : public CGdiObject {
public:
    CFont() = default;
    bool CreateFontIndirect(const LOGFONTW* lf) {
        if (!lf) return false;
        m_lf = *lf;
        m_created = true;
        return true;
    }
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const wchar_t* faceName);
    // Convenience for the common case: face, height in logical units (negative: character
    // height), weight, and the rest default.
    bool Create(const wchar_t* faceName, int height, int weight = FW_NORMAL, bool italic = false,
                bool underline = false, int escapement = 0);
    int GetLogFont(LOGFONTW* lf) const {
        if (!m_created || !lf) return 0;
        *lf = m_lf;
        return int(sizeof(LOGFONTW));
    }
    const LOGFONTW& LogFont() const { return m_lf; }

private:
    LOGFONTW m_lf;
};

// An off-screen picture: 32-bit pixels in memory. A compatible bitmap is opaque; one loaded
// from a picture file keeps the picture's alpha. Copies share the same pixels.
class CBitmap : public CGdiObject {
public:
    CBitmap() = default;
    CBitmap(const CBitmap& other);
    CBitmap& operator=(const CBitmap& other);
    ~CBitmap() override;

    bool CreateCompatibleBitmap(CDC* dc, int width, int height);
    // A picture with an alpha channel, fully transparent.
    bool CreateTransparentBitmap(int width, int height);
    bool LoadPngFile(const std::string& path);
    bool LoadPngData(const void* data, size_t size);
    // A picture file or its bytes in PNG, BMP, JPEG, GIF (its first frame), TIFF or ICO.
    // A picture whose header declares more than a screen's picture can be (a side past
    // kMaxPictureSide, or more than kMaxPictureBytes of pixels) is refused before it is decoded,
    // as a damaged one is.
    bool LoadPictureFile(const std::string& path);
    bool LoadPictureData(const void* data, size_t size);
    static constexpr int kMaxPictureSide = 16384;
    static constexpr uint64_t kMaxPictureBytes = uint64_t(256) << 20;
    // Whether a picture of that size may be decoded.
    static bool IsPictureSizeAllowed(int64_t width, int64_t height);
    bool DeleteObject() override;

    CSize GetSize() const;
    bool HasAlpha() const;
    bool SavePng(const std::string& path) const;
    std::vector<uint8_t> EncodePng() const;
    // Colour of one pixel (alpha ignored), or CLR_INVALID outside the picture.
    COLORREF GetPixel(int x, int y) const;

    cairo_surface_t* Surface() const { return m_surface; }
    // Takes over one reference to the surface.
    void Adopt(cairo_surface_t* surface);

private:
    cairo_surface_t* m_surface = nullptr;
};

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
