// The ".zip" packing of a record: an OSC2 record as its own bytes and its settings, any other
// record as the COMTRADE files it saves to.
#include "document/TenvorikDoc.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/UiServices.h"
#include "utils/ZipArchive.h"

namespace {

constexpr unsigned IDS_ZIP_WRITE_ERROR = 9812;

// The files packed are made in a folder of their own beside the archive: nothing of the
// user's is written over or removed, and the folder goes whatever happens.
class StagingFolder {
public:
    explicit StagingFolder(const CString& archive) {
        CString parent = platform::PathFolder(archive);
        if (parent.IsEmpty()) parent = L".";
        int err = 0;
        m_path = platform::MakeTempFolder(L".tenvorik-zip-", parent, &err);
        if (m_path.IsEmpty()) CFileException::ThrowErrno(err ? err : EACCES, archive);
    }
    ~StagingFolder() { platform::RemoveTree(m_path); }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    const CString& Path() const { return m_path; }

private:
    CString m_path;
};

[[noreturn]] void ThrowZipError(const CString& path, const ziparchive::ZipError& error) {
    if (error.systemError != 0) CFileException::ThrowErrno(error.systemError, path);
    CString detail = path;
    if (!error.text.empty()) detail += L" (" + CString(platform::Utf8ToWide(error.text)) + L")";
    throw new CTenvorikException(IDS_ZIP_WRITE_ERROR, detail);
}

}  // namespace

bool CTenvorikDoc::SaveZip(const CString& path) {
    try {
        const CString name = platform::PathFileName(StripOscillogramExt(path));
        StagingFolder staging(path);
        ziparchive::ZipError error;
        const CowVector<uint8_t>& osc = m_oscillogram.m_oscBytes;
        if (!osc.empty()) {
            CArchStorage storage;
            storage.SetFileInArchive(name + L".osc", osc.data(), osc.size());
            const CString set = platform::JoinPath(staging.Path(), name + L".set");
            SaveSettingsFile(set);
            const std::string bytes = platform::ReadFileBytes(set);
            storage.SetFileInArchive(name + L".set", bytes.data(), bytes.size());
            if (!storage.Save(path, &error)) ThrowZipError(path, error);
        } else {
            CZipArchive zip;
            zip.Open(path);
            // The COMTRADE writer has reported its own failure; nothing is packed then. It
            // moves the record's time reference to its start after a save; an export leaves
            // the record where it was.
            const int32_t reference = m_oscillogram.m_timeReferenceSample;
            const bool saved = SaveComtrade(platform::JoinPath(staging.Path(), name + L".cfg"));
            m_oscillogram.m_timeReferenceSample = reference;
            if (!saved) return false;
            if (!zip.AddNewFiles(staging.Path(), &error) || !zip.Close(&error)) ThrowZipError(path, error);
        }
        return true;
    } catch (CException* e) {
        platform::Ui().PostException(e);
        return false;
    }
}
