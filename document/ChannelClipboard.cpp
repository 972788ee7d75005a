#include "document/ChannelClipboard.h"

#include <cerrno>
#include <cmath>
#include <cwchar>
#include <optional>
#include <string_view>

#include "document/TenvorikDoc.h"
#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "model/XmlDocument.h"
#include "platform/Encoding.h"
#include "platform/UiServices.h"

namespace {

constexpr unsigned IDS_PASTE_REFUSED = 9720;
constexpr unsigned IDS_NOT_CHANNELS = 9721;
constexpr unsigned IDS_BAD_COUNT = 9722;
constexpr unsigned IDS_TIMES_COUNT = 9723;
constexpr unsigned IDS_TIME_NOT_INTEGER = 9724;
constexpr unsigned IDS_TIMES_NOT_INCREASING = 9725;
constexpr unsigned IDS_BAD_NET_FREQUENCY = 9726;
constexpr unsigned IDS_NO_RATE = 9727;
constexpr unsigned IDS_CHANNEL_COUNT = 9728;
constexpr unsigned IDS_CHANNEL_SAMPLE = 9729;
constexpr unsigned IDS_CHANNEL_FAILED = 9730;

// Far more samples than any record holds; a count above it is no count.
constexpr double kMaxSamples = 2e9;

std::vector<std::wstring_view> Split(const std::wstring& text) {
    std::vector<std::wstring_view> pieces;
    if (text.empty()) return pieces;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(L',', start);
        pieces.emplace_back(text.data() + start, (comma == std::wstring::npos ? text.size() : comma) - start);
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    return pieces;
}

std::optional<int64_t> StrictInt64(std::wstring_view s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
    if (i >= s.size()) return std::nullopt;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < L'0' || s[i] > L'9') return std::nullopt;
        if (v > (INT64_MAX - 9) / 10) return std::nullopt;
        v = v * 10 + (s[i] - L'0');
    }
    return negative ? -v : v;
}

std::optional<double> StrictDouble(std::wstring_view s) {
    if (s.empty() || s.size() > 64) return std::nullopt;
    const std::wstring text(s);
    wchar_t* end = nullptr;
    const double v = std::wcstod(text.c_str(), &end);
    if (end == text.c_str() || *end != L'\0') return std::nullopt;
    return v;
}

// A count written whole or as a number without a fraction ("1e+06").
std::optional<size_t> Count(const CString& text) {
    const auto v = StrictDouble(text.str());
    if (!v || !std::isfinite(*v) || *v < 0 || *v > kMaxSamples || std::floor(*v) != *v) return std::nullopt;
    return size_t(*v);
}

struct Refusal {
    unsigned id = 0;
    CString channel, detail;
};

// The channel texts of a pasted record, checked whole.
struct PastedRecord {
    const XmlNode* node = nullptr;
    std::vector<int64_t> times;
    std::vector<double> net;
    double rate = 0.0;
    std::vector<const XmlNode*> channels;
};

bool CheckRecord(const XmlNode& node, PastedRecord& rec, Refusal& why) {
    rec.node = &node;
    for (const XmlNode& c : node.GetChildren())
        if (c.GetName() == L"channel") rec.channels.push_back(&c);
    const auto n = Count(node.GetAttribute(L"num_values"));
    if (!n) return why.id = IDS_BAD_COUNT, false;
    const CString timesText = node.GetAttribute(L"times");
    const auto times = Split(timesText.str());
    if (times.size() != *n) return why.id = IDS_TIMES_COUNT, false;
    rec.times.reserve(*n);
    for (std::wstring_view piece : times) {
        const auto t = StrictInt64(piece);
        if (!t) return why.id = IDS_TIME_NOT_INTEGER, false;
        // Equal or falling times leave no interval to place a sample in.
        if (!rec.times.empty() && *t <= rec.times.back()) return why.id = IDS_TIMES_NOT_INCREASING, false;
        rec.times.push_back(*t);
    }
    const CString netText = node.GetAttribute(L"net_frequency");
    const auto nets = Split(netText.str());
    if (!nets.empty() && nets.size() != *n) return why.id = IDS_BAD_NET_FREQUENCY, false;
    rec.net.assign(*n, 0.0);
    for (size_t k = 0; k < nets.size(); ++k) {
        const auto f = StrictDouble(nets[k]);
        if (!f || !std::isfinite(*f)) return why.id = IDS_BAD_NET_FREQUENCY, false;
        rec.net[k] = *f;
    }
    if (rec.channels.empty()) return true;
    const auto rate = StrictDouble(node.GetAttribute(L"discr_frequency").str());
    if (!rate || !std::isfinite(*rate) || *rate <= 0.0 || *rate > 1e9) return why.id = IDS_NO_RATE, false;
    rec.rate = *rate;
    for (const XmlNode* c : rec.channels) {
        why.channel = c->GetAttribute(L"name");
        const auto count = Count(c->GetAttribute(L"values_count"));
        if (!count || *count != *n) return why.id = IDS_CHANNEL_COUNT, false;
        const CString dataText = c->GetAttribute(L"data");
        auto pieces = Split(dataText.str());
        // The writer ends every sample with a comma.
        if (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
        if (pieces.size() != *n) return why.id = IDS_CHANNEL_COUNT, false;
        for (std::wstring_view piece : pieces)
            if (!StrictDouble(piece)) return why.id = IDS_CHANNEL_SAMPLE, false;
    }
    return true;
}

void ShowRefusal(const Refusal& why) {
    CString reason;
    if (why.id == IDS_CHANNEL_COUNT || why.id == IDS_CHANNEL_SAMPLE)
        reason.Format(LoadResString(why.id).GetString(), why.channel.GetString());
    else if (why.id == IDS_CHANNEL_FAILED)
        reason.Format(LoadResString(why.id).GetString(), why.channel.GetString(), why.detail.GetString());
    else
        reason = LoadResString(why.id);
    CString text;
    text.Format(LoadResString(IDS_PASTE_REFUSED).GetString(), reason.GetString());
    platform::Ui().MessageBox(text, CString(), MB_OK | MB_ICONERROR);
}

bool NameTaken(const COscillogram& osc, const CString& name) {
    for (const CChannel& c : osc.m_channels)
        if (c.m_name.CompareNoCase(name) == 0) return true;
    return false;
}

CString HeaderText(const CTenvorikDoc& doc, const XmlNode& pasted) {
    CString t;
    auto add = [&](unsigned id) { t += LoadResString(id); };
    add(9735);
    add(9736);
    add(9737);
    add(9738), t += doc.GetTitle(), t += L"\r\n";
    add(9739), t += doc.GetStationName(), t += L"\r\n";
    add(9740), t += doc.GetRecorderId(), t += L"\r\n";
    add(9741), t += doc.GetRecordStartDateTime(), t += L"\r\n";
    add(9742), t += doc.GetOscillogramTitle(), t += L"\r\n\r\n";
    add(9743);
    add(9738), t += pasted.GetAttribute(L"title"), t += L"\r\n";
    add(9739), t += pasted.GetAttribute(L"stationID"), t += L"\r\n";
    add(9740), t += pasted.GetAttribute(L"blockID"), t += L"\r\n";
    add(9741), t += pasted.GetAttribute(L"startTime"), t += L"\r\n";
    add(9742), t += pasted.GetAttribute(L"hdrFile"), t += L"\r\n";
    return t;
}

}  // namespace

CString BuildChannelClipboardText(const CTenvorikDoc& doc) {
    XmlDocument xml;
    doc.m_oscillogram.WriteToNode(xml.AddChild(L"channels"));
    return xml.SaveString();
}

bool ReadClipboardText(const std::vector<uint8_t>& bytes, CString& text) {
    if (bytes.size() < 4 || bytes.size() % 2 != 0) return false;
    size_t end = 0;
    while (end + 1 < bytes.size() && (bytes[end] != 0 || bytes[end + 1] != 0)) end += 2;
    if (end + 1 >= bytes.size()) return false;
    std::wstring wide = platform::Utf16LeToWide(std::string_view(reinterpret_cast<const char*>(bytes.data()), end));
    size_t first = wide.find_first_not_of(L" \t\r\n\xFEFF");
    if (first == std::wstring::npos || wide[first] != L'<') return false;
    text = CString(std::move(wide));
    return true;
}

std::vector<uint8_t> ClipboardBytesOf(const CString& text) {
    const std::string utf16 = platform::WideToUtf16Le(text.str(), false);
    std::vector<uint8_t> bytes(utf16.begin(), utf16.end());
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

bool PasteChannelsFromXml(CTenvorikDoc& doc, const CString& text) {
    // One record pasted at a time: its channels must be merged or removed first.
    if (doc.HasOwnTimeBaseChannel()) return false;
    Refusal why;
    XmlDocument xml;
    const XmlNode* node = nullptr;
    if (xml.ParseString(text)) {
        if (xml.GetName() == L"channels") node = &xml;
        for (const XmlNode& c : xml.GetChildren())
            if (!node && c.GetName() == L"channels") node = &c;
    }
    PastedRecord rec;
    if (!node) why.id = IDS_NOT_CHANNELS;
    else CheckRecord(*node, rec, why);
    // Every channel is built before the document changes: one that cannot be refuses the
    // whole paste.
    std::vector<CChannel> made;
    if (!why.id) {
        made.reserve(rec.channels.size());
        for (const XmlNode* c : rec.channels) {
            try {
                made.emplace_back(*c, &doc, rec.rate, rec.times, rec.net);
            } catch (CException* e) {
                why = {IDS_CHANNEL_FAILED, c->GetAttribute(L"name"), e->GetErrorMessage()};
                e->Delete();
                break;
            }
        }
    }
    if (why.id) {
        ShowRefusal(why);
        return false;
    }
    if (!doc.PushUndo()) return false;

    COscillogram& osc = doc.m_oscillogram;
    int analogPos = -1, discretePos = -1;
    for (size_t i = 0; i < osc.m_channels.size(); ++i) {
        const CChannel& c = osc.m_channels[i];
        if (!c.m_selected) continue;
        if (!c.IsDiscrete() && analogPos < 0) analogPos = int(i);
        if (c.IsDiscrete() && discretePos < 0) discretePos = int(i);
    }
    if (analogPos < 0) analogPos = osc.m_analogCount;
    if (discretePos < 0) discretePos = int(osc.m_channels.size());
    osc.ClearSelection();
    for (size_t k = 0; k < made.size(); ++k) {
        CChannel& ch = made[k];
        if (NameTaken(osc, ch.m_name)) {
            CString name;
            for (int n = 2;; ++n) {
                name.Format(L"%s(%i)", ch.m_name.GetString(), n);
                if (!NameTaken(osc, name)) break;
            }
            ch.m_name = name;
            ch.m_fileName = doc.RecordBytes(name);
        }
        if (rec.channels[k]->GetAttribute(L"type") == L"analog") {
            osc.AddChannel(analogPos++, std::move(ch));
        } else {
            osc.AddChannel(discretePos, std::move(ch));
        }
        ++discretePos;
    }

    const CString header = HeaderText(doc, *rec.node);
    doc.SetCommentsCodePage(1);
    // Held in the record's code page, so that the header shows as composed.
    osc.m_headerText = doc.RecordBytes(header);
    doc.m_pasteTimeShift = 0.0;
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews();
    doc.UpdateDiagrams();
    if (doc.m_locator.IsActive()) doc.HideFaultLocationResult();
    doc.ShowMergeBar(true);
    return true;
}

bool RemovePastedChannels(CTenvorikDoc& doc) {
    if (!doc.HasOwnTimeBaseChannel()) return false;
    if (!doc.PushUndo()) return false;
    COscillogram& osc = doc.m_oscillogram;
    for (size_t i = osc.m_channels.size(); i-- > 0;)
        if (osc.m_channels[i].HasOwnTimeBase()) osc.RemoveChannelAt(i);
    doc.m_pasteTimeShift = 0.0;
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews();
    doc.UpdateDiagrams();
    return true;
}
