// A ".frm" list of calculated channels ("name,formula," a line, Windows-1251), loaded by the
// formula editor page and by the record's list, and computed over a record.
#include "FuzzSupport.h"
#include "analysis/CalcChannels.h"
#include "analysis/FormulaEditor.h"
#include "document/TenvorikDoc.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const std::string cfg = fuzz::WriteBaseRecord("rec");
    const CString list = fuzz::Wide(fuzz::Write("list.frm", std::string_view(reinterpret_cast<const char*>(data), size)));
    fuzz::QuietUi ui;
    CTenvorikDoc doc;
    if (!doc.OnOpenDocument(fuzz::Wide(cfg))) fuzz::Fail("the base record does not open");
    {
        FormulaEditorModel page(&doc.GetOscillogram(), CalcChannels::Of(doc.GetOscillogram()));
        try {
            page.ImportFile(list);
            std::vector<CString> formulas;
            page.GetFormulas(formulas);
        } catch (CException* e) {
            e->Delete();
        }
    }
    CalcChannels& channels = CalcChannels::Of(doc.GetOscillogram());
    try {
        channels.ImportFormulaFile(list);
        channels.ComputeChannels();
        channels.ExportFormulaFile(fuzz::Wide(fuzz::PathOf("again.frm")));
    } catch (CException* e) {
        e->Delete();
    }
    return 0;
}
