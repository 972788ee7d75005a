#pragma once
// One logic scheme as a graph: its placed elements and the buses between their ports. Every
// connection is known twice, by the bus (its two ends) and by each end element (its link
// tables); the editing operations keep both views in step, and removals leave no link naming
// an element or a bus that is gone.
#include <cstdint>
#include <map>
#include <vector>

#include "halvex/config/ArmDataInterface.h"
#include "halvex/scheme/SchemeBaseElement.h"
#include "halvex/scheme/SchemeBus.h"

// Names one scheme record of the host: kind -1 names none.
struct INFO_SCHEME {
    int32_t m_nSchemeKind = -1;
    int32_t m_nSchemeIndex = -1;
};

class ARM_SCHEME {
public:
    ARM_SCHEME() = default;
    // Copies share the element and bus objects.
    ARM_SCHEME(const ARM_SCHEME&) = default;
    ARM_SCHEME& operator=(const ARM_SCHEME&) = default;

    // A deep copy of `src` with the same GUIDs: own element and bus objects, own segments.
    // `m_nExtra` is not taken. A copy that is to live beside its source then gets ChangeGuids.
    void MakeClone(const ARM_SCHEME& src);
    // Empties both maps; the name and the extra fields stay.
    void Clear();

    // Records `bus` from output `portOut` of `elemOut` to input `portIn` of `elemIn`. False when
    // the bus is unknown or already carries a link (it is left as it is), or when an element is
    // unknown, a port is negative, the input already has a link, or, given the `host` that
    // knows the elements' pins, a port lies past the element's inputs or outputs. A refusal
    // changes nothing: the bus stays in the map as it was, for the caller to keep or drop (an
    // editor drawing a loose line holds it by a plain pointer while the map owns it).
    bool ConnectElements(const GUID& elemIn, int portIn, const GUID& elemOut, int portOut, const GUID& bus,
                         ArmDataInterface* host = nullptr);
    // Attaches `elem` at `port` to the loose end of `bus` on a mimic screen, as an input end
    // (`asInput`) or an output end.
    bool ConnectMnemoElements(const GUID& elem, int port, const GUID& bus, bool asInput);
    // Removes the element with every bus on it, leaving no link naming it, even where one of
    // its links named a bus already gone. True when the element was there and went.
    bool RemoveElement(const GUID& elem);
    // Empties the element map. False when some element's link named a bus already gone (the
    // scheme is emptied and left consistent all the same).
    bool RemoveAllElements();
    // Removes every bus on `elem` and the far ends' records of them. False when `elem` is
    // unknown, or when one of its links named a bus no longer in the map (every other bus and
    // link is still removed).
    bool RemoveAllBusesOnElement(const GUID& elem, bool& removedAny);
    bool RemoveBus(const GUID& bus);
    bool RemoveMnemoBus(const GUID& bus);
    // New GUIDs for every element and bus, with every link, bus end and key following them.
    void ChangeGuids();
    // Unlinks every scheme input and output from what it was linked to by name.
    void ResetInOutConnections();
    // Empties the computed port texts of every element.
    void ClearCalcFormulas();
    // Sets the compile order of every scheme output to 0.
    void ClearOutputComplileOrder();

    // The first bus segment at `p` (rounded to the grid), the rounded point, and the part of
    // it a drag there moves.
    bool IsNearBus(Gdiplus::PointF p, Gdiplus::Point& nearPoint, ST_SEGM& part) const;
    // Where buses leaving one output part from each other; a point may come more than once.
    void GetForkPoints(std::vector<Gdiplus::Point>& out) const;
    void DrawForkPoints(Gdiplus::Graphics& g, EDrawType kind, const std::vector<Gdiplus::Point>& points) const;
    // Elements, then buses over them; fork marks are drawn apart.
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, Gdiplus::Size offset) const;
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const;

    // The configuration objects that the function elements choose by name, with their object
    // types, for a block to offer as its own properties; a name chosen twice goes to `errors`.
    // Always answers false: callers read `props` and `errors`.
    bool CollectBlockElemProps(ArmDataInterface* host, std::map<CString, EArmObjectType>& props,
                               std::vector<CString>& errors) const;
    // Fixes the values every function element takes into a block; false at the first element
    // that cannot, with its message.
    bool SetAllFuncPropValuesExportToBlock(ArmDataInterface* host, CString& error);

    CString m_sName;  // a user block shows it as its header
    MAP_SCHEME_POINTER_ELEMENT m_mapElements;
    MAP_SCHEME_POINTER_BUS m_mapBuses;
    int32_t m_nExtra = 0;   // kept for the host
    bool m_bExtra = false;  // kept for the host

protected:
    // The part of segment `segment` of `bus` that a drag at `p` moves, and the buses sharing it.
    void FillStSegm(const SCHEME_BUS* bus, int segment, Gdiplus::PointF p, ST_SEGM& part) const;

private:
    SCHEME_BUS* FindBus(const GUID& bus) const;
    SCHEME_BASE_ELEMENT* FindElement(const GUID& elem) const;
    bool RemoveElementLinks(const GUID& elem, bool& removedAny);
    bool RemoveElementAndLinks(GUID elem, bool forget);
    // Drops every link that names `elem` or `bus` (nil: none) from the elements, and loosens
    // the bus ends naming `elem`.
    void ForgetReferences(const GUID* elem, const GUID* bus);
};

// The element map of the host's scheme `index` of `kind`; null when the host has no such
// scheme (a kind or index out of range, or an empty record), so a stale place never reads
// past the host's list.
inline MAP_SCHEME_POINTER_ELEMENT* SchFindSchemeElements(ArmDataInterface* host, int kind, int index) {
    if (!host || kind < 0 || kind > eSchemeEditFurther || index < 0) return nullptr;
    std::vector<ARM_SCHEME*>& records = host->GetSchemeRecords(ESchemeEditType(kind));
    if (size_t(index) >= records.size() || !records[size_t(index)]) return nullptr;
    return &records[size_t(index)]->m_mapElements;
}
