#include "utils/ZipArchive.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>

#include "platform/Encoding.h"
#include "platform/FileSystem.h"

using platform::WideToUtf8;

namespace ziparchive {
namespace {

struct Source {
    CString name;
    const std::vector<uint8_t>* bytes = nullptr;  // from memory, or
    CString file;                                  // from a file read when the archive is written
};

void Fill(ZipError* error, zip_error_t* ze) {
    if (!error) return;
    error->systemError = zip_error_system_type(ze) == ZIP_ET_SYS ? zip_error_code_system(ze) : 0;
    error->text = zip_error_strerror(ze);
}

bool Write(const CString& path, const std::vector<Source>& sources, ZipError* error) {
    int code = 0;
    // Truncate: whatever is at the path now is replaced, never read or appended to.
    zip_t* za = zip_open(WideToUtf8(path.view()).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!za) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, code);
        Fill(error, &ze);
        zip_error_fini(&ze);
        return false;
    }
    auto fail = [&](zip_error_t* ze) {
        Fill(error, ze);
        zip_discard(za);
        return false;
    };
    for (const Source& s : sources) {
        zip_source_t* src = s.bytes ? zip_source_buffer(za, s.bytes->data(), s.bytes->size(), 0)
                                    : zip_source_file(za, WideToUtf8(s.file.view()).c_str(), 0, -1);
        if (!src) return fail(zip_get_error(za));
        if (zip_file_add(za, WideToUtf8(s.name.view()).c_str(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(src);
            return fail(zip_get_error(za));
        }
    }
    if (zip_close(za) < 0) return fail(zip_get_error(za));
    return true;
}

void ListFiles(const CString& folder, const CString& prefix, std::vector<std::pair<CString, CString>>& out, int* err) {
    std::vector<platform::FolderEntry> entries;
    if (!platform::ListFolder(folder, entries, err)) return;
    for (const auto& e : entries) {
        const CString full = platform::JoinPath(folder, e.name);
        if (e.isFolder) ListFiles(full, prefix + e.name + L"/", out, err);
        else if (!e.isLink && platform::FileExists(full)) out.emplace_back(prefix + e.name, full);
    }
}

}  // namespace
}  // namespace ziparchive

void CArchStorage::SetFileInArchive(const CString& name, const void* bytes, size_t size) {
    const auto* b = static_cast<const uint8_t*>(bytes);
    m_entries.push_back({name, std::vector<uint8_t>(b, b + size)});
}

bool CArchStorage::Save(const CString& path, ziparchive::ZipError* error) const {
    std::vector<ziparchive::Source> sources;
    for (const Entry& e : m_entries) sources.push_back({e.name, &e.bytes, CString()});
    return ziparchive::Write(path, sources, error);
}

bool CZipArchive::Open(const CString& path) {
    m_path = path;
    m_files.clear();
    m_open = !path.IsEmpty();
    return m_open;
}

bool CZipArchive::AddNewFiles(const CString& folder, ziparchive::ZipError* error) {
    int err = 0;
    std::vector<std::pair<CString, CString>> found;
    ziparchive::ListFiles(folder, CString(), found, &err);
    if (err != 0) {
        if (error) *error = {err, std::string()};
        return false;
    }
    std::sort(found.begin(), found.end());
    m_files.insert(m_files.end(), found.begin(), found.end());
    return true;
}

bool CZipArchive::Close(ziparchive::ZipError* error) {
    if (!m_open) return false;
    m_open = false;
    std::vector<ziparchive::Source> sources;
    for (const auto& [name, file] : m_files) sources.push_back({name, nullptr, file});
    return ziparchive::Write(m_path, sources, error);
}
