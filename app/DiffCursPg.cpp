#include "app/DiffCursPg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tokenzr.h>

#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "platform/ui/WxUiServices.h"

using namespace diffpage;
using platform::ToWx;

namespace {

constexpr unsigned kStrTitle = 9977;
constexpr unsigned kStrTexts = 9978;
constexpr unsigned kStrArmScaling = 168;
constexpr unsigned kStrConnectionGroup = 173;

// The page's texts, in the order the string holds them.
enum Text {
    TArmCount, TPhaseCount, TCurrentArm, TIa, TIb, TIc, TByCoeff, TByCtRatio, TByPower, TByRatedCurrent, TKpriv, TKtt,
    TKttBase, TSnom, TUnom, TInom, TGroupNone, TGroupBySequence, TGroupTriangle, TGroup, TRemoveI0, TBrakeBySum,
    TBrakeBySub, TBrakeByMax, TKbrake, TBrakeBox, TextCount
};

wxString PageText(int which) {
    static const wxArrayString texts = wxStringTokenize(ToWx(LoadResString(kStrTexts)), wxS("\n"), wxTOKEN_RET_EMPTY_ALL);
    return size_t(which) < texts.size() ? texts[size_t(which)] : wxString();
}

}  // namespace

CQAnDiffCursPg::CQAnDiffCursPg(wxWindow* parent, CQAnPropSheet& sheet)
    : QAnPageWindow(parent, sheet), m_model(&sheet.Document().GetOscillogram()) {
    auto label = [&](int id, int text) { return new wxStaticText(this, id, PageText(text)); };
    auto choice = [&](int id, int width = 70) { return new wxChoice(this, id, wxDefaultPosition, wxSize(width, -1)); };
    auto edit = [&](int id) { return new wxTextCtrl(this, id, wxEmptyString, wxDefaultPosition, wxSize(70, -1)); };
    auto radio = [&](int id, int text, bool first) {
        return new wxRadioButton(this, id, PageText(text), wxDefaultPosition, wxDefaultSize, first ? wxRB_GROUP : 0);
    };
    // A labelled field: the label goes with the field when it is enabled or hidden.
    auto field = [&](wxSizer* row, int id, wxWindow* label, wxWindow* control) {
        row->Add(label, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
        row->Add(control, 0, wxRIGHT, 10);
        if (label->GetId() != id) AttachLabel(id, label);
    };

    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* counts = new wxBoxSizer(wxHORIZONTAL);
    field(counts, kArmCount, label(wxID_ANY, TArmCount), choice(kArmCount));
    field(counts, kPhaseCount, label(wxID_ANY, TPhaseCount), choice(kPhaseCount));
    field(counts, kArmSelector, label(wxID_ANY, TCurrentArm), choice(kArmSelector));
    counts->Add(new wxButton(this, kPrevArm, wxS("<<"), wxDefaultPosition, wxSize(36, -1)), 0, wxRIGHT, 2);
    counts->Add(new wxButton(this, kNextArm, wxS(">>"), wxDefaultPosition, wxSize(36, -1)), 0);
    top->Add(counts, 0, wxALL, 4);

    auto* arm = new wxStaticBoxSizer(new wxStaticBox(this, kArmGroup, wxS(" ")), wxVERTICAL);
    auto* phases = new wxBoxSizer(wxHORIZONTAL);
    field(phases, kIa, label(2053, TIa), choice(kIa, 140));
    field(phases, kIb, label(kLabelIb, TIb), choice(kIb, 140));
    field(phases, kIc, label(kLabelIc, TIc), choice(kIc, 140));
    arm->Add(phases, 0, wxALL, 4);

    auto* scaling = new wxStaticBoxSizer(new wxStaticBox(this, wxID_ANY, ToWx(LoadResString(kStrArmScaling))), wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, 4, 8);
    auto mode = [&](int radioId, int text, bool first, std::initializer_list<std::pair<int, wxWindow*>> fields) {
        grid->Add(radio(radioId, text, first), 0, wxALIGN_CENTER_VERTICAL);
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        for (auto [id, l] : fields) field(row, id, l, edit(id));
        grid->Add(row, 0);
    };
    mode(kByCoeff, TByCoeff, true, {{kKpriv, label(kCaptionByCoeff, TKpriv)}});
    mode(kByCtRatio, TByCtRatio, false,
         {{kKttRatio, label(kCaptionByCtRatio, TKtt)}, {kKttBase, label(wxID_ANY, TKttBase)}});
    mode(kByPower, TByPower, false,
         {{kKttPower, label(kCaptionByPower, TKtt)}, {kSnom, label(wxID_ANY, TSnom)}, {kUnom, label(wxID_ANY, TUnom)}});
    mode(kByRatedCurrent, TByRatedCurrent, false,
         {{kKttRated, label(kCaptionByRatedCurrent, TKtt)}, {kInom, label(wxID_ANY, TInom)}});
    scaling->Add(grid, 0, wxALL, 4);
    arm->Add(scaling, 0, wxEXPAND | wxALL, 4);

    auto* group =
        new wxStaticBoxSizer(new wxStaticBox(this, wxID_ANY, ToWx(LoadResString(kStrConnectionGroup))), wxHORIZONTAL);
    auto* groupModes = new wxBoxSizer(wxVERTICAL);
    groupModes->Add(radio(kGroupNone, TGroupNone, true), 0, wxBOTTOM, 2);
    groupModes->Add(radio(kGroupBySequence, TGroupBySequence, false), 0, wxBOTTOM, 2);
    groupModes->Add(radio(kGroupTriangle, TGroupTriangle, false), 0);
    group->Add(groupModes, 0, wxALL, 4);
    auto* groupNumbers = new wxBoxSizer(wxVERTICAL);
    auto* seq = new wxBoxSizer(wxHORIZONTAL);
    field(seq, kSequenceGroup, label(kSequenceGroupLabel, TGroup), choice(kSequenceGroup, 60));
    groupNumbers->Add(seq, 0, wxBOTTOM, 2);
    auto* tri = new wxBoxSizer(wxHORIZONTAL);
    field(tri, kTriangleGroup, label(kTriangleGroupLabel, TGroup), choice(kTriangleGroup, 60));
    groupNumbers->Add(tri, 0, wxBOTTOM, 2);
    groupNumbers->Add(new wxCheckBox(this, kRemoveI0, PageText(TRemoveI0)), 0);
    group->Add(groupNumbers, 0, wxALL, 4);
    arm->Add(group, 0, wxEXPAND | wxALL, 4);
    top->Add(arm, 0, wxEXPAND | wxALL, 4);

    auto* brake = new wxStaticBoxSizer(new wxStaticBox(this, wxID_ANY, PageText(TBrakeBox)), wxHORIZONTAL);
    auto* brakeModes = new wxBoxSizer(wxVERTICAL);
    brakeModes->Add(radio(kBrakeBySum, TBrakeBySum, true), 0, wxBOTTOM, 2);
    brakeModes->Add(radio(kBrakeBySub, TBrakeBySub, false), 0, wxBOTTOM, 2);
    brakeModes->Add(radio(kBrakeByMax, TBrakeByMax, false), 0);
    brake->Add(brakeModes, 0, wxALL, 4);
    auto* k = new wxBoxSizer(wxHORIZONTAL);
    field(k, kBrakeCoeff, label(kBrakeCoeffLabel, TKbrake), choice(kBrakeCoeff));
    brake->Add(k, 0, wxALL, 4);
    top->Add(brake, 0, wxEXPAND | wxALL, 4);

    // The argument holders the formulas are composed from; never shown.
    std::vector<int> holders = {kHolderCurrent, kHolderIb, kHolderIc, kHolderK1, kHolderK2, kHolderK3, kHolderGroup};
    for (int i = 0; i < kMaxArms; ++i) holders.push_back(kFirstArmHolder + i);
    for (int id : holders) (new wxStaticText(this, id, wxEmptyString))->Hide();
    SetSizer(top);

    Bind(wxEVT_CHOICE, &CQAnDiffCursPg::OnChoice, this);
    Bind(wxEVT_BUTTON, &CQAnDiffCursPg::OnButton, this);
    Bind(wxEVT_RADIOBUTTON, &CQAnDiffCursPg::OnRadio, this);
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent& e) { m_model.OnArmControlChanged(e.GetId()); });
    Bind(wxEVT_TEXT, [this](wxCommandEvent& e) { m_model.OnArmControlChanged(e.GetId()); });
}

wxString CQAnDiffCursPg::GetTitle() const { return ToWx(LoadResString(kStrTitle)); }

wxBitmap CQAnDiffCursPg::GetIcon() const {
    return wxArtProvider::GetBitmap(wxART_LIST_VIEW, wxART_OTHER, wxSize(32, 32));
}

void CQAnDiffCursPg::OnChoice(wxCommandEvent& event) {
    switch (event.GetId()) {
        case kArmCount: m_model.OnArmCountChosen(); break;
        case kPhaseCount: m_model.OnPhaseCountChosen(); break;
        case kArmSelector: m_model.OnArmChosen(); break;
        default: m_model.OnArmControlChanged(event.GetId()); break;
    }
    Layout();
}

void CQAnDiffCursPg::OnButton(wxCommandEvent& event) {
    if (event.GetId() == kPrevArm)
        m_model.PreviousArm();
    else if (event.GetId() == kNextArm)
        m_model.NextArm();
    else
        event.Skip();
}

void CQAnDiffCursPg::OnRadio(wxCommandEvent& event) {
    const int id = event.GetId();
    if (id >= kByCoeff && id <= kByRatedCurrent)
        m_model.OnScalingModeChosen();
    else if (id >= kGroupNone && id <= kGroupTriangle)
        m_model.OnGroupModeChosen();
    else if (id >= kBrakeBySum && id <= kBrakeByMax)
        m_model.OnBrakeModeChosen();
    Layout();
}

void CQAnDiffCursPg::Choose(int id, const wxString& text) {
    auto* list = dynamic_cast<wxChoice*>(FindWindow(id));
    if (!list || !list->SetStringSelection(text)) return;
    wxCommandEvent e(wxEVT_CHOICE, id);
    e.SetEventObject(list);
    e.SetInt(list->GetSelection());
    list->ProcessWindowEvent(e);
}

bool CQAnDiffCursPg::SmokeFill() {
    // Two arms of three phases, the first six analog channels of the record; the rest as the
    // page offers it (arms scaled by power, every figure 1; the restraint current by half the
    // sum of the magnitudes).
    std::vector<wxString> names;
    for (const CChannel& ch : m_sheet.Document().GetOscillogram().m_channels)
        if (!ch.IsDiscrete() && names.size() < 6) names.push_back(ToWx(ch.GetName()));
    if (names.size() < 6) return false;
    Choose(kArmCount, wxS("2"));
    Choose(kPhaseCount, wxS("3"));
    for (int arm = 0; arm < 2; ++arm) {
        Choose(kArmSelector, wxString::Format(wxS("%i"), arm + 1));
        for (int p = 0; p < 3; ++p) Choose(kIa + p, names[size_t(arm * 3 + p)]);
    }
    return true;
}
