#pragma once
// The sections of the single-file form ".cff": the member files of a record one after
// another, each behind a line "--- file type: NAME ...".
#include <cstddef>
#include <string>
#include <string_view>

// The text of the section whose line starts with `mark`: from after the CR LF that follows
// the mark to the next section line. False when the mark is missing; empty when no section
// follows.
bool CffSectionText(std::string_view all, std::string_view mark, std::string& out);

// The byte count of a data section line: the number after its colon (the program writes it
// without a space before the dashes, the standard with one); failing a colon, the digits from
// the first to the last.
size_t CffSectionLength(std::string_view line);

// The bytes of the data section: as many as its line counts, from after the line end; empty
// when they run past the file. False when there is no data section.
bool CffDataSection(std::string_view all, std::string_view& out);
