#include "halvex/config/DescriptorRecords.h"

#include <atomic>
#include <cmath>
#include <set>

#include "halvex/helpers/Ai_Str.h"

CString COMPLEX_VALUE::GetStringValue(EViewChannelType view, int precision) const {
    if (IsEmpty()) return CString();
    if (view == eViewRectangular) {
        CString imag = m_sImag;
        bool negative = !imag.IsEmpty() && imag[0] == L'-';
        if (!imag.IsEmpty() && (imag[0] == L'-' || imag[0] == L'+')) imag = imag.Mid(1);
        return m_sReal + (negative ? L"-" : L"+") + L"j" + imag;
    }
    if (view == eViewPolar) {
        double re = CAi_Str::ToFloat(m_sReal), im = CAi_Str::ToFloat(m_sImag);
        constexpr double kPi = 3.14159265358979323846;
        CString s;
        s.Format(L"%.*f;%.2f", precision < 0 ? 0 : precision, std::hypot(re, im), std::atan2(im, re) * 180.0 / kPi);
        return s;
    }
    return CString();
}

namespace {
std::atomic<int> g_nameMaxWidth{0};
}

int DEVICEMENU::GetNameMaxWidth() { return g_nameMaxWidth.load(); }
void DEVICEMENU::SetNameMaxWidth(int width) { g_nameMaxWidth.store(width); }

bool DEVICEMENU::operator==(const DEVICEMENU& o) const {
    if (m_vItems.size() != o.m_vItems.size()) return false;
    if (m_arrName != o.m_arrName || m_nValue1 != o.m_nValue1 || m_nValue2 != o.m_nValue2 || m_nValue3 != o.m_nValue3)
        return false;
    for (int i = 0; i < 3; ++i)
        if (m_sText[i] != o.m_sText[i] || m_arrCtrlSignals[i] != o.m_arrCtrlSignals[i]) return false;
    for (int i = 0; i < 8; ++i)
        if (m_sTexts8[i] != o.m_sTexts8[i]) return false;
    for (int i = 0; i < 10; ++i)
        if (m_sTexts10[i] != o.m_sTexts10[i]) return false;
    return m_vItems == o.m_vItems;
}

std::array<CString, 3>* DEVICEMENU::getCtrlSignals(int target) {
    if (target == eCtrlName) return &m_arrName;
    if (target >= 1 && target <= 3) return &m_arrCtrlSignals[target - 1];
    return nullptr;
}

CString DEVICEMENU::getCtrlSignal(int target) const {
    const std::array<CString, 3>* names = target == eCtrlName ? &m_arrName
                                          : target >= 1 && target <= 3 ? &m_arrCtrlSignals[target - 1] : nullptr;
    if (!names) return CString();
    for (const CString& n : *names)
        if (!n.IsEmpty()) return n;
    return CString();
}

void DEVICEMENU::getChildFrames(const CString& name, std::vector<menu_tag>& out) const {
    out.clear();
    const FRAME_ENTRY* frame = nullptr;
    for (const FRAME_ENTRY& f : m_vFrameEntries)
        if (f.m_sName == name) {
            frame = &f;
            break;
        }
    if (!frame || frame->m_nId == 2147483647) return;
    std::set<std::wstring> keys;
    for (const menu_tag& item : m_vItems)
        if (item.m_nFrameId == frame->m_nId) keys.insert(item.m_sKey.str());
    for (const menu_tag& item : m_vItems)
        if (keys.count(item.m_sKey.str())) out.push_back(item);
}
