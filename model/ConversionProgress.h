#pragma once
// What the converter's progress reports do to the conversion-progress window: a position of
// 100 or more fills the bar and hides the window, a smaller one moves the bar there and shows
// the window. Without a window nothing happens. The program's converter subclass forwards its
// progress-position operation here.
#include "platform/UiServices.h"

inline void ShowConversionProgress(platform::ProgressWindow* window, int position) {
    if (!window) return;
    if (position >= 100) {
        window->StepTo(100);
        window->SetVisible(false);
    } else {
        window->StepTo(position);
        window->SetVisible(true);
    }
}
