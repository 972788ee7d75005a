#pragma once
// A plain placed element for scheme tests: a box with numbered input pins on its left edge and
// output pins on its right edge, filled grey when drawn.
#include "halvex/scheme/SchemeBaseElement.h"

namespace testutil {

class TestBox : public SCHEME_BASE_ELEMENT {
public:
    TestBox(int inputs, int outputs, int x = 0, int y = 0, int width = 4, int height = 6)
        : m_nInputs(inputs), m_nOutputs(outputs), m_nWidth(width), m_nHeight(height) {
        m_nX = x;
        m_nY = y;
    }

    void Draw(ArmDataInterface*, Gdiplus::Graphics& g, EDrawType, Gdiplus::Size offset) const override {
        Gdiplus::SolidBrush brush(Gdiplus::Color(0xFF808080));
        g.FillRectangle(&brush, float(m_nX + offset.Width), float(m_nY + offset.Height), float(m_nWidth),
                        float(m_nHeight));
    }
    ESchemeElementType GetSchemeElementType() const override { return eSchElemFunc; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface*, float) const override {
        return Gdiplus::RectF(float(m_nX), float(m_nY), float(m_nWidth), float(m_nHeight));
    }
    void GetVectPortIn(ArmDataInterface*, std::vector<Sch_PortIn>& out) const override {
        out.clear();
        for (int i = 0; i < m_nInputs; ++i) {
            Sch_PortIn p;
            p.m_fX = 0;
            p.m_fY = float(2 * i + 1);
            out.push_back(p);
        }
    }
    void GetVectPortOut(ArmDataInterface*, std::vector<Sch_PortOut>& out) const override {
        out.clear();
        for (int i = 0; i < m_nOutputs; ++i) {
            Sch_PortOut p;
            p.m_fX = float(m_nWidth);
            p.m_fY = float(2 * i + 1);
            out.push_back(p);
        }
    }
    SCHEME_BASE_ELEMENT* Clone() const override { return new TestBox(*this); }
    CString GetSchemeEditShortName() const override { return L" "; }

    int m_nInputs, m_nOutputs, m_nWidth, m_nHeight;
};

}  // namespace testutil
