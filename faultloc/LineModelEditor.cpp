#include "faultloc/LineModelEditor.h"

#include <algorithm>

#include "model/Resources.h"
#include "model/SettingsStore.h"

namespace {

using Data = WrongPlaceLocatorData;

CString Numbered(unsigned id, int number) {
    CString s;
    s.Format(L"%s%i", LoadResString(id).GetString(), number);
    return s;
}

constexpr unsigned kStationNumbered = 9200;  // "Подстанция №"
constexpr unsigned kSectionNumbered = 9201;  // "Участок №"
constexpr unsigned kParallelNumbered = 9202;  // "Параллельная линия №"
constexpr unsigned kConnectionNumbered = 9203;  // "Отпайка №"

bool ShowsChildren(int methodType) {
    return methodType == Data::EarthedNeutral || methodType == Data::TwoEnded;
}

const wchar_t kOmpCategory[] = L"omp";

}  // namespace

CString StationLabel(int stationIndex, int methodType) {
    if (methodType == Data::TwoEnded) return Numbered(kStationNumbered, stationIndex + 1);
    return LoadResString(3383);
}
CString SectionLabel(int number) { return Numbered(kSectionNumbered, number); }
CString ParallelLineLabel(int number) { return Numbered(kParallelNumbered, number); }
CString ConnectionLabel(int number) { return Numbered(kConnectionNumbered, number); }

LineModelEditor::LineModelEditor(const WrongPlaceLocatorData& model) : m_model(model) {}

// ---- the tree ------------------------------------------------------------------------------

void LineModelEditor::AddNode(Element* e, int parent, const CString& label, int image) {
    m_nodes.push_back({e, parent, parent < 0 ? 0 : m_nodes[size_t(parent)].depth + 1, label, image});
}

void LineModelEditor::FillTree(bool selectStation1) {
    Element* keep = m_selected;
    m_nodes.clear();
    m_selected = nullptr;
    const int type = m_model.methodType;
    const int shown = type == Data::TwoEnded ? 2 : 1;
    for (int st = 0; st < shown; ++st) {
        Data::Station& station = m_model.GetStation(st);
        const int stationNode = int(m_nodes.size());
        AddNode(&station, -1, StationLabel(st, type), StationImage);
        for (size_t k = 0; k < station.sections.size(); ++k) {
            Data::Section* section = station.sections[k].get();
            section->parent = &station;
            const int sectionNode = int(m_nodes.size());
            AddNode(section, stationNode, SectionLabel(int(k) + 1), SectionImage);
            if (!ShowsChildren(type)) continue;
            for (size_t j = 0; j < section->parallelLines.size(); ++j) {
                section->parallelLines[j]->parent = section;
                AddNode(section->parallelLines[j].get(), sectionNode, ParallelLineLabel(int(j) + 1), ParallelLineImage);
            }
            for (size_t j = 0; j < section->connections.size(); ++j) {
                section->connections[j]->parent = section;
                AddNode(section->connections[j].get(), sectionNode, ConnectionLabel(int(j) + 1), ConnectionImage);
            }
        }
    }
    if (selectStation1 || NodeOf(keep) < 0)
        m_selected = &m_model.station1;
    else
        m_selected = keep;
}

int LineModelEditor::NodeOf(const Element* element) const {
    if (!element) return -1;
    for (size_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].element == element) return int(i);
    return -1;
}

bool LineModelEditor::Select(const Element* element) {
    const int n = NodeOf(element);
    if (n < 0) return false;
    m_selected = m_nodes[size_t(n)].element;
    return true;
}

void LineModelEditor::SetExpanded(Element* element, bool expanded) {
    if (NodeOf(element) >= 0) element->expanded = expanded;
}

int LineModelEditor::SubtreeEnd(int node) const {
    size_t i = size_t(node) + 1;
    while (i < m_nodes.size() && m_nodes[i].depth > m_nodes[size_t(node)].depth) ++i;
    return int(i);
}

void LineModelEditor::InsertNode(size_t pos, Element* e, int parent, const CString& label, int image) {
    m_nodes.insert(m_nodes.begin() + std::ptrdiff_t(pos),
                   Node{e, parent, m_nodes[size_t(parent)].depth + 1, label, image});
    // Items after the new one moved down by one.
    for (size_t i = pos + 1; i < m_nodes.size(); ++i)
        if (m_nodes[i].parent >= int(pos)) ++m_nodes[i].parent;
}

// ---- method ----------------------------------------------------------------------------------

int LineModelEditor::MethodIndexOf(int methodType) {
    switch (methodType) {
        case Data::IsolatedNeutral: return 0;
        case Data::EarthedNeutral: return 1;
        case Data::TwoEnded: return 2;
        default: return -1;
    }
}

int LineModelEditor::MethodTypeAt(int index) {
    static const int types[] = {Data::IsolatedNeutral, Data::EarthedNeutral, Data::TwoEnded};
    return index >= 0 && index < 3 ? types[index] : 0;
}

void LineModelEditor::SetMethodIndex(int index) {
    const int type = MethodTypeAt(index);
    if (type == 0) return;
    m_model.methodType = type;
    FillTree(true);
}

// ---- grid ------------------------------------------------------------------------------------

std::vector<LineModelEditor::Row> LineModelEditor::Rows() const {
    std::vector<Row> rows;
    if (!m_selected) return rows;
    for (const auto& p : m_selected->params) {
        if ((p.methodMask & m_model.methodType) == 0) continue;
        if (p.stationIndex != -1 && p.stationIndex != m_selected->stationIndex) continue;
        rows.push_back({p.name, p.value, p.plain != 1});
    }
    return rows;
}

std::vector<CString> LineModelEditor::ChannelChoices(const std::vector<CString>& channelNames) {
    std::vector<CString> out;
    for (const CString& n : channelNames)
        if (std::find(out.begin(), out.end(), n) == out.end()) out.push_back(n);
    return out;
}

void LineModelEditor::SetValue(const CString& name, const CString& value) {
    if (m_selected) m_selected->SetParam(name, value);
}

// ---- commands --------------------------------------------------------------------------------

LineModelEditor::Commands LineModelEditor::Available() const {
    Commands c;
    const Element* e = m_selected;
    if (!e) return c;
    const bool children = ShowsChildren(m_model.methodType);
    c.addSection = e->CanHoldSections() && e->stationIndex == 0;
    c.addParallelLine = children && e->CanHoldParallelLines();
    c.addConnection = children && e->CanHoldConnections();
    c.remove = e->IsRemovable();
    c.moveUp = e->CanMoveUp();
    c.moveDown = e->CanMoveDown();
    return c;
}

void LineModelEditor::AddSection() {
    if (!Available().addSection) return;
    Element* station = m_selected;
    Data::Section* section = station->AddSection();
    if (!section) return;
    const int stationNode = NodeOf(station);
    InsertNode(size_t(SubtreeEnd(stationNode)), section, stationNode, SectionLabel(station->GetSectionCount()),
               SectionImage);
    m_selected = section;
}

void LineModelEditor::AddParallelLine() {
    if (!Available().addParallelLine) return;
    auto* section = static_cast<Data::Section*>(m_selected);
    const int sectionNode = NodeOf(section);
    // After the section's last parallel line, else first among its children.
    size_t pos = size_t(sectionNode) + 1;
    for (int i = sectionNode + 1; i < SubtreeEnd(sectionNode); ++i)
        if (m_nodes[size_t(i)].image == ParallelLineImage) pos = size_t(i) + 1;
    Data::ParallelLine* line = section->AddParallelLine();
    InsertNode(pos, line, sectionNode, ParallelLineLabel(section->GetParallelLineCount()), ParallelLineImage);
    m_selected = line;
}

void LineModelEditor::AddConnection() {
    if (!Available().addConnection) return;
    auto* section = static_cast<Data::Section*>(m_selected);
    const int sectionNode = NodeOf(section);
    Data::Connection* tap = section->AddConnection();
    InsertNode(size_t(SubtreeEnd(sectionNode)), tap, sectionNode, ConnectionLabel(section->GetConnectionCount()),
               ConnectionImage);
    m_selected = tap;
}

void LineModelEditor::RemoveSelected() {
    Element* e = m_selected;
    if (!e || !e->IsRemovable()) return;
    const int node = NodeOf(e);
    if (node < 0) return;
    const int end = SubtreeEnd(node);
    const int parent = m_nodes[size_t(node)].parent;
    // The neighbouring item takes the selection: the next one of the same parent, else the
    // previous one, else the parent.
    Element* next = nullptr;
    if (end < int(m_nodes.size()) && m_nodes[size_t(end)].parent == parent) next = m_nodes[size_t(end)].element;
    if (!next) {
        for (int i = node - 1; i > parent; --i)
            if (m_nodes[size_t(i)].parent == parent) {
                next = m_nodes[size_t(i)].element;
                break;
            }
    }
    if (!next && parent >= 0) next = m_nodes[size_t(parent)].element;
    const int removed = end - node;
    m_nodes.erase(m_nodes.begin() + node, m_nodes.begin() + end);
    for (size_t i = size_t(node); i < m_nodes.size(); ++i)
        if (m_nodes[i].parent >= end) m_nodes[i].parent -= removed;
    // The other items keep their numbers until the tree is built anew.
    m_selected = next;
    e->Remove();
}

void LineModelEditor::MoveSelectedUp() {
    Element* e = m_selected;
    if (!e || !e->CanMoveUp()) return;
    e->MoveUp();
    FillTree(false);
    Select(e);
}

void LineModelEditor::MoveSelectedDown() {
    Element* e = m_selected;
    if (!e || !e->CanMoveDown()) return;
    e->MoveDown();
    FillTree(false);
    Select(e);
}

// ---- files -----------------------------------------------------------------------------------

LineModelEditor::LoadResult LineModelEditor::Load(const CString& path, CString* error) {
    SettingsStore store;
    CString why;
    if (!store.Load(path, &why)) {
        if (error) *error = why;
        return LoadResult::Unreadable;
    }
    WrongPlaceLocatorData loaded = m_model;
    if (store.GetCategoryCount() > 0) {
        // A settings file of another kind (a record's ".set", say) holds no line model: it is
        // refused rather than read as an empty model of the older layout.
        const auto& cats = store.GetCategories();
        auto it = cats.find(CString(kOmpCategory));
        if (it == cats.end()) return LoadResult::NotALineModel;
        loaded.Load(it->second);
    } else if (!loaded.LoadLegacyText(path)) {
        return LoadResult::NotALineModel;
    }
    m_model = loaded;
    FillTree(true);
    return LoadResult::Loaded;
}

bool LineModelEditor::Save(const CString& path, CString* error) const {
    SettingsStore store;
    m_model.Save(store.GetCategory(kOmpCategory));
    return store.Save(path, error);
}
