#include "halvex/grid/model/MFCFuncPropsBase.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <set>

#include "halvex/config/ArmDataInterface.h"
#include "halvex/grid/model/MFCFuncPropsGridCtrl.h"
#include "halvex/helpers/Ai_Str.h"
#include "halvex/helpers/HalvexResources.h"

namespace {

constexpr double kLimitTolerance = 0.00001;

// Message guards: while a message of a kind is open (its box pumps events, and the editor may
// end again), the same check must not stack a second box. Keyed by string id; text rows
// share one key of their own.
std::set<unsigned>& OpenMessages() {
    static std::set<unsigned> open;
    return open;
}
constexpr unsigned kTextGuard = 0;

}  // namespace

bool GridParseDouble(const CString& text, double& value) {
    CString t = text;
    t.Trim();
    value = 0.0;
    if (t.IsEmpty()) return true;
    const wchar_t* s = t.GetString();
    // Only what strtod would read as a plain decimal: no hexadecimal, no inf or nan.
    for (const wchar_t* p = s; *p; ++p)
        if (!(std::iswdigit(*p) || *p == L'+' || *p == L'-' || *p == L'.' || *p == L'e' || *p == L'E'))
            return false;
    wchar_t* end = nullptr;
    errno = 0;
    const double v = std::wcstod(s, &end);
    if (end == s || *end != 0 || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool GridParseInt(const CString& text, int& value) {
    value = 0;
    long long v = 0;
    bool negative = false;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t c = text[i];
        if (i == 0 && c == L'-') {
            negative = true;
            continue;
        }
        if (c < L'0' || c > L'9') return false;
        v = v * 10 + (c - L'0');
        if (v > 1LL + INT_MAX) return false;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    value = int(v);
    return true;
}

// --- the common base -------------------------------------------------------------------------

CMFCFuncPropsBase::CMFCFuncPropsBase(const CString& groupName, uintptr_t data, bool valueList)
    : CMFCPropertyGridProperty(groupName, data, valueList) {}

CMFCFuncPropsBase::CMFCFuncPropsBase(const CString& name, const GridValue& value, const CString& description,
                                     uintptr_t data)
    : CMFCPropertyGridProperty(name, value, description, data) {}

CMFCFuncPropsGridCtrl* CMFCFuncPropsBase::GetFuncGrid() const {
    return dynamic_cast<CMFCFuncPropsGridCtrl*>(GetGrid());
}

bool CMFCFuncPropsBase::IsPreClosed() const {
    const CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    return grid && grid->m_bPreClosed;
}

bool CMFCFuncPropsBase::IsFloatingProps() const {
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    return grid && grid->GetSafeHwnd() && grid->IsFloating();
}

void CMFCFuncPropsBase::NotifyParentChanged() {
    if (GetParent() && GetGrid()) GetGrid()->OnPropertyChanged(GetParent());
}

bool CMFCFuncPropsBase::OnUpdateValue(const CString& editText) {
    const bool result = CMFCPropertyGridProperty::OnUpdateValue(editText);
    if (!result) return false;
    NotifyParentChanged();
    if (IsFloatingProps() && !IsPreClosed()) ApplyOnFloatingProps();
    return result;
}

bool CMFCFuncPropsBase::ShowGuardedMessage(unsigned guard, const CString& text, unsigned type) {
    auto& open = OpenMessages();
    if (open.count(guard)) return false;
    open.insert(guard);
    struct Release {
        unsigned g;
        ~Release() { OpenMessages().erase(g); }
    } release{guard};
    if (GetGrid()) GetGrid()->Sink().MessageBox(text, type);
    else PropertyGridSink().MessageBox(text, type);
    return true;
}

// --- integers --------------------------------------------------------------------------------

CMFCFuncPropsEditInt::CMFCFuncPropsEditInt(FuncPropsEditInt* desc, int value, uintptr_t data)
    : CMFCFuncPropsBase(desc->m_sCaption, GridValue::Int(value), desc->m_sDescription, data), m_pDesc(desc) {
    SetUniqueName(desc->m_sKey);
    if ((desc->m_bHasMin && value < desc->m_nMin) || (desc->m_bHasMax && value > desc->m_nMax)) {
        SetValue(GridValue::Int(desc->m_nDefault));
        SetOriginalValue(GetValue());
    }
}

void CMFCFuncPropsEditInt::EnableSpinControl(bool enable, int min, int max) {
    m_bSpin = enable;
    m_nSpinMin = min;
    m_nSpinMax = max;
}

bool CMFCFuncPropsEditInt::OnUpdateValue(const CString& editText) {
    const CString oldText = FormatProperty();
    if (editText == oldText) return true;
    if (!IsPreClosed()) {
        CString text = editText;
        text.Trim();
        const FuncPropsEditInt& d = *m_pDesc;
        const bool minusAllowed = !(d.m_bHasMin && d.m_nMin >= 0);
        unsigned id = 0;
        CString message;
        int value = 0;
        bool charsOk = true;
        for (int i = 0; i < text.GetLength(); ++i) {
            const wchar_t c = text[i];
            if (c >= L'0' && c <= L'9') continue;
            if (i == 0 && c == L'-' && minusAllowed) continue;
            charsOk = false;
            break;
        }
        // A number beyond int is as wrong as a letter: it cannot be stored.
        if (!charsOk || !GridParseInt(text, value)) {
            id = 7304;
            message.Format(HalvexLoadString(id).GetString(), editText.GetString());
        } else if (d.m_bHasMin && d.m_bHasMax) {
            if (value < d.m_nMin || value > d.m_nMax) {
                id = 7305;
                message.Format(HalvexLoadString(id).GetString(), d.m_nMin, d.m_nMax);
            }
        } else if (d.m_bHasMax) {
            if (value > d.m_nMax) {
                id = 7306;
                message.Format(HalvexLoadString(id).GetString(), d.m_nMax);
            }
        } else if (d.m_bHasMin) {
            if (value < d.m_nMin) {
                id = 7307;
                message.Format(HalvexLoadString(id).GetString(), d.m_nMin);
            }
        }
        if (id != 0) {
            // A check entered again while its message is open refuses without a second box.
            if (!ShowGuardedMessage(id, message, MB_ICONERROR)) return false;
            if (IsFloatingProps()) {
                int old = 0;
                GridParseInt(oldText, old);
                SetValue(GridValue::Int(old));
            }
            return false;
        }
    }
    const bool result = CMFCFuncPropsBase::OnUpdateValue(editText);
    NotifyParentChanged();
    return result;
}

CString CMFCFuncPropsEditInt::GetCurrValue() {
    if (!m_pDesc->m_bHasDisabledValue || IsEnabled()) return FormatProperty();
    return m_pDesc->GetDisabledValue();
}

// --- reals -----------------------------------------------------------------------------------

CMFCFuncPropsEditDouble::CMFCFuncPropsEditDouble(FuncPropsEditDouble* desc, double value, uintptr_t data)
    : CMFCFuncPropsBase(desc->m_sCaption, GridValue::Double(value), desc->m_sDescription, data), m_pDesc(desc) {
    SetUniqueName(desc->m_sKey);
    if ((desc->m_bHasMin && value < desc->m_dMin - kLimitTolerance) ||
        (desc->m_bHasMax && value > desc->m_dMax + kLimitTolerance)) {
        SetValue(GridValue::Double(desc->m_dDefault));
        SetOriginalValue(GetValue());
    }
}

CString CMFCFuncPropsEditDouble::FormatProperty() {
    const double v = GetValue().d;
    CString s;
    s.Format(CalcPercentFormat(v, m_pDesc->m_nPrecision).GetString(), v);
    return s;
}

bool CMFCFuncPropsEditDouble::OnUpdateValue(const CString& editText) {
    const double old = FuncPropsToDouble(FormatProperty());
    if (!IsPreClosed()) {
        const FuncPropsEditDouble& d = *m_pDesc;
        // The shown limits use the fewest decimals that show them.
        auto limits = [&](unsigned id, int count) {
            CString pattern = HalvexLoadString(id);
            const CString first = CalcPercentFormat(count == 2 ? d.m_dMin : (id == 7309 ? d.m_dMax : d.m_dMin),
                                                    d.m_nPrecision);
            const int at = pattern.Find(L"%s");
            if (at >= 0) pattern = pattern.Left(at) + first + pattern.Mid(at + 2);
            if (count == 2) {
                const int at2 = pattern.Find(L"%s");
                if (at2 >= 0)
                    pattern = pattern.Left(at2) + CalcPercentFormat(d.m_dMax, d.m_nPrecision) + pattern.Mid(at2 + 2);
            }
            CString message;
            if (count == 2) message.Format(pattern.GetString(), d.m_dMin, d.m_dMax);
            else message.Format(pattern.GetString(), id == 7309 ? d.m_dMax : d.m_dMin);
            return message;
        };
        unsigned id = 0;
        CString message;
        double value = 0.0;
        if (!GridParseDouble(editText, value)) {
            // Only a whole number may be read: "1,5" would otherwise become 1 and "abc" 0.
            id = 7304;
            message.Format(HalvexLoadString(id).GetString(), editText.GetString());
        } else if (d.m_bHasMin && d.m_bHasMax) {
            if (value < d.m_dMin - kLimitTolerance || value > d.m_dMax + kLimitTolerance) {
                id = 7308;
                message = limits(id, 2);
            }
        } else if (d.m_bHasMax) {
            if (value > d.m_dMax + kLimitTolerance) {
                id = 7309;
                message = limits(id, 1);
            }
        } else if (d.m_bHasMin) {
            if (value < d.m_dMin - kLimitTolerance) {
                id = 7310;
                message = limits(id, 1);
            }
        }
        if (id != 0) {
            if (!ShowGuardedMessage(id, message, MB_ICONERROR)) return false;
            if (IsFloatingProps()) SetValue(GridValue::Double(old));
            return false;
        }
    }
    const bool result = CMFCFuncPropsBase::OnUpdateValue(editText);
    NotifyParentChanged();
    return result;
}

CString CMFCFuncPropsEditDouble::GetCurrValue() {
    if (!m_pDesc->m_bHasDisabledValue || IsEnabled()) return FormatProperty();
    return m_pDesc->GetDisabledValue();
}

// --- texts -----------------------------------------------------------------------------------

CMFCFuncPropsEditText::CMFCFuncPropsEditText(FuncPropsEditText* desc, const CString& value, uintptr_t data)
    : CMFCFuncPropsBase(desc->m_sCaption, GridValue::Text(desc->m_bNotEmpty && value.IsEmpty() ? desc->m_sDefault : value),
                        desc->m_sDescription, data),
      m_pDesc(desc) {
    SetUniqueName(desc->m_sKey);
}

bool CMFCFuncPropsEditText::OnUpdateValue(const CString& editText) {
    const CString oldText = FormatProperty();
    CString text = editText;
    text.Trim();
    if (text == oldText) return true;
    if (!IsPreClosed()) {
        CString error;
        if (!IsTextCorrect(text, error)) {
            const bool silent = m_pDesc->m_bSilentReject;
            if (!silent && !ShowGuardedMessage(kTextGuard, error, MB_ICONERROR)) return false;
            if (IsFloatingProps() || silent) SetValue(GridValue::Text(oldText));
            return false;
        }
    }
    const bool result = CMFCFuncPropsBase::OnUpdateValue(editText);
    NotifyParentChanged();
    return result;
}

CString CMFCFuncPropsEditText::GetCurrValue() {
    if (!m_pDesc->m_bHasDisabledValue || IsEnabled()) {
        CString v = GetValue().text;
        v.Trim();
        return v;
    }
    return m_pDesc->GetDisabledValue();
}

bool CMFCFuncPropsEditText::IsTextCorrect(const CString& text, CString& error) {
    error.Empty();
    if (m_pDesc->m_bNotEmpty && text.IsEmpty()) {
        error = HalvexLoadString(7311);
        return false;
    }
    return true;
}

bool CMFCFuncPropsEditTextPhase::IsTextCorrect(const CString& text, CString& error) {
    error.Empty();
    const CAi_Str::ETypeErrorSymbol found = CAi_Str::CheckForbiddenSymbols(
        text, 0, false, true, CString(), false, CString(), 2, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-");
    if (found == CAi_Str::eTypeErrorNone) return true;
    error = CAi_Str::GetETypeErrorSymbolToString(found, CString(), 2, L"\n\nA-Z\n0-9\n-\n+");
    return false;
}

bool CMFCFuncPropsEditInOutName::IsTextCorrect(const CString& text, CString& error) {
    error.Empty();
    if (m_pDesc->m_bNotEmpty && text.IsEmpty()) {
        error = HalvexLoadString(7311);
        return false;
    }
    CMFCFuncPropsGridCtrl* grid = GetFuncGrid();
    if (grid && grid->GetSafeHwnd() && grid->m_pArmDataInterface &&
        grid->m_pArmDataInterface->IsNameUsedInProject(text, 0)) {
        error.Format(HalvexLoadString(7312).GetString(), text.GetString());
        return false;
    }
    return true;
}

// --- choices ---------------------------------------------------------------------------------

CMFCFuncPropsCombo::CMFCFuncPropsCombo(FuncPropsCombo* desc, int index, uintptr_t data)
    : CMFCFuncPropsBase(desc->m_sCaption, GridValue::Text(CString()), desc->m_sDescription, data), m_pDesc(desc) {
    SetUniqueName(desc->m_sKey);
    for (const CString& o : desc->m_vOptions) AddOption(o, false);
    // Without options there is nothing to choose: the value stays empty.
    if (!desc->m_vOptions.empty()) {
        const bool inRange = index >= 0 && size_t(index) < desc->m_vOptions.size();
        SetValue(GridValue::Text(desc->m_vOptions[inRange ? size_t(index) : 0]));
        SetOriginalValue(GetValue());
    }
    AllowEdit(false);
}

CString CMFCFuncPropsCombo::GetCurrValue() {
    if (m_pDesc->m_bHasDisabledValue && !IsEnabled()) return m_pDesc->GetDisabledValue();
    const CString shown = FormatProperty();
    int found = 0;
    for (int i = 0; i < GetOptionCount(); ++i)
        if (GetOption(i) == shown) found = i;
    CString s;
    s.Format(L"%d", found);
    return s;
}

CMFCFuncPropsComboSpecSelect::CMFCFuncPropsComboSpecSelect(FuncPropsComboSpecSelect* desc, int index,
                                                           uintptr_t data)
    : CMFCFuncPropsCombo(desc, index, data), m_pSpecDesc(desc) {}

bool CMFCFuncPropsComboSpecSelect::OnUpdateValue(const CString& editText) {
    const bool result = CMFCFuncPropsCombo::OnUpdateValue(editText);
    if (!result) return result;
    CMFCPropertyGridCtrl* grid = GetGrid();
    if (!grid) return result;
    const CString chosen = FormatProperty();
    for (int i = 0; i < grid->GetPropertyCount(); ++i) {
        auto* row = dynamic_cast<CMFCFuncPropsBase*>(grid->GetProperty(i));
        if (row && row->GetUniqueName() == m_pSpecDesc->m_sTargetKey) row->SetValue(GridValue::Text(chosen));
    }
    return result;
}

CMFCFuncPropsArmObjCombo::CMFCFuncPropsArmObjCombo(FuncPropsArmObjCombo* desc, uintptr_t data)
    : CMFCFuncPropsBase(desc->m_sCaption, GridValue::Text(CString()), desc->m_sDescription, data), m_pDesc(desc) {
    SetUniqueName(desc->m_sKey);
}

CString CMFCFuncPropsArmObjCombo::GetCurrValue() {
    CString v = GetValue().text;
    v.Trim();
    return v;
}
