#pragma once
// Boolean rows: the true/false choice and the check box, which switch their dependent rows on
// and off (and counter-dependent rows the other way), and the check box of an output's use in
// the users' schemes, which asks before it takes the output out of them.
#include "halvex/grid/model/MFCFuncPropsBase.h"

class CMFCFuncPropsBool : public CMFCFuncPropsBase {
public:
    CMFCFuncPropsBool(FuncPropsBoolBase* desc, bool value, uintptr_t data = 0);

    bool OnUpdateValue(const CString& editText) override;
    CString GetCurrValue() override;
    void ActionAllGridCtrl(bool useGiven, bool given) override;
    FuncPropsBoolBase* GetDescriptor() const { return m_pDesc; }

private:
    FuncPropsBoolBase* m_pDesc;
    bool m_bActing = false;
};

class CMFCFuncPropsCheckBox : public CMFCFuncPropsBase {
public:
    CMFCFuncPropsCheckBox(FuncPropsBoolBase* desc, bool value, uintptr_t data = 0);

    bool IsChecked() const { return GetValue().i != 0; }
    // The check box has no editor and no button; an update is a change of the box.
    bool OnEdit() override { return false; }
    bool HasButton() const override { return false; }
    bool OnUpdateValue(const CString& editText) override;
    CString GetCurrValue() override;
    void ActionAllGridCtrl(bool useGiven, bool given) override;

    // Input on the row: a click in the name column (inside the box or not), a double click,
    // a key. Each answers whether it was handled.
    bool OnClickName(bool inBox);
    bool OnDblClk(bool inBox);
    bool PushChar(unsigned key);

    // The box changed: the parent is told, the edit applied when edits go in at once, and the
    // dependent rows follow. False when the change was taken back.
    virtual bool OnChangeBoolValue();
    FuncPropsBoolBase* GetDescriptor() const { return m_pDesc; }

protected:
    void Toggle();

    FuncPropsBoolBase* m_pDesc;
    bool m_bActing = false;
};

class CMFCFuncPropsCheckUseInOrgIspUsers : public CMFCFuncPropsCheckBox {
public:
    using CMFCFuncPropsCheckBox::CMFCFuncPropsCheckBox;
    bool OnChangeBoolValue() override;
};
