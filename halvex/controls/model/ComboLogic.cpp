#include "halvex/controls/model/ComboLogic.h"

#include <algorithm>
#include <cwchar>

#include "halvex/helpers/Ai_File.h"
#include "halvex/helpers/Ai_Str.h"
#include "platform/AtomicFile.h"
#include "platform/Encoding.h"

namespace halvex {

namespace {
// Text files hold no control characters but line breaks and tabs; anything else is a file
// that is not ours (or a broken one), which is read as holding nothing.
bool LooksLikeText(const CString& text) {
    for (wchar_t c : text.view())
        if ((c < 0x20 && c != L'\r' && c != L'\n' && c != L'\t') || c == 0xFFFD) return false;
    return true;
}
}  // namespace

void RememberedTexts::Load(const CString& path, int max) {
    m_max = max;
    m_texts.clear();
    CString text;
    if (CAi_File::ReadFileToString(path, &text) < 0 || text.IsEmpty() || !LooksLikeText(text)) return;
    std::vector<CString> lines;
    CAi_Str::CutString(text, L"\r\n", &lines, L"~");
    std::erase_if(lines, [](const CString& l) { return l.IsEmpty(); });
    if (max >= 0 && int(lines.size()) > max) {
        m_changed = true;
        // Lines are oldest first: the most recent ones are the last.
        lines.erase(lines.begin(), lines.end() - max);
    }
    for (const CString& line : lines) {
        // The time follows the last "|", so that a text may hold one itself.
        const int bar = line.ReverseFind(L'|');
        CString t = bar >= 0 ? line.Left(bar) : line;
        int64_t time = 0;
        if (bar >= 0) {
            const CString number = line.Mid(bar + 1);
            wchar_t* end = nullptr;
            const long long v = std::wcstoll(number.GetString(), &end, 10);
            if (end && end != number.GetString()) time = v;
        }
        m_texts.emplace(time, t);
    }
}

CString RememberedTexts::FileText() const {
    CString text;
    for (const auto& [time, t] : m_texts) {
        if (!text.IsEmpty()) text += L"\r\n";
        CString line;
        line.Format(L"%s|%lld", t.GetString(), static_cast<long long>(time));
        text += line;
    }
    return text;
}

bool RememberedTexts::Save(const CString& path) {
    if (!m_changed) return true;
    if (!CAi_File::IsFileExist(path) || CAi_File::IsFolderExist(path)) return true;
    const std::string bytes = platform::WideToUtf16Le(FileText().view(), true);
    if (!platform::TryWriteFileAtomically(path, bytes)) return false;
    m_changed = false;
    return true;
}

std::vector<CString> RememberedTexts::MostRecentFirst() const {
    std::vector<CString> r;
    for (auto it = m_texts.rbegin(); it != m_texts.rend(); ++it) r.push_back(it->second);
    return r;
}

bool RememberedTexts::Contains(const CString& text) const {
    return std::any_of(m_texts.begin(), m_texts.end(), [&](const auto& p) { return p.second == text; });
}

bool RememberedTexts::Renew(const CString& text, int64_t now) {
    for (auto it = m_texts.begin(); it != m_texts.end(); ++it)
        if (it->second == text) {
            m_texts.erase(it);
            m_texts.emplace(now, text);
            m_changed = true;
            return true;
        }
    return false;
}

void RememberedTexts::Choose(const CString& text, int64_t now) {
    if (text.IsEmpty()) return;
    m_changed = true;
    if (Renew(text, now)) return;
    while (!m_texts.empty() && int(m_texts.size()) >= m_max) m_texts.erase(m_texts.begin());
    if (m_max > 0) m_texts.emplace(now, text);
}

CString RememberedTexts::Find(FindTextMode mode, const CString& text, int64_t* time) const {
    if (time) *time = 0;
    if (m_texts.empty()) return CString();
    auto answer = [&](const std::pair<const int64_t, CString>& p) {
        if (time) *time = p.first;
        return p.second;
    };
    switch (mode) {
        case eFindMostRecent: return answer(*m_texts.rbegin());
        case eFindOldest: return answer(*m_texts.begin());
        case eFindGiven:
            for (const auto& p : m_texts)
                if (p.second == text) return answer(p);
            return CString();
    }
    return CString();
}

int FindItemStartingWith(const std::vector<CString>& items, const CString& typed) {
    if (typed.IsEmpty()) return -1;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].GetLength() >= typed.GetLength() && items[i].Left(typed.GetLength()).CompareNoCase(typed) == 0)
            return int(i);
    return -1;
}

int FindItemExact(const std::vector<CString>& items, const CString& text) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].CompareNoCase(text) == 0) return int(i);
    return -1;
}

int DropDownHeight(int itemHeight, int items, int editHeight) {
    return itemHeight * std::min(std::max(items, 0) + 1, 8) + editHeight;
}

int SetDisabledItem(std::vector<int>& disabled, int itemCount, int index, int disable) {
    if (index < 0 || index >= itemCount) return 0;
    auto it = std::find(disabled.begin(), disabled.end(), index);
    if (disable) {
        if (it == disabled.end()) disabled.push_back(index);
    } else if (it != disabled.end()) {
        disabled.erase(it);
    }
    return 1;
}

int SkipDisabled(const std::vector<int>& disabled, int itemCount, int index, int wheelDelta) {
    auto off = [&](int i) { return std::find(disabled.begin(), disabled.end(), i) != disabled.end(); };
    if (index < 0 || index >= itemCount || !off(index)) return index;
    const int step = wheelDelta < 0 ? 1 : -1;
    const int next = index + step;
    return next >= 0 && next < itemCount ? next : index;
}

}  // namespace halvex
