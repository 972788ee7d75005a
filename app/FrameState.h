#pragma once
// What the main frame remembers between events, apart from its window: the texts of the
// status-bar read-outs, the pending deferred redraw, and which diagram pane a display bit
// names.
#include <vector>

#include "platform/CString.h"

class FrameState {
public:
    // Number of the cursor read-out panes of the status bar.
    static constexpr size_t kReadoutPanes = 6;

    FrameState() : m_status(kReadoutPanes) {}

    // Keeps `text` for `pane`; true when it differs from the kept one, so the bar must be
    // written and redrawn. The list grows for a pane beyond its end.
    bool SetStatusText(size_t pane, const CString& text);
    CString StatusText(size_t pane) const { return pane < m_status.size() ? m_status[pane] : CString(); }

    // Any number of requests between two timer ticks cost one redraw.
    void RequestRedraw() { m_redrawDue = true; }
    bool TakeRedraw() {
        bool due = m_redrawDue;
        m_redrawDue = false;
        return due;
    }

    // Display bit of a diagram window (2 spectrum, 4 vector, 8 circle, 16 differential) to
    // its pane's slot 0..3; -1 for any other value.
    static int DiagramSlot(int displayBit);

private:
    std::vector<CString> m_status;
    bool m_redrawDue = false;
};
