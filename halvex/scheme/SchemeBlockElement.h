#pragma once
// A user block placed in a logic scheme: a reference by scheme kind and block name to a block
// whose drawing, pins and port data types the host supplies.
#include <cstdint>
#include <map>

#include "halvex/scheme/BlockScheme.h"

class SCHEME_BLOCK_ELEMENT : public SCHEME_BASE_ELEMENT {
public:
    explicit SCHEME_BLOCK_ELEMENT(ESchemeEditType kind);
    SCHEME_BLOCK_ELEMENT(ESchemeEditType kind, const CString& blockName);
    SCHEME_BLOCK_ELEMENT(const SCHEME_BLOCK_ELEMENT&) = default;
    SCHEME_BLOCK_ELEMENT& operator=(const SCHEME_BLOCK_ELEMENT&) = default;
    ~SCHEME_BLOCK_ELEMENT() override = default;

    void Draw(ArmDataInterface* host, Gdiplus::Graphics& g, EDrawType type, Gdiplus::Size offset) const override;
    ESchemeElementType GetSchemeElementType() const override { return eSchElemBlock; }
    // The block's box as the screen measures it (whatever `scale`), at the element's position.
    Gdiplus::RectF GetBoundedRectF(ArmDataInterface* host, float scale) const override;
    void GetVectPortIn(ArmDataInterface* host, std::vector<Sch_PortIn>& out) const override;
    void GetVectPortOut(ArmDataInterface* host, std::vector<Sch_PortOut>& out) const override;
    SCHEME_BASE_ELEMENT* Clone() const override;
    // The type the block declares at the port; a type walk ends here.
    CString GetPortInTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port) const override;
    CString GetPortOutTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT* elements, int port) const override;
    void FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface* host) const override;
    bool IsAllowInvertPort(ArmDataInterface* host, int port, bool isInput) const override;
    CString GetSchemeEditShortName() const override { return L" "; }

    // The block from the host; null when its file is missing or unreadable.
    BLOCK_SCHEME* GetBlockScheme(ArmDataInterface* host) const;
    CString GetOrigPortInTypeMatch(ArmDataInterface* host, int port) const;
    CString GetOrigPortOutTypeMatch(ArmDataInterface* host, int port) const;

    ESchemeEditType m_eSchemeEditType;
    CString m_sBlockName;  // the block file's name without its extension
    GUID m_guidBlock;      // kept and copied; nil at construction
    std::map<CString, CString> m_mapPropValues;  // values of the block's exported properties
};

struct OBJ_COMPILE_OFFSET {
    int32_t m_nValue = 0;
    CString m_sText;
    uint32_t m_nWords[4] = {0, 0, 0, 0};
};
