#pragma once
// Vector targets of the device context: PDF pages at a printer's resolution (printing and
// print preview) and an SVG picture (where a picture goes to the clipboard or a file).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/draw/DeviceContext.h"

typedef struct _cairo_surface cairo_surface_t;

// A PDF document of pages `width` x `height` device pixels at `dpi`. Each page is drawn
// through the context StartPage gives; the context reports itself as printing.
class PdfDocument {
public:
    PdfDocument() = default;
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    bool Create(const std::string& path, int width, int height, int dpi);
    CDC* StartPage();
    bool EndPage();
    // Finishes the file; false when anything could not be written.
    bool Close();
    int PageCount() const { return m_pages; }

private:
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
    std::unique_ptr<CDC> m_dc;
    int m_width = 0, m_height = 0, m_dpi = 96, m_pages = 0;
};

// An SVG picture of `width` x `height` pixels, written to a file or kept in memory.
class SvgPicture {
public:
    SvgPicture() = default;
    ~SvgPicture();
    SvgPicture(const SvgPicture&) = delete;
    SvgPicture& operator=(const SvgPicture&) = delete;

    // An empty path keeps the picture in memory (Data() after Close()).
    bool Create(const std::string& path, int width, int height);
    CDC* GetDC() { return m_dc.get(); }
    bool Close();
    const std::string& Data() const { return m_data; }

private:
    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_cr = nullptr;
    std::unique_ptr<CDC> m_dc;
    std::string m_data;
};
