#include "orvinel/ComtradeConverter.h"

#include <cstring>
#include <list>

#include "orvinel/TextNumbers.h"
#include "utils/ArmXmlHelper.h"
#include "utils/ParamsTreeNode.h"

using orvinel::ParseDouble;
using orvinel::ParseInt;

namespace {

const wchar_t* BoolText(bool value) { return value ? L"True" : L"False"; }

CString IntText(long long value) {
    std::string s;
    orvinel::AppendInt(s, value);
    return CString(s.c_str());
}

// Optional flag: present means "True" exactly, absent keeps the value.
void ReadFlag(ParamsTreeNode* node, const wchar_t* name, bool& flag) {
    if (ParamsTreeNode* child = node->FindFirstNode(name)) flag = child->GetValue() == L"True";
}

bool ReadRequired(ParamsTreeNode* node, const wchar_t* name, CString& value) {
    ParamsTreeNode* child = node->FindFirstNode(name);
    if (!child) return false;
    value = child->GetValue();
    return true;
}

}  // namespace

// --- description records ---------------------------------------------------------------

bool MsMadData::ReadFromNode(ParamsTreeNode* node) {
    if (!node) return false;
    CString text;
    if (!ReadRequired(node, L"Size", text)) return false;
    Size = ParseInt(text);
    if (!ReadRequired(node, L"Offset", text)) return false;
    Offset = ParseInt(text);
    if (!ReadRequired(node, L"NameDes", NameDes) || !ReadRequired(node, L"Cft", Cft) || !ReadRequired(node, L"U", U))
        return false;
    ReadFlag(node, L"IsOscill", IsOscill);
    if (!ReadRequired(node, L"Freq", Freq)) return false;
    if (ParamsTreeNode* child = node->FindFirstNode(L"StrType")) StrType = child->GetValue();
    if (ParamsTreeNode* child = node->FindFirstNode(L"Fktr")) Fktr = float(ParseDouble(child->GetValue()));
    return true;
}

void MsMadData::WriteToNode(ParamsTreeNode* node) const {
    node->AddNode(L"Size", IntText(Size));
    node->AddNode(L"Offset", IntText(Offset));
    node->AddNode(L"NameDes", NameDes);
    node->AddNode(L"Cft", Cft);
    node->AddNode(L"U", U);
    node->AddNode(L"IsOscill", BoolText(IsOscill));
    node->AddNode(L"Freq", Freq);
    node->AddNode(L"StrType", StrType);
    std::string fktr;
    orvinel::AppendFixed(fktr, Fktr);
    node->AddNode(L"Fktr", CString(fktr.c_str()));
}

bool MatterUnit::ReadFromNode(ParamsTreeNode* node) {
    if (!node) return false;
    CString text;
    if (!ReadRequired(node, L"MatterDescrInd", text)) return false;
    MatterDescrInd = ParseInt(text);
    Data.clear();
    std::list<ParamsTreeNode*> entries;
    node->FindNodes(L"MsMadData", entries);
    for (ParamsTreeNode* entry : entries) {
        MsMadData data;
        if (!data.ReadFromNode(entry)) return false;
        Data.push_back(data);
    }
    return true;
}

void MatterUnit::WriteToNode(ParamsTreeNode* node) const {
    node->AddNode(L"MatterDescrInd", IntText(MatterDescrInd));
    for (const MsMadData& data : Data) data.WriteToNode(node->AddNode(L"MsMadData"));
}

void MsRaschVhParams::ReadFromNode(ParamsTreeNode* node) {
    if (!node) return;
    if (ParamsTreeNode* child = node->FindFirstNode(L"MsRaschVhCoeff")) coefficient = child->GetValue();
    if (ParamsTreeNode* child = node->FindFirstNode(L"MsRaschVhPhase")) phase = child->GetValue();
    if (ParamsTreeNode* child = node->FindFirstNode(L"MsRaschVhUnit")) unit = child->GetValue();
}

void MsRaschVhParams::WriteToNode(ParamsTreeNode* node) const {
    node->AddNode(L"MsRaschVhCoeff", coefficient);
    node->AddNode(L"MsRaschVhPhase", phase);
    node->AddNode(L"MsRaschVhUnit", unit);
}

OSC_InfoStruct& OSC_InfoStruct::operator=(const OSC_InfoStruct& other) {
    std::memmove(bytes, other.bytes, sizeof bytes);
    return *this;
}

// --- the converter ---------------------------------------------------------------------

ComtradeConverter::ComtradeConverter(int size, bool progress) : showProgress(progress), recordSize(size) {}

ComtradeConverter::ComtradeConverter(const ComtradeConverter& other) { *this = other; }

ComtradeConverter& ComtradeConverter::operator=(const ComtradeConverter& other) {
    if (this == &other) return *this;
    showProgress = other.showProgress;
    units = other.units;
    StationName = other.StationName;
    RecDev = other.RecDev;
    deviceModel = other.deviceModel;
    ControlSum = other.ControlSum;
    IsUseCompTimeForBlock = other.IsUseCompTimeForBlock;
    TimeZoneOffsetHours = other.TimeZoneOffsetHours;
    SwitchToSummerTime = other.SwitchToSummerTime;
    FreqAnalogInpName = other.FreqAnalogInpName;
    RaschVhParams = other.RaschVhParams;
    m_tree = other.m_tree;
    totalSamples = other.totalSamples;
    recordSize = other.recordSize;
    return *this;
}

ComtradeConverter::~ComtradeConverter() = default;

void ComtradeConverter::SetProgressInfoAbout(CString) {}
void ComtradeConverter::SetProgressInfoAboutFast(CString) {}
void ComtradeConverter::SetProgressBarPos(int) {}
void ComtradeConverter::SetProgressBarStep(CString) {}

void ComtradeConverter::ClearDstParams() {
    StationName.Empty();
    RecDev.Empty();
    ControlSum.Empty();
    units.clear();
    totalSamples = 0;
}

bool ComtradeConverter::ReadFromNode(ParamsTreeNode* root) {
    if (!root) return false;
    if (!ReadRequired(root, L"StationName", StationName) || !ReadRequired(root, L"RecDev", RecDev)) return false;
    if (ParamsTreeNode* node = root->FindFirstNode(L"ControlSum")) ControlSum = node->GetValue();
    ReadFlag(root, L"IsUseCompTimeForBlock", IsUseCompTimeForBlock);
    ReadFlag(root, L"SwitchToSummerTime", SwitchToSummerTime);
    if (ParamsTreeNode* node = root->FindFirstNode(L"TimeZoneOffsetHours")) TimeZoneOffsetHours = ParseInt(node->GetValue());

    ParamsTreeNode* unitsNode = root->FindFirstNode(L"MatterUnits");
    if (!unitsNode) return false;
    units.clear();
    std::list<ParamsTreeNode*> unitNodes;
    unitsNode->FindNodes(L"MatterUnit", unitNodes);
    for (ParamsTreeNode* unitNode : unitNodes) {
        ParamsTreeNode* kind = unitNode->FindFirstNode(L"ArmObjectType");
        if (!kind) return false;
        MatterUnit unit;
        if (!unit.ReadFromNode(unitNode)) return false;
        units[ParseInt(kind->GetValue())] = std::move(unit);
    }

    FreqAnalogInpName.clear();
    std::list<ParamsTreeNode*> freqNodes;
    root->FindNodes(L"FreqAnalogInpName", freqNodes);
    for (ParamsTreeNode* node : freqNodes) FreqAnalogInpName.insert(node->GetValue());

    RaschVhParams.clear();
    if (ParamsTreeNode* map = root->FindFirstNode(L"NameRaschVhToParams")) {
        std::list<ParamsTreeNode*> names;
        map->FindNodes(L"RaschVhName", names);
        for (ParamsTreeNode* node : names) {
            CString name = node->GetValue();
            if (name.IsEmpty()) continue;
            MsRaschVhParams params;
            params.ReadFromNode(node);
            RaschVhParams[name] = params;
        }
    }
    return true;
}

void ComtradeConverter::WriteToNode(ParamsTreeNode* root) const {
    root->AddNode(L"StationName", StationName);
    root->AddNode(L"RecDev", RecDev);
    root->AddNode(L"ControlSum", ControlSum);
    root->AddNode(L"IsUseCompTimeForBlock", BoolText(IsUseCompTimeForBlock));
    root->AddNode(L"TimeZoneOffsetHours", IntText(TimeZoneOffsetHours));
    root->AddNode(L"SwitchToSummerTime", BoolText(SwitchToSummerTime));
    ParamsTreeNode* unitsNode = root->AddNode(L"MatterUnits");
    for (const auto& [kind, unit] : units) {
        ParamsTreeNode* unitNode = unitsNode->AddNode(L"MatterUnit");
        unitNode->AddNode(L"ArmObjectType", IntText(kind));
        unit.WriteToNode(unitNode);
    }
    for (const CString& name : FreqAnalogInpName) root->AddNode(L"FreqAnalogInpName", name);
    ParamsTreeNode* map = root->AddNode(L"NameRaschVhToParams");
    for (const auto& [name, params] : RaschVhParams) params.WriteToNode(map->AddNode(L"RaschVhName", name));
}

// A load starts from an empty description, the frequency inputs and calculated inputs
// included, so that nothing of a previously loaded description leaks into the next record.
bool ComtradeConverter::LoadTree(ParamsTreeNode* root, bool checkRootName) {
    std::unique_ptr<ParamsTreeNode> owned(root);
    if (!owned) return false;
    if (checkRootName && owned->GetName().CompareNoCase(L"DesDescr") != 0) return false;
    return ReadFromNode(owned.get());
}

bool ComtradeConverter::ReadFromXml(const CString& path) {
    ClearDstParams();
    FreqAnalogInpName.clear();
    RaschVhParams.clear();
    return LoadTree(ArmXmlHelper::CreateTreeFromXmlFile(path), true);
}

bool ComtradeConverter::ReadFromXmlBuffer(const wchar_t* text, bool flag) {
    ClearDstParams();
    FreqAnalogInpName.clear();
    RaschVhParams.clear();
    return LoadTree(ArmXmlHelper::CreateTreeFromXmlBuffer(text, flag), true);
}

bool ComtradeConverter::WriteToXml(const CString& path, bool writeFile) {
    try {
        m_tree = std::make_shared<ParamsTreeNode>(L"DesDescr");
        WriteToNode(m_tree.get());
        if (writeFile && !ArmXmlHelper::CreateXmlFileFromTree(path, m_tree.get())) return false;
        return true;
    } catch (...) {
        return false;
    }
}

// --- check word ------------------------------------------------------------------------

uint16_t ComtradeConverter::CalcCrc(const unsigned char* data, int length) {
    if (!data || length <= 0) return 0xFFFF;
    uint16_t crc = 0xFFFF;
    for (int i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return uint16_t((crc << 8) | (crc >> 8));
}

uint16_t ComtradeConverter::GetSizeCRC(uint32_t size, uint32_t controlSum) {
    uint32_t v = size ^ controlSum;
    unsigned char bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    return CalcCrc(bytes, 4);
}

uint16_t ComtradeConverter::GetSizeCRC(uint32_t size) const {
    return GetSizeCRC(size, orvinel::ParseUInt32(ControlSum));
}

bool ComtradeConverter::GetInfoFromStoHeader(const void* record, size_t length, uint16_t& crc, uint32_t& size) {
    if (!record || length < 26) return false;
    const auto* p = static_cast<const unsigned char*>(record);
    size = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    crc = uint16_t(p[8] | p[9] << 8);
    return true;
}

bool ComtradeConverter::GetInfoFromStoHeader(CFile& file, uint16_t& crc, uint32_t& size) {
    unsigned char header[26];
    try {
        file.SeekToBegin();
        if (file.Read(header, sizeof header) != sizeof header) return false;
    } catch (CFileException* e) {
        e->Delete();
        return false;
    }
    return GetInfoFromStoHeader(header, sizeof header, crc, size);
}

bool ComtradeConverter::CheckDstCompatibility(uint16_t crc, uint32_t size, const CString& path) {
    if (!ReadFromXml(path)) return false;
    return GetSizeCRC(size) == crc;
}
