#include "diagrams/BlockGrid.h"

#include "document/TenvorikDoc.h"
#include "model/Resources.h"

void BlockGridModel::Reset(std::vector<CString> options) {
    m_options = std::move(options);
    m_rows.assign(1, BlockGridRow{BlockGridRow::BlockType, LoadResString(3483), -1, -1});
    m_blockType.Empty();
}

ProtectionBlock* BlockGridModel::CurrentBlock() const {
    std::vector<ProtectionBlock>& blocks = m_owner->GetBlocks();
    const int i = m_owner->GetCurrentBlockIndex();
    return i >= 0 && size_t(i) < blocks.size() ? &blocks[size_t(i)] : nullptr;
}

void BlockGridModel::Fill(const CString& name) {
    std::vector<ProtectionBlock>& blocks = m_owner->GetBlocks();
    if (blocks.empty()) return;
    size_t found = 0;
    while (found < blocks.size() && blocks[found].name != name) ++found;
    if (found == blocks.size()) found = 0;
    m_owner->SetCurrentBlockIndex(int(found));
    m_rows.resize(1);
    m_rows[0].name = LoadResString(3483);
    ProtectionBlock& block = blocks[found];
    for (size_t c = 0; c < block.characteristics.size(); ++c) {
        Characteristic& ch = block.characteristics[c];
        m_rows.push_back({BlockGridRow::Group, ch.name, int(c), -1});
        for (size_t p = 0; p < ch.parameters.size(); ++p) {
            ch.parameters[p].value = ch.parameters[p].defaultValue;
            m_rows.push_back({BlockGridRow::Parameter, ch.parameters[p].name, int(c), int(p)});
        }
    }
    m_owner->UpdateCurrentBlock();
    m_blockType = block.name;
}

CString BlockGridModel::RowValue(size_t row) const {
    if (row >= m_rows.size()) return CString();
    const BlockGridRow& r = m_rows[row];
    if (r.kind == BlockGridRow::BlockType) return m_blockType;
    if (r.kind == BlockGridRow::Group) return CString();
    Characteristic* ch = RowCharacteristic(row);
    return ch && size_t(r.parameter) < ch->parameters.size() ? ch->parameters[size_t(r.parameter)].value : CString();
}

Characteristic* BlockGridModel::RowCharacteristic(size_t row) const {
    if (row >= m_rows.size() || m_rows[row].characteristic < 0) return nullptr;
    ProtectionBlock* block = CurrentBlock();
    const size_t c = size_t(m_rows[row].characteristic);
    return block && c < block->characteristics.size() ? &block->characteristics[c] : nullptr;
}

void BlockGridModel::OnValueChanged(size_t row, const CString& text) {
    if (!m_editable || row == 0 || row >= m_rows.size() || m_rows[row].kind != BlockGridRow::Parameter) return;
    Characteristic* ch = RowCharacteristic(row);
    if (!ch || size_t(m_rows[row].parameter) >= ch->parameters.size()) return;
    ch->parameters[size_t(m_rows[row].parameter)].value = text;
    m_owner->UpdateCurrentBlock();
    m_owner->SaveSelectedBlock();
}

void BlockGridModel::OnClickValue(size_t row) {
    if (!m_editable || row >= m_rows.size() || m_rows[row].kind == BlockGridRow::Parameter) return;
    if (Characteristic* ch = RowCharacteristic(row)) {
        ch->visible = !ch->visible;
        if (CTenvorikDoc* doc = m_owner->GetActiveDocument()) doc->SetModifiedFlag(true);
        m_owner->Invalidate();
    }
    m_owner->SaveSelectedBlock();
}

void BlockGridModel::OnCloseCombo(const CString& text) {
    if (!m_editable) return;
    Fill(text);
    m_owner->SaveSelectedBlock();
}
