#include "app/MultiplierTable.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "document/TenvorikDoc.h"
#include "model/ChannelCollection.h"
#include "model/Resources.h"

namespace {

constexpr unsigned kRatioRefused = 9751;

CString FormatValue(double v) {
    CString s;
    s.Format(L"%g", v);
    return s;
}

}  // namespace

bool ParseRatio(const CString& text, double& value) {
    CString t = text;
    t.Trim();
    // A decimal comma is what a Russian keyboard gives.
    t.Replace(L",", L".");
    if (t.IsEmpty()) return false;
    wchar_t* end = nullptr;
    const double v = std::wcstod(t.GetString(), &end);
    if (!end || *end != 0 || !std::isfinite(v) || v <= 0.0) return false;
    value = v;
    return true;
}

MultiplierTable::MultiplierTable(const CChannelCollection& channels) {
    const size_t analog = std::min(channels.m_channels.size(), size_t(std::max(channels.m_analogCount, 0)));
    for (size_t i = 0; i < analog; ++i) {
        const CChannel& ch = channels.m_channels[i];
        if (ch.IsDiscrete() || ch.IsCalculated()) continue;
        m_rows.push_back(Row{i, ch.GetName(), {FormatValue(ch.m_primary), FormatValue(ch.m_secondary)}, 0});
    }
}

CString MultiplierTable::CellText(int row, int col) const {
    if (row < 0 || size_t(row) >= m_rows.size() || col < 0 || col > 2) return CString();
    return col == 0 ? m_rows[size_t(row)].name : m_rows[size_t(row)].values[col - 1];
}

bool MultiplierTable::IsMarked(int row, int col) const {
    if (row < 0 || size_t(row) >= m_rows.size() || col < 1 || col > 2) return false;
    return (m_rows[size_t(row)].marks >> (col - 1)) & 1u;
}

bool MultiplierTable::StartEdit(int row, int col, bool shift) {
    if (row < 0 || size_t(row) >= m_rows.size() || col < 0 || col > 2) return false;
    m_editRow = row;
    m_editCol = col;
    if (shift) {
        const int last = m_lastCol < 0 ? col : m_lastCol;
        const int lo = std::min(last, col), hi = std::max(last, col);
        unsigned marks = 0;
        for (int c = std::max(lo, 1); c <= hi; ++c) marks |= 1u << (c - 1);
        const int lastRow = m_lastRow < 0 ? row : m_lastRow;
        for (int r = std::min(lastRow, row); r <= std::max(lastRow, row); ++r) m_rows[size_t(r)].marks = marks;
    }
    if (col == 0) {
        m_editRow = m_editCol = -1;
        return false;
    }
    m_rows[size_t(row)].marks |= 1u << (col - 1);
    return true;
}

bool MultiplierTable::CommitEdit(const CString& text, bool ctrl, CString* error) {
    if (m_editRow < 0) return true;
    bool accepted = true;
    if (text != CellText(m_editRow, m_editCol)) {
        double v = 0.0;
        if (ParseRatio(text, v)) {
            m_changed = true;
            for (Row& r : m_rows)
                for (int c = 0; c < 2; ++c)
                    if ((r.marks >> c) & 1u) r.values[c] = text;
        } else {
            accepted = false;
            if (error) error->Format(LoadResString(kRatioRefused).GetString(), text.GetString());
        }
    }
    m_lastRow = m_editRow;
    m_lastCol = m_editCol;
    if (!ctrl)
        for (Row& r : m_rows) r.marks = 0;
    m_editRow = m_editCol = -1;
    return accepted;
}

bool MultiplierTable::DiffersFrom(const CChannelCollection& channels) const {
    for (const Row& r : m_rows) {
        if (r.channel >= channels.m_channels.size()) continue;
        const CChannel& ch = channels.m_channels[r.channel];
        double p = ch.m_primary, s = ch.m_secondary;
        ParseRatio(r.values[0], p);
        ParseRatio(r.values[1], s);
        if (p != ch.m_primary || s != ch.m_secondary) return true;
    }
    return false;
}

bool MultiplierTable::Apply(CChannelCollection& channels) const {
    bool changed = false;
    for (const Row& r : m_rows) {
        if (r.channel >= channels.m_channels.size()) continue;
        CChannel& ch = channels.m_channels[r.channel];
        double p = ch.m_primary, s = ch.m_secondary;
        ParseRatio(r.values[0], p);
        ParseRatio(r.values[1], s);
        if (p == ch.m_primary && s == ch.m_secondary) continue;
        ch.m_primary = p;
        ch.m_secondary = s;
        changed = true;
    }
    return changed;
}

bool RunRatioEdit(CTenvorikDoc& doc, const std::function<bool(MultiplierTable&)>& edit) {
    MultiplierTable table(doc.GetOscillogram());
    if (!edit || !edit(table) || !table.IsChanged()) return false;
    COscillogram& osc = doc.GetOscillogram();
    if (!table.DiffersFrom(osc) || !doc.PushUndo()) return false;
    // The caller recalculates every channel and what follows from them.
    return table.Apply(doc.GetOscillogram());
}
