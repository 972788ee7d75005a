#include "halvex/config/DocEnumInterpreter.h"

#include "halvex/helpers/HalvexResources.h"

namespace {

struct Row {
    int value;
    const wchar_t* enumName;
    unsigned stringId;  // 0: the display name is the enumerator name itself
    const wchar_t* fixedName = nullptr;
};

// Rows 46 and 47 hold 47 and 46: the switch position is listed before the time synchronisation.
const Row kRows[] = {
    {0, L"eArmObjPublicData", 7086},        {1, L"eArmObjAnalogInput", 7087},
    {2, L"eArmObjDiscretInput", 7088},      {3, L"eArmObjDiscretOutput", 7089},
    {4, L"eArmObjUstavFirst", 7090},        {5, L"eArmObjUstavAnalog", 7092},
    {6, L"eArmObjUstavDiscret", 7191},      {7, L"eArmObjUstavTime", 7192},
    {8, L"eArmObjUstavProgrKey", 7193},     {9, L"eArmObjVarSysIn", 7194},
    {10, L"eArmObjVarSysOut", 7195},        {11, L"eArmObjVarASU", 7197},
    {12, L"eArmObjVarButton", 7198},        {13, L"eArmObjBlockLed", 7199},
    {14, L"eArmObjBlockButton", 7200},      {15, L"eArmObjDistZnach", 7201},
    {16, L"eArmObjAccumulator", 7203},      {17, L"eArmObjMillisecMetr", 7204},
    {18, L"eArmObjRaschVhodInput", 7206},   {19, L"eArmObjRaschVhodOutput", 7207},
    {20, L"eArmObjPredvObrInput", 7208},    {21, L"eArmObjPredvObrOutput", 7209},
    {22, L"eArmObjIzmerOrgInput", 7210},    {23, L"eArmObjIzmerOrgOutput", 7211},
    {24, L"eArmObjPuskOrgInput", 7212},     {25, L"eArmObjPuskOrgOutput", 7213},
    {26, L"eArmObjPhonObrInput", 7214},     {27, L"eArmObjPhonObrOutput", 7215},
    {28, L"eArmObjOrgIspRazrInput", 7216},  {29, L"eArmObjOrgIspRazrOutput", 7205},
    {30, L"eArmObjOrgIspUserInput", 7218},  {31, L"eArmObjOrgIspUserOutput", 7219},
    {32, L"eArmObjUstavAlarm", 7220},       {33, L"eArmObjSignalUser", 7222},
    {34, L"eArmObjRealAccum", 7225},        {35, L"eArmObjSelfdiagnostik", 7226},
    {36, L"eArmObjSysEvent", 7227},         {37, L"eArmObjSysVizov", 7228},
    {38, L"eArmObjOscillogramList", 7229},  {39, L"eArmObjEmergJournal", 7230},
    {40, L"eArmObjEventJournal", 7231},     {41, L"eArmObjJournals", 7232},
    {42, L"eArmObjBlockInfo", 7233},        {43, L"eArmObjBlockInfoInArm", 7234},
    {44, L"eArmObjBlockTime", 7235},        {45, L"eArmObjProgramCount", 7236},
    {47, L"eArmObjSwitchStatus", 7238},     {46, L"eArmObjSynchTime", 7239},
    {48, L"eArmObjDigitalEvent", 7240},     {49, L"eArmObjUstRec", 0},
    {50, L"eArmObjOSCFreq", 7241},          {51, L"eArmObjGooseIn", 7242},
    {52, L"eArmObjGooseOut", 7243},         {53, L"eArmObjParamDiag", 7224},
    {54, L"eArmObjSystemParams", 7767},     {55, L"eArmObjIdentAndConf", 7768},
    {56, L"eArmObjNone", 0, L"???"},        {57, L"eArmObjGooseInPB", 7371},
    {58, L"eArmObjGooseOutPB", 7369},
};

CString DisplayName(const Row& r) {
    if (r.fixedName) return r.fixedName;
    return r.stringId ? HalvexLoadString(r.stringId) : CString(r.enumName);
}

const Row* Find(EArmObjectType type) {
    for (const Row& r : kRows)
        if (r.value == type) return &r;
    return nullptr;
}

}  // namespace

void CDocEnumInterpreter::FillVectArmObjDescr(std::vector<ArmObjDescriptor>& rows) {
    rows.clear();
    for (const Row& r : kRows) rows.push_back({EArmObjectType(r.value), r.enumName, DisplayName(r), CString()});
}

EArmObjectType CDocEnumInterpreter::GetIdx(const CString& enumName) {
    for (const Row& r : kRows)
        if (enumName == r.enumName) return EArmObjectType(r.value);
    return eArmObjNone;
}

CString CDocEnumInterpreter::GetName(EArmObjectType type) {
    const Row* r = Find(type);
    return r ? DisplayName(*r) : CString();
}

CString CDocEnumInterpreter::GetNameForASU(EArmObjectType type) {
    // No row has an ASU name of its own.
    return GetName(type);
}

CString CDocEnumInterpreter::GetByText(EArmObjectType type) {
    const Row* r = Find(type);
    return r ? CString(r->enumName) : CString();
}
