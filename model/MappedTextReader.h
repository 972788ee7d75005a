#pragma once
// A whole text or binary file mapped copy-on-write, walked with a cursor that hands out lines,
// fields and integers. Fields are returned in place (their separator overwritten with NUL), so
// reading a large file allocates nothing per field.
#include <cstdint>

#include "platform/CString.h"
#include "platform/MappedFile.h"

class MappedTextReader {
public:
    // Throws CFileException* when the file cannot be opened and CTenvorikException* (330 with
    // the path) when it cannot be mapped: empty, not a regular file, or 4 GiB and more.
    explicit MappedTextReader(const CStringW& path);
    MappedTextReader(const MappedTextReader&) = delete;
    MappedTextReader& operator=(const MappedTextReader&) = delete;

    // Moves the cursor over tabs, line ends and spaces.
    void SkipBlanks();
    // One line without its leading blanks, from the ANSI code page; empty lines are passed
    // over and the end of the file gives an empty text.
    CStringW ReadLine();
    // One field up to the next tab, line end or comma. The text stays valid while the reader
    // lives (the file's final field: until the next final-field read).
    const char* ReadField();
    // One integer field; text after the digits up to the separator is skipped. Values beyond
    // 32 bits saturate.
    int32_t ReadInt();

    const CStringW& GetPath() const { return m_path; }

    // The view, for readers of binary layouts that move the cursor themselves.
    char* m_view = nullptr;
    char* m_cursor = nullptr;
    char* m_end = nullptr;

private:
    CStringW m_path;
    platform::MappedFile m_file;
    CStringA m_lastField;
};

// The whole mapped content as one narrow text (the file's bytes, unconverted).
CStringA MappedTextAsNarrow(const MappedTextReader& reader);
// True when a narrow text is already in the ANSI code page (1251) rather than OEM (866): it
// has more Cyrillic letters of 1251 than its OEM-to-ANSI conversion has.
bool IsAnsiText(const CStringA& text);
// A wide text in the OEM code page, for writing; cut at its first NUL.
CStringA WideToOem(const CStringW& text);
