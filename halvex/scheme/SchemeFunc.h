#pragma once
// The function library of logic schemes as the host keeps it: function definitions with their
// arguments, drawings and properties, function groups, and data types with the size expressions
// that state how much memory a function or a type needs.
#include <set>
#include <vector>

#include "halvex/helpers/CompileIncludeSpace.h"
#include "halvex/scheme/FuncProps.h"
#include "halvex/scheme/SchemeDraw.h"
#include "halvex/scheme/SmartPointer.h"

class ArmDataInterface;

// The caption string of a function kind (0 when the kind has none).
unsigned GetFuncSchemeTypeCaptionId(EFuncSchemeType kind);

// The value of a size expression: terms (numbers or "$NAME" constants of the host) joined by
// "*+-/", worked strictly left to right; '/' rounds up and a division by 0 changes nothing.
// Computed in 64 bits and held to the int range, so no expression overflows or traps.
int SchSizeExpression(ArmDataInterface* host, const CString& expression);
// The value of one term of a size expression.
int SchSizeTerm(ArmDataInterface* host, const CString& term);

struct FUNC_ARGUMENT {
    CString m_sName;
    CString m_sRepresentation;
    CString m_sTypeName;   // key into the host's data types
    CString m_sCftFormula;  // the transformation-ratio formula
    bool m_bAutoType = false;  // the port takes its data type from what it is connected to
    bool m_bFlag2 = false;

    CString GetInfoString(ArmDataInterface* host) const;
};

struct TYPE_MATCHER {
    CString m_sType;  // the data type's own text (a diagnostic parameter's type)
    CString m_sDescription;
    bool m_bInvertible = false;  // a port of this type may carry an inversion circle
    CString m_sSize;             // size expression
    CString m_sCompiler;         // how the type is written to the compiler files
    CString m_sText2;
    int32_t m_nValue = 0;
    bool m_bRequireCft = false;  // needs the transformation-ratio initialisation

    int GetSize(ArmDataInterface* host) const { return SchSizeExpression(host, m_sSize); }
    static int GetPrimSize(ArmDataInterface* host, const CString& term) { return SchSizeTerm(host, term); }
};

class SCHEME_FUNC {
public:
    virtual ~SCHEME_FUNC() = default;

    bool IsInlined() const { return !m_sInline.IsEmpty(); }
    bool ContainHiddenSign(const CString& sign) const { return m_setHiddenSigns.count(sign) != 0; }
    bool IsFeedback() const { return ContainHiddenSign(L"FeedbackFunction"); }
    bool IsRequireInitCftFunc(ArmDataInterface* host) const;
    int GetInitSize(ArmDataInterface* host) const { return SchSizeExpression(host, m_sInitSize); }
    // Paints the function's picture at the origin; `values` are the placed element's (may be null).
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType kind, SCH_VALUES* values);
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale);
    // The names of properties whose enabled state another property governs.
    void CollectPropsDependsDisabled(std::set<CString>& out) const;

    CString m_sName;
    CString m_sTitle;
    CString m_sCaption;  // drawn into the function's pictures
    CString m_sText1;
    std::vector<CString> m_vDrawNames;  // the host's drawings, drawn in this order
    Scheme_Draw m_draw;                 // drawn after them
    EFuncSchemeType m_eType = EFuncSchemeType(0);
    std::vector<FUNC_ARGUMENT> m_vInputs;
    std::vector<FUNC_ARGUMENT> m_vOutputs;
    std::vector<FUNC_ARGUMENT> m_vHiddenInputs;
    std::vector<FUNC_ARGUMENT> m_vHiddenInitInputs;
    CString m_sInline;
    std::vector<SmartPointer<FuncPropsBase>> m_vProps;
    std::vector<CString> m_vHiddenPropNames;
    std::set<CString> m_setHiddenSigns;  // "FeedbackFunction", "AnalogInput", ...
    bool m_bInit = false;
    CString m_sInitSize;  // size expression of the initialisation memory
    CString m_sText2;
    bool m_bNoInversion = false;

protected:
    static int GetPrimInitSize(ArmDataInterface* host, const CString& term) { return SchSizeTerm(host, term); }
};

struct GROUP_SCHEME_FUNCS {
    CString m_sName;
    std::vector<CString> m_vFuncs;
};
