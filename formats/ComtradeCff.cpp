#include "formats/ComtradeCff.h"

#include <cstdint>
#include <vector>

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// Steps over `word` (any case) at `i`; false when it is not there.
bool Word(std::string_view s, size_t& i, std::string_view word) {
    if (s.size() - i < word.size()) return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (Upper(s[i + k]) != Upper(word[k])) return false;
    i += word.size();
    return true;
}

void Spaces(std::string_view s, size_t& i) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
}

// The section name of a mark line ("--- file type: NAME ..."), upper-cased; empty when the
// line is no mark. Recorders vary the dashes (two or three), the spacing, the colon and the
// case ("-- file type  DAT ---"); all of them are marks.
std::string MarkName(std::string_view line) {
    size_t i = 0;
    Spaces(line, i);
    if (i >= line.size() || line[i] != '-') return {};
    while (i < line.size() && line[i] == '-') ++i;
    Spaces(line, i);
    if (!Word(line, i, "file")) return {};
    Spaces(line, i);
    if (!Word(line, i, "type")) return {};
    Spaces(line, i);
    if (i < line.size() && line[i] == ':') ++i;
    Spaces(line, i);
    std::string name;
    while (i < line.size() && IsLetter(line[i])) name += Upper(line[i++]);
    return name;
}

struct Section {
    std::string name;
    std::string_view line;  // the mark line without its end
    size_t begin = 0, end = 0;
};

size_t LineEnd(std::string_view all, size_t from) {
    size_t e = all.find_first_of("\r\n", from);
    return e == std::string_view::npos ? all.size() : e;
}

// After the line end at `e`: CR LF, LF or CR.
size_t NextLine(std::string_view all, size_t e) {
    if (e < all.size() && all[e] == '\r') ++e;
    if (e < all.size() && all[e] == '\n') ++e;
    return e;
}

// Where the line after the one that holds `i` starts; the end of the text when none follows.
size_t NextLineStart(std::string_view all, size_t i) {
    const size_t e = all.find_first_of("\r\n", i);
    return e == std::string_view::npos ? all.size() : e + 1;
}

bool StartsWithDash(std::string_view all, size_t at) {
    while (at < all.size() && (all[at] == ' ' || all[at] == '\t')) ++at;
    return at < all.size() && all[at] == '-';
}

// The first mark line that starts at `from` or at the start of a later line. `from` is a line
// start or the end of a counted data section, whose next mark may follow its last byte directly.
size_t NextMark(std::string_view all, size_t from, std::string& name) {
    for (size_t at = from; at < all.size(); at = NextLineStart(all, at)) {
        if (!StartsWithDash(all, at)) continue;
        name = MarkName(all.substr(at, LineEnd(all, at) - at));
        if (!name.empty()) return at;
    }
    return std::string_view::npos;
}

// Every section in order. A data section with a byte count is skipped whole, so that its bytes
// are never taken for marks.
std::vector<Section> Sections(std::string_view all) {
    std::vector<Section> out;
    std::string name;
    size_t at = NextMark(all, 0, name);
    while (at != std::string_view::npos) {
        Section s;
        s.name = name;
        const size_t e = LineEnd(all, at);
        s.line = all.substr(at, e - at);
        s.begin = NextLine(all, e);
        const size_t count = s.name == "DAT" ? CffSectionLength(s.line) : 0;
        size_t next;
        if (count > 0) {
            s.end = count <= all.size() - s.begin ? s.begin + count : all.size();
            next = NextMark(all, s.end, name);
        } else {
            next = NextMark(all, s.begin, name);
            s.end = next == std::string_view::npos ? all.size() : next;
        }
        out.push_back(std::move(s));
        at = next;
    }
    return out;
}

}  // namespace

bool CffSectionText(std::string_view all, std::string_view name, std::string& out) {
    for (const Section& s : Sections(all))
        if (s.name == name) {
            out.assign(all.substr(s.begin, s.end - s.begin));
            return true;
        }
    return false;
}

size_t CffSectionLength(std::string_view line) {
    size_t end = line.size();
    while (end > 0) {
        while (end > 0 && !IsDigit(line[end - 1])) --end;
        size_t start = end;
        while (start > 0 && IsDigit(line[start - 1])) --start;
        if (end == 0) break;
        if (start == 0 || !IsLetter(line[start - 1])) {
            uint64_t n = 0;
            for (size_t i = start; i < end; ++i) {
                n = n * 10 + uint64_t(line[i] - '0');
                if (n > (uint64_t(1) << 62)) break;
            }
            return size_t(n);
        }
        end = start;
    }
    return 0;
}

bool CffDataSection(std::string_view all, std::string_view& out) {
    for (const Section& s : Sections(all))
        if (s.name == "DAT") {
            out = all.substr(s.begin, s.end - s.begin);
            return true;
        }
    return false;
}

size_t CffUnknownMarkLine(std::string_view all, std::string& line) {
    // Lines past a counted data section are data, not lines.
    size_t limit = all.size();
    for (const Section& s : Sections(all))
        if (s.name == "DAT" && CffSectionLength(s.line) > 0) {
            limit = s.begin;
            break;
        }
    size_t dashLine = 0, number = 1;
    std::string_view dash;
    for (size_t at = 0; at < limit; ++number) {
        const size_t e = LineEnd(all, at);
        const std::string_view text = all.substr(at, e - at);
        // CR LF ends one line, not two.
        at = e < all.size() && all[e] == '\r' && e + 1 < all.size() && all[e + 1] == '\n' ? e + 2 : e + 1;
        if (!MarkName(text).empty()) continue;
        std::string upper;
        for (char c : text)
            if (c != ' ' && c != '\t') upper += Upper(c);
        const bool dashed = StartsWithDash(text, 0);
        if (upper.find("FILETYPE") != std::string::npos) {
            line.assign(text);
            return number;
        }
        if (dashed && dashLine == 0) {
            dashLine = number;
            dash = text;
        }
    }
    if (dashLine) line.assign(dash);
    return dashLine;
}
