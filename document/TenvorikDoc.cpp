#include "document/TenvorikDoc.h"

#include <atomic>
#include <chrono>
#include <new>
#include <system_error>
#include <thread>

#include "formats/ComtradeCfg.h"
#include "model/AppOptions.h"
#include "model/Numeric.h"
#include "model/Parallel.h"
#include "model/Resources.h"
#include "model/SettingsStrings.h"
#include "model/TenvorikException.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/RecordWriter.h"
#include "platform/UiServices.h"

bool HasFileType(const CString& path, const wchar_t* ext) {
    return path.GetLength() >= 4 && FileTypeOf(path) == ext;
}

namespace {

// A file whose kind the program does not read.
constexpr unsigned kNotARecord = 9520;

// A data file above this size is read behind the loading dialog; below it the user
// interface only waits.
constexpr int64_t kDialogThreshold = 200000;
constexpr int64_t kOscDialogThreshold = 20000;

std::atomic<bool> g_holdLoads{false};

}  // namespace

CTenvorikDoc::CTenvorikDoc() : m_cursors(this), m_comments(this) {
    m_comments.SetTextEditor([this](CString& text) { return EditCommentItemText(text); });
}

CTenvorikDoc::~CTenvorikDoc() {
    DropEarlyOpen();
    UpdateDiagrams();
    DeleteTempFolder();
}

void CTenvorikDoc::DeleteTempFolder() {
    if (m_tempFolder.IsEmpty()) return;
    platform::RemoveTree(m_tempFolder);
    m_tempFolder.Empty();
}

void CTenvorikDoc::ResetRecord() {
    m_oscillogram = COscillogram(this);
    m_preparedSummaries.clear();
    m_utf8Config = false;
    m_utf8Texts = false;
}

// ---- open -----------------------------------------------------------------------------------

bool CTenvorikDoc::OnOpenDocument(const CString& openPath) {
    // The description named after "-Dst" is for the first record opened only.
    struct ForgetCommandLineDst {
        ~ForgetCommandLineDst() { TheAppOptions().commandLineDst.Empty(); }
    } forgetDst;
    // A read started early for this record is waited for as one started here; one for
    // another record is dropped.
    const bool early = m_earlyLoader.joinable() && openPath == m_earlyPath;
    if (!early) DropEarlyOpen();
    CString path = openPath;
    // A data file opens through its configuration file.
    if (HasFileType(path, L".dat")) path = path.Left(path.GetLength() - 4) + L".cfg";
    try {
        std::thread loader;
        bool showDialog = early && m_earlyDialog;
        if (early) {
            loader = std::move(m_earlyLoader);
        } else {
            m_loadResult = 0;
            if (HasFileType(path, L".sto")) {
                m_oscillogram.m_sourcePath = path;
                CString converted = ConvertStoToComtrade(path);
                if (converted.IsEmpty()) return false;
                path = converted;
            }

            CString sizeFile;
            int64_t threshold = kDialogThreshold;
            if (HasFileType(path, L".cfg")) {
                sizeFile = StripOscillogramExt(path) + L".dat";
            } else if (HasFileType(path, L".osc")) {
                sizeFile = path;
                threshold = kOscDialogThreshold;
            } else if (HasFileType(path, L".cff")) {
                sizeFile = path;
            } else {
                // Nothing to read it with: the user hears which file and why.
                throw new CTenvorikException(kNotARecord, path);
            }

            m_loadPath = path;
            m_progress.Reset();
            // The size file must be there: a missing data file is reported before any reading.
            int64_t size = platform::FileSize(sizeFile);
            if (size < 0) {
                // A configuration that is none is the cause to name, not the data file it lacks.
                if (HasFileType(path, L".cfg")) ParseComtradeCfg(platform::ReadFileBytes(path), path);
                int err = platform::PathExists(sizeFile) ? EACCES : ENOENT;
                CFileException::ThrowErrno(err, sizeFile);
            }
            showDialog = size > threshold || g_holdLoads.load();

            try {
                loader = std::thread([this] { LoadFile(); });
            } catch (const std::system_error&) {
                // Short of memory, no thread may start: the record is read here, without the dialog.
                LoadFile();
            }
        }
        if (loader.joinable()) {
            // A read that has already ended needs no dialog to wait for it.
            if (showDialog && !m_progress.IsFinished()) platform::Ui().RunLoadingDialog(m_progress);
            loader.join();
        }

        if (!m_oscillogram.m_channels.empty()) m_oscillogram.m_channels.front().m_selected = true;
        bool ok = m_loadResult != 0 && !m_progress.IsCancelled();
        if (ok) {
            m_pathName = openPath;
            m_recordDataChanged = false;
            SetModifiedFlag(false);
        } else {
            // Nothing of a failed or cancelled load stays in the document.
            ResetRecord();
            DeleteTempFolder();
        }
        return ok;
    } catch (CException* e) {
        DeleteTempFolder();
        ResetRecord();
        platform::Ui().PostException(e);
        return false;
    }
}

bool CTenvorikDoc::StartOpen(const CString& openPath) {
    if (m_earlyLoader.joinable()) return false;
    CString path = openPath;
    if (HasFileType(path, L".dat")) path = path.Left(path.GetLength() - 4) + L".cfg";
    // Only a record read straight from its file; anything else (a conversion, a file that is
    // not there, a kind no reader takes) is met by OnOpenDocument as it always is.
    CString sizeFile;
    int64_t threshold = kDialogThreshold;
    if (HasFileType(path, L".cfg")) {
        sizeFile = StripOscillogramExt(path) + L".dat";
    } else if (HasFileType(path, L".osc")) {
        sizeFile = path;
        threshold = kOscDialogThreshold;
    } else if (HasFileType(path, L".cff")) {
        sizeFile = path;
    } else {
        return false;
    }
    const int64_t size = platform::FileSize(sizeFile);
    if (size < 0) return false;
    m_loadResult = 0;
    m_loadPath = path;
    m_progress.Reset();
    try {
        m_earlyLoader = std::thread([this] {
            LoadFile();
            PrepareSummaries();
        });
    } catch (const std::system_error&) {
        return false;
    }
    m_earlyPath = openPath;
    m_earlyDialog = size > threshold || g_holdLoads.load();
    return true;
}

void CTenvorikDoc::DropEarlyOpen() {
    if (!m_earlyLoader.joinable()) return;
    m_progress.cancel.store(1);
    m_earlyLoader.join();
    ResetRecord();
    DeleteTempFolder();
    m_earlyPath.Empty();
}

void CTenvorikDoc::PrepareSummaries() {
    if (m_loadResult == 0 || m_progress.IsCancelled()) return;
    const auto& chs = m_oscillogram.m_channels;
    std::vector<size_t> wanted;
    for (size_t i = 0; i < chs.size(); ++i)
        if (CurveSummary::Wanted(chs[i])) wanted.push_back(i);
    if (wanted.empty()) return;
    try {
        std::vector<CurveSummary> made(chs.size());
        tv::ParallelSlices(wanted.size(), tv::WorkerCount(), [&](unsigned, size_t b, size_t e) {
            for (size_t k = b; k < e; ++k) made[wanted[k]].Build(chs[wanted[k]]);
        });
        m_preparedSummaries = std::move(made);
    } catch (...) {
        // Short of memory: the view makes them when it paints, as for any record.
        m_preparedSummaries.clear();
    }
}

void CTenvorikDoc::HoldLoadsUntilCancelled(bool hold) { g_holdLoads.store(hold); }

void CTenvorikDoc::LoadFile() {
    const CString path = m_loadPath;
    if (g_holdLoads.load())
        for (int waited = 0; waited < 6000 && !m_progress.IsCancelled(); ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    try {
        // What a killed save of the record left is finished or removed before it is read.
        if (HasFileType(path, L".cfg") || HasFileType(path, L".cff") || HasFileType(path, L".osc"))
            platform::TidyRecord(path);
        bool ok = false;
        if (HasFileType(path, L".cfg")) ok = LoadComtrade(path);
        else if (HasFileType(path, L".cff")) ok = LoadCff(path);
        else if (HasFileType(path, L".osc")) ok = LoadOsc(path);
        m_loadResult = ok ? 1 : 0;
    } catch (CException* e) {
        // The readers report their own failures; anything else that escapes them is
        // still shown, and the load fails.
        m_loadResult = 0;
        platform::Ui().PostException(e);
    } catch (const std::bad_alloc&) {
        m_loadResult = 0;
        // The file may be sound: the user is told that memory ran out, not that it is wrong.
        CString text;
        text.Format(LoadResString(9793).GetString(), path.GetString());
        platform::Ui().PostException(CTenvorikException::FromText(text));
    } catch (...) {
        m_loadResult = 0;
    }
    if (!HasFileType(path, L".cff")) DeleteTempFolder();
    // Ends the loading dialog, also when it has not yet shown its window.
    m_progress.Finish();
}

// ---- save and close ------------------------------------------------------------------------

bool CTenvorikDoc::OnSaveDocument(const CString& path) {
    // A ".zip" is an export: the document stays the record it was, under its own name, with
    // its unsaved changes still to be saved there.
    if (IsExportPath(path)) return SaveZip(path);
    bool ok = false;
    if (HasFileType(path, L".cfg")) ok = SaveComtrade(path);
    else if (HasFileType(path, L".osc")) ok = SaveOsc(path);
    else if (HasFileType(path, L".cff")) ok = SaveCff(path);
    if (ok) {
        SetModifiedFlag(false);
        m_pathName = path;
    }
    return ok;
}

bool CTenvorikDoc::IsExportPath(const CString& path) { return HasFileType(path, L".zip"); }

namespace {

CString FileNames(const std::vector<CString>& paths) {
    CString names;
    for (const CString& p : paths) names += (names.IsEmpty() ? CString() : CString(L", ")) + platform::PathFileName(p);
    return names;
}

}  // namespace

void CTenvorikDoc::CommitRecord(platform::RecordWriter& writer) {
    try {
        writer.Commit();
    } catch (CFileException* e) {
        CString text = e->GetErrorMessage(), more;
        // The settings file is named as such: the user may not know the file by its name.
        if (HasFileType(e->m_strFileName, L".set"))
            text = LoadResString(IDS_SETTINGS_WRITE_ERROR) + L" - " + text;
        e->Delete();
        if (writer.Replaced().empty())
            more.Format(LoadResString(9794).GetString(), FileNames(writer.NotReplaced()).GetString());
        else
            more.Format(LoadResString(9795).GetString(), FileNames(writer.Replaced()).GetString(),
                        FileNames(writer.NotReplaced()).GetString());
        throw CTenvorikException::FromText(text + L"\n" + more);
    }
}

bool CTenvorikDoc::SaveOsc(const CString& path) {
    try {
        const bool copy = path != m_oscillogram.m_sourcePath;
        const auto& bytes = m_oscillogram.m_oscBytes;
        // The ".osc" form is written only as the copy of the file the record was read
        // from: anything else would be an empty file where the user's record was.
        if (copy && bytes.size() == 0) {
            CString text;
            text.Format(LoadResString(9791).GetString(), path.GetString());
            throw CTenvorikException::FromText(text);
        }
        std::string settings = SettingsFileBytes();
        platform::RecordWriter writer(path);
        if (copy) writer.Add(path, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        writer.Add(StripOscillogramExt(path) + L".set", std::move(settings));
        CommitRecord(writer);
        return true;
    } catch (CException* e) {
        platform::Ui().PostException(e);
        return false;
    }
}

bool CTenvorikDoc::OnCloseDocument() {
    if (HasFileType(m_oscillogram.m_sourcePath, L".sto") && IsModified()) {
        int answer = platform::Ui().MessageBox(LoadResString(190), CString(), MB_OKCANCEL | MB_ICONINFORMATION);
        return answer == IDOK;
    }
    return true;
}

bool CTenvorikDoc::SaveModified() {
    if (HasFileType(m_pathName, L".sto")) return true;
    return AskSaveModified();
}

bool CTenvorikDoc::AskSaveModified() { return true; }
bool CTenvorikDoc::EditCommentText(CStringA&) { return false; }
bool CTenvorikDoc::EditCommentItemText(CString&) { return false; }
bool CTenvorikDoc::RunQuickAnalysis() { return false; }

// ---- undo and redo ---------------------------------------------------------------------------

bool CTenvorikDoc::PushUndo(bool withRecordParts) {
    try {
        std::optional<RecordParts> parts;
        if (withRecordParts) parts = TakeRecordParts();
        // The parts list keeps in step with the states even where a state was dropped alone.
        m_undoParts.resize(m_undo.size());
        m_undoParts.push_back(std::move(parts));
        try {
            m_undo.push_back(m_oscillogram);
            try {
                m_undoComments.emplace_back();
            } catch (const std::bad_alloc&) {
                m_undo.pop_back();
                throw;
            }
        } catch (const std::bad_alloc&) {
            m_undoParts.pop_back();
            throw;
        }
    } catch (const std::bad_alloc&) {
        platform::Ui().MessageBox(LoadResString(9501), CString(), MB_OK | MB_ICONERROR);
        return false;
    }
    m_redo.clear();
    m_redoComments.clear();
    m_redoParts.clear();
    m_recordDataChanged = true;
    return true;
}

bool CTenvorikDoc::Undo() {
    if (m_undo.empty()) return false;
    // Moving keeps every channel where it is, so the frequency list stays bound to the
    // channels it came with.
    m_redo.push_back(std::move(m_oscillogram));
    m_oscillogram = std::move(m_undo.back());
    m_undo.pop_back();
    m_redoComments.emplace_back();
    ExchangeComments(m_undoComments, m_redoComments.back());
    ExchangeRecordParts(m_undoParts, m_undo.size(), m_redoParts, m_redo.size());
    m_recordDataChanged = true;
    // The record differs from what was last saved, whichever way the user stepped.
    SetModifiedFlag(true);
    return true;
}

bool CTenvorikDoc::Redo() {
    if (m_redo.empty()) return false;
    m_undo.push_back(std::move(m_oscillogram));
    m_oscillogram = std::move(m_redo.back());
    m_redo.pop_back();
    m_undoComments.emplace_back();
    ExchangeComments(m_redoComments, m_undoComments.back());
    ExchangeRecordParts(m_redoParts, m_redo.size(), m_undoParts, m_undo.size());
    m_recordDataChanged = true;
    SetModifiedFlag(true);
    return true;
}

CTenvorikDoc::RecordParts CTenvorikDoc::TakeRecordParts() const {
    RecordParts p;
    p.channelGroups = m_channelGroups;
    p.diffChartPairs = m_diffChartPairs;
    p.circleChartPairs = m_circleChartPairs;
    p.settings = m_settings;
    p.codePage = m_codePage;
    p.lineModel = m_locator.GetData();
    return p;
}

void CTenvorikDoc::PutRecordParts(RecordParts&& p) {
    m_channelGroups = std::move(p.channelGroups);
    m_diffChartPairs = std::move(p.diffChartPairs);
    m_circleChartPairs = std::move(p.circleChartPairs);
    m_settings = std::move(p.settings);
    // The channels' shown names came back with the channels.
    m_codePage = p.codePage;
    m_locator.GetData() = std::move(p.lineModel);
}

void CTenvorikDoc::ExchangeRecordParts(std::deque<std::optional<RecordParts>>& from, size_t fromStates,
                                       std::deque<std::optional<RecordParts>>& to, size_t toStates) {
    // The entry of the state just taken off `from` is at index fromStates, when there is one.
    std::optional<RecordParts> restored;
    if (from.size() > fromStates) restored = std::move(from[fromStates]);
    from.resize(std::min(from.size(), fromStates));
    to.resize(toStates > 0 ? toStates - 1 : 0);
    if (!restored) {
        to.emplace_back();
        return;
    }
    to.push_back(TakeRecordParts());
    PutRecordParts(std::move(*restored));
}

void CTenvorikDoc::ExchangeComments(std::deque<std::vector<CommentList::TakenItems>>& from,
                                    std::vector<CommentList::TakenItems>& to) {
    // The comments that left with the state now restored come back with it, the latest taking
    // first so that each goes back to its place; those whose channels the restored state
    // lacks wait beside the state just left, which gets their channels back.
    if (!from.empty()) {
        std::vector<CommentList::TakenItems> back = std::move(from.back());
        from.pop_back();
        for (auto it = back.rbegin(); it != back.rend(); ++it) m_comments.PutBack(std::move(*it));
    }
    CommentList::TakenItems gone = m_comments.TakeInvalid();
    if (!gone.empty()) to.push_back(std::move(gone));
}

void CTenvorikDoc::OnUndoRedo() {
    RefreshAllViews();
    ShowMergeBar(HasOwnTimeBaseChannel());
}

// ---- code page and texts ---------------------------------------------------------------------

void CTenvorikDoc::SetCodePage(int32_t flag) {
    m_codePage = flag;
    m_oscillogram.m_stationNameW = RecordText(m_oscillogram.m_stationName);
    m_oscillogram.m_recorderIdW = RecordText(m_oscillogram.m_recorderId);
    for (auto& ch : m_oscillogram.m_channels) ch.UpdateDisplayName(flag != 0);
}

CString CTenvorikDoc::GetOscillogramTitle() const { return RecordText(m_oscillogram.m_headerText); }

bool CTenvorikDoc::HasOwnTimeBaseChannel() const {
    for (const auto& ch : m_oscillogram.m_channels)
        if (ch.m_flags & CHF_OWN_TIMEBASE) return true;
    return false;
}

void CTenvorikDoc::RefreshAllViews() {
    UpdateAllViews();
    UpdateDiagrams();
}

// ---- channel groups ---------------------------------------------------------------------------

bool CTenvorikDoc::GetGroupChannels(std::vector<CChannel*>& list, const CString& key) {
    list.clear();
    auto it = m_channelGroups.find(key);
    if (it == m_channelGroups.end()) return false;
    for (const CStringA& name : it->second) {
        CChannel& ch = m_oscillogram.FindChannelByFileName(name);
        if (ch.m_flags & CHF_VISIBLE) list.push_back(&ch);
    }
    return !list.empty();
}

CString CTenvorikDoc::FindChannelGroup(const CStringA& fileName) const {
    for (const auto& [key, names] : m_channelGroups)
        if (names.count(fileName)) return key;
    return CString();
}

std::vector<CStringA> CTenvorikDoc::GetGroupFileNames(const CString& key) const {
    auto it = m_channelGroups.find(key);
    if (it == m_channelGroups.end()) return {};
    return std::vector<CStringA>(it->second.begin(), it->second.end());
}

void CTenvorikDoc::RemoveChannelGroup(const CString& key) {
    auto it = m_channelGroups.find(key);
    if (it != m_channelGroups.end()) RemoveChannelGroup(it);
}

ChannelGroupMap::iterator CTenvorikDoc::RemoveChannelGroup(ChannelGroupMap::iterator pos) {
    const auto& names = pos->second;
    const auto& channels = m_oscillogram.m_channels;
    for (int c = CursorSet::kHorizontalFirst; c < CursorSet::kCount; ++c) {
        int index = m_cursors.m_cursors[size_t(c)].channel;
        if (index >= 0 && size_t(index) < channels.size() && names.count(channels[size_t(index)].m_fileName))
            m_cursors.SwitchOff(c);
    }
    return m_channelGroups.erase(pos);
}

void CTenvorikDoc::PurgeChannelGroups() {
    for (auto it = m_channelGroups.begin(); it != m_channelGroups.end();) {
        bool missing = false;
        for (const CStringA& name : it->second) {
            try {
                m_oscillogram.FindChannelByFileName(name);
            } catch (CException* e) {
                e->Delete();
                missing = true;
                break;
            }
        }
        it = missing ? RemoveChannelGroup(it) : std::next(it);
    }
}

// ---- channel names ----------------------------------------------------------------------------

CString CTenvorikDoc::GetFileNameText(const CChannel& ch) const {
    if (ch.m_flags & CHF_CALCULATED) return CString(ch.m_fileName);
    return RecordText(ch.m_fileName);
}

bool CTenvorikDoc::IsChannelNameTaken(size_t index, const CString& name) const {
    const auto& chs = m_oscillogram.m_channels;
    for (size_t k = 0; k < chs.size(); ++k)
        if (k != index && (chs[k].GetName() == name || GetFileNameText(chs[k]) == name)) return true;
    return false;
}

// ---- chart pairs ------------------------------------------------------------------------------

namespace {

void PrunePairs(std::vector<ChannelPair>& pairs, const COscillogram& osc) {
    std::set<CString> analog;
    const size_t n = std::min(osc.m_channels.size(), size_t(std::max(osc.m_analogCount, 0)));
    for (size_t i = 0; i < n; ++i)
        if (!osc.m_channels[i].IsDiscrete()) analog.insert(osc.m_channels[i].m_name);
    std::erase_if(pairs, [&](const ChannelPair& p) { return !analog.count(p.first) || !analog.count(p.second); });
}

}  // namespace

void CTenvorikDoc::PruneDiffChartPairs() { PrunePairs(m_diffChartPairs, m_oscillogram); }
void CTenvorikDoc::PruneCircleChartPairs() { PrunePairs(m_circleChartPairs, m_oscillogram); }

// ---- commands ---------------------------------------------------------------------------------

CTenvorikDoc::CommandState CTenvorikDoc::GetCommandState(unsigned id) const {
    CommandState s;
    switch (id) {
    case ID_OSC_COMMENTS:
        s.known = true;
        s.enabled = HasFileType(m_oscillogram.m_sourcePath, L".cfg");
        break;
    case ID_QUICK_ANALYSIS:
        s.known = true;
        s.enabled = m_oscillogram.m_analogCount > 0;
        break;
    case ID_FAULT_LOCATION:
        s.known = true;
        s.enabled = !HasOwnTimeBaseChannel();
        s.checked = m_locator.IsActive();
        break;
    case ID_FAULT_LOCATION_PARAMS:
        s.known = true;
        break;
    case ID_FAULT_REPORT:
        s.known = true;
        s.enabled = m_locator.IsActive();
        break;
    case ID_CURSOR_DIFFERENCE:
        s.known = true;
        s.checked = m_showCursorDifference;
        break;
    case ID_LOAD_SETTINGS:
        s.known = true;
        break;
    case ID_MERGE_SYNC:
    case ID_MERGE_COMBINE:
        s.known = true;
        s.enabled = HasOwnTimeBaseChannel();
        break;
    default:
        break;
    }
    return s;
}

bool CTenvorikDoc::OnCommand(unsigned id) {
    switch (id) {
    case ID_OSC_COMMENTS:
        OnOscComments();
        return true;
    case ID_QUICK_ANALYSIS:
        OnQuickAnalysis();
        return true;
    case ID_CURSOR_DIFFERENCE:
        OnCursorDifference();
        return true;
    case ID_FAULT_LOCATION:
        if (HasOwnTimeBaseChannel()) return true;
        if (m_locator.IsActive()) HideFaultLocationResult();
        else RunFaultLocation(false);
        return true;
    case ID_FAULT_LOCATION_PARAMS: {
        WrongPlaceLocatorData copy = m_locator.GetData();
        if (EditLineModel(copy)) AcceptLineModel(copy);
        return true;
    }
    case ID_FAULT_REPORT: {
        CString path;
        if (m_locator.IsActive() && AskFaultReportPath(path)) SaveFaultReport(path);
        return true;
    }
    case ID_LOAD_SETTINGS:
        OnLoadSettings();
        return true;
    case ID_MERGE_SYNC:
        if (!HasOwnTimeBaseChannel()) return true;
        m_merger.Synchronize();
        RefreshAllViews();
        return true;
    case ID_MERGE_COMBINE:
        if (HasOwnTimeBaseChannel()) m_merger.Combine();
        return true;
    default:
        return false;
    }
}

void CTenvorikDoc::OnOscComments() {
    CStringA text = m_oscillogram.m_headerText;
    if (EditCommentText(text)) {
        m_oscillogram.m_headerText = text;
        SetModifiedFlag(true);
    }
}

void CTenvorikDoc::OnQuickAnalysis() {
    if (RunQuickAnalysis()) {
        SetModifiedFlag(true);
        RefreshAllViews();
    }
}

void CTenvorikDoc::OnCursorDifference() {
    m_showCursorDifference = !m_showCursorDifference;
    RefreshAllViews();
}
