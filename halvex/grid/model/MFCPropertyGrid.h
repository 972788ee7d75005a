#pragma once
// The property grid as plain objects: rows with a name, a value, options, an enabled state and
// sub-rows, held by a grid that owns them. The window that shows a grid (FuncPropsGridWnd) only
// mirrors it and hands edited texts back, so every rule of the rows is exercised without a
// display. Messages and the font dialog go through a sink the host (or a test) may replace.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"
#include "platform/draw/GdiTypes.h"

class CMFCPropertyGridCtrl;

// What a row holds.
struct GridValue {
    enum EKind { eEmpty = 0, eText, eInt, eDouble, eBool };

    static GridValue Text(const CString& v) { GridValue g; g.kind = eText; g.text = v; return g; }
    static GridValue Int(int v) { GridValue g; g.kind = eInt; g.i = v; return g; }
    static GridValue Double(double v) { GridValue g; g.kind = eDouble; g.d = v; return g; }
    static GridValue Bool(bool v) { GridValue g; g.kind = eBool; g.b = v; return g; }
    bool operator==(const GridValue& o) const {
        return kind == o.kind && text == o.text && i == o.i && d == o.d && b == o.b;
    }

    EKind kind = eEmpty;
    CString text;
    int i = 0;
    double d = 0.0;
    bool b = false;
};

// What the grid asks of the user. The default shows messages through the platform's services
// and offers no font dialog.
class PropertyGridSink {
public:
    virtual ~PropertyGridSink() = default;
    // A message box; `type` holds MB_ buttons and icon; returns IDOK, IDYES, IDNO, ...
    virtual int MessageBox(const CString& text, unsigned type);
    // The font dialog on `font` (and `colour` when it is not -1) with the dialog's flags;
    // false when the user cancelled or there is no dialog.
    virtual bool ChooseFont(LOGFONTW& font, COLORREF& colour, unsigned flags);
    // The colour dialog on `colour`, for a colour row's other-colour choice; false when the
    // user cancelled or there is no dialog.
    virtual bool ChooseColor(COLORREF& colour);
};

// What the window showing a grid learns of it.
class PropertyGridObserver {
public:
    virtual ~PropertyGridObserver() = default;
    // Rows were added or removed: show the grid anew.
    virtual void OnGridLayout() = 0;
    // A row's value, options or enabled state changed.
    virtual void OnPropertyRedraw(class CMFCPropertyGridProperty* prop) = 0;
};

class CMFCPropertyGridProperty {
public:
    // A group row.
    explicit CMFCPropertyGridProperty(const CString& groupName, uintptr_t data = 0, bool valueList = false);
    // A value row.
    CMFCPropertyGridProperty(const CString& name, const GridValue& value, const CString& description = CString(),
                             uintptr_t data = 0);
    virtual ~CMFCPropertyGridProperty();
    CMFCPropertyGridProperty(const CMFCPropertyGridProperty&) = delete;
    CMFCPropertyGridProperty& operator=(const CMFCPropertyGridProperty&) = delete;

    const CString& GetName() const { return m_strName; }
    void SetName(const CString& name) { m_strName = name; }
    const CString& GetDescription() const { return m_strDescr; }
    void SetDescription(const CString& d) { m_strDescr = d; }
    uintptr_t GetData() const { return m_dwData; }
    bool IsGroup() const { return m_bGroup; }

    // Takes ownership of `prop`.
    bool AddSubItem(CMFCPropertyGridProperty* prop);
    int GetSubItemsCount() const { return int(m_lstSubItems.size()); }
    CMFCPropertyGridProperty* GetSubItem(int i) const;
    CMFCPropertyGridProperty* GetParent() const { return m_pParent; }
    CMFCPropertyGridCtrl* GetGrid() const { return m_pWndList; }

    void Enable(bool enable = true);
    bool IsEnabled() const { return m_bEnabled; }
    // False: the value is a choice among the options only.
    void AllowEdit(bool allow = true) { m_bAllowEdit = allow; }
    bool IsAllowEdit() const { return m_bAllowEdit; }
    // With `insertUnique` an option already present is not added again.
    bool AddOption(const CString& option, bool insertUnique = true);
    void RemoveAllOptions();
    int GetOptionCount() const { return int(m_lstOptions.size()); }
    CString GetOption(int i) const;
    const std::vector<CString>& GetOptions() const { return m_lstOptions; }

    const GridValue& GetValue() const { return m_varValue; }
    virtual void SetValue(const GridValue& value);
    const GridValue& GetOriginalValue() const { return m_varValueOrig; }
    void SetOriginalValue(const GridValue& value) { m_varValueOrig = value; }
    // Back to the value the row was made with (or last given as original).
    void ResetOriginalValue();
    bool IsModified() const { return m_bIsModified; }

    // The value as the row shows it.
    virtual CString FormatProperty();
    // The end of an edit with the editor's text: true accepts it, false keeps the editor open.
    // The framework's own behaviour: an unchanged text is accepted as it is; otherwise the text
    // becomes the value and the grid is told of the change.
    virtual bool OnUpdateValue(const CString& editText);
    // Rows with a button (a font row): the button was pressed.
    virtual bool HasButton() const { return false; }
    virtual void OnClickButton() {}
    // Whether an in-place editor opens for the row.
    virtual bool OnEdit() { return m_bAllowEdit || !m_lstOptions.empty(); }

    // Tells the window that the row changed.
    void Redraw();

    // The texts of a boolean value (the framework's choice).
    static const wchar_t* const m_strTrue;
    static const wchar_t* const m_strFalse;

protected:
    // The framework's conversion of an edited text into the value; false when it cannot.
    virtual bool TextToVar(const CString& text);

private:
    friend class CMFCPropertyGridCtrl;
    void SetOwnerList(CMFCPropertyGridCtrl* grid);

    CString m_strName;
    CString m_strDescr;
    uintptr_t m_dwData = 0;
    bool m_bGroup = false;
    bool m_bIsValueList = false;
    bool m_bEnabled = true;
    bool m_bAllowEdit = true;
    bool m_bIsModified = false;
    GridValue m_varValue;
    GridValue m_varValueOrig;
    std::vector<CString> m_lstOptions;
    std::vector<std::unique_ptr<CMFCPropertyGridProperty>> m_lstSubItems;
    CMFCPropertyGridProperty* m_pParent = nullptr;
    CMFCPropertyGridCtrl* m_pWndList = nullptr;
};

class CMFCPropertyGridCtrl {
public:
    CMFCPropertyGridCtrl() = default;
    virtual ~CMFCPropertyGridCtrl();
    CMFCPropertyGridCtrl(const CMFCPropertyGridCtrl&) = delete;
    CMFCPropertyGridCtrl& operator=(const CMFCPropertyGridCtrl&) = delete;

    // The grid's window exists: made by the window that shows the grid, or by a test.
    void Create() {
        m_bHasWindow = true;
        OnCreateWindow();
    }
    void DestroyWindow() { m_bHasWindow = false; }
    bool GetSafeHwnd() const { return m_bHasWindow; }

    // Takes ownership of `prop`; returns its index.
    int AddProperty(CMFCPropertyGridProperty* prop, bool redraw = true, bool adjustLayout = true);
    void RemoveAll();
    int GetPropertyCount() const { return int(m_lstProps.size()); }
    CMFCPropertyGridProperty* GetProperty(int i) const;
    void AdjustLayout();
    void RedrawWindow();

    // The change notification of the framework (sent to the owner): the host listens here.
    virtual void OnPropertyChanged(CMFCPropertyGridProperty* prop);
    std::function<void(CMFCPropertyGridProperty*)> m_onPropertyChanged;

    void SetObserver(PropertyGridObserver* observer) { m_pObserver = observer; }
    PropertyGridObserver* GetObserver() const { return m_pObserver; }
    // Not owned; null restores the default.
    void SetSink(PropertyGridSink* sink) { m_pSink = sink; }
    PropertyGridSink& Sink() const;
    PropertyGridSink* GetSinkPtr() const { return m_pSink; }

protected:
    // The window has just come.
    virtual void OnCreateWindow() {}

private:
    bool m_bHasWindow = false;
    std::vector<std::unique_ptr<CMFCPropertyGridProperty>> m_lstProps;
    PropertyGridObserver* m_pObserver = nullptr;
    PropertyGridSink* m_pSink = nullptr;
};
