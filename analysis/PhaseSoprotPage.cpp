#include "analysis/PhaseSoprotPage.h"

#include "model/Resources.h"
#include "model/SettingsStore.h"

namespace {

constexpr unsigned kStrNotCounted = 3299;

constexpr int kIa = 1007, kIb = 1008, kIc = 1009;
constexpr int kUa = 1043, kUb = 1044, kUc = 1045;
constexpr int kAccurateCurrent = 2042;
constexpr int kSpecific = 2123, kCoefficients = 2124;
constexpr int kR0 = 1052, kR1 = 1053, kX0 = 1050, kX1 = 1051;
constexpr int kK0 = 2121, kF0 = 2122;
constexpr int kParallelI0 = 2043;
constexpr int kRm = 2044, kXm = 2045, kKm = 2125, kFm = 2126;
constexpr int kI0Holder = 2079;

const std::initializer_list<std::pair<int, const wchar_t*>> kEdits = {
    {kR0, L"R0"}, {kR1, L"R1"}, {kX0, L"X0"}, {kX1, L"X1"}, {kK0, L"K0"},  {kF0, L"F0"},
    {kRm, L"RM"}, {kXm, L"XM"}, {kKm, L"KM"}, {kFm, L"FM"}, {kAccurateCurrent, L"ITR"},
};
const std::initializer_list<std::pair<int, const wchar_t*>> kChannels = {
    {kIa, L"IA"}, {kIb, L"IB"}, {kIc, L"IC"}, {kUa, L"UA"}, {kUb, L"UB"}, {kUc, L"UC"}, {kParallelI0, L"3I0n"},
};
const std::initializer_list<std::pair<int, const wchar_t*>> kChecks = {
    {kSpecific, L"specificState"}, {kCoefficients, L"compensateState"}};

}  // namespace

PhaseSoprotPage::PhaseSoprotPage() : QAnHolderPage({kI0Holder}) {}

void PhaseSoprotPage::MakeItems() {
    Compose(402, L"3I0");
    SetHolder(kI0Holder, UniqueName(L"3I0"));
    if (!Has(kSpecific)) return;
    const bool specific = Checked(kSpecific);
    Compose(specific ? 519 : 546, L"Za");
    Compose(specific ? 544 : 547, L"Zb");
    Compose(specific ? 545 : 548, L"Zc");
}

void PhaseSoprotPage::GetCircleDiagramItems(QAnNameSet& out) { out = {L"Za", L"Zb", L"Zc"}; }

QAnDiagramOptions PhaseSoprotPage::GetDiagramOptions() {
    QAnDiagramOptions options;
    options.circleView2 = true;
    return options;
}

bool PhaseSoprotPage::HasParallelLine() const {
    const CString text = Text(kParallelI0);
    return !text.IsEmpty() && text != LoadResString(kStrNotCounted);
}

void PhaseSoprotPage::UpdateControls() {
    bool ok = AllChosen({kIa, kIb, kIc, kUa, kUb, kUc}) && NoneEmpty({kAccurateCurrent});
    if (!Checked(kCoefficients)) ok = ok && NoneEmpty({kR0, kR1, kX0, kX1});
    if (!Checked(kSpecific)) ok = ok && NoneEmpty({kK0, kF0});
    if (HasParallelLine()) {
        if (!Checked(kCoefficients)) ok = ok && NoneEmpty({kXm, kRm});
        if (!Checked(kSpecific)) ok = ok && NoneEmpty({kKm, kFm});
    }
    EnableOk(ok);
}

void PhaseSoprotPage::ApplyModeRule() {
    const bool specific = Checked(kSpecific);
    Enable({kR0, kR1, kX0, kX1}, specific);
    Enable({kK0, kF0}, !specific);
    const bool parallel = HasParallelLine();
    Enable({kRm, kXm}, parallel && specific);
    Enable({kKm, kFm}, parallel && !specific);
}

void PhaseSoprotPage::ApplyRules(int id) {
    if (id == kSpecific || id == kCoefficients || id == kParallelI0) ApplyModeRule();
}

void PhaseSoprotPage::LoadState(SettingsNode& category) {
    RestoreEdits(category, kEdits);
    RestoreChannels(category, kChannels);
    if (!m_filler.window) return;
    const bool specific = RestoreCheck(*m_filler.window, category, L"specificState", kSpecific);
    const bool coefficients = RestoreCheck(*m_filler.window, category, L"compensateState", kCoefficients);
    CheckRadio(coefficients && !specific ? kCoefficients : kSpecific, {kSpecific, kCoefficients});
    OnControlChanged(kSpecific);
}

void PhaseSoprotPage::SaveState(SettingsNode& category) {
    SaveEdits(category, kEdits);
    SaveChannels(category, kChannels);
    SaveChecks(category, kChecks);
}
