#pragma once
// The common part of the diagram windows, free of any window system: the font, the
// off-screen picture that every paint goes through, printing into a page, and the picture
// copied to the clipboard. The window class around it (diagrams/ui) only hands over sizes,
// device contexts and events.
#include <functional>
#include <string>
#include <vector>

#include "platform/draw/DeviceContext.h"

class CTenvorikDoc;
struct ProtectionBlock;

// What a diagram asks of the frame it lives in.
class DiagramOwner {
public:
    virtual ~DiagramOwner() = default;
    // The record document active in the frame, or null.
    virtual CTenvorikDoc* GetActiveDocument() = 0;
};

// Print geometry: the scale pens and margins grow by, and the height of the print font.
struct DiagramPrintScale {
    int scale = 1;
    int fontHeight = 10;
};
// Printer against screen resolution, in whole steps; a printer coarser than the screen, or a
// resolution that is not known, still prints at scale 1 rather than at 0.
DiagramPrintScale ComputePrintScale(int printerDpi, int screenDpi);

// The picture of a diagram as it goes to the clipboard.
struct DiagramPicture {
    std::string svg;
    std::vector<uint8_t> png;
    int width = 0, height = 0;
};

class DiagramWnd {
public:
    explicit DiagramWnd(DiagramOwner* owner);
    virtual ~DiagramWnd() = default;
    DiagramWnd(const DiagramWnd&) = delete;
    DiagramWnd& operator=(const DiagramWnd&) = delete;

    // Reads the window's options from the active document and repaints.
    virtual void LoadSettings() = 0;
    // Prints into `page` of `dc`. `screenDpi` is the screen's resolution the scale is taken
    // against; in preview the picture is made in a page-sized image first.
    virtual void Print(CDC* dc, const CRect& page, CTenvorikDoc* doc, bool preview, int screenDpi = 96);
    // The picture of the window (client size) for the clipboard; false without a document.
    virtual bool CopyToClipboard(DiagramPicture& picture);
    // Characteristic-block hooks; diagrams without blocks keep these.
    virtual void UpdateCurrentBlock() {}
    virtual void SaveSelectedBlock() {}
    virtual std::vector<ProtectionBlock>& GetBlocks();
    virtual int GetCurrentBlockIndex() { return 0; }
    virtual void SetCurrentBlockIndex(int) {}
    // Draws the whole diagram into `rect` of `dc`, background first. `scale` is 1 on the
    // screen and the printer-to-screen ratio when printing; `doc` may be null.
    virtual void Draw(CDC* dc, CRect rect, int scale, const CFont* font, CTenvorikDoc* doc) = 0;

    // Paints the client area into the off-screen picture and returns its context; the window
    // copies `clientSize` of it to the screen. The picture only ever grows.
    CDC* Paint(CSize clientSize);
    CBitmap& GetBitmap() { return m_bitmap; }

    // The window side: repaint request and client size.
    void SetInvalidate(std::function<void()> invalidate) { m_invalidate = std::move(invalidate); }
    void SetClientSize(CSize size) { m_client = size; }
    CSize GetClientSize() const { return m_client; }
    void Invalidate() {
        if (m_invalidate) m_invalidate();
    }

    CTenvorikDoc* GetActiveDocument() const { return m_owner ? m_owner->GetActiveDocument() : nullptr; }
    DiagramOwner* GetOwner() const { return m_owner; }
    const CFont& GetFont() const { return m_font; }

protected:
    DiagramOwner* m_owner;
    CFont m_font;
    CBitmap m_bitmap;
    CDC m_memDC;
    CSize m_client;
    std::function<void()> m_invalidate;
};
