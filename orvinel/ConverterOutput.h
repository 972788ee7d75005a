#pragma once
// The files of one conversion. Each is written to a temporary file beside its target and put
// in place only when every file of the conversion is complete, so a failed conversion leaves
// no partial output and never damages files that were there before.
#include <memory>
#include <string>
#include <vector>

#include "orvinel/ComtradeConverter.h"
#include "platform/AtomicFile.h"

class ComtradeConverter::Output {
public:
    Output(const CString& folder, const CString& fileName);
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Starts the file with extension `ext` ("cfg"); false when it cannot be created.
    bool Open(const char* ext);
    // Appends to the file started last; false when the bytes could not be written.
    bool Write(const std::string& text);
    // Moves every written file over its target; false (and the temporary files gone) on failure.
    bool Commit();

private:
    CString m_base;  // folder/fileName.
    std::vector<std::unique_ptr<platform::AtomicFileWriter>> m_files;
};
