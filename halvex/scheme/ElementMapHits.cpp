// The element map's hit tests for the editor: pins, inversion marks, line ends and rectangle
// corners.
#include "halvex/scheme/SchemeBaseElement.h"
#include "halvex/scheme/SchemeDecor.h"

using namespace Gdiplus;

CString MAP_SCHEME_POINTER_ELEMENT::GetNumPinHitTest(ArmDataInterface* host, PointF& point, int& inPort, int& outPort,
                                                     bool onlyFreeInputs) const {
    inPort = outPort = -1;
    for (const auto& [key, element] : *this) {
        if (!element || !element->GetPinHitTest(host, point, inPort, outPort)) continue;
        if (inPort != -1) {
            if (!onlyFreeInputs || CompileIncludeSpace::IsGuidNil(element->GetPortInGuid(inPort))) return key;
        } else if (outPort != -1) {
            return key;
        }
        inPort = outPort = -1;
    }
    return CString();
}

CString MAP_SCHEME_POINTER_ELEMENT::GetNumInversionHitTest(ArmDataInterface* host, PointF& point, int& inPort,
                                                           int& outPort) const {
    inPort = outPort = -1;
    for (const auto& [key, element] : *this) {
        if (!element || !element->GetInversionHitTest(host, point, inPort, outPort)) continue;
        if (inPort != -1 || outPort != -1) return key;
        inPort = outPort = -1;
    }
    return CString();
}

CString MAP_SCHEME_POINTER_ELEMENT::GetLineStartEndPointsHitTest(PointF& point, float scale, bool& start) const {
    for (const auto& [key, element] : *this) {
        if (!element || element->GetSchemeElementType() != eSchElemLine) continue;
        const auto* line = dynamic_cast<const SCHEME_LINE_ELEMENT*>(element.get());
        if (line && line->GetStartEndPointsHitTest(point, scale, start)) return key;
    }
    return CString();
}

CString MAP_SCHEME_POINTER_ELEMENT::GetRectCornerHitTest(PointF& point, float scale,
                                                         ERectElemCornerHitTest& corner) const {
    for (const auto& [key, element] : *this) {
        if (!element || element->GetSchemeElementType() != eSchElemRect) continue;
        const auto* rect = dynamic_cast<const SCHEME_RECT_ELEMENT*>(element.get());
        if (rect && rect->GetCornerHitTest(point, scale, corner)) return key;
    }
    return CString();
}
