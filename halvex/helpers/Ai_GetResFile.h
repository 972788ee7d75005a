#pragma once
// Custom resources of a module (help files and texts) extracted to a file or a text. A module
// registers its resources once, by any address inside it; a null module is the program.
#include <cstddef>
#include <vector>

#include "halvex/helpers/Ai_File.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

struct RESOURCE_BLOB {
    const wchar_t* type;  // "HELPFILE", ...
    WORD id;
    const void* data;
    size_t size;
};

class CAi_GetResFile {
public:
    CAi_GetResFile() = default;

    // Makes `blobs` (which must outlive the process's use of them) the resources of the
    // module that holds `moduleAnchor`.
    static void RegisterModuleResources(const void* moduleAnchor, const RESOURCE_BLOB* blobs, size_t count);

    // The bytes of resource `id` of `type` in the module; false when it has none.
    static bool FindResource(const void* module, const CString& type, WORD id, const BYTE** data, size_t* size);

    void SetHModule(const void* module) { m_hModule = module; }
    // Writes the "HELPFILE" resource `id` to the temporary folder as `fileName`; the path, or an
    // empty text when the resource or the file is missing.
    CString GetFile(WORD id, const CString& fileName);
    // The resource `id` of `type` (`defaultType` when empty) as text: ANSI bytes with format 2,
    // else UTF-16LE after a two-byte byte-order mark.
    bool GetFile(WORD id, const CString& type, const wchar_t* defaultType, CString* text, FileCodingFormat format);

    const BYTE* Buffer() const { return m_buffer.empty() ? nullptr : m_buffer.data(); }
    int BufferLength() const { return m_nLength; }

private:
    void FreeBuff();

    bool m_bToBuffer = false;
    std::vector<BYTE> m_buffer;  // the resource and two zero bytes
    int m_nLength = 0;
    const void* m_hModule = nullptr;
};
