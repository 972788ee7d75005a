#pragma once
// One placed use of a library function on a logic scheme. It keeps only what is particular to
// this use (which function, position, links, inversions and the values given to the function's
// properties) and looks up everything else in the host's function library at every use.
#include <map>
#include <set>
#include <vector>

#include "halvex/scheme/SchemeBaseElement.h"

class FuncPropsBase;
class SCHEME_FUNC;
struct TYPE_MATCHER;

class SCHEME_FUNC_ELEMENT : public SCHEME_BASE_ELEMENT {
public:
    SCHEME_FUNC_ELEMENT() = default;
    explicit SCHEME_FUNC_ELEMENT(const SCHEME_FUNC* func);
    SCHEME_FUNC_ELEMENT(const SCHEME_FUNC_ELEMENT&) = default;
    SCHEME_FUNC_ELEMENT& operator=(const SCHEME_FUNC_ELEMENT&) = default;
    ~SCHEME_FUNC_ELEMENT() override = default;

    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset) const override;
    ESchemeElementType GetSchemeElementType() const override { return eSchElemFunc; }
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const override;
    void GetVectPortIn(ArmDataInterface* host, std::vector<Sch_PortIn>& out) const override;
    void GetVectPortOut(ArmDataInterface* host, std::vector<Sch_PortOut>& out) const override;
    SCHEME_BASE_ELEMENT* Clone() const override;
    CString GetPortInTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port) const override;
    CString GetPortOutTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port) const override;
    // A port whose type the definition fixes answers that type; an auto-detected port answers
    // the first type found at any auto-detected port of the element, inputs first.
    CString GetPortInTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                            std::set<CString> blackList) const override;
    CString GetPortOutTypeMatchWithBlackList(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                             std::set<CString> blackList) const override;
    bool IsAutoDetectPortInTypeMatch(ArmDataInterface* host, int port) const override;
    bool IsAutoDetectPortOutTypeMatch(ArmDataInterface* host, int port) const override;
    void FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface* host) const override;
    bool IsAllowInvertPort(ArmDataInterface* host, int port, bool isInput) const override;
    CString GetSchemeEditShortName() const override { return L" "; }

    // The definition in the host's library; null when the host has none of that kind and name.
    SCHEME_FUNC* GetSchemeFunc(ArmDataInterface* host) const;
    // The stored value, else the property's default, else empty.
    CString GetFuncPropValue(ArmDataInterface* host, const CString& key) const;
    CString GetFuncPropValue(const CString& key, const CString& fallback) const;
    // The value as the compiler files get it.
    CString GetCompilerFuncPropValue(ArmDataInterface* host, const CString& key) const;
    // Whether the property at `index` is switched off by the properties that govern it; only
    // properties in `governed` (when given) can be. A property met again along a chain of
    // governing properties counts as enabled, so a cycle ends.
    bool IsPropertyDisabled(ArmDataInterface* host, int index, std::set<CString>* governed) const;
    // True also when the function or the property is missing.
    bool IsPropertyDisabled(ArmDataInterface* host, const CString& key) const;
    // The value a property takes into a block; false with the message in `error` when a name
    // for the block is missing.
    bool GetFuncPropValueExportToBlock(ArmDataInterface* host, const CString& key, CString& value, CString& error,
                                       FuncPropsBase* property) const;
    // Replaces the stored values by those exported; `used` collects the block names taken. On
    // failure the element and `used` are left as they were.
    bool SetFuncPropValuesExportToBlock(ArmDataInterface* host, std::set<CString>& used, CString& error);
    bool IsFeedbackFunction(ArmDataInterface* host) const;
    // For a feedback function: the words that hold the value at its input 0, plus one.
    int GetFuncInitSize(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements) const;
    // The host's data type at a feedback function's input 0; null when there is none.
    TYPE_MATCHER* GetFeedbackTypeMatcher(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements) const;

    EFuncSchemeType m_eFuncSchemeType = eFuncSchemeNone;
    CString m_sName;  // the function's name in the library
    std::map<CString, CString> m_mapPropValues;  // a key without an entry takes the default

protected:
    CString GetAutoDetectPortInTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                         std::set<CString> blackList) const;
    CString GetAutoDetectPortOutTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port,
                                          std::set<CString> blackList) const;
    bool IsLargePinHitTarget(ArmDataInterface* host) const override;

private:
    CString AutoDetectedType(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements,
                             std::set<CString> blackList) const;
    bool IsPropertyDisabledGuarded(ArmDataInterface* host, const SCHEME_FUNC& func, int index,
                                   std::set<CString>* governed, std::set<CString>& visiting) const;
};
