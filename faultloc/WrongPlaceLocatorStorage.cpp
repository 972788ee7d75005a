// The line model in a settings category: the current layout, and the older one that earlier
// versions wrote into the record's settings.
#include "faultloc/WrongPlaceLocatorData.h"
#include "model/MappedTextReader.h"
#include "model/SettingsStore.h"
#include "platform/Exception.h"

namespace {

// Station keys and the parameters they hold.
const wchar_t* const kChannelKeys[] = {L"Ia", L"Ib", L"Ic", L"Uab", L"Ubc", L"Uca", L"Ua", L"Ub", L"Uc"};

struct KeyParam {
    const wchar_t* key;
    CString (*param)();
};
const KeyParam kSectionKeys[] = {
    {L"lenght", LineParam::Length}, {L"sup_number", LineParam::Towers}, {L"r", LineParam::R},
    {L"x", LineParam::X},           {L"r1", LineParam::R1},             {L"x1", LineParam::X1},
    {L"r0", LineParam::R0},         {L"x0", LineParam::X0},             {L"comment", LineParam::Comment},
};

CString Numbered(const wchar_t* prefix, int k) {
    CString s;
    s.Format(L"%s%i", prefix, k);
    return s;
}

// Splits at commas, a run of commas counting as one; fields past the last are empty.
std::vector<CString> SplitFields(const CString& text) {
    std::vector<CString> out;
    int pos = 0;
    for (CString t = text.Tokenize(L",", pos); pos != -1; t = text.Tokenize(L",", pos)) out.push_back(t);
    return out;
}

// A sub-category for reading: a missing one reads as empty without being added to the tree.
const SettingsNode& Sub(const SettingsNode& node, const CString& name) {
    static const SettingsNode kEmpty;
    auto it = node.GetSubCategories().find(name);
    return it == node.GetSubCategories().end() ? kEmpty : it->second;
}

}  // namespace

void WrongPlaceLocatorData::Save(SettingsNode& node) const {
    node.Clear();
    node.SetString(L"ver", L"2");
    node.SetInt(L"type", methodType);
    SaveStation(node.GetSubCategory(L"Station1"), 0);
    SaveStation(node.GetSubCategory(L"Station2"), 1);
}

void WrongPlaceLocatorData::SaveStation(SettingsNode& node, int index) const {
    const Station& st = GetStation(index);
    node.SetString(L"obj_name", st.GetParam(LineParam::Name()));
    node.SetString(L"In", st.GetParam(LineParam::NominalCurrent()));
    for (const wchar_t* key : kChannelKeys) node.SetString(key, st.GetParam(key));
    int k = 1;
    for (const auto& sec : st.sections) {
        SettingsNode& sn = node.GetSubCategory(Numbered(L"Section", k++));
        for (const auto& kp : kSectionKeys) sn.SetString(kp.key, sec->GetParam(kp.param()));
        int c = 1;
        for (const auto& p : sec->parallelLines) {
            SettingsNode& cn = sn.GetSubCategory(Numbered(L"child", c++));
            cn.SetString(L"type", L"parLine");
            cn.SetString(L"rm", p->GetParam(LineParam::Rm()));
            cn.SetString(L"xm", p->GetParam(LineParam::Xm()));
            cn.SetString(L"I0", p->GetParam(L"I0"));
            cn.SetString(L"comment", p->GetParam(LineParam::Comment()));
        }
        for (const auto& t : sec->connections) {
            SettingsNode& cn = sn.GetSubCategory(Numbered(L"child", c++));
            cn.SetString(L"type", L"connection");
            cn.SetString(L"r0", t->GetParam(LineParam::TapR0()));
            cn.SetString(L"x0", t->GetParam(LineParam::TapX0()));
            cn.SetString(L"comment", t->GetParam(LineParam::Comment()));
        }
    }
}

void WrongPlaceLocatorData::Load(const SettingsNode& node) {
    // A record whose settings hold no line model keeps the model it has.
    if (node.IsEmpty()) return;
    if (node.GetString(L"ver", L"") == L"2") {
        methodType = node.GetInt(L"type", 1);
        LoadStation(Sub(node, L"Station1"), 0);
        LoadStation(Sub(node, L"Station2"), 1);
        return;
    }
    // The older layout describes station 1 completely: its sections replace the ones there,
    // so that reading the same settings twice does not double them.
    methodType = IsolatedNeutral;
    station1.SetParam(LineParam::NominalCurrent(), node.GetString(L"I1n", L"0"));
    for (const wchar_t* key : {L"Ia", L"Ib", L"Ic", L"Uab", L"Ubc", L"Uca"}) station1.SetParam(key, node.GetString(key, L""));
    station1.ClearSections();
    const int n = node.GetInt(L"SectionsNum", 0);
    // The count comes from the file: only sections that are really there are read.
    for (int k = 0; k < n; ++k) {
        CString key = Numbered(L"Section", k);
        if (!node.HasValue(key)) break;
        std::vector<CString> f = SplitFields(node.GetString(key, L""));
        f.resize(5);
        Section* s = station1.AddSection();
        s->SetParam(LineParam::Length(), f[0]);
        s->SetParam(LineParam::R(), f[1]);
        s->SetParam(LineParam::X(), f[2]);
        s->SetParam(LineParam::Towers(), f[3]);
        s->SetParam(LineParam::Comment(), f[4]);
    }
}

void WrongPlaceLocatorData::LoadStation(const SettingsNode& node, int index) {
    Station& st = GetStation(index);
    st.ClearSections();
    st.SetParam(LineParam::Name(), node.GetString(L"obj_name", L""));
    st.SetParam(LineParam::NominalCurrent(), node.GetString(L"In", L"0"));
    for (const wchar_t* key : kChannelKeys) st.SetParam(key, node.GetString(key, L""));
    const int S = node.GetSubCategoryCount();
    for (int k = 1; k <= S; ++k) {
        const SettingsNode& sn = Sub(node, Numbered(L"Section", k));
        Section* sec = st.AddSection();
        for (const auto& kp : kSectionKeys) sec->SetParam(kp.param(), sn.GetString(kp.key, L""));
        const int C = sn.GetSubCategoryCount();
        for (int j = 1; j <= C; ++j) {
            const SettingsNode& cn = Sub(sn, Numbered(L"child", j));
            if (cn.GetString(L"type", L"") == L"parLine") {
                ParallelLine* p = sec->AddParallelLine();
                p->SetParam(LineParam::Rm(), cn.GetString(L"rm", L"0"));
                p->SetParam(LineParam::Xm(), cn.GetString(L"xm", L"0"));
                p->SetParam(L"I0", cn.GetString(L"I0", L"0"));
                p->SetParam(LineParam::Comment(), cn.GetString(L"comment", L""));
            } else {
                Connection* t = sec->AddConnection();
                t->SetParam(LineParam::TapR0(), cn.GetString(L"r0", L"0"));
                t->SetParam(LineParam::TapX0(), cn.GetString(L"x0", L"0"));
                t->SetParam(LineParam::Comment(), cn.GetString(L"comment", L""));
            }
        }
    }
}

bool WrongPlaceLocatorData::LoadLegacyText(const CString& path) {
    // Read into a copy and take it over only when the whole file was a line model: a file that
    // cannot be read, or ends early, leaves the model as it was.
    WrongPlaceLocatorData m = *this;
    m.methodType = IsolatedNeutral;
    try {
        MappedTextReader reader(path);
        bool complete = true;
        auto atEnd = [&] {
            reader.SkipBlanks();
            if (reader.m_cursor >= reader.m_end) complete = false;
            return !complete;
        };
        auto text = [&]() -> CString { return atEnd() ? CString() : CString(reader.ReadField()); };
        if (atEnd()) return false;
        reader.ReadInt();
        Station& st = m.station1;
        st.ClearSections();
        for (const wchar_t* key : {L"Ia", L"Ib", L"Ic", L"Uab", L"Ubc", L"Uca"}) st.SetParam(key, text());
        st.SetParam(LineParam::NominalCurrent(), text());
        if (atEnd()) return false;
        const int n = reader.ReadInt();
        if (n < 0) return false;
        for (int k = 0; k < n && complete; ++k) {
            CString f[5];
            for (CString& v : f) v = text();
            if (!complete) break;
            Section* s = st.AddSection();
            s->SetParam(LineParam::Length(), f[0]);
            s->SetParam(LineParam::R(), f[1]);
            s->SetParam(LineParam::X(), f[2]);
            s->SetParam(LineParam::Towers(), f[3]);
            s->SetParam(LineParam::Comment(), f[4]);
        }
        if (!complete) return false;
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    *this = m;
    return true;
}
