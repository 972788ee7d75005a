#include "halvex/helpers/Ai_GetResFile.h"

#include <map>
#include <mutex>
#include <utility>

#include "platform/Encoding.h"

namespace {

struct Registry {
    std::mutex mutex;
    std::map<CString, std::vector<RESOURCE_BLOB>> byModule;  // by the module's file path
};

Registry& Resources() {
    static Registry r;
    return r;
}

bool Find(const void* module, const CString& type, WORD id, RESOURCE_BLOB& out) {
    CString path = CAi_File::GetAppPathName(module);
    if (path.IsEmpty()) return false;
    Registry& r = Resources();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.byModule.find(path);
    if (it == r.byModule.end()) return false;
    for (const auto& b : it->second)
        if (b.id == id && b.type && type.CompareNoCase(b.type) == 0 && (b.data || b.size == 0)) {
            out = b;
            return true;
        }
    return false;
}

}  // namespace

void CAi_GetResFile::RegisterModuleResources(const void* moduleAnchor, const RESOURCE_BLOB* blobs, size_t count) {
    CString path = CAi_File::GetAppPathName(moduleAnchor);
    if (path.IsEmpty()) return;
    Registry& r = Resources();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.byModule[path].assign(blobs, blobs + (blobs ? count : 0));
}

bool CAi_GetResFile::FindResource(const void* module, const CString& type, WORD id, const BYTE** data, size_t* size) {
    RESOURCE_BLOB blob{};
    if (!data || !size || !Find(module, type, id, blob)) return false;
    *data = static_cast<const BYTE*>(blob.data);
    *size = blob.size;
    return true;
}

void CAi_GetResFile::FreeBuff() {
    m_buffer.clear();
    m_nLength = 0;
}

CString CAi_GetResFile::GetFile(WORD id, const CString& fileName) {
    m_bToBuffer = true;
    bool ok = GetFile(id, CString(), L"HELPFILE", nullptr, eFileCodingUnicode);
    m_bToBuffer = false;
    if (!ok || fileName.IsEmpty()) return CString();
    CString path = CAi_File::ExamineTmpFile(fileName);
    if (path.IsEmpty()) return CString();
    return CAi_File::WriteBufferToFile(path, m_buffer.data(), m_nLength, true) ? path : CString();
}

bool CAi_GetResFile::GetFile(WORD id, const CString& type, const wchar_t* defaultType, CString* text,
                             FileCodingFormat format) {
    CString kind = type.IsEmpty() ? CString(defaultType) : type;
    RESOURCE_BLOB blob{};
    if (kind.IsEmpty() || !Find(m_hModule, kind, id, blob)) return false;
    if (blob.size > size_t(INT32_MAX) - 2) return false;
    const char* bytes = static_cast<const char*>(blob.data);
    if (m_bToBuffer) {
        FreeBuff();
        m_buffer.assign(bytes, bytes + blob.size);
        m_buffer.resize(blob.size + 2, 0);
        m_nLength = int(blob.size);
        return true;
    }
    if (!text) return false;
    std::string_view view(bytes, blob.size);
    if (format == eFileCodingAnsi) {
        *text = CString(platform::AnsiToWide(view));
    } else {
        // A text resource starts with its byte-order mark; one too short to hold it is empty.
        *text = CString(platform::Utf16LeToWide(view.size() >= 2 ? view.substr(2) : std::string_view()));
    }
    return true;
}
