// What another copy of the program (or anything else) leaves on the clipboard in the program's
// private format: the text is checked, pasted into a record as channels on their own time base,
// synchronised by start time and combined; the same bytes as a channel drag are dropped on the
// view's diagrams.
#include "FuzzSupport.h"
#include "diagrams/ChannelDrop.h"
#include "document/ChannelClipboard.h"
#include "document/TenvorikDoc.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const std::string cfg = fuzz::WriteBaseRecord("rec");
    fuzz::QuietUi ui;
    CTenvorikDoc doc;
    if (!doc.OnOpenDocument(fuzz::Wide(cfg))) fuzz::Fail("the base record does not open");

    const std::set<uint32_t> dropped = ReadDroppedChannels(data, size);
    for (uint32_t kind : {DROP_SPECTRUM, DROP_VECTOR, DROP_CIRCLE}) {
        DiagramDropCommands(doc, kind, dropped);
        DiagramDropRefusal(doc, kind, dropped);
    }

    CString text;
    if (!ReadClipboardText(std::vector<uint8_t>(data, data + size), text)) return 0;
    if (!PasteChannelsFromXml(doc, text)) return 0;
    doc.m_merger.SyncByStartTime();
    doc.m_merger.Combine();
    BuildChannelClipboardText(doc);
    return 0;
}
