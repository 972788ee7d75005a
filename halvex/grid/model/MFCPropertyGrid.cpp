#include "halvex/grid/model/MFCPropertyGrid.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "platform/UiServices.h"

const wchar_t* const CMFCPropertyGridProperty::m_strTrue = L"True";
const wchar_t* const CMFCPropertyGridProperty::m_strFalse = L"False";

int PropertyGridSink::MessageBox(const CString& text, unsigned type) {
    return platform::Ui().MessageBox(text, CString(), type);
}

bool PropertyGridSink::ChooseFont(LOGFONTW&, COLORREF&, unsigned) { return false; }

bool PropertyGridSink::ChooseColor(COLORREF&) { return false; }

// --- rows ------------------------------------------------------------------------------------

CMFCPropertyGridProperty::CMFCPropertyGridProperty(const CString& groupName, uintptr_t data, bool valueList)
    : m_strName(groupName), m_dwData(data), m_bGroup(true), m_bIsValueList(valueList) {}

CMFCPropertyGridProperty::CMFCPropertyGridProperty(const CString& name, const GridValue& value,
                                                   const CString& description, uintptr_t data)
    : m_strName(name), m_strDescr(description), m_dwData(data), m_varValue(value), m_varValueOrig(value) {}

CMFCPropertyGridProperty::~CMFCPropertyGridProperty() = default;

bool CMFCPropertyGridProperty::AddSubItem(CMFCPropertyGridProperty* prop) {
    if (!prop) return false;
    prop->m_pParent = this;
    prop->SetOwnerList(m_pWndList);
    m_lstSubItems.emplace_back(prop);
    return true;
}

CMFCPropertyGridProperty* CMFCPropertyGridProperty::GetSubItem(int i) const {
    return i >= 0 && size_t(i) < m_lstSubItems.size() ? m_lstSubItems[size_t(i)].get() : nullptr;
}

void CMFCPropertyGridProperty::SetOwnerList(CMFCPropertyGridCtrl* grid) {
    m_pWndList = grid;
    for (auto& sub : m_lstSubItems) sub->SetOwnerList(grid);
}

void CMFCPropertyGridProperty::Enable(bool enable) {
    if (m_bEnabled == enable) return;
    m_bEnabled = enable;
    Redraw();
}

bool CMFCPropertyGridProperty::AddOption(const CString& option, bool insertUnique) {
    if (insertUnique)
        for (const CString& o : m_lstOptions)
            if (o == option) return false;
    m_lstOptions.push_back(option);
    return true;
}

void CMFCPropertyGridProperty::RemoveAllOptions() { m_lstOptions.clear(); }

CString CMFCPropertyGridProperty::GetOption(int i) const {
    return i >= 0 && size_t(i) < m_lstOptions.size() ? m_lstOptions[size_t(i)] : CString();
}

void CMFCPropertyGridProperty::SetValue(const GridValue& value) {
    m_varValue = value;
    Redraw();
}

void CMFCPropertyGridProperty::ResetOriginalValue() {
    m_bIsModified = false;
    SetValue(m_varValueOrig);
}

CString CMFCPropertyGridProperty::FormatProperty() {
    CString s;
    switch (m_varValue.kind) {
        case GridValue::eText: return m_varValue.text;
        case GridValue::eInt: s.Format(L"%d", m_varValue.i); return s;
        case GridValue::eDouble: s.Format(L"%f", m_varValue.d); return s;
        case GridValue::eBool: return m_varValue.b ? m_strTrue : m_strFalse;
        case GridValue::eEmpty: break;
    }
    return s;
}

bool CMFCPropertyGridProperty::TextToVar(const CString& text) {
    if (!m_bAllowEdit && !m_lstOptions.empty()) {
        bool listed = false;
        for (const CString& o : m_lstOptions) listed = listed || o == text;
        if (!listed) return false;
    }
    switch (m_varValue.kind) {
        case GridValue::eText:
        case GridValue::eEmpty:
            m_varValue.kind = GridValue::eText;
            m_varValue.text = text;
            return true;
        case GridValue::eInt: {
            // What the rows let through is checked before; the framework itself only reads.
            errno = 0;
            const long long v = std::wcstoll(text.GetString(), nullptr, 10);
            m_varValue.i = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
            return true;
        }
        case GridValue::eDouble: m_varValue.d = std::wcstod(text.GetString(), nullptr); return true;
        case GridValue::eBool:
            if (text == m_strTrue || text == L"1") m_varValue.b = true;
            else if (text == m_strFalse || text == L"0") m_varValue.b = false;
            else return false;
            return true;
    }
    return false;
}

bool CMFCPropertyGridProperty::OnUpdateValue(const CString& editText) {
    if (editText == FormatProperty()) return true;
    if (!TextToVar(editText)) return false;
    m_bIsModified = !(m_varValue == m_varValueOrig);
    Redraw();
    if (m_pWndList) m_pWndList->OnPropertyChanged(this);
    return true;
}

void CMFCPropertyGridProperty::Redraw() {
    if (m_pWndList && m_pWndList->GetObserver()) m_pWndList->GetObserver()->OnPropertyRedraw(this);
}

// --- the grid --------------------------------------------------------------------------------

CMFCPropertyGridCtrl::~CMFCPropertyGridCtrl() = default;

int CMFCPropertyGridCtrl::AddProperty(CMFCPropertyGridProperty* prop, bool, bool adjustLayout) {
    if (!prop) return -1;
    prop->SetOwnerList(this);
    m_lstProps.emplace_back(prop);
    if (adjustLayout) AdjustLayout();
    return int(m_lstProps.size()) - 1;
}

void CMFCPropertyGridCtrl::RemoveAll() {
    m_lstProps.clear();
    AdjustLayout();
}

CMFCPropertyGridProperty* CMFCPropertyGridCtrl::GetProperty(int i) const {
    return i >= 0 && size_t(i) < m_lstProps.size() ? m_lstProps[size_t(i)].get() : nullptr;
}

void CMFCPropertyGridCtrl::AdjustLayout() {
    if (m_pObserver) m_pObserver->OnGridLayout();
}

void CMFCPropertyGridCtrl::RedrawWindow() {
    if (m_pObserver) m_pObserver->OnGridLayout();
}

void CMFCPropertyGridCtrl::OnPropertyChanged(CMFCPropertyGridProperty* prop) {
    if (m_onPropertyChanged) m_onPropertyChanged(prop);
}

PropertyGridSink& CMFCPropertyGridCtrl::Sink() const {
    static PropertyGridSink platformSink;
    return m_pSink ? *m_pSink : platformSink;
}
