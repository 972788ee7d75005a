#include "platform/draw/TextLayout.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <map>

#include "platform/Encoding.h"

namespace platform::draw {

namespace {

// Faces that every desktop of the system's users has; here fontconfig's default sans face
// draws them.
constexpr const wchar_t* kCommonFaces[] = {L"Arial", L"Tahoma", L"MS Sans Serif", L"Microsoft Sans Serif",
                                           L"MS Shell Dlg", L"MS Shell Dlg 2", L"Segoe UI", L"Verdana",
                                           L"Times New Roman", L"Courier New"};

PangoContext* NewContext(bool antialias) {
    PangoFontMap* map = pango_cairo_font_map_get_default();  // one per thread
    PangoContext* ctx = pango_font_map_create_context(map);
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(opts, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    pango_cairo_context_set_font_options(ctx, opts);
    cairo_font_options_destroy(opts);
    pango_cairo_context_set_resolution(ctx, 96.0);
    pango_context_set_round_glyph_positions(ctx, FALSE);
    return ctx;
}

struct Contexts {
    PangoContext* smooth = NewContext(true);
    PangoContext* crisp = NewContext(false);
    ~Contexts() {
        g_object_unref(smooth);
        g_object_unref(crisp);
    }
};

PangoContext* Context(bool antialias) {
    thread_local Contexts contexts;
    return antialias ? contexts.smooth : contexts.crisp;
}

PangoFontDescription* Describe(const FontSpec& f) {
    PangoFontDescription* d = pango_font_description_new();
    const std::string family = f.face.empty() ? std::string("sans-serif") : WideToUtf8(f.face);
    pango_font_description_set_family(d, family.c_str());
    const double em = std::isfinite(f.em) ? std::clamp(f.em, 0.0, 1e6) : 0.0;
    pango_font_description_set_absolute_size(d, em * PANGO_SCALE);
    pango_font_description_set_weight(d, PangoWeight(std::clamp(f.weight <= 0 ? 400 : f.weight, 100, 1000)));
    pango_font_description_set_style(d, f.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return d;
}

bool SameFace(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

}  // namespace

FontMetrics GetFontMetrics(const FontSpec& font) {
    // Metrics scale with the size (hinting is off): take them once per face and style at a
    // reference size.
    constexpr double kRef = 1000;
    thread_local std::map<std::tuple<std::wstring, int, bool>, FontMetrics> cache;
    const auto key = std::make_tuple(font.face, font.weight, font.italic);
    auto it = cache.find(key);
    if (it == cache.end()) {
        FontSpec ref = font;
        ref.em = kRef;
        PangoFontDescription* d = Describe(ref);
        PangoFontMetrics* m = pango_context_get_metrics(Context(true), d, nullptr);
        FontMetrics fm{pango_font_metrics_get_ascent(m) / double(PANGO_SCALE) / kRef,
                       pango_font_metrics_get_descent(m) / double(PANGO_SCALE) / kRef};
        pango_font_metrics_unref(m);
        pango_font_description_free(d);
        it = cache.emplace(key, fm).first;
    }
    return {it->second.ascent * font.em, it->second.descent * font.em};
}

double EmForCellHeight(const FontSpec& font, double cellHeight) {
    FontSpec unit = font;
    unit.em = 1;
    const FontMetrics m = GetFontMetrics(unit);
    const double cell = m.ascent + m.descent;
    return cell > 0 ? cellHeight / cell : cellHeight;
}

bool IsFamilyAvailable(const std::wstring& face) {
    for (const wchar_t* f : kCommonFaces)
        if (SameFace(face, f)) return true;
    const std::string name = WideToUtf8(face);
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(nullptr, pat, os);
    const bool found = set && set->nfont > 0;
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(os);
    FcPatternDestroy(pat);
    return found;
}

TextLayout::TextLayout(const FontSpec& font, const std::wstring& text) : m_utf8(WideToUtf8(text)) {
    m_layout = pango_layout_new(Context(font.antialias));
    PangoFontDescription* d = Describe(font);
    pango_layout_set_font_description(m_layout, d);
    pango_font_description_free(d);
    pango_layout_set_text(m_layout, m_utf8.c_str(), int(m_utf8.size()));
    if (font.underline || font.strikeout) {
        PangoAttrList* attrs = pango_attr_list_new();
        if (font.underline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (font.strikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
        pango_layout_set_attributes(m_layout, attrs);
        pango_attr_list_unref(attrs);
    }
}

TextLayout::~TextLayout() {
    if (m_layout) g_object_unref(m_layout);
}

void TextLayout::SetWrapWidth(double width) {
    if (width > 0) {
        pango_layout_set_width(m_layout, int(std::min(width, 1e6) * PANGO_SCALE));
        pango_layout_set_wrap(m_layout, PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_width(m_layout, -1);
    }
}

void TextLayout::UnderlineChar(size_t index) {
    // Byte offset of the character in the UTF-8 text.
    const char* s = m_utf8.c_str();
    const char* p = s;
    for (size_t i = 0; i < index && *p; ++i) p = g_utf8_next_char(p);
    if (!*p) return;
    const char* e = g_utf8_next_char(p);
    PangoAttrList* attrs = pango_layout_get_attributes(m_layout);
    attrs = attrs ? pango_attr_list_copy(attrs) : pango_attr_list_new();
    PangoAttribute* a = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    a->start_index = unsigned(p - s);
    a->end_index = unsigned(e - s);
    pango_attr_list_insert(attrs, a);
    pango_layout_set_attributes(m_layout, attrs);
    pango_attr_list_unref(attrs);
}

int TextLayout::LineCount() const { return pango_layout_get_line_count(m_layout); }

double TextLayout::LineWidth(int line) const {
    PangoLayoutLine* l = pango_layout_get_line_readonly(m_layout, line);
    if (!l) return 0;
    PangoRectangle logical;
    pango_layout_line_get_extents(l, nullptr, &logical);
    return logical.width / double(PANGO_SCALE);
}

double TextLayout::Width() const {
    double w = 0;
    for (int i = 0, n = LineCount(); i < n; ++i) w = std::max(w, LineWidth(i));
    return w;
}

void TextLayout::DrawLine(cairo_t* cr, int line, double x, double baseline) const {
    PangoLayoutLine* l = pango_layout_get_line_readonly(m_layout, line);
    if (!l) return;
    PangoRectangle logical;
    pango_layout_line_get_extents(l, nullptr, &logical);
    cairo_move_to(cr, x - logical.x / double(PANGO_SCALE), baseline);
    pango_cairo_show_layout_line(cr, l);
}

}  // namespace platform::draw
