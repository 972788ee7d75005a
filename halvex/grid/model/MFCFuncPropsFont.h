#pragma once
// Rows made directly rather than from descriptors: the font of a text, a colour, and a choice
// of an image by index. The font and colour rows write their value into the shown scheme
// element themselves when the grid applies edits at once.
#include <vector>

#include "halvex/grid/model/MFCPropertyGrid.h"
#include "platform/Geometry.h"
#include "platform/draw/GdiObjects.h"

class CDC;
class CImageList;

class CMFCFuncPropsFont : public CMFCPropertyGridProperty {
public:
    // `colour` -1: none.
    CMFCFuncPropsFont(const CString& name, const LOGFONTW& font, unsigned dialogFlags,
                      const CString& description = CString(), uintptr_t data = 0, COLORREF colour = COLORREF(-1));

    const LOGFONTW& GetLogFont() const { return m_lf; }
    COLORREF GetColor() const { return m_color; }
    unsigned GetDialogFlags() const { return m_dwFlags; }
    // "Face, size"; the size in points of the font's height.
    CString FormatProperty() override;
    bool HasButton() const override { return true; }
    bool OnEdit() override { return false; }
    // The font dialog: a new font or colour is taken, the grid told, and the element changed.
    void OnClickButton() override;

private:
    void ApplyOnAction();

    LOGFONTW m_lf;
    unsigned m_dwFlags;
    COLORREF m_color;
};

class CMFCFuncPropsColor : public CMFCPropertyGridProperty {
public:
    // `colour` -1: automatic.
    CMFCFuncPropsColor(const CString& name, COLORREF colour, const CString& description = CString(),
                       uintptr_t data = 0);

    COLORREF GetColor() const { return COLORREF(GetValue().i); }
    void SetColor(COLORREF colour) { SetValue(GridValue::Int(int(colour))); }
    // The buttons of the colour choice: the automatic colour and the other-colour dialog.
    void EnableAutomaticButton(const CString& label, COLORREF automatic, bool enable = true);
    void EnableOtherButton(const CString& label, bool enable = true);
    const CString& GetAutomaticLabel() const { return m_strAutoColor; }
    const CString& GetOtherLabel() const { return m_strOtherColor; }
    COLORREF GetAutomaticColor() const { return m_colorAutomatic; }

    // The edited text is the colour as a decimal COLORREF, -1 for automatic.
    bool OnUpdateValue(const CString& editText) override;

private:
    void ApplyOnAction();

    CString m_strAutoColor, m_strOtherColor;
    COLORREF m_colorAutomatic = 0;
};

// A choice of an image by its index, each image with an optional text.
class CIconListProp : public CMFCPropertyGridProperty {
public:
    CIconListProp(const CString& name, const CImageList& images, int selected,
                  const std::vector<CString>* texts = nullptr, const CString& description = CString(),
                  uintptr_t data = 0);

    int GetImageCount() const { return int(m_images.size()); }
    const CBitmap& GetImage(int i) const { return m_images[size_t(i)]; }
    CSize GetImageSize() const { return m_size; }
    const std::vector<CString>& GetTexts() const { return m_lstIconStrings; }
    // The chosen index; -1 when the value is empty.
    int GetSelectedIndex();

    // Paints the value cell: the chosen image at the left of `rect` shrunk by 1 and its text
    // 6 pixels to the right of it. Nothing for an empty value or a negative index.
    void OnDrawValue(CDC* dc, CRect rect);

private:
    std::vector<CBitmap> m_images;
    CSize m_size{0, 0};
    std::vector<CString> m_lstIconStrings;
};

// GDI+ colour of a chosen COLORREF: opaque with its red, green and blue; -1 (automatic) is
// opaque black.
uint32_t GridColorToArgb(COLORREF colour);
// The COLORREF the grid shows for an element's ARGB colour: alpha dropped, red and blue swapped.
COLORREF GridArgbToColor(uint32_t argb);
