// recdump [--all] PATH: opens a record the way the program does and prints it as JSON (see
// formats/RecordDump.h). On failure the program's message goes to standard error and the
// exit code is 1.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "formats/RecordDump.h"
#include "model/TenvorikDoc.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"

namespace {

class ConsoleUi final : public platform::UiServices {
public:
    int MessageBox(const CString& text, const CString&, unsigned) override {
        messages.push_back(text);
        return IDOK;
    }
    void PostException(CException* e) override {
        if (!e) return;
        messages.push_back(e->GetErrorMessage());
        e->Delete();
    }
    void RunOnUiThread(std::function<void()> fn) override {
        if (fn) fn();
    }
    std::vector<CString> messages;
};

}  // namespace

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
    ConsoleUi ui;
    platform::SetUiServices(&ui);
    int code = 0;
    {
        CTenvorikDoc doc;
        if (doc.OnOpenDocument(CString(platform::Utf8ToWide(path)))) {
            std::string json = DumpRecordJson(doc, all);
            std::fwrite(json.data(), 1, json.size(), stdout);
        } else {
            code = 1;
        }
    }
    platform::SetUiServices(nullptr);
    if (code != 0) {
        if (ui.messages.empty()) ui.messages.push_back(CString(L"cannot open the record"));
        for (const auto& m : ui.messages) std::fprintf(stderr, "%s\n", platform::WideToUtf8(m.view()).c_str());
    }
    return code;
}
