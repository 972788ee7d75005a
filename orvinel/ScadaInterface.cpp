#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "orvinel/ComtradeConverter.h"
#include "orvinel/Orvinel.h"
#include "orvinel/OrvinelResources.h"
#include "platform/Encoding.h"
#include "platform/FileSystem.h"

namespace {

const wchar_t kXmlError[] = L"Ошибка чтения xml-буфера";
const wchar_t kMismatch[] = L"Несоответствие загруженной осциллограммы и ее описания.";
const wchar_t kNoTempFolder[] = L"Ошибка поиска временной папки";
const wchar_t kNoTempNames[] = L"Ошибка создания имен временных файлов cfg и dat";
const wchar_t kCfgOpen[] = L"Ошибка открытия временного файла cfg";
const wchar_t kDatOpen[] = L"Ошибка открытия временного файла dat";

std::mutex g_buffersMutex;
char* g_cfgBuffer = nullptr;
char* g_datBuffer = nullptr;

void SetError(char16_t* errorText, const CString& message) {
    if (!errorText) return;
    std::u16string text = platform::WideToU16(message.view());
    size_t n = std::min<size_t>(text.size(), ORVINEL_ERROR_TEXT_CAPACITY - 1);
    // Do not cut a surrogate pair in half.
    if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    std::memcpy(errorText, text.data(), n * sizeof(char16_t));
    errorText[n] = 0;
}

CString FromU16(const char16_t* text) { return CString(platform::U16ToWide(text ? std::u16string_view(text) : u"")); }

void FreeBuffersLocked() {
    std::free(g_cfgBuffer);
    std::free(g_datBuffer);
    g_cfgBuffer = g_datBuffer = nullptr;
}

// The whole file with a NUL after it, in a block the caller releases with free(); null on failure.
char* ReadWhole(const std::string& path, int& length) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    char* block = nullptr;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size < INT_MAX) {
        size_t size = size_t(st.st_size);
        block = static_cast<char*>(std::malloc(size + 1));
        size_t done = 0;
        while (block && done < size) {
            ssize_t n = ::read(fd, block + done, size - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += size_t(n);
        }
        if (block && done == size) {
            block[size] = '\0';
            length = int(size) + 1;
        } else {
            std::free(block);
            block = nullptr;
        }
    }
    ::close(fd);
    return block;
}

int ConvertToFolder(const char16_t* description, const void* record, unsigned int recordSize,
                    const CString& folder, const CString& fileName, char16_t* errorText) {
    SetError(errorText, CString());
    if (!description) {
        SetError(errorText, kXmlError);
        return 0;
    }
    CString text = FromU16(description);
    ComtradeConverter converter(recordSize > INT_MAX ? 0 : int(recordSize), false);
    if (!converter.ReadFromXmlBuffer(text, false) && !converter.ReadFromXmlBuffer(text, true)) {
        SetError(errorText, kXmlError);
        return 0;
    }
    uint16_t crc = 0;
    uint32_t size = 0;
    if (!record || recordSize > INT_MAX ||
        !ComtradeConverter::GetInfoFromStoHeader(record, recordSize, crc, size) || converter.GetSizeCRC(size) != crc) {
        SetError(errorText, kMismatch);
        return 0;
    }
    // The caller's record stays as it was: the ring is put in order in a copy.
    const auto* bytes = static_cast<const unsigned char*>(record);
    std::vector<unsigned char> copy(bytes, bytes + recordSize);
    CString error;
    if (!converter.ConvertSto2Comtrade(folder, fileName, copy.data(), 24, 2, error)) {
        SetError(errorText, error);
        return 0;
    }
    return 1;
}

int ConvertToBuffers(const char16_t* description, const void* record, unsigned int recordSize, char** cfgText,
                     char** datText, int* cfgLength, int* datLength, char16_t* errorText) {
    std::lock_guard lock(g_buffersMutex);
    FreeBuffersLocked();
    if (cfgText) *cfgText = nullptr;
    if (datText) *datText = nullptr;
    if (!cfgText) {
        SetError(errorText, kCfgOpen);
        return 0;
    }
    if (!datText) {
        SetError(errorText, kDatOpen);
        return 0;
    }
    CString folder = platform::TempFolder();
    if (folder.IsEmpty() || !platform::FolderExists(folder)) {
        SetError(errorText, kNoTempFolder);
        return 0;
    }
    // The placeholder reserves the name for the three files; all four are removed on every path.
    CString placeholder = platform::MakeTempFile(L"ctr", CString(), folder);
    if (placeholder.IsEmpty()) {
        SetError(errorText, kNoTempNames);
        return 0;
    }
    std::string base = platform::WideToUtf8(placeholder.view()) + ".";

    int result = ConvertToFolder(description, record, recordSize, platform::PathFolder(placeholder),
                                 platform::PathFileName(placeholder), errorText);
    if (result) {
        int cfgSize = 0, datSize = 0;
        g_cfgBuffer = ReadWhole(base + "cfg", cfgSize);
        if (!g_cfgBuffer) {
            SetError(errorText, kCfgOpen);
            result = 0;
        } else {
            g_datBuffer = ReadWhole(base + "dat", datSize);
            if (!g_datBuffer) {
                SetError(errorText, kDatOpen);
                result = 0;
            }
        }
        if (result) {
            *cfgText = g_cfgBuffer;
            *datText = g_datBuffer;
            if (cfgLength) *cfgLength = cfgSize;
            if (datLength) *datLength = datSize;
        } else {
            FreeBuffersLocked();
        }
    }
    for (const wchar_t* ext : {L"cfg", L"dat", L"hdr"}) platform::RemoveFile(placeholder + L"." + ext);
    platform::RemoveFile(placeholder);
    return result;
}

template <class F>
int Guarded(char16_t* errorText, F&& body) {
    try {
        return body();
    } catch (...) {
        SetError(errorText, OrvinelResString(23001));
        return 0;
    }
}

}  // namespace

extern "C" {

int ConvertScadaStoComtrade(const char16_t* description, const void* record, unsigned int recordSize,
                            const char16_t* folder, const char16_t* fileName, char16_t* errorText) {
    return Guarded(errorText, [&] {
        if (!folder || !fileName) {
            SetError(errorText, OrvinelResString(23004));
            return 0;
        }
        return ConvertToFolder(description, record, recordSize, FromU16(folder), FromU16(fileName), errorText);
    });
}

int ConvertScadaBufStoComtrade(const char16_t* description, const void* record, unsigned int recordSize,
                               char** cfgText, char** datText, char16_t* errorText) {
    return Guarded(errorText, [&] {
        return ConvertToBuffers(description, record, recordSize, cfgText, datText, nullptr, nullptr, errorText);
    });
}

int ConvertScadaBufStoComtradeEx(const char16_t* description, const void* record, unsigned int recordSize,
                                 char** cfgText, char** datText, int* cfgLength, int* datLength, char16_t* errorText) {
    return Guarded(errorText, [&] {
        return ConvertToBuffers(description, record, recordSize, cfgText, datText, cfgLength, datLength, errorText);
    });
}

void FreeMemAfterConvertScadaBuf(void) {
    std::lock_guard lock(g_buffersMutex);
    FreeBuffersLocked();
}

}  // extern "C"
