#include "halvex/scheme/FuncProps.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>
#include <set>

#include "halvex/config/ArmDataInterface.h"
#include "halvex/config/ArmObject.h"

namespace {

FuncPropsItemFactory* g_factory = nullptr;

CString FormatInt(int v) {
    CString s;
    s.Format(L"%d", v);
    return s;
}

}  // namespace

void FuncPropsItemFactory::Install(FuncPropsItemFactory* factory) { g_factory = factory; }
FuncPropsItemFactory* FuncPropsItemFactory::Installed() { return g_factory; }

const CString FuncPropsBoolBase::m_sTrue = L"1";
const CString FuncPropsBoolBase::m_sFalse = L"0";

int FuncPropsToInt(const CString& text) {
    errno = 0;
    const long long v = std::wcstoll(text.GetString(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

double FuncPropsToDouble(const CString& text) { return std::wcstod(text.GetString(), nullptr); }

CString CalcPercentFormat(double x, unsigned precision) {
    // A precision beyond what a double can show only lengthens the text.
    if (precision > 99) precision = 99;
    CString format = L"%f";
    if (precision != 0) format.Format(L"%%.%uf", precision);
    CString text;
    text.Format(format.GetString(), x);
    text.MakeReverse();
    text.TrimLeft(L'0');
    text.MakeReverse();
    const int dot = text.Find(L'.');
    const int decimals = dot < 0 ? 0 : text.GetLength() - dot - 1;
    CString result;
    result.Format(L"%%.%df", decimals);
    return result;
}

// --- integers --------------------------------------------------------------------------------

CString FuncPropsEditInt::GetDefaultValue() const { return FormatInt(m_nDefault); }
void FuncPropsEditInt::SetDefaultValue(const CString& value) { m_nDefault = FuncPropsToInt(value); }
CString FuncPropsEditInt::GetDisabledValue() const { return FormatInt(m_nDisabled); }
void FuncPropsEditInt::SetDisabledValue(const CString& value) {
    m_nDisabled = FuncPropsToInt(value);
    m_bHasDisabledValue = true;
}

CMFCFuncPropsBase* FuncPropsEditInt::CreateMFCFuncPropsBase(const CString& value, ArmDataInterface*) {
    FuncPropsItemFactory* f = FuncPropsItemFactory::Installed();
    if (!f) return nullptr;
    const bool spin = m_bSpin && m_bHasMin && m_bHasMax;
    return f->EditInt(this, FuncPropsToInt(value), spin, m_nMin, m_nMax);
}

CString FuncPropsEditInt2Double::GetCompilerString(const CString& value) const {
    CString s;
    s.Format(L"%f", double(FuncPropsToInt(value)) * m_dMultiplier);
    return s;
}

// --- reals -----------------------------------------------------------------------------------

static CString FormatReal(double v, unsigned precision) {
    CString s;
    s.Format(CalcPercentFormat(v, precision).GetString(), v);
    return s;
}

CString FuncPropsEditDouble::GetDefaultValue() const { return FormatReal(m_dDefault, m_nPrecision); }
void FuncPropsEditDouble::SetDefaultValue(const CString& value) { m_dDefault = FuncPropsToDouble(value); }
CString FuncPropsEditDouble::GetDisabledValue() const { return FormatReal(m_dDisabled, m_nPrecision); }
void FuncPropsEditDouble::SetDisabledValue(const CString& value) {
    m_dDisabled = FuncPropsToDouble(value);
    m_bHasDisabledValue = true;
}

CMFCFuncPropsBase* FuncPropsEditDouble::CreateMFCFuncPropsBase(const CString& value, ArmDataInterface*) {
    FuncPropsItemFactory* f = FuncPropsItemFactory::Installed();
    return f ? f->EditDouble(this, FuncPropsToDouble(value)) : nullptr;
}

CString FuncPropsEditDouble::GetCompilerString(const CString& value) const {
    return value.Find(L'.') < 0 ? value + L"." : value;
}

CString FuncPropsEditDouble2Int::GetCompilerString(const CString& value) const {
    const double r = std::floor(m_dMultiplier * FuncPropsToDouble(value) + 0.5);
    // Held to the int range: a large value must not wrap into a wrong constant.
    int v = 0;
    if (r >= double(INT_MAX)) v = INT_MAX;
    else if (r <= double(INT_MIN)) v = INT_MIN;
    else if (!std::isnan(r)) v = int(r);
    return FormatInt(v);
}

// --- texts and booleans ----------------------------------------------------------------------

void FuncPropsEditText::SetDisabledValue(const CString& value) {
    m_sDisabled = value;
    m_bHasDisabledValue = true;
}

CMFCFuncPropsBase* FuncPropsEditText::CreateMFCFuncPropsBase(const CString& value, ArmDataInterface*) {
    FuncPropsItemFactory* f = FuncPropsItemFactory::Installed();
    return f ? f->EditText(this, value, m_sKey == L"ChannelPhase") : nullptr;
}

CMFCFuncPropsBase* FuncPropsEditInOutName::CreateMFCFuncPropsBase(const CString& value, ArmDataInterface*) {
    FuncPropsItemFactory* f = FuncPropsItemFactory::Installed();
    return f ? f->EditInOutName(this, value) : nullptr;
}

void FuncPropsBoolBase::SetDisabledValue(const CString& value) {
    m_bDisabled = value == m_sTrue;
    m_bHasDisabledValue = true;
}

CMFCFuncPropsBase* FuncPropsBoolBase::CreateMFCFuncPropsBase(const CString& value, ArmDataInterface*) {
    FuncPropsItemFactory* f = FuncPropsItemFactory::Installed();
    return f ? f->Bool(this, ItemKind(), value == m_sTrue) : nullptr;
}

// --- choices ---------------------------------------------------------------------------------

CString FuncPropsCombo::GetDefaultValue() const { return FormatInt(m_nDefault); }
void FuncPropsCombo::SetDefaultValue(const CString& value) { m_nDefault = FuncPropsToInt(value); }
CString FuncPropsCombo::GetDisabledValue() const { return FormatInt(m_nDisabled); }
void FuncPropsCombo::SetDisabledValue(const CString& value) { m_nDisabled = FuncPropsToInt(value); }

CString FuncPropsCombo::GetInfoWindowValue(const CString& value) const {
    const int i = FuncPropsToInt(value);
    return i >= 0 && size_t(i) < m_vOptions.size() ? m_vOptions[size_t(i)] : CString();
}

CMFCFuncPropsBase* FuncPropsCombo::CreateMFCFuncPropsBase(const CString& value, ArmDataInterface*) {
    FuncPropsItemFactory* f = FuncPropsItemFactory::Installed();
    return f ? f->Combo(this, FuncPropsToInt(value), false) : nullptr;
}

CString FuncPropsCftCombo::GetCftComboItem(const CString& value) const {
    const int i = FuncPropsToInt(value);
    return i >= 0 && size_t(i) < m_vCftItems.size() ? m_vCftItems[size_t(i)] : CString();
}

CMFCFuncPropsBase* FuncPropsComboSpecSelect::CreateMFCFuncPropsBase(const CString& value, ArmDataInterface*) {
    FuncPropsItemFactory* f = FuncPropsItemFactory::Installed();
    return f ? f->Combo(this, FuncPropsToInt(value), true) : nullptr;
}

void FuncPropsArmObjCombo::CollectOptions(ArmDataInterface* host, const CString& value, std::vector<CString>& options,
                                          CString& selected) const {
    options.clear();
    selected.Empty();
    if (!host) return;
    std::vector<ArmObject*> found;
    host->CollectArmObjectsByType(found, m_eArmObjType, false, 1023);
    std::vector<ArmObject*> kept;
    for (ArmObject* o : found) {
        if (!o) continue;
        if (m_bSkipLocked && dynamic_cast<ArmLockObject*>(o) && o->IsArmObjLocked()) continue;
        kept.push_back(o);
    }
    const int t = int(m_eArmObjType);
    if (t == 5 || t == 7 || t == 8) {
        std::set<CString> sorted;
        for (ArmObject* o : kept) sorted.insert(o->m_sName);
        options.assign(sorted.begin(), sorted.end());
    } else {
        for (ArmObject* o : kept) options.push_back(o->m_sName);
    }
    for (ArmObject* o : kept)
        if (o->m_sName == value) {
            selected = value;
            break;
        }
}

CMFCFuncPropsBase* FuncPropsArmObjCombo::CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) {
    FuncPropsItemFactory* f = FuncPropsItemFactory::Installed();
    if (!f) return nullptr;
    std::vector<CString> options;
    CString selected;
    CollectOptions(host, value, options, selected);
    return f->ArmObjCombo(this, options, selected);
}
