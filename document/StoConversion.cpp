#include "document/StoConversion.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

#include "document/TenvorikComtradeConv.h"
#include "model/AppOptions.h"
#include "model/Numeric.h"
#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

enum : unsigned {
    kFileReadError = 124,     // "Ошибка чтения файла %s"
    kDstFilter = 125,
    kDstTitle = 126,
    kDescriptionMismatch = 135,
};

[[noreturn]] void ThrowText(unsigned id, const CString& argument) {
    CString text;
    text.Format(LoadResString(id), argument.GetString());
    throw CTenvorikException::FromText(text);
}

bool EndsWithNoCase(const CString& text, const wchar_t* suffix) {
    CString s(suffix);
    return text.GetLength() >= s.GetLength() && text.Right(s.GetLength()).CompareNoCase(s) == 0;
}

}  // namespace

CString MakeTempFolderName() {
    timeval now{};
    if (gettimeofday(&now, nullptr) != 0) return CString();
    std::tm local{};
    time_t seconds = now.tv_sec;
    if (!localtime_r(&seconds, &local)) return CString();
    // The local calendar time with its milliseconds, as 100-nanosecond units since 1601.
    constexpr int64_t kEpochDifference = 11644473600LL;
    int64_t localSeconds = int64_t(seconds) + local.tm_gmtoff;
    if (localSeconds < -kEpochDifference) return CString();
    uint64_t fileTime = uint64_t(localSeconds + kEpochDifference) * 10000000u + uint64_t(now.tv_usec / 1000) * 10000u;
    CString name;
    name.Format(L"Tenvorik_%llX", (unsigned long long)fileTime);
    return name;
}

CString CreateTempWorkFolder(int* err) {
    CString base = platform::TempFolder();
    if (base.IsEmpty()) {
        if (err) *err = ENOENT;
        return CString();
    }
    for (int attempt = 0; attempt < 1001; ++attempt) {
        CString name = MakeTempFolderName();
        if (name.IsEmpty()) {
            if (err) *err = EINVAL;
            return CString();
        }
        CString full = platform::JoinPath(base, name);
        if (::mkdir(platform::WideToUtf8(full.view()).c_str(), 0700) == 0) return full;
        if (errno != EEXIST) {
            if (err) *err = errno;
            return CString();
        }
        // The next name is later in time.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (err) *err = EEXIST;
    return CString();
}

void DeleteFolderRecursive(const CString& folder) {
    if (!folder.IsEmpty()) platform::RemoveTree(folder);
}

bool FindDescriptionFile(uint16_t crc, uint32_t size, const CString& folder, ComtradeConverter& checker,
                         CString& path) {
    // An empty setting means "no folder", not the root of the file system.
    if (folder.IsEmpty()) return false;
    CString dir = platform::PathFromPeer(folder);
    std::vector<platform::FolderEntry> entries;
    if (!platform::ListFolder(dir, entries)) return false;
    for (const auto& entry : entries) {
        if (entry.isFolder || !EndsWithNoCase(entry.name, L".dst")) continue;
        CString candidate = platform::JoinPath(dir, entry.name);
        if (platform::FolderExists(candidate)) continue;
        if (checker.CheckDstCompatibility(crc, size, candidate)) {
            path = candidate;
            return true;
        }
    }
    return false;
}

namespace {

CString Convert(const CString& path, CString* tempFolder) {
    const bool interactive = tempFolder != nullptr;
    // A record named "REC.STO" on a case-sensitive file system is opened by its own name.
    CString sto = EndsWithNoCase(path, L".sto") ? path : StripOscillogramExt(path) + L".sto";
    AppOptions& options = TheAppOptions();

    // "-Dst" names the description of the first record opened, or a folder of descriptions.
    CString description, dstArgumentFolder;
    if (interactive && !options.commandLineDst.IsEmpty()) {
        if (platform::FolderExists(options.commandLineDst)) dstArgumentFolder = options.commandLineDst;
        else description = options.commandLineDst;
    }

    CFile file;
    if (!file.Open(sto, CFile::modeRead)) ThrowText(kFileReadError, sto);
    uint64_t fileLength = file.GetLength();
    if (fileLength > uint64_t(INT_MAX)) ThrowText(kFileReadError, sto);
    const int length = int(fileLength);

    uint16_t crc = 0;
    uint32_t size = 0;
    if (!ComtradeConverter::GetInfoFromStoHeader(file, crc, size)) ThrowText(kFileReadError, sto);
    ComtradeConverter checker(length, false);
    if (description.IsEmpty()) {
        bool found = FindDescriptionFile(crc, size, dstArgumentFolder, checker, description) ||
                     FindDescriptionFile(crc, size, platform::PathFolder(sto), checker, description) ||
                     FindDescriptionFile(crc, size, options.dstFolder, checker, description);
        if (!found) {
            if (!interactive) return CString();
            description = platform::Ui().AskOpenFileName(LoadResString(kDstTitle), LoadResString(kDstFilter), L"dst");
            if (description.IsEmpty()) return CString();
            if (!checker.CheckDstCompatibility(crc, size, description))
                throw new CTenvorikException(kDescriptionMismatch);
        }
    } else if (!checker.CheckDstCompatibility(crc, size, description)) {
        // A description named on the command line must fit the record as much as a found one.
        throw new CTenvorikException(kDescriptionMismatch);
    }

    std::vector<unsigned char> record(size_t(length) + 1);
    file.SeekToBegin();
    if (file.Read(record.data(), size_t(length)) != size_t(length)) ThrowText(kFileReadError, sto);
    file.Close();
    record.resize(size_t(length));

    std::unique_ptr<platform::ProgressWindow> progress;
    if (interactive) progress = platform::Ui().CreateConversionProgress();
    // Progress is asked for only when there is a window to move.
    TenvorikComtradeConv converter(length, progress != nullptr, progress.get());
    if (!converter.ReadFromXml(description)) ThrowText(kFileReadError, description);

    int err = 0;
    CString output = CreateTempWorkFolder(&err);
    if (output.IsEmpty()) {
        CFileException e(CFileException::CauseFromErrno(err), err, platform::TempFolder());
        throw CTenvorikException::FromText(e.GetErrorMessage());
    }
    if (interactive) *tempFolder = output;
    CString name = platform::PathFileName(StripOscillogramExt(path));
    CString error;
    bool ok = converter.ConvertSto2Comtrade(output, name, record.data(), 24, 2, error);
    if (progress) progress->SetVisible(false);
    if (!ok) {
        if (!interactive) DeleteFolderRecursive(output);
        throw CTenvorikException::FromText(error);
    }
    return platform::JoinPath(output, name + L".cfg");
}

}  // namespace

CString ConvertStoToComtrade(const CString& path, CString* tempFolder) {
    try {
        return Convert(path, tempFolder);
    } catch (CException* e) {
        if (tempFolder) throw;
        e->Delete();
        return CString();
    }
}
