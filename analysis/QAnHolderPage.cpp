#include "analysis/QAnHolderPage.h"

#include "model/Resources.h"
#include "model/SettingsStore.h"

QAnHolderPage::QAnHolderPage(std::initializer_list<int> holders) { m_holders.Add(holders); }

void QAnHolderPage::OnControlChanged(int id) {
    ApplyRules(id);
    UpdateControls();
}

void QAnHolderPage::Compose(int code, const CString& name) {
    Arguments args(m_holders, m_filler.window);
    const CString text = ComposeFormulaText({&args, true}, code);
    if (!text.IsEmpty()) m_items.emplace_back(text, name);
}

void QAnHolderPage::GetFormulas(std::vector<CString>& out) {
    m_items.clear();
    MakeItems();
    out.clear();
    for (const auto& item : m_items) out.push_back(item.first);
}

void QAnHolderPage::GetChannelNames(std::vector<CString>& out) {
    m_items.clear();
    MakeItems();
    out.clear();
    for (const auto& item : m_items) out.push_back(item.second);
}

bool QAnHolderPage::Has(int id) const { return m_filler.window && m_filler.window->HasControl(id); }

bool QAnHolderPage::Checked(int id) const { return Has(id) && m_filler.window->IsChecked(id); }

CString QAnHolderPage::Text(int id) const { return Has(id) ? m_filler.window->GetText(id) : CString(); }

bool QAnHolderPage::Chosen(int id) const {
    if (!Has(id)) return false;
    const CString text = Text(id);
    return !text.IsEmpty() && IsChannelPresent(*m_filler.window, id);
}

bool QAnHolderPage::AllChosen(std::initializer_list<int> ids) const {
    for (int id : ids)
        if (!Chosen(id)) return false;
    return true;
}

bool QAnHolderPage::NoneEmpty(std::initializer_list<int> ids) const {
    for (int id : ids)
        if (Text(id).IsEmpty()) return false;
    return true;
}

void QAnHolderPage::Enable(std::initializer_list<int> ids, bool enable) {
    if (!m_filler.window) return;
    for (int id : ids) m_filler.window->EnableControl(id, enable);
}

void QAnHolderPage::CheckRadio(int id, std::initializer_list<int> group) {
    if (!m_filler.window) return;
    for (int other : group)
        if (other != id) m_filler.window->SetCheck(other, false);
    m_filler.window->SetCheck(id, true);
}

void QAnHolderPage::RestoreChannels(SettingsNode& category,
                                    std::initializer_list<std::pair<int, const wchar_t*>> lists) {
    if (!m_filler.window) return;
    for (const auto& [id, key] : lists) RestoreComboSelection(*m_filler.window, category, id, key, true);
}

void QAnHolderPage::SaveChannels(SettingsNode& category, std::initializer_list<std::pair<int, const wchar_t*>> lists) {
    if (!m_filler.window) return;
    for (const auto& [id, key] : lists) SaveComboSelection(*m_filler.window, category, id, key, true);
}

void QAnHolderPage::RestoreEdits(SettingsNode& category, std::initializer_list<std::pair<int, const wchar_t*>> edits) {
    if (!m_filler.window) return;
    for (const auto& [id, key] : edits) RestoreEditText(*m_filler.window, category, id, key);
}

void QAnHolderPage::SaveEdits(SettingsNode& category, std::initializer_list<std::pair<int, const wchar_t*>> edits) {
    if (!m_filler.window) return;
    for (const auto& [id, key] : edits) SaveEditText(*m_filler.window, category, id, key);
}

void QAnHolderPage::SaveChecks(SettingsNode& category, std::initializer_list<std::pair<int, const wchar_t*>> checks) {
    for (const auto& [id, key] : checks) category.SetInt(key, Checked(id) ? 1 : 0);
}

// ---- the page with its holders ------------------------------------------------------------------

ArgumentControls* QAnHolderPage::Arguments::Of(int id) const {
    if (m_holders.HasControl(id)) return &m_holders;
    return m_page;
}

bool QAnHolderPage::Arguments::HasControl(int id) const {
    ArgumentControls* c = Of(id);
    return c && c->HasControl(id);
}

CString QAnHolderPage::Arguments::GetText(int id) const {
    ArgumentControls* c = Of(id);
    return c ? c->GetText(id) : CString();
}

bool QAnHolderPage::Arguments::IsChecked(int id) const {
    ArgumentControls* c = Of(id);
    return c && c->IsChecked(id);
}

void QAnHolderPage::Arguments::SetText(int id, const CString& text) {
    if (ArgumentControls* c = Of(id)) c->SetText(id, text);
}

void QAnHolderPage::Arguments::SetCheck(int id, bool checked) {
    if (ArgumentControls* c = Of(id)) c->SetCheck(id, checked);
}

void QAnHolderPage::Arguments::SetChoices(int id, const std::vector<CString>& entries, int selected) {
    if (ArgumentControls* c = Of(id)) c->SetChoices(id, entries, selected);
}

std::vector<CString> QAnHolderPage::Arguments::GetChoices(int id) const {
    ArgumentControls* c = Of(id);
    return c ? c->GetChoices(id) : std::vector<CString>();
}

void QAnHolderPage::Arguments::EnableControl(int id, bool enable) {
    if (ArgumentControls* c = Of(id)) c->EnableControl(id, enable);
}

bool QAnHolderPage::Arguments::IsControlEnabled(int id) const {
    ArgumentControls* c = Of(id);
    return c && c->IsControlEnabled(id);
}

void QAnHolderPage::Arguments::ShowControl(int id, bool show) {
    if (ArgumentControls* c = Of(id)) c->ShowControl(id, show);
}

bool QAnHolderPage::Arguments::IsControlShown(int id) const {
    ArgumentControls* c = Of(id);
    return c && c->IsControlShown(id);
}
