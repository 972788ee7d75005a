#include "halvex/scheme/SchemeFunc.h"

#include <climits>
#include <cwchar>
#include <cwctype>

#include "halvex/config/ArmDataInterface.h"
#include "halvex/helpers/HalvexResources.h"

using namespace Gdiplus;

namespace {

int Saturate(int64_t v) { return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v); }

bool IsDelimiter(wchar_t c) { return c == L'*' || c == L'+' || c == L'-' || c == L'/'; }

const TYPE_MATCHER* FindType(ArmDataInterface* host, const CString& name) {
    std::map<CString, TYPE_MATCHER>* types = host ? host->GetTypeMatchers() : nullptr;
    if (!types) return nullptr;
    auto it = types->find(name);
    return it == types->end() ? nullptr : &it->second;
}

}  // namespace

unsigned GetFuncSchemeTypeCaptionId(EFuncSchemeType kind) {
    switch (int(kind)) {
    case 1: return 7159;
    case 2: return 7160;
    case 3: return 7161;
    case 4: return 7162;
    case 5: return 7163;
    case 6: return 7165;
    case 7: return 7158;
    case 8: return 7164;
    default: return 0;
    }
}

int SchSizeTerm(ArmDataInterface* host, const CString& term) {
    CString text = term;
    text.Trim();
    if (!text.IsEmpty() && text[0] == L'$') {
        CString name = text.Mid(1);
        name.Trim();
        text.Empty();
        if (host) host->GetDefineValue(text, name);
    }
    // Read like the C library reads a decimal, but a number past the int range is held to it.
    const wchar_t* p = text.GetString();
    while (*p && std::iswspace(*p)) ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = *p++ == L'-';
    int64_t v = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        v = v * 10 + (*p - L'0');
        if (v > int64_t(INT_MAX) + 1) v = int64_t(INT_MAX) + 1;
    }
    return Saturate(negative ? -v : v);
}

int SchSizeExpression(ArmDataInterface* host, const CString& expression) {
    const std::wstring& e = expression.str();
    size_t i = 0;
    while (i < e.size() && IsDelimiter(e[i])) ++i;
    bool first = true;
    wchar_t op = 0;
    int64_t r = 0;
    while (i < e.size()) {
        const size_t start = i;
        while (i < e.size() && !IsDelimiter(e[i])) ++i;
        const int64_t v = SchSizeTerm(host, CString(e.substr(start, i - start)));
        if (first) {
            r = v;
            first = false;
        } else {
            switch (op) {
            case L'*': r = r * v; break;
            case L'+': r = r + v; break;
            case L'-': r = r - v; break;
            case L'/':
                if (v != 0) r = r / v + (r % v != 0 ? 1 : 0);
                break;
            default: break;
            }
            r = Saturate(r);
        }
        if (i < e.size()) op = e[i];  // the first delimiter of the run joins the next term
        while (i < e.size() && IsDelimiter(e[i])) ++i;
    }
    return int(r);
}

CString FUNC_ARGUMENT::GetInfoString(ArmDataInterface* host) const {
    CString s = m_sName + L"\n";
    s.AppendFormat(L"%s: %s\n", HalvexLoadString(7150).GetString(), m_sRepresentation.GetString());
    s.AppendFormat(L"%s: %s\n", HalvexLoadString(7151).GetString(), m_sTypeName.GetString());
    s += HalvexLoadString(7152) + L": ";
    if (const TYPE_MATCHER* t = FindType(host, m_sTypeName)) {
        s += t->m_sDescription + L"\n";
        s.AppendFormat(L"%s: %s\n", HalvexLoadString(7153).GetString(), t->m_sSize.GetString());
        s.AppendFormat(L"%s: %s", HalvexLoadString(7154).GetString(), t->m_sCompiler.GetString());
    } else {
        s += HalvexLoadString(7141);
    }
    if (!m_sCftFormula.IsEmpty())
        s.AppendFormat(L"\n%s: %s", HalvexLoadString(7155).GetString(), m_sCftFormula.GetString());
    return s;
}

bool SCHEME_FUNC::IsRequireInitCftFunc(ArmDataInterface* host) const {
    if (ContainHiddenSign(L"FeedbackFunction")) return false;
    if (ContainHiddenSign(L"AnalogInput")) return true;
    for (const auto* list : {&m_vInputs, &m_vOutputs})
        for (const FUNC_ARGUMENT& a : *list)
            if (const TYPE_MATCHER* t = FindType(host, a.m_sTypeName); t && t->m_bRequireCft) return true;
    return false;
}

void SCHEME_FUNC::Draw(ArmDataInterface* host, Graphics& g, EDrawType kind, SCH_VALUES* values) {
    void* caption = const_cast<wchar_t*>(m_sCaption.GetString());
    std::map<CString, Scheme_Draw>* drawings = host ? host->GetFuncDrawData() : nullptr;
    if (drawings) {
        for (size_t i = 0; i < m_vDrawNames.size(); ++i) {
            const CString& name = m_vDrawNames[i];
            auto it = drawings->find(name);
            if (it == drawings->end()) continue;
            if (int(m_eType) == 9) {
                if (!values) {
                    if (i != 0) continue;
                } else {
                    const CString last = name.IsEmpty() ? CString() : name.Right(1);
                    auto rotation = values->find(L"Rotation");
                    if (rotation != values->end() && rotation->second != last) continue;
                    auto arrow = values->find(L"Arrow");
                    if (arrow != values->end() && arrow->second != last) continue;
                }
            }
            it->second.Draw(g, kind, caption, values);
        }
    }
    if (!m_draw.IsEmpty()) m_draw.Draw(g, kind, caption, values);
}

RectF SCHEME_FUNC::GetBoundedRectF(ArmDataInterface* host, float scale) {
    RectF result(0, 0, 0, 0);
    bool first = true;
    if (std::map<CString, Scheme_Draw>* drawings = host ? host->GetFuncDrawData() : nullptr)
        for (const CString& name : m_vDrawNames) {
            auto it = drawings->find(name);
            if (it != drawings->end()) SchUniteBounds(result, first, it->second.GetBoundedRectF(scale));
        }
    if (!m_draw.m_vObjects.empty()) SchUniteBounds(result, first, m_draw.GetBoundedRectF(scale));
    return result;
}

void SCHEME_FUNC::CollectPropsDependsDisabled(std::set<CString>& out) const {
    out.clear();
    std::vector<CString> names;
    for (const SmartPointer<FuncPropsBase>& p : m_vProps) {
        if (!p) continue;
        p->GetVecDependPropNames(names);
        out.insert(names.begin(), names.end());
        p->GetVecDependMinusPropNames(names);
        out.insert(names.begin(), names.end());
    }
}
