#pragma once
// Channels between records over the clipboard: the text the copy puts there, the check of
// the bytes found there in the program's private format, and the paste of a channel text into
// a document, checked whole before the document changes.
#include <cstdint>
#include <vector>

#include "platform/CString.h"

class CTenvorikDoc;

// The XML text (UTF-16 with its declaration) of the document's selected recorded channels,
// with the record's time base and header.
CString BuildChannelClipboardText(const CTenvorikDoc& doc);

// The private format's bytes as the paste reads them: UTF-16LE text ended by a zero within
// the block. The same format carries the view's binary channel drags, which are no text;
// false for those and for anything else that does not start like an XML document.
bool ReadClipboardText(const std::vector<uint8_t>& bytes, CString& text);
// The text as the clipboard carries it: UTF-16LE with its terminating zero.
std::vector<uint8_t> ClipboardBytesOf(const CString& text);

// Pastes the channels of a clipboard text into the document as channels with their own time
// base, renamed "(2)", "(3)"... on a clash, behind one undo step; the header text tells of
// both records, a shown fault-location result is hidden and the merge bar is shown. A text
// that cannot be read whole is refused with the reason shown and the document unchanged;
// false then.
bool PasteChannelsFromXml(CTenvorikDoc& doc, const CString& text);

// Takes the pasted channels out of the record again, as one undo step, and puts the shift
// back to 0; false when there were none.
bool RemovePastedChannels(CTenvorikDoc& doc);
