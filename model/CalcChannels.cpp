#include "model/CalcChannels.h"

#include "model/DocumentModel.h"

void CalcChannels::ComputeChannels() {
    if (m_document && !m_list.empty()) m_document->ComputeCalcChannels(*this);
}

void CalcChannels::Clear() {
    auto list = std::move(m_list);
    m_list.clear();
    if (m_document)
        for (const auto& entry : list) m_document->m_oscillogram.RemoveChannel(entry.first);
}
