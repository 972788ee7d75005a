#pragma once
// The loaded record: its channels, sampling-rate segments and time table, and header texts.
#include <cstdint>
#include <vector>

#include "model/ChannelCollection.h"
#include "model/TimeTable.h"

struct SampleRateSegment {
    double rate = 0.0;      // samples per second
    int32_t lastSample = 0;  // number of the segment's last sample
};

class COscillogram : public CChannelCollection {
public:
    explicit COscillogram(DocumentModel* doc) : CChannelCollection(doc) {}
    COscillogram(const COscillogram&) = default;
    COscillogram& operator=(const COscillogram&) = default;
    COscillogram(COscillogram&&) noexcept = default;
    COscillogram& operator=(COscillogram&&) noexcept = default;

    std::vector<SampleRateSegment> m_rates;  // the record's sampling-rate table
    RunTable m_sampleFrequency;              // per-sample frequency table ("net_frequency")
    TimeTable m_times;                       // time of every sample in microseconds
    int32_t m_timeReferenceSample = 0;       // cursor read-outs count time from this sample
    double m_samplesPerPeriod = 0.0;
    double m_netFrequency = 50.0;            // nominal network frequency, Hz
    int32_t m_samplingFrequency = 0;         // samples per second ("discr_frequency")
    double m_timeMultiplier = 1.0;
    CStringA m_stationName;                  // as read, in the record's code page
    CStringA m_recorderId;
    CStringA m_revision;                     // COMTRADE revision year text
    CString m_stationNameW;                  // display forms, made by the code page
    CString m_recorderIdW;
    CString m_startDate;
    CString m_startTime;
    CString m_triggerDate;
    CString m_triggerTime;
    CString m_dataFileType;                  // "ASCII", "BINARY" or "binary32"
    CString m_sourcePath;
    CString m_localTimeCode;                 // 2013 configuration files only
    CString m_timeCode;                      // 2013: the time code beside the local one, as read
    CString m_timeQuality;                   // 2013: the time-quality line, as read
    bool m_hasTimeCodeLine = false;          // 2013: the file had the time-code line
    CowVector<uint8_t> m_oscBytes;           // whole ".osc" file the record came from
    double m_harmonicCorrection = 1.0;       // scale of first-harmonic magnitudes
};
