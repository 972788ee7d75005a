// recdump [--all] PATH: opens a record the way the program does and prints it as JSON (see
// formats/RecordDump.h). On failure the program's message goes to standard error and the
// exit code is 1.
// recdump --save OUT IN: opens IN the same way and saves it to OUT in the form OUT's extension
// names, as the program's "save as" does (".cfg" with its ".dat" and ".hdr", ".cff", ".osc").
// The program's messages go to standard error; a refused open or save exits 1.
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
    const char* saveTo = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--all") == 0) all = true;
        else if (std::strcmp(argv[i], "--save") == 0) saveTo = i + 1 < argc ? argv[++i] : "";
        else path = argv[i];
    }
    if (!path || (saveTo && !*saveTo)) {
        std::fprintf(stderr, "usage: recdump [--all] PATH\n       recdump --save OUT IN\n");
        return 2;
    }
    int code = 0;
    tools::CollectingUi ui;
    {
        CTenvorikDoc doc;
        if (!doc.OnOpenDocument(CString(platform::Utf8ToWide(path)))) {
            code = 1;
            if (ui.messages.empty()) ui.messages.push_back(CString(L"cannot open the record"));
        } else if (saveTo) {
            if (!doc.OnSaveDocument(CString(platform::Utf8ToWide(saveTo)))) {
                code = 1;
                if (ui.messages.empty()) ui.messages.push_back(CString(L"cannot save the record"));
            }
        } else {
            std::string json = DumpRecordJson(doc, all);
            std::fwrite(json.data(), 1, json.size(), stdout);
        }
    }
    // Warnings given while opening (a short data file, for one) are shown as the program shows them.
    for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", platform::WideToUtf8(m.view()).c_str());
    return code;
}
