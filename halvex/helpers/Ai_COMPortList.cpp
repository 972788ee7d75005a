#include "halvex/helpers/Ai_COMPortList.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>

#include "platform/File.h"
#include "platform/FileSystem.h"

namespace {

bool StartsWith(const CString& s, const wchar_t* prefix) { return s.Find(prefix) == 0; }

// "ttyS10" -> ("ttyS", 10), for an order of ports as people count them.
std::pair<CString, long> Split(const CString& name) {
    int i = name.GetLength();
    while (i > 0 && std::iswdigit(wint_t(name[i - 1]))) --i;
    return {name.Left(i), std::wcstol(name.Mid(i).GetString(), nullptr, 10)};
}

}  // namespace

bool CAi_COMPortList::GetCOMPortList(std::vector<CString>* names) { return GetCOMPortListFrom(L"/sys/class/tty", names); }

bool CAi_COMPortList::GetCOMPortListFrom(const CString& folder, std::vector<CString>* names) {
    m_pCallerPorts = names;
    m_vPorts.clear();
    if (names) names->clear();
    std::vector<platform::FolderEntry> entries;
    if (!platform::ListFolder(folder, entries)) return true;
    std::vector<CString> found;
    for (const auto& e : entries) {
        bool uart = StartsWith(e.name, L"ttyS");
        if (!uart && !StartsWith(e.name, L"ttyUSB") && !StartsWith(e.name, L"ttyACM")) continue;
        CString dir = platform::JoinPath(folder, e.name);
        if (!platform::PathExists(platform::JoinPath(dir, L"device"))) continue;  // no hardware behind it
        if (uart) {
            // The kernel reserves ttyS entries for ports that may not exist; type 0 is none.
            CString typeFile = platform::JoinPath(dir, L"type");
            std::string type;
            try {
                type = platform::ReadFileBytes(typeFile);
            } catch (CFileException* x) {
                x->Delete();
            }
            if (std::atoi(type.c_str()) == 0) continue;
        }
        found.push_back(e.name);
    }
    std::sort(found.begin(), found.end(), [](const CString& a, const CString& b) {
        auto x = Split(a), y = Split(b);
        // Compared field by field: CString's pointer conversion would make a pair compare addresses.
        if (x.first != y.first) return x.first.str() < y.first.str();
        return x.second < y.second;
    });
    for (const CString& n : found) {
        m_vPorts.push_back(L"/dev/" + n);
        if (names) names->push_back(L"/dev/" + n);
    }
    return true;
}
