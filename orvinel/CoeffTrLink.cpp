#include "orvinel/CoeffTrLink.h"

#include <initializer_list>

namespace {

struct FamilyRow {
    std::initializer_list<const wchar_t*> models;
    std::initializer_list<std::initializer_list<const wchar_t*>> groups;  // main first, then the others
};

// Terminal families whose current and voltage channels share their ratios. A device matches
// a family when its model text contains one of the family's codes.
const FamilyRow kFamilies[] = {
    {{L"SHR500"}, {{L"IA1", L"IB1", L"IC1", L"IA2", L"IB2", L"IC2"}}},
    {{L"TOR300", L"ТОР300"},
     {{L"IA1", L"IB1", L"IC1"}, {L"IA2", L"IB2", L"IC2"}, {L"Uab", L"Ubc", L"Uca"}, {L"Ua", L"Ub", L"Uc"}}},
    {{L"TOR200"}, {{L"IA", L"IB", L"IC"}, {L"UA", L"UB", L"UC"}, {L"3I0", L"3I0p"}}},
};

const wchar_t kFolding[][2] = {
    {L'е', L'e'}, {L'у', L'y'}, {L'о', L'o'}, {L'р', L'p'}, {L'а', L'a'}, {L'х', L'x'},
    {L'с', L'c'}, {L'Е', L'E'}, {L'О', L'O'}, {L'Р', L'P'}, {L'А', L'A'}, {L'Х', L'X'},
    {L'С', L'C'}, {L'Т', L'T'}, {L'Н', L'H'}, {L'К', L'K'}, {L'В', L'B'}, {L'М', L'M'},
};

}  // namespace

CCoeffTrLink::CCoeffTrLink(const CString& device) {
    int cut = device.Find(L'_');
    CString head = cut < 0 ? device : device.Left(cut);
    if (head.GetLength() >= 5) {
        m_device = head;
        FormBD();
    }
}

CString CCoeffTrLink::ToLatin(const CString& text) const {
    CString folded = text;
    for (const auto& pair : kFolding) folded.Replace(pair[0], pair[1]);
    if (modelMatching) folded.Replace(L'З', L'3');
    return folded;
}

void CCoeffTrLink::FormBD() {
    modelMatching = true;
    CString device = ToLatin(m_device);
    for (const FamilyRow& family : kFamilies) {
        bool match = false;
        for (const wchar_t* model : family.models)
            if (device.Find(ToLatin(model)) >= 0) match = true;
        if (!match) continue;
        for (const auto& row : family.groups) {
            Group group;
            for (const wchar_t* name : row) {
                if (group.main.IsEmpty()) group.main = name;
                else group.others.emplace_back(name);
            }
            m_groups.push_back(std::move(group));
        }
    }
    modelMatching = false;
}

CString CCoeffTrLink::FindMainChannel(const CString& name) {
    CString folded = ToLatin(name);
    for (const Group& group : m_groups) {
        if (ToLatin(group.main) == folded) return CString();
        for (const CString& other : group.others)
            if (ToLatin(other) == folded) return group.main;
    }
    return CString();
}

bool CCoeffTrLink::MakeCompare(const CString& a, const CString& b) { return ToLatin(a) == ToLatin(b); }
