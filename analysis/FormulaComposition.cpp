#include "analysis/FormulaComposition.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/Calculator.h"
#include "model/Oscillogram.h"
#include "model/Resources.h"
#include "model/TenvorikException.h"
#include "platform/Encoding.h"

namespace {

constexpr unsigned kStrNotUsed = 136;
constexpr unsigned kStrNoChannel = 191;
constexpr unsigned kStrNotCountedQuoted = 3100;
constexpr unsigned kStrNotCounted = 3299;
constexpr unsigned kStrWrongChannelName = 354;

constexpr int kRemoveZeroSequence = 2175;  // the check box: ticked takes the zero sequence out

// Argument ids below zero stand for list -id of the family in use (L1 is -1).
constexpr int L(int k) { return -k; }

struct Item {
    int code;
    std::wstring text;
    std::vector<int> args;        // in the order of the "%s" conversions; page set when they differ
    std::vector<int> dialogArgs;  // the builder's set, when it differs
};

// "%s, " for lists 1..23 of the family, then "%s" + `tail` for list 24.
void AppendLists(Item& item, const wchar_t* tail) {
    for (int k = 1; k <= 24; ++k) {
        item.text += k < 24 ? L"%s, " : L"%s";
        item.args.push_back(L(k));
    }
    item.text += tail;
}

std::vector<Item> MakeItems() {
    const std::vector<int> pf3 = {1043, 1007, 1044, 1008, 1045, 1009};
    const std::vector<int> pf2 = {1010, 1007, 1011, 1008};
    const std::vector<int> zfPage = {1043, 1007, 1041, 2043, 1052, 1053, 2044, 1050, 1051, 2045, 2042};
    const std::vector<int> zk = {1043, 1007, 1041, 2043, 2121, 2044, 2122, 2045, 2042};
    const std::vector<int> gp = {2079, 2078, 2096, 2131, kRemoveZeroSequence};
    const std::vector<int> gd = {1007, 1008, 1009, 2009, kRemoveZeroSequence};
    const std::vector<int> tp = {2079, 2078, 2096, 2131};
    const std::vector<int> td = {1007, 1008, 1009, 2010};
    const std::vector<int> zkArm = {2079, 2043, 2121, 2125, 2122, 2126, 2042};
    const std::vector<int> zfArm = {2079, 2043, 1052, 1053, 2044, 1050, 1051, 2045, 2042};
    auto join = [](std::vector<int> a, const std::vector<int>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };

    std::vector<Item> items = {
        {400, L"%s", {1037}, {}},
        {401, L"Ib: (%s, %s, %s)", {1007, 1009, 1041}, {}},
        {402, L"3I0: (%s, %s, %s)", {1007, 1008, 1009}, {}},
        {403, L"I1: (%s, %s, %s)", {1007, 1008, 1009}, {}},
        {404, L"I2: (%s, %s, %s)", {1007, 1008, 1009}, {}},
        {407, L"3U0: (%s, %s, %s)", {1043, 1044, 1045}, {}},
        {408, L"U1l: (%s, %s)", {1010, 1011}, {}},
        {409, L"U2l: (%s, %s)", {1010, 1011}, {}},
        {410, L"U1f: (%s, %s, %s)", {1043, 1044, 1045}, {}},
        {411, L"U2f: (%s, %s, %s)", {1043, 1044, 1045}, {}},
        {412, L"Pf: (%s, %s)", {1007, 1043}, {}},
        {413, L"Re: (Pf: (%s, %s))[W]", {1007, 1043}, {}},
        {414, L"Mod:(Pf: (%s, %s))[VA]", {1007, 1043}, {}},
        {415, L"Im: (Pf: (%s, %s))[var]", {1007, 1043}, {}},
        {443, L"Arg: (%s)", {1057}, {}},
        {444, L"CosUI: (%s, %s)", {1058, 1059}, {}},
        {445, L"Rms: (%s)", {1057}, {}},
        {446, L"Fourie: (%s, %s)", {1057, 1060}, {}},
        {447, L"A0: (%s)", {1057}, {}},
        {448, L"Fault: (%s)", {1057}, {}},
        {449, L"Ulf: (%s, %s)", {1043, 1044}, {}},
        {450, L"Ull: (%s, %s)", {1010, 1011}, {}},
        {452, L"Re: (Pf3WM: (%s, %s, %s, %s, %s, %s))[W]", pf3, {}},
        {453, L"Im: (Pf3WM: (%s, %s, %s, %s, %s, %s))[var]", pf3, {}},
        {454, L"Mod:(Pf3WM: (%s, %s, %s, %s, %s, %s))[VA]", pf3, {}},
        {456, L"Re: (Pf2WM: (%s, %s, %s, %s))[W]", pf2, {}},
        {457, L"Im: (Pf2WM: (%s, %s, %s, %s))[var]", pf2, {}},
        {458, L"Mod:(Pf2WM: (%s, %s, %s, %s))[VA]", pf2, {}},
        // The phase voltage takes the zero-sequence ratio as its last two arguments; these
        // items have no fields for it and use the ratio 1.
        {459, L"Ua: (%s, %s, %s, 1, 1)", {1010, 1011, 1062}, {}},
        {460, L"Ub: (%s, %s, %s, 1, 1)", {1010, 1011, 1062}, {}},
        {461, L"Uc: (%s, %s, %s, 1, 1)", {1010, 1011, 1062}, {}},
        {488, L"Frequency: ()", {}, {}},
        {490, L"ABSig: (%s, %s)", {1089, 1090}, {}},
        {491, L"Pk: (%s)", {1089}, {}},
        {501, L"CoeffPriv: (%s, %s)", {2079, 2090}, {1057, 1052}},
        {502, L"CoeffTT: (%s, %s, %s)", {2079, 2090, 2094}, {1057, 1052, 1053}},
        {503, L"CoeffPowerPriv: (%s, %s, %s, %s)", {2079, 2090, 2094, 2095}, {1057, 1052, 1053, 1050}},
        {504, L"CoeffAmpPriv: (%s, %s, %s)", {2079, 2090, 2094}, {1057, 1052, 1053}},
        {505, L"Mod:(GrsPoslIa: (%s, %s, %s, %s, %s))", gp, gd},
        {506, L"Mod:(GrsPoslIb: (%s, %s, %s, %s, %s))", gp, gd},
        {507, L"Mod:(GrsPoslIc: (%s, %s, %s, %s, %s))", gp, gd},
        {508, L"Mod:(GrsTriangleIa: (%s, %s, %s, %s))", tp, td},
        {511, L"Ulf: (%s, %s)", {1044, 1045}, {}},
        {512, L"Ulf: (%s, %s)", {1045, 1043}, {}},
        {513, L"Mod:(Zl: (%s, %s, %s, %s))", {2094, 1008, 1009, 2042}, {}},
        {514, L"Mod:(Zl: (%s, %s, %s, %s))", {2095, 1009, 1007, 2042}, {}},
        {515, L"Chan: (%s)", {2072}, {}},
        {516, L"Chan: (%s)", {1062}, {}},
        {517, L"Uniik: (%s, %s)", {1067, 2074}, {}},
        {518, L"Mod:(Pf: (%s, %s))[VA]", {2079, 2078}, {}},
        {519, L"Mod:(Zf: (%s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s))", join({1043, 1007}, zfArm), {}},
        {520, L"Mod:(GrsTriangleIb: (%s, %s, %s, %s))", tp, td},
        {521, L"Mod:(GrsTriangleIc: (%s, %s, %s, %s))", tp, td},
        {523, L"TormSubCur: (%s, %s, %s)", {L(1), L(2), 2041}, {1007, 1008, 2041}},
        {526, L"Mod:(Zl: (%s, %s, %s, %s))", {1043, 1007, 1008, 2042}, {}},
        {527, L"Re: (Zl: (%s, %s, %s, %s))", {1043, 1007, 1008, 2042}, {}},
        {528, L"Im: (Zl: (%s, %s, %s, %s))", {1043, 1007, 1008, 2042}, {}},
        {529, L"Mod:(Zf: (%s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s))", zfPage, {}},
        {530, L"Re:(Zf: (%s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s))", zfPage, {}},
        {531, L"Im:(Zf: (%s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s))", zfPage, {}},
        {532, L"Ua: (%s, %s, %s, %s, %s)", {1010, 1011, 1062, 1052, 1053}, {}},
        {533, L"Ub: (%s, %s, %s, %s, %s)", {1010, 1011, 1062, 1052, 1053}, {}},
        {534, L"Uc: (%s, %s, %s, %s, %s)", {1010, 1011, 1062, 1052, 1053}, {}},
        {540, L"Mod:(Zk: (%s, %s, %s, %s, %s, %s, %s, %s, %s))", zk, {}},
        {541, L"Re:(Zk: (%s, %s, %s, %s, %s, %s, %s, %s, %s))", zk, {}},
        {542, L"Im:(Zk: (%s, %s, %s, %s, %s, %s, %s, %s, %s))", zk, {}},
        {544, L"Mod:(Zf: (%s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s))", join({1044, 1008}, zfArm), {}},
        {545, L"Mod:(Zf: (%s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s))", join({1045, 1009}, zfArm), {}},
        {546, L"Mod:(Zk: (%s, %s, %s, %s, %s, %s, %s, %s, %s))", join({1043, 1007}, zkArm), {}},
        {547, L"Mod:(Zk: (%s, %s, %s, %s, %s, %s, %s, %s, %s))", join({1044, 1008}, zkArm), {}},
        {548, L"Mod:(Zk: (%s, %s, %s, %s, %s, %s, %s, %s, %s))", join({1045, 1009}, zkArm), {}},
        {800, L"I1: (%s, %s, %s)", {1007, 2079, 1009}, {}},
        {801, L"I2: (%s, %s, %s)", {1007, 2079, 1009}, {}},
        {802, L"Mod:(Zl: (%s, %s, %s, %s))", {2090, 1007, 2079, 2042}, {}},
        {803, L"Mod:(Zl: (%s, %s, %s, %s))", {2094, 2079, 1009, 2042}, {}},
        {804, L"Mod:(Zl: (%s, %s, %s, %s))", {2090, 1007, 1008, 2042}, {}},
        {805, L"Mod:(Zl: (%s, %s, %s, %s))", {1010, 1007, 1008, 2042}, {}},
        {806, L"Mod:(Zl: (%s, %s, %s, %s))", {1010, 1007, 2079, 2042}, {}},
        {807, L"Mod:(Zl: (%s, %s, %s, %s))", {1011, 1008, 1009, 2042}, {}},
        {808, L"Mod:(Zl: (%s, %s, %s, %s))", {1011, 2079, 1009, 2042}, {}},
        {1069, L"Uncn: (%s, %s, %s, %s, %s)", {1064, 1065, 1066, 1067, 1068}, {}},
    };
    Item sum{522, L"Mod:(GrsSumCur: (", {}, {}};
    AppendLists(sum, L"))");
    Item max{524, L"TormMaxCur: (", {}, {}};
    AppendLists(max, L")");
    Item brake{525, L"TormSumCur: (%s, ", {2041}, {}};
    AppendLists(brake, L")");
    items.push_back(std::move(sum));
    items.push_back(std::move(max));
    items.push_back(std::move(brake));
    return items;
}

const std::vector<Item>& Items() {
    static const std::vector<Item> items = MakeItems();
    return items;
}

const Item* FindItem(int code) {
    for (const Item& item : Items())
        if (item.code == code) return &item;
    return nullptr;
}

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

bool StartsWithNoCase(const std::wstring& text, const wchar_t* word) {
    for (size_t i = 0; word[i]; ++i)
        if (i >= text.size() || platform::ToLowerWide(text[i]) != word[i]) return false;
    return true;
}

// A name the formula language reads as one channel name without quotes: a letter, then
// letters and digits, and not starting like one of the keywords that end without a colon
// ("pi", "null"), which the lexer would take first.
bool IsPlainName(const std::wstring& name) {
    if (name.empty() || !IsFormulaLetter(name[0])) return false;
    for (size_t i = 1; i < name.size(); ++i)
        if (!IsFormulaLetter(name[i]) && !IsAsciiDigit(name[i])) return false;
    return !StartsWithNoCase(name, L"pi") && !StartsWithNoCase(name, L"null");
}

CString Quoted(const CString& text) { return L"\"" + text + L"\""; }

bool IsIn(int id, const std::vector<int>& ids) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

const std::vector<int>& DialogListFamily() {
    static const std::vector<int> ids = [] {
        std::vector<int> v = {2016, 2015};
        for (int id = 2017; id <= 2038; ++id) v.push_back(id);
        return v;
    }();
    return ids;
}

const std::vector<int>& PageListFamily() {
    static const std::vector<int> ids = [] {
        std::vector<int> v;
        for (int id = 2097; id <= 2120; ++id) v.push_back(id);
        return v;
    }();
    return ids;
}

bool IsChannelControl(int id) {
    if ((id >= 1007 && id <= 1012) || id == 1041 || (id >= 1043 && id <= 1045) || (id >= 1054 && id <= 1059) ||
        id == 1062 || (id >= 1064 && id <= 1068) || id == 1089 || id == 1090)
        return true;
    if (id == 2043 || id == 2072 || id == 2074 || id == 2078 || id == 2079 || id == 2096) return true;
    return IsIn(id, DialogListFamily()) || IsIn(id, PageListFamily());
}

CString FormulaChannelArgument(const CString& name) {
    const std::wstring& s = name.str();
    if (IsPlainName(s)) return name;
    // A quote would end the quoted name early and let the rest read as formula text.
    if (s.find(L'"') != std::wstring::npos) throw new CTenvorikException(kStrWrongChannelName, name);
    return Quoted(name);
}

CString GetArgumentText(const ArgumentFiller& filler, int id) {
    const CString text = filler.window && filler.window->HasControl(id) ? filler.window->GetText(id) : CString();
    const std::wstring& s = text.str();
    if (IsChannelControl(id)) return FormulaChannelArgument(text);
    const bool plainNumber =
        std::all_of(s.begin(), s.end(), [](wchar_t c) { return IsAsciiDigit(c) || IsBlank(c) || c == L','; });
    if (!plainNumber) return text;
    CString r = text;
    r.Replace(L",", L".");
    return r;
}

std::vector<int> FormulaItemCodes() {
    std::vector<int> codes;
    for (const Item& item : Items()) codes.push_back(item.code);
    std::sort(codes.begin(), codes.end());
    return codes;
}

std::vector<int> ItemArgumentControls(int itemCode, bool pageMode) {
    const Item* item = FindItem(itemCode);
    if (!item) return {};
    const std::vector<int>& family = pageMode ? PageListFamily() : DialogListFamily();
    std::vector<int> ids = pageMode || item->dialogArgs.empty() ? item->args : item->dialogArgs;
    for (int& id : ids)
        if (id < 0) id = family[size_t(-id - 1)];
    return ids;
}

CString ItemPattern(int itemCode) {
    const Item* item = FindItem(itemCode);
    return item ? CString(item->text) : CString();
}

CString ComposeFormulaText(const ArgumentFiller& filler, int itemCode) {
    const Item* item = FindItem(itemCode);
    if (!item) return L"0";
    const std::vector<int>& family = filler.pageMode ? PageListFamily() : DialogListFamily();
    const std::vector<int>& ids = filler.pageMode || item->dialogArgs.empty() ? item->args : item->dialogArgs;
    const CString notCounted = LoadResString(kStrNotCountedQuoted);
    const CString notUsed = Quoted(LoadResString(kStrNotUsed));
    const CString emptyName = Quoted(CString());

    std::vector<CString> args;
    args.reserve(ids.size());
    for (int id : ids) {
        if (id == kRemoveZeroSequence) {
            const bool ticked = filler.window && filler.window->HasControl(id) && filler.window->IsChecked(id);
            args.emplace_back(ticked ? L"0" : L"1");
            continue;
        }
        const bool list = id < 0;
        if (list) id = family[size_t(-id - 1)];
        CString text = GetArgumentText(filler, id);
        if (list) {
            if (text == notUsed || text == emptyName) text = L"0";
        } else if (id == 1041 || id == 1062 || id == 2043) {
            if (text == notCounted || (filler.pageMode && id == 1041 && text == emptyName)) text = L"0";
        }
        args.push_back(std::move(text));
    }

    // Each "%s" of the item text takes the next argument; argument texts are not scanned.
    std::wstring out;
    const std::wstring& pattern = item->text;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && pattern[i + 1] == L's' && next < args.size()) {
            out += args[next++].str();
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return CString(out);
}

bool MayBeCurrentChannel(const CChannel& ch) {
    if (ch.IsDiscrete()) return false;
    const CString unit = ch.GetUnitText();
    if (unit.IsEmpty() || ch.m_unitUnrecognised) return true;
    if (unit == L"A") return !ch.m_unitPerSecond;
    return unit == L"nom" || unit == L"p. u.";
}

void FillChannelCombo(const ArgumentFiller& filler, int id, const CString& defaultName, const COscillogram* record,
                      bool currentsOnly) {
    if (!filler.window || !filler.window->HasControl(id) || !record) return;
    std::vector<CString> entries;
    const bool optional = id == 1041 || id == 2043;
    if (optional)
        entries.push_back(LoadResString(kStrNotCounted));
    else if (IsIn(id, DialogListFamily()))
        entries.push_back(LoadResString(kStrNotUsed));
    const bool hasFirstEntry = !entries.empty();
    for (const CChannel& ch : record->m_channels)
        if (!ch.IsDiscrete() && (!currentsOnly || MayBeCurrentChannel(ch))) entries.push_back(ch.GetName());

    int selected = 0;
    if (!defaultName.IsEmpty()) {
        auto it = std::find(entries.begin(), entries.end(), defaultName);
        if (it != entries.end()) {
            selected = int(it - entries.begin());
        } else if (!hasFirstEntry) {
            // The default channel is missing: the list says so rather than offer another.
            entries.insert(entries.begin(), LoadResString(kStrNoChannel));
        }
    }
    filler.window->SetChoices(id, entries, selected);
}

void FillArgumentControls(const ArgumentFiller& filler, const COscillogram* record) {
    ArgumentControls* w = filler.window;
    if (!w) return;
    auto numbers = [](int from, int to) {
        std::vector<CString> v;
        for (int k = from; k <= to; ++k) {
            CString s;
            s.Format(L"%i", k);
            v.push_back(s);
        }
        return v;
    };
    auto choices = [&](int id, const std::vector<CString>& entries, int selected) {
        if (w->HasControl(id)) w->SetChoices(id, entries, selected);
    };
    auto text = [&](std::initializer_list<int> ids, const wchar_t* value) {
        for (int id : ids)
            if (w->HasControl(id)) w->SetText(id, value);
    };

    // Harmonic numbers up to half the samples of a period. Without a usable net frequency
    // there is no period, and only the mean (0) is offered.
    if (w->HasControl(1060)) {
        double limit = 0.0;
        if (record && record->m_netFrequency > 0.0) limit = double(record->m_samplingFrequency) / record->m_netFrequency * 0.5;
        constexpr int kMaxHarmonic = 100000;
        const int last = std::isfinite(limit) && limit >= 0.0 ? int(std::min(std::floor(limit), double(kMaxHarmonic))) : 0;
        w->SetChoices(1060, numbers(0, last), 0);
    }
    choices(2009, numbers(0, 11), 0);
    choices(2010, {L"0", L"1", L"11"}, 0);
    choices(2129, {L"0", L"1", L"11"}, 0);
    choices(2041, {L"1", L"0.5"}, 1);
    choices(2067, numbers(2, 24), 0);
    choices(2068, {L"1", L"3"}, 1);
    choices(2127, numbers(0, 11), 0);

    text({1037}, L"Ia + Ib");
    text({1050, 1051, 1052, 1053, 1054, 1055, 1056, 1057, 1058}, L"1.");
    text({2042}, L"0.25");
    text({2044, 2045, 2121, 2122, 2125, 2126}, L"0.");

    static const std::pair<int, const wchar_t*> defaults[] = {
        {1007, L"Ia"},  {1008, L"Ib"},  {1009, L"Ic"},  {1054, L"Iab"}, {1055, L"Ibc"}, {1056, L"Ica"},
        {1041, L"3I0"}, {1062, L"3U0"}, {1043, L"Ua"},  {1044, L"Ub"},  {1045, L"Uc"},  {1010, L"Uab"},
        {1011, L"Ubc"}, {1012, L"Uca"}, {2016, L"Ia"},  {2015, L"Ib"},  {2043, L"3I0n"}, {2072, L"3I0"},
    };
    for (const auto& [id, name] : defaults) FillChannelCombo(filler, id, name, record);
    for (int id : {1057, 1089, 1090, 1058, 1059, 1064, 1065, 1066, 1067, 1068, 2074})
        FillChannelCombo(filler, id, CString(), record);
    for (int id = 2017; id <= 2038; ++id) FillChannelCombo(filler, id, CString(), record);

    if (w->HasControl(kRemoveZeroSequence)) w->SetCheck(kRemoveZeroSequence, true);
}

CString ArgumentControlMap::GetText(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? CString() : it->second.text;
}

bool ArgumentControlMap::IsChecked(int id) const {
    auto it = m_controls.find(id);
    return it != m_controls.end() && it->second.checked;
}

void ArgumentControlMap::SetText(int id, const CString& text) {
    if (auto it = m_controls.find(id); it != m_controls.end()) it->second.text = text;
}

void ArgumentControlMap::SetCheck(int id, bool checked) {
    if (auto it = m_controls.find(id); it != m_controls.end()) it->second.checked = checked;
}

void ArgumentControlMap::SetChoices(int id, const std::vector<CString>& entries, int selected) {
    auto it = m_controls.find(id);
    if (it == m_controls.end() || it->second.edit) return;
    it->second.entries = entries;
    it->second.text = selected >= 0 && size_t(selected) < entries.size() ? entries[size_t(selected)] : CString();
}

std::vector<CString> ArgumentControlMap::GetChoices(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? std::vector<CString>() : it->second.entries;
}

void ArgumentControlMap::EnableControl(int id, bool enable) {
    if (auto it = m_controls.find(id); it != m_controls.end()) it->second.enabled = enable;
}

void ArgumentControlMap::ShowControl(int id, bool show) {
    if (auto it = m_controls.find(id); it != m_controls.end()) it->second.shown = show;
}

bool ArgumentControlMap::IsControlEnabled(int id) const {
    auto it = m_controls.find(id);
    return it != m_controls.end() && it->second.enabled;
}

bool ArgumentControlMap::IsControlShown(int id) const {
    auto it = m_controls.find(id);
    return it != m_controls.end() && it->second.shown;
}
