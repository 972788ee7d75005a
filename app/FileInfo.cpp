#include "app/FileInfo.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Resources.h"

FileInfoFields ReadFileInfo(const DocumentModel& doc) {
    FileInfoFields f;
    const COscillogram& osc = doc.GetOscillogram();
    for (const CChannel& ch : osc.m_channels) {
        if (ch.m_flags & CHF_CALCULATED) continue;
        if (ch.m_discrete)
            ++f.discreteCount;
        else
            ++f.analogCount;
    }
    f.channelCount = f.analogCount + f.discreteCount;
    f.sampleCount = osc.GetSampleCount();
    f.netFrequency = osc.m_netFrequency;
    f.samplingRate = osc.m_samplingFrequency;
    f.station = doc.GetStationName();
    f.recorder = doc.GetRecorderId();
    f.start = doc.GetRecordStartText(false);
    f.trigger = doc.GetRecordStartText(true);
    f.duration = doc.GetDurationText();
    f.codePageIndex = doc.m_codePage ? 1 : 0;
    f.correctionItems.push_back(LoadResString(62045));
    const int frequencyChannels = int(osc.GetFrequencyChannels().size());
    for (int i = 0; i < frequencyChannels; ++i) f.correctionItems.push_back(osc.GetFrequencyChannelName(i));
    const int corr = doc.m_frequencyCorrectionChannel;
    f.correctionIndex = frequencyChannels > 0 && corr >= 0 && corr <= frequencyChannels ? corr : 0;
    return f;
}

std::vector<int> SampleRateChoices(double netFrequency) {
    if (netFrequency == 50.0)
        return {160000, 80000, 40000, 32000, 20000, 19200, 16000, 10000, 9600, 8000, 6400, 5000, 4800, 4000,
                3200,   2500,  2400,  2000,  1600,  1200,  1000,  800,   600,  500,  400,  300,  200};
    if (netFrequency == 60.0)
        return {192000, 96000, 48000, 38400, 24000, 23040, 19200, 11520, 9600, 7680, 6000, 5760, 4800, 3840,
                3340,   3000,  2880,  2400,  1920,  1440,  1200,  960,   720,  600,  480,  360,  240};
    return {};
}

bool ParseSampleRate(const CString& text, int& rate) {
    CString t = text;
    t.Trim();
    if (t.IsEmpty()) return false;
    for (int i = 0; i < t.GetLength(); ++i)
        if (t[i] < L'0' || t[i] > L'9') return false;
    errno = 0;
    long long v = std::wcstoll(t.GetString(), nullptr, 10);
    if (errno != 0 || v < 1 || v > INT_MAX) return false;
    rate = int(v);
    return true;
}

bool ApplyFileInfo(CTenvorikDoc& doc, int rate, int correctionIndex) {
    COscillogram& osc = doc.GetOscillogram();
    if (rate != osc.m_samplingFrequency) {
        if (!doc.PushUndo()) return false;
        doc.GetOscillogram().m_samplingFrequency = rate;
        doc.GetOscillogram().RecalcAll(true);
        // A result on show was computed at the old rate.
        doc.RecalcFaultLocation();
        doc.SetModifiedFlag();
        doc.UpdateAllViews();
        doc.UpdateDiagrams();
    }
    if (correctionIndex != doc.m_frequencyCorrectionChannel) {
        doc.m_frequencyCorrectionChannel = correctionIndex;
        doc.UpdateAllViews();
        doc.UpdateDiagrams();
        doc.SetModifiedFlag();
        doc.GetOscillogram().RecalcAll(false);
    }
    return true;
}
