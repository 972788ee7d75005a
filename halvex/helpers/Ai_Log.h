#pragma once
// Appending lines to a UTF-16LE text log (no byte-order mark, lines end "\r\n") whose path
// is kept for the whole process, and dated debug logs. Writes that cannot reach the file are
// dropped silently.
#include "platform/CString.h"

class CAi_Log {
public:
    CAi_Log();                                  // sets the default path when none is set
    CAi_Log(const CString& file, bool clear);  // makes `file` the log, created when missing

    // `folder` + "/Logging.txt"; with an empty folder the user's temporary folder is used.
    static void SetPathToLoggingFile(const CString& folder);
    static void CloseFile();
    static bool ClearFile();
    static void AddStr(const CString& text);
    static void AddStr(int number);
    static void AddStr(const CString& text, int number);
    static void AddStr(int number, const CString& text);
    static void MyTRACE(const CString& text) { AddStr(text); }
    // Makes "Debug//<date>_<name>.log" (below the current folder) the log and adds the time
    // and `text` to it.
    static void WriteLog(const CString& text, const CString& name);

    static CString m_strFile;

private:
    static int OpenFile();  // a descriptor for appending, or -1
};
