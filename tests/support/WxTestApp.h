#pragma once
// A wxWidgets application for test programs that host windows without the program: started
// before the first test, ended after the last. Include it in one source of the program.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/debug.h>
#include <wx/init.h>

namespace testutil {

class WxTestApp : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        // A toolkit assertion fails the test that met it instead of waiting on a dialog.
        wxSetAssertHandler([](const wxString& file, int line, const wxString& func, const wxString& cond,
                              const wxString& msg) {
            ADD_FAILURE() << "toolkit assertion: " << file.utf8_str().data() << "(" << line << ") in "
                          << func.utf8_str().data() << ": " << cond.utf8_str().data() << ": " << msg.utf8_str().data();
        });
        wxApp::SetInstance(new wxApp);
        ASSERT_TRUE(wxEntryStart(argc, argv)) << "the display could not be opened";
        m_started = true;
        ASSERT_TRUE(wxTheApp->CallOnInit());
    }
    void TearDown() override {
        // A start that failed leaves nothing to end.
        if (!m_started) return;
        if (wxTheApp) wxTheApp->OnExit();
        wxEntryCleanup();
    }

private:
    bool m_started = false;
};

inline ::testing::Environment* const kWxTestApp = ::testing::AddGlobalTestEnvironment(new WxTestApp);

}  // namespace testutil
