#pragma once
// What the combo boxes compute: the texts a box remembers with the time each was chosen,
// and the file that keeps them; the completion and drop-down rules of the typing box; the
// disabled items of the owner-drawn box.
#include <cstdint>
#include <map>
#include <vector>

#include "platform/CString.h"

namespace halvex {

enum FindTextMode : int { eFindMostRecent = 0, eFindOldest = 1, eFindGiven = 2 };

class RememberedTexts {
public:
    // Reads the file (UTF-16 with or without its mark, or ANSI): lines of "text|time",
    // oldest first. More lines than `max` keep the most recent ones and mark the list changed,
    // so that the next save shortens the file. A file that is no text at all (binary bytes)
    // reads as empty and is left as it is.
    void Load(const CString& path, int max);
    // Writes the lines, oldest first, as UTF-16 with its mark, replacing the file only once
    // the whole text is written. Nothing unless changed; a path that names no existing file
    // is not created. False when the write failed (the list stays changed).
    bool Save(const CString& path);

    int Count() const { return int(m_texts.size()); }
    int Max() const { return m_max; }
    void SetMax(int max) { m_max = max; }
    bool IsChanged() const { return m_changed; }
    void SetChanged() { m_changed = true; }
    std::vector<CString> MostRecentFirst() const;
    bool Contains(const CString& text) const;
    // Remembers a text chosen at `now` (seconds since 1970): a known text gets the new time,
    // a new one pushes out the oldest when `max` are remembered.
    void Choose(const CString& text, int64_t now);
    // Renews the time of a remembered text; false when it is not remembered.
    bool Renew(const CString& text, int64_t now);
    // Mode 0 the most recent text, 1 the oldest, 2 `text` when remembered; "" otherwise.
    // `time` receives the text's time (0 when none).
    CString Find(FindTextMode mode, const CString& text, int64_t* time) const;
    // The file's text for these lines.
    CString FileText() const;

private:
    std::multimap<int64_t, CString> m_texts;
    int m_max = 15;
    bool m_changed = false;
};

// The first item that starts with `typed`, case ignored, as the list's prefix search; -1.
int FindItemStartingWith(const std::vector<CString>& items, const CString& typed);
// The whole text equal, case ignored; -1.
int FindItemExact(const std::vector<CString>& items, const CString& text);
// Height of the drop-down list showing `items` items (at most 8 rows; one more row than
// items, as the box has it) under the edit field.
int DropDownHeight(int itemHeight, int items, int editHeight);
// Adds (`disable` set, once) or removes an item index; 0 for an index outside the list.
int SetDisabledItem(std::vector<int>& disabled, int itemCount, int index, int disable);
// The selection after a wheel step landed on `index`: moved on past disabled items in the
// wheel's direction (towards the end for a negative delta), staying inside the list.
int SkipDisabled(const std::vector<int>& disabled, int itemCount, int index, int wheelDelta);

}  // namespace halvex
