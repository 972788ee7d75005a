#pragma once
// The record information dialog without its window: the facts it shows, the sampling rates it
// offers, and how the user's corrections are applied to the document.
#include <vector>

#include "platform/CString.h"

class CTenvorikDoc;
class DocumentModel;

struct FileInfoFields {
    int channelCount = 0;   // analog + discrete, without the channels the program made
    int analogCount = 0;
    int discreteCount = 0;
    int sampleCount = 0;
    double netFrequency = 0.0;
    int samplingRate = 0;
    CString station, recorder, start, trigger, duration;
    int codePageIndex = 0;  // 0 "866 MS-DOS", 1 "Windows-1251"
    // "Не корректировать" and then the names of the record's frequency channels.
    std::vector<CString> correctionItems;
    int correctionIndex = 0;
};

FileInfoFields ReadFileInfo(const DocumentModel& doc);

// The rates offered for a net frequency of exactly 50 or 60 Hz; none for any other.
std::vector<int> SampleRateChoices(double netFrequency);

// The rate typed by the user: a whole number from 1 up; false for anything else.
bool ParseSampleRate(const CString& text, int& rate);

// Applies a changed sampling rate (one undo step, the record recalculated) and a changed
// frequency-correction channel. False, with nothing changed, when the undo copy cannot be
// made.
bool ApplyFileInfo(CTenvorikDoc& doc, int rate, int correctionIndex);
