#include "faultloc/WrongPlaceLocatorData.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "model/Resources.h"
#include "platform/UiServices.h"

namespace LineParam {
CString Name() { return LoadResString(3284); }
CString NominalCurrent() { return LoadResString(3309); }
CString Length() { return LoadResString(3186); }
CString Towers() { return LoadResString(3534); }
CString R() { return LoadResString(3069); }
CString X() { return LoadResString(3095); }
CString R1() { return LoadResString(3075); }
CString X1() { return LoadResString(3098); }
CString R0() { return LoadResString(3072); }
CString X0() { return LoadResString(3097); }
CString Comment() { return LoadResString(3248); }
CString Rm() { return LoadResString(3077); }
CString Xm() { return LoadResString(3099); }
CString TapR0() { return LoadResString(3070); }
CString TapX0() { return LoadResString(3096); }
}  // namespace LineParam

double LineParamToDouble(const CString& text, bool* complete) {
    // Russian users type "12,5"; read as the C library would, that is 12.
    CString t = text;
    t.Replace(L',', L'.');
    t.Trim();
    const wchar_t* begin = t.GetString();
    wchar_t* end = nullptr;
    double v = std::wcstod(begin, &end);
    if (end == begin) v = 0.0;
    if (complete) *complete = t.IsEmpty() || (end != begin && *end == L'\0');
    return v;
}

namespace {

constexpr int kAll = 7, kIsolated = 1, kEarthedAndTwoEnded = 6;

template <class T>
int IndexOf(const std::vector<std::unique_ptr<T>>& list, const WrongPlaceLocatorData::Element* e) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == e) return int(i);
    return -1;
}

template <class T>
void Swap(std::vector<std::unique_ptr<T>>& list, const WrongPlaceLocatorData::Element* e, int step) {
    int i = IndexOf(list, e);
    int j = i + step;
    if (i < 0 || j < 0 || j >= int(list.size())) return;
    std::swap(list[size_t(i)], list[size_t(j)]);
}

template <class T>
std::vector<std::unique_ptr<T>> DeepCopy(const std::vector<std::unique_ptr<T>>& from) {
    std::vector<std::unique_ptr<T>> to;
    to.reserve(from.size());
    for (const auto& e : from) to.push_back(std::make_unique<T>(*e));
    return to;
}

}  // namespace

// --- Element -------------------------------------------------------------------------

bool WrongPlaceLocatorData::Element::CanMoveUp() const { return parent && parent->CanMoveChildUp(this); }
bool WrongPlaceLocatorData::Element::CanMoveDown() const { return parent && parent->CanMoveChildDown(this); }

void WrongPlaceLocatorData::Element::Remove() {
    if (parent) parent->RemoveChild(this);
}
void WrongPlaceLocatorData::Element::MoveUp() {
    if (parent) parent->MoveChildUp(this);
}
void WrongPlaceLocatorData::Element::MoveDown() {
    if (parent) parent->MoveChildDown(this);
}

void WrongPlaceLocatorData::Element::AddParam(const CString& name, const CString& value, bool isChannel, int methodMask,
                                             int station) {
    params.push_back(ElementParam{isChannel ? 0 : 1, name, value, methodMask, station});
}

CString WrongPlaceLocatorData::Element::GetParam(const CString& name) const {
    for (const auto& p : params)
        if (p.name == name) return p.value;
    return CString();
}

void WrongPlaceLocatorData::Element::SetParam(const CString& name, const CString& value) {
    for (auto& p : params)
        if (p.name == name) p.value = value;
}

CString WrongPlaceLocatorData::Element::GetParamNameAt(int i) const {
    return i >= 0 && i < int(params.size()) ? params[size_t(i)].name : CString();
}

CString WrongPlaceLocatorData::Element::GetParamValueAt(int i) const {
    return i >= 0 && i < int(params.size()) ? params[size_t(i)].value : CString();
}

// --- leaves ----------------------------------------------------------------------------

WrongPlaceLocatorData::ParallelLine::ParallelLine() {
    AddParam(LineParam::Rm(), L"0", false, kEarthedAndTwoEnded, -1);
    AddParam(LineParam::Xm(), L"0", false, kEarthedAndTwoEnded, -1);
    AddParam(L"I0", L"", true, kEarthedAndTwoEnded, -1);
    AddParam(LineParam::Comment(), L"", false, kEarthedAndTwoEnded, -1);
}

WrongPlaceLocatorData::Connection::Connection() {
    AddParam(LineParam::TapR0(), L"0", false, kEarthedAndTwoEnded, -1);
    AddParam(LineParam::TapX0(), L"0", false, kEarthedAndTwoEnded, -1);
    AddParam(LineParam::Comment(), L"", false, kEarthedAndTwoEnded, -1);
}

// --- Section ---------------------------------------------------------------------------

WrongPlaceLocatorData::Section::Section() {
    AddParam(LineParam::Length(), L"1", false, kAll, -1);
    AddParam(LineParam::Towers(), L"1", false, kAll, -1);
    AddParam(LineParam::R(), L"0", false, kIsolated, -1);
    AddParam(LineParam::X(), L"0", false, kIsolated, -1);
    AddParam(LineParam::R1(), L"0", false, kEarthedAndTwoEnded, -1);
    AddParam(LineParam::X1(), L"0", false, kEarthedAndTwoEnded, -1);
    AddParam(LineParam::R0(), L"0", false, kEarthedAndTwoEnded, -1);
    AddParam(LineParam::X0(), L"0", false, kEarthedAndTwoEnded, -1);
    AddParam(LineParam::Comment(), L"", false, kAll, -1);
}

WrongPlaceLocatorData::Section::Section(const Section& o)
    : Element(o), parallelLines(DeepCopy(o.parallelLines)), connections(DeepCopy(o.connections)) {
    parent = nullptr;
    Relink();
}

WrongPlaceLocatorData::Section& WrongPlaceLocatorData::Section::operator=(const Section& o) {
    if (this == &o) return *this;
    Element* keepParent = parent;
    Element::operator=(o);
    parent = keepParent;
    parallelLines = DeepCopy(o.parallelLines);
    connections = DeepCopy(o.connections);
    Relink();
    return *this;
}

void WrongPlaceLocatorData::Section::Relink() {
    for (auto& p : parallelLines) p->parent = this;
    for (auto& c : connections) c->parent = this;
}

WrongPlaceLocatorData::ParallelLine* WrongPlaceLocatorData::Section::AddParallelLine() {
    parallelLines.push_back(std::make_unique<ParallelLine>());
    parallelLines.back()->parent = this;
    return parallelLines.back().get();
}

WrongPlaceLocatorData::Connection* WrongPlaceLocatorData::Section::AddConnection() {
    connections.push_back(std::make_unique<Connection>());
    connections.back()->parent = this;
    return connections.back().get();
}

WrongPlaceLocatorData::ParallelLine* WrongPlaceLocatorData::Section::GetParallelLine(int i) const {
    return i >= 0 && i < int(parallelLines.size()) ? parallelLines[size_t(i)].get() : nullptr;
}

WrongPlaceLocatorData::Connection* WrongPlaceLocatorData::Section::GetConnection(int i) const {
    return i >= 0 && i < int(connections.size()) ? connections[size_t(i)].get() : nullptr;
}

void WrongPlaceLocatorData::Section::RemoveChild(Element* c) {
    if (int i = IndexOf(parallelLines, c); i >= 0) {
        parallelLines.erase(parallelLines.begin() + i);
    } else if (int j = IndexOf(connections, c); j >= 0) {
        connections.erase(connections.begin() + j);
    }
}

bool WrongPlaceLocatorData::Section::CanMoveChildUp(const Element* c) const {
    int i = dynamic_cast<const ParallelLine*>(c) ? IndexOf(parallelLines, c) : IndexOf(connections, c);
    return i > 0;
}

bool WrongPlaceLocatorData::Section::CanMoveChildDown(const Element* c) const {
    if (dynamic_cast<const ParallelLine*>(c)) {
        int i = IndexOf(parallelLines, c);
        return i >= 0 && i + 1 < int(parallelLines.size());
    }
    int i = IndexOf(connections, c);
    return i >= 0 && i + 1 < int(connections.size());
}

void WrongPlaceLocatorData::Section::MoveChildUp(Element* c) {
    if (dynamic_cast<ParallelLine*>(c)) Swap(parallelLines, c, -1);
    else Swap(connections, c, -1);
}

void WrongPlaceLocatorData::Section::MoveChildDown(Element* c) {
    if (dynamic_cast<ParallelLine*>(c)) Swap(parallelLines, c, +1);
    else Swap(connections, c, +1);
}

// --- Station ---------------------------------------------------------------------------

WrongPlaceLocatorData::Station::Station(int index) {
    stationIndex = index;
    AddParam(LineParam::Name(), LoadResString(3383), false, kAll, -1);
    AddParam(LineParam::NominalCurrent(), L"0", false, kAll, -1);
    for (const wchar_t* ch : {L"Ia", L"Ib", L"Ic"}) AddParam(ch, L"", true, kAll, -1);
    for (const wchar_t* ch : {L"Uab", L"Ubc", L"Uca"}) AddParam(ch, L"", true, kIsolated, -1);
    for (const wchar_t* ch : {L"Ua", L"Ub", L"Uc"}) AddParam(ch, L"", true, kEarthedAndTwoEnded, -1);
}

WrongPlaceLocatorData::Station::Station(const Station& o) : Element(o), sections(DeepCopy(o.sections)) {
    Relink();
}

WrongPlaceLocatorData::Station& WrongPlaceLocatorData::Station::operator=(const Station& o) {
    if (this == &o) return *this;
    Element::operator=(o);
    parent = nullptr;
    sections = DeepCopy(o.sections);
    Relink();
    return *this;
}

void WrongPlaceLocatorData::Station::Relink() {
    for (auto& s : sections) s->parent = this;
}

WrongPlaceLocatorData::Section* WrongPlaceLocatorData::Station::AddSection() {
    sections.push_back(std::make_unique<Section>());
    sections.back()->parent = this;
    return sections.back().get();
}

WrongPlaceLocatorData::Section* WrongPlaceLocatorData::Station::GetSection(int i) const {
    return i >= 0 && i < int(sections.size()) ? sections[size_t(i)].get() : nullptr;
}

void WrongPlaceLocatorData::Station::RemoveChild(Element* c) {
    if (int i = IndexOf(sections, c); i >= 0) sections.erase(sections.begin() + i);
}

bool WrongPlaceLocatorData::Station::CanMoveChildUp(const Element* c) const { return IndexOf(sections, c) > 0; }

bool WrongPlaceLocatorData::Station::CanMoveChildDown(const Element* c) const {
    int i = IndexOf(sections, c);
    return i >= 0 && i + 1 < int(sections.size());
}

void WrongPlaceLocatorData::Station::MoveChildUp(Element* c) { Swap(sections, c, -1); }
void WrongPlaceLocatorData::Station::MoveChildDown(Element* c) { Swap(sections, c, +1); }

// --- the model -------------------------------------------------------------------------

WrongPlaceLocatorData::WrongPlaceLocatorData() = default;

namespace {

// Resource ids of the checks the program adds to the zero rules: a value that is not a number
// at all, and a negative length or tower count.
constexpr unsigned kNotANumber = 9001;
constexpr unsigned kNegative = 9002;

// 0 when `name` of `e` is a usable number; else the violation.
unsigned CheckNumber(const WrongPlaceLocatorData::Element& e, const CString& name, bool mustBePositive,
                     CString* bad) {
    bool complete = false;
    double v = LineParamToDouble(e.GetParam(name), &complete);
    if (!complete) {
        if (bad) *bad = name;
        return kNotANumber;
    }
    if (mustBePositive && v < 0) {
        if (bad) *bad = name;
        return kNegative;
    }
    return 0;
}

bool IsZero(const WrongPlaceLocatorData::Element& e, const CString& name) {
    return LineParamToDouble(e.GetParam(name)) == 0.0;
}

// The zero rule of a pair, after both values were checked to be numbers.
unsigned CheckPair(const WrongPlaceLocatorData::Element& e, const CString& a, const CString& b, unsigned zeroMessage,
                   CString* bad) {
    if (unsigned r = CheckNumber(e, a, false, bad)) return r;
    if (unsigned r = CheckNumber(e, b, false, bad)) return r;
    if (IsZero(e, a) && IsZero(e, b)) {
        if (bad) *bad = a;
        return zeroMessage;
    }
    return 0;
}

}  // namespace

unsigned WrongPlaceLocatorData::FindViolation(CString* bad) const {
    for (const auto& s : station1.sections) {
        // A text that is no number reads as 0: it is named as what it is before the zero rule
        // could blame it for being zero.
        if (unsigned r = CheckNumber(*s, LineParam::Length(), true, bad)) return r;
        if (IsZero(*s, LineParam::Length())) {
            if (bad) *bad = LineParam::Length();
            return 3187;
        }
        if (unsigned r = CheckNumber(*s, LineParam::Towers(), true, bad)) return r;
        if (IsZero(*s, LineParam::Towers())) {
            if (bad) *bad = LineParam::Towers();
            return 3535;
        }
        if (methodType == IsolatedNeutral) {
            if (unsigned r = CheckPair(*s, LineParam::R(), LineParam::X(), 3068, bad)) return r;
        } else if (methodType == EarthedNeutral || methodType == TwoEnded) {
            if (unsigned r = CheckPair(*s, LineParam::R1(), LineParam::X1(), 3074, bad)) return r;
            if (unsigned r = CheckPair(*s, LineParam::R0(), LineParam::X0(), 3071, bad)) return r;
            for (const auto& p : s->parallelLines)
                if (unsigned r = CheckPair(*p, LineParam::Rm(), LineParam::Xm(), 3076, bad)) return r;
            for (const auto& c : s->connections)
                if (unsigned r = CheckPair(*c, LineParam::TapR0(), LineParam::TapX0(), 3071, bad)) return r;
        }
    }
    return 0;
}

CString WrongPlaceLocatorData::ViolationText() const {
    CString bad;
    unsigned id = FindViolation(&bad);
    if (id == 0) return CString();
    CString text = LoadResString(id);
    if (id == kNotANumber || id == kNegative) {
        CString f;
        f.Format(text.GetString(), bad);
        text = f;
    }
    return text;
}

bool WrongPlaceLocatorData::Validate() const {
    const CString text = ViolationText();
    if (text.IsEmpty()) return true;
    platform::Ui().MessageBox(text, CString(), MB_OK);
    return false;
}
