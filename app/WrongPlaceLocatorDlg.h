#pragma once
// The line-model editor: the method, the tree of stations, sections, parallel lines and
// connections, the parameters of the selected element, and the line-model files. A window
// over LineModelEditor, which holds the copy being edited and every rule.
#include <wx/dialog.h>

#include <vector>

#include "faultloc/LineModelEditor.h"

class wxChoice;
class wxPropertyGrid;
class wxPropertyGridEvent;
class wxToolBar;
class wxTreeCtrl;
class wxTreeEvent;

enum : int {
    IDD_WRONG_PLACE_LOCATOR = 336,
    IDC_LINE_TREE = 1074,
    IDC_METHOD_COMBO = 1075,
    IDR_LINE_TOOLBAR = 475,
    ID_LINE_METHOD = 32870,
    ID_LINE_ADD_SECTION = 32871,
    ID_LINE_ADD_PARALLEL = 32872,
    ID_LINE_ADD_CONNECTION = 32873,
    ID_LINE_REMOVE = 32874,
    ID_LINE_MOVE_UP = 32875,
    ID_LINE_MOVE_DOWN = 32876,
    ID_LINE_SAVE = 32877,
    ID_LINE_LOAD = 32878,
};

class WrongPlaceLocatorDlg : public wxDialog {
public:
    // `channels`: the names of the active record's channels, offered for channel parameters;
    // with `hasDocument` false the channel parameters are plain text fields.
    WrongPlaceLocatorDlg(wxWindow* parent, const WrongPlaceLocatorData& model, std::vector<CString> channels,
                         bool hasDocument = true);

    const WrongPlaceLocatorData& GetModel() const { return m_editor.Model(); }
    LineModelEditor& Editor() { return m_editor; }

    // The window shows the editor's state again (tree, selection, grid, tool bar).
    void SyncTree();
    void FillPropertyGrid();
    void UpdateToolbarState();

private:
    void CreateToolbar();
    void CreatePropertyGrid();
    void Layout_();

    void OnAddSection(wxCommandEvent&);
    void OnAddParallelLine(wxCommandEvent&);
    void OnAddConnection(wxCommandEvent&);
    void OnRemoveElement(wxCommandEvent&);
    void OnMoveUp(wxCommandEvent&);
    void OnMoveDown(wxCommandEvent&);
    void OnSaveSettings(wxCommandEvent&);
    void OnLoadSettings(wxCommandEvent&);
    void OnMethodChanged(wxCommandEvent&);
    void OnTreeSelChanged(wxTreeEvent& event);
    void OnTreeItemExpanded(wxTreeEvent& event);
    void OnPropertyChanged(wxPropertyGridEvent& event);
    void OnOK(wxCommandEvent&);
    void OnPaint(wxPaintEvent& event);

    LineModelEditor m_editor;
    std::vector<CString> m_channels;
    bool m_hasDocument;
    wxToolBar* m_toolbar = nullptr;
    wxChoice* m_method = nullptr;
    wxTreeCtrl* m_tree = nullptr;
    wxPropertyGrid* m_grid = nullptr;
    bool m_syncing = false;
};
