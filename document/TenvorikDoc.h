#pragma once
// The document: one open record and everything attached to it, from its opening to its
// closing. GUI-free: what it asks of the windows goes through platform::Ui() and the virtual
// hooks below, which the program's document window class answers.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "analysis/QuickAnalysis.h"
#include "document/ChannelMerger.h"
#include "faultloc/WrongPlaceLocator.h"
#include "model/ChannelDraw.h"
#include "model/ChannelPair.h"
#include "model/CommentList.h"
#include "model/CursorSet.h"
#include "model/DocumentModel.h"
#include "model/SettingsStore.h"
#include "platform/CString.h"

struct ComtradeConfig;
struct DatWriteSource;
namespace platform {
class RecordWriter;
}

// Group key -> file names of the channels drawn together in one strip.
using ChannelGroupMap = std::map<CString, std::set<CStringA>>;

// Commands of the document; the ribbon routes these ids here.
enum TenvorikDocCommand : unsigned {
    ID_QUICK_ANALYSIS = 137,
    ID_MERGE_SYNC = 1091,
    ID_MERGE_COMBINE = 1092,
    ID_OSC_COMMENTS = 32805,
    ID_FAULT_LOCATION = 32806,
    ID_FAULT_LOCATION_PARAMS = 32807,
    ID_LOAD_SETTINGS = 32860,
    ID_RECORD_INFO = 32861,
    ID_CHANNEL_LIST = 32862,
    ID_FAULT_REPORT = 32879,
    ID_CURSOR_DIFFERENCE = 33033,
};

class CTenvorikDoc : public DocumentModel {
public:
    CTenvorikDoc();
    ~CTenvorikDoc() override;

    // --- open, save, close
    // Opens a record by its extension (".cfg", ".dat", ".cff", ".osc", ".sto") on the loading
    // thread; true when a record was loaded and the load was not cancelled.
    bool OnOpenDocument(const CString& path);
    // Starts reading the record at `path` on the loading thread and returns at once, so that
    // the reading goes on while the program builds its windows; OnOpenDocument with the same
    // path then waits for it as for a read of its own, with the loading dialog if the read is
    // still long. Only a record read straight from a file that is there (".cfg", ".dat",
    // ".cff", ".osc") starts early; false when nothing started, and then nothing changed.
    // Nothing of the record may be read until OnOpenDocument has returned.
    bool StartOpen(const CString& path);
    // Ends a read StartOpen started that OnOpenDocument did not take, and forgets its record.
    void DropEarlyOpen();
    // Smoke runs of the program: every read shows the loading dialog and waits before it
    // starts until its load is cancelled (at most a minute), so that the dialog is met in any
    // build, however fast the read would be.
    static void HoldLoadsUntilCancelled(bool hold);
    // Saves by the extension of `path`; clears the modified flag on success.
    bool OnSaveDocument(const CString& path);
    // True when the document may close (the user is warned about unsaved ".sto" changes).
    bool OnCloseDocument();
    // The framework's question before closing a modified document; never asked for ".sto".
    bool SaveModified();
    const CString& GetPathName() const { return m_pathName; }

    // Runs on the loading thread: calls the reader by the extension of the path being loaded.
    void LoadFile();

    // COMTRADE: configuration, data and header files.
    bool LoadComtrade(CString path);
    bool SaveComtrade(const CString& path);
    // Reads the configuration file into the record; returns the data-file type.
    CString ParseCfg(const CString& path);
    CString ShownFileName(const CString& path) const;
    void ReadAsciiDat(const CString& path);
    void ReadBinaryDat(const CString& path);
    void ReadBinary32Dat(const CString& path);
    void WriteCfgText(CStringA& out) const;
    void WriteAsciiDat(CStringA& out) const;
    void WriteBinaryDat(std::vector<uint8_t>& out) const;
    // Other record forms.
    bool LoadCff(CString path);
    bool SaveCff(const CString& path);
    bool LoadOsc(CString path);
    bool SaveOsc(const CString& path);
    // Packs the record into a ".zip": an export, which changes nothing of the document.
    bool SaveZip(const CString& path);
    // A file that is written from the record without becoming its name (the ".zip" packing).
    static bool IsExportPath(const CString& path);
    // Converts a ".sto" record into COMTRADE files in the temporary folder; the ".cfg" path,
    // or an empty text when there is none.
    CString ConvertStoToComtrade(const CString& path);

    // The record's settings file beside it (".set", else ".ini"). Loading runs on the loading
    // thread after the channels are built and recalculated.
    void LoadSettingsFile(const CString& path, bool skipComments);
    void SaveSettingsFile(const CString& path);
    // The settings file's bytes as SaveSettingsFile writes them (the store brought up to date).
    std::string SettingsFileBytes();
    // Puts the files of a save in place as one step; a failure is thrown as a message that
    // names the file that failed and says which files of the record are new and which are not.
    static void CommitRecord(platform::RecordWriter& writer);
    // Refuses (throws) a save of a record that no reader would open again: no samples.
    void CheckRecordWritable(const CString& path) const;
    // Applies the settings file of another record the user picks (its comments excepted),
    // after the user agreed to lose what it replaces, as one step that undo takes back.
    void OnLoadSettings();
    // What applying a settings file would replace of the user's work, as the question asked
    // first; empty when the record has none of it.
    CString LoadSettingsQuestion(const CString& path);
    // The record's file name, as the framework titles a document.
    CString GetTitle() const override;
    // The header's code page, kept as "Codepage" of the settings category "Comments".
    void SetCommentsCodePage(int ansi);
    // Comments whose channel the user removed go with it; a channel that leaves only while
    // the settings file is applied takes none.
    void RemoveInvalidComments() override;

    // --- undo and redo (whole copies of the record, no depth limit)
    // False, with the reason shown, when the copy cannot be made; the caller then refuses
    // the edit.
    // `withRecordParts`: the step also changes what the document keeps beside the channels
    // (chart pairs, merged strips, the settings store, the code page, the line model), which
    // undoing it then brings back too.
    bool PushUndo(bool withRecordParts = false);
    bool Undo();
    bool Redo();
    bool CanUndo() const { return !m_undo.empty(); }
    bool CanRedo() const { return !m_redo.empty(); }
    // After an undo or redo step: views and diagrams show the record again, and the merge bar
    // is on show exactly while pasted channels are there.
    void OnUndoRedo();

    // --- code page, titles, views
    void SetCodePage(int32_t flag);
    CString GetOscillogramTitle() const;
    bool HasOwnTimeBaseChannel() const;
    void RefreshAllViews();

    // --- channel groups
    bool GetGroupChannels(std::vector<CChannel*>& list, const CString& key);
    CString FindChannelGroup(const CStringA& fileName) const override;
    std::vector<CStringA> GetGroupFileNames(const CString& key) const override;
    void RemoveChannelGroup(const CString& key) override;
    ChannelGroupMap::iterator RemoveChannelGroup(ChannelGroupMap::iterator pos);
    void PurgeChannelGroups() override;

    // --- channel names
    // The channel's name as the record stores it, in the record's code page.
    CString GetFileNameText(const CChannel& ch) const;
    // True when a channel other than `index` shows `name` or stores it as its file name
    // (compared case included): a rename to it would make two channels alike.
    bool IsChannelNameTaken(size_t index, const CString& name) const;

    // --- chart pairs
    void PruneDiffChartPairs();
    void PruneCircleChartPairs();

    // --- commands
    struct CommandState {
        bool known = false;  // the document answers this command
        bool enabled = true;
        bool checked = false;
    };
    CommandState GetCommandState(unsigned id) const;
    // Runs a command; false when the document does not answer it.
    bool OnCommand(unsigned id);
    void OnOscComments();
    void OnQuickAnalysis();
    // What the confirmed quick-analysis sheet hands over, applied to the record and its
    // diagram settings; false, with the record as it was, when a formula fails.
    bool ApplyQuickAnalysis(const QAnResults& results);
    // The differential diagram shows its values (the window answers it when it is there).
    virtual void EnableDiffDiagramValues();
    void OnCursorDifference();

    // --- fault location
    // Runs fault location on the record with the line model; `silent` discards a failure
    // instead of showing it. True when a result was produced.
    bool RunFaultLocation(bool silent);
    // Shows again the result over cursors В1 and В2 after one of them moved.
    void OnVerticalCursorsMoved();
    void HideFaultLocationResult();
    // A view of the document became active: the result bar shows this record's result, or
    // goes away when it has none; the diagrams follow the record.
    void UpdateFaultLocationBar();
    // The line-model editor's OK: the edited model replaces the document's.
    void AcceptLineModel(const WrongPlaceLocatorData& model);
    bool SaveFaultReport(const CString& path);
    LocatorReportHeader GetFaultReportHeader() const;
    // Settings category "WrongPlaceFinding" of the record's settings.
    void LoadFaultLocationSettings();
    void SaveFaultLocationSettings();
    // A channel command changed values: the location follows while its result is on show.
    void RecalcFaultLocation() override;

    // --- what the document asks of the windows; the program's document class answers
    // The comment dialog on a copy of the header text; true when the user changed it.
    virtual bool EditCommentText(CStringA& text);
    // The comment dialog on a comment item's text; true when the user accepted.
    virtual bool EditCommentItemText(CString& text);
    // The quick-analysis sheet; true when the calculated channels were changed.
    virtual bool RunQuickAnalysis();
    // The framework's "save changes?" prompt; true when the document may close.
    virtual bool AskSaveModified();
    // The fault-location result bar of the main frame.
    virtual void ShowFaultLocationBar(const CString& /*text*/) {}
    virtual void HideFaultLocationBar() {}
    // The line-model editor on a copy of the model; true on OK.
    virtual bool EditLineModel(WrongPlaceLocatorData& /*model*/) { return false; }
    // The report's file name from the user; false when cancelled.
    virtual bool AskFaultReportPath(CString& /*path*/) { return false; }
    // The merge bar of the main frame: what it has chosen, its caption text, and whether it
    // is on show (shown, its channel lists are filled from this record). Without a frame the
    // document keeps them itself.
    virtual MergeChoice GetMergeChoice() const { return m_mergeChoice; }
    virtual void ShowMergeMessage(const CString& text) { m_mergeMessage = text; }
    virtual void ShowMergeBar(bool show) { m_mergeBarShown = show; }

    // --- members, in the order the record's life needs them
    ChannelGroupMap m_channelGroups;
    CursorSet m_cursors;
    SettingsStore m_settings;
    CommentList m_comments;
    int32_t m_loadResult = 0;
    CString m_loadPath;          // path the loading thread reads
    // A read started by StartOpen and not yet taken by OnOpenDocument: its thread, the path it
    // was started for, and whether its size asks for the loading dialog.
    std::thread m_earlyLoader;
    CString m_earlyPath;
    bool m_earlyDialog = false;
    // The curve summaries of a record read early, made on its loading thread while the
    // windows were built; the first view to paint the record takes them.
    std::vector<CurveSummary> m_preparedSummaries;
    CString m_tempFolder;        // working folder of a converted or unpacked record
    // The configuration's texts were UTF-8: they are written back as UTF-8. Meanwhile they are
    // held in the code page when every one fits it, else as UTF-8 (m_utf8Texts).
    bool m_utf8Config = false;
    bool m_showCursorDifference = true;
    // Shift of the channels pasted from another record against the record's times, seconds.
    double m_pasteTimeShift = 0.0;
    // Synchronises and combines the pasted channels; reads and writes the shift above.
    CChannelMerger m_merger{this};
    MergeChoice m_mergeChoice;
    CString m_mergeMessage;
    bool m_mergeBarShown = false;
    std::vector<ChannelPair> m_diffChartPairs;
    std::vector<ChannelPair> m_circleChartPairs;
    std::deque<COscillogram> m_undo, m_redo;
    // Beside each undo and redo state, in step with the two stacks: the comment items that
    // left with channels while that state was the newest, in the order they were taken; going
    // back to the state brings them back.
    std::deque<std::vector<CommentList::TakenItems>> m_undoComments, m_redoComments;
    // Beside each undo and redo state, when its step changed them: the document's parts that
    // live outside the channels, as they were in that state.
    struct RecordParts {
        ChannelGroupMap channelGroups;
        std::vector<ChannelPair> diffChartPairs, circleChartPairs;
        SettingsStore settings;
        int32_t codePage = 0;
        WrongPlaceLocatorData lineModel;
    };
    std::deque<std::optional<RecordParts>> m_undoParts, m_redoParts;
    WrongPlaceLocator m_locator;
    // The record's samples, rates or times changed since it was read or last written, so a
    // save under the path it was read from must write the configuration and data again.
    bool m_recordDataChanged = false;

private:
    void ResetRecord();
    // On the loading thread, after a read started early: the summaries of the curves a view
    // draws through one (m_preparedSummaries).
    void PrepareSummaries();
    // Brings back the comments kept beside the newest state of `from` and keeps in `to` those
    // that no longer fit the record.
    RecordParts TakeRecordParts() const;
    void PutRecordParts(RecordParts&& parts);
    // Moves the parts kept beside the newest state of `from` (`fromStates` states, the newest
    // already taken off) beside the newest state of `to` (`toStates` states, the newest just
    // put on), exchanged for the document's own.
    void ExchangeRecordParts(std::deque<std::optional<RecordParts>>& from, size_t fromStates,
                             std::deque<std::optional<RecordParts>>& to, size_t toStates);
    void ExchangeComments(std::deque<std::vector<CommentList::TakenItems>>& from,
                          std::vector<CommentList::TakenItems>& to);
    void DeleteTempFolder();
    // The configuration and data of the channels a COMTRADE file holds.
    ComtradeConfig MakeCfg() const;
    DatWriteSource MakeDatSource() const;
    void ReadDat(const CString& path, int kind);
    CString m_pathName;
    bool m_applyingSettings = false;
};

// Extensions are decided by the last four characters of a path, lower-cased.
bool HasFileType(const CString& path, const wchar_t* ext);
