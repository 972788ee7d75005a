#pragma once
// The rows of the function property grid made from property descriptors: the common base
// (unique name = the descriptor's key, the value as written back, enabling rules) and the
// number, text, phase, name and choice rows with their checks and messages.
#include <vector>

#include "halvex/grid/model/MFCPropertyGrid.h"
#include "halvex/scheme/FuncProps.h"

class CMFCFuncPropsGridCtrl;
class SCHEME_FUNC_ELEMENT;
class SCHEME_INOUT;
class SCHEME_BLOCK_ELEMENT;
class SCHEME_TEXT_ELEMENT;
class SCHEME_LINE_ELEMENT;
class SCHEME_RECT_ELEMENT;
class SCHEME_DYNAMIC_ELEMENT;

class CMFCFuncPropsBase : public CMFCPropertyGridProperty {
public:
    CMFCFuncPropsBase(const CString& groupName, uintptr_t data = 0, bool valueList = false);
    CMFCFuncPropsBase(const CString& name, const GridValue& value, const CString& description = CString(),
                      uintptr_t data = 0);

    CString GetUniqueName() const { return m_sUniqueName; }
    void SetUniqueName(const CString& name) { m_sUniqueName = name; }

    // The value as it is written back into the element.
    virtual CString GetCurrValue() = 0;
    // Applies the row's enabling rules to the rows it governs.
    virtual void ActionAllGridCtrl(bool useGiven, bool given) {
        (void)useGiven;
        (void)given;
    }

    // The grid is being closed: rows neither check nor apply.
    bool IsPreClosed() const;
    // Edits go into the element at once.
    bool IsFloatingProps() const;
    bool OnUpdateValue(const CString& editText) override;

    // The grid the row is in, when it is a function property grid.
    CMFCFuncPropsGridCtrl* GetFuncGrid() const;

protected:
    // Writes the row's value into the element shown in the grid, telling the host before and
    // after.
    void ApplyOnFloatingProps();
    // The write-back of each element kind, chosen by the row's key.
    void ApplyByFuncElem(SCHEME_FUNC_ELEMENT* element);
    void ApplyByInOutElem(SCHEME_INOUT* element);
    void ApplyByBlockElem(SCHEME_BLOCK_ELEMENT* element);
    void ApplyByTextElem(SCHEME_TEXT_ELEMENT* element);
    void ApplyByLineElem(SCHEME_LINE_ELEMENT* element);
    void ApplyByRectElem(SCHEME_RECT_ELEMENT* element);
    void ApplyByDynamicElem(SCHEME_DYNAMIC_ELEMENT* element);
    // Shows `text` unless a message of the same `guard` is open; false when one was.
    bool ShowGuardedMessage(unsigned guard, const CString& text, unsigned type);
    // The parent row's change notification.
    void NotifyParentChanged();

    CString m_sUniqueName;
};

class CMFCFuncPropsEditInt : public CMFCFuncPropsBase {
public:
    CMFCFuncPropsEditInt(FuncPropsEditInt* desc, int value, uintptr_t data = 0);
    void EnableSpinControl(bool enable, int min, int max);
    bool HasSpinControl() const { return m_bSpin; }
    int GetSpinMin() const { return m_nSpinMin; }
    int GetSpinMax() const { return m_nSpinMax; }

    bool OnUpdateValue(const CString& editText) override;
    CString GetCurrValue() override;
    FuncPropsEditInt* GetDescriptor() const { return m_pDesc; }

private:
    FuncPropsEditInt* m_pDesc;
    bool m_bSpin = false;
    int m_nSpinMin = 0, m_nSpinMax = 0;
};

class CMFCFuncPropsEditDouble : public CMFCFuncPropsBase {
public:
    CMFCFuncPropsEditDouble(FuncPropsEditDouble* desc, double value, uintptr_t data = 0);

    CString FormatProperty() override;
    bool OnUpdateValue(const CString& editText) override;
    CString GetCurrValue() override;
    FuncPropsEditDouble* GetDescriptor() const { return m_pDesc; }

    // The printf format that shows `x` with the fewest decimals, at most `precision`.
    static CString CalcPercentFormat(double x, unsigned precision) { return ::CalcPercentFormat(x, precision); }

private:
    FuncPropsEditDouble* m_pDesc;
};

class CMFCFuncPropsEditText : public CMFCFuncPropsBase {
public:
    CMFCFuncPropsEditText(FuncPropsEditText* desc, const CString& value, uintptr_t data = 0);

    bool OnUpdateValue(const CString& editText) override;
    CString GetCurrValue() override;
    // Whether `text` may be the value; `error` gets the message when not.
    virtual bool IsTextCorrect(const CString& text, CString& error);
    FuncPropsEditText* GetDescriptor() const { return m_pDesc; }

protected:
    FuncPropsEditText* m_pDesc;
};

// A channel phase: at most two of A-Z, 0-9, "+" and "-".
class CMFCFuncPropsEditTextPhase : public CMFCFuncPropsEditText {
public:
    using CMFCFuncPropsEditText::CMFCFuncPropsEditText;
    bool IsTextCorrect(const CString& text, CString& error) override;
};

// The name of a scheme input or output: not empty and not used elsewhere in the project.
class CMFCFuncPropsEditInOutName : public CMFCFuncPropsEditText {
public:
    using CMFCFuncPropsEditText::CMFCFuncPropsEditText;
    bool IsTextCorrect(const CString& text, CString& error) override;
};

class CMFCFuncPropsCombo : public CMFCFuncPropsBase {
public:
    CMFCFuncPropsCombo(FuncPropsCombo* desc, int index, uintptr_t data = 0);
    CString GetCurrValue() override;
    FuncPropsCombo* GetDescriptor() const { return m_pDesc; }

protected:
    FuncPropsCombo* m_pDesc;
};

// A choice that also puts the chosen text into a companion row.
class CMFCFuncPropsComboSpecSelect : public CMFCFuncPropsCombo {
public:
    CMFCFuncPropsComboSpecSelect(FuncPropsComboSpecSelect* desc, int index, uintptr_t data = 0);
    bool OnUpdateValue(const CString& editText) override;

private:
    FuncPropsComboSpecSelect* m_pSpecDesc;
};

// A configuration object chosen by name among the host's objects of a type.
class CMFCFuncPropsArmObjCombo : public CMFCFuncPropsBase {
public:
    CMFCFuncPropsArmObjCombo(FuncPropsArmObjCombo* desc, uintptr_t data = 0);
    CString GetCurrValue() override;
    FuncPropsArmObjCombo* GetDescriptor() const { return m_pDesc; }

private:
    FuncPropsArmObjCombo* m_pDesc;
};

// Reads a whole text as a number: sign, digits, one point and an exponent; blanks around it
// allowed; an empty text is 0. False for anything else ("abc", "1,5", "2x").
bool GridParseDouble(const CString& text, double& value);
// Reads a whole text of decimal digits with an optional leading "-" that fits int; an empty
// text is 0.
bool GridParseInt(const CString& text, int& value);
