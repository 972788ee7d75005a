#pragma once
// Markers the user places on the oscillogram with a free text: a moment of time, a signal
// level on one analog channel over a stretch of samples, and an area over a stretch of
// samples and a range of channel rows. Channels are named by their display names; an item
// whose channel has gone is neither hit nor drawn.
#include <cstdint>
#include <map>

#include "platform/CString.h"

class CBrush;
class CChannel;
class CDC;
class CFont;
class CImageList;
class CPen;
class DocumentModel;
class SettingsNode;

// A visible channel's row in content coordinates (0 is the top of the first row).
struct ChannelRow {
    int top = 0;
    int height = 0;
};
using ChannelLayoutMap = std::map<CString, ChannelRow>;

// The horizontal mapping of the view: one sample takes 25 x XScale pixels from the left
// caption width on.
int CommentSampleX(int64_t sample, int leftWidth, int64_t firstSample, double xScale);
// The sample at x: the nearer of floor and ceiling, the ceiling on a tie.
int64_t CommentSampleAt(int x, int leftWidth, int64_t firstSample, double xScale);
// The level line of a row for fraction f (0 at the lowest display value, 1 at the highest),
// with 5 pixels of margin at top and bottom.
int LevelLineY(const ChannelRow& row, double f);

// The channel of that display name (equal in case first, else ignoring case), or null.
const CChannel* FindCommentChannel(const DocumentModel& doc, const CString& name);

class CommentItem;

// What one painting of the comments needs.
struct CommentDrawContext {
    CDC* dc = nullptr;
    int right = 0, bottom = 0;
    int yOffset = 0;  // the view's vertical offset on the screen, 0 on a printed page
    int leftWidth = 0;
    int64_t firstSample = 0;
    double xScale = 1.0;
    int iconWidth = 20, iconHeight = 20;
    const CImageList* icons = nullptr;
    const ChannelLayoutMap* layout = nullptr;
    CPen* thinPen = nullptr;
    CPen* widePen = nullptr;
    CPen* selectedPen = nullptr;
    CBrush* fillBrush = nullptr;
    CFont* font = nullptr;
    const CommentItem* selected = nullptr;
    bool differencePanel = false;  // the 75-pixel bottom band
};

class CommentItem {
public:
    enum Kind { kBase = 0, kMoment = 1, kLevel = 2, kArea = 3 };
    // Parts of an item a drag takes hold of.
    enum Part { kNoPart = 0, kStart = 2, kEnd = 3, kLevelLine = 4 };

    CommentItem() = default;
    explicit CommentItem(const CString& text) : m_text(text) {}
    virtual ~CommentItem() = default;

    virtual int GetKind() const { return kBase; }
    // (x, y): a mouse point, y in content coordinates.
    virtual bool HitTest(int x, int y, int leftWidth, double xScale, int64_t firstSample,
                         const ChannelLayoutMap& layout, const DocumentModel& doc) const = 0;
    virtual bool HitTestRange(int64_t from, int64_t to, int& part) const = 0;
    virtual bool IsValid(const DocumentModel&) const { return true; }
    virtual void DrawLabel(const CommentDrawContext& ctx, const DocumentModel& doc) const = 0;
    virtual void Draw(const CommentDrawContext& ctx, const DocumentModel& doc) const = 0;
    // Without a category nothing is written or read.
    virtual void Save(SettingsNode* category) const;
    // False when a stored value is no number of its kind (the item is then unusable).
    virtual bool Load(const SettingsNode* category);
    virtual CString GetTooltipText(const DocumentModel& /*doc*/) const { return m_text; }
    // Whether the item's samples lie in a record of `samples` samples.
    virtual bool FitsSamples(int64_t samples) const = 0;

    CString GetText() const { return m_text; }

    CString m_text;
    bool m_locked = false;
    bool m_visible = true;

protected:
    void DrawTextBox(CDC* dc, const DocumentModel& doc, int x, int y) const;
};

class MomentItem final : public CommentItem {
public:
    MomentItem(int32_t position, const CString& text) : CommentItem(text), m_position(position) {}
    int GetKind() const override { return kMoment; }
    bool HitTest(int x, int y, int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap& layout,
                 const DocumentModel& doc) const override;
    bool HitTestRange(int64_t from, int64_t to, int& part) const override;
    void DrawLabel(const CommentDrawContext& ctx, const DocumentModel& doc) const override;
    void Draw(const CommentDrawContext& ctx, const DocumentModel& doc) const override;
    void Save(SettingsNode* category) const override;
    bool Load(const SettingsNode* category) override;
    // The text, then the moment's date and time and its offset from the record's start.
    CString GetTooltipText(const DocumentModel& doc) const override;
    bool FitsSamples(int64_t samples) const override { return m_position >= 0 && m_position < samples; }

    int32_t m_position = 0;
};

class LevelItem final : public CommentItem {
public:
    LevelItem(const CString& channel, int32_t sample, double level)
        : m_channel(channel), m_positionY(level), m_positionFrom(sample), m_positionTo(sample) {}
    int GetKind() const override { return kLevel; }
    bool HitTest(int x, int y, int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap& layout,
                 const DocumentModel& doc) const override;
    bool HitTestRange(int64_t from, int64_t to, int& part) const override;
    bool IsValid(const DocumentModel& doc) const override;
    void DrawLabel(const CommentDrawContext& ctx, const DocumentModel& doc) const override;
    void Draw(const CommentDrawContext& ctx, const DocumentModel& doc) const override;
    void Save(SettingsNode* category) const override;
    bool Load(const SettingsNode* category) override;
    CString GetTooltipText(const DocumentModel& doc) const override;
    bool FitsSamples(int64_t samples) const override;

    CString GetChannel() const { return m_channel; }
    // The level's place in its channel's display range; -1 when the channel is missing or
    // hidden or the level lies outside the range.
    double GetLevelFraction(const DocumentModel& doc) const;
    void SetLevelFromFraction(const DocumentModel& doc, double f);
    // Where the level line lies: x of both ends and y (content); false when it is not drawn.
    bool GetLinePlace(int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap& layout,
                      const DocumentModel& doc, int& x1, int& x2, int& yl, bool forDrawing = false) const;

    CString m_channel;
    double m_positionY = 0.0;
    int32_t m_positionFrom = 0;
    int32_t m_positionTo = 0;
};

class AreaItem final : public CommentItem {
public:
    AreaItem(const CString& channel, int32_t sample)
        : m_channelFrom(channel), m_channelTo(channel), m_positionFrom(sample), m_positionTo(sample) {}
    int GetKind() const override { return kArea; }
    bool HitTest(int x, int y, int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap& layout,
                 const DocumentModel& doc) const override;
    bool HitTestRange(int64_t from, int64_t to, int& part) const override;
    bool IsValid(const DocumentModel& doc) const override;
    void DrawLabel(const CommentDrawContext& ctx, const DocumentModel& doc) const override;
    void Draw(const CommentDrawContext& ctx, const DocumentModel& doc) const override;
    void Save(SettingsNode* category) const override;
    bool Load(const SettingsNode* category) override;
    // The text and the area's duration.
    CString GetTooltipText(const DocumentModel& doc) const override;
    bool FitsSamples(int64_t samples) const override;

    CString GetChannelFrom() const { return m_channelFrom; }
    CString GetChannelTo() const { return m_channelTo; }
    void SetChannelTo(const CString& channel) { m_channelTo = channel; }
    // The area in content coordinates; empty when a corner's channel has no row.
    void GetRect(int leftWidth, double xScale, int64_t firstSample, const ChannelLayoutMap& layout, int& left,
                 int& top, int& right, int& bottom) const;

    CString m_channelFrom, m_channelTo;
    int32_t m_positionFrom = 0;
    int32_t m_positionTo = 0;
};

// Texts of a span of microseconds in seconds, to the resolution of samples `periodUs` apart and
// at least to the millisecond: "0.29958 с" at 2400 Hz, "1.500 с" without a period.
CString FormatCommentSeconds(int64_t microseconds, double periodUs = 0.0);
