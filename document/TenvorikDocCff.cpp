// The single-file form ".cff": the member files of a record one after another as sections.
// Reading splits it into member files in the document's temporary folder and loads those;
// writing builds the sections from the record.
#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>

#include "document/TenvorikDoc.h"
#include "formats/ComtradeCff.h"
#include "formats/ComtradeCfg.h"
#include "formats/ComtradeDat.h"
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

void WriteBytes(const CString& path, std::string_view bytes) {
    CFile f(path, CFile::modeCreate | CFile::modeWrite);
    f.Write(bytes);
    f.Close();
}

// C _wtoi: leading blanks, a sign, digits.
int LeadingNumber(const CString& s) {
    int i = 0, n = s.GetLength();
    while (i < n && (s[i] == L' ' || s[i] == L'\t')) ++i;
    bool neg = i < n && s[i] == L'-';
    if (i < n && (s[i] == L'-' || s[i] == L'+')) ++i;
    long long v = 0;
    for (; i < n && s[i] >= L'0' && s[i] <= L'9' && v < 1000000000; ++i) v = v * 10 + (s[i] - L'0');
    return int(neg ? -v : v);
}

// A file whose sections cannot be found: the line that looked meant for a section mark is
// named, so that the user sees what the reader did not know; else the general refusal.
[[noreturn]] void RefuseSections(std::string_view all, const CString& path) {
    std::string line;
    const size_t number = CffUnknownMarkLine(all, line);
    if (number == 0) throw new CTenvorikException(330, path);
    // Shown as a text: control characters of a binary file become '?', and a long line is cut.
    if (line.size() > 80) line.resize(80);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    const CString shown = platform::IsUtf8(line) ? CString(platform::Utf8ToWide(line)) : CString(platform::AnsiToWide(line));
    CString text;
    text.Format(LoadResString(9680).GetString(), path.GetString(), int(number), shown.GetString());
    throw CTenvorikException::FromText(text);
}

CString SectionLine(const CString& name) {
    CString line;
    line.Format(LoadResString(188), name.GetString());
    return line + L"\r\n";
}

}  // namespace

bool CTenvorikDoc::LoadCff(CString path) {
    try {
        platform::MappedFile file;
        if (!file.Open(path)) {
            if (!platform::PathExists(path)) CFileException::ThrowErrno(ENOENT, path);
            throw new CTenvorikException(330, path);
        }
        const std::string_view all(file.data(), file.size());

        DeleteTempFolder();
        m_tempFolder = platform::MakeTempFolder(L"Tenvorik_");
        if (m_tempFolder.IsEmpty()) CFileException::ThrowErrno(EACCES, platform::TempFolder());
        const CString stem = platform::JoinPath(m_tempFolder, L"tmp_cfg");

        std::string text;
        if (!CffSectionText(all, "CFG", text)) RefuseSections(all, path);
        WriteBytes(stem + L".cfg", text);
        const std::string cfgText = text;

        std::string_view data;
        if (!CffDataSection(all, data)) RefuseSections(all, path);
        WriteBytes(stem + L".dat", data);

        m_oscillogram.m_sourcePath = path;

        if (CffSectionText(all, "INF", text)) WriteBytes(stem + L".inf", text);
        if (CffSectionText(all, "HDR", text)) WriteBytes(stem + L".hdr", text);
        const CString besideSet = StripOscillogramExt(path) + L".set";
        const bool utf8Config = IsUtf8WithNonAscii(cfgText);
        if (CffSectionText(all, "SET", text)) {
            // A settings file is UTF-16 text; the section carries it in the record's code page,
            // or in UTF-8 beside a UTF-8 configuration when its texts fit no code page.
            const bool utf8 = utf8Config && IsUtf8WithNonAscii(text);
            WriteBytes(stem + L".set",
                       platform::WideToUtf16Le(utf8 ? platform::Utf8ToWide(text) : platform::AnsiToWide(text), true));
        } else if (platform::FileExists(besideSet)) {
            WriteBytes(stem + L".set", platform::ReadFileBytes(besideSet));
        }
        file.Close();
        return LoadComtrade(stem + L".cfg");
    } catch (CException* e) {
        DeleteTempFolder();
        platform::Ui().PostException(e);
        return false;
    }
}

bool CTenvorikDoc::SaveCff(const CString& path) {
    try {
        COscillogram& osc = m_oscillogram;
        if (LeadingNumber(CString(osc.m_revision)) < 2013) throw new CTenvorikException(187, path);
        const bool samePath = path == osc.m_sourcePath;
        const bool changed = !samePath || m_recordDataChanged;
        if (changed) CheckRecordWritable(path);
        // The settings first: that also brings the store up to date for the section that
        // carries it.
        std::string settings = SettingsFileBytes();
        // The settings file beside the record is replaced only with the record, the record
        // last.
        platform::RecordWriter writer(path);
        writer.Add(StripOscillogramExt(path) + L".set", std::move(settings));
        if (changed) {
            std::string out = platform::WideToAnsi(SectionLine(L"CFG ").view());
            out += FormatComtradeCfg(MakeCfg());

            // Sections the record came with (an information file) travel on; the header and
            // the settings are written as they are now.
            if (!m_tempFolder.IsEmpty()) {
                std::vector<platform::FolderEntry> entries;
                platform::ListFolder(m_tempFolder, entries);
                std::sort(entries.begin(), entries.end(),
                          [](const auto& a, const auto& b) { return a.name < b.name; });
                for (const auto& e : entries) {
                    CString ext = platform::PathExtension(e.name);
                    ext.MakeLower();
                    if (e.isFolder || ext == L".cfg" || ext == L".dat" || ext == L".hdr" || ext == L".set" ||
                        ext.IsEmpty())
                        continue;
                    CString name = ext.Mid(1);
                    name.MakeUpper();
                    out += platform::WideToAnsi(SectionLine(name + L" ").view());
                    out += platform::ReadFileBytes(platform::JoinPath(m_tempFolder, e.name));
                }
            }
            if (!osc.m_headerText.IsEmpty()) {
                out += platform::WideToAnsi(SectionLine(L"HDR ").view());
                out += osc.m_headerText.str();
            }
            if (!m_settings.IsEmpty()) {
                out += platform::WideToAnsi(SectionLine(L"SET ").view());
                // Settings that name texts of no code page (channels of a UTF-8 record) go as
                // UTF-8, which the reader knows beside a UTF-8 configuration.
                const CString settings = m_settings.SaveText();
                const std::string ansi = platform::WideToAnsi(settings.view());
                const bool fits = platform::AnsiToWide(ansi) == settings.view();
                out += fits || !m_utf8Config ? ansi : platform::WideToUtf8(settings.view());
            }

            const CString type = MakeCfg().fileType;
            DatKind kind = DatKind::Binary;
            DatKindFromType(type, kind);
            const DatWriteSource src = MakeDatSource();
            const std::string data =
                kind == DatKind::Ascii ? ::WriteAsciiDat(src) : ::WriteBinaryDat(src, kind == DatKind::Binary32);
            CString dataLine = type == L"BINARY" ? LoadResString(189) : L"DAT " + type + L": %d";
            dataLine.Replace(L"%d", CString(platform::AnsiToWide(std::to_string(data.size()))).GetString());
            // A space before the closing dashes, as the standard writes the mark: readers that
            // take the count from it need it.
            out += platform::WideToAnsi(SectionLine(dataLine + L" ").view());
            out += data;
            writer.Add(path, std::move(out));
        }
        CommitRecord(writer);
        if (samePath && changed) m_recordDataChanged = false;
        osc.m_timeReferenceSample = 0;
        UpdateAllViews();
        UpdateDiagrams();
        return true;
    } catch (CException* e) {
        platform::Ui().PostException(e);
        return false;
    }
}
