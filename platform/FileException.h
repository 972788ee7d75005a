#pragma once
// The framework's file exception: a failed open, read or write of a file, with the system's
// error number as its cause and the file's path.
#include "platform/CString.h"
#include "platform/Exception.h"

class CFileException : public CException {
public:
    CFileException(int cause, long osError, const CString& fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    CString GetErrorMessage() const override;
    using CException::GetErrorMessage;

    int m_cause;         // the system's error number (errno)
    long m_lOsError;     // -1 when not given separately
    CString m_strFileName;
};
