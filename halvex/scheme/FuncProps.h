#pragma once
// Descriptors of the editable properties of scheme functions: key, caption, group, default and
// disabled values, how a value is shown, how it is written for the compiler, which properties
// it switches on or off, and which grid item edits it. Values are texts everywhere.
#include <vector>

#include "halvex/helpers/ArmObjectType.h"
#include "platform/CString.h"

class ArmDataInterface;
class CMFCFuncPropsBase;  // a property grid item
class FuncPropsEditInt;
class FuncPropsEditDouble;
class FuncPropsEditText;
class FuncPropsEditInOutName;
class FuncPropsBoolBase;
class FuncPropsCombo;
class FuncPropsArmObjCombo;

// How descriptors make their grid items. The property grid installs one; without it a
// descriptor makes no item. The caller of CreateMFCFuncPropsBase owns what it returns.
class FuncPropsItemFactory {
public:
    enum EBoolItem { eBool = 0, eCheckBox = 1, eCheckUseInOrgIspUsers = 2 };
    virtual ~FuncPropsItemFactory() = default;
    // `spin` with its range when the descriptor asks for a spin control with both limits.
    virtual CMFCFuncPropsBase* EditInt(FuncPropsEditInt* desc, int value, bool spin, int min, int max) = 0;
    virtual CMFCFuncPropsBase* EditDouble(FuncPropsEditDouble* desc, double value) = 0;
    // `phase`: the item that checks a channel phase text.
    virtual CMFCFuncPropsBase* EditText(FuncPropsEditText* desc, const CString& value, bool phase) = 0;
    virtual CMFCFuncPropsBase* EditInOutName(FuncPropsEditInOutName* desc, const CString& value) = 0;
    virtual CMFCFuncPropsBase* Bool(FuncPropsBoolBase* desc, EBoolItem item, bool value) = 0;
    virtual CMFCFuncPropsBase* Combo(FuncPropsCombo* desc, int index, bool specSelect) = 0;
    // A choice among `options` only; `value` is the chosen one, empty when none matched.
    virtual CMFCFuncPropsBase* ArmObjCombo(FuncPropsArmObjCombo* desc, const std::vector<CString>& options,
                                           const CString& value) = 0;

    static void Install(FuncPropsItemFactory* factory);
    static FuncPropsItemFactory* Installed();
};

class FuncPropsBase {
public:
    FuncPropsBase() = default;
    FuncPropsBase(const FuncPropsBase&) = default;
    FuncPropsBase& operator=(const FuncPropsBase&) = default;
    virtual ~FuncPropsBase() = default;

    virtual CString GetDefaultValue() const = 0;
    virtual void SetDefaultValue(const CString& value) = 0;
    virtual CString GetDisabledValue() const = 0;
    virtual void SetDisabledValue(const CString& value) = 0;
    virtual CString GetInfoWindowValue(const CString& value) const { return value; }
    virtual CMFCFuncPropsBase* CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) = 0;
    virtual bool IsArmObjProps() const { return false; }
    virtual EArmObjectType GetArmObjType() const { return EArmObjectType(0); }
    virtual CString GetCompilerString(const CString& value) const { return value; }
    virtual bool IsSaveInExportToBlock() const { return true; }
    virtual void GetVecDependPropNames(std::vector<CString>& names) const { names.clear(); }
    virtual void GetVecDependMinusPropNames(std::vector<CString>& names) const { names.clear(); }
    virtual bool GetValueEnableDependProps(const CString&) const { return true; }

    CString m_sKey;  // the key in the element's values and the grid item's unique name
    CString m_sCaption;
    CString m_sDescription;
    CString m_sGroup;  // empty: top level
    bool m_bHostFlag1 = false;
    bool m_bHostFlag2 = false;
    bool m_bHasDisabledValue = false;
};

class FuncPropsEditInt : public FuncPropsBase {
public:
    CString GetDefaultValue() const override;
    void SetDefaultValue(const CString& value) override;
    CString GetDisabledValue() const override;
    void SetDisabledValue(const CString& value) override;
    CMFCFuncPropsBase* CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) override;
    void SetMinValue(int value) { m_nMin = value; m_bHasMin = true; }
    void SetMaxValue(int value) { m_nMax = value; m_bHasMax = true; }

    bool m_bHasMin = false;
    bool m_bHasMax = false;
    int m_nMin = 0;
    int m_nMax = 1;
    int m_nDefault = 1;
    int m_nDisabled = 1;
    bool m_bSpin = false;
};

class FuncPropsEditInt2Double : public FuncPropsEditInt {
public:
    CString GetCompilerString(const CString& value) const override;
    double m_dMultiplier = 1.0;
};

class FuncPropsEditDouble : public FuncPropsBase {
public:
    CString GetDefaultValue() const override;
    void SetDefaultValue(const CString& value) override;
    CString GetDisabledValue() const override;
    void SetDisabledValue(const CString& value) override;
    CMFCFuncPropsBase* CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) override;
    CString GetCompilerString(const CString& value) const override;
    void SetMinValue(double value) { m_dMin = value; m_bHasMin = true; }
    void SetMaxValue(double value) { m_dMax = value; m_bHasMax = true; }

    bool m_bHasMin = false;
    bool m_bHasMax = false;
    double m_dMin = 0.0;
    double m_dMax = 1.0;
    double m_dDefault = 0.5;
    double m_dDisabled = 0.5;
    unsigned m_nPrecision = 0;  // 0: up to six decimals
};

class FuncPropsEditDouble2Int : public FuncPropsEditDouble {
public:
    CString GetCompilerString(const CString& value) const override;
    double m_dMultiplier = 1.0;
};

class FuncPropsEditText : public FuncPropsBase {
public:
    CString GetDefaultValue() const override { return m_sDefault; }
    void SetDefaultValue(const CString& value) override { m_sDefault = value; }
    CString GetDisabledValue() const override { return m_sDisabled; }
    void SetDisabledValue(const CString& value) override;
    CMFCFuncPropsBase* CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) override;

    bool m_bSilentReject = false;
    bool m_bNotEmpty = false;
    CString m_sDefault;
    CString m_sDisabled;
};

class FuncPropsEditInOutName : public FuncPropsEditText {
public:
    FuncPropsEditInOutName() { m_bNotEmpty = true; }
    CMFCFuncPropsBase* CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) override;
};

class FuncPropsArmObjBlock : public FuncPropsEditText {
public:
    CString m_sHostText;  // the host's
};

class FuncPropsBoolBase : public FuncPropsBase {
public:
    CString GetDefaultValue() const override { return m_bDefault ? m_sTrue : m_sFalse; }
    void SetDefaultValue(const CString& value) override { m_bDefault = value == m_sTrue; }
    CString GetDisabledValue() const override { return m_bDisabled ? m_sTrue : m_sFalse; }
    void SetDisabledValue(const CString& value) override;
    CMFCFuncPropsBase* CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) override;
    void GetVecDependPropNames(std::vector<CString>& names) const override { names = m_vDependProps; }
    void GetVecDependMinusPropNames(std::vector<CString>& names) const override { names = m_vDependMinusProps; }
    bool GetValueEnableDependProps(const CString& value) const override { return value == m_sTrue; }

    bool m_bDefault = false;
    bool m_bDisabled = false;
    std::vector<CString> m_vDependProps;       // enabled while this one is "1"
    std::vector<CString> m_vDependMinusProps;  // enabled while this one is "0"

    static const CString m_sTrue;   // "1"
    static const CString m_sFalse;  // "0"

protected:
    virtual FuncPropsItemFactory::EBoolItem ItemKind() const = 0;
};

class FuncPropsBool : public FuncPropsBoolBase {
protected:
    FuncPropsItemFactory::EBoolItem ItemKind() const override { return FuncPropsItemFactory::eBool; }
};

class FuncPropsCheckBox : public FuncPropsBoolBase {
protected:
    FuncPropsItemFactory::EBoolItem ItemKind() const override { return FuncPropsItemFactory::eCheckBox; }
};

class FuncPropsCheckUseInOrgIspUsers : public FuncPropsBoolBase {
protected:
    FuncPropsItemFactory::EBoolItem ItemKind() const override { return FuncPropsItemFactory::eCheckUseInOrgIspUsers; }
};

class FuncPropsCombo : public FuncPropsBase {
public:
    CString GetDefaultValue() const override;
    void SetDefaultValue(const CString& value) override;
    CString GetDisabledValue() const override;
    void SetDisabledValue(const CString& value) override;  // leaves the has-disabled flag alone
    CString GetInfoWindowValue(const CString& value) const override;
    CMFCFuncPropsBase* CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) override;

    std::vector<CString> m_vOptions;
    int m_nDefault = 0;
    int m_nDisabled = 0;
};

class FuncPropsCftCombo : public FuncPropsCombo {
public:
    CString GetCftComboItem(const CString& value) const;
    std::vector<CString> m_vCftItems;  // one per option
};

class FuncPropsComboSpecSelect : public FuncPropsCombo {
public:
    CMFCFuncPropsBase* CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) override;
    CString m_sTargetKey;
};

class FuncPropsArmObjCombo : public FuncPropsBase {
public:
    CString GetDefaultValue() const override { return CString(); }
    void SetDefaultValue(const CString&) override {}
    CString GetDisabledValue() const override { return CString(); }
    void SetDisabledValue(const CString&) override {}
    CMFCFuncPropsBase* CreateMFCFuncPropsBase(const CString& value, ArmDataInterface* host) override;
    bool IsArmObjProps() const override { return true; }
    EArmObjectType GetArmObjType() const override { return m_eArmObjType; }
    bool IsSaveInExportToBlock() const override { return false; }

    // The names offered for the descriptor's type and the one `value` selects (empty: none).
    void CollectOptions(ArmDataInterface* host, const CString& value, std::vector<CString>& options,
                        CString& selected) const;

    EArmObjectType m_eArmObjType = EArmObjectType(0);
    bool m_bSkipLocked = false;
};

// The printf format that shows `x` with the fewest decimals needed, at most `precision` (six
// when 0): "%.Nf".
CString CalcPercentFormat(double x, unsigned precision);
// The decimal integer at the start of `text` (blanks and a sign allowed; 0 without digits),
// held to the int range.
int FuncPropsToInt(const CString& text);
// The real number at the start of `text`; 0 without one.
double FuncPropsToDouble(const CString& text);
