// The document's fault location: runs on its record, the result over its cursors, the line
// model in its settings.
#include "document/TenvorikDoc.h"
#include "faultloc/DocumentLocatorRecord.h"
#include "platform/UiServices.h"

namespace {

// What a run does to the document's cursors, result bar and views.
class DocLocatorHost final : public LocatorHost {
public:
    explicit DocLocatorHost(CTenvorikDoc& doc) : m_doc(doc) {}
    void PlaceCursors(int first, int last) override {
        auto& c = m_doc.m_cursors.m_cursors;
        c[0].position = first;
        c[0].shown = true;
        c[1].position = last;
        c[1].shown = true;
        m_doc.m_cursors.UpdateReadouts();
        // A user who ran the location looks for the window it found.
        if (m_doc.m_cursors.m_view) m_doc.m_cursors.m_view->ShowSamples(first, last);
    }
    void ShowResultBar(const CString& text) override { m_doc.ShowFaultLocationBar(text); }
    void HideResultBar() override { m_doc.HideFaultLocationBar(); }
    void UpdateViews() override {
        m_doc.UpdateAllViews();
        m_doc.UpdateDiagrams();
    }

private:
    CTenvorikDoc& m_doc;
};

}  // namespace

bool CTenvorikDoc::RunFaultLocation(bool silent) {
    DocumentLocatorRecord record(*this);
    DocLocatorHost host(*this);
    return m_locator.Calculate(record, host, silent);
}

void CTenvorikDoc::RecalcFaultLocation() {
    if (m_locator.IsActive()) RunFaultLocation(false);
}

void CTenvorikDoc::OnVerticalCursorsMoved() {
    if (!m_locator.IsActive()) return;
    DocLocatorHost host(*this);
    const auto& c = m_cursors.m_cursors;
    m_locator.ShowResultAtCursors(c[0].position, c[1].position, m_oscillogram.GetSampleCount(), host);
}

void CTenvorikDoc::HideFaultLocationResult() {
    DocumentLocatorRecord record(*this);
    DocLocatorHost host(*this);
    m_locator.HideResult(record, host);
    UpdateAllViews();
    UpdateDiagrams();
}

void CTenvorikDoc::UpdateFaultLocationBar() {
    DocLocatorHost host(*this);
    m_locator.RefreshResultBar(host);
    UpdateDiagrams();
}

void CTenvorikDoc::AcceptLineModel(const WrongPlaceLocatorData& model) {
    m_locator.GetData() = model;
    SetModifiedFlag(true);
    if (!HasOwnTimeBaseChannel()) RunFaultLocation(false);
}

LocatorReportHeader CTenvorikDoc::GetFaultReportHeader() const {
    const COscillogram& osc = m_oscillogram;
    // Dates as the rest of the program shows them; one it cannot read stays as written.
    const CString start = GetNormalizedStartDate(), trigger = GetNormalizedTriggerDate();
    return {m_pathName,
            GetStationName(),
            GetRecorderId(),
            start.IsEmpty() ? osc.m_startDate : start,
            osc.m_startTime,
            trigger.IsEmpty() ? osc.m_triggerDate : trigger,
            osc.m_triggerTime};
}

bool CTenvorikDoc::SaveFaultReport(const CString& path) {
    DocumentLocatorRecord record(*this);
    CString error;
    if (m_locator.SaveReport(path, GetFaultReportHeader(), record, &error)) return true;
    platform::Ui().MessageBox(error, CString(), MB_OK | MB_ICONERROR);
    return false;
}

void CTenvorikDoc::LoadFaultLocationSettings() { m_locator.GetData().Load(m_settings.GetCategory(L"WrongPlaceFinding")); }

void CTenvorikDoc::SaveFaultLocationSettings() { m_locator.GetData().Save(m_settings.GetCategory(L"WrongPlaceFinding")); }
