#include "platform/UiServices.h"

#include <atomic>
#include <cstdio>
#include <dlfcn.h>

#include "platform/Encoding.h"

namespace platform {
namespace {

class ConsoleUi final : public UiServices {
public:
    int MessageBox(const CString& text, const CString& caption, unsigned type) override {
        std::fprintf(stderr, "%s: %s\n", WideToUtf8(caption.view()).c_str(), WideToUtf8(text.view()).c_str());
        switch (type & 0xF) {
            case MB_YESNO: case MB_YESNOCANCEL: return IDYES;
            default: return IDOK;
        }
    }
    void PostException(CException* e) override {
        if (!e) return;
        std::fprintf(stderr, "%s\n", WideToUtf8(e->GetErrorMessage().view()).c_str());
        e->Delete();
    }
    void RunOnUiThread(std::function<void()> fn) override {
        if (fn) fn();
    }
};

ConsoleUi g_console;
std::atomic<UiServices*> g_current{nullptr};

}  // namespace

UiServices& Ui() {
    UiServices* s = g_current.load();
    return s ? *s : g_console;
}

void SetModuleUiServices(UiServices* services) { g_current.store(services); }

void SetUiServices(UiServices* services) {
    g_current.store(services);
    // The layer is one shared library, so this slot is every module's. The libraries' hooks are
    // still told: a host built against an older library that kept its own slot relies on them.
    using Hook = void (*)(UiServices*);
    for (const char* name : {"HalvexSetUiServices", "OrvinelSetUiServices"})
        if (auto hook = reinterpret_cast<Hook>(dlsym(RTLD_DEFAULT, name))) hook(services);
}

}  // namespace platform
