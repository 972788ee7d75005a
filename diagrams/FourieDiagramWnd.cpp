#include "diagrams/FourieDiagramWnd.h"

#include <algorithm>
#include <cmath>

#include "document/TenvorikDoc.h"
#include "model/Channel.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"

namespace {

const wchar_t kCategory[] = L"Frequency Chart";

// Samples of one period as the dialog counts them: both in whole numbers.
uint64_t WholeSamplesPerPeriod(double fs, double f) {
    if (!(f >= 1.0) || !(fs >= 1.0) || !std::isfinite(fs) || !std::isfinite(f)) return 0;
    return uint64_t(std::min(fs, 4294967295.0)) / uint64_t(std::min(f, 4294967295.0));
}

int ClampInt(double v) { return int(std::clamp(v, -2147483648.0, 2147483647.0)); }

}  // namespace

int FourieHarmonicsCap(double fs, double f, int periods) {
    if (!(f > 0) || !(fs > 0)) return 0;
    const double cap = std::trunc(fs / f * 0.5 * periods);
    return std::isfinite(cap) ? ClampInt(cap) : 0;
}

FourieSettings LoadFourieSettings(const SettingsNode& node, double fs, double f) {
    FourieSettings s;
    s.numPeriods = std::max(node.GetInt(L"NumPeriods", 1), 1);
    s.showPersents = node.GetInt(L"ShowPersents", 0) != 0 ? 1 : 0;
    s.useRms = node.GetInt(L"UseRMS", 0) != 0 ? 1 : 0;
    s.numHarmonics = std::max(node.GetInt(L"NumHarmonics", 10), 0);
    s.numHarmonics = std::min(s.numHarmonics, std::max(FourieHarmonicsCap(fs, f, s.numPeriods), 0));
    return s;
}

void StoreFourieSettings(SettingsNode& node, const FourieSettings& s) {
    node.SetInt(L"NumPeriods", s.numPeriods);
    node.SetInt(L"NumHarmonics", s.numHarmonics);
    node.SetInt(L"ShowPersents", s.showPersents);
    node.SetInt(L"UseRMS", s.useRms);
}

int FourieMaxPeriods(int64_t sampleCount, double fs, double f) {
    const uint64_t n = WholeSamplesPerPeriod(fs, f);
    if (n == 0 || sampleCount <= 0) return 1;
    return int(std::clamp<uint64_t>(uint64_t(sampleCount) / n, 1, 2147483647));
}

int FourieMaxHarmonics(double fs, double f, int periods) {
    if (!(f > 0) || !(fs > 0)) return 1;
    const double half = std::trunc(fs / f * 0.5) * std::max(periods, 1);
    return std::isfinite(half) ? std::max(ClampInt(half), 1) : 1;
}

CString FourieFrequencyLabel(int h, double f, int periods) {
    const double v = double(h) * f / std::max(periods, 1);
    CString t;
    t.Format(v == std::floor(v) ? L"%-.0f" : L"%-.1f", v);
    return t;
}

CString FourieValueText(double v, double base, bool percent) {
    if (percent && base == 0) return L"0";
    const double p = percent ? v * 100 / base : v;
    CString t;
    if (!(p >= 0.01))
        t = L"0";
    else if (p < 10)
        t.Format(L"%1.1f", p);
    else if (p < 100)
        t.Format(L"%2.1f", p);
    else
        t.Format(L"%10.0f", p);
    t.TrimLeft();
    return t;
}

void FourieDiagramWnd::LoadSettings() {
    if (CTenvorikDoc* doc = GetActiveDocument()) {
        const COscillogram& osc = doc->GetOscillogram();
        m_settings = LoadFourieSettings(doc->m_settings.GetCategory(kCategory), osc.m_samplingFrequency,
                                        osc.m_netFrequency);
    }
    Invalidate();
}

void FourieDiagramWnd::ApplySettings(const FourieSettings& s) {
    m_settings = s;
    if (CTenvorikDoc* doc = GetActiveDocument()) {
        StoreFourieSettings(doc->m_settings.GetCategory(kCategory), m_settings);
        doc->SetModifiedFlag(true);
    }
    Invalidate();
}

std::vector<double> FourieDiagramWnd::Components(const CChannel& ch, int at) const {
    std::vector<double> c(size_t(std::max(m_settings.numHarmonics, 0)) + 1);
    for (size_t k = 0; k < c.size(); ++k) c[k] = ch.GetHarmonicRmsOverPeriods(int(k), at, m_settings.numPeriods);
    return c;
}

bool FourieDiagramWnd::OnCommand(unsigned id) {
    CTenvorikDoc* doc = GetActiveDocument();
    if (id == ID_FOURIE_SETTINGS) {
        FourieSettings s = m_settings;
        if (doc && m_editor && m_editor(s)) ApplySettings(s);
        return true;
    }
    if (id == ID_FOURIE_SHOW_ALL || id == ID_FOURIE_HIDE_ALL) {
        if (!doc) return true;
        for (CChannel& ch : doc->m_oscillogram.m_channels) {
            if (ch.IsDiscrete()) continue;
            if (id == ID_FOURIE_HIDE_ALL)
                ch.m_flags &= ~uint32_t(CHF_FREQ_DIAGRAM);
            else if (!ch.HasOwnTimeBase())
                ch.m_flags |= CHF_FREQ_DIAGRAM;
        }
        doc->SetModifiedFlag(true);
        Invalidate();
        return true;
    }
    if (id >= ID_FOURIE_CHANNEL_FIRST && id < ID_FOURIE_CHANNEL_FIRST + kFourieMenuChannels) {
        if (!doc) return true;
        const size_t i = id - ID_FOURIE_CHANNEL_FIRST;
        auto& channels = doc->m_oscillogram.m_channels;
        if (i < channels.size()) {
            channels[i].m_flags ^= CHF_FREQ_DIAGRAM;
            channels[i].Recalc();
        }
        doc->SetModifiedFlag(true);
        Invalidate();
        return true;
    }
    return false;
}

void FourieDiagramWnd::OnUpdateCommand(CCmdUI& ui) {
    const unsigned id = ui.m_nID;
    if (id < ID_FOURIE_CHANNEL_FIRST || id >= ID_FOURIE_CHANNEL_FIRST + kFourieMenuChannels) return;
    const CTenvorikDoc* doc = GetActiveDocument();
    const size_t i = id - ID_FOURIE_CHANNEL_FIRST;
    if (!doc || i >= doc->m_oscillogram.m_channels.size()) return;
    const CChannel& ch = doc->m_oscillogram.m_channels[i];
    ui.SetCheck((ch.m_flags & CHF_FREQ_DIAGRAM) && !ch.HasOwnTimeBase());
}

std::vector<DiagramMenuItem> FourieDiagramWnd::BuildContextMenu() {
    const CTenvorikDoc* doc = GetActiveDocument();
    if (!doc) return {};
    std::vector<DiagramMenuItem> channels = {{ID_FOURIE_SHOW_ALL, LoadResString(ID_FOURIE_SHOW_ALL), {}},
                                             {ID_FOURIE_HIDE_ALL, LoadResString(ID_FOURIE_HIDE_ALL), {}},
                                             DiagramMenuItem::Separator()};
    const auto& list = doc->m_oscillogram.m_channels;
    for (size_t i = 0; i < list.size() && i < kFourieMenuChannels; ++i) {
        if (list[i].IsDiscrete() || list[i].HasOwnTimeBase()) continue;
        const size_t at = std::min(i + 3, channels.size());
        channels.insert(channels.begin() + std::ptrdiff_t(at),
                        DiagramMenuItem{ID_FOURIE_CHANNEL_FIRST + unsigned(i), list[i].GetName(), {}});
    }
    return {{0, LoadResString(35501), channels},
            DiagramMenuItem::Separator(),
            {ID_FOURIE_SETTINGS, LoadResString(ID_FOURIE_SETTINGS), {}}};
}
