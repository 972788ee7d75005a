#include "app/RibbonArt.h"

#include <wx/artprov.h>
#include <wx/dcgraph.h>
#include <wx/dcmemory.h>

namespace {

using commands::Icon;

struct Sign {
    Icon icon;
    const wchar_t* text;
    unsigned char r, g, b;
};

// Signs of the commands the desktop has no icon for: short texts in the colour of their group.
const Sign kSigns[] = {
    {Icon::Spectrum, L"▮▯▮", 40, 90, 170},      {Icon::Vector, L"↗", 40, 90, 170},
    {Icon::Circle, L"◯", 40, 90, 170},          {Icon::Differential, L"∆", 40, 90, 170},
    {Icon::ShowDiscrete, L"Д+", 0, 110, 40},    {Icon::HideDiscrete, L"Д−", 0, 110, 40},
    {Icon::HideConstant, L"Д=", 0, 110, 40},    {Icon::ZoomXIn, L"↔+", 30, 30, 30},
    {Icon::ZoomXOut, L"↔−", 30, 30, 30},        {Icon::ZoomArea, L"⬚", 30, 30, 30},
    {Icon::ZoomYIn, L"↕+", 30, 30, 30},         {Icon::ZoomYOut, L"↕−", 30, 30, 30},
    {Icon::RestoreSize, L"1:1", 30, 30, 30},    {Icon::CursorV1, L"В1", 200, 40, 40},
    {Icon::CursorV2, L"В2", 40, 40, 200},       {Icon::CursorV3, L"В3", 0, 130, 0},
    {Icon::CursorH1, L"Г1", 200, 40, 40},       {Icon::CursorH2, L"Г2", 40, 40, 200},
    {Icon::CommentMoment, L"│", 150, 90, 0},    {Icon::CommentArea, L"▭", 150, 90, 0},
    {Icon::CommentLevel, L"─", 150, 90, 0},     {Icon::MinMax, L"±", 90, 40, 140},
    {Icon::Rms, L"√", 90, 40, 140},             {Icon::Harmonic, L"1h", 90, 40, 140},
    {Icon::CurveInstant, L"∿", 20, 100, 120},   {Icon::CurveRms, L"√∿", 20, 100, 120},
    {Icon::CurveHarmonic, L"1∿", 20, 100, 120}, {Icon::Invert, L"−x", 20, 100, 120},
    {Icon::RemoveDc, L"DC", 20, 100, 120},      {Icon::Coefficients, L"k", 20, 100, 120},
    {Icon::Primary, L"I", 20, 100, 120},        {Icon::Secondary, L"II", 20, 100, 120},
    {Icon::ParamBar, L"≡", 40, 90, 170},
    {Icon::Windows, L"❐", 40, 90, 170},
};

wxArtID StockArt(Icon icon) {
    switch (icon) {
        case Icon::Open: return wxART_FILE_OPEN;
        case Icon::Save: return wxART_FILE_SAVE;
        case Icon::SaveAs: return wxART_FILE_SAVE_AS;
        case Icon::Recent: return wxART_GO_DIR_UP;
        case Icon::Close: return wxART_CLOSE;
        case Icon::Finder: return wxART_FIND;
        case Icon::Print: return wxART_PRINT;
        case Icon::PageSetup: return wxART_PRINT;
        case Icon::Preview: return wxART_FIND_AND_REPLACE;
        case Icon::FileInfo: return wxART_INFORMATION;
        case Icon::Comments: return wxART_EDIT;
        case Icon::LoadSettings: return wxART_FILE_OPEN;
        case Icon::Settings: return wxART_EXECUTABLE_FILE;
        case Icon::Paste: return wxART_PASTE;
        case Icon::Copy: return wxART_COPY;
        case Icon::Undo: return wxART_UNDO;
        case Icon::Redo: return wxART_REDO;
        case Icon::Channels: return wxART_LIST_VIEW;
        case Icon::QuickAnalysis: return wxART_REPORT_VIEW;
        case Icon::Style: return wxART_TIP;
        case Icon::LineModel: return wxART_LIST_VIEW;
        case Icon::FaultRun: return wxART_FIND;
        default: return wxArtID();
    }
}

}  // namespace

wxBitmap RibbonIcon(Icon icon, int size) {
    const wxArtID stock = StockArt(icon);
    if (!stock.empty()) {
        wxBitmap bmp = wxArtProvider::GetBitmap(stock, wxART_TOOLBAR, wxSize(size, size));
        if (bmp.IsOk()) return bmp;
    }
    const Sign* sign = nullptr;
    for (const Sign& s : kSigns)
        if (s.icon == icon) sign = &s;
    wxImage image(size, size);
    image.InitAlpha();
    memset(image.GetAlpha(), 0, size_t(size) * size);
    wxBitmap bmp(image);
    {
        wxMemoryDC mem(bmp);
        wxGCDC dc(mem);
        const wxString text = sign ? wxString(sign->text) : wxString(wxS("?"));
        const wxColour colour = sign ? wxColour(sign->r, sign->g, sign->b) : *wxBLACK;
        // The largest bold font that keeps the sign inside the square.
        for (int pt = size * 3 / 4; pt >= 5; --pt) {
            dc.SetFont(wxFontInfo(wxSize(0, pt)).Family(wxFONTFAMILY_SWISS).Bold());
            const wxSize ext = dc.GetTextExtent(text);
            if (ext.x <= size && ext.y <= size + 2) {
                dc.SetTextForeground(colour);
                dc.DrawText(text, (size - ext.x) / 2, (size - ext.y) / 2);
                break;
            }
        }
    }
    return bmp;
}

wxColour FlatRibbonArt::PressedFill(const wxColour& accent) {
    // A quarter of the accent over white.
    auto mix = [](unsigned char c) { return static_cast<unsigned char>(255 - (255 - c) / 4); };
    return wxColour(mix(accent.Red()), mix(accent.Green()), mix(accent.Blue()));
}

wxRibbonArtProvider* FlatRibbonArt::Clone() const {
    auto* copy = new FlatRibbonArt;
    CloneTo(copy);
    wxColour primary, secondary, tertiary;
    GetColourScheme(&primary, &secondary, &tertiary);
    copy->SetColourScheme(primary, secondary, tertiary);
    return copy;
}

void FlatRibbonArt::SetColourScheme(const wxColour& primary, const wxColour& secondary, const wxColour& tertiary) {
    wxRibbonAUIArtProvider::SetColourScheme(primary, secondary, tertiary);
    const wxColour fill = PressedFill(secondary);
    m_button_bar_active_background_brush.SetColour(fill);
    m_tool_active_background_brush.SetColour(fill);
    m_gallery_button_active_background_brush.SetColour(fill);
}
