#pragma once
// What the formula builder shows and decides, without windows: the tree of functions a user
// picks from, the argument panel of each item (made from the controls its formula reads, so
// every item has one), the checks a new channel name must pass, and the dialog's state from
// opening to OK. The dialog window only lays out what this gives and passes clicks on.
#include <vector>

#include "analysis/FormulaComposition.h"
#include "platform/CString.h"

class COscillogram;

// One entry of the function tree: a category (code 0) or an item with its item code.
struct FormulaTreeEntry {
    unsigned textId = 0;              // string resource of the text, or 0 ...
    const wchar_t* literal = nullptr;  // ... for a text that is the same in every language
    int code = 0;
    std::vector<FormulaTreeEntry> children;

    CString GetText() const;
};

// The tree's top entries in their order.
const std::vector<FormulaTreeEntry>& FormulaFunctionTree();
// Every item code of the tree, in tree order (a code may appear once only).
std::vector<int> FormulaTreeCodes();

enum class ArgumentKind {
    Channel,  // a channel of the record, chosen from a list
    Choice,   // a number chosen from a list (harmonic number, connection group, ...)
    Number,   // a number typed in
    Check,    // a tick
    Formula,  // the free formula text
};

struct ArgumentField {
    int id = 0;
    ArgumentKind kind = ArgumentKind::Number;
    CString label;
};

// The argument panel of an item: one field per control its formula reads in the builder,
// in argument order; empty for a code without a formula.
std::vector<ArgumentField> ArgumentPanelFields(int itemCode);

// Whether `name` may name a new calculated channel: 0 when it may, else the string
// resource of the reason. Refused are an empty name, one not starting with a letter, one with
// a comma (the lists keep "name,formula"), a double quote (no formula could name it) or a
// line break, and one equal (case-sensitive) to a channel of the record or to a name in
// `otherNames`.
unsigned CheckChannelName(const CString& name, const COscillogram* record, const std::vector<CString>& otherNames);
// The same without the comparison with the record's channels.
unsigned CheckChannelNameText(const CString& name);

// The formula-builder dialog without its window.
class FormulaBuilderModel {
public:
    // `takenNames`: the names of the calculated-channel list the new one joins.
    FormulaBuilderModel(const CString& initialName, const COscillogram* record, std::vector<CString> takenNames);

    // Shows the panel of `code` (0: none, as for a category), with its controls filled.
    void ShowPanel(int code);
    int GetCode() const { return m_code; }
    // OK is offered only while an item's panel is on show.
    bool CanConfirm() const { return m_code != 0; }
    const std::vector<ArgumentField>& GetFields() const { return m_fields; }
    ArgumentControlMap& Panel() { return m_panel; }

    void SetName(const CString& name) { m_name = name; }
    const CString& GetName() const { return m_name; }
    // OK: 0 with the formula composed when the name passes, else the string resource of the
    // reason, and the dialog stays open. Composition errors (a channel whose name cannot be
    // put in a formula) raise CTenvorikException*.
    unsigned Confirm();
    const CString& GetFormula() const { return m_formula; }

private:
    CString m_name;
    const COscillogram* m_record;
    std::vector<CString> m_taken;
    int m_code = 0;
    std::vector<ArgumentField> m_fields;
    ArgumentControlMap m_panel;
    CString m_formula;
};
