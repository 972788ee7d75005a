#include "platform/FileException.h"

#include <cstring>

#include "platform/Encoding.h"

CString CFileException::GetErrorMessage() const {
    CString text(platform::Utf8ToWide(std::strerror(m_cause)));
    if (!m_strFileName.IsEmpty()) text += L" - " + m_strFileName;
    return text;
}
