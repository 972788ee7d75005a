#include "halvex/helpers/Ai_Diff.h"

#include <sys/utsname.h>

#include <cwchar>

#include "platform/CString.h"
#include "platform/Encoding.h"

int CAi_Diff::GetOSDisplayString(wchar_t* text, int*) {
    utsname u{};
    if (!text || uname(&u) != 0) return 1;
    CString line;
    line.Format(L"%s %s (build %s), %s", platform::Utf8ToWide(u.sysname).c_str(), platform::Utf8ToWide(u.release).c_str(),
                platform::Utf8ToWide(u.version).c_str(), sizeof(void*) == 8 ? L"64-bit" : L"32-bit");
    std::wcsncpy(text, line.GetString(), 255);
    text[255] = L'\0';
    return 1;
}
