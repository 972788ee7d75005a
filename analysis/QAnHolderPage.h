#pragma once
// The common ground of the quick-analysis pages that compose their formulas from item codes:
// intermediate channel names go into argument holders the user never sees, each code is
// composed over the page's controls with those holders in front of them, and the page's
// choices are read as a user sees them (a channel list that shows "Канал отсутствует" has
// nothing chosen).
#include <initializer_list>
#include <utility>
#include <vector>

#include "analysis/QuickAnalysis.h"

class SettingsNode;

class QAnHolderPage : public CQAnPropPg {
public:
    // Declares the page's holders; they start empty.
    explicit QAnHolderPage(std::initializer_list<int> holders);

    // A control of the page was changed by the user: the page's rules follow and the OK
    // button is judged again.
    void OnControlChanged(int id);

    // The text a holder carries into the formulas.
    CString GetHolderText(int id) const { return m_holders.GetText(id); }

protected:
    // What the page does about a change of `id`, before the OK button is judged.
    virtual void ApplyRules(int /*id*/) {}

    void SetHolder(int id, const CString& text) { m_holders.SetText(id, text); }
    // Composes item `code` over the page with its holders; a produced channel `name` goes with it.
    void Compose(int code, const CString& name);
    // Starts a GetFormulas / GetChannelNames pass: the page's items are made afresh.
    virtual void MakeItems() = 0;
    const std::vector<std::pair<CString, CString>>& Items() const { return m_items; }

    // --- the page's controls
    bool Has(int id) const;
    bool Checked(int id) const;
    CString Text(int id) const;
    // A channel list with a channel chosen: it exists and shows neither nothing nor
    // "Канал отсутствует".
    bool Chosen(int id) const;
    bool AllChosen(std::initializer_list<int> ids) const;
    bool NoneEmpty(std::initializer_list<int> ids) const;
    void Enable(std::initializer_list<int> ids, bool enable);
    // Ticks radio `id` and clears the others of its group.
    void CheckRadio(int id, std::initializer_list<int> group);

    // --- the page's choices in its settings category
    // Channel lists, each under a sub-category holding "channelName".
    void RestoreChannels(SettingsNode& category, std::initializer_list<std::pair<int, const wchar_t*>> lists);
    void SaveChannels(SettingsNode& category, std::initializer_list<std::pair<int, const wchar_t*>> lists);
    void RestoreEdits(SettingsNode& category, std::initializer_list<std::pair<int, const wchar_t*>> edits);
    void SaveEdits(SettingsNode& category, std::initializer_list<std::pair<int, const wchar_t*>> edits);
    // Check boxes and radios as 1 or 0.
    void SaveChecks(SettingsNode& category, std::initializer_list<std::pair<int, const wchar_t*>> checks);

public:
    void GetFormulas(std::vector<CString>& out) override;
    void GetChannelNames(std::vector<CString>& out) override;

private:
    // The page's controls with the holders in front of them.
    class Arguments final : public ArgumentControls {
    public:
        Arguments(ArgumentControlMap& holders, ArgumentControls* page) : m_holders(holders), m_page(page) {}
        bool HasControl(int id) const override;
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
        // The holder, else the page's control; a page without a window has no controls.
        ArgumentControls* Of(int id) const;
        ArgumentControlMap& m_holders;
        ArgumentControls* m_page;
    };

    ArgumentControlMap m_holders;
    std::vector<std::pair<CString, CString>> m_items;  // {formula, name}
};
