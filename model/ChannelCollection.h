#pragma once
// The channels of a record with their calculated channels: look-ups by name, adding and
// removing channels, program-made channels and the list of frequency channels.
#include <cstdint>
#include <vector>

#include "model/CalcChannels.h"
#include "model/Channel.h"

struct LoadProgress;
class XmlNode;

class CChannelCollection {
public:
    explicit CChannelCollection(DocumentModel* doc);
    CChannelCollection(const CChannelCollection& other);
    CChannelCollection& operator=(const CChannelCollection& other);
    CChannelCollection(CChannelCollection&&) noexcept = default;
    CChannelCollection& operator=(CChannelCollection&&) noexcept = default;
    virtual ~CChannelCollection() = default;

    // Channels whose display name equals `name` ignoring case are candidates; the one equal
    // case included wins, else the first. Throws CTenvorikException* (354) when none matches.
    CChannel& FindChannel(const CString& name);
    const CChannel& FindChannel(const CString& name) const;
    CChannel& FindChannelByFileName(const CStringA& fileName);
    // Position of the channel found by name, but only for a channel that carries a per-sample
    // net frequency (a pasted one); -1 otherwise.
    int FindChannelIndex(const CString& name) const;
    // Sample count of the first channel on the record's own time base; 0 when there is none.
    int GetSampleCount() const;
    // Seconds from the first to the last sample of the first channel whose own-time-base flag
    // equals `ownTimeBase`; 0 when there is none.
    double GetDuration(bool ownTimeBase) const;

    // Inserts at `position` (clamped to the count), or appends for -1.
    void AddChannel(int position, const CChannel& channel);
    void AddChannel(int position, CChannel&& channel);
    void SetCalculatedChannel(const CString& name, const CString& unit, const std::vector<double>& values);
    void SetComplexChannel(const CString& name, const CString& unit, const std::vector<double>& values,
                           const std::vector<Complex>& complexValues);
    void SetDiscreteChannel(const CString& name, const std::vector<int32_t>& states);
    void RemoveChannel(const CString& name);
    void RebuildFrequencyChannels();
    void ClearSelection();
    // Recalculates every channel (in parallel) and then the calculated channels; with
    // `rebuildTimes` the per-sample frequency table is rebuilt first.
    void RecalcAll(bool rebuildTimes);

    // The clipboard tree of the selected recorded channels: `node` becomes the "channels"
    // element with the record's time base and header, one "channel" child per channel.
    void WriteToNode(XmlNode& node) const;

    CStringA GetHeaderText() const { return m_headerText; }
    // Display name of entry `index` of the frequency-channel list; empty when out of range.
    CString GetFrequencyChannelName(int index) const;
    const std::vector<CChannel*>& GetFrequencyChannels() const { return m_frequencyChannels; }

    DocumentModel* m_document;
    std::vector<CChannel> m_channels;  // analog channels first, then discrete ones
    CalcChannels m_calcChannels;
    int32_t m_analogCount = 0;
    int32_t m_discreteCount = 0;
    CStringA m_headerText;

protected:
    // Rebinds the frequency list of a copy to the copy's own channels.
    void RebindFrequencyChannels(const CChannelCollection& source);

private:
    template <class Ch>
    void Insert(int position, Ch&& channel);
    void AddProgramChannel(CChannel&& channel);
    std::vector<CChannel*> m_frequencyChannels;  // not owned; rebuilt after every change
};

// Recalculates the channels, several at a time on a large record; stops starting channels
// once `progress` is cancelled. Throws the first failure in channel order.
void RecalcChannels(std::vector<CChannel>& channels, LoadProgress* progress);
