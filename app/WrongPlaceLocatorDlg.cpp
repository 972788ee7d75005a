#include "app/WrongPlaceLocatorDlg.h"

#include <algorithm>

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/imaglist.h>
#include <wx/propgrid/propgrid.h>
#include <wx/propgrid/props.h>
#include <wx/settings.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>

#include "app/FileDialogNames.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using platform::FromWx;
using platform::ToWx;

namespace {

// Titles of the line model's file dialogs.
constexpr unsigned kLoadModelTitle = 9664, kSaveModelTitle = 9665;

using Element = WrongPlaceLocatorData::Element;

// The tree item's element.
class ElementData final : public wxTreeItemData {
public:
    explicit ElementData(Element* e) : element(e) {}
    Element* element;
};

// The status prompt of a command's string, or its tool tip (the part after the line break).
wxString CommandText(unsigned id, bool tip) {
    wxString s = ToWx(LoadResString(id));
    int nl = s.Find('\n');
    if (nl == wxNOT_FOUND) return s;
    return tip ? s.Mid(size_t(nl) + 1) : s.Left(size_t(nl));
}

wxBitmap ToolArt(const wxArtID& id) { return wxArtProvider::GetBitmap(id, wxART_TOOLBAR, wxSize(16, 16)); }

// The four images of the tree: station, section, parallel line, connection.
wxImageList* MakeTreeImages() {
    auto* list = new wxImageList(16, 16, true, 4);
    const wxColour colours[4] = {wxColour(40, 90, 170), wxColour(60, 140, 60), wxColour(170, 110, 30),
                                 wxColour(150, 40, 40)};
    for (int i = 0; i < 4; ++i) {
        wxBitmap bmp(16, 16);
        {
            wxMemoryDC dc(bmp);
            dc.SetBackground(wxBrush(wxColour(255, 0, 255)));
            dc.Clear();
            dc.SetPen(wxPen(colours[i]));
            dc.SetBrush(wxBrush(colours[i]));
            switch (i) {
                case 0: dc.DrawRectangle(2, 3, 12, 10); break;                 // a station's building
                case 1: dc.DrawRectangle(1, 7, 14, 3); break;                  // a stretch of line
                case 2: dc.DrawRectangle(1, 4, 14, 2), dc.DrawRectangle(1, 10, 14, 2); break;
                default: dc.DrawRectangle(1, 4, 14, 2), dc.DrawRectangle(7, 4, 2, 11); break;
            }
        }
        bmp.SetMask(new wxMask(bmp, wxColour(255, 0, 255)));
        list->Add(bmp);
    }
    return list;
}

wxString Filter(unsigned id) {
    wxString f = ToWx(LoadResString(id));
    while (f.EndsWith(wxS("|"))) f.RemoveLast();
    return f;
}

}  // namespace

WrongPlaceLocatorDlg::WrongPlaceLocatorDlg(wxWindow* parent, const WrongPlaceLocatorData& model,
                                           std::vector<CString> channels, bool hasDocument)
    : wxDialog(parent, IDD_WRONG_PLACE_LOCATOR, ToWx(LoadResString(9204)), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_editor(model), m_channels(LineModelEditor::ChannelChoices(channels)), m_hasDocument(hasDocument) {
    SetClientSize(ConvertDialogToPixels(wxSize(475, 275)));
    m_tree = new wxTreeCtrl(this, IDC_LINE_TREE, wxDefaultPosition, wxDefaultSize,
                            wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE | wxHSCROLL | wxBORDER_NONE);
    new wxButton(this, wxID_OK, wxS("OK"), ConvertDialogToPixels(wxPoint(310, 254)), ConvertDialogToPixels(wxSize(76, 14)));
    new wxButton(this, wxID_CANCEL, ToWx(LoadResString(485)), ConvertDialogToPixels(wxPoint(392, 254)),
                 ConvertDialogToPixels(wxSize(76, 14)));
    SetDefaultItem(FindWindow(wxID_OK));
    CreateToolbar();
    CreatePropertyGrid();
    Layout_();
    m_tree->AssignImageList(MakeTreeImages());

    Bind(wxEVT_TOOL, &WrongPlaceLocatorDlg::OnAddSection, this, ID_LINE_ADD_SECTION);
    Bind(wxEVT_TOOL, &WrongPlaceLocatorDlg::OnAddParallelLine, this, ID_LINE_ADD_PARALLEL);
    Bind(wxEVT_TOOL, &WrongPlaceLocatorDlg::OnAddConnection, this, ID_LINE_ADD_CONNECTION);
    Bind(wxEVT_TOOL, &WrongPlaceLocatorDlg::OnRemoveElement, this, ID_LINE_REMOVE);
    Bind(wxEVT_TOOL, &WrongPlaceLocatorDlg::OnMoveUp, this, ID_LINE_MOVE_UP);
    Bind(wxEVT_TOOL, &WrongPlaceLocatorDlg::OnMoveDown, this, ID_LINE_MOVE_DOWN);
    Bind(wxEVT_TOOL, &WrongPlaceLocatorDlg::OnSaveSettings, this, ID_LINE_SAVE);
    Bind(wxEVT_TOOL, &WrongPlaceLocatorDlg::OnLoadSettings, this, ID_LINE_LOAD);
    Bind(wxEVT_CHOICE, &WrongPlaceLocatorDlg::OnMethodChanged, this, IDC_METHOD_COMBO);
    m_tree->Bind(wxEVT_TREE_SEL_CHANGED, &WrongPlaceLocatorDlg::OnTreeSelChanged, this);
    m_tree->Bind(wxEVT_TREE_ITEM_EXPANDED, &WrongPlaceLocatorDlg::OnTreeItemExpanded, this);
    m_tree->Bind(wxEVT_TREE_ITEM_COLLAPSED, &WrongPlaceLocatorDlg::OnTreeItemExpanded, this);
    m_grid->Bind(wxEVT_PG_CHANGED, &WrongPlaceLocatorDlg::OnPropertyChanged, this);
    Bind(wxEVT_BUTTON, &WrongPlaceLocatorDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_PAINT, &WrongPlaceLocatorDlg::OnPaint, this);

    m_editor.FillTree(true);
    SyncTree();
    CentreOnParent();
}

void WrongPlaceLocatorDlg::CreateToolbar() {
    m_toolbar = new wxToolBar(this, IDR_LINE_TOOLBAR, wxDefaultPosition, wxDefaultSize,
                              wxTB_FLAT | wxTB_HORIZONTAL | wxTB_TEXT | wxTB_HORZ_LAYOUT | wxTB_NODIVIDER);
    m_toolbar->SetToolBitmapSize(wxSize(16, 16));
    m_method = new wxChoice(m_toolbar, IDC_METHOD_COMBO);
    for (unsigned id : {3318u, 3317u, 3316u}) m_method->Append(ToWx(LoadResString(id)));
    // 280 pixels, or what the longest method's name needs in this theme.
    m_method->SetMinSize(wxSize(std::max(280, m_method->GetBestSize().x), -1));
    m_method->SetSize(m_method->GetMinSize().x, -1);
    m_method->SetSelection(m_editor.MethodIndex());
    m_method->SetToolTip(CommandText(ID_LINE_METHOD, true));
    m_toolbar->AddControl(m_method);
    struct Tool {
        int id;
        unsigned label;  // 0: image only
        wxArtID art;
    };
    const Tool tools[] = {
        {ID_LINE_ADD_SECTION, 3512, wxART_PLUS},
        {ID_LINE_ADD_PARALLEL, 3351, wxART_PLUS},
        {ID_LINE_ADD_CONNECTION, 3344, wxART_PLUS},
        {ID_LINE_REMOVE, 0, wxART_DELETE},
        {0, 0, wxArtID()},
        {ID_LINE_MOVE_DOWN, 0, wxART_GO_DOWN},
        {ID_LINE_MOVE_UP, 0, wxART_GO_UP},
        {0, 0, wxArtID()},
        {ID_LINE_LOAD, 0, wxART_FILE_OPEN},
        {ID_LINE_SAVE, 0, wxART_FILE_SAVE},
    };
    for (const Tool& t : tools) {
        if (t.id == 0) {
            m_toolbar->AddSeparator();
            continue;
        }
        m_toolbar->AddTool(t.id, t.label ? ToWx(LoadResString(t.label)) : wxString(), ToolArt(t.art), wxNullBitmap,
                           wxITEM_NORMAL, CommandText(unsigned(t.id), true), CommandText(unsigned(t.id), false));
    }
    m_toolbar->Realize();
}

void WrongPlaceLocatorDlg::CreatePropertyGrid() {
    m_grid = new wxPropertyGrid(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxPG_BOLD_MODIFIED | wxPG_SPLITTER_AUTO_CENTER | wxBORDER_SIMPLE);
    m_grid->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    // The name column shaded, as the framework's alternative look draws it.
    m_grid->SetMarginColour(wxColour(228, 232, 240));
    m_grid->SetCellBackgroundColour(*wxWHITE);
}

void WrongPlaceLocatorDlg::Layout_() {
    // Wide enough for every tool of the bar in this theme's fonts.
    wxSize client = GetClientSize();
    const wxSize bar = m_toolbar->GetBestSize();
    if (bar.x + 20 > client.x) {
        client.x = bar.x + 20;
        SetClientSize(client);
    }
    const int W = client.x, H = client.y;
    const int T = bar.y;
    m_toolbar->SetSize(10, 10, W - 20, T);
    // The tree and the grid end above the buttons, however tall the tool bar is here.
    const int buttonsTop = FindWindow(wxID_OK)->GetPosition().y;
    m_tree->SetSize(11, T + 21, W / 3 - 22, std::min(H - 92, buttonsTop - 10 - (T + 21)));
    m_grid->SetSize(W / 3, T + 20, 2 * W / 3 - 10, std::min(H - 90, buttonsTop - 10 - (T + 20)));
    FindWindow(wxID_OK)->Move(W - ConvertDialogToPixels(wxSize(165, 0)).x, buttonsTop);
    FindWindow(wxID_CANCEL)->Move(W - ConvertDialogToPixels(wxSize(83, 0)).x, buttonsTop);
}

void WrongPlaceLocatorDlg::SyncTree() {
    m_syncing = true;
    m_tree->Freeze();
    m_tree->DeleteAllItems();
    const wxTreeItemId root = m_tree->AddRoot(wxString());
    const auto& nodes = m_editor.Nodes();
    std::vector<wxTreeItemId> items(nodes.size());
    wxTreeItemId selected;
    for (size_t i = 0; i < nodes.size(); ++i) {
        const auto& n = nodes[i];
        const wxTreeItemId parent = n.parent < 0 ? root : items[size_t(n.parent)];
        items[i] = m_tree->AppendItem(parent, ToWx(n.label), n.image, n.image, new ElementData(n.element));
        n.element->treeItem = items[i].GetID();
        if (n.element == m_editor.Selected()) selected = items[i];
    }
    // Expanded as the elements remember, from the leaves up so that a collapsed parent stays so.
    for (size_t i = nodes.size(); i-- > 0;)
        if (m_tree->HasChildren(items[i])) {
            if (nodes[i].element->expanded)
                m_tree->Expand(items[i]);
            else
                m_tree->Collapse(items[i]);
        }
    if (selected.IsOk()) {
        m_tree->SelectItem(selected);
        m_tree->EnsureVisible(selected);
    }
    m_tree->Thaw();
    m_syncing = false;
    FillPropertyGrid();
    UpdateToolbarState();
}

void WrongPlaceLocatorDlg::FillPropertyGrid() {
    if (!m_editor.Selected()) return;
    m_grid->Clear();
    int i = 0;
    for (const auto& row : m_editor.Rows()) {
        const wxString name = wxString::Format(wxS("p%d"), i++);
        wxPGProperty* p;
        if (row.channel && m_hasDocument) {
            // Only a channel of the record can be chosen; nothing is typed.
            wxPGChoices choices;
            for (const CString& ch : m_channels) choices.Add(ToWx(ch));
            p = new wxEnumProperty(ToWx(row.name), name, choices);
            const int at = choices.Index(ToWx(row.value));
            if (at != wxNOT_FOUND) p->SetChoiceSelection(at);
            else p->SetValueToUnspecified();
        } else {
            p = new wxStringProperty(ToWx(row.name), name, ToWx(row.value));
        }
        m_grid->Append(p);
    }
    // The names are read whole.
    m_grid->SetSplitterLeft();
    m_grid->Refresh();
}

void WrongPlaceLocatorDlg::UpdateToolbarState() {
    if (!m_editor.Selected()) return;
    const auto c = m_editor.Available();
    m_toolbar->EnableTool(ID_LINE_ADD_SECTION, c.addSection);
    m_toolbar->EnableTool(ID_LINE_ADD_PARALLEL, c.addParallelLine);
    m_toolbar->EnableTool(ID_LINE_ADD_CONNECTION, c.addConnection);
    m_toolbar->EnableTool(ID_LINE_REMOVE, c.remove);
    m_toolbar->EnableTool(ID_LINE_MOVE_DOWN, c.moveDown);
    m_toolbar->EnableTool(ID_LINE_MOVE_UP, c.moveUp);
    m_toolbar->Refresh();
}

void WrongPlaceLocatorDlg::OnAddSection(wxCommandEvent&) {
    m_editor.AddSection();
    SyncTree();
}

void WrongPlaceLocatorDlg::OnAddParallelLine(wxCommandEvent&) {
    m_editor.AddParallelLine();
    SyncTree();
}

void WrongPlaceLocatorDlg::OnAddConnection(wxCommandEvent&) {
    m_editor.AddConnection();
    SyncTree();
}

void WrongPlaceLocatorDlg::OnRemoveElement(wxCommandEvent&) {
    m_editor.RemoveSelected();
    SyncTree();
}

void WrongPlaceLocatorDlg::OnMoveUp(wxCommandEvent&) {
    m_editor.MoveSelectedUp();
    SyncTree();
}

void WrongPlaceLocatorDlg::OnMoveDown(wxCommandEvent&) {
    m_editor.MoveSelectedDown();
    SyncTree();
}

void WrongPlaceLocatorDlg::OnLoadSettings(wxCommandEvent&) {
    wxFileDialog dlg(this, ToWx(LoadResString(kLoadModelTitle)), wxString(), wxString(), Filter(3511),
                     wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dlg.ShowModal() != wxID_OK) return;
    const CString path = FromWx(dlg.GetPath());
    CString error;
    CString text;
    switch (m_editor.Load(path, &error)) {
        case LineModelEditor::LoadResult::Loaded:
            if (m_editor.MethodIndex() >= 0) m_method->SetSelection(m_editor.MethodIndex());
            SyncTree();
            return;
        case LineModelEditor::LoadResult::Unreadable:
            text.Format(LoadResString(9207).GetString(), path, error);
            break;
        case LineModelEditor::LoadResult::NotALineModel:
            text.Format(LoadResString(9205).GetString(), path);
            break;
    }
    platform::Ui().MessageBox(text, CString(), MB_OK | MB_ICONERROR);
}

void WrongPlaceLocatorDlg::OnSaveSettings(wxCommandEvent&) {
    wxFileDialog dlg(this, ToWx(LoadResString(kSaveModelTitle)), wxString(), wxString(), Filter(3511), wxFD_SAVE);
    if (dlg.ShowModal() != wxID_OK) return;
    wxString chosen = dlg.GetPath();
    if (wxFileName(chosen).GetExt().empty() && dlg.GetFilterIndex() == 0) chosen += wxS(".omp");
    const CString path = FromWx(chosen);
    // An existing file is replaced only when the user says so.
    if (wxFileExists(chosen)) {
        CString q;
        q.Format(LoadResString(9206).GetString(), path);
        if (platform::Ui().MessageBox(q, CString(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    }
    CString error;
    if (!m_editor.Save(path, &error)) {
        CString text;
        text.Format(LoadResString(9208).GetString(), path, error);
        platform::Ui().MessageBox(text, CString(), MB_OK | MB_ICONERROR);
    }
}

void WrongPlaceLocatorDlg::OnMethodChanged(wxCommandEvent&) {
    m_editor.SetMethodIndex(m_method->GetSelection());
    m_tree->SetFocus();
    SyncTree();
}

void WrongPlaceLocatorDlg::OnTreeSelChanged(wxTreeEvent& event) {
    if (m_syncing) return;
    auto* data = static_cast<ElementData*>(m_tree->GetItemData(event.GetItem()));
    if (!data || !m_editor.Select(data->element)) return;
    FillPropertyGrid();
    UpdateToolbarState();
}

void WrongPlaceLocatorDlg::OnTreeItemExpanded(wxTreeEvent& event) {
    if (m_syncing) return;
    auto* data = static_cast<ElementData*>(m_tree->GetItemData(event.GetItem()));
    if (data) m_editor.SetExpanded(data->element, event.GetEventType() == wxEVT_TREE_ITEM_EXPANDED);
}

void WrongPlaceLocatorDlg::OnPropertyChanged(wxPropertyGridEvent& event) {
    wxPGProperty* p = event.GetProperty();
    if (!p) return;
    m_editor.SetValue(FromWx(p->GetLabel()), FromWx(p->GetValueAsString()));
}

void WrongPlaceLocatorDlg::OnOK(wxCommandEvent&) {
    // A value still being typed counts.
    m_grid->CommitChangesFromEditor();
    if (!m_editor.Validate()) return;
    EndModal(wxID_OK);
}

void WrongPlaceLocatorDlg::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    // A thin frame around the tree.
    wxRect r = m_tree->GetRect().Inflate(1);
    dc.SetPen(wxPen(wxColour(171, 173, 179)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(r);
}
