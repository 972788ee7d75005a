#include "halvex/helpers/Ai_Log.h"

#include <fcntl.h>
#include <unistd.h>

#include "halvex/helpers/Ai_File.h"
#include "halvex/helpers/Ai_Time.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"

CString CAi_Log::m_strFile;

namespace {

std::string Sys(const CString& path) { return platform::WideToUtf8(path.view()); }

// Opens (creating when missing) and closes the file, as a log file is first made.
bool Touch(const CString& path) {
    if (path.IsEmpty()) return false;
    int fd = ::open(Sys(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

}  // namespace

CAi_Log::CAi_Log() {
    if (m_strFile.IsEmpty()) SetPathToLoggingFile(CString());
}

CAi_Log::CAi_Log(const CString& file, bool clear) {
    m_strFile = file;
    Touch(file);
    if (clear) ClearFile();
}

void CAi_Log::SetPathToLoggingFile(const CString& folder) {
    CString f = folder;
    f.TrimRight(L"\\/");
    if (folder.IsEmpty()) {
        // A log needs a folder the user may write; the temporary one always is.
        f = CAi_File::GetWinTmpPath();
        f.TrimRight(L"/");
    }
    m_strFile = f + L"/Logging.txt";
}

int CAi_Log::OpenFile() {
    if (m_strFile.IsEmpty()) {
        platform::Ui().MessageBox(L"111", CString(), MB_OK);
        SetPathToLoggingFile(CString());
    }
    return ::open(Sys(m_strFile).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}

void CAi_Log::CloseFile() {}  // every write opens and closes the file itself

bool CAi_Log::ClearFile() {
    if (m_strFile.IsEmpty()) return false;
    int fd = ::open(Sys(m_strFile).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

void CAi_Log::AddStr(const CString& text) {
    int fd = OpenFile();
    if (fd < 0) return;
    // One write per line, so that lines of several writers never interleave.
    std::string bytes = platform::WideToUtf16Le((text + L"\r\n").view(), false);
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n <= 0) break;
        p += n;
        left -= size_t(n);
    }
    ::close(fd);
}

void CAi_Log::AddStr(int number) {
    CString s;
    s.Format(L"%d", number);
    AddStr(s);
}

void CAi_Log::AddStr(const CString& text, int number) {
    CString s;
    s.Format(L"%s %d", text.GetString(), number);
    AddStr(s);
}

void CAi_Log::AddStr(int number, const CString& text) {
    CString s;
    s.Format(L"%d %s", number, text.GetString());
    AddStr(s);
}

void CAi_Log::WriteLog(const CString& text, const CString& name) {
    m_strFile = L"Debug//" + CAi_Time::GetCurrentDateByString(L"_") + name + L".log";
    Touch(m_strFile);
    AddStr(CAi_Time::GetCurrentTimeByString(CAi_Time::eStrTimeMs, 0) + L" >> " + text);
}
