#include "halvex/helpers/CompileIncludeSpace.h"

#include <atomic>

#include "halvex/helpers/HalvexResources.h"

namespace CompileIncludeSpace {

EFuncSchemeType GetFuncSchemeType(ESchemeEditType kind) {
    static const int map[] = {1, 2, 3, 4, 5, 8, 7, 9};
    return kind >= 0 && kind <= 7 ? EFuncSchemeType(map[kind]) : eFuncSchemeNone;
}

ESchemeEditType GetSchemeEditType(EArmObjectType type) {
    static const int map[] = {6, 0, 1, 2, 3, 4, 5};  // per pair from 18/19 on
    return IsSchemeType(type) ? ESchemeEditType(map[(type - 18) / 2]) : ESchemeEditType(-1);
}

CString GetFuncSchemeTypeName(ESchemeEditType kind) {
    static const unsigned ids[] = {7067, 7068, 7069, 7070, 7071, 7072, 7066};
    return kind >= 0 && kind <= 6 ? HalvexLoadString(ids[kind]) : CString();
}

bool IsSchemeInputType(EArmObjectType type) { return type >= 18 && type <= 30 && type % 2 == 0; }
bool IsSchemeOutputType(EArmObjectType type) { return type >= 19 && type <= 31 && type % 2 == 1; }
bool IsSchemeType(EArmObjectType type) { return type >= 18 && type <= 31; }

EArmObjectType GetPairSchemeObjectType(EArmObjectType type) {
    if (IsSchemeInputType(type)) return EArmObjectType(type + 1);
    if (IsSchemeOutputType(type) && type != 31) return EArmObjectType(type - 1);
    return eArmObjOrgIspUserInput;
}

namespace {
void Fill(std::vector<EArmObjectType>& out, std::initializer_list<int> values) {
    for (int v : values) out.push_back(EArmObjectType(v));
}
}  // namespace

void FillVectSchemeInputArmObjectTypes(ESchemeEditType kind, std::vector<EArmObjectType>& types, bool withButtons) {
    types.clear();
    if (kind == eSchemeEditFurther) {
        Fill(types, {29, 31});
    } else if (kind == eSchemeEditUser) {
        Fill(types, {2, 51, 57, 11});
        if (withButtons) Fill(types, {12});
        Fill(types, {14, 15, 25, 29, 31, 27});
    } else if (kind == eSchemeEditDeveloper) {
        Fill(types, {1, 2, 4, 5, 6, 7, 8, 32, 9, 51, 57, 11, 12, 14, 15, 33, 19, 21, 23, 25, 29, 27});
    } else {
        Fill(types, {1, 2, 4, 5, 6, 7, 8, 32, 9, 51, 57, 11, 12, 14, 15, 19, 21, 23, 25, 29, 27});
    }
}

void FillVectSchemeOutputArmObjectTypes(ESchemeEditType kind, std::vector<EArmObjectType>& types) {
    types.clear();
    if (kind == eSchemeEditUser)
        Fill(types, {52, 58, 33, 30});
    else
        Fill(types, {52, 58, 10, 16, 34, 17, 18, 20, 22, 24, 28, 26});
}

void FillVectCollectBlockProps(std::vector<EArmObjectType>& types) {
    types.clear();
    Fill(types, {4, 5, 6, 7, 8, 32});
}

COLORREF GetCOLORREF(ELedColor color) {
    switch (color) {
        case eLedYellow: return RGB(255, 255, 0);
        case eLedRed: return RGB(255, 0, 0);
        case eLedBlue: return RGB(0, 0, 255);
        case eLedMagenta: return RGB(255, 0, 255);
        default: return RGB(0, 255, 0);
    }
}

CString GetLedColorName(ELedColor color) {
    static const unsigned ids[] = {7085, 7083, 7084, 7081, 7082};
    return color >= 0 && color <= 4 ? HalvexLoadString(ids[color]) : CString();
}

bool Is2ColorType(EConnLedType type) { return type >= 3 && type <= 5; }

bool IsCorrectDataAttrTypeFor61850(DataAttributeType type) {
    switch (type) {
        case DA_BOOLEAN: case DA_INT8: case DA_INT32: case DA_INT32U: case DA_FLOAT32: case DA_ENUMERATED:
        case DA_QUALITY: case DA_CODEDENUM: return true;
        default: return false;
    }
}

bool IsAllowBfpoTypeForDataAttrType(DataAttributeType type, const CString& id) {
    switch (type) {
        case DA_BOOLEAN: return id == L"ID004" || id == L"ID007" || id == L"IDID013";
        case DA_INT8: return id == L"ID005";
        case DA_INT32: case DA_INT32U: case DA_ENUMERATED: case DA_QUALITY: case DA_CODEDENUM:
            return id == L"ID000" || id == L"ID005" || id == L"ID009";
        case DA_FLOAT32: return id == L"ID001" || id == L"ID101";
        default: return false;
    }
}

bool IsRequireAssociation(DataAttributeType type) { return type != DA_QUALITY; }

CString GetDataAttributeTypeName(DataAttributeType type) {
    static const wchar_t* const names[] = {
        L"_BOOLEAN", L"_INT8", L"_INT16", L"_INT32", L"_INT64", L"INT128", L"INT8U", L"INT16U", L"INT24U",
        L"INT32U", L"FLOAT32", L"FLOAT64", L"ENUMERATED", L"OCTET_STRING_64", L"OCTET_STRING_6",
        L"OCTET_STRING_8", L"VISIBLE_STRING_32", L"VISIBLE_STRING_64", L"VISIBLE_STRING_65",
        L"VISIBLE_STRING_129", L"VISIBLE_STRING_255", L"UNICODE_STRING_255", L"TIMESTAMP", L"QUALITY",
        L"CHECK", L"CODEDENUM", L"GENERIC_BITSTRING", L"CONSTRUCTED", L"ENTRY_TIME", L"PHYCOMADDR"};
    return type >= 0 && type <= 29 ? CString(names[type]) : CString();
}

CString GetPlenwickLevelName(EPlenwickLevel level, bool capital) {
    if (level < 0 || level > 3) return CString();
    return HalvexLoadString(7073 + 2 * unsigned(level) + (capital ? 0 : 1));
}

// --- GUIDs -----------------------------------------------------------------------------------

CString GetStringByGuid(const GUID& g) {
    CString s;
    s.Format(L"%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", unsigned(g.Data1), unsigned(g.Data2),
             unsigned(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
             g.Data4[7]);
    return s;
}

GUID GetGuidByString(const CString& text) {
    GUID nil = CreateNilGuid();
    if (text.GetLength() != 36) return nil;
    uint8_t b[16];
    int n = 0;
    for (int i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != L'-') return nil;
            ++i;
            continue;
        }
        int v = 0;
        for (int k = 0; k < 2; ++k, ++i) {
            wchar_t c = text[i];
            int d = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
                  : c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
            if (d < 0) return nil;
            v = v * 16 + d;
        }
        b[n++] = uint8_t(v);
    }
    GUID g;
    g.Data1 = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    g.Data2 = uint16_t(b[4] << 8 | b[5]);
    g.Data3 = uint16_t(b[6] << 8 | b[7]);
    for (int i = 0; i < 8; ++i) g.Data4[i] = b[8 + i];
    return g;
}

bool IsGuidNil(const GUID& guid) { return guid == CreateNilGuid(); }
GUID CreateNilGuid() { return GUID{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}}; }
bool IsGuidEqual(const GUID& a, const GUID& b) { return a == b; }

// --- progress senders -----------------------------------------------------------------------

namespace {
std::atomic<MainWindowReceiver*> g_mainWindow{nullptr};

void Send(UINT message, unsigned code, const CString& text) {
    if (MainWindowReceiver* w = g_mainWindow.load()) w->SendMessage(message, code, &text);
}

CString Position(int scale, int total, int done) {
    int pos = total != 0 ? int(float(done) / float(total) * float(scale)) : 0;
    CString s;
    s.Format(L"%d", pos);
    return s;
}
}  // namespace

void SetMainWindowReceiver(MainWindowReceiver* window) { g_mainWindow.store(window); }

void SetProgressBarPosition(int scale, int total, int done) {
    Send(kMsgRibbonProgress, eProgressPosition, Position(scale, total, done));
}

void AddToRibbonProgressBarPos(int step) {
    CString s;
    s.Format(L"+%d", step);
    Send(kMsgRibbonProgress, eProgressPosition, s);
}

void HideProgressBar() {
    Send(kMsgRibbonProgress, eProgressPosition, L"101");
    Send(kMsgRibbonProgress, eProgressInfo, CString());
}

void SetProgressBarInfoText(const CString& text) { Send(kMsgRibbonProgress, eProgressInfo, text); }
void SetProgressBarAdditionText(const CString& text) { Send(kMsgRibbonProgress, eProgressAddition, text); }
void SetProgressBarExtraText(const CString& text) { Send(kMsgRibbonProgress, eProgressExtra, text); }

void SetProgressThreadPosition(int scale, int total, int done) {
    Send(kMsgProgressThread, eProgressPosition, Position(scale, total, done));
}

void SetProgressThreadInfoText(const CString& text) { Send(kMsgProgressThread, eProgressInfo, text); }
void SetProgressThreadAdditionText(const CString& text) { Send(kMsgProgressThread, eProgressAddition, text); }

void CloseProgressThread() {
    if (MainWindowReceiver* w = g_mainWindow.load()) w->PostMessage(kMsgProgressThread, eProgressClose);
}

}  // namespace CompileIncludeSpace
