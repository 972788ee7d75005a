#pragma once
// The state a command's menu entry or button should show, asked of the code that handles the
// command before the entry is drawn. The window side passes its own subclass (a wx update
// event behind it); the base keeps what was set, which is what tests read.
#include "platform/WinTypes.h"

class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}
    virtual ~CCmdUI() = default;

    virtual void Enable(bool on = true) {
        m_enabled = on;
        m_enableSet = true;
    }
    // 0 unchecked, 1 checked.
    virtual void SetCheck(int check = 1) {
        m_check = check;
        m_checkSet = true;
    }
    virtual void SetRadio(bool on = true) {
        m_radio = on;
        m_radioSet = true;
    }

    UINT m_nID;
    bool m_enabled = true, m_enableSet = false;
    int m_check = 0;
    bool m_checkSet = false;
    bool m_radio = false, m_radioSet = false;
};
