#pragma once
#include "platform/CString.h"
#include "platform/Exception.h"

// The program's own exception: a resource message, then " - " and a detail (usually a path)
// when there is one. Created with new, thrown by pointer, deleted by whoever shows it.
class CTenvorikException : public CException {
public:
    CTenvorikException(unsigned resourceId, const CString& detail = CString());
    // For messages composed by the caller (formatted resource texts).
    static CTenvorikException* FromText(const CString& message);

    CString GetErrorMessage() const override { return m_message; }
    using CException::GetErrorMessage;
    unsigned GetResourceId() const { return m_id; }

private:
    CTenvorikException() = default;
    unsigned m_id = 0;
    CString m_message;
};
