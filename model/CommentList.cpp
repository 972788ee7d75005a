#include "model/CommentList.h"

#include <algorithm>
#include <cwchar>
#include <cmath>
#include <locale.h>

#include "model/Channel.h"
#include "model/CommentStrings.h"
#include "model/DocumentModel.h"
#include "model/Resources.h"
#include "model/SettingsStore.h"
#include "platform/Encoding.h"
#include "platform/draw/DeviceContext.h"

namespace {

struct Group {
    const wchar_t* group;
    const wchar_t* item;
    int kind;
};
// Loading order of the groups; items are numbered from 1 within their group.
const Group kGroups[] = {
    {L"Areas", L"Area", CommentItem::kArea},
    {L"Levels", L"Level", CommentItem::kLevel},
    {L"Moments", L"Moment", CommentItem::kMoment},
};

// The number of an item's sub-category ("Moment12" -> 12); 0 for a name of no item.
int ItemNumber(const CString& name, const wchar_t* prefix) {
    const std::wstring& s = name.str();
    const size_t n = std::wcslen(prefix);
    if (s.size() <= n || s.compare(0, n, prefix) != 0 || s[n] == L'0' || s.size() - n > 9) return 0;
    int v = 0;
    for (size_t i = n; i < s.size(); ++i) {
        if (s[i] < L'0' || s[i] > L'9') return 0;
        v = v * 10 + (s[i] - L'0');
    }
    return v;
}

std::unique_ptr<CommentItem> MakeItem(int kind) {
    switch (kind) {
        case CommentItem::kMoment: return std::make_unique<MomentItem>(0, CString());
        case CommentItem::kLevel: return std::make_unique<LevelItem>(CString(), 0, 0.0);
        default: return std::make_unique<AreaItem>(CString(), 0);
    }
}

const SettingsNode* FindSub(const SettingsNode& node, const wchar_t* name) {
    const auto& subs = node.GetSubCategories();
    const auto it = subs.find(CString(name));
    return it == subs.end() ? nullptr : &it->second;
}

}  // namespace

void DrawCommentIcon(CDC* dc, int x, int y) {
    dc->FillSolidRect(x, y, 20, 20, RGB(255, 0, 0));
    CPen outline(PS_SOLID, 1, RGB(90, 90, 90));
    CBrush paper(RGB(255, 255, 225));
    CPen* oldPen = dc->SelectObject(&outline);
    CBrush* oldBrush = dc->SelectObject(&paper);
    dc->RoundRect(x + 1, y + 1, x + 19, y + 14, 5, 5);
    const POINT tail[3] = {{x + 5, y + 13}, {x + 4, y + 19}, {x + 10, y + 13}};
    dc->Polygon(tail, 3);
    CPen ink(PS_SOLID, 1, RGB(60, 60, 140));
    dc->SelectObject(&ink);
    for (int k = 0; k < 3; ++k) {
        dc->MoveTo(x + 4, y + 4 + 3 * k);
        dc->LineTo(x + (k == 2 ? 12 : 16), y + 4 + 3 * k);
    }
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

CommentList::CommentList(DocumentModel* doc) : m_doc(doc) {
    CBitmap icon;
    CDC dc;
    if (icon.CreateTransparentBitmap(m_iconWidth, m_iconHeight) && dc.CreateCompatibleDC(nullptr)) {
        CBitmap* old = dc.SelectObject(&icon);
        DrawCommentIcon(&dc, 0, 0);
        dc.SelectObject(old);
    }
    m_icons.Create(m_iconWidth, m_iconHeight, 0, 0, 0);
    m_icons.Add(&icon, RGB(255, 0, 0));
}

CommentList::~CommentList() = default;

CommentItem* CommentList::Add(std::unique_ptr<CommentItem> item) {
    m_items.push_back(std::move(item));
    return m_items.back().get();
}

CommentItem* CommentList::GetSelected() const {
    return m_selected >= 0 && size_t(m_selected) < m_items.size() ? m_items[size_t(m_selected)].get() : nullptr;
}

void CommentList::SetSelected(const CommentItem* item) {
    m_selected = -1;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == item) m_selected = int(i);
}

void CommentList::SetTool(int tool) {
    m_tool = tool;
    if (tool == kNoTool) m_step = 0;
}

ChannelLayoutMap CommentList::BuildChannelLayout(const CDC* dc) const {
    ChannelLayoutMap layout;
    if (!m_doc || !m_view) return layout;
    int64_t y = 0;
    int previous = 0;
    for (const CChannel& ch : m_doc->GetOscillogram().m_channels) {
        if (!(ch.m_flags & CHF_VISIBLE)) continue;
        const int h = m_view->GetChannelHeight(ch);
        if (h == 0) {
            layout[ch.GetName()] = ChannelRow{int(y - previous), previous};
        } else {
            // The rows of a printed picture break into pages as the curves do.
            if (dc) m_view->PlaceRow(dc, y, h);
            layout[ch.GetName()] = ChannelRow{int(y), h};
            previous = h;
            y += h;
        }
    }
    return layout;
}

CommentItem* CommentList::FindItemAt(int leftWidth, int64_t firstSample, int x, int contentY, double xScale) const {
    if (!m_doc) return nullptr;
    const ChannelLayoutMap layout = BuildChannelLayout();
    for (const auto& item : m_items)
        if (item->IsValid(*m_doc) && item->HitTest(x, contentY, leftWidth, xScale, firstSample, layout, *m_doc))
            return item.get();
    return nullptr;
}

CommentItem* CommentList::FindItemToEdit(int leftWidth, int64_t firstSample, int x, int contentY,
                                        double xScale) const {
    if (CommentItem* item = FindItemAt(leftWidth, firstSample, x, contentY, xScale)) return item;
    if (!m_doc) return nullptr;
    const ChannelLayoutMap layout = BuildChannelLayout();
    // The last drawn is the one on top.
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if ((*it)->GetKind() != CommentItem::kArea || !(*it)->IsValid(*m_doc)) continue;
        int l = 0, t = 0, r = 0, b = 0;
        static_cast<const AreaItem&>(**it).GetRect(leftWidth, xScale, firstSample, layout, l, t, r, b);
        if (l == 0 && t == 0 && r == 0 && b == 0) continue;
        if (x >= l && x < r && contentY >= t && contentY < b) return it->get();
    }
    return nullptr;
}

int CommentList::HitTestPart(int x, int contentY, int64_t firstSample, int leftWidth, double xScale) {
    int index = -1, step = 0;
    const int mode = PartAt(x, contentY, firstSample, leftWidth, xScale, &index, &step);
    if (mode) {
        // The drag takes the item it started on, whatever the hover chose.
        m_selected = index;
        m_step = step;
    }
    return mode;
}

int CommentList::PartAt(int x, int contentY, int64_t firstSample, int leftWidth, double xScale, int* index,
                        int* step) const {
    if (!m_doc) return 0;
    const ChannelLayoutMap layout = BuildChannelLayout();
    const int64_t a = CommentSampleAt(x - 10, leftWidth, firstSample, xScale);
    const int64_t b = CommentSampleAt(x + 10, leftWidth, firstSample, xScale);
    for (size_t i = 0; i < m_items.size(); ++i) {
        const CommentItem& item = *m_items[i];
        if (item.m_locked || !item.IsValid(*m_doc) ||
            !item.HitTest(x, contentY, leftWidth, xScale, firstSample, layout, *m_doc))
            continue;
        int part = 0;
        if (!item.HitTestRange(a, b, part)) continue;
        if (index) *index = int(i);
        if (step) *step = part;
        return part == CommentItem::kLevelLine ? 10 : 9;
    }
    return 0;
}

int32_t CommentList::SampleAt(int x, int leftWidth, int64_t firstSample, double xScale) const {
    const int64_t s = CommentSampleAt(x, leftWidth, firstSample, xScale);
    const int64_t count = m_doc ? m_doc->GetOscillogram().GetSampleCount() : 0;
    return int32_t(std::clamp<int64_t>(s, 0, std::max<int64_t>(count - 1, 0)));
}

const CChannel* CommentList::LevelChannelAt(int x, int contentY, const ChannelLayoutMap& layout,
                                            ChannelRow& row) const {
    const CChannel* ch = m_view ? m_view->ChannelFromPoint(x, contentY) : nullptr;
    if (!ch || ch->IsDiscrete()) return nullptr;
    const auto it = layout.find(ch->GetName());
    if (it == layout.end()) return nullptr;
    row = it->second;
    return ch;
}

void CommentList::OnLButtonDown(int leftWidth, int64_t firstSample, int x, int contentY, double xScale) {
    if (!m_doc || GetSelected() || x <= leftWidth) return;
    const int32_t s = SampleAt(x, leftWidth, firstSample, xScale);
    switch (m_tool) {
        case kMomentTool:
            Add(std::make_unique<MomentItem>(s, CString()));
            m_tool = kNoTool;
            m_step = 0;
            m_doc->SetModifiedFlag(true);
            break;
        case kAreaTool: {
            const CChannel* ch = m_view ? m_view->ChannelFromPoint(x, contentY) : nullptr;
            if (!ch) return;
            Add(std::make_unique<AreaItem>(ch->GetName(), s));
            m_step = 1;
            break;
        }
        case kLevelTool: {
            const ChannelLayoutMap layout = BuildChannelLayout();
            ChannelRow row;
            const CChannel* ch = LevelChannelAt(x, contentY, layout, row);
            if (!ch) return;
            const double f = row.height > 10 ? double(row.top + row.height - 5 - contentY) / (row.height - 10) : 0.5;
            auto* item = static_cast<LevelItem*>(Add(std::make_unique<LevelItem>(ch->GetName(), s, 0.0)));
            item->SetLevelFromFraction(*m_doc, f);
            m_step = 1;
            break;
        }
        default: return;
    }
    m_selected = int(m_items.size()) - 1;
}

bool CommentList::OnMouseMove(int leftWidth, int64_t firstSample, int x, int contentY, double xScale) {
    CommentItem* selected = GetSelected();
    if (!m_doc || !selected || x < leftWidth || selected->m_locked) return false;
    CommentItem* item = m_step == 1 && !m_items.empty() ? m_items.back().get() : selected;
    const int32_t s = SampleAt(x, leftWidth, firstSample, xScale);
    switch (item->GetKind()) {
        case CommentItem::kMoment:
            static_cast<MomentItem*>(item)->m_position = s;
            m_doc->SetModifiedFlag(true);
            return true;
        case CommentItem::kArea: {
            auto* area = static_cast<AreaItem*>(item);
            if (m_step == 2) {
                area->m_positionFrom = s;
            } else if (m_step == 3) {
                area->m_positionTo = s;
            } else if (const CChannel* ch = m_view ? m_view->ChannelFromPoint(x, contentY) : nullptr) {
                area->SetChannelTo(ch->GetName());
                area->m_positionTo = s;
            }
            return true;
        }
        case CommentItem::kLevel: {
            auto* level = static_cast<LevelItem*>(item);
            if (m_step == 2) {
                level->m_positionFrom = s;
            } else if (m_step == 4) {
                const ChannelLayoutMap layout = BuildChannelLayout();
                ChannelRow row;
                if (const CChannel* ch = LevelChannelAt(x, contentY, layout, row)) {
                    level->m_channel = ch->GetName();
                    const double f =
                        row.height > 10 ? double(row.top + row.height - 5 - contentY) / (row.height - 10) : 0.5;
                    level->SetLevelFromFraction(*m_doc, f);
                }
            } else {
                level->m_positionTo = s;
            }
            return true;
        }
        default: return false;
    }
}

void CommentList::OnLButtonUp() {
    CommentItem* item = m_step == 1 && !m_items.empty() ? m_items.back().get() : GetSelected();
    if (item && item->GetKind() == CommentItem::kLevel) {
        auto* level = static_cast<LevelItem*>(item);
        if (level->m_positionFrom > level->m_positionTo) std::swap(level->m_positionFrom, level->m_positionTo);
    }
    m_tool = kNoTool;
    m_step = 0;
    if (m_doc) m_doc->SetModifiedFlag(true);
}

bool CommentList::EditSelected() {
    CommentItem* item = GetSelected();
    if (!item || !m_editText) return false;
    CString text = item->m_text;
    if (!m_editText(text)) return false;
    item->m_text = text;
    if (m_doc) m_doc->SetModifiedFlag(true);
    return true;
}

bool CommentList::DeleteSelected() {
    if (!GetSelected()) return false;
    m_items.erase(m_items.begin() + m_selected);
    m_selected = -1;
    if (m_doc) m_doc->SetModifiedFlag(true);
    return true;
}

void CommentList::RemoveInvalid() { TakeInvalid(); }

CommentList::TakenItems CommentList::TakeInvalid() {
    TakenItems taken;
    if (!m_doc) return taken;
    std::vector<std::unique_ptr<CommentItem>> kept;
    kept.reserve(m_items.size());
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->IsValid(*m_doc)) kept.push_back(std::move(m_items[i]));
        else taken.push_back(Taken{i, std::move(m_items[i])});
    }
    m_items = std::move(kept);
    m_selected = -1;
    return taken;
}

void CommentList::PutBack(TakenItems items) {
    // Ascending places: each item goes where it stood among those before it.
    std::sort(items.begin(), items.end(), [](const Taken& a, const Taken& b) { return a.index < b.index; });
    for (Taken& t : items)
        if (t.item) m_items.insert(m_items.begin() + std::ptrdiff_t(std::min(t.index, m_items.size())), std::move(t.item));
    m_selected = -1;
}

int CommentList::RemoveItemsOutside() {
    if (!m_doc) return 0;
    const int64_t samples = m_doc->GetOscillogram().GetSampleCount();
    const size_t before = m_items.size();
    std::erase_if(m_items, [&](const std::unique_ptr<CommentItem>& item) {
        return !item->IsValid(*m_doc) || !item->FitsSamples(samples);
    });
    m_selected = -1;
    return int(before - m_items.size());
}

void CommentList::Draw(CDC* dc, int right, int bottom, int yOffset, int leftWidth, int64_t firstSample,
                       double xScale) {
    if (!dc || !m_doc || m_items.empty()) return;
    const ChannelLayoutMap layout = BuildChannelLayout(dc);
    CPen thin(PS_SOLID, 1, RGB(255, 100, 100));
    CPen wide(PS_SOLID, 3, RGB(255, 100, 100));
    CPen selectedPen(PS_SOLID, 3, RGB(192, 0, 0));
    CBrush fill(RGB(255, 0, 0));
    CommentDrawContext ctx;
    ctx.dc = dc;
    ctx.right = right;
    ctx.bottom = bottom;
    ctx.yOffset = yOffset;
    ctx.leftWidth = leftWidth;
    ctx.firstSample = firstSample;
    ctx.xScale = xScale;
    ctx.iconWidth = m_iconWidth;
    ctx.iconHeight = m_iconHeight;
    ctx.icons = &m_icons;
    ctx.layout = &layout;
    ctx.thinPen = &thin;
    ctx.widePen = &wide;
    ctx.selectedPen = &selectedPen;
    ctx.fillBrush = &fill;
    ctx.font = dc->GetCurrentFont();
    ctx.selected = GetSelected();
    ctx.differencePanel = m_view && m_view->ShowsDifferencePanel();

    const int saved = dc->SaveDC();
    const int band = ctx.differencePanel ? 75 : 30;
    RECT clip{leftWidth, 0, right, bottom - band};
    dc->IntersectClipRect(&clip);
    // A printed picture has a time axis at the foot of every page: a moment's line stops
    // above each, as it stops above the last.
    if (const int64_t page = m_view ? m_view->PageHeight(dc) : 0; page > band) {
        for (int64_t foot = page; foot < bottom - band; foot += page) {
            RECT axis{leftWidth, int(foot - band), right, int(foot)};
            dc->LPtoDP(&axis);
            CRgn region;
            region.CreateRectRgnIndirect(&axis);
            dc->SelectClipRgn(&region, RGN_DIFF);
        }
    }
    for (const auto& item : m_items)
        if (item->IsValid(*m_doc)) item->Draw(ctx, *m_doc);
    if (const CommentItem* sel = ctx.selected; sel && sel->IsValid(*m_doc)) {
        sel->Draw(ctx, *m_doc);
        sel->DrawLabel(ctx, *m_doc);
    }
    dc->RestoreDC(saved);
}

void CommentList::Save(SettingsNode* category) const {
    if (!category) return;
    SettingsNode* groups[4] = {};
    for (const Group& g : kGroups) {
        SettingsNode& node = category->GetSubCategory(g.group);
        node.Clear();
        groups[g.kind] = &node;
    }
    int numbers[4] = {0, 0, 0, 0};
    for (const auto& item : m_items) {
        const int kind = item->GetKind();
        if (kind < 1 || kind > 3) continue;
        const Group& g = *std::find_if(std::begin(kGroups), std::end(kGroups), [kind](const Group& x) { return x.kind == kind; });
        CString name;
        name.Format(L"%ls%d", g.item, ++numbers[kind]);
        item->Save(&groups[kind]->GetSubCategory(name));
    }
}

int CommentList::Load(const SettingsNode* category) {
    if (!category) return 0;
    m_items.clear();
    m_selected = -1;
    int dropped = 0;
    for (const Group& g : kGroups) {
        const SettingsNode* group = FindSub(*category, g.group);
        if (!group) continue;
        // In the order of their numbers, so that saving again writes the same file.
        std::vector<std::pair<int, const SettingsNode*>> entries;
        for (const auto& [name, node] : group->GetSubCategories()) {
            const int n = ItemNumber(name, g.item);
            if (n > 0) entries.emplace_back(n, &node);
            else ++dropped;  // no item of this group
        }
        std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& entry : entries) {
            std::unique_ptr<CommentItem> item = MakeItem(g.kind);
            if (item->Load(entry.second)) Add(std::move(item));
            else ++dropped;
        }
    }
    return dropped;
}

void CommentList::SetSelectedLevel(const CString& text) {
    CommentItem* item = GetSelected();
    if (!m_doc || !item || item->GetKind() != CommentItem::kLevel) return;
    auto* level = static_cast<LevelItem*>(item);
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    wchar_t* end = nullptr;
    const double v = c ? wcstod_l(text.GetString(), &end, c) : std::wcstod(text.GetString(), &end);
    if (end == text.GetString() || !std::isfinite(v)) return;
    const CChannel* ch = FindCommentChannel(*m_doc, level->m_channel);
    if (ch && ch->m_min <= v && v <= ch->m_max) level->m_positionY = v;
}

bool CommentList::GetSelectedLevelPlace(int64_t& sample, int& y, double& value) const {
    sample = 0;
    y = 0;
    value = 0;
    const CommentItem* item = GetSelected();
    if (!m_doc || !item || item->GetKind() != CommentItem::kLevel) return false;
    const auto* level = static_cast<const LevelItem*>(item);
    if (!FindCommentChannel(*m_doc, level->m_channel)) return false;
    const ChannelLayoutMap layout = BuildChannelLayout();
    int x1 = 0, x2 = 0, yl = 0;
    if (!level->GetLinePlace(0, 1.0, 0, layout, *m_doc, x1, x2, yl)) yl = 0;
    sample = level->m_positionTo;
    y = yl + 3;
    value = level->m_positionY;
    return true;
}

void CommentList::GetMomentTexts(std::map<int64_t, CString>& out) const {
    out.clear();
    for (const auto& item : m_items)
        if (item->GetKind() == CommentItem::kMoment)
            out[static_cast<const MomentItem&>(*item).m_position] = item->m_visible ? item->m_text : CString();
}

CString HeaderCommentToText(const CStringA& bytes, int option) {
    // Straight from the code page: a DOS text's pseudo-graphics, which Windows-1251 lacks,
    // read as themselves instead of as '?'.
    const std::string b(bytes.view());
    return CString(option ? platform::AnsiToWide(b) : platform::OemToWide(b));
}

CStringA HeaderCommentFromText(const CString& text, int option) {
    return CStringA(option ? platform::WideToAnsi(text.str()) : platform::WideToOem(text.str()));
}

CString HeaderCommentUnfitChars(const CString& text, int option) {
    std::wstring unfit;
    for (wchar_t c : text.str()) {
        if (unfit.find(c) != std::wstring::npos) continue;
        const std::wstring one(1, c);
        if (HeaderCommentToText(HeaderCommentFromText(CString(one), option), option).str() != one) unfit += c;
    }
    return CString(unfit);
}

CString HeaderCommentLossQuestion(const CString& text, int option, int& suggested) {
    suggested = -1;
    const CString unfit = HeaderCommentUnfitChars(text, option);
    if (unfit.IsEmpty()) return CString();
    // Each character apart, so that a dash or a quote stands out.
    CString list;
    for (int i = 0; i < unfit.GetLength() && i < 20; ++i) {
        if (i) list += L" ";
        list += unfit.Mid(i, 1);
    }
    if (unfit.GetLength() > 20) list += L" …";
    const CString pages[2] = {LoadResString(IDS_COMMENT_CODEPAGE_OEM), LoadResString(IDS_COMMENT_CODEPAGE_ANSI)};
    const int mine = option ? 1 : 0, other = 1 - mine;
    CString question;
    if (HeaderCommentUnfitChars(text, other).IsEmpty()) {
        suggested = other;
        question.Format(LoadResString(IDS_COMMENT_LOSS_OTHER_PAGE).GetString(), pages[mine].GetString(),
                        list.GetString(), pages[other].GetString());
    } else {
        question.Format(LoadResString(IDS_COMMENT_LOSS_NO_PAGE).GetString(), list.GetString(), pages[0].GetString(),
                        pages[1].GetString());
    }
    return question;
}
