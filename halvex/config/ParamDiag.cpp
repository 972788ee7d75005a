#include "halvex/config/ParamDiag.h"

#include "halvex/config/ArmDataInterface.h"
#include "halvex/scheme/SchemeFunc.h"

namespace {
const TYPE_MATCHER* Find(ArmDataInterface* host, const CString& name) {
    std::map<CString, TYPE_MATCHER>* types = host ? host->GetTypeMatchers() : nullptr;
    if (!types) return nullptr;
    auto it = types->find(name);
    return it == types->end() ? nullptr : &it->second;
}
}  // namespace

CString PARAM_DIAG::GetType(ArmDataInterface* host) const {
    const TYPE_MATCHER* t = Find(host, m_sAux3);
    return t ? t->m_sType : CString();
}

int PARAM_DIAG::GetSize(ArmDataInterface* host) const {
    const TYPE_MATCHER* t = Find(host, m_sAux3);
    return t ? t->GetSize(host) : 0;
}
