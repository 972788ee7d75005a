#include "model/TenvorikException.h"

#include "model/Resources.h"

CTenvorikException::CTenvorikException(unsigned resourceId, const CString& detail)
    : m_id(resourceId), m_message(LoadResString(resourceId)) {
    if (!detail.IsEmpty()) m_message += L" - " + detail;
}

CTenvorikException* CTenvorikException::FromText(const CString& message) {
    auto* e = new CTenvorikException();
    e->m_message = message;
    return e;
}
