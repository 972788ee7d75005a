#pragma once
// The formula-editor page of the quick-analysis sheet without its window: a working copy of
// the record's calculated-channel list as rows of name and formula, edited in place, and
// handed over whole when the sheet is confirmed. Nothing of the record changes before that,
// so that cancelling the sheet leaves the record as it was.
#include <vector>

#include "analysis/CalcChannels.h"
#include "analysis/QuickAnalysis.h"

struct FormulaRow {
    CString name, formula;
};

class FormulaEditorModel final : public CQAnPropPg {
public:
    // `record` and `documentList` are the record's and its list, read here and never changed.
    FormulaEditorModel(const COscillogram* record, const CalcChannels& documentList);

    // --- page
    CString GetPageKey() const override { return L"FormulaEditorPage"; }
    void GetFormulas(std::vector<CString>& out) override;
    void GetChannelNames(std::vector<CString>& out) override;
    QAnDiagramOptions GetDiagramOptions() override;

    // --- rows
    const std::vector<FormulaRow>& Rows() const { return m_rows; }
    int GetSelected() const { return m_selected; }
    void Select(int row) { m_selected = row >= 0 && size_t(row) < m_rows.size() ? row : -1; }
    bool IsModified() const { return m_modified; }

    // The name the builder proposes for a new row: "Канал<n>" with n one above the largest
    // number that ends a row's name.
    CString ProposedName() const;
    // The names a new or renamed row must not take: every other row's.
    std::vector<CString> NamesExcept(int row) const;
    // Appends a row and selects it.
    void Append(const CString& name, const CString& formula);
    // The selected row goes; the row now in its place (else the last) is selected.
    void RemoveSelected();
    void RemoveAll();
    // The selected row changes place with its neighbour and stays selected.
    void MoveUp();
    void MoveDown();
    // A cell edited in place (column 0 the name, 1 the formula): 0 when taken, else the string
    // resource of the reason the name is refused, and the cell keeps its text.
    unsigned EditCell(int row, int column, const CString& text);

    // --- ".frm" lists, the file asked of the user; errors are reported to the user
    void ImportList();
    void ExportList();
    // The same with a path: the rows replaced by the file's (throws CException*, rows kept),
    // returning the lines skipped; the rows written (throws, an existing file kept whole).
    size_t ImportFile(const CString& path);
    void ExportFile(const CString& path) const;

private:
    bool IsNameOfRecordChannel(const CString& name) const;
    // The rows as a list with no record behind it, for the ".frm" exchange.
    CalcChannels WorkingList() const;
    void TakeRows(const CalcChannels& list);

    const COscillogram* m_record;
    std::vector<CString> m_documentNames;
    std::vector<FormulaRow> m_rows;
    int m_selected = -1;
    bool m_modified = false;
};
