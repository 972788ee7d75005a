#include "app/PaneLayout.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cwchar>

namespace panelayout {

bool IsEdge(int dock) { return dock >= 1 && dock <= 4; }

std::vector<EdgePane> ParseEdgePanes(const std::wstring& text, const std::vector<std::wstring>& known) {
    std::vector<EdgePane> panes;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find(L';', from);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring entry = text.substr(from, end - from);
        from = end + 1;
        const size_t colon = entry.rfind(L':');
        if (colon == std::wstring::npos || colon == 0 || colon + 1 >= entry.size()) continue;
        const std::wstring name = entry.substr(0, colon);
        const std::wstring edge = entry.substr(colon + 1);
        if (edge.size() != 1 || edge[0] < L'1' || edge[0] > L'4') continue;
        if (std::find(known.begin(), known.end(), name) == known.end()) continue;
        if (std::any_of(panes.begin(), panes.end(), [&](const EdgePane& p) { return p.name == name; })) continue;
        panes.push_back({name, int(edge[0] - L'0')});
    }
    return panes;
}

std::wstring FormatEdgePanes(const std::vector<EdgePane>& panes) {
    std::wstring text;
    for (const EdgePane& p : panes) {
        if (!IsEdge(p.dock)) continue;
        if (!text.empty()) text += L';';
        text += p.name + L':' + std::to_wstring(p.dock);
    }
    return text;
}

namespace {

struct Field {
    const wchar_t* key;
    int PanePlace::*number;
    bool PanePlace::*flag;
};
const Field kFields[] = {
    {L"dir", &PanePlace::dock, nullptr},          {L"layer", &PanePlace::layer, nullptr},
    {L"row", &PanePlace::row, nullptr},           {L"pos", &PanePlace::position, nullptr},
    {L"prop", &PanePlace::proportion, nullptr},   {L"bestw", &PanePlace::width, nullptr},
    {L"besth", &PanePlace::height, nullptr},      {L"float", nullptr, &PanePlace::floating},
    {L"shown", nullptr, &PanePlace::shown},       {L"floatx", &PanePlace::floatX, nullptr},
    {L"floaty", &PanePlace::floatY, nullptr},     {L"floatw", &PanePlace::floatW, nullptr},
    {L"floath", &PanePlace::floatH, nullptr},
};

bool ReadNumber(const std::wstring& text, long& value) {
    if (text.empty() || text.size() > 11) return false;
    wchar_t* end = nullptr;
    errno = 0;
    value = std::wcstol(text.c_str(), &end, 10);
    return errno == 0 && end == text.c_str() + text.size() && value >= INT32_MIN && value <= INT32_MAX;
}

}  // namespace

std::wstring FormatPanePlace(const PanePlace& place) {
    std::wstring text;
    for (const Field& f : kFields) {
        if (!text.empty()) text += L';';
        text += f.key;
        text += L'=';
        text += std::to_wstring(f.number ? place.*f.number : int(place.*f.flag));
    }
    return text;
}

bool ReadPanePlace(const std::wstring& text, PanePlace& place) {
    PanePlace read;
    bool edge = false;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find(L';', from);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring part = text.substr(from, end - from);
        from = end + 1;
        const size_t eq = part.find(L'=');
        if (eq == std::wstring::npos) continue;
        const std::wstring key = part.substr(0, eq);
        for (const Field& f : kFields) {
            if (key != f.key) continue;
            long value = 0;
            if (!ReadNumber(part.substr(eq + 1), value)) return false;
            if (f.number) read.*f.number = int(value);
            else read.*f.flag = value != 0;
            edge |= f.number == &PanePlace::dock;
        }
    }
    if (!edge) return false;
    place = read;
    return true;
}

bool IsUsablePlace(const PanePlace& place, int maxLayer, int screenW, int screenH) {
    // Sizes the toolkit keeps as "not given" are -1; anything else must fit the screen.
    auto size = [](int v, int limit) { return v == -1 || (v > 0 && v <= limit); };
    if (place.floating) {
        if (place.floatW < 80 || place.floatH < 60 || place.floatW > screenW || place.floatH > screenH) return false;
        // The title bar, by which it is moved, must be reachable.
        return place.floatX > -place.floatW + 40 && place.floatX < screenW - 40 && place.floatY >= 0 &&
               place.floatY < screenH - 20;
    }
    if (!IsEdge(place.dock) || place.layer < 0 || place.layer > maxLayer || place.row < 0 || place.row > 4) return false;
    return size(place.width, screenW) && size(place.height, screenH);
}

}  // namespace panelayout
