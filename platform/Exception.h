#pragma once
// The framework's exception base. Exceptions are created with new, thrown by pointer and
// deleted by the handler that finally shows them (Delete()).
#include "platform/CString.h"

class CException {
public:
    virtual ~CException() = default;
    // The message shown to the user.
    virtual CString GetErrorMessage() const = 0;
    // Copies the message into a caller's buffer, cut to fit and always terminated.
    bool GetErrorMessage(wchar_t* buffer, unsigned maxChars) const;
    void Delete() { delete this; }

protected:
    CException() = default;
};
