#include "platform/Exception.h"

#include <algorithm>

bool CException::GetErrorMessage(wchar_t* buffer, unsigned maxChars) const {
    if (!buffer || maxChars == 0) return false;
    CString text = GetErrorMessage();
    size_t n = std::min<size_t>(size_t(text.GetLength()), maxChars - 1);
    std::copy_n(text.GetString(), n, buffer);
    buffer[n] = L'\0';
    return true;
}
