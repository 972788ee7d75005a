#include "halvex/mimic/ControlMonElem.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "halvex/helpers/CompileIncludeSpace.h"
#include "halvex/mimic/ControlLineElem.h"

using namespace Gdiplus;

// --- the control base ------------------------------------------------------------------------

std::unique_ptr<Region> CONTROL_MON_ELEM::CreateBoundedRegion(ArmDataInterface* host, float scale) {
    return std::make_unique<Region>(GetBoundedRectF(host, scale));
}

bool CONTROL_MON_ELEM::GetSizeElemHitTest(const PointF&, float, ESizeElemHitTest&) { return false; }

bool CONTROL_MON_ELEM::RefreshByTimer(ArmDataInterface*) { return false; }

void CONTROL_MON_ELEM::FillVectMonSignals(std::vector<CONTROL_MON_SIGNAL>& signals) { signals.clear(); }

void CONTROL_MON_ELEM::CorrectValueFromBlock(MON_VALUES*) {}

void CONTROL_MON_ELEM::RenameProjectSignals(MON_VALUES&) {}

bool CONTROL_MON_ELEM::IsInside(ArmDataInterface* host, const PointF& point, float scale) {
    if (IsUseRegionInsteadRectForHitTest()) {
        std::unique_ptr<Region> region = CreateBoundedRegion(host, scale);
        return region && region->IsVisible(point);
    }
    const RectF r = GetBoundedRectF(host, scale);
    return !r.IsEmptyArea() && r.Contains(point);
}

void CONTROL_MON_ELEM::SetLogFontFromArmFont(const Arm_Font& font, LOGFONTW& lf) {
    lf = LOGFONTW();
    lf.lfHeight = -int(std::floor(font.m_fSize + 0.5f));
    lf.lfEscapement = 900;
    lf.lfOrientation = 900;
    lf.lfWeight = font.m_bBold ? 700 : 400;
    lf.lfItalic = font.m_bItalic ? 1 : 0;
    lf.lfUnderline = font.m_bUnderline ? 1 : 0;
    lf.lfStrikeOut = font.m_bStrikeout ? 1 : 0;
    lf.lfCharSet = 1;
    // A longer face name is cut to what the record holds, with its terminator.
    const int n = std::min(font.m_sFaceName.GetLength(), LF_FACESIZE - 1);
    std::wmemcpy(lf.lfFaceName, font.m_sFaceName.GetString(), size_t(n));
    lf.lfFaceName[n] = 0;
}

void CONTROL_MON_ELEM::SetArmFontFromLogFont(const LOGFONTW& lf, Arm_Font& font) {
    font.m_sFaceName = CString(lf.lfFaceName, int(wcsnlen(lf.lfFaceName, LF_FACESIZE)));
    font.m_fSize = float(std::abs(lf.lfHeight));
    font.m_bBold = lf.lfWeight >= 700;
    font.m_bItalic = lf.lfItalic != 0;
    font.m_bUnderline = lf.lfUnderline != 0;
    font.m_bStrikeout = lf.lfStrikeOut != 0;
}

// --- the screen --------------------------------------------------------------------------------
// Entries without a control are passed over everywhere: a hole in the map is no control.

void MAP_POINTER_TEXT_ELEMENTS::Draw(ArmDataInterface* host, Graphics& g, EDrawType kind, Size offset) {
    for (auto& [key, control] : *this)
        if (control) control->Draw(host, g, kind, false, offset);
}

CString MAP_POINTER_TEXT_ELEMENTS::GetMonHitElement(ArmDataInterface* host, const PointF& point, float scale) {
    for (int pass = 0; pass < 2; ++pass) {
        const bool pictures = pass == 1;
        for (auto& [key, control] : *this) {
            if (!control || (control->GetControlMonType() == eControlMonPicture) != pictures) continue;
            if (control->IsInside(host, point, scale)) return key;
        }
    }
    return CString();
}

RectF MAP_POINTER_TEXT_ELEMENTS::GetBoundedRectF(ArmDataInterface* host, float scale) {
    bool first = true;
    float l = 0, t = 0, r = 0, b = 0;
    for (auto& [key, control] : *this) {
        if (!control) continue;
        const RectF c = control->GetBoundedRectF(host, scale);
        if (first) {
            l = c.X;
            t = c.Y;
            r = c.GetRight();
            b = c.GetBottom();
            first = false;
        } else {
            l = std::min(l, c.X);
            t = std::min(t, c.Y);
            r = std::max(r, c.GetRight());
            b = std::max(b, c.GetBottom());
        }
    }
    return RectF(l, t, r - l, b - t);
}

bool MAP_POINTER_TEXT_ELEMENTS::RefreshByTimer(ArmDataInterface* host) {
    bool changed = false;
    for (auto& [key, control] : *this)
        if (control && control->RefreshByTimer(host)) changed = true;
    return changed;
}

void MAP_POINTER_TEXT_ELEMENTS::CorrectSigValues(MON_VALUES* values) {
    for (auto& [key, control] : *this)
        if (control) control->CorrectValueFromBlock(values);
}

void MAP_POINTER_TEXT_ELEMENTS::FillSetMonSignals(std::set<CONTROL_MON_SIGNAL>& signals) {
    signals.clear();
    std::vector<CONTROL_MON_SIGNAL> one;
    for (auto& [key, control] : *this) {
        if (!control || !control->NeedSendToExtracter()) continue;
        control->FillVectMonSignals(one);
        signals.insert(one.begin(), one.end());
    }
}

CString MAP_POINTER_TEXT_ELEMENTS::GetLineStartEndPointsHitTest(const PointF& point, float scale, bool& start) {
    for (auto& [key, control] : *this) {
        if (!control || control->GetControlMonType() != eControlMonLine) continue;
        if (static_cast<CONTROL_LINE_ELEM*>(control.get())->GetStartEndPointsHitTest(point, scale, start)) return key;
    }
    return CString();
}

CString MAP_POINTER_TEXT_ELEMENTS::GetRectCornerHitTest(const PointF& point, float scale,
                                                        ERectElemCornerHitTest& corner) {
    for (auto& [key, control] : *this) {
        if (!control || control->GetControlMonType() != eControlMonRect) continue;
        if (static_cast<CONTROL_RECT_ELEM*>(control.get())->GetCornerHitTest(point, scale, corner)) return key;
    }
    return CString();
}

void MAP_POINTER_TEXT_ELEMENTS::ChangeGuids() {
    MAP_POINTER_TEXT_ELEMENTS renamed;
    for (auto& [key, control] : *this) {
        if (!control) continue;
        GUID guid{};
        UuidCreate(&guid);
        const CString text = CompileIncludeSpace::GetStringByGuid(guid);
        control->m_guid = CompileIncludeSpace::GetGuidByString(text);
        renamed[control->GetGuidString()] = control;
    }
    swap(renamed);
}

void MAP_POINTER_TEXT_ELEMENTS::MakeClone(const MAP_POINTER_TEXT_ELEMENTS& source) {
    if (&source == this) {
        // Cloning a screen into itself gives it its own copies of what it held.
        const MAP_POINTER_TEXT_ELEMENTS held = source;
        MakeClone(held);
        return;
    }
    clear();
    for (const auto& [key, control] : source)
        if (control) (*this)[key] = SmartPointer<CONTROL_MON_ELEM>(control->Clone());
}
