#include "model/ChannelCollection.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "model/DocumentModel.h"
#include "model/Parallel.h"
#include "model/TenvorikException.h"

namespace {

// Candidates are equal ignoring case; the exact match wins, else the first candidate.
template <class Vec, class Get, class Str>
auto FindByName(Vec& channels, const Str& name, Get get) -> decltype(&channels[0]) {
    decltype(&channels[0]) first = nullptr;
    for (auto& ch : channels) {
        const Str& candidate = get(ch);
        if (candidate.CompareNoCase(name) != 0) continue;
        if (candidate == name) return &ch;
        if (!first) first = &ch;
    }
    return first;
}

}  // namespace

CChannelCollection::CChannelCollection(DocumentModel* doc) : m_document(doc) {}

CChannelCollection::CChannelCollection(const CChannelCollection& other)
    : m_document(other.m_document),
      m_channels(other.m_channels),
      m_derivedChannels(other.m_derivedChannels ? other.m_derivedChannels->Clone() : nullptr),
      m_analogCount(other.m_analogCount),
      m_discreteCount(other.m_discreteCount),
      m_headerText(other.m_headerText) {
    RebindFrequencyChannels(other);
}

CChannelCollection& CChannelCollection::operator=(const CChannelCollection& other) {
    if (this == &other) return *this;
    m_document = other.m_document;
    m_channels = other.m_channels;
    m_derivedChannels = other.m_derivedChannels ? other.m_derivedChannels->Clone() : nullptr;
    m_analogCount = other.m_analogCount;
    m_discreteCount = other.m_discreteCount;
    m_headerText = other.m_headerText;
    RebindFrequencyChannels(other);
    return *this;
}

void CChannelCollection::RebindFrequencyChannels(const CChannelCollection& source) {
    m_frequencyChannels.clear();
    const CChannel* base = source.m_channels.data();
    for (const CChannel* p : source.m_frequencyChannels) {
        if (!p) continue;
        size_t index = size_t(p - base);
        if (index < m_channels.size()) m_frequencyChannels.push_back(&m_channels[index]);
    }
}

// ------------------------------------------------------------------ look-ups

CChannel& CChannelCollection::FindChannel(const CString& name) {
    CChannel* ch = FindByName(m_channels, name, [](const CChannel& c) -> const CString& { return c.m_name; });
    if (!ch) throw new CTenvorikException(354);
    return *ch;
}

const CChannel& CChannelCollection::FindChannel(const CString& name) const {
    const CChannel* ch = FindByName(m_channels, name, [](const CChannel& c) -> const CString& { return c.m_name; });
    if (!ch) throw new CTenvorikException(354);
    return *ch;
}

CChannel& CChannelCollection::FindChannelByFileName(const CStringA& fileName) {
    CChannel* ch =
        FindByName(m_channels, fileName, [](const CChannel& c) -> const CStringA& { return c.m_fileName; });
    if (!ch) throw new CTenvorikException(354);
    return *ch;
}

int CChannelCollection::FindChannelIndex(const CString& name) const {
    const CChannel* ch = FindByName(m_channels, name, [](const CChannel& c) -> const CString& { return c.m_name; });
    if (!ch || ch->m_netFrequency.empty()) return -1;
    return int(ch - m_channels.data());
}

int CChannelCollection::GetSampleCount() const {
    for (const CChannel& ch : m_channels)
        if (!ch.HasOwnTimeBase()) return int(ch.m_samples.size());
    return 0;
}

double CChannelCollection::GetDuration(bool ownTimeBase) const {
    for (const CChannel& ch : m_channels) {
        if (ch.HasOwnTimeBase() != ownTimeBase) continue;
        uint32_t count = ch.GetSampleCount();
        if (count == 0) return 0.0;
        return (ch.GetSampleTime(count - 1) - ch.GetSampleTime(0)) * 1e-6;
    }
    return 0.0;
}

CString CChannelCollection::GetFrequencyChannelName(int index) const {
    if (index < 0 || size_t(index) >= m_frequencyChannels.size() || !m_frequencyChannels[size_t(index)]) return CString();
    return m_frequencyChannels[size_t(index)]->GetName();
}

// ------------------------------------------------------------------ changes

template <class Ch>
void CChannelCollection::Insert(int position, Ch&& channel) {
    bool discrete = channel.IsDiscrete();
    // -1 appends; so does any other position before the start, which no caller means.
    if (position < 0 || size_t(position) >= m_channels.size())
        m_channels.push_back(std::forward<Ch>(channel));
    else
        m_channels.insert(m_channels.begin() + position, std::forward<Ch>(channel));
    if (discrete)
        ++m_discreteCount;
    else
        ++m_analogCount;
}

void CChannelCollection::AddChannel(int position, const CChannel& channel) {
    Insert(position, channel);
    // The vector may have moved: the frequency list must point into it again.
    std::vector<CChannel*> list;
    for (CChannel& ch : m_channels)
        if (ch.IsFrequencyUnit()) list.push_back(&ch);
    m_frequencyChannels.swap(list);
}

void CChannelCollection::AddChannel(int position, CChannel&& channel) {
    Insert(position, std::move(channel));
    std::vector<CChannel*> list;
    for (CChannel& ch : m_channels)
        if (ch.IsFrequencyUnit()) list.push_back(&ch);
    m_frequencyChannels.swap(list);
}

void CChannelCollection::AddProgramChannel(CChannel&& channel) {
    bool discrete = channel.IsDiscrete();
    size_t at = std::min(size_t(std::max(m_analogCount, 0)), m_channels.size());
    m_channels.insert(m_channels.begin() + std::ptrdiff_t(at), std::move(channel));
    RebuildFrequencyChannels();
    if (discrete)
        ++m_discreteCount;
    else
        ++m_analogCount;
}

void CChannelCollection::SetCalculatedChannel(const CString& name, const CString& unit, const std::vector<double>& values) {
    if (CChannel* ch = FindByName(m_channels, name, [](const CChannel& c) -> const CString& { return c.m_name; })) {
        ch->SetCalculatedValues(unit, values);
        return;
    }
    AddProgramChannel(CChannel(name, unit, values, m_document));
}

void CChannelCollection::SetComplexChannel(const CString& name, const CString& unit, const std::vector<double>& values,
                                           const std::vector<Complex>& complexValues) {
    if (CChannel* ch = FindByName(m_channels, name, [](const CChannel& c) -> const CString& { return c.m_name; })) {
        ch->SetComplexValues(unit, values, complexValues);
        return;
    }
    AddProgramChannel(CChannel(name, unit, values, complexValues, m_document));
}

void CChannelCollection::SetDiscreteChannel(const CString& name, const std::vector<int32_t>& states) {
    if (CChannel* ch = FindByName(m_channels, name, [](const CChannel& c) -> const CString& { return c.m_name; })) {
        ch->SetDiscreteValues(states);
        return;
    }
    AddProgramChannel(CChannel(name, states, m_document, RGB(249, 175, 172)));
}

void CChannelCollection::RemoveChannel(const CString& name) {
    auto it = std::find_if(m_channels.begin(), m_channels.end(), [&](const CChannel& c) { return c.m_name == name; });
    if (it != m_channels.end()) RemoveChannelAt(size_t(it - m_channels.begin()));
}

void CChannelCollection::RemoveChannelAt(size_t at) {
    if (at >= m_channels.size()) return;
    auto it = m_channels.begin() + std::ptrdiff_t(at);
    int index = int(at);
    if (it->IsDiscrete())
        --m_discreteCount;
    else
        --m_analogCount;
    m_channels.erase(it);
    RebuildFrequencyChannels();
    if (m_document) m_document->OnChannelRemoved(index);
}

void CChannelCollection::RebuildFrequencyChannels() {
    m_frequencyChannels.clear();
    for (CChannel& ch : m_channels)
        if (ch.IsFrequencyUnit()) m_frequencyChannels.push_back(&ch);
    if (!m_frequencyChannels.empty() && m_document) {
        int32_t& s = m_document->m_frequencyCorrectionChannel;
        if (s == 0 || size_t(s) > m_frequencyChannels.size()) s = 1;
    }
}

void CChannelCollection::ClearSelection() {
    for (CChannel& ch : m_channels) ch.m_selected = false;
}

void CChannelCollection::RecalcAll(bool rebuildTimes) {
    if (rebuildTimes && m_document) m_document->BuildSampleFrequencyTable();
    RecalcChannels(m_channels, m_document ? &m_document->m_progress : nullptr);
    if (m_derivedChannels) m_derivedChannels->ComputeChannels();
}

void RecalcChannels(std::vector<CChannel>& channels, LoadProgress* progress, bool onlyChanged) {
    // The channels to do, found before the threads start (the question reads the record).
    std::vector<size_t> todo;
    todo.reserve(channels.size());
    for (size_t k = 0; k < channels.size(); ++k)
        if (!onlyChanged || channels[k].NeedsRecalc()) todo.push_back(k);
    const size_t count = todo.size();
    size_t samples = 0;
    for (size_t k : todo) samples += channels[k].m_samples.size();
    const unsigned hw = tv::WorkerCount();
    // Small records are not worth the threads.
    size_t threads = samples < 200000 ? 1 : std::min<size_t>(hw, count);

    // Each failure is kept as thrown, so that the one passed on keeps its own type.
    struct Failure {
        std::exception_ptr thrown;
        CException* owned = nullptr;  // freed when another failure is reported instead
    };
    std::vector<Failure> errors(count);
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (;;) {
            if (progress && progress->Cancelled()) return;
            size_t k = next.fetch_add(1);
            if (k >= count) return;
            try {
                channels[todo[k]].Recalc();
            } catch (CException* e) {
                errors[k] = {std::current_exception(), e};
            } catch (...) {
                errors[k] = {std::current_exception(), nullptr};
            }
        }
    };
    if (threads <= 1) {
        work();
    } else {
        std::vector<std::thread> pool;
        try {
            pool.reserve(threads);
            for (size_t t = 0; t < threads; ++t) pool.emplace_back(work);
        } catch (...) {
            // Short of memory, a thread may not start: the work goes on with those that did
            // and with this one, instead of ending the program with the threads still running.
            work();
        }
        for (auto& t : pool) t.join();
    }
    // The first failure in channel order is reported, as a one-by-one pass would.
    std::exception_ptr first;
    for (Failure& f : errors) {
        if (!f.thrown) continue;
        if (!first)
            first = f.thrown;
        else if (f.owned)
            f.owned->Delete();
    }
    if (first) std::rethrow_exception(first);
}
