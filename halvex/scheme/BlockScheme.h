#pragma once
// A user block: a scheme of one kind packed into a box and placed as one element in other
// schemes. Its inputs and outputs are the scheme inputs and outputs inside it, listed top to
// bottom with the data types they carry; its box is laid out from the host's template.
#include <vector>

#include "halvex/scheme/ArmScheme.h"
#include "halvex/scheme/BlockBox.h"

class BLOCK_SCHEME {
public:
    BLOCK_SCHEME();
    // Shares the element and bus objects of `scheme`.
    BLOCK_SCHEME(ESchemeEditType kind, const ARM_SCHEME& scheme);
    BLOCK_SCHEME(const BLOCK_SCHEME&) = default;
    BLOCK_SCHEME& operator=(const BLOCK_SCHEME&) = default;
    virtual ~BLOCK_SCHEME() = default;

    // Lists the block's inputs and outputs from the top down with their data types; false with
    // the first problem in `error` (a name used twice, a port whose type cannot be told).
    bool CalcInputsOutputs(ArmDataInterface* host, CString& error);
    // Lays out the box for the lists CalcInputsOutputs made, measuring as the screen does.
    void CalcSchemeDraw(ArmDataInterface* host);
    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type);
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, Gdiplus::Graphics& g);
    // Whether a data type at the block's ports needs the transformation-ratio initialisation.
    bool IsRequireInitCftBlock(ArmDataInterface* host) const;
    int GetInputsCount() const { return int(m_vecInputs.size()); }
    int GetOutputsCount() const { return int(m_vecOutputs.size()); }

    CString m_sText1;  // the host's
    CString m_sText2;  // the host's
    ESchemeEditType m_eSchemeKind;
    ARM_SCHEME m_scheme;  // its name is the box's header
    Scheme_Draw m_draw;
    GUID m_guid;
    std::vector<CString> m_vecInputs;
    std::vector<CString> m_vecOutputs;
    std::vector<CString> m_vecInputTypes;
    std::vector<CString> m_vecOutputTypes;

protected:
    void CalcSchemeDraw(ArmDataInterface* host, Gdiplus::Graphics& g);
};
