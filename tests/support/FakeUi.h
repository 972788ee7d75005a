#pragma once
// A recording stand-in for the user interface: message boxes answer from a queue (IDOK when
// empty), posted exceptions are kept as their texts and deleted.
#include <deque>
#include <vector>

#include "platform/UiServices.h"

namespace testutil {

class FakeUi final : public platform::UiServices {
public:
    FakeUi() { platform::SetUiServices(this); }
    ~FakeUi() override { platform::SetUiServices(nullptr); }
    FakeUi(const FakeUi&) = delete;
    FakeUi& operator=(const FakeUi&) = delete;

    int MessageBox(const CString& text, const CString& caption, unsigned type) override {
        messages.push_back(text);
        captions.push_back(caption);
        types.push_back(type);
        if (answers.empty()) return IDOK;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    void PostException(CException* e) override {
        if (!e) return;
        exceptions.push_back(e->GetErrorMessage());
        e->Delete();
    }
    void RunOnUiThread(std::function<void()> fn) override {
        if (fn) fn();
    }
    CString AskOpenFileName(const CString& title, const CString& filter, const CString&) override {
        openTitles.push_back(title);
        openFilters.push_back(filter);
        return openFileAnswer;
    }

    std::vector<CString> messages, captions, exceptions;
    std::vector<unsigned> types;
    std::deque<int> answers;
    std::vector<CString> openFilters;  // the filter of every open-file dialog asked for
    std::vector<CString> openTitles;   // and its title
    CString openFileAnswer;            // what those dialogs answer (empty: cancelled)
};

}  // namespace testutil
