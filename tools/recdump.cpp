// recdump [--all] PATH: opens a record the way the program does and prints it as JSON (see
// formats/RecordDump.h). On failure the program's message goes to standard error and the
// exit code is 1.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/RecordDump.h"
#include "document/TenvorikDoc.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"
#include "tools/ToolSupport.h"

int main(int argc, char** argv) {
    bool all = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--all") == 0) all = true;
        else path = argv[i];
    }
    if (!path) {
        std::fprintf(stderr, "usage: recdump [--all] PATH\n");
        return 2;
    }
    int code = 0;
    tools::CollectingUi ui;
    {
        CTenvorikDoc doc;
        if (doc.OnOpenDocument(CString(platform::Utf8ToWide(path)))) {
            std::string json = DumpRecordJson(doc, all);
            std::fwrite(json.data(), 1, json.size(), stdout);
        } else {
            code = 1;
        }
    }
    if (code != 0) {
        if (ui.messages.empty()) ui.messages.push_back(CString(L"cannot open the record"));
        for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", platform::WideToUtf8(m.view()).c_str());
    }
    return code;
}
