#pragma once
// A read-only view of a whole file, mapped copy-on-write: writes through data() change the
// process's copy only, never the file.
#include <cstddef>
#include <string>

#include "platform/CString.h"

namespace platform {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile() { Close(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    MappedFile(MappedFile&& o) noexcept;
    MappedFile& operator=(MappedFile&& o) noexcept;

    // False with a reason in `error` when the file is missing, unreadable, empty or cannot
    // be mapped.
    bool Open(const CString& path, std::string* error = nullptr);
    void Close();

    bool IsOpen() const { return m_data != nullptr; }
    char* data() { return static_cast<char*>(m_data); }
    const char* data() const { return static_cast<const char*>(m_data); }
    size_t size() const { return m_size; }
    // Hands the whole pages inside bytes [begin, end) back to the system once they are read:
    // they leave the process's memory, and a later read of them reads the file again. Only for
    // bytes nothing was written into (a write to the private view would be lost).
    void Release(size_t begin, size_t end);

private:
    void* m_data = nullptr;
    size_t m_size = 0;
};

}  // namespace platform
