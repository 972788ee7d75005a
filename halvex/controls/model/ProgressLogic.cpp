#include "halvex/controls/model/ProgressLogic.h"

namespace halvex {

void SetProgressPosAtOnce(ProgressBarControl& bar, int pos) {
    int low = 0, high = 0;
    bar.GetRange(low, high);
    if (pos >= high) {
        bar.SetRange(low, high + 1);
        bar.SetPos(high + 1);
        bar.SetPos(high);
        bar.SetRange(low, high);
    } else if (pos != bar.GetPos()) {
        bar.SetPos(pos + 1);
        bar.SetPos(pos);
    }
}

void ProgressShared::SetText(const CString& text) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_text = text;
    m_textChanged = true;
}

void ProgressShared::SetStepOrderText(const CString& text) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_stepText = text;
    m_stepChanged = true;
}

bool ProgressShared::TakeTexts(CString* text, bool* textChanged, CString* stepText, bool* stepChanged) {
    std::lock_guard<std::mutex> hold(m_lock);
    if (text) *text = m_text;
    if (stepText) *stepText = m_stepText;
    if (textChanged) *textChanged = m_textChanged;
    if (stepChanged) *stepChanged = m_stepChanged;
    const bool any = m_textChanged || m_stepChanged;
    m_textChanged = m_stepChanged = false;
    return any;
}

}  // namespace halvex
