#include "halvex/scheme/BlockScheme.h"

#include <set>
#include <utility>

#include "halvex/helpers/HalvexResources.h"
#include "halvex/scheme/SchemeFunc.h"
#include "halvex/scheme/SchemeInOut.h"

using namespace Gdiplus;

namespace {

// The inputs or outputs of a scheme from the top down; elements at one height keep their key
// order.
std::vector<SCHEME_INOUT*> InOutsTopDown(ArmDataInterface* host, const ARM_SCHEME& scheme, ESchemeElementType type) {
    std::vector<std::pair<float, SCHEME_INOUT*>> list;
    for (const auto& [key, element] : scheme.m_mapElements) {
        if (!element || element->GetSchemeElementType() != type) continue;
        if (auto* inout = dynamic_cast<SCHEME_INOUT*>(element.get()))
            list.emplace_back(inout->GetBoundedRectF(host, 1.0f).Y, inout);
    }
    for (size_t n = list.size(); n > 1; --n)
        for (size_t j = 0; j + 1 < n; ++j)
            if (list[j].first > list[j + 1].first) std::swap(list[j], list[j + 1]);
    std::vector<SCHEME_INOUT*> out;
    for (const auto& item : list) out.push_back(item.second);
    return out;
}

}  // namespace

BLOCK_SCHEME::BLOCK_SCHEME() : m_eSchemeKind(ESchemeEditType(-1)) { UuidCreate(&m_guid); }

BLOCK_SCHEME::BLOCK_SCHEME(ESchemeEditType kind, const ARM_SCHEME& scheme) : m_eSchemeKind(kind), m_scheme(scheme) {
    UuidCreate(&m_guid);
}

bool BLOCK_SCHEME::CalcInputsOutputs(ArmDataInterface* host, CString& error) {
    error.Empty();
    const std::vector<SCHEME_INOUT*> inputs = InOutsTopDown(host, m_scheme, eSchElemInput);
    const std::vector<SCHEME_INOUT*> outputs = InOutsTopDown(host, m_scheme, eSchElemOutput);
    m_vecInputs.clear();
    m_vecOutputs.clear();
    m_vecInputTypes.clear();
    m_vecOutputTypes.clear();
    std::set<CString> used;

    auto take = [&](const std::vector<SCHEME_INOUT*>& list, unsigned what, unsigned noType, unsigned hint,
                    std::vector<CString>& names, std::vector<CString>& types) {
        for (SCHEME_INOUT* e : list) {
            const CString name = e->m_sName;
            if (!used.insert(name).second) {
                error = HalvexLoadString(what) + L" \"" + name + L"\": " + HalvexLoadString(7351);
                return false;
            }
            names.push_back(name);
            const CString type = e->GetPortInsideTypeMatch(host, &m_scheme.m_mapElements);
            if (type.IsEmpty()) {
                error.Format(HalvexLoadString(noType).GetString(), name.GetString());
                error += HalvexLoadString(hint);
                return false;
            }
            types.push_back(type);
        }
        return true;
    };
    return take(inputs, 7167, 7352, 7353, m_vecInputs, m_vecInputTypes) &&
           take(outputs, 7170, 7354, 7355, m_vecOutputs, m_vecOutputTypes);
}

void BLOCK_SCHEME::CalcSchemeDraw(ArmDataInterface* host, Graphics& g) {
    const Scheme_Draw* tmpl = host ? host->GetBlockDrawTemplate() : nullptr;
    SchLayoutBlockBox(g, tmpl ? *tmpl : Scheme_Draw(), m_scheme.m_sName, m_vecInputs, m_vecOutputs, m_draw);
}

void BLOCK_SCHEME::CalcSchemeDraw(ArmDataInterface* host) {
    Bitmap screen(1, 1);
    Graphics g(&screen);
    g.SetPageUnit(UnitPixel);
    CalcSchemeDraw(host, g);
}

void BLOCK_SCHEME::Draw(ArmDataInterface*, Graphics& g, EDrawType type) {
    if (m_draw.IsEmpty()) return;
    m_draw.Draw(g, type, nullptr, nullptr);
}

RectF BLOCK_SCHEME::GetBoundedRectF(ArmDataInterface*, Graphics& g) { return m_draw.GetBoundedRectF(g.GetPageScale()); }

bool BLOCK_SCHEME::IsRequireInitCftBlock(ArmDataInterface* host) const {
    std::map<CString, TYPE_MATCHER>* types = host ? host->GetTypeMatchers() : nullptr;
    if (!types) return false;
    for (const std::vector<CString>* list : {&m_vecInputTypes, &m_vecOutputTypes})
        for (const CString& name : *list) {
            auto it = types->find(name);
            if (it != types->end() && it->second.m_bRequireCft) return true;
        }
    return false;
}
