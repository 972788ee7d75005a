#include "halvex/scheme/SchemeBlockElement.h"

#include "halvex/config/ArmObject.h"
#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/SchemeFunc.h"

using namespace Gdiplus;

namespace {

CString TypeAt(const std::vector<CString>& types, int port) {
    return port >= 0 && size_t(port) < types.size() ? types[size_t(port)] : CString();
}

}  // namespace

SCHEME_BLOCK_ELEMENT::SCHEME_BLOCK_ELEMENT(ESchemeEditType kind) : SCHEME_BLOCK_ELEMENT(kind, CString()) {}

SCHEME_BLOCK_ELEMENT::SCHEME_BLOCK_ELEMENT(ESchemeEditType kind, const CString& blockName)
    : m_eSchemeEditType(kind), m_sBlockName(blockName), m_guidBlock(CompileIncludeSpace::CreateNilGuid()) {}

BLOCK_SCHEME* SCHEME_BLOCK_ELEMENT::GetBlockScheme(ArmDataInterface* host) const {
    return host ? host->GetBlockScheme(m_eSchemeEditType, m_sBlockName) : nullptr;
}

void SCHEME_BLOCK_ELEMENT::Draw(ArmDataInterface* host, Graphics& g, EDrawType type, Size offset) const {
    const GraphicsState state = g.Save();
    g.TranslateTransform(float(m_nX + offset.Width), float(m_nY + offset.Height));
    if (BLOCK_SCHEME* block = GetBlockScheme(host)) {
        block->Draw(host, g, type);
    } else if (Scheme_Draw* fallback = host ? host->GetDefaultFuncSchemeDraw() : nullptr) {
        fallback->Draw(g, type, const_cast<wchar_t*>(m_sBlockName.GetString()), nullptr);
    }
    DrawCrossesOnFreePorts(host, g, type);
    DrawInversionsOnPorts(host, g, type);
    g.Restore(state);
}

RectF SCHEME_BLOCK_ELEMENT::GetBoundedRectF(ArmDataInterface* host, float scale) const {
    RectF r(0, 0, 0, 0);
    if (BLOCK_SCHEME* block = GetBlockScheme(host)) {
        Bitmap screen(1, 1);
        Graphics g(&screen);
        r = block->GetBoundedRectF(host, g);
    } else if (Scheme_Draw* fallback = host ? host->GetDefaultFuncSchemeDraw() : nullptr) {
        r = fallback->GetBoundedRectF(scale);
    }
    return SchPlaceElementRect(r, m_nX, m_nY);
}

void SCHEME_BLOCK_ELEMENT::GetVectPortIn(ArmDataInterface* host, std::vector<Sch_PortIn>& out) const {
    out.clear();
    if (BLOCK_SCHEME* block = GetBlockScheme(host)) out = block->m_draw.m_vPortIn;
}

void SCHEME_BLOCK_ELEMENT::GetVectPortOut(ArmDataInterface* host, std::vector<Sch_PortOut>& out) const {
    out.clear();
    if (BLOCK_SCHEME* block = GetBlockScheme(host)) out = block->m_draw.m_vPortOut;
}

SCHEME_BASE_ELEMENT* SCHEME_BLOCK_ELEMENT::Clone() const { return new SCHEME_BLOCK_ELEMENT(*this); }

CString SCHEME_BLOCK_ELEMENT::GetOrigPortInTypeMatch(ArmDataInterface* host, int port) const {
    BLOCK_SCHEME* block = GetBlockScheme(host);
    return block ? TypeAt(block->m_vecInputTypes, port) : CString();
}

CString SCHEME_BLOCK_ELEMENT::GetOrigPortOutTypeMatch(ArmDataInterface* host, int port) const {
    BLOCK_SCHEME* block = GetBlockScheme(host);
    return block ? TypeAt(block->m_vecOutputTypes, port) : CString();
}

CString SCHEME_BLOCK_ELEMENT::GetPortInTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT*, int port) const {
    return GetOrigPortInTypeMatch(host, port);
}

CString SCHEME_BLOCK_ELEMENT::GetPortOutTypeMatch(ArmDataInterface* host, MAP_SCHEME_POINTER_ELEMENT*, int port) const {
    return GetOrigPortOutTypeMatch(host, port);
}

bool SCHEME_BLOCK_ELEMENT::IsAllowInvertPort(ArmDataInterface* host, int port, bool isInput) const {
    const CString type = isInput ? GetOrigPortInTypeMatch(host, port) : GetOrigPortOutTypeMatch(host, port);
    if (type.IsEmpty()) return false;
    std::map<CString, TYPE_MATCHER>* types = host->GetTypeMatchers();
    if (!types) return false;
    auto it = types->find(type);
    return it != types->end() && it->second.m_bInvertible;
}

void SCHEME_BLOCK_ELEMENT::FillOutInfoText(OUT_INFO_TEXT& info, ArmDataInterface* host) const {
    info.Clear();
    info.m_sType = HalvexLoadString(7186);
    BLOCK_SCHEME* block = GetBlockScheme(host);
    if (!block) {
        CString line;
        line.Format(HalvexLoadString(7190).GetString(), m_sBlockName.GetString());
        info.m_arrLines.push_back(line);
        return;
    }
    info.m_sName = block->m_scheme.m_sName;
    CString& s = info.m_sInfo;
    s += L"\n";
    s += HalvexLoadString(7187);
    s.AppendFormat(L": %s\n", m_sBlockName.GetString());
    s += L"\n";
    s += HalvexLoadString(7166);
    s.AppendFormat(L": %d\n", int(block->m_vecInputs.size()));
    for (size_t i = 0; i < block->m_vecInputs.size(); ++i) {
        s += L"\n";
        s += HalvexLoadString(7167);
        s.AppendFormat(L" %d:\n", int(i + 1));
        s += HalvexLoadString(7188);
        s.AppendFormat(L": %s\n", block->m_vecInputs[i].GetString());
        const CString type = TypeAt(block->m_vecInputTypes, int(i));
        if (!type.IsEmpty()) s += HalvexLoadString(7168) + L": " + type + L"\n";
    }
    s += L"\n\n";
    s += HalvexLoadString(7169);
    s.AppendFormat(L": %d\n", int(block->m_vecOutputs.size()));
    for (size_t i = 0; i < block->m_vecOutputs.size(); ++i) {
        s += L"\n";
        s += HalvexLoadString(7170);
        s.AppendFormat(L" %d:\n", int(i + 1));
        s += HalvexLoadString(7189);
        s.AppendFormat(L": %s\n", block->m_vecOutputs[i].GetString());
        const CString type = TypeAt(block->m_vecOutputTypes, int(i));
        if (!type.IsEmpty()) s += HalvexLoadString(7171) + L": " + type + L"\n";
    }
}
