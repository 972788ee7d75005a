#pragma once
// What the test tools share: the user interface as a collector of the program's messages.
#include <vector>

#include "platform/UiServices.h"

namespace tools {

// Installed for the tool's lifetime: message boxes and reported failures are kept as texts.
class CollectingUi final : public platform::UiServices {
public:
    CollectingUi() { platform::SetUiServices(this); }
    ~CollectingUi() override { platform::SetUiServices(nullptr); }
    CollectingUi(const CollectingUi&) = delete;
    CollectingUi& operator=(const CollectingUi&) = delete;

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

}  // namespace tools
