#pragma once
// Device-independent bitmaps: sizes of bitmap resources and files, a kept copy of a picture's
// pixels drawn stretched into a device context, and the BMP file writer.
#include <vector>

#include "platform/CString.h"
#include "platform/Geometry.h"
#include "platform/WinTypes.h"

class CBitmap;
class CDC;

struct BITMAP {
    int bmWidth = 0;
    int bmHeight = 0;
    int bmWidthBytes = 0;
    WORD bmBitsPixel = 0;
};

class CAi_Bmp {
public:
    // The size of the program's "BITMAP" resource `resourceId` (a DIB with its header).
    static bool GetBitmapSize(DWORD resourceId, SIZE* size);
    // The width and height of a BMP file; 0 x 0 first, false when it is none.
    static bool GetBitmapSize(const CString& file, SIZE* size);

    // Attaches `bitmap` and keeps a copy of its pixels.
    void SetBMP(CBitmap* bitmap);
    // Draws the kept pixels stretched to `size` at `at` (0, size's height when null).
    bool MoveOutBMPToDC(CDC* dc, const SIZE* size, const POINT* at);
    // The same with the kept pixels read as `description` lays them out (width, height, bytes
    // per row, 32 bits a pixel) and `bitmap` as the source of a colour table, which 32-bit
    // pixels have none of. False when the description asks for more rows than are kept or for
    // another pixel size.
    bool MoveOutBMPToDC(CDC* dc, const SIZE* size, const POINT* at, CBitmap* bitmap, const BITMAP* description);
    // Never drew anything; kept for its callers.
    bool MoveOutBMPFileToDC(CDC* dc, const SIZE* size, const POINT* at, const CString& file);
    // Writes the picture as a 32-bit BMP file ("BM" header, information header, pixel rows),
    // replacing `file` only when the whole file is written.
    static bool SaveBitmapInFile(const CBitmap* bitmap, const CString& file);

    CBitmap* m_pBitmap = nullptr;
    BITMAP m_bitmap;
    std::vector<BYTE> m_bits;  // m_bitmap's rows, top first
};
