// A formula as a calculated channel computes it over a record (the text as the formula
// editor's cell takes it, UTF-8 here), and the unit the editor infers at every place of it.
#include "FuzzSupport.h"
#include "analysis/FormulaUnit.h"
#include "analysis/RecordFormula.h"
#include "model/Oscillogram.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CString formula = fuzz::WideFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    const COscillogram& record = fuzz::BaseRecord();
    fuzz::QuietUi ui;
    RecordCalculator calc(record);
    try {
        ComputeFormulaSeries(calc, formula);
    } catch (CException* e) {
        e->Delete();
    }
    RecordCalculator units(record);
    try {
        units.Tokenize(formula);
        for (unsigned cursor = 0; cursor <= units.Tokens().size(); ++cursor) InferFormulaUnit(units.Tokens(), cursor);
    } catch (CException* e) {
        e->Delete();
    }
    return 0;
}
