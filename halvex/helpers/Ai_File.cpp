#include "halvex/helpers/Ai_File.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "halvex/helpers/HalvexResources.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/UiServices.h"

using namespace platform;

std::atomic<DWORD> CAi_File::s_lastError{0};

namespace {

constexpr int kMaxNamePart = 255;  // the longest name or extension a file system keeps

bool IsSep(wchar_t c) { return c == L'/' || c == L'\\'; }

int LastSep(const CString& s) {
    for (int i = s.GetLength() - 1; i >= 0; --i)
        if (IsSep(s[i])) return i;
    return -1;
}

std::string Sys(const CString& path) { return WideToUtf8(path.view()); }

bool Lstat(const CString& path, struct stat& st) { return !path.IsEmpty() && ::lstat(Sys(path).c_str(), &st) == 0; }

// The encoding of a file's content as read by the whole-file read: UTF-16 (with the number of
// mark bytes) or ANSI.
struct Coding {
    bool unicode = false;
    size_t markBytes = 0;
};

Coding DetectCoding(const std::string& bytes) {
    Coding c;
    c.unicode = CAi_File::LooksLikeUnicodeText(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    if (c.unicode && bytes.size() >= 2 && BYTE(bytes[0]) == 0xFF && BYTE(bytes[1]) == 0xFE) c.markBytes = 2;
    return c;
}

CString DecodeText(const std::string& bytes, const Coding& c) {
    if (c.unicode) return CString(Utf16LeToWide(std::string_view(bytes).substr(c.markBytes)));
    return CString(AnsiToWide(bytes));
}

// Reads a whole file; false for an empty path, a missing path, a folder or a read failure.
bool ReadAll(const CString& path, std::string& bytes) {
    if (path.IsEmpty() || !FileExists(path)) return false;
    try {
        bytes = ReadFileBytes(path);
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

uint64_t ToFileTime(const timespec& t) {
    // 100 ns intervals between 1601-01-01 and 1970-01-01.
    constexpr uint64_t kEpochDiff = 116444736000000000ULL;
    return kEpochDiff + uint64_t(t.tv_sec) * 10000000ULL + uint64_t(t.tv_nsec) / 100;
}

CString EnvFolder(const char* var, const wchar_t* fallbackBelowHome) {
    const char* v = std::getenv(var);
    if (v && v[0] == '/') return CString(Utf8ToWide(v));
    CString home = HomeFolder();
    return home.IsEmpty() ? CString() : JoinPath(home, fallbackBelowHome);
}

}  // namespace

// --- CFileCtrlInnerUsing ---------------------------------------------------------------

CFileCtrlInnerUsing::CFileCtrlInnerUsing() { Reset(); }

void CFileCtrlInnerUsing::Reset() {
    for (auto& w : m_FixedFileInfo) w = 0;
    for (auto& t : m_VersionTexts) t.Empty();
}

CString CFileCtrlInnerUsing::SplitPath(const CString& path, int part) {
    CString rest = path;
    CString drive;
    if (rest.GetLength() >= 2 && rest[1] == L':' && iswalpha(wint_t(rest[0]))) {
        drive = rest.Left(2);
        rest = rest.Mid(2);
    }
    int sep = LastSep(rest);
    CString folder = rest.Left(sep + 1), name = rest.Mid(sep + 1);
    int dot = name.ReverseFind(L'.');
    CString ext = dot < 0 ? CString() : name.Mid(dot);
    switch (part) {
        case eSplitDrive: return drive;
        case eSplitFolder: return folder;
        case eSplitName: return name;
        case eSplitExt: return ext;
        default: return CString();
    }
}

void CFileCtrlInnerUsing::GetListOfFilesAndFolders(const CString& folder, std::vector<LIST_OF_FOLDER_AND_FILES>* list,
                                                   bool withSubFolders, int& counter, int parentIndex, int depth) {
    LIST_OF_FOLDER_AND_FILES entry;
    entry.strFolder = folder;
    entry.nIndex = counter++;
    entry.nParentIndex = parentIndex;
    entry.nDepth = depth + 1;
    std::vector<FolderEntry> found;
    if (!ListFolder(folder, found)) return;
    CString prefix = folder;
    if (prefix.IsEmpty() || !IsSep(prefix[prefix.GetLength() - 1])) prefix += L'/';
    for (const auto& f : found) {
        // Links are listed as files and never followed: a link to a folder above would
        // make the walk endless, and deleting through one would reach outside the folder.
        if (f.isFolder) {
            if (withSubFolders)
                GetListOfFilesAndFolders(prefix + f.name, list, true, counter, entry.nIndex, entry.nDepth);
        } else {
            entry.vFiles.push_back({prefix + f.name, f.name});
        }
    }
    list->insert(list->begin(), std::move(entry));
}

int CFileCtrlInnerUsing::ReadFileToBuffer(const CString& path, BYTE** buffer, CString* text, bool addZero) {
    if (buffer) {
        delete[] *buffer;
        *buffer = nullptr;
    } else if (text) {
        text->Empty();
    }
    std::string bytes;
    if (!ReadAll(path, bytes)) return -1;
    if (bytes.empty()) return 0;
    if (buffer) {
        size_t n = bytes.size() + (addZero ? 1 : 0);
        *buffer = new BYTE[n]();
        std::memcpy(*buffer, bytes.data(), bytes.size());
    } else if (text) {
        *text = DecodeText(bytes, DetectCoding(bytes));
    }
    return int(bytes.size());
}

std::string CFileCtrlInnerUsing::EncodeText(const CString& text, FileCodingFormat format) const {
    if (format == eFileCodingAnsi) return WideToAnsi(text.view());
    return WideToUtf16Le(text.view(), m_bWriteBOM);
}

bool CFileCtrlInnerUsing::WriteBufToF(CFile* file, const CString* text, FileCodingFormat format) {
    if (!file || !text || text->IsEmpty()) return false;
    std::string bytes = EncodeText(*text, format);
    return WriteBufToF(file, reinterpret_cast<const BYTE*>(bytes.data()), int(bytes.size()));
}

bool CFileCtrlInnerUsing::WriteBufToF(CFile* file, const BYTE* data, int length) {
    if (!file || !data || length <= 0) return false;
    try {
        file->Write(data, size_t(length));
        file->Flush();
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

std::string CFileCtrlInnerUsing::ConverAToW(const CStringA& text) const {
    return WideToUtf16Le(AnsiToWide(text.view()), m_bWriteBOM);
}

// --- CAi_File: object ------------------------------------------------------------------

CAi_File::CAi_File() : m_pInner(new CFileCtrlInnerUsing) {}

CAi_File::~CAi_File() { delete m_pInner; }

CAi_File::CAi_File(const CAi_File& other)
    : m_pInner(new CFileCtrlInnerUsing(*other.m_pInner)),
      m_vListOfFolderAndFiles(other.m_vListOfFolderAndFiles),
      m_pSectionText(other.m_pSectionText),
      m_vSectionParams(other.m_vSectionParams) {}

CAi_File& CAi_File::operator=(const CAi_File& other) {
    if (this != &other) {
        *m_pInner = *other.m_pInner;
        m_vListOfFolderAndFiles = other.m_vListOfFolderAndFiles;
        m_pSectionText = other.m_pSectionText;
        m_vSectionParams = other.m_vSectionParams;
    }
    return *this;
}

// --- path texts --------------------------------------------------------------------------

CString CAi_File::GetFileName_(const CString& path) {
    if (path.IsEmpty()) return CString();
    CString name = CFileCtrlInnerUsing::SplitPath(path, CFileCtrlInnerUsing::eSplitName);
    CString ext = CFileCtrlInnerUsing::SplitPath(path, CFileCtrlInnerUsing::eSplitExt);
    if (name.GetLength() - ext.GetLength() > kMaxNamePart || ext.GetLength() > kMaxNamePart) return CString();
    return name;
}

CString CAi_File::GetFileTitle_(const CString& path) {
    if (path.IsEmpty()) return CString();
    CString part = path.Mid(LastSep(path) + 1);
    int dot = part.ReverseFind(L'.');
    return dot < 0 ? part : part.Left(dot);
}

CString CAi_File::GetFileExt(const CString& path) {
    if (path.IsEmpty()) return CString();
    int dot = path.ReverseFind(L'.');
    return dot < 0 ? path : path.Mid(dot + 1);
}

CString CAi_File::GetFilePath_(const CString& path) {
    if (path.IsEmpty()) return CString();
    int sep = LastSep(path);
    return sep < 0 ? path : path.Left(sep);
}

CString CAi_File::GetFileFolder(const CString& path) {
    CString folder = GetFilePath_(path);
    if (folder.IsEmpty()) return CString();
    int sep = LastSep(folder);
    return sep < 0 ? path : folder.Mid(sep + 1);
}

void CAi_File::AddExtensionIfNeed(CString* path, const CString& ext) {
    if (!path) return;
    if (!path->IsEmpty()) path->TrimRight(L'.');
    CString e = ext;
    if (e.Find(L'.') < 0) e = L"." + e;
    if (path->GetLength() < e.GetLength() || path->Right(e.GetLength()) != e) *path += e;
}

bool CAi_File::IfPathHasNotBadSimbols(const CString& path) {
    int colon = path.Find(L':');
    if (colon >= 0 && colon != 1) return false;
    return path.FindOneOf(L"*?<>|") < 0;
}

bool CAi_File::IfFileNameHasNotBadSimbols(const CString& name) { return name.FindOneOf(L"\\/:*?\"<>|") < 0; }

bool CAi_File::IfFolderNameHasNotBadSimbols(const CString& name) { return IfFileNameHasNotBadSimbols(name); }

// --- existence and coding ----------------------------------------------------------------

bool CAi_File::IsFileExist(const CString& path) { return FileExists(path); }

bool CAi_File::IsFolderExist(const CString& path) { return FolderExists(path); }

bool CAi_File::IsFileEmpty(const CString& path, long* size) {
    if (path.IsEmpty()) return false;
    int len = GetFileLength(path);
    if (len == -1) return true;
    if (size) *size = len;
    return len == 0;
}

int CAi_File::GetFileLength(const CString& path) {
    if (path.IsEmpty()) return -1;
    CFile f;
    if (!f.Open(path, CFile::modeRead)) return -1;
    uint64_t len = 0;
    try {
        len = f.GetLength();
    } catch (CFileException* e) {
        e->Delete();
        return -1;
    }
    if (len == 2) {
        // A UTF-16 file holding only its byte-order mark is empty.
        BYTE mark[2] = {};
        try {
            if (f.Read(mark, 2) == 2 && mark[0] == 0xFF && mark[1] == 0xFE) return 0;
        } catch (CFileException* e) {
            e->Delete();
        }
    }
    return len > uint64_t(INT32_MAX) ? INT32_MAX : int(len);
}

bool CAi_File::LooksLikeUnicodeText(const BYTE* data, size_t length) {
    if (!data || length < 2) return false;
    if (data[0] == 0xFF && data[1] == 0xFE) return true;
    if (data[0] == 0xFE && data[1] == 0xFF) return false;  // big-endian: not ours
    if (length % 2) return false;
    for (size_t i = 0; i + 1 < length; i += 2) {
        unsigned unit = unsigned(data[i]) | (unsigned(data[i + 1]) << 8);
        bool ok = (unit >= 0x20 && unit < 0x7F) || unit == L'\t' || unit == L'\r' || unit == L'\n' ||
                  (unit >= 0xA0 && unit <= 0xFF) || (unit >= 0x400 && unit <= 0x4FF) ||
                  (unit >= 0x2000 && unit <= 0x206F) || unit == 0x2116 || unit == 0x20AC ||
                  (unit == 0 && i + 2 == length);  // a closing zero
        if (!ok) return false;
    }
    return true;
}

bool CAi_File::IsUnicodeFile(const CString& path) {
    if (!IsFileExist(path)) return false;
    std::string bytes;
    if (!ReadAll(path, bytes) || bytes.empty()) return false;
    return LooksLikeUnicodeText(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
}

int CAi_File::GetFileCodingFormat(const CString& path) {
    return IsFileExist(path) && !IsUnicodeFile(path) ? eFileCodingAnsi : eFileCodingUnicode;
}

// --- special folders ---------------------------------------------------------------------

CString CAi_File::GetWinTmpPath() {
    CString t = UserTempFolder();
    return t.IsEmpty() ? t : t + L"/";
}

CString CAi_File::GetWinLocalSettingsApplicationDataPath() {
    CString folder = EnvFolder("XDG_DATA_HOME", L".local/share");
    if (folder.IsEmpty() || !CreateFolders(folder)) return CString();
    return folder;
}

CString CAi_File::GetCurrentPath() { return CurrentFolder(); }

CString CAi_File::GetAppPathName(const void* module) {
    if (!module) return ExecutablePath();
    Dl_info info{};
    if (!dladdr(module, &info) || !info.dli_fname) return CString();
    CString path(Utf8ToWide(info.dli_fname));
    if (char* real = ::realpath(info.dli_fname, nullptr)) {
        path = CString(Utf8ToWide(real));
        std::free(real);
    }
    return path;
}

CString CAi_File::GetAppPath() {
    CString exe = ExecutablePath();
    return exe.IsEmpty() ? exe : PathFolder(exe);
}

CString CAi_File::GetSpecialFolder(int csidl) {
    CString home = HomeFolder();
    if (home.IsEmpty()) return CString();
    switch (csidl) {
        case kFolderDesktop: return JoinPath(home, L"Desktop");
        case kFolderDocuments: return JoinPath(home, L"Documents");
        case kFolderAppData: return EnvFolder("XDG_CONFIG_HOME", L".config");
        case kFolderLocalAppData: return EnvFolder("XDG_DATA_HOME", L".local/share");
        case kFolderProfile: return home;
        default: return CString();
    }
}

bool CAi_File::ChoiseFolderDlg(CString* folder, const CString& title, void*, void*) {
    if (!folder) return false;
    CString chosen = *folder;
    if (!Ui().ChooseFolder(chosen, title)) return false;
    *folder = chosen;
    return true;
}

// --- creating and deleting ----------------------------------------------------------------

bool CAi_File::CreateFile_(const CString& path, int mode) {
    if (path.IsEmpty()) return false;
    if (IsFileExist(path)) {
        switch (mode) {
            case eCreateClear: return ClearFile(path);
            case eCreateKeep: return true;
            case eCreateRefuse:
                Ui().MessageBox(L"File already exists!", CString(), MB_OK | MB_ICONERROR);
                return false;
            default: break;
        }
    }
    CFile f;
    return f.Open(path, CFile::modeCreate | CFile::modeWrite);
}

CString CAi_File::CreateTempFile(const CString& name, const CString* text) {
    if (name.IsEmpty()) return CString();
    CString tmp = GetWinTmpPath();
    if (tmp.IsEmpty()) return CString();
    CString path = tmp + name;
    if (!CreateFile_(path, eCreateClear)) return CString();
    if (text && !text->IsEmpty()) {
        CString copy = *text;
        WriteStringToFile(path, &copy, eFileCodingDefault);
    }
    return path;
}

bool CAi_File::ExamineFile(const CString& path) {
    if (path.IsEmpty()) return false;
    CString folder = GetFilePath_(path);
    if (folder != path && !folder.IsEmpty()) ExamineFolder(folder);
    if (!IsFileExist(path)) return CreateFile_(path, eCreateKeep);
    return true;
}

CString CAi_File::ExamineTmpFile(const CString& name) {
    CString tmp = GetWinTmpPath();
    if (tmp.IsEmpty() || name.IsEmpty()) return CString();
    CString path = tmp + name;
    return ExamineFile(path) ? path : CString();
}

bool CAi_File::ExamineFolder(const CString& path) { return IsFolderExist(path) || CreateFolder(path, true); }

bool CAi_File::CreateFolder(const CString& path, bool showMessage) {
    if (path.IsEmpty() || IsFolderExist(path)) return false;
    CString rest = PathFromPeer(path);
    CString walk = rest[0] == L'/' ? CString(L"/") : CString(L".");
    int pos = 0;
    bool any = false;
    for (CString piece = rest.Tokenize(L"/", pos); pos >= 0; piece = rest.Tokenize(L"/", pos)) {
        any = true;
        walk = JoinPath(walk, piece);
        if (IsFolderExist(walk)) continue;
        if (!platform::CreateFolder(walk)) {
            if (showMessage) {
                CString msg;
                msg.Format(HalvexLoadString(7755).GetString(), path.GetString());
                Ui().MessageBox(msg, CString(), MB_OK | MB_ICONERROR);
            }
            return false;
        }
    }
    return any;
}

bool CAi_File::DeleteFile_(const CString& path) {
    s_lastError = 0;
    struct stat st{};
    if (!Lstat(path, st) || S_ISDIR(st.st_mode)) return false;
    int err = 0;
    bool ok = RemoveFile(path, &err);
    s_lastError = ok ? 0 : DWORD(err);
    return ok;
}

bool CAi_File::DeleteFiles(const CString& folder) {
    if (folder.IsEmpty()) return false;
    CAi_File lister;
    lister.GetListOfFilesInFolder(folder, false);
    for (const auto& entry : lister.m_vListOfFolderAndFiles)
        for (const auto& f : entry.vFiles) DeleteFile_(f.strPath);
    return true;
}

bool CAi_File::ClearFile(const CString& path) {
    if (path.IsEmpty() || !IsFileExist(path)) return false;
    CFile f;
    if (!f.Open(path, CFile::modeWrite)) return false;
    try {
        f.SetLength(0);
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
    return true;
}

bool CAi_File::DeleteFolder(const CString& path, bool onlyEmpty, bool* removed) {
    if (path.IsEmpty() || !IsFolderExist(path)) return false;
    struct stat st{};
    if (Lstat(path, st) && S_ISLNK(st.st_mode)) {
        // A link to a folder: the link goes, what it points to stays.
        if (removed) *removed = false;
        int err = 0;
        bool ok = RemoveFile(path, &err);
        if (!ok) s_lastError = DWORD(err);
        if (ok && removed) *removed = true;
        return ok;
    }
    CAi_File lister;
    lister.GetListOfFilesInFolder(path, true);
    if (removed) *removed = false;
    const auto& list = lister.m_vListOfFolderAndFiles;
    int err = 0;
    if (list.empty()) {
        bool ok = RemoveFolder(path, &err);
        if (!ok) s_lastError = DWORD(err);
        if (ok && removed) *removed = true;
        return ok;
    }
    bool ok = true;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (onlyEmpty && !it->vFiles.empty()) continue;
        for (const auto& f : it->vFiles)
            if (!DeleteFile_(f.strPath)) ok = false;
        if (RemoveFolder(it->strFolder, &err)) {
            if (removed) *removed = true;
        } else {
            ok = false;
            s_lastError = DWORD(err);
        }
    }
    return ok;
}

bool CAi_File::RemoveAttribute_ReadOnly(const CString& path, const CString& question) {
    struct stat st{};
    if (path.IsEmpty() || ::stat(Sys(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    if (st.st_mode & S_IWUSR) return true;
    if (!question.IsEmpty() && Ui().MessageBox(question, CString(), MB_YESNO | MB_ICONEXCLAMATION) == IDNO)
        return false;
    return ::chmod(Sys(path).c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool CAi_File::GetFileAttributes_(const CString& path, FILE_ATTR* attr) {
    if (!attr || !IsFileExist(path)) return false;
    CFile f;
    if (!f.Open(path, CFile::modeRead)) return false;
    struct stat st{};
    if (fstat(f.Handle(), &st) != 0) return false;
    DWORD a = 0;
    if (!(st.st_mode & S_IWUSR)) a |= kAttrReadOnly;
    if (GetFileName_(path).Left(1) == L".") a |= kAttrHidden;
    if (a == 0) a = kAttrNormal;
    attr->dwAttributes = a;
    attr->info.dwFileAttributes = a;
    attr->info.ftCreationTime = ToFileTime(st.st_ctim);
    attr->info.ftLastAccessTime = ToFileTime(st.st_atim);
    attr->info.ftLastWriteTime = ToFileTime(st.st_mtim);
    attr->info.dwVolumeSerialNumber = DWORD(st.st_dev);
    attr->info.nFileSizeHigh = DWORD(uint64_t(st.st_size) >> 32);
    attr->info.nFileSizeLow = DWORD(uint64_t(st.st_size) & 0xFFFFFFFFu);
    attr->info.nNumberOfLinks = DWORD(st.st_nlink);
    attr->info.nFileIndexHigh = DWORD(uint64_t(st.st_ino) >> 32);
    attr->info.nFileIndexLow = DWORD(uint64_t(st.st_ino) & 0xFFFFFFFFu);
    return true;
}

// --- copying -----------------------------------------------------------------------------

bool CAi_File::CopyFileToFile(const CString& src, const CString& dst) { return CopyFileToFile(src, dst, CString()); }

bool CAi_File::CopyFileToFile(const CString& src, const CString& dst, const CString& marker) {
    if (src == dst) return true;
    if (src.IsEmpty() || dst.IsEmpty() || !IsFileExist(src) || !IsFileExist(dst)) return false;
    // The source is opened before the destination is touched, and the destination is
    // replaced only by a complete copy: a failure leaves both as they were.
    CFile in;
    if (!in.Open(src, CFile::modeRead)) return false;
    try {
        uint64_t limit = UINT64_MAX;
        if (!marker.IsEmpty()) {
            std::string bytes;
            if (!ReadAll(src, bytes)) return false;
            Coding coding = DetectCoding(bytes);
            CString text = DecodeText(bytes, coding);
            int at = text.Find(marker);
            if (at >= 0) {
                CString before = text.Left(at);
                limit = coding.unicode ? coding.markBytes + WideToUtf16Le(before.view(), false).size()
                                       : WideToAnsi(before.view()).size();
            }
        }
        AtomicFileWriter out(dst);
        std::vector<char> chunk(1 << 20);
        uint64_t copied = 0;
        while (copied < limit) {
            size_t want = size_t(std::min<uint64_t>(chunk.size(), limit - copied));
            size_t n = in.Read(chunk.data(), want);
            if (n == 0) break;
            out.Write(chunk.data(), n);
            copied += n;
        }
        out.Commit();
        return true;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
}

bool CAi_File::CopyFolderToFolder(const CString& src, const CString& dst, void*, const CString&) {
    if (src.IsEmpty() || dst.IsEmpty()) return false;
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path from(Sys(src)), to(Sys(dst));
    if (!fs::is_directory(from, ec)) return false;
    fs::create_directories(to, ec);
    ec.clear();
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing | fs::copy_options::copy_symlinks,
             ec);
    return !ec;
}

// --- listing -----------------------------------------------------------------------------

bool CAi_File::GetListOfFilesInFolder(const CString& folder, bool withSubFolders) {
    if (folder.IsEmpty()) return false;
    m_vListOfFolderAndFiles.clear();
    int counter = 0;
    m_pInner->GetListOfFilesAndFolders(folder, &m_vListOfFolderAndFiles, withSubFolders, counter, -1, -1);
    return true;
}

bool CAi_File::IsFileInFolder(const CString& folder, bool withSubFolders) {
    if (folder.IsEmpty()) return false;
    std::vector<FolderEntry> entries;
    // A folder that cannot be searched holds no file that we know of.
    if (!ListFolder(folder, entries)) return false;
    CString prefix = folder;
    if (!IsSep(prefix[prefix.GetLength() - 1])) prefix += L'/';
    for (const auto& e : entries)
        if (!e.isFolder) return true;
    if (withSubFolders)
        for (const auto& e : entries)
            if (e.isFolder && IsFileInFolder(prefix + e.name, true)) return true;
    return false;
}

// --- whole files ---------------------------------------------------------------------------

int CAi_File::ReadFileToString(const CString& path, CString* text) {
    CFileCtrlInnerUsing inner;
    CString dummy;
    return inner.ReadFileToBuffer(path, nullptr, text ? text : &dummy, false);
}

int CAi_File::ReadFileToBuffer(const CString& path, BYTE** buffer, bool addZero) {
    if (!buffer) return -1;
    CFileCtrlInnerUsing inner;
    return inner.ReadFileToBuffer(path, buffer, nullptr, addZero);
}

bool CAi_File::WriteBufferToFile(const CString& path, const BYTE* data, int length, bool clear) {
    if (!data || path.IsEmpty() || !IsFileExist(path)) return false;
    if (clear) {
        // Replacing the whole content: the old content stays until the new one is complete.
        std::string_view bytes(reinterpret_cast<const char*>(data), size_t(std::max(length, 0)));
        return TryWriteFileAtomically(path, bytes);
    }
    CFile f;
    if (!f.Open(path, CFile::modeWrite)) return false;
    try {
        f.SeekToEnd();
        if (length > 0) {
            f.Write(data, size_t(length));
            f.Flush();
        }
        f.Close();
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
    return true;
}

bool CAi_File::WriteStringToFile(const CString& path, CString* text, int format) {
    if (!text || !IsFileExist(path)) return false;
    if (text->IsEmpty()) return true;
    FileCodingFormat fmt = format == eFileCodingAnsi ? eFileCodingAnsi : eFileCodingUnicode;
    std::string old;
    if (!ReadAll(path, old)) return false;
    CFileCtrlInnerUsing inner;
    if (old.empty()) {
        inner.m_bWriteBOM = fmt == eFileCodingUnicode;
    } else {
        Coding coding = DetectCoding(old);
        if (fmt == eFileCodingUnicode && !coding.unicode) {
            CString msg;
            msg.Format(L"Can not write characters of Unicode coding to the file which has ASCII coding\r\n(The file: %s)!",
                       path.GetString());
            Ui().MessageBox(msg, CString(), MB_OK);
            return false;
        }
        if (fmt == eFileCodingAnsi && coding.unicode) {
            CString msg;
            msg.Format(L"Can not write characters of ASCII coding to the file which has Unicode coding\r\n(The file: %s)!",
                       path.GetString());
            Ui().MessageBox(msg, CString(), MB_OK);
            return false;
        }
        // The new text replaces the old one whole, keeping the file's byte-order mark.
        inner.m_bWriteBOM = coding.markBytes > 0;
    }
    return TryWriteFileAtomically(path, inner.EncodeText(*text, fmt));
}

int CAi_File::GetSeekBefore(const CString& path, const CString& text) {
    if (path.IsEmpty() || text.IsEmpty()) return -1;
    std::string bytes;
    if (!ReadAll(path, bytes)) return -1;
    return DecodeText(bytes, DetectCoding(bytes)).Find(text);
}

DWORD CAi_File::GetLastErrCode() { return s_lastError.load(); }
