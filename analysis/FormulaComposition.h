#pragma once
// Formula texts composed from a formula item and the controls that hold its arguments. The
// formula builder shows one panel of argument controls per item code, the quick-analysis
// pages keep theirs on the page (some hidden); a control id means the same argument
// everywhere. Composition reads the controls through a small interface, so that it runs
// without windows.
#include <initializer_list>
#include <map>
#include <vector>

#include "platform/CString.h"

class CChannel;
class COscillogram;

// The argument controls of one panel or page, by control id.
class ArgumentControls {
public:
    virtual ~ArgumentControls() = default;
    virtual bool HasControl(int id) const = 0;
    // The control's window text (of a list: its chosen entry).
    virtual CString GetText(int id) const = 0;
    virtual bool IsChecked(int id) const = 0;
    virtual void SetText(int id, const CString& text) = 0;
    virtual void SetCheck(int id, bool checked) = 0;
    // Replaces the entries of a list and chooses entry `selected`.
    virtual void SetChoices(int id, const std::vector<CString>& entries, int selected) = 0;
    // The entries of a list (empty for a text or a missing control).
    virtual std::vector<CString> GetChoices(int id) const = 0;
    // What a page's choices switch on and off; a control that is missing ignores them.
    virtual void EnableControl(int /*id*/, bool /*enable*/) {}
    virtual void ShowControl(int /*id*/, bool /*show*/) {}
    virtual bool IsControlEnabled(int id) const { return HasControl(id); }
    virtual bool IsControlShown(int id) const { return HasControl(id); }
};

// Where the arguments are read from: the formula builder's panel (pageMode false) or a
// quick-analysis page (pageMode true), which read some items from other controls.
struct ArgumentFiller {
    ArgumentControls* window = nullptr;  // none: every control reads as missing
    bool pageMode = false;
};

// Ids of the two families of 24 channel lists (L1 ... L24): the builder's and the pages'.
const std::vector<int>& DialogListFamily();
const std::vector<int>& PageListFamily();
// A control that holds a channel name (a list or a text), as opposed to a number field.
bool IsChannelControl(int id);

// The text of control `id` as a formula argument (empty for a missing control): a channel
// name that is not a plain name of the formula language is put in double quotes; a number
// written with a decimal comma gets a point. Throws CTenvorikException* for a channel name
// with a double quote in it, which no formula can name.
CString GetArgumentText(const ArgumentFiller& filler, int id);

// The formula of item `itemCode` over the arguments in the controls; "0" for a code that
// has no formula. Throws as GetArgumentText.
CString ComposeFormulaText(const ArgumentFiller& filler, int itemCode);

// The item codes that compose a formula, ascending.
std::vector<int> FormulaItemCodes();
// The controls item `itemCode` reads, in the order of its arguments (the list family and the
// set of pageMode); empty for a code without a formula.
std::vector<int> ItemArgumentControls(int itemCode, bool pageMode);
// The item's formula text with "%s" for each argument; empty for a code without a formula.
CString ItemPattern(int itemCode);

// `name` as a channel argument of a formula: as it is when the formula language reads it as
// one plain name, else in double quotes. Throws CTenvorikException* for a name with a double
// quote in it, which no formula can name.
CString FormulaChannelArgument(const CString& name);

// Fills the argument controls that the panel or page has with their choices and defaults,
// the channel lists from `record` (nothing for them without one).
void FillArgumentControls(const ArgumentFiller& filler, const COscillogram* record);
// Fills channel list `id` with the record's analog channels and chooses `defaultName` when
// there is such a channel (empty: the first entry). `currentsOnly`: a list of phase currents,
// which offers only the channels that may be currents (MayBeCurrentChannel).
void FillChannelCombo(const ArgumentFiller& filler, int id, const CString& defaultName, const COscillogram* record,
                      bool currentsOnly = false);
// A channel in amperes, or one whose unit names no other quantity (none, nominal, per unit,
// a text the program does not know): not a voltage, a power, a resistance, a frequency...
bool MayBeCurrentChannel(const CChannel& ch);

// Argument controls kept in memory: the hidden holders of a page, and panels without windows.
class ArgumentControlMap final : public ArgumentControls {
public:
    // Declares control `id` (empty, unticked); the others are missing.
    void Add(int id) { m_controls[id]; }
    void Add(std::initializer_list<int> ids) {
        for (int id : ids) Add(id);
    }
    // Declares control `id` as a text field, which keeps its text when it is given list
    // entries, as an edit window does (some ids name a list on one page and a number field
    // on another).
    void AddEdit(int id) { m_controls[id].edit = true; }
    bool HasControl(int id) const override { return m_controls.count(id) != 0; }
    CString GetText(int id) const override;
    bool IsChecked(int id) const override;
    void SetText(int id, const CString& text) override;
    void SetCheck(int id, bool checked) override;
    void SetChoices(int id, const std::vector<CString>& entries, int selected) override;
    std::vector<CString> GetChoices(int id) const override;
    void EnableControl(int id, bool enable) override;
    void ShowControl(int id, bool show) override;
    bool IsControlEnabled(int id) const override;
    bool IsControlShown(int id) const override;

private:
    struct Control {
        CString text;
        bool checked = false;
        bool enabled = true;
        bool shown = true;
        bool edit = false;
        std::vector<CString> entries;
    };
    std::map<int, Control> m_controls;
};
