#pragma once
// File, folder and path helpers of the library. Operations answer with bool, an integer
// (-1 for failure) or a new CString and never throw. Paths use "/"; a "\\" written by a
// Windows peer is accepted as a separator wherever a path is taken apart.
#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

class CFile;

// Text-file encodings: 1 UTF-16 little-endian, 2 ANSI (code page 1251); 0 is taken as 1.
enum FileCodingFormat { eFileCodingDefault = 0, eFileCodingUnicode = 1, eFileCodingAnsi = 2 };

struct LIST_OF_FILES_IN_FOLDER {
    CString strPath;  // full path of the file
    CString strName;  // name with extension
};

// One folder of a listing.
struct LIST_OF_FOLDER_AND_FILES {
    CString strFolder;                            // the root as given; below it parent + "/" + name
    std::vector<LIST_OF_FILES_IN_FOLDER> vFiles;  // files only, in the system's order
    int nIndex = 0;                               // visiting order, 0 for the root
    int nParentIndex = -1;                        // -1 for the root
    int nDepth = 0;                               // 0 for the root
};

// Path splitting, whole-file reading with encoding detection, the recursive listing and the
// encoded writing that CAi_File builds on; also the version record of a module.
class CFileCtrlInnerUsing {
public:
    enum ESplitPath { eSplitDrive = 0, eSplitFolder = 1, eSplitName = 2, eSplitExt = 3 };

    CFileCtrlInnerUsing();
    virtual ~CFileCtrlInnerUsing() = default;
    CFileCtrlInnerUsing(const CFileCtrlInnerUsing&) = default;
    CFileCtrlInnerUsing& operator=(const CFileCtrlInnerUsing&) = default;

    // The drive ("C:" of a peer's path), the folder part (with its last separator), the name
    // with extension, or the extension with its dot; any other part gives an empty text.
    static CString SplitPath(const CString& path, int part);

    void GetListOfFilesAndFolders(const CString& folder, std::vector<LIST_OF_FOLDER_AND_FILES>* list,
                                  bool withSubFolders, int& counter, int parentIndex, int depth);

    // Whole-file read: buffer mode when `buffer` is given, else text mode into `text`.
    // -1 when the file is missing, a folder or unreadable; else the number of bytes read.
    int ReadFileToBuffer(const CString& path, BYTE** buffer, CString* text, bool addZero);

    // The stop line of a section whose start line is `start`: "/" after its first character.
    static CString CreateSectStop(const CString& start);
    // Adds `path` to, or removes it from, the machine-wide "Path" value (see CAi_Registry);
    // entries are ";"-separated and compared whole, ignoring case.
    bool PathInSystemEnvironment(const CString& path, bool add);

    // The bytes of `text` in `format` (UTF-16LE with FF FE first when m_bWriteBOM is set).
    std::string EncodeText(const CString& text, FileCodingFormat format) const;
    bool WriteBufToF(CFile* file, const CString* text, FileCodingFormat format);
    bool WriteBufToF(CFile* file, const BYTE* data, int length);
    // ANSI text as UTF-16LE bytes (FF FE first when m_bWriteBOM is set).
    std::string ConverAToW(const CStringA& text) const;

    bool m_bWriteBOM = false;
    DWORD m_FixedFileInfo[13] = {};
    CString m_VersionTexts[12];

protected:
    friend class CAi_File;
    virtual void Reset();
};

class CAi_File {
public:
    enum CreateFileMode { eCreateClear = 0, eCreateKeep = 1, eCreateRefuse = 2 };
    enum InsertNewLine { eNewLineNone = 0, eNewLineBefore = 1, eNewLineAfter = 2, eNewLineBoth = 3 };
    enum Permission { ePermRead = 0, ePermWrite = 1, ePermReadWrite = 2 };

    // The file information of a by-handle query followed by the attribute word.
    struct FILE_ATTR {
        struct {
            DWORD dwFileAttributes = 0;
            uint64_t ftCreationTime = 0;    // 100 ns units since 1601, as the framework keeps them
            uint64_t ftLastAccessTime = 0;
            uint64_t ftLastWriteTime = 0;
            DWORD dwVolumeSerialNumber = 0;
            DWORD nFileSizeHigh = 0;
            DWORD nFileSizeLow = 0;
            DWORD nNumberOfLinks = 0;
            DWORD nFileIndexHigh = 0;
            DWORD nFileIndexLow = 0;
        } info;
        DWORD dwAttributes = 0;
    };
    static constexpr DWORD kAttrReadOnly = 0x01, kAttrHidden = 0x02, kAttrDirectory = 0x10, kAttrNormal = 0x80;

    // Identifiers of the special folders GetSpecialFolder knows.
    static constexpr int kFolderDesktop = 0x0000, kFolderDocuments = 0x0005, kFolderAppData = 0x001A,
                         kFolderLocalAppData = 0x001C, kFolderProfile = 0x0028;

    CAi_File();
    ~CAi_File();
    CAi_File(const CAi_File& other);
    CAi_File& operator=(const CAi_File& other);

    // Path texts.
    static CString GetFileName_(const CString& path);
    static CString GetFileTitle_(const CString& path);
    static CString GetFileExt(const CString& path);
    static CString GetFilePath_(const CString& path);
    static CString GetFileFolder(const CString& path);
    static void AddExtensionIfNeed(CString* path, const CString& ext);
    static bool IfPathHasNotBadSimbols(const CString& path);
    static bool IfFileNameHasNotBadSimbols(const CString& name);
    static bool IfFolderNameHasNotBadSimbols(const CString& name);

    // Existence and coding.
    static bool IsFileExist(const CString& path);
    static bool IfFileExists(const CString& path) { return IsFileExist(path); }
    static bool IsFolderExist(const CString& path);
    static bool IfFolderExists(const CString& path) { return IsFolderExist(path); }
    static bool IsFileEmpty(const CString& path, long* size);
    static int GetFileLength(const CString& path);
    static bool IsUnicodeFile(const CString& path);
    static int GetFileCodingFormat(const CString& path);
    // Whether bytes are UTF-16LE text: the byte-order mark, or (for an even length) only
    // code units of ASCII, Latin-1 and Cyrillic letters, punctuation and line breaks. ANSI
    // text never has the zero or 0x04 high bytes this needs.
    static bool LooksLikeUnicodeText(const BYTE* data, size_t length);

    // Special folders; empty texts when there is none.
    static CString GetWinTmpPath();  // the user's own temporary folder, with a trailing "/"
    static CString GetWinLocalSettingsApplicationDataPath();
    static CString GetCurrentPath();
    static CString GetAppPathName(const void* module);  // null: the program file
    static CString GetAppPath();
    static CString GetSpecialFolder(int csidl);
    static bool ChoiseFolderDlg(CString* folder, const CString& title, void* shellManager = nullptr,
                                void* parent = nullptr);

    // Creating and deleting.
    static bool CreateFile_(const CString& path, int mode);
    static CString CreateTempFile(const CString& name, const CString* text);
    static bool ExamineFile(const CString& path);
    static CString ExamineTmpFile(const CString& name);
    static bool ExamineFolder(const CString& path);
    static bool CreateFolder(const CString& path, bool showMessage);
    static bool DeleteFile_(const CString& path);
    static bool DeleteFiles(const CString& folder);
    static bool ClearFile(const CString& path);
    static bool DeleteFolder(const CString& path, bool onlyEmpty, bool* removed);
    static bool RemoveAttribute_ReadOnly(const CString& path, const CString& question);
    static bool GetFileAttributes_(const CString& path, FILE_ATTR* attr);

    // Copying. The destination must exist; it is replaced only by a complete copy.
    static bool CopyFileToFile(const CString& src, const CString& dst);
    static bool CopyFileToFile(const CString& src, const CString& dst, const CString& marker);
    static bool CopyFolderToFolder(const CString& src, const CString& dst, void* owner = nullptr,
                                   const CString& title = CString());

    // Listing into m_vListOfFolderAndFiles, root first, each folder before those below it.
    bool GetListOfFilesInFolder(const CString& folder, bool withSubFolders);
    bool IsFileInFolder(const CString& folder, bool withSubFolders);

    // Whole files.
    static int ReadFileToString(const CString& path, CString* text);
    static int ReadFileToBuffer(const CString& path, BYTE** buffer, bool addZero);  // delete[] the block
    static bool WriteBufferToFile(const CString& path, const BYTE* data, int length, bool clear);
    static bool WriteStringToFile(const CString& path, CString* text, int format);
    // The position, in characters of the text as ReadFileToString reads it, of the first
    // occurrence of `text`; -1 when there is none.
    static int GetSeekBefore(const CString& path, const CString& text);

    static DWORD GetLastErrCode();

    // Editing text files in place. Positions count characters of the text as ReadFileToString
    // reads it (the byte-order mark not counted), like GetSeekBefore. A file keeps its coding
    // and byte-order mark: inserted texts and line breaks take the file's coding. The new
    // content replaces the file only when completely written, so a failure leaves it as it was.
    static bool AddLineToEnd(const CString& path, const CString& text, int mode);
    static bool AddLineToBegin(const CString& path, const CString& text, int mode);
    // Replaces the characters [from, to) of `dst` by the text of `src`, with the line breaks
    // of `mode` around it; an empty `src` leaves `dst` as it is.
    static bool ChangeBlockInFile(const CString& src, const CString& dst, int from, int to, int mode);
    static bool ChangeStringInFile(const CString& path, const CString& oldText, const CString& newText);
    static bool CutFragment(const CString& path, int from, int to);
    // Removes every trailing character that occurs in `chars`.
    static bool TrimRight(const CString& path, const CString& chars);
    // The position just behind the first occurrence of `text`; -1 when there is none.
    static int GetSeekAfter(const CString& path, const CString& text);

    // Name/value lines between a start line and a stop line (CreateSectStop of the start when
    // empty); each line is cut at the characters of `separator`. The pairs go to
    // m_vSectionParams; a text without the start gives none.
    bool GetParametersFromSection(const wchar_t* text, const CString& start, const CString& stop,
                                  const CString& separator);
    bool GetParametersFromSection(const CString& path, const CString& start, const CString& stop,
                                  const CString& separator);
    // Sets `name` to `value` in the section, adding the section at the end when missing.
    bool SetParameterAndMeanToSection(const CString& path, const CString& start, const CString& stop,
                                      const CString& name, const CString& value, const CString& separator);
    static bool AddLineToSection(const CString& path, const CString& line, const CString& start, const CString& stop);
    void FreeParameters() { m_vSectionParams.clear(); }

    static bool AddPathToSystemEnvironment(const CString& path);
    static bool DeletePathFromSystemEnvironment(const CString& path);

    // Whether the process may read, write or both (`what`) the file or folder; otherwise the
    // reason goes to m_strPermissionErrorInfo (and to a message box with `showMessage`).
    static bool ExaminePermissions(const CString& path, bool isFolder, int what, bool showMessage);
    // The same for a folder, or the nearest existing folder above `path` (trimmed of
    // trailing separators); false when there is none.
    static bool ExaminePermissions2(CString& path, bool isFolder, int what, bool showMessage);
    static CString m_strPermissionErrorInfo;

    // The version record of a module (any address inside it; null for the program) or of a
    // module file; 1 when it was read, 0 when the file has none or cannot be read.
    int DetectFileVersionInfo(const void* module);
    int DetectFileVersionInfo(const wchar_t* path);
    // Part 0 is the least significant of the four 16-bit numbers, 3 the most; others give 0.
    WORD GetFileVersion(int part) const;
    WORD GetProductVersion(int part) const;
    DWORD GetFileFlagsMask() const { return m_pInner->m_FixedFileInfo[6]; }
    DWORD GetFileFlags() const { return m_pInner->m_FixedFileInfo[7]; }
    DWORD GetFileOs() const { return m_pInner->m_FixedFileInfo[8]; }
    DWORD GetFileType() const { return m_pInner->m_FixedFileInfo[9]; }
    DWORD GetFileSubtype() const { return m_pInner->m_FixedFileInfo[10]; }
    // The record's date as seconds since 1970 (0 when the record has none).
    int64_t GetFileDate() const;
    CString GetCompanyName() const { return m_pInner->m_VersionTexts[0]; }
    CString GetFileDescription() const { return m_pInner->m_VersionTexts[1]; }
    CString GetFileVersion() const { return m_pInner->m_VersionTexts[2]; }
    CString GetInternalName() const { return m_pInner->m_VersionTexts[3]; }
    CString GetLegalCopyright() const { return m_pInner->m_VersionTexts[4]; }
    CString GetOriginalFileName() const { return m_pInner->m_VersionTexts[5]; }
    CString GetProductName() const { return m_pInner->m_VersionTexts[6]; }
    CString GetProductVersion() const { return m_pInner->m_VersionTexts[7]; }
    CString GetComments() const { return m_pInner->m_VersionTexts[8]; }
    CString GetLegalTrademarks() const { return m_pInner->m_VersionTexts[9]; }
    CString GetPrivateBuild() const { return m_pInner->m_VersionTexts[10]; }
    CString GetSpecialBuild() const { return m_pInner->m_VersionTexts[11]; }

    CFileCtrlInnerUsing* m_pInner;
    std::vector<LIST_OF_FOLDER_AND_FILES> m_vListOfFolderAndFiles;
    CString* m_pSectionText = nullptr;
    std::vector<std::pair<CString, CString>> m_vSectionParams;

private:
    static std::atomic<DWORD> s_lastError;
};
