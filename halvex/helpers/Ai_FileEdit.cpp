// CAi_File: editing text files in place, sectioned parameters, the environment path and the
// permission checks.
#include <unistd.h>
#include <fcntl.h>

#include <string>

#include "halvex/helpers/Ai_File.h"
#include "halvex/helpers/Ai_Registry.h"
#include "halvex/helpers/HalvexResources.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/UiServices.h"

using namespace platform;

CString CAi_File::m_strPermissionErrorInfo;

namespace {

// A text file as read: its text and what it takes to write it back the same way.
struct TextFile {
    bool unicode = false;
    bool bom = false;
    std::string oddTail;  // a last byte of a UTF-16 file that makes no whole unit
    CString text;

    std::string Encode(const CString& t) const {
        if (!unicode) return WideToAnsi(t.view());
        return WideToUtf16Le(t.view(), bom) + oddTail;
    }
};

bool Load(const CString& path, TextFile& f) {
    if (path.IsEmpty() || !FileExists(path)) return false;
    std::string bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
    f.unicode = CAi_File::LooksLikeUnicodeText(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    if (f.unicode) {
        f.bom = bytes.size() >= 2 && BYTE(bytes[0]) == 0xFF && BYTE(bytes[1]) == 0xFE;
        std::string_view units(bytes);
        units.remove_prefix(f.bom ? 2 : 0);
        if (units.size() % 2) {
            f.oddTail = std::string(units.substr(units.size() - 1));
            units.remove_suffix(1);
        }
        f.text = CString(Utf16LeToWide(units));
    } else {
        f.text = CString(AnsiToWide(bytes));
    }
    return true;
}

bool Save(const CString& path, const TextFile& f, const CString& text) {
    return TryWriteFileAtomically(path, f.Encode(text));
}

CString Breaks(int mode, int bit) { return (mode & bit) ? CString(L"\r\n") : CString(); }

void ShowError(const CString& text) { Ui().MessageBox(text, CString(), MB_OK); }

}  // namespace

// --- line and block editing ---------------------------------------------------------------

bool CAi_File::AddLineToEnd(const CString& path, const CString& text, int mode) {
    TextFile f;
    if (path.IsEmpty() || text.IsEmpty() || !Load(path, f)) return false;
    return Save(path, f, f.text + Breaks(mode, 1) + text + Breaks(mode, 2));
}

bool CAi_File::AddLineToBegin(const CString& path, const CString& text, int mode) {
    TextFile f;
    if (path.IsEmpty() || text.IsEmpty() || !Load(path, f)) return false;
    return Save(path, f, Breaks(mode, 1) + text + Breaks(mode, 2) + f.text);
}

bool CAi_File::ChangeBlockInFile(const CString& src, const CString& dst, int from, int to, int mode) {
    TextFile s, d;
    // The source is read before anything of the destination is touched.
    if (!Load(src, s) || !Load(dst, d)) return false;
    if (from < 0 || from > to || to > d.text.GetLength()) return false;
    if (s.text.IsEmpty()) return true;
    return Save(dst, d, d.text.Left(from) + Breaks(mode, 1) + s.text + Breaks(mode, 2) + d.text.Mid(to));
}

bool CAi_File::ChangeStringInFile(const CString& path, const CString& oldText, const CString& newText) {
    TextFile f;
    if (path.IsEmpty() || !Load(path, f)) return false;
    CString t = f.text;
    if (!oldText.IsEmpty()) t.Replace(oldText.GetString(), newText.GetString());
    return t == f.text || Save(path, f, t);
}

bool CAi_File::CutFragment(const CString& path, int from, int to) {
    TextFile f;
    if (path.IsEmpty() || from < 0 || from > to || !Load(path, f)) return false;
    int len = f.text.GetLength();
    if (from >= len || from == to) return true;
    return Save(path, f, f.text.Left(from) + f.text.Mid(std::min(to, len)));
}

bool CAi_File::TrimRight(const CString& path, const CString& chars) {
    TextFile f;
    if (path.IsEmpty() || chars.IsEmpty() || !Load(path, f)) return false;
    CString t = f.text;
    t.TrimRight(chars.GetString());
    return t == f.text || Save(path, f, t);
}

int CAi_File::GetSeekAfter(const CString& path, const CString& text) {
    int at = GetSeekBefore(path, text);
    return at < 0 ? -1 : at + text.GetLength();
}

// --- sectioned parameters ---------------------------------------------------------------------

CString CFileCtrlInnerUsing::CreateSectStop(const CString& start) {
    CString stop = start;
    if (!stop.IsEmpty()) stop.Insert(1, L'/');
    return stop;
}

bool CAi_File::GetParametersFromSection(const wchar_t* text, const CString& start, const CString& stop,
                                        const CString& separator) {
    if (!text || start.IsEmpty()) return false;
    m_vSectionParams.clear();
    CString all(text);
    if (m_pSectionText) *m_pSectionText = all;
    int at = all.Find(start.GetString());
    if (at < 0) return true;
    CString body = all.Mid(at + start.GetLength());
    CString end = stop.IsEmpty() ? CFileCtrlInnerUsing::CreateSectStop(start) : stop;
    int stopAt = body.Find(end.GetString());
    if (stopAt >= 0) body = body.Left(stopAt);
    body.Trim(L"\r\n");
    const int n = body.GetLength();
    for (int pos = 0; pos <= n;) {
        int eol = pos;
        while (eol < n && body[eol] != L'\r' && body[eol] != L'\n') ++eol;
        CString line = body.Mid(pos, eol - pos);
        pos = eol + 1;
        if (line.IsEmpty()) continue;
        CString name, value;
        if (separator.IsEmpty()) {
            name = line;
        } else {
            // Pieces between separator characters, empty ones skipped; a third piece is dropped.
            std::vector<CString> pieces;
            for (int p = 0; p < line.GetLength() && pieces.size() < 2;) {
                int q = p;
                while (q < line.GetLength() && separator.Find(line[q]) < 0) ++q;
                if (q > p) pieces.push_back(line.Mid(p, q - p));
                p = q + 1;
            }
            if (!pieces.empty()) name = pieces[0];
            if (pieces.size() > 1) value = pieces[1];
        }
        name.Trim(L' ');
        value.Trim(L' ');
        if (!name.IsEmpty()) m_vSectionParams.emplace_back(name, value);
    }
    return true;
}

bool CAi_File::GetParametersFromSection(const CString& path, const CString& start, const CString& stop,
                                        const CString& separator) {
    TextFile f;
    if (!Load(path, f)) return false;
    return GetParametersFromSection(f.text.GetString(), start, stop, separator);
}

namespace {

// Adds `line` before the stop of the section in `text` (the section appended first when its
// start is missing); false with the message for the user when the markers are out of order.
bool AddToSection(CString& text, const CString& line, const CString& start, const CString& stop) {
    if (text.Find(start.GetString()) < 0) {
        text.TrimRight(L"\r\n");
        text += L"\r\n\r\n" + start + L"\r\n" + stop;
    }
    int startAt = text.Find(start.GetString());
    int after = startAt < 0 ? -1 : startAt + start.GetLength();
    int before = text.Find(stop.GetString());
    if (startAt < 0 || before < 0 || before < after) {
        CString msg;
        msg.Format(L"Error in CAi_File::AddLineToSection (Af-%d,Bf-%d,Sta-%s,Sto-%s)!", after, before,
                   start.GetString(), stop.GetString());
        ShowError(msg);
        return false;
    }
    text = text.Left(before) + line + L"\r\n" + text.Mid(before);
    return true;
}

}  // namespace

bool CAi_File::AddLineToSection(const CString& path, const CString& line, const CString& start, const CString& stop) {
    if (path.IsEmpty() || line.IsEmpty() || start.IsEmpty() || stop.IsEmpty()) return false;
    TextFile f;
    if (!Load(path, f)) {
        ShowError(L"Error in CAi_File::AddLineToSection 2!");
        return false;
    }
    CString t = f.text;
    if (!AddToSection(t, line, start, stop)) return false;
    if (Save(path, f, t)) return true;
    ShowError(L"Error in CAi_File::AddLineToSection 2!");
    return false;
}

bool CAi_File::SetParameterAndMeanToSection(const CString& path, const CString& start, const CString& stop,
                                            const CString& name, const CString& value, const CString& separator) {
    if (path.IsEmpty() || start.IsEmpty() || stop.IsEmpty() || name.IsEmpty() || value.IsEmpty() ||
        separator.IsEmpty())
        return false;
    TextFile f;
    if (!Load(path, f)) return false;
    CString t = f.text;
    int startAt = t.Find(start.GetString()), stopAt = t.Find(stop.GetString());
    if (startAt < 0 && stopAt < 0) return AddLineToSection(path, name + separator + value, start, stop);
    int after = startAt < 0 ? -1 : startAt + start.GetLength();
    // A stop without its start would make the cut below reach text outside any section.
    if (startAt < 0 || stopAt < after) return false;
    GetParametersFromSection(t.GetString(), start, stop, separator);
    bool found = false;
    for (auto& p : m_vSectionParams)
        if (p.first == name) {
            p.second = value;
            found = true;
            break;
        }
    if (!found) m_vSectionParams.emplace_back(name, value);
    // The old lines go; the line break that ends the start line stays with it.
    int from = after;
    if (t.Mid(from, 2) == L"\r\n") from += 2;
    else if (from < t.GetLength() && t[from] == L'\n') from += 1;
    t = t.Left(std::min(from, stopAt)) + t.Mid(stopAt);
    bool ok = true;
    for (const auto& p : m_vSectionParams) ok = ok && AddToSection(t, p.first + separator + p.second, start, stop);
    FreeParameters();
    return ok && Save(path, f, t);
}

// --- environment path ---------------------------------------------------------------------

namespace {
const wchar_t kEnvironmentKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
}

bool CFileCtrlInnerUsing::PathInSystemEnvironment(const CString& path, bool add) {
    if (path.IsEmpty()) return false;
    GET_REG_PARAM p;
    p.hRoot = HKEY_LOCAL_MACHINE;
    p.strKey = kEnvironmentKey;
    p.strName = L"Path";
    p.dwType = REG_SZ;
    CAi_Registry reg;
    if (reg.GetRegParam(&p) != CAi_Registry::eRegRead) return false;
    std::vector<CString> entries;
    for (int start = 0;;) {
        int semi = p.strValue.Find(L';', start);
        entries.push_back(semi < 0 ? p.strValue.Mid(start) : p.strValue.Mid(start, semi - start));
        if (semi < 0) break;
        start = semi + 1;
    }
    int found = -1;
    for (size_t i = 0; i < entries.size() && found < 0; ++i)
        if (entries[i].CompareNoCase(path.GetString()) == 0) found = int(i);
    CString value = p.strValue;
    if (add) {
        if (found >= 0) return true;
        if (!value.IsEmpty() && value[value.GetLength() - 1] != L';') value += L';';
        value += path;
    } else {
        if (found < 0) return true;
        entries.erase(entries.begin() + found);
        value.Empty();
        for (size_t i = 0; i < entries.size(); ++i) value += (i ? L";" : L"") + entries[i];
        value.Trim(L';');
        int dbl = value.Find(L";;");
        if (dbl >= 0) value.Delete(dbl, 1);
    }
    p.strValue = value;
    // Nothing here broadcasts a changed environment: programs read the value when they start.
    return reg.SetValue(&p);
}

bool CAi_File::AddPathToSystemEnvironment(const CString& path) {
    CFileCtrlInnerUsing inner;
    return inner.PathInSystemEnvironment(path, true);
}

bool CAi_File::DeletePathFromSystemEnvironment(const CString& path) {
    CFileCtrlInnerUsing inner;
    return inner.PathInSystemEnvironment(path, false);
}

// --- permissions ----------------------------------------------------------------------------

bool CAi_File::ExaminePermissions(const CString& path, bool isFolder, int what, bool showMessage) {
    if (isFolder ? !IsFolderExist(path) : !IsFileExist(path)) return false;
    std::string sys = WideToUtf8(path.view());
    auto may = [&](int mode) { return ::faccessat(AT_FDCWD, sys.c_str(), mode, AT_EACCESS) == 0; };
    bool wantRead = what == ePermRead || what == ePermReadWrite;
    bool wantWrite = what == ePermWrite || what == ePermReadWrite;
    bool noRead = wantRead && !may(R_OK), noWrite = wantWrite && !may(W_OK);
    if (!noRead && !noWrite) return true;
    unsigned message = noRead && noWrite ? 7063 : noWrite ? 7060 : 7057;
    unsigned object = (noRead && noWrite ? 7062 : noWrite ? 7059 : 7056) - (isFolder ? 1 : 0);
    CString text;
    text.Format(HalvexLoadString(message).GetString(), HalvexLoadString(object).GetString(), path.GetString());
    if (showMessage) Ui().MessageBox(text, CString(), MB_OK | MB_ICONERROR);
    int colon = text.Find(L':');
    m_strPermissionErrorInfo = (colon < 0 ? text : text.Left(colon)) + L"!";
    return false;
}

bool CAi_File::ExaminePermissions2(CString& path, bool isFolder, int what, bool showMessage) {
    path.TrimRight(L"\\/");
    if (IsFolderExist(path)) return ExaminePermissions(path, isFolder, what, showMessage);
    for (CString up = PathFolder(PathFromPeer(path)); !up.IsEmpty();) {
        if (IsFolderExist(up)) return ExaminePermissions(up, true, what, showMessage);
        CString next = PathFolder(up);
        if (next == up) break;
        up = next;
    }
    return false;
}
