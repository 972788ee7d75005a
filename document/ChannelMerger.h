#pragma once
// The merge of channels pasted from another record into the open one: how the two recordings
// lie in time (the time shift, found by one of three synchronisations or set by dragging), and
// the combination of host and pasted channels into one record on one time base.
#include <cstdint>
#include <optional>

#include "platform/CString.h"

class CTenvorikDoc;

// What the merge bar holds for the merger: the chosen mode (0 start times, 1 fault component,
// 2 pre-fault phase; -1 none) and the chosen host and pasted channel names.
struct MergeChoice {
    int mode = -1;
    CString hostChannel;
    CString pastedChannel;
};

// A date text ("dd/mm/yyyy", day and month swapped when the second number exceeds 12; a
// two-digit year in this century) and a time text ("hh:mm:ss.ffffff") as microseconds since
// 1970 on the records' own clock. Empty when a text holds too few numbers or names no real
// date or time; `invalid` is then set when the numbers were there but out of range.
std::optional<int64_t> RecordInstantMicroseconds(const CString& date, const CString& time, bool* invalid = nullptr);

// A phase difference in degrees brought into (-180, 180].
double WrapPhaseDifference(double degrees);

class CChannelMerger {
public:
    explicit CChannelMerger(CTenvorikDoc* doc) : m_doc(doc) {}

    // Runs the synchronisation the merge bar's mode names; nothing for no mode.
    void Synchronize();
    void SyncByStartTime();
    void SyncByFaultComponent();
    void SyncByPrefault();

    // Puts host and pasted channels on one uniform time base at the highest rate, as one
    // undo step; afterwards no channel has an own time base and the shift is 0.
    void Combine();

    // The shift of the pasted channels as dragging sets it: clamped so that the two
    // recordings keep at least one sample interval in common.
    void SetDraggedShift(double seconds);

    double GetTimeShift() const;
    void SetTimeShift(double seconds);

private:
    // The host and pasted channel indices of the merge bar's choice; false (with the reason
    // shown) when either is missing.
    bool FindPair(int& host, int& pasted);
    CTenvorikDoc* m_doc;
};
