#include "platform/MappedFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/Encoding.h"

namespace platform {

MappedFile::MappedFile(MappedFile&& o) noexcept
    : m_data(std::exchange(o.m_data, nullptr)), m_size(std::exchange(o.m_size, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& o) noexcept {
    if (this != &o) {
        Close();
        m_data = std::exchange(o.m_data, nullptr);
        m_size = std::exchange(o.m_size, 0);
    }
    return *this;
}

bool MappedFile::Open(const CString& path, std::string* error) {
    Close();
    auto fail = [&](const char* what, int err) {
        if (error) *error = std::string(what) + (err ? std::string(": ") + std::strerror(err) : std::string());
        return false;
    };
    int fd = ::open(WideToUtf8(path.view()).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail("cannot open the file", errno);
    struct stat st{};
    if (fstat(fd, &st) != 0) {
        int e = errno;
        ::close(fd);
        return fail("cannot read the file's size", e);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail("not a regular file", 0);
    }
    if (st.st_size == 0) {
        ::close(fd);
        return fail("the file is empty", 0);
    }
    void* p = mmap(nullptr, size_t(st.st_size), PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
    int e = errno;
    ::close(fd);
    if (p == MAP_FAILED) return fail("cannot map the file", e);
    m_data = p;
    m_size = size_t(st.st_size);
    return true;
}

void MappedFile::Release(size_t begin, size_t end) {
    if (!m_data) return;
    end = std::min(end, m_size);
    const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t base = reinterpret_cast<uintptr_t>(m_data);
    const uintptr_t from = (base + begin + page - 1) / page * page, to = (base + end) / page * page;
    if (begin < end && from < to) madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

void MappedFile::Close() {
    if (m_data) munmap(m_data, m_size);
    m_data = nullptr;
    m_size = 0;
}

}  // namespace platform
