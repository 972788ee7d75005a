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
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
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
        if (!CffSectionText(all, "CFG", text)) throw new CTenvorikException(330, path);
        WriteBytes(stem + L".cfg", text);

        std::string_view data;
        if (!CffDataSection(all, data)) throw new CTenvorikException(330, path);
        WriteBytes(stem + L".dat", data);

        m_oscillogram.m_sourcePath = path;

        if (CffSectionText(all, "INF", text)) WriteBytes(stem + L".inf", text);
        if (CffSectionText(all, "HDR", text)) WriteBytes(stem + L".hdr", text);
        const CString besideSet = StripOscillogramExt(path) + L".set";
        if (CffSectionText(all, "SET", text)) {
            // A settings file is UTF-16 text; the section carries it in the record's code page.
            WriteBytes(stem + L".set", platform::WideToUtf16Le(platform::AnsiToWide(text), true));
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
        // The settings beside the record first: that also brings the store up to date for the
        // section that carries it.
        SaveSettingsFile(StripOscillogramExt(path) + L".set");

        const bool samePath = path == osc.m_sourcePath;
        if (!samePath || m_recordDataChanged) {
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
                out += platform::WideToAnsi(m_settings.SaveText().view());
            }

            const CString type = MakeCfg().fileType;
            DatKind kind = DatKind::Binary;
            DatKindFromType(type, kind);
            const DatWriteSource src = MakeDatSource();
            const std::string data =
                kind == DatKind::Ascii ? ::WriteAsciiDat(src) : ::WriteBinaryDat(src, kind == DatKind::Binary32);
            CString dataLine = type == L"BINARY" ? LoadResString(189) : L"DAT " + type + L": %d";
            dataLine.Replace(L"%d", CString(platform::AnsiToWide(std::to_string(data.size()))).GetString());
            out += platform::WideToAnsi(SectionLine(dataLine).view());
            out += data;
            platform::WriteFileAtomically(path, out);
            if (samePath) m_recordDataChanged = false;
        }
        osc.m_timeReferenceSample = 0;
        UpdateAllViews();
        UpdateDiagrams();
        return true;
    } catch (CException* e) {
        platform::Ui().PostException(e);
        return false;
    }
}
