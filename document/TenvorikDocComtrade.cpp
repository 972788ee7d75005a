// The document's COMTRADE operations: the configuration and data files turned into the
// record's channels and back, and the loader and saver with the header file.
#include <cerrno>
#include <cmath>
#include <limits>
#include <new>

#include "document/TenvorikDoc.h"
#include "formats/ComtradeCfg.h"
#include "formats/ComtradeDat.h"
#include "model/MappedTextReader.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "platform/RecordWriter.h"
#include "platform/UiServices.h"

namespace {

// Maps a whole record file: a missing or unreadable file is the file error, an empty one
// the format error.
void MapRecordFile(const CString& path, platform::MappedFile& file) {
    if (file.Open(path)) return;
    if (!platform::PathExists(path)) CFileException::ThrowErrno(ENOENT, path);
    if (platform::FileSize(path) == 0) throw new CTenvorikException(330, path);
    // A file that opens but cannot be mapped found no room in memory: the user is told so,
    // not that he may not read it.
    CFile readable;
    if (readable.Open(path, CFile::modeRead)) throw std::bad_alloc();
    CFileException::ThrowErrno(EACCES, path);
}

CChannel ChannelFromLine(const ComtradeChannelLine& line, bool status, CTenvorikDoc* doc) {
    CChannel ch(doc);
    ch.m_discrete = status ? 1 : 0;
    ch.m_fileName = line.name;
    ch.m_phase = line.phase;
    ch.m_circuit = line.circuit;
    ch.m_unit = status ? CStringA() : line.unit;
    if (status) {
        ch.m_a = 1.0;
        ch.m_b = 0.0;
        ch.m_normalState = line.normalState;
    } else {
        ch.m_a = line.a;
        ch.m_b = line.b;
        ch.m_skew = line.skew;
        ch.m_primaryText = line.primaryText;
        ch.m_secondaryText = line.secondaryText;
        ch.m_primary = line.primary;
        ch.m_secondary = line.secondary;
        ch.m_filePrimary = line.filePrimary;
        // The declared range leaves the unit prefix out, as the file states it.
        ch.m_declaredMax = line.maxCode * line.a + line.b;
        ch.m_declaredMin = line.minCode * line.a + line.b;
    }
    ch.m_filePrimaryValue = ch.m_primary;
    ch.m_fileSecondaryValue = ch.m_secondary;
    ch.m_name = doc->FileText(ch.m_fileName);
    ch.ParseUnit();
    return ch;
}

bool IsWritten(const CChannel& ch) { return !(ch.m_flags & (CHF_CALCULATED | CHF_OWN_TIMEBASE)); }

// The time multiplier the written files carry: only a configuration with a revision year
// states one, and a value that would make every time 0 or undefined is not kept.
double WrittenMultiplier(const COscillogram& osc) {
    double m = osc.m_timeMultiplier;
    if (osc.m_revision.IsEmpty() || !(m > 0.0) || !std::isfinite(m)) return 1.0;
    return m;
}

CString EffectiveType(const CString& type) {
    DatKind kind;
    return DatKindFromType(type, kind) ? type : CString(L"BINARY");
}

DatKind EffectiveKind(const CString& type) {
    DatKind kind = DatKind::Binary;
    DatKindFromType(type, kind);
    return kind;
}

// A text of the record's loading that the user reads; the load goes on.
void Notice(const CString& text) {
    platform::Ui().RunOnUiThread([text] { platform::Ui().MessageBox(text, CString(), MB_OK | MB_ICONWARNING); });
}

// The texts of a UTF-8 configuration in the program's code page, when every one of them goes
// there and back unchanged; false (and nothing changed) otherwise, so that nothing is lost.
bool TextsToCodePage(ComtradeConfig& cfg) {
    std::vector<CStringA*> texts{&cfg.station, &cfg.device};
    for (auto* lines : {&cfg.analog, &cfg.status})
        for (auto& l : *lines)
            for (CStringA* t : {&l.name, &l.phase, &l.circuit, &l.unit, &l.primaryText, &l.secondaryText}) texts.push_back(t);
    std::vector<std::string> converted;
    for (const CStringA* t : texts) {
        const std::wstring wide = platform::Utf8ToWide(t->view());
        std::string narrow = platform::WideToAnsi(wide);
        if (platform::AnsiToWide(narrow) != wide) return false;
        converted.push_back(std::move(narrow));
    }
    for (size_t i = 0; i < texts.size(); ++i) *texts[i] = CStringA(std::move(converted[i]));
    return true;
}

CStringA ToUtf8(const CStringA& ansi) { return CStringA(platform::WideToUtf8(platform::AnsiToWide(ansi.view()))); }

CString FileNameOf(const CString& path) {
    const int slash = std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\'));
    return path.Mid(slash + 1);
}

}  // namespace

// ---- reading -----------------------------------------------------------------------------------

// The name the user knows a member file by: a single-file record's own name.
CString CTenvorikDoc::ShownFileName(const CString& path) const {
    const CString& source = m_oscillogram.m_sourcePath;
    return FileNameOf(HasFileType(source, L".cff") ? source : path);
}

CString CTenvorikDoc::ParseCfg(const CString& path) {
    platform::MappedFile file;
    MapRecordFile(path, file);
    ComtradeConfig cfg = ParseComtradeCfg(std::string_view(file.data(), file.size()), path);
    // Texts that fit the code page are held there, as every other record's; the others stay
    // the UTF-8 the file wrote, so that they show as written and go back byte for byte.
    m_utf8Config = cfg.utf8;
    m_utf8Texts = cfg.utf8 && !TextsToCodePage(cfg);

    COscillogram& osc = m_oscillogram;
    if (osc.m_sourcePath.IsEmpty()) osc.m_sourcePath = path;
    osc.m_stationName = cfg.station;
    osc.m_recorderId = cfg.device;
    osc.m_revision = cfg.revision;
    osc.m_channels.reserve(cfg.analog.size() + cfg.status.size());
    for (const auto& line : cfg.analog) {
        osc.m_channels.push_back(ChannelFromLine(line, false, this));
        ++osc.m_analogCount;
    }
    for (const auto& line : cfg.status) {
        osc.m_channels.push_back(ChannelFromLine(line, true, this));
        ++osc.m_discreteCount;
    }
    osc.RebuildFrequencyChannels();
    osc.m_netFrequency = cfg.lineFrequency;

    double sum = 0.0;
    osc.m_rates.clear();
    for (const auto& r : cfg.rates) {
        osc.m_rates.push_back({r.rate, r.lastSample});
        sum += r.rate;
    }
    osc.m_samplingFrequency =
        osc.m_rates.empty() ? 0 : int32_t(GetNominalSampleRate(osc.m_rates.size() > 1, sum / double(osc.m_rates.size())));
    osc.m_startDate = cfg.startDate;
    osc.m_startTime = cfg.startTime;
    osc.m_triggerDate = cfg.triggerDate;
    osc.m_triggerTime = cfg.triggerTime;
    osc.m_dataFileType = cfg.fileType;
    osc.m_timeMultiplier = cfg.timeMultiplier;
    osc.m_localTimeCode = cfg.localTimeCode;
    osc.m_timeCode = cfg.timeCode;
    osc.m_timeQuality = cfg.timeQuality;
    osc.m_hasTimeCodeLine = cfg.hasTimeCodeLine;
    if (!cfg.multiplierText.IsEmpty()) {
        CString text;
        text.Format(LoadResString(9713).GetString(), ShownFileName(path).GetString(), cfg.multiplierText.GetString());
        Notice(text);
    }
    // Without a line frequency of at least 1 Hz there is no period to measure over; the
    // record is shown without the measures that need one.
    if (!(cfg.lineFrequency >= 1.0) || !std::isfinite(cfg.lineFrequency)) {
        CString text, frequency;
        frequency.Format(L"%g", cfg.lineFrequency);
        text.Format(LoadResString(9714).GetString(), ShownFileName(path).GetString(), frequency.GetString());
        Notice(text);
    }
    return cfg.fileType;
}

void CTenvorikDoc::ReadDat(const CString& path, int kindValue) {
    const DatKind kind = DatKind(kindValue);
    platform::MappedFile file;
    MapRecordFile(path, file);
    COscillogram& osc = m_oscillogram;
    DatReadTarget target;
    for (auto& ch : osc.m_channels) {
        if (ch.IsDiscrete()) target.status.push_back(&ch.m_samples);
        else target.analog.push_back({&ch.m_samples, ch.m_a * ch.m_prefixMul, ch.m_b});
    }
    target.times = &osc.m_times;
    target.samplingFrequency = osc.m_samplingFrequency;
    for (const auto& r : osc.m_rates) target.segments.push_back({r.rate, r.lastSample});
    target.timeMultiplier = osc.m_timeMultiplier;
    if (!osc.m_rates.empty() && osc.m_rates.back().lastSample > 0) target.expectedSamples = osc.m_rates.back().lastSample;
    // The file's pages leave memory as they are read: the record's arrays and the whole file are
    // never in memory at once.
    target.releaseData = [&file](size_t begin, size_t end) { file.Release(begin, end); };
    DatProgress progress{&m_progress.done, &m_progress.total, [this] { return m_progress.IsCancelled(); }};
    if (ReadComtradeDat(kind, file.data(), file.size(), target, progress, path) == DatReadResult::Cancelled) return;
    if (osc.m_samplingFrequency == 0) osc.m_samplingFrequency = int32_t(GetNominalSampleRate(false, target.measuredRate));

    // What the file held against what the configuration declared, for the user to judge.
    const CString name = ShownFileName(path);
    CString text;
    if (target.expectedSamples > 0 && target.fileSamples < target.expectedSamples)
        text.Format(LoadResString(9710).GetString(), name.GetString(), int64_t(target.expectedSamples),
                    int64_t(target.fileSamples));
    else if (target.expectedSamples > 0 && target.fileSamples > target.expectedSamples)
        text.Format(LoadResString(9711).GetString(), name.GetString(), int64_t(target.expectedSamples),
                    int64_t(target.fileSamples));
    if (target.partialRecord) {
        CString cut;
        cut.Format(LoadResString(9712).GetString(), name.GetString());
        text = text.IsEmpty() ? cut : text + L"\n" + cut;
    }
    if (!text.IsEmpty()) Notice(text);
}

void CTenvorikDoc::ReadAsciiDat(const CString& path) { ReadDat(path, int(DatKind::Ascii)); }
void CTenvorikDoc::ReadBinaryDat(const CString& path) { ReadDat(path, int(DatKind::Binary)); }
void CTenvorikDoc::ReadBinary32Dat(const CString& path) { ReadDat(path, int(DatKind::Binary32)); }

bool CTenvorikDoc::LoadComtrade(CString path) {
    try {
        const CString base = StripOscillogramExt(path);
        // A converted record keeps the path of the file it came from.
        CString source = m_oscillogram.m_sourcePath;
        ResetRecord();
        m_oscillogram.m_sourcePath = source;

        CString type = ParseCfg(path);
        DatKind kind;
        if (!DatKindFromType(type, kind)) throw new CTenvorikException(330, base);
        ReadDat(base + L".dat", int(kind));
        if (m_progress.IsCancelled()) return false;
        COscillogram& osc = m_oscillogram;
        const int samples = osc.GetSampleCount();
        if (osc.m_channels.empty() || samples == 0) throw new CTenvorikException(330, base);

        m_progress.step = int32_t(m_progress.total.load() / (uint64_t(samples) * osc.m_channels.size()));
        BuildSampleFrequencyTable();
        // The channels arrive at the settings recalculated; the settings then recalculate
        // only what they change.
        osc.RecalcAll(false);
        if (m_progress.IsCancelled()) return false;
        LoadSettingsFile(base + L".set", false);
        // Texts that came as UTF-8 are held in the code page (or as UTF-8) whatever the
        // settings say.
        if (m_utf8Config) SetCodePage(1);

        // The header file travels with every revision, so that saving elsewhere keeps it.
        try {
            std::string header = platform::ReadFileBytes(base + L".hdr");
            if (!header.empty()) {
                osc.m_headerText = CStringA(std::move(header));
                SetCommentsCodePage(IsAnsiText(osc.m_headerText) ? 1 : 0);
            }
        } catch (CException* e) {
            e->Delete();  // a missing header is no error
        }
        return !m_progress.IsCancelled();
    } catch (CException* e) {
        // A single-file record is read through member files in a working folder: the user is
        // told of the file he opened.
        const CString source = m_oscillogram.m_sourcePath;
        ResetRecord();
        if (HasFileType(source, L".cff")) {
            CString message = e->GetErrorMessage();
            const CString base = StripOscillogramExt(path);
            message.Replace(base + L".dat", source);
            message.Replace(base + L".cfg", source);
            message.Replace(base, source);
            e->Delete();
            e = CTenvorikException::FromText(message);
        }
        platform::Ui().PostException(e);
        return false;
    }
}

// ---- writing ------------------------------------------------------------------------------------

ComtradeConfig CTenvorikDoc::MakeCfg() const {
    const COscillogram& osc = m_oscillogram;
    ComtradeConfig cfg;
    cfg.station = osc.m_stationName;
    cfg.device = osc.m_recorderId;
    cfg.revision = osc.m_revision;
    cfg.fileType = EffectiveType(osc.m_dataFileType);
    const bool wide16 = EffectiveKind(osc.m_dataFileType) == DatKind::Binary;
    // The lowest binary code stands for a missing sample.
    const int64_t lo = wide16 ? INT16_MIN + 1 : INT32_MIN + 1, hi = wide16 ? INT16_MAX : INT32_MAX;

    // A line's index counts only the channels written: a program-made channel between
    // recorded ones must leave no gap, or readers of the file take the index for another
    // channel or refuse it.
    int analogPos = 0, statusPos = 0;
    for (const auto& ch : osc.m_channels) {
        if (!IsWritten(ch)) continue;
        const bool status = ch.IsDiscrete();
        const int pos = status ? ++statusPos : ++analogPos;
        ComtradeChannelLine line;
        line.index = pos;
        line.name = ch.m_fileName;
        if (status) {
            line.phase = ch.m_phase;
            line.circuit = ch.m_circuit;
            line.normalState = ch.m_normalState;
            cfg.status.push_back(line);
            continue;
        }
        line.phase = ch.m_phase;
        line.circuit = ch.m_circuit;
        line.unit = ch.m_unit;
        line.a = ch.m_a;
        line.b = ch.m_b;
        line.skew = ch.m_skew;
        double smallest = std::numeric_limits<double>::infinity(), largest = -smallest;
        for (const double s : ch.m_samples) {
            if (s < smallest) smallest = s;
            if (s > largest) largest = s;
        }
        // The codes are those the data file holds for these samples.
        const double scale = ch.m_a * ch.m_prefixMul;
        line.minCode = std::isfinite(smallest) ? int(SampleCode(smallest, scale, ch.m_b, lo, hi)) : 0;
        line.maxCode = std::isfinite(largest) ? int(SampleCode(largest, scale, ch.m_b, lo, hi)) : 0;
        line.primaryText = ch.m_primaryText;
        line.secondaryText = ch.m_secondaryText;
        line.primary = ch.m_filePrimaryValue;
        line.secondary = ch.m_fileSecondaryValue;
        line.filePrimary = ch.m_filePrimary;
        cfg.analog.push_back(line);
    }

    cfg.lineFrequency = osc.m_netFrequency;
    const int32_t count = osc.GetSampleCount();
    for (const auto& r : osc.m_rates) cfg.rates.push_back({r.rate, r.lastSample});
    // The last segment ends with the last sample written, so that the files read back.
    if (cfg.rates.empty()) cfg.rates.push_back({double(osc.m_samplingFrequency), count});
    else cfg.rates.back().lastSample = count;
    cfg.startDate = osc.m_startDate;
    cfg.startTime = osc.m_startTime;
    cfg.triggerDate = osc.m_triggerDate;
    cfg.triggerTime = osc.m_triggerTime;
    cfg.timeMultiplier = WrittenMultiplier(osc);
    cfg.localTimeCode = osc.m_localTimeCode;
    cfg.timeCode = osc.m_timeCode;
    cfg.timeQuality = osc.m_timeQuality;
    cfg.hasTimeCodeLine = osc.m_hasTimeCodeLine;
    if (m_utf8Config) {
        cfg.utf8 = true;
        // Texts held as UTF-8 are written as they are.
        if (!m_utf8Texts) {
            for (CStringA* t : {&cfg.station, &cfg.device}) *t = ToUtf8(*t);
            for (auto* lines : {&cfg.analog, &cfg.status})
                for (auto& l : *lines)
                    for (CStringA* t : {&l.name, &l.phase, &l.circuit, &l.unit, &l.primaryText, &l.secondaryText})
                        *t = ToUtf8(*t);
        }
    }
    return cfg;
}

DatWriteSource CTenvorikDoc::MakeDatSource() const {
    const COscillogram& osc = m_oscillogram;
    DatWriteSource src;
    for (const auto& ch : osc.m_channels) {
        if (!IsWritten(ch)) continue;
        if (ch.IsDiscrete()) {
            src.status.push_back(&ch.m_samples);
        } else {
            src.analog.push_back(&ch.m_samples);
            src.scale.push_back(ch.m_a * ch.m_prefixMul);
            src.offset.push_back(ch.m_b);
        }
    }
    const int32_t n = osc.GetSampleCount();
    src.times.resize(size_t(std::max(n, 0)));
    for (int32_t i = 0; i < n; ++i) src.times[size_t(i)] = GetSampleTime(uint32_t(i));
    src.timeMultiplier = WrittenMultiplier(osc);
    return src;
}

void CTenvorikDoc::WriteCfgText(CStringA& out) const { out = CStringA(FormatComtradeCfg(MakeCfg())); }

void CTenvorikDoc::WriteAsciiDat(CStringA& out) const { out = CStringA(::WriteAsciiDat(MakeDatSource())); }

void CTenvorikDoc::WriteBinaryDat(std::vector<uint8_t>& out) const {
    std::string bytes = ::WriteBinaryDat(MakeDatSource(), EffectiveKind(m_oscillogram.m_dataFileType) == DatKind::Binary32);
    out.assign(bytes.begin(), bytes.end());
}

void CTenvorikDoc::CheckRecordWritable(const CString& path) const {
    bool written = false;
    for (const auto& ch : m_oscillogram.m_channels) written = written || IsWritten(ch);
    if (m_oscillogram.GetSampleCount() > 0 && written) return;
    CString text;
    text.Format(LoadResString(9716).GetString(), path.GetString());
    throw CTenvorikException::FromText(text);
}

bool CTenvorikDoc::SaveComtrade(const CString& path) {
    try {
        const CString base = StripOscillogramExt(path);
        COscillogram& osc = m_oscillogram;
        const bool samePath = path == osc.m_sourcePath;
        const bool data = !samePath || m_recordDataChanged;
        if (data) CheckRecordWritable(path);
        std::string settings = SettingsFileBytes();
        // Every file of the record is made before any of them replaces the old one, and the
        // configuration goes last: until then the record reads as it was.
        platform::RecordWriter writer(path);
        if (data) {
            const DatKind kind = EffectiveKind(osc.m_dataFileType);
            writer.Add(base + L".dat", kind == DatKind::Ascii ? ::WriteAsciiDat(MakeDatSource())
                                                              : ::WriteBinaryDat(MakeDatSource(), kind == DatKind::Binary32));
            writer.Add(path, FormatComtradeCfg(MakeCfg()));
        }
        // A header the user emptied empties the file too: left alone, it would bring the old
        // text back at the next opening.
        if (!osc.m_headerText.IsEmpty() || platform::FileExists(base + L".hdr"))
            writer.Add(base + L".hdr", std::string(osc.m_headerText.view()));
        writer.Add(base + L".set", std::move(settings));
        CommitRecord(writer);
        if (samePath && data) m_recordDataChanged = false;
        osc.m_timeReferenceSample = 0;
        UpdateAllViews();
        UpdateDiagrams();
        return true;
    } catch (CException* e) {
        platform::Ui().PostException(e);
        return false;
    }
}
