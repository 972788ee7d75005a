#include "model/RecordSettings.h"

#include <string>
#include <vector>

#include "model/ChannelPair.h"
#include "model/DocumentModel.h"
#include "model/MappedTextReader.h"
#include "model/Numeric.h"
#include "model/SettingsStore.h"
#include "model/SettingsStrings.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/FileSystem.h"

namespace {

const wchar_t kCalculatedChannels[] = L"CalculatedChannels";
const wchar_t kWrongPlaceFinding[] = L"WrongPlaceFinding";
const wchar_t kOscillogram[] = L"Oscillogram";
const wchar_t kComments[] = L"Comments";
const wchar_t kDiffChart[] = L"Diff Chart";
const wchar_t kCircleChart[] = L"Circle Chart";
const wchar_t kChannels[] = L"Channels";

// A channel's category: its name as the record file stores it, read in the ANSI code page
// (as UTF-8 in a record whose texts are held so).
CString CategoryOf(const CChannel& ch) { return ch.FileText(ch.m_fileName); }

// The category a channel's settings are read from. Settings saved while such texts were read
// in the ANSI code page name the channel so; they are read there when nothing is stored under
// its name as shown, so that they are not lost.
SettingsNode& StoredCategoryOf(SettingsStore& store, const CChannel& ch) {
    const CString name = CategoryOf(ch);
    const CString ansi(ch.m_fileName);
    const auto& stored = store.GetCategories();
    if (name != ansi && !stored.count(name) && stored.count(ansi)) return store.GetCategory(ansi);
    return store.GetCategory(name);
}

CString Index(size_t i) { return CString(std::to_wstring(i)); }

void SetCodePage(const RecordSettingsParts& p, int32_t flag) {
    if (p.setCodePage) {
        p.setCodePage(flag);
        return;
    }
    DocumentModel& doc = *p.doc;
    COscillogram& o = doc.GetOscillogram();
    doc.m_codePage = flag;
    o.m_stationNameW = doc.RecordText(o.m_stationName);
    o.m_recorderIdW = doc.RecordText(o.m_recorderId);
    for (CChannel& ch : o.m_channels) ch.UpdateDisplayName(flag != 0);
}

void SavePairs(SettingsStore& store, const wchar_t* chart, const std::vector<ChannelPair>* pairs, bool diff) {
    SettingsNode& channels = store.GetCategory(chart).GetSubCategory(kChannels);
    if (!pairs) return;
    channels.Clear();
    for (size_t i = 0; i < pairs->size(); ++i) {
        SettingsNode& node = channels.GetSubCategory(Index(i));
        if (diff)
            (*pairs)[i].SaveDiff(node);
        else
            (*pairs)[i].SaveCircle(node);
    }
}

void LoadPairs(SettingsStore& store, const wchar_t* chart, std::vector<ChannelPair>* pairs, bool diff) {
    SettingsNode& channels = store.GetCategory(chart).GetSubCategory(kChannels);
    if (!pairs) return;
    pairs->clear();
    // Pairs are numbered from 0; a number missing from the file is a pair of defaults.
    const size_t count = size_t(channels.GetSubCategoryCount());
    for (size_t i = 0; i < count; ++i) {
        ChannelPair pair;
        const SettingsNode& node = channels.GetSubCategory(Index(i));
        if (diff)
            pair.LoadDiff(node);
        else
            pair.LoadCircle(node);
        pairs->push_back(pair);
    }
}

}  // namespace

CString SettingsFileOf(const CString& recordPath) { return StripOscillogramExt(recordPath) + L".set"; }

namespace {

void FillRecordSettings(const RecordSettingsParts& p) {
    SettingsStore& store = *p.store;
    const DocumentModel& doc = *p.doc;
    const COscillogram& o = doc.GetOscillogram();

    SettingsNode& calculated = store.GetCategory(kCalculatedChannels);
    if (p.calculatedChannels) p.calculatedChannels->SaveSettings(calculated);
    SettingsNode& faultLocation = store.GetCategory(kWrongPlaceFinding);
    if (p.faultLocation) p.faultLocation->SaveSettings(faultLocation);
    for (const CChannel& ch : o.m_channels) ch.SaveSettings(store.GetCategory(CategoryOf(ch)));
    SettingsNode& osc = store.GetCategory(kOscillogram);
    osc.SetInt(L"Codepage", doc.m_codePage);
    osc.SetInt(L"DiscretisationFrequensy", o.m_samplingFrequency);
    SavePairs(store, kDiffChart, p.diffPairs, true);
    SavePairs(store, kCircleChart, p.circlePairs, false);
    SettingsNode& comments = store.GetCategory(kComments);
    if (p.comments) p.comments->SaveSettings(comments);
}

}  // namespace

void SaveRecordSettings(const RecordSettingsParts& p, const CString& path) {
    FillRecordSettings(p);
    CString error;
    if (!p.store->Save(path, &error)) throw new CTenvorikException(IDS_SETTINGS_WRITE_ERROR, error);
}

std::string RecordSettingsBytes(const RecordSettingsParts& p) {
    FillRecordSettings(p);
    return p.store->SaveBytes();
}

void LoadRecordSettings(const RecordSettingsParts& p, const CString& path, bool skipComments) {
    SettingsStore& store = *p.store;
    DocumentModel& doc = *p.doc;
    COscillogram& o = doc.GetOscillogram();

    CString file;
    if (platform::FileExists(path))
        file = path;
    else if (path.GetLength() > 3)
        file = path.Left(path.GetLength() - 3) + L"ini";
    if (!file.IsEmpty() && !store.Load(file)) {
        // The record loads with what could be read; the user learns that the rest is lost.
        PostExceptionToMainFrame(new CTenvorikException(IDS_SETTINGS_DAMAGED, file));
    }

    if (!skipComments) {
        SettingsNode& comments = store.GetCategory(kComments);
        if (p.comments) p.comments->LoadSettings(comments);
    }

    // A rate below one sample per second is no rate: such a value leaves the record's own.
    SettingsNode& osc = store.GetCategory(kOscillogram);
    const int rate = osc.GetInt(L"DiscretisationFrequensy", o.m_samplingFrequency);
    if (rate >= 1 && rate != o.m_samplingFrequency) {
        o.m_samplingFrequency = rate;
        doc.BuildSampleFrequencyTable();
    }

    if (p.calculatedChannels) p.calculatedChannels->ClearForLoad();

    CStringA texts = o.m_stationName;
    texts += o.m_recorderId;
    for (const CChannel& ch : o.m_channels) texts += ch.m_fileName;
    const int32_t detected = IsAnsiText(texts) ? 1 : 0;
    SetCodePage(p, detected);
    const int32_t stored = osc.GetInt(L"Codepage", detected);
    if (stored != detected) SetCodePage(p, stored);

    // The channels arrive recalculated: only those whose settings change what the derived
    // arrays hold are recalculated again.
    std::vector<size_t> changed;
    for (size_t k = 0; k < o.m_channels.size(); ++k) {
        if (doc.m_progress.Cancelled()) return;
        CChannel& ch = o.m_channels[k];
        if (ch.ApplySettings(StoredCategoryOf(store, ch))) changed.push_back(k);
    }
    for (size_t k : changed) {
        if (doc.m_progress.Cancelled()) return;
        CChannel& ch = o.m_channels[k];
        ch.Reserve(ch.GetSampleCount());
        ch.Recalc();
    }

    const int analogCount = o.m_analogCount;
    SettingsNode& calculated = store.GetCategory(kCalculatedChannels);
    if (p.calculatedChannels) p.calculatedChannels->LoadSettings(calculated);
    SettingsNode& faultLocation = store.GetCategory(kWrongPlaceFinding);
    if (p.faultLocation) p.faultLocation->LoadSettings(faultLocation);
    // The calculated channels just made take their display settings too.
    for (int i = analogCount; i < o.m_analogCount && size_t(i) < o.m_channels.size(); ++i) {
        CChannel& ch = o.m_channels[size_t(i)];
        ch.LoadSettings(StoredCategoryOf(store, ch));
    }

    LoadPairs(store, kDiffChart, p.diffPairs, true);
    LoadPairs(store, kCircleChart, p.circlePairs, false);
}
