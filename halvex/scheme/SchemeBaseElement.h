#pragma once
// What every element placed on a logic scheme is: an identity, a position and two numbered rows
// of ports whose links to buses the element records itself, with the inversions and computed
// texts of its ports; and the map of a scheme's elements keyed by GUID text.
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "halvex/scheme/SchPorts.h"
#include "halvex/scheme/SchemeGuidElement.h"
#include "halvex/scheme/SmartPointer.h"
#include "platform/CString.h"

class ArmDataInterface;
struct OUT_INFO_TEXT;
class SCHEME_BASE_ELEMENT;
enum ERectElemCornerHitTest : int;

// The kind of a placed scheme element.
enum ESchemeElementType : int32_t {
    eSchElemFunc = 1,
    eSchElemInput = 2,
    eSchElemOutput = 3,
    eSchElemBlock = 4,
    eSchElemText = 5,
    eSchElemLine = 7,
    eSchElemRect = 8,
    eSchElemDynText = 9,
};

// One end of a link as the other end records it: the far element, the bus that carries the
// link, and the far element's port.
struct GuidAndPort {
    GuidAndPort() : m_guidElem(CompileIncludeSpace::CreateNilGuid()), m_guidBus(CompileIncludeSpace::CreateNilGuid()) {}

    GUID m_guidElem;
    GUID m_guidBus;
    int32_t m_nPort = 0;
};

// The elements of one scheme by GUID text, iterated in ascending key order. Copies share the
// elements.
class MAP_SCHEME_POINTER_ELEMENT : public std::map<CString, SmartPointer<SCHEME_BASE_ELEMENT>> {
public:
    // Every element in key order; entries without an element are passed over.
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset) const;
    // The union of the elements' rectangles, empty ones included; (0, 0, 0, 0) with no element.
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const;
    // The key of the first element in key order that contains `point`; empty when none does.
    CString GetHitElement(ArmDataInterface* host, Gdiplus::PointF& point, float scale) const;
    // The element under `key`; null when the key is absent or holds no element.
    SCHEME_BASE_ELEMENT* Find(const CString& key) const;
    // The editor's hit tests: the key of the first element in key order that is hit, empty
    // when none is. A pin (only a free one among inputs when `onlyFreeInputs`):
    CString GetNumPinHitTest(ArmDataInterface* host, Gdiplus::PointF& point, int& inPort, int& outPort,
                             bool onlyFreeInputs) const;
    // A pin's line, where an inversion mark goes:
    CString GetNumInversionHitTest(ArmDataInterface* host, Gdiplus::PointF& point, int& inPort, int& outPort) const;
    // An end of a line element:
    CString GetLineStartEndPointsHitTest(Gdiplus::PointF& point, float scale, bool& start) const;
    // A corner of a rectangle element:
    CString GetRectCornerHitTest(Gdiplus::PointF& point, float scale, ERectElemCornerHitTest& corner) const;
};

class SCHEME_BASE_ELEMENT : public SCHEME_GUID_ELEMENT {
public:
    SCHEME_BASE_ELEMENT() = default;
    SCHEME_BASE_ELEMENT(const SCHEME_BASE_ELEMENT&) = default;
    SCHEME_BASE_ELEMENT& operator=(const SCHEME_BASE_ELEMENT&) = default;
    ~SCHEME_BASE_ELEMENT() override = default;

    virtual void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset) const = 0;
    virtual ESchemeElementType GetSchemeElementType() const = 0;
    // In scheme coordinates.
    virtual Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const = 0;
    // A region covering GetBoundedRectF; the caller deletes it.
    virtual Gdiplus::Region* CreateBoundedRegion(ArmDataInterface* host, float scale) const;
    // The pins in element coordinates; the position in the vector is the port number.
    virtual void GetVectPortIn(ArmDataInterface* host, std::vector<Sch_PortIn>& out) const = 0;
    virtual void GetVectPortOut(ArmDataInterface* host, std::vector<Sch_PortOut>& out) const = 0;
    // A copy with the same identity, owned by the caller; null when memory runs out.
    virtual SCHEME_BASE_ELEMENT* Clone() const = 0;
    // The data type name seen at a port; `elements` is the map of the scheme holding this
    // element. Empty when no type is known.
    virtual CString GetPortInTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port) const;
    virtual CString GetPortOutTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port) const;
    // The same, passing over the elements whose GUID texts `blackList` holds.
    virtual CString GetPortInTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                    int port, std::set<CString> blackList) const;
    virtual CString GetPortOutTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                                                     int port, std::set<CString> blackList) const;
    // Whether a port takes its data type from what it is connected to.
    virtual bool IsAutoDetectPortInTypeMatch(ArmDataInterface* host, int port) const;
    virtual bool IsAutoDetectPortOutTypeMatch(ArmDataInterface* host, int port) const;
    virtual void FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface* host) const;
    virtual bool IsAllowInvertPort(ArmDataInterface* host, int port, bool isInput) const;
    // Lines and rectangles are hit by their own outline region rather than their rectangle.
    virtual bool IsUseGerionInsteadRectForHitTest() const { return false; }
    virtual CString GetSchemeEditShortName() const = 0;

    // The far element of the link at input `port`; the nil GUID when there is none.
    GUID GetPortInGuid(int port) const;
    bool IsPortInBusy(int port) const;
    // A bus may start only from a free input, and from any output.
    bool CanStartBusFromPortIn(int port) const { return !IsPortInBusy(port); }
    // An output with an entry is busy, even with no link left in it.
    bool IsPortOutBusy(int port) const { return m_mapOutLinks.count(port) != 0; }
    bool CanStartBusFromPortOut(int) const { return true; }
    // An inversion stored on a port that may not be inverted does not count.
    bool IsPortInInverted(ArmDataInterface* host, int port) const;
    bool IsPortOutInverted(ArmDataInterface* host, int port) const;
    // The pin whose end is at `point` (scheme coordinates); inputs before outputs. The port
    // found is set, the other left -1.
    bool GetPinHitTest(ArmDataInterface* host, Gdiplus::PointF& point, int& inPort, int& outPort) const;
    // The pin whose line (widened by half a unit) holds `point`, whether or not it may be inverted.
    bool GetInversionHitTest(ArmDataInterface* host, Gdiplus::PointF& point, int& inPort, int& outPort) const;

    std::map<int, GuidAndPort> m_mapInLinks;                // at most one link per input port
    std::map<int, std::vector<GuidAndPort>> m_mapOutLinks;  // any number per output port
    std::map<int, CString> m_mapPortTexts;                  // computed texts per port
    std::set<int> m_setInvertedIn;
    std::set<int> m_setInvertedOut;
    int32_t m_nX = 0;  // origin in scheme units; pins and pictures are relative to it
    int32_t m_nY = 0;

protected:
    // Port decorations, drawn in element coordinates (the caller has moved the world to the
    // element's position).
    void DrawCrossesOnFreePorts(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type) const;
    void DrawSquaresOnFreePorts(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type) const;
    void DrawSquaresOnBusyPorts(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type) const;
    void DrawInversionsOnPorts(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type) const;
    // Whether pins are hit within a 6 x 6 square around their ends rather than a 1 x 1 one.
    virtual bool IsLargePinHitTarget(ArmDataInterface*) const { return false; }
};

// Moves a rectangle of element coordinates to the element's position, unless it is empty.
Gdiplus::RectF SchPlaceElementRect(const Gdiplus::RectF& r, int x, int y);
