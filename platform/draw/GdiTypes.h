#pragma once
// Constants and plain records of the device-context layer, with the names and values the
// drawing code uses.
#include <cstdint>

#include "platform/Geometry.h"
#include "platform/WinTypes.h"

// Pen styles.
enum : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5 };
// Brush styles.
enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = BS_NULL };
// Stock objects.
enum : int { WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
             NULL_BRUSH = 5, HOLLOW_BRUSH = NULL_BRUSH, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8 };

// Background modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// Text alignment of TextOut.
enum : unsigned { TA_LEFT = 0, TA_TOP = 0, TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8,
                  TA_BASELINE = 24 };

// DrawText formats.
enum : unsigned {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
};

// Font weights.
enum : int { FW_DONTCARE = 0, FW_THIN = 100, FW_LIGHT = 300, FW_NORMAL = 400, FW_MEDIUM = 500,
             FW_SEMIBOLD = 600, FW_BOLD = 700, FW_EXTRABOLD = 800, FW_HEAVY = 900, FW_BLACK = 900 };
enum : int { DEFAULT_CHARSET = 1, ANSI_CHARSET = 0, RUSSIAN_CHARSET = 204 };
enum : int { DEFAULT_QUALITY = 0, NONANTIALIASED_QUALITY = 3, ANTIALIASED_QUALITY = 4 };
enum : int { FF_DONTCARE = 0, FF_ROMAN = 0x10, FF_SWISS = 0x20, FF_MODERN = 0x30 };

// Raster operations of BitBlt and StretchBlt.
enum : DWORD { SRCCOPY = 0x00CC0020, PATCOPY = 0x00F00021, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062 };
// Stretch modes.
enum : int { BLACKONWHITE = 1, COLORONCOLOR = 3, HALFTONE = 4 };

// Mapping modes.
enum : int { MM_TEXT = 1, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8 };

// Polygon fill modes.
enum : int { ALTERNATE = 1, WINDING = 2 };

// Region combination and region kinds.
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// Path point types of GetPath and PolyDraw.
enum : BYTE { PT_CLOSEFIGURE = 0x01, PT_LINETO = 0x02, PT_BEZIERTO = 0x04, PT_MOVETO = 0x06 };

// Device capabilities.
enum : int { HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, LOGPIXELSX = 88,
             LOGPIXELSY = 90 };

// Gradient fill modes.
enum : unsigned { GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1 };

// Alpha blending.
enum : BYTE { AC_SRC_OVER = 0, AC_SRC_ALPHA = 1 };

// Image-list drawing styles.
enum : unsigned { ILD_NORMAL = 0, ILD_TRANSPARENT = 1 };

constexpr int LF_FACESIZE = 32;

struct LOGFONTW {
    int lfHeight = 0;       // < 0: character (em) height; > 0: cell height; 0: a default size
    int lfWidth = 0;        // average character width; 0 keeps the face's own proportions
    int lfEscapement = 0;   // angle of the base line, tenths of a degree, counter-clockwise
    int lfOrientation = 0;
    int lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    wchar_t lfFaceName[LF_FACESIZE] = {};
};
using LOGFONT = LOGFONTW;

struct TEXTMETRICW {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 0;
};
using TEXTMETRIC = TEXTMETRICW;

using COLOR16 = uint16_t;
struct TRIVERTEX {
    int x = 0;
    int y = 0;
    COLOR16 Red = 0;    // 0x0000 .. 0xFF00
    COLOR16 Green = 0;
    COLOR16 Blue = 0;
    COLOR16 Alpha = 0;
};
struct GRADIENT_RECT {
    unsigned UpperLeft = 0;
    unsigned LowerRight = 0;
};

struct BLENDFUNCTION {
    BYTE BlendOp = AC_SRC_OVER;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = 0;  // AC_SRC_ALPHA when the source carries its own (premultiplied) alpha
};
