#include "faultloc/DocumentLocatorRecord.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "model/DocumentModel.h"

int DocumentLocatorRecord::GetSampleCount() const { return m_doc.GetOscillogram().GetSampleCount(); }

double DocumentLocatorRecord::GetSamplingFrequency() const { return m_doc.GetOscillogram().m_samplingFrequency; }

double DocumentLocatorRecord::GetNetFrequency() const { return m_doc.GetOscillogram().m_netFrequency; }

void DocumentLocatorRecord::ReadDisplayValues(const CString& name, int first, int count, double* out) const {
    const CChannel& ch = m_doc.GetOscillogram().FindChannel(name);
    if (count <= 0) return;
    const size_t n = ch.GetSampleCount(), begin = size_t(std::max(first, 0)), end = size_t(first) + size_t(count);
    const size_t have = std::min(end, n);
    if (begin < have) ch.ReadValues(begin, have, out, false);
    std::fill(out + (begin < have ? have - begin : 0), out + count, 0.0);
}

int DocumentLocatorRecord::FindChannelIndex(const CString& name) const {
    return m_doc.GetOscillogram().FindChannelIndex(name);
}

double DocumentLocatorRecord::GetSampleTimeUs(int sample) const {
    return sample < 0 ? 0.0 : double(m_doc.GetSampleTime(uint32_t(sample)));
}

double DocumentLocatorRecord::GetSampleFrequency(int channel, int sample) const {
    const COscillogram& osc = m_doc.GetOscillogram();
    if (sample < 0) return 0;
    const size_t k = size_t(sample);
    if (channel >= 0 && channel < int(osc.m_channels.size())) {
        const auto& f = osc.m_channels[size_t(channel)].m_netFrequency;
        if (k < f.size()) return f[k];
    }
    return k < osc.m_sampleFrequency.size() ? osc.m_sampleFrequency[k] : 0.0;
}

void DocumentLocatorRecord::SetCalculatedChannel(const CString& name, const CString& unit,
                                                 const std::vector<double>& values) {
    m_doc.GetOscillogram().SetCalculatedChannel(name, unit, values);
}

void DocumentLocatorRecord::SetDiscreteChannel(const CString& name, const std::vector<int>& flags) {
    if constexpr (std::is_same_v<int, int32_t>) m_doc.GetOscillogram().SetDiscreteChannel(name, flags);
    else m_doc.GetOscillogram().SetDiscreteChannel(name, std::vector<int32_t>(flags.begin(), flags.end()));
}

void DocumentLocatorRecord::RemoveChannel(const CString& name) { m_doc.GetOscillogram().RemoveChannel(name); }

bool DocumentLocatorRecord::GetChannelRatio(const CString& name, double& primary, double& secondary) const {
    const COscillogram& osc = m_doc.GetOscillogram();
    // The same choice as FindChannel, without an exception for a name that is not there.
    const CChannel* found = nullptr;
    for (const CChannel& ch : osc.m_channels) {
        if (ch.GetName() == name) {
            found = &ch;
            break;
        }
        if (!found && ch.GetName().CompareNoCase(name) == 0) found = &ch;
    }
    if (!found) return false;
    primary = found->m_primary;
    secondary = found->m_secondary;
    return true;
}
