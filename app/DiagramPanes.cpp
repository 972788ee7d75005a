#include "app/DiagramPanes.h"

#include <wx/docview.h>

#include "app/MainFrame.h"
#include "app/TenvorikDocument.h"
#include "diagrams/ui/CircleDiagPane.h"
#include "diagrams/ui/DiffDiagPane.h"
#include "diagrams/ui/FourieDiagramSettingsDlg.h"
#include "diagrams/ui/FramePane.h"
#include "diagrams/ui/VectorDiagPane.h"
#include "document/TenvorikDoc.h"
#include "model/Channel.h"

namespace {

// The diagrams always show the record active in the frame; one still loading is not shown.
class FrameDiagramOwner final : public DiagramOwner {
public:
    explicit FrameDiagramOwner(wxDocManager* manager) : m_manager(manager) {}
    CTenvorikDoc* GetActiveDocument() override {
        auto* doc = dynamic_cast<TenvorikDocument*>(m_manager ? m_manager->GetCurrentDocument() : nullptr);
        return doc && !doc->IsLoading() ? &doc->Model() : nullptr;
    }

private:
    wxDocManager* m_manager;
};

}  // namespace

void CreateDiagramPanes(CMainFrame* frame, wxDocManager* manager) {
    static FrameDiagramOwner owner(manager);
    auto* spectrum = new FramePane<FourieDiagramWnd>(frame, &owner, CHF_FREQ_DIAGRAM);
    spectrum->Window().SetSettingsEditor([spectrum](FourieSettings& s) {
        CTenvorikDoc* doc = spectrum->Window().GetActiveDocument();
        if (!doc) return false;
        const COscillogram& osc = doc->GetOscillogram();
        FourieDiagramSettingsDlg dlg(spectrum, s, osc.GetSampleCount(), osc.m_samplingFrequency, osc.m_netFrequency);
        if (dlg.ShowModal() != wxID_OK) return false;
        s = dlg.Settings();
        return true;
    });
    frame->SetDiagramWnd(CHF_FREQ_DIAGRAM, spectrum, [spectrum] { spectrum->Window().LoadSettings(); });
    auto* vector = new VectorDiagPane(frame, &owner);
    frame->SetDiagramWnd(CHF_VECTOR_DIAGRAM, vector, [vector] { vector->Window().LoadSettings(); });
    auto* circle = new CircleDiagPane(frame, &owner);
    frame->SetDiagramWnd(CHF_CIRCLE_DIAGRAM, circle, [circle] { circle->Window().LoadSettings(); });
    auto* diff = new DiffDiagPane(frame, &owner);
    frame->SetDiagramWnd(kDiffDiagramBit, diff, [diff] { diff->Window().LoadSettings(); });
    ApplyLookToDiagrams(frame, frame->GetApplicationLook());
}

void ApplyLookToDiagrams(CMainFrame* frame, int look) {
    for (int bit : {int(CHF_CIRCLE_DIAGRAM), int(kDiffDiagramBit)})
        if (auto* pane = dynamic_cast<PlaneDiagPane*>(frame->GetDiagramWnd(bit))) {
            pane->Plane().SetApplicationLook(unsigned(look));
            pane->Refresh(true);
        }
}

void PrepareDiagramSmoke(CMainFrame* frame, int sample) {
    auto* vector = dynamic_cast<VectorDiagPane*>(frame->GetDiagramWnd(CHF_VECTOR_DIAGRAM));
    if (!vector) return;
    CTenvorikDoc* doc = vector->Window().GetActiveDocument();
    if (!doc) return;
    doc->m_cursors.m_cursors[0].shown = true;
    doc->m_cursors.m_cursors[0].position = sample;
    vector->Window().OnCommand(ID_VECTOR_SHOW_ALL);
    if (auto* circle = dynamic_cast<CircleDiagPane*>(frame->GetDiagramWnd(CHF_CIRCLE_DIAGRAM)))
        circle->Window().OnCommand(ID_CIRCLE_SHOW_ALL);
    if (auto* spectrum = dynamic_cast<FramePane<FourieDiagramWnd>*>(frame->GetDiagramWnd(CHF_FREQ_DIAGRAM)))
        spectrum->Window().OnCommand(ID_FOURIE_SHOW_ALL);
    // The record is left as it was opened, so that closing asks nothing.
    doc->SetModifiedFlag(false);
    frame->UpdateDiagrams();
}
