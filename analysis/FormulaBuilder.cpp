#include "analysis/FormulaBuilder.h"

#include <algorithm>
#include <map>
#include <set>
#include <cwctype>
#include <string>

#include "analysis/Calculator.h"
#include "model/Oscillogram.h"
#include "model/Resources.h"

namespace {

constexpr unsigned kStrWrongName = 396;
constexpr unsigned kStrNameExists = 473;
constexpr unsigned kStrNameCharacters = 9930;

using E = FormulaTreeEntry;

E Item(unsigned text, int code) { return E{text, nullptr, code, {}}; }
E Item(const wchar_t* literal, int code) { return E{0, literal, code, {}}; }
E Group(unsigned text, std::vector<E> children) { return E{text, nullptr, 0, std::move(children)}; }

std::vector<E> MakeTree() {
    auto pqs = [](int p, int q, int s) { return std::vector<E>{Item(3110, p), Item(3439, q), Item(3404, s)}; };
    auto rxz = [](int r, int x, int z) { return std::vector<E>{Item(3111, r), Item(3440, x), Item(3405, z)}; };
    auto abc = [](int a, int b, int c) { return std::vector<E>{Item(175, a), Item(176, b), Item(177, c)}; };
    return {
        Item(3521, 400),
        Group(3116, {Item(3495, 443), Item(3054, 444), Item(3496, 490), Item(3476, 445), Item(3181, 446),
                     Item(3407, 447), Item(3109, 448), Item(3524, 488)}),
        Group(3489, {Item(3488, 401), Item(3485, 402), Item(3486, 403), Item(3487, 404)}),
        Group(3291, {Group(3263, {Item(3381, 449), Item(3378, 450)}),
                     Group(3518, {Item(L"Ua", 532), Item(L"Ub", 533), Item(L"Uc", 534)}),
                     Group(3453, {Item(3288, 407), Group(3289, {Item(3381, 410), Item(3378, 408)}),
                                  Group(3290, {Item(3381, 411), Item(3378, 409)})}),
                     Item(3084, 1069)}),
        Group(3280, {Item(3255, 491), Group(3517, {Item(3110, 413), Item(3439, 415), Item(3404, 414)}),
                     Group(3491, {Group(3267, pqs(452, 453, 454)), Group(3266, pqs(456, 457, 458))})}),
        Group(3466, {Group(3516, rxz(527, 528, 526)),
                     Group(3515, {Group(165, rxz(530, 531, 529)), Group(166, rxz(541, 542, 540))})}),
        Group(167, {Group(168, {Item(169, 501), Item(170, 502), Item(171, 503), Item(172, 504)}),
                    Group(173, {Group(174, abc(505, 506, 507)), Group(178, abc(508, 520, 521))}),
                    Group(179, {Item(180, 522)}),
                    Group(181, {Item(182, 525), Item(183, 523), Item(184, 524)})}),
    };
}

void CollectCodes(const std::vector<E>& entries, std::vector<int>& codes) {
    for (const E& e : entries) {
        if (e.code) codes.push_back(e.code);
        CollectCodes(e.children, codes);
    }
}

// The function an item's formula applies to its arguments: the last keyword before the
// first "%s" ("Mod:(Zf: (%s, ..." is Zf).
std::wstring ItemFunction(int code) {
    const std::wstring pattern = ItemPattern(code).str();
    const size_t firstArg = pattern.find(L"%s");
    const size_t colon = pattern.rfind(L':', firstArg);
    if (colon == std::wstring::npos) return std::wstring();
    size_t start = colon;
    while (start > 0 && (std::iswalnum(pattern[start - 1]))) --start;
    std::wstring name = pattern.substr(start, colon - start);
    for (wchar_t& c : name) c = wchar_t(std::towlower(c));
    return name;
}

CString Res(unsigned id) { return LoadResString(id); }

CString Numbered(unsigned id, int n) {
    CString s;
    s.Format(Res(id).GetString(), n);
    return s;
}

// What a control holds in the builder's panels. Number fields whose meaning depends on the
// function are named by the function below.
CString ControlLabel(int id) {
    static const std::map<int, unsigned> labels = {
        {1007, 9900}, {1008, 9901}, {1009, 9902}, {1041, 9903}, {1043, 9904}, {1044, 9905}, {1045, 9906},
        {1010, 9907}, {1011, 9908}, {1062, 9909}, {1057, 9910}, {1060, 9911}, {1058, 9912}, {1059, 9913},
        {1037, 3521}, {2043, 9917}, {2042, 9918}, {2009, 9919}, {2010, 9919}, {2175, 9920}, {2041, 9922},
    };
    if (auto it = labels.find(id); it != labels.end()) return Res(it->second);
    if (id == 1089 || id == 1090) return Numbered(9914, id - 1088);
    if (id >= 1064 && id <= 1068) return Numbered(9915, id - 1063);
    const std::vector<int>& lists = DialogListFamily();
    if (auto it = std::find(lists.begin(), lists.end(), id); it != lists.end())
        return Numbered(9916, int(it - lists.begin()) + 1);
    return CString();
}

CString FunctionFieldLabel(const std::wstring& function, int id) {
    if (function == L"zf") {
        static const std::map<int, const wchar_t*> zf = {{1052, L"R0"}, {1053, L"R1"}, {2044, L"R0m"},
                                                         {1050, L"X0"}, {1051, L"X1"}, {2045, L"X0m"}};
        if (auto it = zf.find(id); it != zf.end()) return it->second;
    } else if (function == L"zk") {
        static const std::map<int, const wchar_t*> zk = {
            {2121, L"K0"}, {2044, L"Km"}, {2122, L"\u03c60, \u00b0"}, {2045, L"\u03c6m, \u00b0"}};
        if (auto it = zk.find(id); it != zk.end()) return it->second;
    } else if (function == L"ua" || function == L"ub" || function == L"uc") {
        if (id == 1052) return Res(9927);
        if (id == 1053) return Res(9928);
    } else if (function == L"coeffpriv") {
        if (id == 1052) return Res(9921);
    } else if (function == L"coefftt" || function == L"coeffamppriv") {
        if (id == 1052) return Res(9923);
        if (id == 1053) return Res(function == L"coefftt" ? 9924 : 9926);
    } else if (function == L"coeffpowerpriv") {
        if (id == 1052) return Res(9921);
        if (id == 1053) return Res(9925);
        if (id == 1050) return Res(9926);
    } else if (function == L"pk" && id == 1089) {
        return Res(9910);
    }
    return ControlLabel(id);
}

ArgumentKind KindOf(int id) {
    if (id == 1037) return ArgumentKind::Formula;
    if (id == 2175) return ArgumentKind::Check;
    if (IsChannelControl(id)) return ArgumentKind::Channel;
    // The fields that the filler gives a list of numbers.
    static const std::set<int> choices = {1060, 2009, 2010, 2041, 2067, 2068, 2127, 2129};
    return choices.count(id) ? ArgumentKind::Choice : ArgumentKind::Number;
}

}  // namespace

CString FormulaTreeEntry::GetText() const { return literal ? CString(literal) : LoadResString(textId); }

const std::vector<FormulaTreeEntry>& FormulaFunctionTree() {
    static const std::vector<FormulaTreeEntry> tree = MakeTree();
    return tree;
}

std::vector<int> FormulaTreeCodes() {
    std::vector<int> codes;
    CollectCodes(FormulaFunctionTree(), codes);
    return codes;
}

std::vector<ArgumentField> ArgumentPanelFields(int itemCode) {
    std::vector<ArgumentField> fields;
    const std::wstring function = ItemFunction(itemCode);
    for (int id : ItemArgumentControls(itemCode, false)) {
        // An item may read one control twice; the panel shows it once.
        if (std::any_of(fields.begin(), fields.end(), [&](const ArgumentField& f) { return f.id == id; })) continue;
        fields.push_back({id, KindOf(id), FunctionFieldLabel(function, id)});
    }
    return fields;
}

unsigned CheckChannelNameText(const CString& name) {
    const std::wstring& s = name.str();
    if (s.empty() || !IsFormulaLetter(s[0])) return kStrWrongName;
    if (s.find_first_of(L",\"\r\n") != std::wstring::npos) return kStrNameCharacters;
    return 0;
}

unsigned CheckChannelName(const CString& name, const COscillogram* record, const std::vector<CString>& otherNames) {
    if (unsigned reason = CheckChannelNameText(name)) return reason;
    if (record)
        for (const CChannel& ch : record->m_channels)
            if (ch.GetName() == name) return kStrNameExists;
    if (std::find(otherNames.begin(), otherNames.end(), name) != otherNames.end()) return kStrNameExists;
    return 0;
}

FormulaBuilderModel::FormulaBuilderModel(const CString& initialName, const COscillogram* record,
                                         std::vector<CString> takenNames)
    : m_name(initialName), m_record(record), m_taken(std::move(takenNames)) {
    ShowPanel(400);
}

void FormulaBuilderModel::ShowPanel(int code) {
    m_code = code;
    m_panel = ArgumentControlMap();
    m_fields = code ? ArgumentPanelFields(code) : std::vector<ArgumentField>();
    for (const ArgumentField& f : m_fields) m_panel.Add(f.id);
    FillArgumentControls({&m_panel, false}, m_record);
}

unsigned FormulaBuilderModel::Confirm() {
    if (!CanConfirm()) return kStrWrongName;
    if (unsigned reason = CheckChannelName(m_name, m_record, m_taken)) return reason;
    m_formula = ComposeFormulaText({&m_panel, false}, m_code);
    return 0;
}
