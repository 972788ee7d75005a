#include "halvex/config/JBusDef.h"

#include "halvex/helpers/HalvexResources.h"

CJBusDef::CJBusDef()
    : m_sFormats{L"A", L"B", L"C", L"D", L"E", L"X", L"BCD", L"binary", L"Signed32", L"Unsigned32"},
      m_sUnits{L"0.001", L"0.01", L"0.1", L"1", L"10", L"100", L"1000"},
      m_sSetLists{L"KTS1-16", L"KTS17-32", L"KTS33-48", L"KTS49-64", L"I1-2", L"I11-18", L"I21-28", L"I31-38"} {}

CString CJBusDef::ConvertFormat(EJBusFormat format) const {
    return format >= 1 && format <= 10 ? m_sFormats[format - 1] : CString(L"???");
}

EJBusFormat CJBusDef::ConvertFormat(const CString& text) const {
    for (int i = 0; i < 10; ++i)
        if (m_sFormats[i] == text) return EJBusFormat(i + 1);
    return eJBusFormatA;
}

CString CJBusDef::ConvertUnit(EJBusUnit unit) const {
    return unit >= -3 && unit <= 3 ? m_sUnits[unit + 3] : CString(L"???");
}

EJBusUnit CJBusDef::ConvertUnit(const CString& text) const {
    for (int i = 0; i < 7; ++i)
        if (m_sUnits[i] == text) return EJBusUnit(i - 3);
    return eJBusUnitOne;
}

CString CJBusDef::GetSetListName(EJbusSetList list) const {
    if (list == 0) return HalvexLoadString(7760);
    return list >= 1 && list <= 8 ? m_sSetLists[list - 1] : CString(L"???");
}

CString CJBusDef::GetSpecParamName(EJBusTypeExtention type) const {
    const CString code = L" (" + HalvexLoadString(7769) + L")";
    const CString text = L" (" + HalvexLoadString(7770) + L")";
    auto S = [](unsigned id) { return HalvexLoadString(id); };
    switch (int(type)) {
        case 1: return GetSetListName(EJbusSetList(0));
        case 2: return S(7771);
        case 3: return S(7772);
        case 4: return S(7773);
        case 5: return S(7774);
        case 6: return S(7775);
        case 7: return S(7776);
        case 8: return S(7777);
        case 9: case 10: case 11: case 12: case 13: case 14: case 15: case 16:
            return GetSetListName(EJbusSetList(type - 8));
        case 17: return S(7756) + code;
        case 18: return S(7756) + text;
        case 19: return S(7757) + code;
        case 20: return S(7757) + text;
        case 21: return S(7758) + code;
        case 22: return S(7759) + code;
        case 23: return S(7761) + code;
        case 24: return S(7762) + code;
        case 25: return S(7762) + text;
        case 26: return S(7763) + text;
        case 27: return S(7764) + text;
        case 28: return S(7778) + code;
        case 29: return S(7765) + code;
        case 30: return S(7779);
        default: return L"???";
    }
}
