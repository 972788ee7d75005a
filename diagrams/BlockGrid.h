#pragma once
// The rows of the block property grid as a plain model: the block-type row, one group row per
// characteristic of the chosen block and one row per parameter. The window's property grid
// shows these rows and hands its four events here; the parameter values live in the blocks.
#include <vector>

#include "diagrams/DiagramWnd.h"
#include "diagrams/ProtectionBlock.h"

struct BlockGridRow {
    enum Kind { BlockType, Group, Parameter } kind = BlockType;
    CString name;
    int characteristic = -1;  // group and parameter rows
    int parameter = -1;       // parameter rows
};

class BlockGridModel {
public:
    // `owner` is the diagram whose blocks the grid edits; `circle` picks its settings category.
    BlockGridModel(DiagramWnd* owner, bool circle) : m_owner(owner), m_circle(circle) {}

    // After a library load: only the block-type row, offering `options`.
    void Reset(std::vector<CString> options);
    // Shows the block of that name (block 0 when none has it) with default values and makes it
    // the owner's current block.
    void Fill(const CString& name);

    // The user's events.
    void OnValueChanged(size_t row, const CString& text);
    void OnClickValue(size_t row);
    void OnCloseCombo(const CString& text);

    const std::vector<BlockGridRow>& Rows() const { return m_rows; }
    const std::vector<CString>& Options() const { return m_options; }
    const CString& BlockTypeValue() const { return m_blockType; }
    // The value a row shows: block name, nothing for a group, the parameter's value.
    CString RowValue(size_t row) const;
    // The characteristic a group or parameter row belongs to, or null.
    Characteristic* RowCharacteristic(size_t row) const;
    bool IsCircle() const { return m_circle; }
    // The block and its values belong to the active record: without one the grid shows no
    // block and takes no edit.
    void SetEditable(bool editable) { m_editable = editable; }
    bool IsEditable() const { return m_editable; }

private:
    ProtectionBlock* CurrentBlock() const;

    DiagramWnd* m_owner;
    bool m_circle;
    std::vector<BlockGridRow> m_rows{BlockGridRow{}};
    std::vector<CString> m_options;
    CString m_blockType;
    bool m_editable = true;
};
