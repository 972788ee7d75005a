#pragma once
// Small records written by the tests, and a user-interface fake that records what the
// document shows and can cancel a load from its loading dialog.
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "platform/UiServices.h"

namespace fixtures {

class DocUi final : public platform::UiServices {
public:
    DocUi() { platform::SetUiServices(this); }
    ~DocUi() override { platform::SetUiServices(nullptr); }
    int MessageBox(const CString& text, const CString&, unsigned) override {
        std::lock_guard<std::mutex> lock(m);
        boxes.push_back(text);
        return answer;
    }
    void PostException(CException* e) override {
        std::lock_guard<std::mutex> lock(m);
        errors.push_back(e->GetErrorMessage());
        e->Delete();
    }
    void RunOnUiThread(std::function<void()> fn) override { fn(); }
    bool RunLoadingDialog(platform::LoadProgress& progress) override {
        ++dialogs;
        if (cancelInDialog) {
            progress.cancel = 1;
            progress.WaitFinished();
            return false;
        }
        progress.WaitFinished();
        return true;
    }
    std::mutex m;
    std::vector<CString> boxes, errors;
    int answer = IDOK;
    std::atomic<int> dialogs{0};
    bool cancelInDialog = false;
};

// A 1999 record of two analog channels (kV with a unit prefix, and A with a primary ratio)
// and three status channels over `samples` samples at 1000 per second.
struct Record {
    std::string cfg, dat;
};

Record Ascii1999(int samples = 8);
Record Binary1999(int samples = 8);
Record Binary32Year2013(int samples = 8);
Record Binary1991(int samples = 8);

// Writes base + ".cfg" and ".dat"; returns the ".cfg" path.
std::string Write(const testutil::TempDir& dir, const std::string& name, const Record& r);

}  // namespace fixtures
