#pragma once
#include <functional>

class wxTextCtrl;
class wxWindow;

namespace platform {

// How an in-place editor was left.
struct InPlaceEnd {
    enum Kind { kEnter, kEscape, kFocusLost };
    Kind kind = kEnter;
    bool ctrl = false;  // Ctrl was held with Enter
    // Whether the typed text is to be kept: Enter keeps it, Escape drops it, and leaving the
    // editor for elsewhere does what `keepOnFocusLoss` said when it was bound.
    bool keep = true;
};

// Makes a text control an in-place editor: Enter and Escape end it (and go no further, so a
// dialog's default and cancel buttons do not fire), and so does the focus leaving it. `end`
// runs once per editor, after the key or focus event is over, so it may end the editor with
// EndInPlaceEditor; it does not run when the editor was destroyed meanwhile.
void BindInPlaceEditor(wxTextCtrl* editor, bool keepOnFocusLoss, std::function<void(const InPlaceEnd&)> end);

// Ends an in-place editor: it is hidden at once and destroyed once the event now being handled
// has returned, because the toolkit is still inside the control while its own handlers run
// (destroying it there ends the program). The focus goes to `focusTo` when given.
void EndInPlaceEditor(wxWindow* editor, wxWindow* focusTo = nullptr);

// The in-place editor now open anywhere in the program, or none: smoke runs type into it.
wxTextCtrl* OpenInPlaceEditor();

}  // namespace platform
