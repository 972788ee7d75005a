#pragma once
#include <wx/string.h>

#include "platform/UiServices.h"

namespace platform {

// The user-interface services on wxWidgets: message boxes parented to the top window, work
// and exceptions marshalled to the main thread with CallAfter.
class WxUiServices : public UiServices {
public:
    int MessageBox(const CString& text, const CString& caption, unsigned type) override;
    void PostException(CException* e) override;
    void RunOnUiThread(std::function<void()> fn) override;
    bool ChooseFolder(CString& folder, const CString& title) override;
};

// The toolkit's message-box style for the framework's MB_ buttons and icon.
long MessageBoxStyle(unsigned type);
wxString ToWx(const CString& s);
CString FromWx(const wxString& s);

}  // namespace platform
