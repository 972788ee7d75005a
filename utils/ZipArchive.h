#pragma once
// The two archive writers the record export packs with: CArchStorage takes its entries from
// memory, CZipArchive takes every file of a folder. Both write a zip file whose entries sit
// at its root. Nothing appears at the target until the whole archive is written: the zip
// library builds it in a temporary file beside the target and renames that over it, so a
// failed write leaves no partial archive and an older file of that name as it was.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/CString.h"

namespace ziparchive {

// Why a write failed: the system's error number when the system refused (0 otherwise) and
// the zip library's own words.
struct ZipError {
    int systemError = 0;
    std::string text;
};

}  // namespace ziparchive

class CArchStorage {
public:
    // Adds an entry; the bytes are copied.
    void SetFileInArchive(const CString& name, const void* bytes, size_t size);
    // Writes the archive; false with `error` filled when it could not be written whole.
    bool Save(const CString& path, ziparchive::ZipError* error = nullptr) const;

private:
    struct Entry {
        CString name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Entry> m_entries;
};

class CZipArchive {
public:
    // Starts a new archive at `path`; the file itself is written by Close.
    bool Open(const CString& path);
    // Adds every regular file below `folder`, named by its path relative to the folder;
    // false when the folder cannot be read.
    bool AddNewFiles(const CString& folder, ziparchive::ZipError* error = nullptr);
    // Writes the archive; false with `error` filled when it could not be written whole.
    bool Close(ziparchive::ZipError* error = nullptr);

private:
    CString m_path;
    // Entry name -> file on disk.
    std::vector<std::pair<CString, CString>> m_files;
    bool m_open = false;
};
