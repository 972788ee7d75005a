#include "diagrams/ProtectionBlock.h"

#include <algorithm>
#include <filesystem>

#include "document/TenvorikDoc.h"
#include "model/DocumentModel.h"
#include "model/Resources.h"
#include "model/XmlDocument.h"
#include "platform/Encoding.h"
#include "platform/Exception.h"
#include "platform/FileSystem.h"

namespace {

struct ColourPair {
    COLORREF pen, fill;
};
const ColourPair kColours[9] = {
    {RGB(1, 37, 255), RGB(210, 253, 255)},   {RGB(202, 1, 252), RGB(254, 205, 254)}, {RGB(34, 177, 76), RGB(212, 240, 220)},
    {RGB(254, 0, 0), RGB(254, 208, 216)},    {RGB(0, 162, 232), RGB(153, 217, 234)}, {RGB(163, 73, 164), RGB(237, 219, 237)},
    {RGB(63, 72, 204), RGB(217, 219, 245)},  {RGB(163, 73, 164), RGB(255, 201, 14)}, {RGB(136, 0, 21), RGB(232, 205, 209)},
};

void ReadCommon(const XmlNode& node, Figure& f) {
    f.mode = node.GetAttribute(L"mode") == L"on" ? 1 : 0;
    const CString t = node.GetAttribute(L"type");
    // A figure that names no combination joins the zone, as most zones are unions.
    f.type = t == L"and" ? 1 : t == L"xor" ? 3 : t == L"not" ? 4 : 2;
}

int ReadLineType(const CString& text) {
    const std::wstring s = text.GetString();
    if (s.empty()) return 0;
    size_t used = 0;
    try {
        const long v = std::stol(s, &used, 10);
        return used == s.size() ? int(v) : 0;
    } catch (...) {
        return 0;
    }
}

std::unique_ptr<Figure> ReadFigure(const XmlNode& node) {
    const CString& kind = node.GetName();
    std::unique_ptr<Figure> figure;
    if (kind == L"polygon") {
        auto p = std::make_unique<PolygonF>();
        for (const XmlNode& line : node.GetChildren())
            p->lines.push_back({line.GetAttribute(L"k"), line.GetAttribute(L"b"), ReadLineType(line.GetAttribute(L"type"))});
        p->vertices.resize(p->lines.size());
        figure = std::move(p);
    } else if (kind == L"polypoint") {
        auto p = std::make_unique<PolypointF>();
        for (const XmlNode& pt : node.GetChildren()) p->points.push_back({pt.GetAttribute(L"x"), pt.GetAttribute(L"y")});
        p->coordinates.resize(p->points.size());
        p->closed = node.GetAttribute(L"closed") != L"off";
        figure = std::move(p);
    } else if (kind == L"circle") {
        auto c = std::make_unique<Circle>();
        c->xcenter = node.GetAttribute(L"xcenter");
        c->ycenter = node.GetAttribute(L"ycenter");
        c->radius = node.GetAttribute(L"radius");
        figure = std::move(c);
    } else if (kind == L"ellipse") {
        auto e = std::make_unique<EllipseF>();
        e->xcenter = node.GetAttribute(L"xcenter");
        e->ycenter = node.GetAttribute(L"ycenter");
        e->height = node.GetAttribute(L"height");
        e->width = node.GetAttribute(L"width");
        e->angle = node.GetAttribute(L"angle");
        figure = std::move(e);
    }
    if (figure) ReadCommon(node, *figure);
    return figure;
}

}  // namespace

Characteristic::Characteristic() { calculator.SetChannelMode(false); }

Characteristic::Characteristic(const Characteristic& other)
    : parameters(other.parameters), variables(other.variables), name(other.name), dimension(other.dimension),
      calculator(other.calculator), visible(other.visible), colorIndex(other.colorIndex) {
    for (const auto& f : other.figures) figures.push_back(f->Clone());
}

Characteristic& Characteristic::operator=(const Characteristic& other) {
    if (this == &other) return *this;
    Characteristic copy(other);
    *this = std::move(copy);
    return *this;
}

double Characteristic::Evaluate(const CString& expression) {
    calculator.Tokenize(expression);
    return calculator.Evaluate().real;
}

bool ProtectionBlock::ApplyParameters() {
    try {
        for (Characteristic& c : characteristics) {
            c.calculator.Variables().clear();
            for (const BlockParameter& p : c.parameters) c.calculator.SetVariable(p.name, p.value);
            for (const BlockVariable& v : c.variables) c.calculator.SetVariable(v.name, v.expression);
            for (auto& f : c.figures) f->Recalculate(c);
        }
    } catch (CException* e) {
        PostExceptionToMainFrame(e);
        return false;
    }
    return true;
}

void ProtectionBlock::SaveSelection(CTenvorikDoc* doc, bool circle) const {
    if (!doc) return;
    SettingsNode& node = doc->m_settings.GetCategory(circle ? L"Circle Chart" : L"Diff Chart");
    node.SetString(L"SelectedBlock", name);
    SettingsNode& selected = node.GetSubCategory(L"Selected Block");
    for (const Characteristic& c : characteristics) {
        SettingsNode& cn = selected.GetSubCategory(c.name);
        cn.SetInt(L"visible", c.visible ? 1 : 0);
        for (const BlockParameter& p : c.parameters) cn.GetSubCategory(p.name).SetString(L"value", p.value);
    }
    doc->SetModifiedFlag(true);
}

void ProtectionBlock::LoadSelection(CTenvorikDoc* doc, bool circle) {
    if (!doc) return;
    SettingsNode& selected = doc->m_settings.GetCategory(circle ? L"Circle Chart" : L"Diff Chart").GetSubCategory(L"Selected Block");
    for (Characteristic& c : characteristics) {
        SettingsNode& cn = selected.GetSubCategory(c.name);
        c.visible = cn.GetInt(L"visible", 1) != 0;
        for (BlockParameter& p : c.parameters) p.value = cn.GetSubCategory(p.name).GetString(L"value", p.defaultValue);
    }
}

COLORREF CharacteristicPenColor(uint32_t colorIndex) { return kColours[colorIndex % 9].pen; }
COLORREF CharacteristicFillColor(uint32_t colorIndex) { return kColours[colorIndex % 9].fill; }

void AddProtectionBlocks(std::vector<ProtectionBlock>& blocks, const XmlNode& root, bool diff) {
    for (const XmlNode& blockNode : root.GetChildren()) {
        ProtectionBlock block;
        block.name = blockNode.GetAttribute(L"name");
        for (const XmlNode& cNode : blockNode.GetChildren()) {
            const CString dimension = cNode.GetAttribute(L"dimension");
            if ((dimension == L"DIF") != diff) continue;
            Characteristic c;
            c.name = cNode.GetAttribute(L"name");
            c.dimension = dimension;
            c.colorIndex = uint32_t(block.characteristics.size());
            for (const XmlNode& item : cNode.GetChildren()) {
                if (item.GetName() == L"parameter") {
                    const CString def = item.GetAttribute(L"default");
                    c.parameters.push_back({item.GetAttribute(L"name"), def, def});
                } else if (item.GetName() == L"var") {
                    c.variables.push_back({item.GetAttribute(L"name"), item.GetAttribute(L"expression")});
                } else if (auto f = ReadFigure(item)) {
                    c.figures.push_back(std::move(f));
                }
            }
            block.characteristics.push_back(std::move(c));
        }
        if (!block.characteristics.empty()) blocks.push_back(std::move(block));
    }
}

void LoadProtectionBlocks(std::vector<ProtectionBlock>& blocks, bool diff, const CString& folder) {
    namespace fs = std::filesystem;
    blocks.clear();
    ProtectionBlock none;
    none.name = LoadResString(3306);
    blocks.push_back(std::move(none));
    fs::path dir;
    if (folder.IsEmpty())
        dir = fs::path(platform::WideToUtf8(platform::ExecutablePath().GetString())).parent_path();
    else
        dir = fs::path(platform::WideToUtf8(folder.GetString()));
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".tvb" && it->is_regular_file(ec)) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        XmlDocument xml;
        xml.LoadFile(CString(platform::Utf8ToWide(file.string()).c_str()), true);
        AddProtectionBlocks(blocks, xml.GetRoot(), diff);
    }
}

std::vector<CString> BlockTypeOptions(const std::vector<ProtectionBlock>& blocks) {
    std::vector<CString> names;
    for (const ProtectionBlock& b : blocks)
        if (std::find(names.begin(), names.end(), b.name) == names.end()) names.push_back(b.name);
    return names;
}
