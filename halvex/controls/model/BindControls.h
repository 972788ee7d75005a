#pragma once
// The editing controls a tree-table cell can be bound to. The owner creates them (hidden
// children of its dialog); the table moves them over a cell, shows, fills and reads them.
// The window side implements these on its own controls; tests implement them on plain data.
#include <cstdint>

#include "platform/CString.h"
#include "platform/Geometry.h"

namespace halvex {

class BindWindow {
public:
    virtual ~BindWindow() = default;
    virtual void PlaceOver(const CRect& cell) = 0;  // list client coordinates
    virtual void ShowBound(bool show) = 0;
    virtual bool IsBoundShown() const = 0;
    virtual int GetCtrlId() const = 0;
};

class BindCombo : public BindWindow {
public:
    virtual int ItemCount() const = 0;
    virtual CString ItemText(int index) const = 0;
    virtual int CurSel() const = 0;
    virtual void SelectIndex(int index) = 0;
    virtual CString BoundText() const = 0;
    virtual void DropDown() = 0;
    // The first item equal to the text, case ignored (the list's exact-string search); -1.
    int FindStringExact(const CString& text) const {
        for (int i = 0; i < ItemCount(); ++i)
            if (ItemText(i).CompareNoCase(text) == 0) return i;
        return -1;
    }
};

class BindEdit : public BindWindow {
public:
    virtual CString BoundText() const = 0;
    // Puts the text, focuses the box with the caret at the end in view.
    virtual void StartEditing(const CString& text) = 0;
};

class BindIpBox : public BindWindow {
public:
    virtual void ClearAddress() = 0;
    virtual void SetAddress(const uint8_t parts[4]) = 0;
    virtual void GetAddress(uint8_t parts[4]) const = 0;
    virtual void Focus() = 0;
};

// A dialog run modally on a cell: it edits `value` and answers IDOK or IDCANCEL.
class BindDialog {
public:
    virtual ~BindDialog() = default;
    virtual int RunModal(CString& value) = 0;
};

// Where the table's notifications go: the owner's window (the notification window of SetList).
class NotifyWindow {
public:
    virtual ~NotifyWindow() = default;
    virtual intptr_t SendMessage(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace halvex
