#include "diagrams/ui/BlockPropertyGrid.h"

#include <wx/dcmemory.h>
#include <wx/propgrid/props.h>
#include <wx/renderer.h>

#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using platform::ToWx;

BlockPropertyGrid::BlockPropertyGrid(wxWindow* parent, wxWindowID id, BlockGridModel& model)
    : wxPropertyGrid(parent, id, wxDefaultPosition, wxDefaultSize, wxPG_SPLITTER_AUTO_CENTER | wxPG_BOLD_MODIFIED,
                     wxS("blockgrid")),
      m_model(model) {
    Bind(wxEVT_PG_CHANGED, &BlockPropertyGrid::OnChanged, this);
    // The grid's own window takes the mouse; its events are looked at there.
    GetPanel()->Bind(wxEVT_LEFT_DOWN, &BlockPropertyGrid::OnLeftDown, this);
    GetPanel()->Bind(wxEVT_LEFT_DCLICK, &BlockPropertyGrid::OnDoubleClick, this);
    Rebuild();
}

wxBitmap BlockPropertyGrid::GroupImage(const Characteristic& c) const {
    wxBitmap bmp(13, 13);
    wxMemoryDC dc(bmp);
    const COLORREF pen = CharacteristicPenColor(c.colorIndex), fill = CharacteristicFillColor(c.colorIndex);
    dc.SetPen(wxPen(wxColour(GetRValue(pen), GetGValue(pen), GetBValue(pen))));
    dc.SetBrush(wxBrush(wxColour(GetRValue(fill), GetGValue(fill), GetBValue(fill))));
    dc.DrawRectangle(0, 0, 13, 13);
    if (c.visible) wxRendererNative::Get().DrawCheckMark(const_cast<BlockPropertyGrid*>(this), dc, wxRect(1, 1, 11, 11));
    dc.SelectObject(wxNullBitmap);
    return bmp;
}

void BlockPropertyGrid::Rebuild() {
    Freeze();
    Clear();
    m_props.clear();
    wxPGProperty* group = nullptr;
    const auto& rows = m_model.Rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const BlockGridRow& row = rows[i];
        const wxString name = wxString::Format(wxS("row%zu"), i);
        wxPGProperty* p = nullptr;
        if (row.kind == BlockGridRow::BlockType) {
            wxPGChoices choices;
            for (const CString& o : m_model.Options()) choices.Add(ToWx(o));
            const wxString value = ToWx(m_model.BlockTypeValue());
            const int sel = choices.Index(value);
            p = Append(new wxEnumProperty(ToWx(row.name), name, choices, sel >= 0 ? choices.GetValue(unsigned(sel)) : 0));
            p->SetHelpString(ToWx(LoadResString(3484)));
        } else if (row.kind == BlockGridRow::Group) {
            group = Append(new wxStringProperty(ToWx(row.name), name, wxEmptyString));
            if (Characteristic* c = m_model.RowCharacteristic(i)) {
                wxBitmap image = GroupImage(*c);
                group->SetValueImage(image);
            }
            group->ChangeFlag(wxPG_PROP_READONLY, true);
            p = group;
        } else {
            p = new wxStringProperty(ToWx(row.name), name, ToWx(m_model.RowValue(i)));
            p = group ? AppendIn(group, p) : Append(p);
        }
        m_props.push_back(p);
    }
    ExpandAll();
    Thaw();
    Enable(m_model.IsEditable());
}

int BlockPropertyGrid::RowOf(wxPGProperty* p) const {
    for (size_t i = 0; i < m_props.size(); ++i)
        if (m_props[i] == p) return int(i);
    return -1;
}

void BlockPropertyGrid::OnChanged(wxPropertyGridEvent& e) {
    const int row = RowOf(e.GetProperty());
    if (row < 0) return;
    if (row == 0) {
        // Choosing a block closes the list: the block is shown with its defaults and stored.
        m_model.OnCloseCombo(platform::FromWx(e.GetProperty()->GetValueAsString()));
        CallAfter([this] { Rebuild(); });
        return;
    }
    m_model.OnValueChanged(size_t(row), platform::FromWx(e.GetProperty()->GetValueAsString()));
}

void BlockPropertyGrid::OnLeftDown(wxMouseEvent& e) {
    e.Skip();
    const wxPropertyGridHitTestResult hit = HitTest(e.GetPosition());
    const int row = RowOf(hit.GetProperty());
    if (row < 0 || hit.GetColumn() != 1 || m_model.Rows()[size_t(row)].kind == BlockGridRow::Parameter) return;
    m_model.OnClickValue(size_t(row));
    if (Characteristic* c = m_model.RowCharacteristic(size_t(row))) {
        wxBitmap image = GroupImage(*c);
        hit.GetProperty()->SetValueImage(image);
        RefreshProperty(hit.GetProperty());
    }
}

void BlockPropertyGrid::OnDoubleClick(wxMouseEvent& e) {
    // Group rows do not fold and the block-type row does not open on a double click.
    const int row = RowOf(HitTest(e.GetPosition()).GetProperty());
    if (row >= 0 && m_model.Rows()[size_t(row)].kind != BlockGridRow::Parameter) return;
    e.Skip();
}
