#include "halvex/helpers/Ai_Registry.h"

#include <vector>

#include "platform/FileSystem.h"
#include "platform/File.h"
#include "platform/Profile.h"

using platform::Profile;

namespace {

CString KeyName(const CString& path) {
    CString k = path;
    k.Trim(L"\\");
    return k;
}

std::vector<Profile::Section> ReadRoot(HKEY root) {
    CString file = CAi_Registry::RootFile(root);
    if (file.IsEmpty() || !platform::FileExists(file)) return {};
    try {
        return Profile::Parse(platform::ReadFileBytes(file));
    } catch (CFileException* e) {
        e->Delete();
        return {};
    }
}

const Profile::Section* FindKey(const std::vector<Profile::Section>& sections, const CString& key) {
    for (const auto& s : sections)
        if (s.name.CompareNoCase(key) == 0) return &s;
    return nullptr;
}

}  // namespace

CString CAi_Registry::RootFile(HKEY root) {
    if (root == HKEY_CURRENT_USER) return platform::JoinPath(Profile::Folder(), L"HKEY_CURRENT_USER.ini");
    if (root == HKEY_LOCAL_MACHINE) return platform::JoinPath(Profile::Folder(), L"HKEY_LOCAL_MACHINE.ini");
    return CString();
}

CAi_Registry::GetRegResult CAi_Registry::GetRegParam(GET_REG_PARAM* param) {
    m_pParam = param;
    if (!param) return eRegNoParam;
    auto sections = ReadRoot(param->hRoot);
    const Profile::Section* key = FindKey(sections, KeyName(param->strKey));
    // Sub-keys are sections of their own here, so a key with sub-keys still reads its values.
    if (!key || key->entries.empty()) return eRegNoKey;
    for (const auto& e : key->entries) {
        if (e.key.CompareNoCase(param->strName) != 0) continue;
        if (param->dwType == REG_DWORD) {
            wchar_t* end = nullptr;
            param->dwValue = DWORD(std::wcstoul(e.value.GetString(), &end, 10));
        }
        if (param->dwType == REG_SZ || param->dwType == REG_DWORD || param->dwType == REG_MULTI_SZ)
            param->strValue = e.value;
        return eRegRead;
    }
    return eRegNoValue;
}

bool CAi_Registry::SetValue(GET_REG_PARAM* param) {
    m_pParam = param;
    if (!param) return false;
    CString file = RootFile(param->hRoot), key = KeyName(param->strKey);
    if (file.IsEmpty() || key.IsEmpty()) return false;
    if (!m_bCreateKey && !FindKey(ReadRoot(param->hRoot), key)) return false;
    if (m_bCreateKey && !platform::CreateFolders(Profile::Folder())) return false;
    CString value;
    if (param->dwType == REG_SZ)
        value = param->strValue;
    else if (param->dwType == REG_DWORD)
        value.Format(L"%u", unsigned(param->dwValue));
    else
        return false;
    return Profile::AtPath(file).WriteProfileString(key, param->strName, value);
}

bool CAi_Registry::CreateAndSetValue(GET_REG_PARAM* param) {
    m_bCreateKey = true;
    bool ok = SetValue(param);
    m_bCreateKey = false;
    return ok;
}

long CAi_Registry::CopyKey(HKEY sourceRoot, HKEY targetRoot, const CString& sourcePath, const CString& targetPath) {
    CString targetFile = RootFile(targetRoot), from = KeyName(sourcePath), to = KeyName(targetPath);
    if (targetFile.IsEmpty() || RootFile(sourceRoot).IsEmpty() || from.IsEmpty() || to.IsEmpty())
        return ERROR_INVALID_PARAMETER;
    auto sections = ReadRoot(sourceRoot);
    if (!FindKey(sections, from)) return ERROR_FILE_NOT_FOUND;
    if (!platform::CreateFolders(Profile::Folder())) return ERROR_ACCESS_DENIED;
    Profile target = Profile::AtPath(targetFile);
    CString prefix = from + L"\\";
    for (const auto& s : sections) {
        CString rest;
        if (s.name.CompareNoCase(from) == 0)
            rest = CString();
        else if (s.name.GetLength() > prefix.GetLength() && s.name.Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
            rest = s.name.Mid(from.GetLength());
        else
            continue;
        for (const auto& e : s.entries)
            if (!target.WriteProfileString(to + rest, e.key, e.value)) return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}
