#pragma once
// The differential-currents page of quick analysis without its window: up to 24 arms of a
// differential protection, each with its phase currents and how they are brought to a common
// base, turn into the arms' scaled currents, optionally their currents turned by the
// transformer's connection group, and the differential and restraint current of every phase;
// the restraint/differential pairs go to the differential diagram.
#include <array>

#include "analysis/QuickAnalysis.h"

class COscillogram;

namespace diffpage {

// Control ids of the page.
enum : int {
    kArmCount = 2067,
    kPhaseCount = 2068,
    kArmSelector = 2069,
    kPrevArm = 2084,
    kNextArm = 2085,
    kArmGroup = 2086,
    kIa = 1007,
    kIb = 1008,
    kIc = 1009,
    kLabelIb = 2054,
    kLabelIc = 2055,
    // Arm scaling: by a scaling coefficient, by CT ratio against a base ratio, by rated power
    // and voltage, by rated current.
    kByCoeff = 2080,
    kByCtRatio = 2081,
    kByPower = 2082,
    kByRatedCurrent = 2083,
    kKpriv = 1052,
    kKttRatio = 1054,
    kKttBase = 1053,
    kKttPower = 1055,
    kSnom = 1056,
    kUnom = 1050,
    kKttRated = 1057,
    kInom = 1058,
    kCaptionByCoeff = 2144,
    kCaptionByCtRatio = 2145,
    kCaptionByPower = 2148,
    kCaptionByRatedCurrent = 2150,
    // Connection group: not considered, by symmetrical components, digital delta.
    kGroupNone = 2087,
    kGroupBySequence = 2088,
    kGroupTriangle = 2089,
    kSequenceGroup = 2127,
    kSequenceGroupLabel = 2128,
    kTriangleGroup = 2129,
    kTriangleGroupLabel = 2130,
    kRemoveI0 = 2175,
    // Restraint current: half the sum of magnitudes, half the difference of two arms, the
    // largest magnitude.
    kBrakeBySum = 2091,
    kBrakeBySub = 2092,
    kBrakeByMax = 2093,
    kBrakeCoeff = 2041,
    kBrakeCoeffLabel = 2153,
    // Hidden argument holders.
    kHolderCurrent = 2079,
    kHolderIb = 2078,
    kHolderIc = 2096,
    kHolderK1 = 2090,
    kHolderK2 = 2094,
    kHolderK3 = 2095,
    kHolderGroup = 2131,
    kFirstArmHolder = 2097,  // ... 2120
};

constexpr int kMaxArms = 24;

}  // namespace diffpage

class DiffCurrentsModel : public CQAnPropPg {
public:
    // What one arm keeps while another is on show, in the order of ArmFieldControls().
    enum Field { Ia, Ib, Ic, Kpriv, KttRatio, KttBase, KttPower, Snom, Unom, KttRated, Inom, SeqGroup, TriangleGroup,
                 FieldCount };
    struct Arm {
        std::array<CString, FieldCount> texts;
        bool removeI0 = true;
    };
    // The control each field mirrors.
    static const std::array<int, FieldCount>& ArmFieldControls();

    // The names the new channels get are judged against `record`'s channels and calculated
    // channels (none: every name is free).
    explicit DiffCurrentsModel(const COscillogram* record) : m_record(record) {}

    CString GetPageKey() const override { return L"DiffCurrentsPage"; }
    void GetFormulas(std::vector<CString>& out) override;
    void GetChannelNames(std::vector<CString>& out) override;
    void GetDiffPairs(std::vector<QAnNamePair>& out) override;
    void LoadState(SettingsNode& category) override;
    void SaveState(SettingsNode& category) override;

    // The page's control handlers.
    void OnArmCountChosen();
    void OnPhaseCountChosen();
    void OnArmChosen();
    void PreviousArm();
    void NextArm();
    // A channel, coefficient, group or the zero-sequence box of the arm on show changed.
    void OnArmControlChanged(int id);
    void OnScalingModeChosen();
    void OnGroupModeChosen();
    void OnBrakeModeChosen();

    int ArmCount();
    int PhaseCount();
    // The arm on show (from 0), -1 when none.
    int CurrentArm();
    const Arm& GetArm(int i) const { return m_arms[size_t(i)]; }

private:
    void ShowArm(int arm);
    void SelectArm(int arm);
    void RefillArmSelector();
    // The controls' texts and box into arm `i`.
    void StoreControls(int i);
    CString Unique(const CString& name) const;
    CString ArmName(unsigned pattern, int arm) const;
    void CheckRadio(std::initializer_list<int> group, int chosen);

    const COscillogram* m_record = nullptr;
    std::array<Arm, diffpage::kMaxArms> m_arms;
};
