#include "app/FrameState.h"

bool FrameState::SetStatusText(size_t pane, const CString& text) {
    if (pane >= m_status.size()) m_status.resize(pane + 1);
    if (m_status[pane] == text) return false;
    m_status[pane] = text;
    return true;
}

int FrameState::DiagramSlot(int displayBit) {
    switch (displayBit) {
        case 2: return 0;
        case 4: return 1;
        case 8: return 2;
        case 16: return 3;
        default: return -1;
    }
}
