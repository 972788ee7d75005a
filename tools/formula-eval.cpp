// formula-eval [--at I,J,K] RECORD FORMULA...: opens a record the way the program does and
// evaluates each formula over it as a calculated channel is computed, printing JSON:
//   [{"formula": "...", "kind": "real"|"complex", "unit": "...", "real": [...], "imag": [...]}, ...]
// "imag" is empty for a real result. A formula that fails gives {"formula": "...", "error": "..."}
// with the program's message. Numbers are written to round-trip ("%.17g"); NaN and the
// infinities, which JSON has no numbers for, are the strings "NaN", "Infinity", "-Infinity".
// --at limits the evaluation to the listed samples, in the order given.
// Exit code: 0 when the record opened, 1 when it did not (message on standard error), 2 for
// a wrong command line.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/RecordFormula.h"
#include "document/TenvorikDoc.h"
#include "formats/Json.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"
#include "tools/ToolSupport.h"

namespace {

std::string Quote(const CString& text) {
    std::string out;
    json::Str(out, text);
    return out;
}

std::string Number(double v) {
    if (std::isnan(v)) return "\"NaN\"";
    if (std::isinf(v)) return v > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

template <class Get>
std::string Array(size_t n, Get get) {
    std::string out = "[";
    for (size_t i = 0; i < n; ++i) {
        if (i) out += ",";
        out += Number(get(i));
    }
    return out + "]";
}

bool ParseSamples(const char* text, std::vector<uint32_t>& out) {
    const char* p = text;
    while (*p) {
        char* end = nullptr;
        if (*p < '0' || *p > '9') return false;
        unsigned long long v = std::strtoull(p, &end, 10);
        if (end == p || v > 0xFFFFFFFFull) return false;
        out.push_back(uint32_t(v));
        p = end;
        if (*p == ',') ++p;
        else if (*p) return false;
    }
    return !out.empty();
}

int Usage() {
    std::fprintf(stderr, "usage: formula-eval [--at I,J,K] RECORD FORMULA...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<uint32_t> at;
    bool haveAt = false;
    std::vector<const char*> args;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--at") == 0) {
            if (i + 1 >= argc || !ParseSamples(argv[++i], at)) return Usage();
            haveAt = true;
        } else if (std::strncmp(argv[i], "--at=", 5) == 0) {
            if (!ParseSamples(argv[i] + 5, at)) return Usage();
            haveAt = true;
        } else {
            args.push_back(argv[i]);
        }
    }
    if (args.size() < 2) return Usage();

    tools::CollectingUi ui;
    int code = 0;
    {
        CTenvorikDoc doc;
        if (doc.OnOpenDocument(CString(platform::Utf8ToWide(args[0])))) {
            const COscillogram& record = doc.GetOscillogram();
            int count = record.GetSampleCount();
            for (uint32_t s : at) {
                if (count < 0 || s >= uint32_t(count)) {
                    std::fprintf(stderr, "sample %u is past the record's %d samples\n", s, count);
                    code = 2;
                }
            }
            if (code == 0) {
                std::string out = "[";
                for (size_t f = 1; f < args.size(); ++f) {
                    CString formula(platform::Utf8ToWide(args[f]));
                    if (f > 1) out += ",\n";
                    out += "{\"formula\":" + Quote(formula);
                    RecordCalculator calc(record);
                    try {
                        FormulaSeries s = ComputeFormulaSeries(calc, formula, haveAt ? &at : nullptr);
                        out += ",\"kind\":" + Quote(CString(s.isComplex ? L"complex" : L"real"));
                        out += ",\"unit\":" + Quote(s.unit);
                        out += ",\"real\":" + Array(s.real.size(), [&](size_t i) { return s.real[i]; });
                        out += ",\"imag\":" + Array(s.complex.size(), [&](size_t i) { return s.complex[i].imag(); });
                    } catch (CException* e) {
                        out += ",\"error\":" + Quote(e->GetErrorMessage());
                        e->Delete();
                    }
                    out += "}";
                }
                out += "]\n";
                std::fwrite(out.data(), 1, out.size(), stdout);
            }
        } else {
            code = 1;
        }
    }
    if (code == 1) {
        if (ui.messages.empty()) ui.messages.push_back(CString(L"cannot open the record"));
        for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", platform::WideToUtf8(m.view()).c_str());
    }
    return code;
}
