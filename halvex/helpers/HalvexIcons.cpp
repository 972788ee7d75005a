#include "halvex/helpers/HalvexIcons.h"

#include "platform/draw/DeviceContext.h"
#include "platform/draw/GdiObjects.h"

namespace {

COLORREF Hue(int id) {
    // Neighbouring ids get far-apart colours.
    static const COLORREF palette[] = {RGB(0x1f, 0x77, 0xb4), RGB(0xff, 0x7f, 0x0e), RGB(0x2c, 0xa0, 0x2c),
                                       RGB(0xd6, 0x27, 0x28), RGB(0x94, 0x67, 0xbd), RGB(0x8c, 0x56, 0x4b),
                                       RGB(0xe3, 0x77, 0xc2), RGB(0x7f, 0x7f, 0x7f), RGB(0xbc, 0xbd, 0x22),
                                       RGB(0x17, 0xbe, 0xcf)};
    return palette[id % 10];
}

}  // namespace

HICON HalvexLoadIcon(int id) {
    if (id < 1) return nullptr;
    auto picture = std::make_shared<CBitmap>();
    if (!picture->CreateTransparentBitmap(kHalvexIconSize, kHalvexIconSize)) return nullptr;
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr)) return nullptr;
    CBitmap* old = dc.SelectObject(picture.get());
    dc.FillSolidRect(1, 1, 14, 14, Hue(id));
    // The tens digit as a mark in one of four corners, the hundreds as a bar: with the colour
    // of the units digit, every id of the library's range looks different.
    dc.FillSolidRect(2 + 7 * (id / 10 % 2), 2 + 7 * (id / 20 % 2), 5, 5, RGB(255, 255, 255));
    dc.FillSolidRect(2, 13 - (id / 100 % 10), 12, 1, RGB(0, 0, 0));
    dc.SelectObject(old);
    return picture;
}
