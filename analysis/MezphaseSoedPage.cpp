#include "analysis/MezphaseSoedPage.h"

#include "model/SettingsStore.h"

namespace {

constexpr int kIa = 1007, kIb = 1008, kIc = 1009;
constexpr int kUa = 1043, kUb = 1044, kUc = 1045;
constexpr int kUab = 1010, kUbc = 1011;
constexpr int kCalcIb = 2046;
constexpr int kPhaseVoltages = 2050, kLineVoltages = 2051;
constexpr int kAccurateCurrent = 2042;
constexpr int kIbHolder = 2079, kUabHolder = 2090, kUbcHolder = 2094, kUcaHolder = 2095;

}  // namespace

MezphaseSoedPage::MezphaseSoedPage() : QAnHolderPage({kIbHolder, kUabHolder, kUbcHolder, kUcaHolder}) {}

void MezphaseSoedPage::MakeItems() {
    const bool calcIb = Checked(kCalcIb);
    if (calcIb) {
        // The page has no zero-sequence current: the composition writes it as 0.
        Compose(401, L"Ib");
        SetHolder(kIbHolder, UniqueName(L"Ib"));
    }
    if (!Has(kPhaseVoltages)) return;
    // The voltage holders are read as plain arguments, not as channel names: the names go in
    // already written the way a formula names a channel.
    if (Checked(kPhaseVoltages)) {
        Compose(449, L"Uab");
        Compose(511, L"Ubc");
        Compose(512, L"Uca");
        SetHolder(kUabHolder, FormulaChannelArgument(UniqueName(L"Uab")));
        SetHolder(kUbcHolder, FormulaChannelArgument(UniqueName(L"Ubc")));
        SetHolder(kUcaHolder, FormulaChannelArgument(UniqueName(L"Uca")));
        Compose(calcIb ? 802 : 804, L"Zab");
        Compose(calcIb ? 803 : 513, L"Zbc");
    } else {
        Compose(450, L"Uca");
        SetHolder(kUcaHolder, FormulaChannelArgument(UniqueName(L"Uca")));
        Compose(calcIb ? 806 : 805, L"Zab");
        Compose(calcIb ? 808 : 807, L"Zbc");
    }
    Compose(514, L"Zca");
}

void MezphaseSoedPage::GetCircleDiagramItems(QAnNameSet& out) {
    out.clear();
    if (Checked(kPhaseVoltages)) out = {L"Zab", L"Zbc", L"Zca"};
}

QAnDiagramOptions MezphaseSoedPage::GetDiagramOptions() {
    QAnDiagramOptions options;
    options.circleView2 = true;
    return options;
}

void MezphaseSoedPage::UpdateControls() {
    bool ok = !Text(kAccurateCurrent).IsEmpty() && Chosen(kIa) && (Chosen(kIb) || Checked(kCalcIb)) && Chosen(kIc);
    if (!Checked(kLineVoltages)) ok = ok && AllChosen({kUa, kUb, kUc});
    if (!Checked(kPhaseVoltages)) ok = ok && AllChosen({kUab, kUbc});
    EnableOk(ok);
}

void MezphaseSoedPage::ApplyVoltageRule() {
    const bool phase = Checked(kPhaseVoltages);
    Enable({kUa, kUb, kUc, 2057, 2058, 2059}, phase);
    Enable({kUab, kUbc, 2070, 2071}, !phase);
}

void MezphaseSoedPage::ApplyIbRule() { Enable({kIb, 2054}, !Checked(kCalcIb)); }

void MezphaseSoedPage::ApplyRules(int id) {
    if (id == kCalcIb) ApplyIbRule();
    if (id == kPhaseVoltages || id == kLineVoltages) ApplyVoltageRule();
}

namespace {

const std::initializer_list<std::pair<int, const wchar_t*>> kChannels = {
    {kIa, L"IA"}, {kIb, L"IB"}, {kIc, L"IC"}, {kUa, L"UA"}, {kUb, L"UB"}, {kUc, L"UC"}, {kUab, L"UAB"}, {kUbc, L"UBC"},
};
const std::initializer_list<std::pair<int, const wchar_t*>> kEdits = {{kAccurateCurrent, L"itr"}};
const std::initializer_list<std::pair<int, const wchar_t*>> kChecks = {
    {kPhaseVoltages, L"phaseVoltState"}, {kLineVoltages, L"lineVoltState"}, {kCalcIb, L"calcIBState"}};

}  // namespace

void MezphaseSoedPage::LoadState(SettingsNode& category) {
    RestoreEdits(category, kEdits);
    RestoreChannels(category, kChannels);
    const bool phase = m_filler.window && RestoreCheck(*m_filler.window, category, L"phaseVoltState", kPhaseVoltages);
    const bool line = m_filler.window && RestoreCheck(*m_filler.window, category, L"lineVoltState", kLineVoltages);
    if (m_filler.window) RestoreCheck(*m_filler.window, category, L"calcIBState", kCalcIb);
    // One of the two voltage kinds is always chosen; phase voltages unless line ones were kept.
    CheckRadio(line && !phase ? kLineVoltages : kPhaseVoltages, {kPhaseVoltages, kLineVoltages});
    OnControlChanged(kPhaseVoltages);
    OnControlChanged(kCalcIb);
}

void MezphaseSoedPage::SaveState(SettingsNode& category) {
    SaveEdits(category, kEdits);
    SaveChannels(category, kChannels);
    SaveChecks(category, kChecks);
}
