// A channel outside the running program: its display settings in the record's settings file,
// and the "channels" tree through which selected channels travel over the clipboard.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cwchar>
#include <system_error>

#include "model/Channel.h"
#include "model/ChannelCollection.h"
#include "model/ChannelNodes.h"
#include "model/DocumentModel.h"
#include "model/Oscillogram.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"
#include "model/SettingsStrings.h"
#include "model/XmlNode.h"
#include "platform/Encoding.h"

namespace {

// The shortest text that reads back as the same double: what "%g" gives whenever "%g" is
// exact, more digits where it would lose some.
std::wstring NumberText(double v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::wstring(buf, res.ec == std::errc() ? res.ptr : buf);
}

CString G(double v) {
    CString s;
    s.Format(L"%g", v);
    return s;
}

CString I(long long v) { return CString(std::to_wstring(v)); }

CString Bool(bool v) { return v ? L"true" : L"false"; }

double ToDouble(const CString& s) { return SettingsNode::TextToDouble(s); }
int ToInt(const CString& s) { return SettingsNode::TextToInt(s); }

// The pieces of a text split at every ",", empty ones included ("1,2," is three pieces).
std::vector<std::wstring_view> SplitAtCommas(const std::wstring& text) {
    std::vector<std::wstring_view> pieces;
    if (text.empty()) return pieces;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(L',', start);
        pieces.emplace_back(text.data() + start, (comma == std::wstring::npos ? text.size() : comma) - start);
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    return pieces;
}

double PieceToDouble(std::wstring_view piece) { return ToDouble(CString(std::wstring(piece))); }

}  // namespace

// ---- per-channel settings -------------------------------------------------------------

void CChannel::SaveSettings(SettingsNode& node) const {
    node.SetInt(L"ShowFlags", int(m_flags));
    node.SetDouble(L"PrimaryMul", m_primary);
    node.SetDouble(L"SecondaryMul", m_secondary);
    node.SetString(L"AliasName", m_alias);
    if (!IsDiscrete() && !m_netFrequency.empty()) node.SetString(L"NetFreq", FormatNetFrequencies());
    node.SetInt(L"CustomColorSet", m_customColorSet ? 1 : 0);
    node.SetInt(L"colorCustom", int(m_customColor));
}

void CChannel::LoadSettings(const SettingsNode& node) {
    ApplySettings(node);
    Reserve(GetSampleCount());
    Recalc();
}

bool CChannel::ApplySettings(const SettingsNode& node) {
    const uint32_t oldFlags = m_flags;
    const double oldPrimary = m_primary, oldSecondary = m_secondary;
    // What the channel is (made by the program, on its own time base) is the record's to say,
    // not the settings file's: a stale file must not turn a recorded channel into either.
    constexpr uint32_t kIdentity = CHF_CALCULATED | CHF_OWN_TIMEBASE;
    const uint32_t flags = uint32_t(node.GetInt(L"ShowFlags", int(m_flags)));
    m_flags = (flags & ~kIdentity) | (m_flags & kIdentity);
    // A ratio of zero, a negative one or one that is not a number would divide the shown
    // values by zero; such a value from a damaged file leaves the ratio as it is.
    const double primary = node.GetDouble(L"PrimaryMul", m_primary);
    const double secondary = node.GetDouble(L"SecondaryMul", m_secondary);
    if (std::isfinite(primary) && primary > 0) m_primary = primary;
    if (std::isfinite(secondary) && secondary > 0) m_secondary = secondary;
    m_alias = node.GetString(L"AliasName", m_alias);
    if (!m_alias.IsEmpty()) m_name = m_alias;
    const CString netFrequency = IsDiscrete() ? CString() : node.GetString(L"NetFreq", CString());
    ParseNetFrequencies(netFrequency);
    m_customColorSet = node.GetInt(L"CustomColorSet", 0) != 0;
    m_customColor = COLORREF(node.GetInt(L"colorCustom", 0));
    return m_flags != oldFlags || m_primary != oldPrimary || m_secondary != oldSecondary || !netFrequency.IsEmpty();
}

CString CChannel::FormatNetFrequencies() const {
    std::wstring out;
    for (size_t k = 0; k < m_netFrequency.size(); ++k) {
        if (k) out += L',';
        out += NumberText(m_netFrequency[k]);
    }
    return CString(std::move(out));
}

void CChannel::ParseNetFrequencies(const CString& text) {
    if (text.IsEmpty()) return;
    const size_t n = GetSampleCount();
    std::vector<double> f(n, 0.0);
    const auto pieces = SplitAtCommas(text.str());
    for (size_t k = 0; k < n && k < pieces.size(); ++k) f[k] = PieceToDouble(pieces[k]);
    m_netFrequency = std::move(f);
}

// ---- channel node trees -----------------------------------------------------------------

void CChannel::WriteToNode(XmlNode& node) const {
    node.SetAttribute(L"name", m_name);
    node.SetAttribute(L"dimension", GetUnitText());
    node.SetAttribute(L"type", IsDiscrete() ? L"discret" : L"analog");
    node.SetAttribute(L"desc2", FileText(m_phase));
    node.SetAttribute(L"desc3", FileText(m_circuit));
    node.SetAttribute(L"values_type", m_filePrimary ? L"primary" : L"secondary");
    node.SetAttribute(L"primary_mode", Bool(m_primaryMode));
    // Scaling and samples with every digit they need: a pasted channel must carry the same
    // numbers as the channel copied.
    node.SetAttribute(L"mul", NumberText(m_a));
    node.SetAttribute(L"offset", NumberText(m_b));
    node.SetAttribute(L"timeShift", NumberText(m_skew));
    node.SetAttribute(L"primary_value", NumberText(m_primary));
    node.SetAttribute(L"secondary_value", NumberText(m_secondary));
    node.SetAttribute(L"file_primary_value", NumberText(m_filePrimaryValue));
    node.SetAttribute(L"file_secondary_value", NumberText(m_fileSecondaryValue));
    node.SetAttribute(L"normal_state", I(m_normalState));
    node.SetAttribute(L"values_count", I(GetSampleCount()));
    node.SetAttribute(L"custom_color_set", Bool(m_customColorSet));
    node.SetAttribute(L"color_custom", I(int(m_customColor)));
    node.SetAttribute(L"record_start_date", m_document ? m_document->GetRecordStartDate() : CString());
    node.SetAttribute(L"record_start_time", m_document ? m_document->GetRecordStartTime() : CString());
    node.SetAttribute(L"duration_milli_sec", m_document ? m_document->GetDurationMicrosecondsText() : CString());
    std::wstring data;
    data.reserve(m_samples.size() * 8);
    for (double v : m_samples) {
        data += NumberText(v);
        data += L',';
    }
    node.SetAttribute(L"data", CString(std::move(data)));
}

CChannel::CChannel(const XmlNode& node, DocumentModel* doc, double ownRate, const CowVector<int64_t>& ownTimes,
                   const CowVector<double>& netFrequency)
    : CChannel(doc) {
    m_flags = CHF_DEFAULT | CHF_OWN_TIMEBASE;
    m_selected = true;
    m_ownRate = ownRate;
    m_ownTimes = ownTimes;
    m_netFrequency = netFrequency;

    m_name = node.GetAttribute(L"name") + LoadResString(IDS_PASTED_SUFFIX);
    // Held as the receiving record holds its texts.
    m_fileName = doc ? doc->RecordBytes(m_name) : CStringA(platform::AnsiToOem(platform::WideToAnsi(m_name.view())));
    m_phase = doc ? doc->FileBytes(node.GetAttribute(L"desc2")) : CStringA(node.GetAttribute(L"desc2"));
    m_circuit = doc ? doc->FileBytes(node.GetAttribute(L"desc3")) : CStringA(node.GetAttribute(L"desc3"));
    if (node.GetAttribute(L"type") == L"analog") {
        m_discrete = 0;
        m_displayUnit = node.GetAttribute(L"dimension");
        m_unit = doc ? doc->FileBytes(m_displayUnit) : CStringA(m_displayUnit);
        m_filePrimary = node.GetAttribute(L"values_type") == L"primary";
        m_primaryMode = node.GetAttribute(L"primary_mode") == L"true";
        m_primary = ToDouble(node.GetAttribute(L"primary_value"));
        m_secondary = ToDouble(node.GetAttribute(L"secondary_value"));
        m_filePrimaryValue = ToDouble(node.GetAttribute(L"file_primary_value"));
        m_fileSecondaryValue = ToDouble(node.GetAttribute(L"file_secondary_value"));
        m_a = ToDouble(node.GetAttribute(L"mul"));
        m_b = ToDouble(node.GetAttribute(L"offset"));
        m_skew = ToDouble(node.GetAttribute(L"timeShift"));
    } else {
        m_discrete = 1;
        m_normalState = uint32_t(ToInt(node.GetAttribute(L"normal_state")));
    }
    m_primaryText = CStringA(G(m_filePrimaryValue));
    m_secondaryText = CStringA(G(m_fileSecondaryValue));
    m_customColorSet = node.GetAttribute(L"custom_color_set") == L"true";
    m_customColor = COLORREF(ToInt(node.GetAttribute(L"color_custom")));

    // The count comes from the clipboard: never more samples than the data holds pieces.
    const CString dataText = node.GetAttribute(L"data");
    const auto pieces = SplitAtCommas(dataText.str());
    const int count = ToInt(node.GetAttribute(L"values_count"));
    const size_t n = count <= 0 ? 0 : std::min(size_t(count), pieces.size());
    std::vector<double> samples(n, 0.0);
    for (size_t k = 0; k < n; ++k) samples[k] = PieceToDouble(pieces[k]);
    m_samples = std::move(samples);
    if (m_discrete) m_samples.Compact();

    m_sourceStartDate = node.GetAttribute(L"record_start_date");
    m_sourceStartTime = node.GetAttribute(L"record_start_time");
    m_sourceDuration = node.GetAttribute(L"duration_milli_sec");
    Recalc();
}

void CChannelCollection::WriteToNode(XmlNode& node) const {
    node.SetName(L"channels");
    const DocumentModel* doc = m_document;
    const auto* osc = dynamic_cast<const COscillogram*>(this);
    if (!osc && doc) osc = &doc->GetOscillogram();

    // A count, written whole: "%g" would give "1e+06" for a million samples.
    // The count of the times written below: a pasted channel first in the list has a count
    // of its own, which the times do not follow.
    node.SetAttribute(L"num_values", I(GetSampleCount()));
    node.SetAttribute(L"time_multiplier", NumberText(osc ? osc->m_timeMultiplier : 1.0));
    node.SetAttribute(L"discr_frequency", I(osc ? osc->m_samplingFrequency : 0));
    const int count = GetSampleCount();
    std::wstring times, freqs;
    times.reserve(size_t(count) * 8);
    freqs.reserve(size_t(count) * 3);
    for (int i = 0; i < count; ++i) {
        if (i) {
            times += L',';
            freqs += L',';
        }
        times += std::to_wstring(doc ? doc->GetSampleTime(uint32_t(i)) : 0);
        const double f = osc && size_t(i) < osc->m_sampleFrequency.size() ? osc->m_sampleFrequency[size_t(i)] : 0.0;
        freqs += NumberText(f);
    }
    node.SetAttribute(L"times", CString(std::move(times)));
    node.SetAttribute(L"net_frequency", CString(std::move(freqs)));
    if (doc) {
        node.SetAttribute(L"stationID", doc->GetStationName());
        node.SetAttribute(L"blockID", doc->GetRecorderId());
        node.SetAttribute(L"title", doc->GetTitle());
        // The header text for display: OEM texts are made ANSI first.
        node.SetAttribute(L"hdrFile", doc->RecordText(m_headerText));
        node.SetAttribute(L"startTime", doc->GetRecordStartDateTime());
    }
    for (const CChannel& ch : m_channels) {
        // A channel pasted from another record is not on the time base this node carries.
        if (!ch.m_selected || ch.IsCalculated() || ch.HasOwnTimeBase()) continue;
        ch.WriteToNode(node.AddChild(L"channel"));
    }
}

PastedTimeBase ReadPastedTimeBase(const XmlNode& channels) {
    PastedTimeBase base;
    const CString timesText = channels.GetAttribute(L"times");
    const CString freqText = channels.GetAttribute(L"net_frequency");
    const auto times = SplitAtCommas(timesText.str());
    const auto freqs = SplitAtCommas(freqText.str());
    const double declared = ToDouble(channels.GetAttribute(L"num_values"));
    const size_t n = declared >= 1 ? std::min(times.size(), size_t(std::min(declared, 4e9))) : 0;
    std::vector<int64_t> t(n);
    std::vector<double> f(n, 0.0);
    for (size_t k = 0; k < n; ++k) {
        t[k] = int64_t(std::wcstoll(std::wstring(times[k]).c_str(), nullptr, 10));
        if (k < freqs.size()) f[k] = PieceToDouble(freqs[k]);
    }
    base.times = std::move(t);
    base.netFrequency = std::move(f);
    base.rate = ToDouble(channels.GetAttribute(L"discr_frequency"));
    return base;
}
