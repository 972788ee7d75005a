// The document's record settings file: the document's parts handed to the settings file's
// writer and reader, and the command that applies the settings file of another record.
#include <algorithm>

#include "analysis/CalcChannels.h"
#include "document/TenvorikDoc.h"
#include "model/CommentStrings.h"
#include "model/RecordSettings.h"
#include "model/TenvorikException.h"
#include "model/Resources.h"
#include "model/SettingsStrings.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/FileSystem.h"
#include "platform/UiServices.h"

namespace {

// Merged strips: one sub-category per strip, named by its key, with the file names of its
// channels as "Channel0", "Channel1", ...
const wchar_t* const kStripsCategory = L"ChannelGroups";

void SaveStrips(const DocumentModel& doc, const ChannelGroupMap& groups, SettingsStore& store) {
    SettingsNode& node = store.GetCategory(kStripsCategory);
    node.Clear();
    for (const auto& [key, names] : groups) {
        SettingsNode& strip = node.GetSubCategory(key);
        int i = 0;
        for (const CStringA& name : names) {
            CString k;
            k.Format(L"Channel%d", i++);
            strip.SetString(k, doc.FileText(name));
        }
    }
}

// A channel's file name from the settings file. Settings saved while such texts were read in the
// ANSI code page name the channel so; that name is taken when it is the one a channel has.
CStringA StoredFileName(const DocumentModel& doc, const CString& stored) {
    const CStringA bytes = doc.FileBytes(stored);
    if (!doc.m_utf8Texts) return bytes;
    const CStringA ansi(stored);
    bool shown = false, read = false;
    for (const CChannel& ch : doc.m_oscillogram.m_channels) {
        shown = shown || ch.m_fileName == bytes;
        read = read || ch.m_fileName == ansi;
    }
    return !shown && read ? ansi : bytes;
}

ChannelGroupMap LoadStrips(const DocumentModel& doc, SettingsStore& store) {
    ChannelGroupMap groups;
    for (const auto& [key, strip] : store.GetCategory(kStripsCategory).GetSubCategories()) {
        std::set<CStringA> names;
        for (const auto& [k, v] : strip.GetValues())
            if (k.Left(7) == L"Channel") names.insert(StoredFileName(doc, v.GetString()));
        // A strip of one channel is none.
        if (names.size() >= 2) groups[key] = std::move(names);
    }
    return groups;
}

// A category the document keeps through two of its own operations.
class DocumentCategory final : public SettingsCategoryOwner {
public:
    DocumentCategory(CTenvorikDoc& doc, void (CTenvorikDoc::*save)(), void (CTenvorikDoc::*load)())
        : m_doc(doc), m_save(save), m_load(load) {}
    void SaveSettings(SettingsNode&) override { (m_doc.*m_save)(); }
    void LoadSettings(SettingsNode&) override { (m_doc.*m_load)(); }

private:
    CTenvorikDoc& m_doc;
    void (CTenvorikDoc::*m_save)();
    void (CTenvorikDoc::*m_load)();
};

// The calculated channels of the record the document holds at the time of the call (undo and
// redo exchange whole records, each with its own list).
class CalculatedChannelsCategory final : public SettingsCategoryOwner {
public:
    explicit CalculatedChannelsCategory(CTenvorikDoc& doc) : m_doc(doc) {}
    void SaveSettings(SettingsNode& category) override { CalcChannels::Of(m_doc.m_oscillogram).SaveToSettings(category); }
    void LoadSettings(SettingsNode& category) override { CalcChannels::Of(m_doc.m_oscillogram).LoadFromSettings(category); }
    void ClearForLoad() override { CalcChannels::Of(m_doc.m_oscillogram).Clear(); }

private:
    CTenvorikDoc& m_doc;
};

// The comment items of the record; what does not fit the record is counted as dropped.
class CommentsCategory final : public SettingsCategoryOwner {
public:
    explicit CommentsCategory(CTenvorikDoc& doc) : m_doc(doc) {}
    void SaveSettings(SettingsNode& category) override { m_doc.m_comments.Save(&category); }
    void LoadSettings(SettingsNode& category) override { m_dropped += m_doc.m_comments.Load(&category); }
    int m_dropped = 0;

private:
    CTenvorikDoc& m_doc;
};

RecordSettingsParts PartsOf(CTenvorikDoc& doc) {
    RecordSettingsParts p;
    p.doc = &doc;
    p.store = &doc.m_settings;
    p.diffPairs = &doc.m_diffChartPairs;
    p.circlePairs = &doc.m_circleChartPairs;
    p.setCodePage = [&doc](int32_t flag) { doc.SetCodePage(flag); };
    return p;
}

}  // namespace

void CTenvorikDoc::LoadSettingsFile(const CString& path, bool skipComments) {
    DocumentCategory faultLocation(*this, &CTenvorikDoc::SaveFaultLocationSettings,
                                   &CTenvorikDoc::LoadFaultLocationSettings);
    CalculatedChannelsCategory calculated(*this);
    CommentsCategory comments(*this);
    RecordSettingsParts parts = PartsOf(*this);
    parts.faultLocation = &faultLocation;
    parts.calculatedChannels = &calculated;
    parts.comments = &comments;
    {
        // The calculated channels leave and come back while the file is applied: their
        // comments stay.
        struct Applying {
            bool& flag;
            explicit Applying(bool& f) : flag(f) { flag = true; }
            ~Applying() { flag = false; }
        } applying(m_applyingSettings);
        LoadRecordSettings(parts, path, skipComments);
    }
    m_channelGroups = LoadStrips(*this, m_settings);
    // A strip naming a channel this record does not have is dropped.
    PurgeChannelGroups();
    if (skipComments) return;
    // Only now are all channels there with their display names.
    const int dropped = comments.m_dropped + m_comments.RemoveItemsOutside();
    if (dropped > 0) {
        CString message;
        message.Format(LoadResString(IDS_COMMENTS_DROPPED).GetString(), dropped);
        PostExceptionToMainFrame(CTenvorikException::FromText(message + L" - " + path));
    }
}

void CTenvorikDoc::RemoveInvalidComments() {
    if (m_applyingSettings) return;
    // The comments leave with their channels; the newest undo state, which still has the
    // channels, keeps them so that going back to it brings them back.
    CommentList::TakenItems gone = m_comments.TakeInvalid();
    if (!gone.empty() && !m_undoComments.empty()) m_undoComments.back().push_back(std::move(gone));
}

std::string CTenvorikDoc::SettingsFileBytes() {
    DocumentCategory faultLocation(*this, &CTenvorikDoc::SaveFaultLocationSettings,
                                   &CTenvorikDoc::LoadFaultLocationSettings);
    CalculatedChannelsCategory calculated(*this);
    CommentsCategory comments(*this);
    RecordSettingsParts parts = PartsOf(*this);
    parts.faultLocation = &faultLocation;
    parts.calculatedChannels = &calculated;
    parts.comments = &comments;
    SaveStrips(*this, m_channelGroups, m_settings);
    return RecordSettingsBytes(parts);
}

void CTenvorikDoc::SaveSettingsFile(const CString& path) {
    const std::string bytes = SettingsFileBytes();
    CString error;
    if (!platform::TryWriteFileAtomically(path, bytes, &error))
        throw new CTenvorikException(IDS_SETTINGS_WRITE_ERROR, error);
}

CString CTenvorikDoc::LoadSettingsQuestion(const CString& path) {
    CString lost;
    auto add = [&lost](unsigned id, size_t count) {
        if (count == 0) return;
        CString part;
        part.Format(LoadResString(id).GetString(), int(std::min<size_t>(count, 1000000)));
        lost += (lost.IsEmpty() ? CString() : CString(L", ")) + part;
    };
    add(IDS_LOAD_SETTINGS_CALCULATED, CalcChannels::Of(m_oscillogram).GetCount());
    add(IDS_LOAD_SETTINGS_DIFF_PAIRS, m_diffChartPairs.size());
    add(IDS_LOAD_SETTINGS_CIRCLE_PAIRS, m_circleChartPairs.size());
    add(IDS_LOAD_SETTINGS_STRIPS, m_channelGroups.size());
    if (lost.IsEmpty()) return CString();
    CString question;
    question.Format(LoadResString(IDS_LOAD_SETTINGS_QUESTION).GetString(), platform::PathFileName(path).GetString(),
                    lost.GetString());
    return question;
}

void CTenvorikDoc::OnLoadSettings() {
    const CString path = platform::Ui().AskOpenFileName(LoadResString(IDS_LOAD_SETTINGS_TITLE),
                                                        LoadResString(IDS_SETTINGS_FILTER), L"set");
    if (path.IsEmpty()) return;
    // The file replaces the user's calculated channels, chart pairs and strips: only when he
    // says so, and as one step that "Отмена" takes back whole.
    const CString question = LoadSettingsQuestion(path);
    if (!question.IsEmpty() &&
        platform::Ui().MessageBox(question, LoadResString(IDS_LOAD_SETTINGS_TITLE), MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (!PushUndo(true)) return;
    try {
        // The comments stay those of this record.
        LoadSettingsFile(path, true);
    } catch (CException* e) {
        PostExceptionToMainFrame(e);
    }
    // Whatever was applied before a failure shows too.
    SetModifiedFlag(true);
    UpdateAllViews();
    UpdateDiagrams();
}

CString CTenvorikDoc::GetTitle() const {
    if (m_pathName.IsEmpty()) return DocumentModel::GetTitle();
    const int slash = std::max(m_pathName.ReverseFind(L'/'), m_pathName.ReverseFind(L'\\'));
    return m_pathName.Mid(slash + 1);
}

void CTenvorikDoc::SetCommentsCodePage(int ansi) { m_settings.GetCategory(L"Comments").SetInt(L"Codepage", ansi); }
