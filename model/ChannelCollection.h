#pragma once
// The channels of a record with their calculated channels: look-ups by name, adding and
// removing channels, program-made channels and the list of frequency channels.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/WinTypes.h"

#include "model/Channel.h"

struct LoadProgress;
class XmlNode;
class CCmdUI;
struct CurveStrip;
class CurveSummary;

// Commands on channels that the view routes to the record.
enum ChannelCommand : unsigned {
    ID_CHANNEL_SHOW_MINMAX = 32817,
    ID_CHANNEL_SHOW_RMS = 32818,
    ID_CHANNEL_SHOW_HARMONIC = 32819,
    ID_CHANNEL_CURVE_INSTANT = 32820,
    ID_CHANNEL_CURVE_RMS = 32821,
    ID_CHANNEL_CURVE_HARMONIC = 32822,
    ID_CHANNEL_INVERT = 32823,
    ID_CHANNEL_REMOVE_DC = 32824,
    ID_SHOW_DISCRETE_ALL = 32845,
    ID_HIDE_DISCRETE_ALL = 32846,
    ID_HIDE_DISCRETE_CONSTANT = 32847,
    ID_HIDE_SELECTED_CHANNELS = 32848,
    ID_CHANNEL_FREQ_DIAGRAM = 32849,
    ID_CHANNEL_VECTOR_DIAGRAM = 32850,
    ID_CHANNEL_CIRCLE_DIAGRAM = 32851,
    ID_CHANNEL_ADC_COUNTS = 32852,
    ID_EDIT_COEFFICIENTS = 32866,
    ID_SHOW_PRIMARY_VALUES = 32867,
    ID_SHOW_SECONDARY_VALUES = 32868,
    ID_SELECTED_CHANNELS_COLOR = 33030,
};

// What the channel commands ask of the view that routes them: the two horizontal (level)
// cursors keep their place on the screen while the values under them change.
class ChannelCommandView {
public:
    virtual ~ChannelCommandView() = default;
    // Screen height of horizontal cursor k (0 or 1); false when it is switched off.
    virtual bool GetLevelCursorHeight(int k, int& y) = 0;
    // Binds horizontal cursor k again to the channel row at height y and takes its level there.
    virtual void PlaceLevelCursor(int k, int y) = 0;
    virtual void Invalidate() = 0;
};

// Channels a record computes from its other channels: the calculated channels of the formula
// engine, which stands above the record model. The collection keeps them, so that undo
// snapshots carry them, and has them computed again after every recalculation.
class DerivedChannels {
public:
    virtual ~DerivedChannels() = default;
    virtual std::unique_ptr<DerivedChannels> Clone() const = 0;
    // Computes every derived channel into the record; false when one failed.
    virtual bool ComputeChannels() = 0;
};

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
    // Removes channel `index` (nothing when out of range), as RemoveChannel does.
    void RemoveChannelAt(size_t index);
    void RebuildFrequencyChannels();
    void ClearSelection();
    // Recalculates every channel (in parallel) and then the calculated channels; with
    // `rebuildTimes` the per-sample frequency table is rebuilt first.
    void RecalcAll(bool rebuildTimes);

    // The clipboard tree of the selected recorded channels: `node` becomes the "channels"
    // element with the record's time base and header, one "channel" child per channel.
    void WriteToNode(XmlNode& node) const;
    // --- commands on the channels (ChannelCommand ids)
    void ApplyValueMode(UINT id, ChannelCommandView* view);
    void ShowDiscreteChannels(UINT id);
    void ToggleDiagramFlag(UINT id);
    void EditCoefficients(UINT id);
    void SetSelectedChannelsColor();
    void UpdateValueModeUI(CCmdUI& ui) const;
    void UpdatePrimarySecondaryUI(CCmdUI& ui) const;
    void UpdateDiagramFlagUI(CCmdUI& ui) const;
    // After a change that affects every value: channels and calculated channels recalculated,
    // fault location rerun, the document marked modified, views and diagrams updated.
    void UpdateAfterChange();

    // Draws the channels of these file names into one strip on a common vertical range; the
    // zero line once, with the first of them. `summaries` (may be null) is indexed like
    // m_channels.
    void DrawChannels(const CurveStrip& strip, const std::vector<const CChannel*>& members,
                      const std::vector<const CurveSummary*>* summaries = nullptr) const;

    CStringA GetHeaderText() const { return m_headerText; }
    // Display name of entry `index` of the frequency-channel list; empty when out of range.
    CString GetFrequencyChannelName(int index) const;
    const std::vector<CChannel*>& GetFrequencyChannels() const { return m_frequencyChannels; }

    DocumentModel* m_document;
    std::vector<CChannel> m_channels;  // analog channels first, then discrete ones
    std::unique_ptr<DerivedChannels> m_derivedChannels;  // none until the formula engine sets it
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
void RecalcChannels(std::vector<CChannel>& channels, LoadProgress* progress, bool onlyChanged = false);
