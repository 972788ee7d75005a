#pragma once
#include "platform/ui/WxUiServices.h"

// The program's user-interface services: the wxWidgets ones plus the program's own loading
// and conversion-progress windows.
class AppUiServices final : public platform::WxUiServices {
public:
    int MessageBox(const CString& text, const CString& caption, unsigned type) override;
    void PostException(CException* e) override;
    bool RunLoadingDialog(platform::LoadProgress& progress) override;
    std::unique_ptr<platform::ProgressWindow> CreateConversionProgress() override;
    CString AskOpenFileName(const CString& title, const CString& filter, const CString& defaultExt) override;
    CString AskSaveFileName(const CString& title, const CString& filter, const CString& defaultExt) override;
};
