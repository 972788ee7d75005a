#pragma once
// A scheme picture: the look of a function block, a scheme input or output, a user-block box or
// the default picture of a missing function. A list of holders of one active primitive each,
// with the picture's input and output pins.
#include <vector>

#include "halvex/scheme/SchPorts.h"
#include "halvex/scheme/SchTexts.h"

class Sch_Object {
public:
    // The active member: 0 none, 1 rectangle, 2 polygon, 3 text, 4 function name, 5 property
    // text, 6 line, 7 ellipse arc, 8 numeric text, 9 picture; any other value none.
    int m_nType = 0;
    Sch_Rect m_rect;
    Sch_Polygon m_polygon;
    Sch_FuncName_Text m_funcNameText;
    Sch_PropName_Text m_propNameText;
    Sch_Text m_text;
    Sch_Line m_line;
    Sch_EllipseArc m_ellipseArc;
    Sch_Numeric_Text m_numericText;
    Sch_Bitmap m_bitmap;

    Sch_BaseObj* GetBaseObj();
    const Sch_BaseObj* GetBaseObj() const { return const_cast<Sch_Object*>(this)->GetBaseObj(); }
    CString GetAttrib() const;
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values);
    Gdiplus::RectF GetBoundedRectF(float scale);
};

class Scheme_Draw {
public:
    CString m_sName;
    std::vector<Sch_Object> m_vObjects;
    std::vector<Sch_PortIn> m_vPortIn;
    std::vector<Sch_PortOut> m_vPortOut;

    // The objects, then (unless the kind is 4, 5 or 6) the input and output pins over them.
    void Draw(Gdiplus::Graphics& g, EDrawType kind, void* extra, SCH_VALUES* values);
    // The union of the bounds of objects and pins that are not empty.
    Gdiplus::RectF GetBoundedRectF(float scale);
    void Clear();
    bool IsEmpty() const { return m_vObjects.empty() && m_vPortIn.empty() && m_vPortOut.empty(); }
};

// Grows `result` by `r` when `r` is not empty; the first rectangle kept replaces it.
void SchUniteBounds(Gdiplus::RectF& result, bool& first, const Gdiplus::RectF& r);
