#pragma once
// The sections of the single-file form ".cff": the member files of a record one after
// another, each behind a line "--- file type: NAME ...". Lines may end in CR LF or LF alone,
// and a mark is any line that starts with dashes and names "file type" and a section, whatever
// its spacing, colon and case ("-- file type  DAT ---").
#include <cstddef>
#include <string>
#include <string_view>

// The text of the section named `name` ("CFG", "INF", "HDR", "SET"): from after the line end
// that follows its mark to the next mark, or to the end of the file. False when there is no
// such section.
bool CffSectionText(std::string_view all, std::string_view name, std::string& out);

// The byte count of a data section line: the last run of digits that does not end a word
// ("BINARY32" has none of its own); 0 when the line gives none.
size_t CffSectionLength(std::string_view line);

// The bytes of the data section: as many as its line counts, from after the line end (all that
// remains when the file ends sooner); without a count, up to the next mark or the end of the
// file. False when there is no data section.
bool CffDataSection(std::string_view all, std::string_view& out);

// For a refusal that names its cause: the first line that looks meant for a mark (it names
// "file type", or else starts with a dash) but is none, and its 1-based number; 0 when no line
// looks so.
size_t CffUnknownMarkLine(std::string_view all, std::string& line);
