#include "platform/ui/InPlaceEditor.h"

#include <wx/app.h>
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <memory>

namespace platform {

namespace {
// One in-place editor is open at a time: opening one takes the focus from any other, which
// ends it.
wxWeakRef<wxTextCtrl>& Open() {
    static wxWeakRef<wxTextCtrl> open;
    return open;
}
}  // namespace

void BindInPlaceEditor(wxTextCtrl* editor, bool keepOnFocusLoss, std::function<void(const InPlaceEnd&)> end) {
    if (!editor) return;
    Open() = editor;
    // Shared by the three ways out, so that `end` runs once whichever comes first.
    auto ended = std::make_shared<bool>(false);
    auto finish = [editor, ended, end = std::move(end)](InPlaceEnd how) {
        if (*ended) return;
        *ended = true;
        if (Open() == editor) Open() = nullptr;
        // Queued on the editor itself: a call still queued when it is destroyed is dropped.
        editor->CallAfter([end, how] { end(how); });
    };
    editor->Bind(wxEVT_CHAR_HOOK, [finish](wxKeyEvent& e) {
        const int key = e.GetKeyCode();
        if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
            InPlaceEnd how;
            how.ctrl = e.ControlDown();
            finish(how);
        } else if (key == WXK_ESCAPE) {
            InPlaceEnd how;
            how.kind = InPlaceEnd::kEscape;
            how.keep = false;
            finish(how);
        } else {
            e.Skip();
        }
    });
    // Where the toolkit reports Enter as the control's own event instead of a key.
    editor->Bind(wxEVT_TEXT_ENTER, [finish](wxCommandEvent&) { finish(InPlaceEnd()); });
    editor->Bind(wxEVT_KILL_FOCUS, [finish, keepOnFocusLoss](wxFocusEvent& e) {
        e.Skip();
        InPlaceEnd how;
        how.kind = InPlaceEnd::kFocusLost;
        how.keep = keepOnFocusLoss;
        finish(how);
    });
}

void EndInPlaceEditor(wxWindow* editor, wxWindow* focusTo) {
    if (!editor) return;
    if (Open() == editor) Open() = nullptr;
    if (focusTo) focusTo->SetFocus();
    editor->Hide();
    wxWeakRef<wxWindow> doomed(editor);
    // Destroyed from the application's queue, once every handler of the editor has returned;
    // a parent destroyed first has taken it along.
    wxTheApp->CallAfter([doomed] {
        if (doomed) doomed->Destroy();
    });
}

wxTextCtrl* OpenInPlaceEditor() { return Open(); }

}  // namespace platform
