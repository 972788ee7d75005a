#pragma once
// The part of the document that the record model reaches: the record itself, the code-page
// flag, the frequency-correction channel, the loading progress, the record's sample rates and
// times and the texts made from them. The program's document derives from it and answers the
// hooks through which the model asks for views, diagrams and comments to follow a change.
#include <cstdint>
#include <vector>

#include "model/LoadProgress.h"
#include "model/Oscillogram.h"
#include "platform/CString.h"

class CException;

// Nominal rate for a measured rate r at net frequency f: with `snap` and f exactly 50 or 60 Hz
// the nominal-rate table, else RoundToInt(r / f) x RoundToInt(f).
uint32_t NominalSampleRate(bool snap, double measuredRate, double netFrequency);

class DocumentModel {
public:
    DocumentModel();
    virtual ~DocumentModel() = default;
    DocumentModel(const DocumentModel&) = delete;
    DocumentModel& operator=(const DocumentModel&) = delete;

    COscillogram& GetOscillogram() { return m_oscillogram; }
    const COscillogram& GetOscillogram() const { return m_oscillogram; }

    // --- sample rates and times
    // NominalSampleRate at the record's net frequency.
    uint32_t GetNominalSampleRate(bool snap, double measuredRate) const;
    void BuildSampleFrequencyTable();
    // Time of sample i in microseconds; past the end of the time table, extrapolated by the
    // sampling rate.
    int64_t GetSampleTime(uint32_t i) const;
    // Microseconds between two samples at the record's fastest rate: the resolution its times
    // are shown to. 0 when the record names no rate and has fewer than two times.
    double GetSamplePeriodUs() const;

    // --- texts of the record
    CString GetStationName() const { return m_oscillogram.m_stationNameW; }
    CString GetRecorderId() const { return m_oscillogram.m_recorderIdW; }
    CString GetRecordStartDate() const { return m_oscillogram.m_startDate; }
    CString GetRecordStartTime() const { return m_oscillogram.m_startTime; }
    CString GetRecordStartDateTime() const;
    CString GetNormalizedStartDate() const;
    CString GetNormalizedTriggerDate() const;
    CString GetStartDateTimeText() const;
    CString GetTriggerDateTimeText() const;
    CString GetRecordStartText(bool trigger) const;
    CString GetDurationText() const;
    CString GetDurationMicrosecondsText() const;
    // A text of the record (names, phases, units, the header) as the user reads it: UTF-8 when
    // the record's texts are held so, else the record's code page (`codePage` as m_codePage).
    CString RecordText(const CStringA& bytes) const { return RecordText(bytes, m_codePage); }
    CString RecordText(const CStringA& bytes, int32_t codePage) const;
    // A text the user gave, as the record holds its texts.
    CStringA RecordBytes(const CString& text) const;
    // The record's bytes read as the ANSI code page takes them (the keys of the settings file,
    // phases and units), or as UTF-8 when the record's texts are held so; and back.
    CString FileText(const CStringA& bytes) const;
    CStringA FileBytes(const CString& text) const;

    // --- hooks the program's document answers; the defaults do nothing
    virtual void UpdateDiagrams() {}
    virtual void UpdateAllViews() {}
    virtual void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    // Drops the comments that no longer refer to an existing channel.
    virtual void RemoveInvalidComments() {}
    // After channel `index` was removed from the record: comments, cursors and channel groups
    // that referred to it are brought up to date.
    virtual void OnChannelRemoved(int /*index*/) { RemoveInvalidComments(); }
    // Drops the channel groups that name a channel no longer in the record.
    virtual void PurgeChannelGroups() {}
    // The document's title as the user sees it (the record's file name by default).
    virtual CString GetTitle() const;
    // Channel groups (channels drawn together in one strip), by the channels' file names: the
    // key of a channel's group, empty when it is in none; the file names of a group; and the
    // dissolving of a group (which also frees a level cursor bound to one of its channels).
    virtual CString FindChannelGroup(const CStringA& /*fileName*/) const { return CString(); }
    virtual std::vector<CStringA> GetGroupFileNames(const CString& /*key*/) const { return {}; }
    virtual void RemoveChannelGroup(const CString& /*key*/) {}
    // Runs fault location again when its result is shown (errors are reported to the user).
    virtual void RecalcFaultLocation() {}
    // The transformation-ratio dialog; true when the user accepted.
    virtual bool RunMultiplierDialog() { return false; }
    // The colour dialog, starting at `color`; true with the chosen colour when accepted.
    virtual bool ChooseColor(COLORREF& /*color*/) { return false; }
    // The "UTC for Comtrade2013" option of the application.
    virtual bool IsUtcForComtrade2013() const;

    bool IsModified() const { return m_modified; }

    COscillogram m_oscillogram;
    int32_t m_codePage = 0;                  // 0: the record's texts are OEM, else ANSI
    // The record's texts are held as the UTF-8 the file wrote, because they fit no code page
    // (Korean or Chinese names); they are shown as UTF-8 whatever m_codePage says.
    bool m_utf8Texts = false;
    int32_t m_frequencyCorrectionChannel = 0;  // 1-based into the frequency channels, 0 = none
    LoadProgress m_progress;

protected:
    bool m_modified = false;
};

// Hands a caught exception to the user-interface thread, which shows and deletes it.
void PostExceptionToMainFrame(CException* e);

// A COMTRADE date "a/b/y" as "dd/mm/yyyy": a is the day when it is over 12, else the month;
// a two-digit year gets 2000 added. Empty when the text does not hold three numbers.
CString NormalizeComtradeDate(const CString& text);
// The same for a record of `revision` (empty for 1991): day and month in the order that
// revision writes them.
CString NormalizeComtradeDate(const CString& text, const CStringA& revision);

// A COMTRADE 2013 offset from UTC ("0", "+3", "-5h30") in seconds; false for any other text.
bool ParseUtcOffsetCode(const CString& text, long& seconds);
// The label of times at an offset from UTC: " (UTC)", " (UTC+3)", " (UTC-5:30)".
CString UtcOffsetLabel(long seconds);
