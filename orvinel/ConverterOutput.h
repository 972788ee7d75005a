#pragma once
// The files of one conversion: one record, written as the program saves a record. Each is
// written to a temporary file beside its target and put in place only when every file of the
// conversion is complete, the configuration last, so a failed conversion leaves no partial
// output and never damages files that were there before; a save of the same record by the
// program waits for the conversion, and the other way round.
#include <memory>
#include <string>
#include <vector>

#include "orvinel/ComtradeConverter.h"
#include "platform/RecordWriter.h"

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
    std::unique_ptr<platform::RecordWriter> m_record;
    platform::AtomicFileWriter* m_last = nullptr;
};
