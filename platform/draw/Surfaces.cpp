#include "platform/draw/Surfaces.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

namespace {
cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}
}  // namespace

PdfDocument::~PdfDocument() { Close(); }

bool PdfDocument::Create(const std::string& path, int width, int height, int dpi) {
    Close();
    if (width <= 0 || height <= 0 || dpi <= 0) return false;
    m_width = width;
    m_height = height;
    m_dpi = dpi;
    m_pages = 0;
    // PDF units are points; the context draws in device pixels of the printer.
    m_surface = cairo_pdf_surface_create(path.c_str(), width * 72.0 / dpi, height * 72.0 / dpi);
    if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(m_surface);
        m_surface = nullptr;
        return false;
    }
    return true;
}

CDC* PdfDocument::StartPage() {
    if (!m_surface) return nullptr;
    if (m_dc) EndPage();
    m_cr = cairo_create(m_surface);
    cairo_scale(m_cr, 72.0 / m_dpi, 72.0 / m_dpi);
    m_dc = std::make_unique<CDC>();
    m_dc->Attach(m_cr, m_width, m_height, m_dpi, true);
    return m_dc.get();
}

bool PdfDocument::EndPage() {
    if (!m_dc) return false;
    m_dc->Detach();
    m_dc.reset();
    cairo_show_page(m_cr);
    cairo_destroy(m_cr);
    m_cr = nullptr;
    ++m_pages;
    return cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS;
}

bool PdfDocument::Close() {
    if (!m_surface) return false;
    if (m_dc) EndPage();
    cairo_surface_finish(m_surface);
    const bool ok = cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(m_surface);
    m_surface = nullptr;
    return ok;
}

SvgPicture::~SvgPicture() { Close(); }

bool SvgPicture::Create(const std::string& path, int width, int height) {
    Close();
    if (width <= 0 || height <= 0) return false;
    m_data.clear();
    m_surface = path.empty() ? cairo_svg_surface_create_for_stream(&AppendBytes, &m_data, width, height)
                             : cairo_svg_surface_create(path.c_str(), width, height);
    if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(m_surface);
        m_surface = nullptr;
        return false;
    }
    // One SVG unit is one pixel of the picture.
    cairo_svg_surface_set_document_unit(m_surface, CAIRO_SVG_UNIT_PX);
    m_cr = cairo_create(m_surface);
    m_dc = std::make_unique<CDC>();
    m_dc->Attach(m_cr, width, height, 96, false);
    return true;
}

bool SvgPicture::Close() {
    if (!m_surface) return false;
    m_dc.reset();
    cairo_destroy(m_cr);
    m_cr = nullptr;
    cairo_surface_finish(m_surface);
    const bool ok = cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(m_surface);
    m_surface = nullptr;
    return ok;
}
