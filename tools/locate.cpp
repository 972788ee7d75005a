// locate [--all] [--model FILE.omp] RECORD: opens a record the way the program does, runs fault
// location as the program's command does and prints the result as JSON:
// {"method", "faulted_phases", "fault_kind", "interval": [first, end], "cursors": [b1, b2],
//  "distance_km", "section", "towers": [from, to], "per_sample_km": [...], "caption", "report"}
// with the per-sample distances between the cursors (every sample with --all), or
// {"error": message}. The line model comes from the record's settings, or from FILE.omp.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "document/TenvorikDoc.h"
#include "faultloc/DocumentLocatorRecord.h"
#include "formats/Json.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"
#include "tools/ToolSupport.h"

namespace {

class LocateDoc final : public CTenvorikDoc {
public:
    void ShowFaultLocationBar(const CString& text) override { caption = text; }
    void HideFaultLocationBar() override { caption.Empty(); }
    CString caption;
};

std::string ErrorJson(const CString& message) {
    std::string out = "{\"error\": ";
    json::Str(out, message);
    out += "}\n";
    return out;
}

std::string ResultJson(LocateDoc& doc, bool all) {
    const WrongPlaceLocator& loc = doc.m_locator;
    std::string out = "{\"method\": ";
    json::Num(out, int64_t(loc.m_runMethod));
    CString phases;
    if (loc.m_phaseA) phases += L"A";
    if (loc.m_phaseB) phases += L"B";
    if (loc.m_phaseC) phases += L"C";
    out += ", \"faulted_phases\": ";
    json::Str(out, phases);
    const wchar_t* kind = loc.m_symMedian ? L"three-phase" : loc.m_phaseMedian ? L"two-phase"
                          : loc.m_earthMedian ? L"single-phase" : L"none";
    out += ", \"fault_kind\": ";
    json::Str(out, kind);
    out += ", \"interval\": [" + std::to_string(loc.m_interval.first) + ", " + std::to_string(loc.m_interval.last) + "]";
    out += ", \"cursors\": [" + std::to_string(loc.m_windowFirst) + ", " + std::to_string(loc.m_windowLast) + "]";
    out += ", \"distance_km\": ";
    json::Num(out, loc.m_distance);
    out += ", \"section\": " + std::to_string(loc.m_faultSection + 1);
    out += ", \"towers\": [" + std::to_string(loc.m_tower - 1) + ", " + std::to_string(loc.m_tower) + "]";
    out += ", \"per_sample_km\": [";
    const int n = int(loc.dist.size());
    const int from = all ? 0 : std::max(0, std::min(loc.m_windowFirst, loc.m_windowLast));
    const int to = all ? n - 1 : std::min(n - 1, std::max(loc.m_windowFirst, loc.m_windowLast));
    for (int i = from; i <= to; ++i) {
        if (i > from) out += ", ";
        json::Num(out, loc.dist[size_t(i)]);
    }
    out += "], \"caption\": ";
    json::Str(out, doc.caption);
    out += ", \"report\": ";
    json::Str(out, loc.BuildReport(doc.GetFaultReportHeader(), DocumentLocatorRecord(doc)));
    out += "}\n";
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    bool all = false;
    const char* path = nullptr;
    const char* model = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--all") == 0) all = true;
        else if (std::strcmp(argv[i], "--model") == 0 && i + 1 < argc) model = argv[++i];
        else path = argv[i];
    }
    if (!path) {
        std::fprintf(stderr, "usage: locate [--all] [--model FILE.omp] RECORD\n");
        return 2;
    }
    tools::CollectingUi ui;
    auto fail = [&](const CString& fallback) {
        std::string text = ErrorJson(ui.messages.empty() ? fallback : ui.messages.front());
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 1;
    };
    LocateDoc doc;
    if (!doc.OnOpenDocument(CString(platform::Utf8ToWide(path)))) return fail(L"cannot open the record");
    ui.messages.clear();
    if (model) {
        SettingsStore store;
        CString error;
        if (!store.Load(CString(platform::Utf8ToWide(model)), &error)) return fail(error);
        doc.m_locator.GetData().Load(store.GetCategory(L"omp"));
    }
    if (!doc.RunFaultLocation(false)) return fail(L"fault location failed");
    std::string text = ResultJson(doc, all);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
