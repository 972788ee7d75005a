#include "analysis/DiffCurrents.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "analysis/CalcChannels.h"
#include "model/Oscillogram.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"

using namespace diffpage;

namespace {

constexpr unsigned kStrDiff[3] = {192, 193, 194};
constexpr unsigned kStrBrake[3] = {195, 196, 197};
constexpr unsigned kStrArmCaption = 198;
constexpr unsigned kStrScaled[3] = {220, 222, 223};
constexpr unsigned kStrTurned[3] = {224, 225, 226};

constexpr int kBySequenceCodes[3] = {505, 506, 507};
constexpr int kTriangleCodes[3] = {508, 520, 521};

struct ScalingMode {
    int radio;
    int code;
    std::vector<DiffCurrentsModel::Field> coefficients;  // into 2090, 2094, 2095 in this order
    int caption;
};

const std::vector<ScalingMode>& ScalingModes() {
    using F = DiffCurrentsModel;
    static const std::vector<ScalingMode> modes = {
        {kByCoeff, 501, {F::Kpriv}, kCaptionByCoeff},
        {kByCtRatio, 502, {F::KttRatio, F::KttBase}, kCaptionByCtRatio},
        {kByPower, 503, {F::KttPower, F::Snom, F::Unom}, kCaptionByPower},
        {kByRatedCurrent, 504, {F::KttRated, F::Inom}, kCaptionByRatedCurrent},
    };
    return modes;
}

int TextToInt(const CString& text, int def) {
    const wchar_t* s = text.GetString();
    wchar_t* end = nullptr;
    const long v = std::wcstol(s, &end, 10);
    if (end == s || v < INT_MIN || v > INT_MAX) return def;
    return int(v);
}

CString Number(int n) {
    CString s;
    s.Format(L"%i", n);
    return s;
}

// The arm keys of the settings, with the control each mirrors.
struct ArmKey {
    const wchar_t* key;
    int id;
    bool combo;
};
constexpr ArmKey kArmKeys[] = {
    {L"IA", kIa, true},        {L"IB", kIb, true},       {L"IC", kIc, true},
    {L"R0", kKpriv, false},    {L"R1", kKttBase, false}, {L"R2", kKttRatio, false},
    {L"R3", kKttPower, false}, {L"R4", kKttRated, false}, {L"R5", kSnom, false},
    {L"R6", kInom, false},     {L"X0", kUnom, false},    {L"seqGroup", kSequenceGroup, true},
    {L"triangleGroup", kTriangleGroup, true},
};

struct RadioKey {
    const wchar_t* key;
    int id;
};
constexpr RadioKey kScalingKeys[] = {
    {L"byPowerState", kByPower},
    {L"byNomCurState", kByRatedCurrent},
    {L"byCastCoeffState", kByCoeff},
    {L"byTransCoeffState", kByCtRatio},
};
constexpr RadioKey kGroupKeys[] = {{L"doNotConsider", kGroupNone}, {L"bySequence", kGroupBySequence},
                                   {L"byTriangle", kGroupTriangle}};
constexpr RadioKey kBrakeKeys[] = {{L"bySumState", kBrakeBySum}, {L"bySubState", kBrakeBySub},
                                   {L"byMaxState", kBrakeByMax}};

}  // namespace

const std::array<int, DiffCurrentsModel::FieldCount>& DiffCurrentsModel::ArmFieldControls() {
    static const std::array<int, FieldCount> ids = {kIa,   kIb,       kIc,   kKpriv,        kKttRatio,
                                                    kKttBase, kKttPower, kSnom, kUnom,        kKttRated,
                                                    kInom, kSequenceGroup, kTriangleGroup};
    return ids;
}

int DiffCurrentsModel::ArmCount() {
    return std::clamp(TextToInt(Controls().GetText(kArmCount), 2), 2, kMaxArms);
}

int DiffCurrentsModel::PhaseCount() { return Controls().GetText(kPhaseCount) == L"1" ? 1 : 3; }

int DiffCurrentsModel::CurrentArm() {
    const int arm = TextToInt(Controls().GetText(kArmSelector), 0) - 1;
    return arm >= 0 && arm < ArmCount() ? arm : -1;
}

void DiffCurrentsModel::CheckRadio(std::initializer_list<int> group, int chosen) {
    for (int id : group) Controls().SetCheck(id, id == chosen);
}

void DiffCurrentsModel::RefillArmSelector() {
    const int n = ArmCount();
    const int keep = TextToInt(Controls().GetText(kArmSelector), 0) - 1;
    std::vector<CString> entries;
    for (int i = 1; i <= n; ++i) entries.push_back(Number(i));
    Controls().SetChoices(kArmSelector, entries, keep >= 0 && keep < n ? keep : 0);
}

void DiffCurrentsModel::ShowArm(int arm) {
    if (arm < 0) return;
    ArgumentControls& c = Controls();
    const Arm& a = m_arms[size_t(arm)];
    const auto& ids = ArmFieldControls();
    for (int f : {Ia, Ib, Ic, SeqGroup, TriangleGroup}) {
        const int id = ids[size_t(f)];
        const std::vector<CString> entries = c.GetChoices(id);
        const auto it = std::find(entries.begin(), entries.end(), a.texts[size_t(f)]);
        c.SetChoices(id, entries, it == entries.end() ? -1 : int(it - entries.begin()));
    }
    CString caption;
    caption.Format(LoadResString(kStrArmCaption).GetString(), arm + 1);
    c.SetText(kArmGroup, caption);
    c.EnableControl(kPrevArm, arm > 0);
    c.EnableControl(kNextArm, arm < ArmCount() - 1);
    for (int f : {Kpriv, KttRatio, KttBase, KttPower, Snom, Unom, KttRated, Inom})
        c.SetText(ids[size_t(f)], a.texts[size_t(f)]);
    c.SetCheck(kRemoveI0, a.removeI0);
}

void DiffCurrentsModel::SelectArm(int arm) {
    const int n = ArmCount();
    arm = std::clamp(arm, 0, n - 1);
    std::vector<CString> entries;
    for (int i = 1; i <= n; ++i) entries.push_back(Number(i));
    Controls().SetChoices(kArmSelector, entries, arm);
    ShowArm(arm);
}

void DiffCurrentsModel::StoreControls(int i) {
    ArgumentControls& c = Controls();
    Arm& a = m_arms[size_t(i)];
    const auto& ids = ArmFieldControls();
    for (size_t f = 0; f < ids.size(); ++f) a.texts[f] = c.GetText(ids[f]);
    a.removeI0 = c.IsChecked(kRemoveI0);
}

void DiffCurrentsModel::OnArmCountChosen() {
    ArgumentControls& c = Controls();
    RefillArmSelector();
    ShowArm(CurrentArm());
    const bool two = ArmCount() == 2;
    // Half the difference of two arms needs exactly two.
    if (!two && c.IsChecked(kBrakeBySub)) CheckRadio({kBrakeBySum, kBrakeBySub, kBrakeByMax}, kBrakeBySum);
    c.EnableControl(kBrakeBySub, two);
    OnBrakeModeChosen();
}

void DiffCurrentsModel::OnPhaseCountChosen() {
    ArgumentControls& c = Controls();
    const bool three = PhaseCount() == 3;
    for (int id : {kIb, kIc, kLabelIb, kLabelIc}) c.EnableControl(id, three);
    OnGroupModeChosen();
    OnBrakeModeChosen();
}

void DiffCurrentsModel::OnArmChosen() { ShowArm(CurrentArm()); }

void DiffCurrentsModel::PreviousArm() {
    const int arm = CurrentArm();
    if (arm >= 0) SelectArm(arm - 1);
}

void DiffCurrentsModel::NextArm() {
    const int arm = CurrentArm();
    if (arm >= 0) SelectArm(arm + 1);
}

void DiffCurrentsModel::OnArmControlChanged(int id) {
    const int arm = CurrentArm();
    if (arm < 0) return;
    Arm& a = m_arms[size_t(arm)];
    if (id == kRemoveI0) {
        a.removeI0 = Controls().IsChecked(kRemoveI0);
        return;
    }
    const auto& ids = ArmFieldControls();
    const auto it = std::find(ids.begin(), ids.end(), id);
    if (it != ids.end()) a.texts[size_t(it - ids.begin())] = Controls().GetText(id);
}

void DiffCurrentsModel::OnScalingModeChosen() {
    ArgumentControls& c = Controls();
    const auto& ids = ArmFieldControls();
    for (const ScalingMode& mode : ScalingModes()) {
        const bool on = c.IsChecked(mode.radio);
        c.EnableControl(mode.caption, on);
        for (Field f : mode.coefficients) c.EnableControl(ids[size_t(f)], on);
    }
}

void DiffCurrentsModel::OnGroupModeChosen() {
    ArgumentControls& c = Controls();
    if (PhaseCount() == 1) {
        for (int id : {kGroupNone, kGroupBySequence, kGroupTriangle, kSequenceGroup, kSequenceGroupLabel, kRemoveI0})
            c.EnableControl(id, false);
        for (int id : {kSequenceGroup, kSequenceGroupLabel}) c.ShowControl(id, true);
        for (int id : {kTriangleGroup, kTriangleGroupLabel}) c.ShowControl(id, false);
        return;
    }
    for (int id : {kGroupNone, kGroupBySequence, kGroupTriangle}) c.EnableControl(id, true);
    const bool triangle = c.IsChecked(kGroupTriangle);
    const bool bySequence = !triangle && c.IsChecked(kGroupBySequence);
    for (int id : {kSequenceGroup, kSequenceGroupLabel}) {
        c.ShowControl(id, !triangle);
        c.EnableControl(id, bySequence);
    }
    for (int id : {kTriangleGroup, kTriangleGroupLabel}) {
        c.ShowControl(id, triangle);
        c.EnableControl(id, triangle);
    }
    c.EnableControl(kRemoveI0, bySequence);
}

void DiffCurrentsModel::OnBrakeModeChosen() {
    ArgumentControls& c = Controls();
    const bool on = c.IsChecked(kBrakeBySum) || (c.IsChecked(kBrakeBySub) && ArmCount() == 2);
    c.EnableControl(kBrakeCoeff, on);
    c.EnableControl(kBrakeCoeffLabel, on);
}

CString DiffCurrentsModel::Unique(const CString& name) const {
    if (!m_record) return name;
    const auto* list = dynamic_cast<const CalcChannels*>(m_record->m_derivedChannels.get());
    return MakeUniqueName(*m_record, list ? list->FormulaNames() : std::vector<CString>(), {}, name);
}

CString DiffCurrentsModel::ArmName(unsigned pattern, int arm) const {
    CString s;
    s.Format(LoadResString(pattern).GetString(), arm);
    return s;
}

void DiffCurrentsModel::GetFormulas(std::vector<CString>& out) {
    out.clear();
    ArgumentControls& c = Controls();
    const int n = ArmCount();
    const int phases = PhaseCount();
    const bool removeI0Shown = c.IsChecked(kRemoveI0);
    auto compose = [&](int code) { out.push_back(ComposeFormulaText(m_filler, code)); };

    // Each arm's phase currents brought to the common base.
    for (const ScalingMode& mode : ScalingModes()) {
        if (!c.IsChecked(mode.radio)) continue;
        const int holders[] = {kHolderK1, kHolderK2, kHolderK3};
        for (int arm = 0; arm < n; ++arm) {
            const Arm& a = m_arms[size_t(arm)];
            for (size_t k = 0; k < mode.coefficients.size(); ++k)
                c.SetText(holders[k], a.texts[size_t(mode.coefficients[k])]);
            for (int p = 0; p < phases; ++p) {
                c.SetText(kHolderCurrent, a.texts[size_t(Ia + p)]);
                compose(mode.code);
            }
        }
        break;
    }

    // The scaled currents turned by the transformer's connection group.
    const bool turned = phases == 3 && !c.IsChecked(kGroupNone);
    if (turned) {
        const bool bySequence = c.IsChecked(kGroupBySequence);
        for (int arm = 0; arm < n; ++arm) {
            const Arm& a = m_arms[size_t(arm)];
            c.SetText(kHolderCurrent, Unique(ArmName(kStrScaled[0], arm + 1)));
            c.SetText(kHolderIb, Unique(ArmName(kStrScaled[1], arm + 1)));
            c.SetText(kHolderIc, Unique(ArmName(kStrScaled[2], arm + 1)));
            c.SetText(kHolderGroup, a.texts[size_t(bySequence ? SeqGroup : TriangleGroup)]);
            // Ticked, the box takes the zero sequence out of the turned currents.
            c.SetCheck(kRemoveI0, bySequence && a.removeI0);
            for (int code : bySequence ? kBySequenceCodes : kTriangleCodes) compose(code);
        }
        c.SetCheck(kRemoveI0, removeI0Shown);
    }

    // Per phase, the arms' currents into the 24 list holders; the ones past the arms stay empty.
    auto fillHolders = [&](int p) {
        for (int k = 0; k < kMaxArms; ++k)
            c.SetText(kFirstArmHolder + k, k < n ? Unique(ArmName(turned ? kStrTurned[p] : kStrScaled[p], k + 1)) : CString());
    };
    for (int p = 0; p < phases; ++p) {
        fillHolders(p);
        compose(522);
    }
    const int brakeCode = c.IsChecked(kBrakeByMax) ? 524 : c.IsChecked(kBrakeBySub) ? 523 : 525;
    for (int p = 0; p < phases; ++p) {
        fillHolders(p);
        compose(brakeCode);
    }
}

void DiffCurrentsModel::GetChannelNames(std::vector<CString>& out) {
    out.clear();
    ArgumentControls& c = Controls();
    const int n = ArmCount();
    const int phases = PhaseCount();
    for (int arm = 1; arm <= n; ++arm)
        for (int p = 0; p < phases; ++p) out.push_back(ArmName(kStrScaled[p], arm));
    if (phases == 3 && !c.IsChecked(kGroupNone))
        for (int arm = 1; arm <= n; ++arm)
            for (int p = 0; p < 3; ++p) out.push_back(ArmName(kStrTurned[p], arm));
    for (int p = 0; p < phases; ++p) out.push_back(LoadResString(kStrDiff[p]));
    for (int p = 0; p < phases; ++p) out.push_back(LoadResString(kStrBrake[p]));
}

void DiffCurrentsModel::GetDiffPairs(std::vector<QAnNamePair>& out) {
    out.clear();
    for (int p = 0; p < PhaseCount(); ++p) out.push_back({LoadResString(kStrBrake[p]), LoadResString(kStrDiff[p])});
}

void DiffCurrentsModel::LoadState(SettingsNode& category) {
    ArgumentControls& c = Controls();
    // An arm is made of phase currents: its lists offer no voltages or powers.
    const COscillogram* record = m_record ? m_record : CQAnPropPg::m_record;
    FillChannelCombo(m_filler, kIa, L"Ia", record, true);
    FillChannelCombo(m_filler, kIb, L"Ib", record, true);
    FillChannelCombo(m_filler, kIc, L"Ic", record, true);
    auto radios = [&](const wchar_t* sub, const auto& keys, int def, std::initializer_list<int> group) {
        SettingsNode& node = category.GetSubCategory(sub);
        int chosen = 0;
        for (const RadioKey& k : keys) {
            const int v = node.GetInt(k.key, INT_MAX);
            if (v != INT_MAX && v != 0) chosen = k.id;
        }
        CheckRadio(group, chosen ? chosen : def);
    };
    radios(L"legOption", kScalingKeys, kByPower, {kByCoeff, kByCtRatio, kByPower, kByRatedCurrent});
    OnScalingModeChosen();
    radios(L"groupConnOption", kGroupKeys, kGroupNone, {kGroupNone, kGroupBySequence, kGroupTriangle});
    OnGroupModeChosen();
    radios(L"brakeCurrOption", kBrakeKeys, kBrakeBySum, {kBrakeBySum, kBrakeBySub, kBrakeByMax});
    OnBrakeModeChosen();
    RestoreComboSelection(c, category, kArmCount, L"legCount", false);
    RestoreComboSelection(c, category, kPhaseCount, L"phaseCount", false);
    RestoreComboSelection(c, category, kBrakeCoeff, L"brakeCoeff", false);

    // Every arm starts from what the controls show.
    for (int i = 0; i < kMaxArms; ++i) StoreControls(i);
    OnArmCountChosen();
    OnPhaseCountChosen();
    for (int i = 0; i < ArmCount(); ++i) {
        SelectArm(i);
        CString key;
        key.Format(L"Leg_%d", i);
        SettingsNode& leg = category.GetSubCategory(key);
        if (leg.IsEmpty()) {
            c.SetCheck(kRemoveI0, true);
        } else {
            for (const ArmKey& k : kArmKeys) {
                if (k.combo)
                    RestoreComboSelection(c, leg, k.id, k.key, false);
                else
                    RestoreEditText(c, leg, k.id, k.key);
            }
            RestoreCheck(c, leg, L"I0State", kRemoveI0);
        }
        StoreControls(i);
    }
    SelectArm(0);
}

void DiffCurrentsModel::SaveState(SettingsNode& category) {
    ArgumentControls& c = Controls();
    auto radios = [&](const wchar_t* sub, const auto& keys) {
        SettingsNode& node = category.GetSubCategory(sub);
        for (const RadioKey& k : keys) node.SetInt(k.key, c.IsChecked(k.id) ? 1 : 0);
    };
    radios(L"legOption", kScalingKeys);
    radios(L"groupConnOption", kGroupKeys);
    radios(L"brakeCurrOption", kBrakeKeys);
    SaveComboSelection(c, category, kArmCount, L"legCount", false);
    SaveComboSelection(c, category, kPhaseCount, L"phaseCount", false);
    SaveComboSelection(c, category, kBrakeCoeff, L"brakeCoeff", false);
    // Every arm, those past the arm count too: what the user filled in is not dropped.
    const auto& ids = ArmFieldControls();
    for (int i = 0; i < kMaxArms; ++i) {
        CString key;
        key.Format(L"Leg_%d", i);
        SettingsNode& leg = category.GetSubCategory(key);
        const Arm& a = m_arms[size_t(i)];
        for (const ArmKey& k : kArmKeys) {
            const auto at = std::find(ids.begin(), ids.end(), k.id);
            leg.SetString(k.key, a.texts[size_t(at - ids.begin())]);
        }
        leg.SetInt(L"I0State", a.removeI0 ? 1 : 0);
    }
}
