// A line-model file (".omp", or the legacy text model) as the editor's "load" takes it; the
// editor's tree and rows of every element, then, for a model that passes the OK button's
// check, a fault location over a generated fault record and its report.
#include <map>

#include "FuzzSupport.h"
#include "GeneratedFault.h"
#include "faultloc/LineModelEditor.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

namespace {

// Short records, so that a run stays quick: a second of 4800 samples a second is the engine's
// own test; a fifth of it holds the load, the fault and a steady window.
const generated_fault::Record& RecordFor(int method) {
    static std::map<int, generated_fault::Record> records;
    auto it = records.find(method);
    if (it == records.end()) {
        generated_fault::Shape shape;
        shape.count = 1200;
        shape.faultAt = 500;
        it = records.emplace(method, generated_fault::MakeRecord(method, shape)).first;
    }
    return it->second;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const std::string path = fuzz::Write("line.omp", std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::QuietUi ui;
    LineModelEditor editor{WrongPlaceLocatorData()};
    CString error;
    if (editor.Load(fuzz::Wide(path), &error) != LineModelEditor::LoadResult::Loaded) return 0;
    editor.FillTree(true);
    for (size_t i = 0; i < editor.Nodes().size(); ++i) {
        editor.Select(editor.Nodes()[i].element);
        editor.Rows();
        editor.Available();
    }
    if (!editor.Model().Validate()) return 0;
    const int method = editor.Model().methodType;
    generated_fault::Record record = RecordFor(method);
    WrongPlaceLocator locator;
    locator.GetData() = editor.Model();
    generated_fault::NullHost host;
    if (locator.Calculate(record, host, true)) {
        locator.BuildShortResult();
        locator.BuildReport(LocatorReportHeader{}, record);
    }
    return 0;
}
