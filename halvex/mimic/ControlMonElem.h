#pragma once
// Mimic screens: the operator's picture of a terminal, made of controls placed on a canvas and
// drawn through the scheme primitives. This is the base every control derives from, the
// signal record live controls show, and the screen that holds controls by their GUID text.
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "halvex/scheme/SchTexts.h"
#include "halvex/scheme/SchemeGuidElement.h"
#include "halvex/scheme/SmartPointer.h"

class ArmDataInterface;

enum EControlMonType : int {
    eControlMonText = 1,
    eControlMonButton = 2,
    eControlMonEdit = 3,
    eControlMonAnalog = 4,
    eControlMonLogic = 5,
    eControlMonSwitch = 6,
    eControlMonPicture = 7,
    eControlMonLine = 8,
    eControlMonRect = 9,
};

// The resize handle under a point: an edge or a corner of the control's box.
enum ESizeElemHitTest : int {
    eSizeElemLeft = 0,
    eSizeElemRight = 1,
    eSizeElemTop = 2,
    eSizeElemBottom = 3,
    eSizeElemTopLeft = 4,
    eSizeElemTopRight = 5,
    eSizeElemBottomLeft = 6,
    eSizeElemBottomRight = 7,
};

enum ERectElemCornerHitTest : int {
    eRectCornerTopLeft = 0,
    eRectCornerTopRight = 1,
    eRectCornerBottomLeft = 2,
    eRectCornerBottomRight = 3,
};

// A live signal a control shows: its project name (the key of the value and rename maps) and a
// second text the host keeps with it.
struct CONTROL_MON_SIGNAL {
    CString m_sName;
    CString m_sText2;

    bool operator<(const CONTROL_MON_SIGNAL& other) const {
        if (m_sName != other.m_sName) return m_sName < other.m_sName;
        return m_sText2 < other.m_sText2;
    }
    bool operator==(const CONTROL_MON_SIGNAL& other) const {
        return m_sName == other.m_sName && m_sText2 == other.m_sText2;
    }
};

using MON_VALUES = std::map<CString, CString>;

class CONTROL_MON_ELEM : public SCHEME_GUID_ELEMENT {
public:
    CONTROL_MON_ELEM() = default;
    // A copy keeps the identity; a screen hands out new ones when it needs them.
    CONTROL_MON_ELEM(const CONTROL_MON_ELEM&) = default;
    CONTROL_MON_ELEM& operator=(const CONTROL_MON_ELEM&) = default;
    ~CONTROL_MON_ELEM() override = default;

    virtual EControlMonType GetControlMonType() const = 0;
    // In screen coordinates, position included; `scale` is the zoom, so that outlines one
    // device pixel wide fit in.
    virtual Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) = 0;
    virtual std::unique_ptr<Gdiplus::Region> CreateBoundedRegion(ArmDataInterface* host, float scale);
    virtual bool IsUseRegionInsteadRectForHitTest() const { return false; }
    // Draws at the position plus `offset`; `pressed` shows a button pushed in.
    virtual void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, bool pressed,
                      Gdiplus::Size offset) = 0;
    virtual bool GetSizeElemHitTest(const Gdiplus::PointF& point, float scale, ESizeElemHitTest& hit);
    virtual CONTROL_MON_ELEM* Clone() const = 0;
    // True when what the control shows changed and it wants to be drawn again.
    virtual bool RefreshByTimer(ArmDataInterface* host);
    virtual bool CanBePressed() const { return false; }
    // Whether the control shows live signals whose names the host must collect.
    virtual bool NeedSendToExtracter() const { return false; }
    virtual void FillVectMonSignals(std::vector<CONTROL_MON_SIGNAL>& signals);
    // Signal name -> value text, as the host last read them.
    virtual void CorrectValueFromBlock(MON_VALUES* values);
    // Old signal name -> new name.
    virtual void RenameProjectSignals(MON_VALUES& renames);

    bool IsInside(ArmDataInterface* host, const Gdiplus::PointF& point, float scale);

    // The font dialog's form of a control font. The size is the character height itself (the
    // scheme texts keep eighths instead; the two are not interchangeable).
    static void SetLogFontFromArmFont(const Arm_Font& font, LOGFONTW& lf);
    static void SetArmFontFromLogFont(const LOGFONTW& lf, Arm_Font& font);

    int m_nX = 1;
    int m_nY = 1;
};

// A mimic screen: controls by GUID text. A plain copy shares the controls; MakeClone copies them.
class MAP_POINTER_TEXT_ELEMENTS : public std::map<CString, SmartPointer<CONTROL_MON_ELEM>> {
public:
    // Every control in key order, later ones over earlier ones, none pressed.
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, Gdiplus::Size offset);
    // The GUID text of the control under the point; pictures only where nothing else lies.
    CString GetMonHitElement(ArmDataInterface* host, const Gdiplus::PointF& point, float scale);
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale);
    bool RefreshByTimer(ArmDataInterface* host);
    void CorrectSigValues(MON_VALUES* values);
    void FillSetMonSignals(std::set<CONTROL_MON_SIGNAL>& signals);
    CString GetLineStartEndPointsHitTest(const Gdiplus::PointF& point, float scale, bool& start);
    CString GetRectCornerHitTest(const Gdiplus::PointF& point, float scale, ERectElemCornerHitTest& corner);
    void ChangeGuids();
    void MakeClone(const MAP_POINTER_TEXT_ELEMENTS& source);
};

// The copy and paste buffer of mimic controls: a text the host sets and the controls, shared.
class SELECTED_COMPONENT_BUFFER {
public:
    void Clear() {
        m_sText.Empty();
        m_mapElements.clear();
    }
    bool IsItEmpty() const { return m_sText.IsEmpty() || m_mapElements.empty(); }

    CString m_sText;
    MAP_POINTER_TEXT_ELEMENTS m_mapElements;
};

// Undo and redo of the host's screen editor; the host names and implements its operation.
class UndoRedoInterface {
public:
    virtual ~UndoRedoInterface() = default;
    virtual void SaveUndoState() = 0;
};
