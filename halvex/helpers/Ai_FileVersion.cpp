// The version reader of CAi_File: the record a module carries in its TV_VERSION_SECTION,
// found through the file's ELF section headers without loading the module.
#include <elf.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "halvex/helpers/Ai_File.h"
#include "halvex/helpers/ModuleVersionRecord.h"
#include "platform/Encoding.h"

namespace {

class Fd {
public:
    explicit Fd(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    bool ok() const { return m_fd >= 0; }
    bool ReadAt(uint64_t offset, void* out, size_t size) const {
        if (offset > uint64_t(INT64_MAX) - size) return false;
        return ::pread(m_fd, out, size, off_t(offset)) == ssize_t(size);
    }

private:
    int m_fd;
};

// The bytes of the version section of a 64-bit little-endian ELF file; false when the file
// is none or has no such section of the record's size.
bool ReadVersionSection(const std::string& path, MODULE_VERSION_RECORD& record) {
    Fd f(path);
    Elf64_Ehdr eh;
    if (!f.ok() || !f.ReadAt(0, &eh, sizeof eh)) return false;
    if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != ELFCLASS64 ||
        eh.e_ident[EI_DATA] != ELFDATA2LSB || eh.e_shentsize != sizeof(Elf64_Shdr) || eh.e_shnum == 0 ||
        eh.e_shstrndx >= eh.e_shnum)
        return false;
    std::vector<Elf64_Shdr> sh(eh.e_shnum);
    if (!f.ReadAt(eh.e_shoff, sh.data(), sh.size() * sizeof(Elf64_Shdr))) return false;
    const Elf64_Shdr& names = sh[eh.e_shstrndx];
    if (names.sh_size == 0 || names.sh_size > (1u << 24)) return false;
    std::string strtab(names.sh_size, '\0');
    if (!f.ReadAt(names.sh_offset, strtab.data(), strtab.size())) return false;
    strtab.push_back('\0');  // a table without its closing zero still ends
    for (const Elf64_Shdr& s : sh) {
        if (s.sh_name >= strtab.size() - 1 || std::strcmp(strtab.c_str() + s.sh_name, TV_VERSION_SECTION) != 0)
            continue;
        if (s.sh_size != sizeof(MODULE_VERSION_RECORD) || s.sh_type == SHT_NOBITS) return false;
        if (!f.ReadAt(s.sh_offset, &record, sizeof record)) return false;
        return std::memcmp(record.magic, "TVVER01", 8) == 0;
    }
    return false;
}

}  // namespace

int CAi_File::DetectFileVersionInfo(const void* module) {
    CString path = GetAppPathName(module);
    return path.IsEmpty() ? (m_pInner->Reset(), 0) : DetectFileVersionInfo(path.GetString());
}

int CAi_File::DetectFileVersionInfo(const wchar_t* path) {
    m_pInner->Reset();
    if (!path || !*path) return 0;
    MODULE_VERSION_RECORD record;
    if (!ReadVersionSection(platform::WideToUtf8(path), record)) return 0;
    for (int i = 0; i < 13; ++i) m_pInner->m_FixedFileInfo[i] = record.fixed[i];
    for (int i = 0; i < 12; ++i) {
        const char* t = record.texts[i];
        m_pInner->m_VersionTexts[i] = CString(platform::Utf8ToWide(std::string(t, strnlen(t, sizeof record.texts[i]))));
    }
    return 1;
}

WORD CAi_File::GetFileVersion(int part) const {
    const DWORD* f = m_pInner->m_FixedFileInfo;
    switch (part) {
        case 0: return WORD(f[3] & 0xFFFF);
        case 1: return WORD(f[3] >> 16);
        case 2: return WORD(f[2] & 0xFFFF);
        case 3: return WORD(f[2] >> 16);
        default: return 0;
    }
}

WORD CAi_File::GetProductVersion(int part) const {
    const DWORD* f = m_pInner->m_FixedFileInfo;
    switch (part) {
        case 0: return WORD(f[5] & 0xFFFF);
        case 1: return WORD(f[5] >> 16);
        case 2: return WORD(f[4] & 0xFFFF);
        case 3: return WORD(f[4] >> 16);
        default: return 0;
    }
}

int64_t CAi_File::GetFileDate() const {
    uint64_t ft = uint64_t(m_pInner->m_FixedFileInfo[11]) << 32 | m_pInner->m_FixedFileInfo[12];
    constexpr uint64_t kEpochDiff = 116444736000000000ULL;  // 1601 to 1970 in 100 ns
    return ft < kEpochDiff ? 0 : int64_t((ft - kEpochDiff) / 10000000ULL);
}
