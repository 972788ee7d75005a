#include "halvex/config/ObjIconsHelper.h"

#include <algorithm>

#include "halvex/helpers/HalvexResources.h"

namespace {

struct Names {
    unsigned group, single;
    const wchar_t* shortName;
    const wchar_t* compiler;
};

// By kind; a group id of 0 marks a kind without names.
Names NamesOf(EArmObjectType t) {
    switch (t) {
        case 0: return {7315, 7316, L"PBL", L"PUBLICDATA"};
        case 1: return {7087, 7113, L"ANI", L"ANALOGIN"};
        case 2: return {7088, 7107, L"DSI", L"DIGIN"};
        case 3: return {7089, 7317, L"DSO", L"DIGOUT"};
        case 4: return {7090, 7318, L"CTR", L"CFTT"};
        case 5: return {7092, 7319, L"STA", L"ASET"};
        case 6: return {7191, 7324, L"STD", L"SETTINT"};
        case 7: return {7320, 7321, L"STT", L"USTAV"};
        case 8: return {7193, 7325, L"SPK", L"PRGSW"};
        case 9: return {7194, 7326, L"SYS", L"SYSIN"};
        case 10: return {7195, 7327, L"SYS", L"SYSOUT"};
        case 11: return {7330, 7331, L"ASU", L"SYS_ASU"};
        case 12: return {7198, 7332, L"FBT", L"SYS_MON_MENU"};
        case 13: return {7199, 7333, L"LED", L"LED"};
        case 14: return {7334, 7335, L"BTN", L"BUTTON"};
        case 15: return {7201, 7336, L"DZN", L"DISTZNACH"};
        case 16: return {7202, 7339, L"ACM", L"SYSNAK"};
        case 17: return {7204, 7341, L"MSM", L"STOPPER"};
        case 18: return {7342, 7343, L"", L"RASCHVHODIN"};
        case 19: return {7342, 7343, L"", L"RASCHVHODOUT"};
        case 20: return {7208, 7208, L"", L"PRIORIN"};
        case 21: return {7208, 7208, L"", L"PRIOROUT"};
        case 22: return {7344, 7345, L"", L"CALCIN"};
        case 23: return {7344, 7345, L"", L"CALCOUT"};
        case 24: return {7212, 7346, L"", L"CMPIN"};
        case 25: return {7212, 7346, L"", L"CMPOUT"};
        case 26: return {7347, 7347, L"", L"PHONIN"};
        case 27: return {7347, 7347, L"", L"PHONOUT"};
        case 28: return {7348, 7349, L"", L"ISPRAZRIN"};
        case 29: return {7348, 7349, L"", L"ISPRAZROUT"};
        case 30: return {7251, 7072, L"", L"ISPUSERIN"};
        case 31: return {7251, 7072, L"", L"ISPUSEROUT"};
        case 32: return {7322, 7323, L"ALR", L"ALARM"};
        case 33: return {7337, 7338, L"SIU", L"SIGUSER"};
        case 34: return {7225, 7340, L"RAC", L"SYSREALNAK"};
        case 51: return {7242, 7328, L"VIV", L"GOOSEIN"};
        case 52: return {7243, 7329, L"VIV", L"GOOSEOUT"};
        case 53: return {7224, 7356, L"", L""};
        case 57: return {7371, 7372, L"VPB", L"GOOSEIN_PB"};
        case 58: return {7369, 7370, L"VPB", L"GOOSEOUT_PB"};
        default: return {0, 0, L"", L""};
    }
}

std::vector<int> IconsOf(EArmObjectType t) {
    if (t >= 18 && t <= 31) return {t % 2 == 0 ? 7036 : 7037};
    switch (t) {
        case 0: return {7001, 7002};
        case 1: return {7003, 7004, 7005, 7006, 7007};
        case 2: return {7008, 7009, 7010, 7011};
        case 3: return {7016, 7017, 7014, 7015, 7012, 7013, 7018, 7019, 7020, 7021};
        case 4: return {7022};
        case 5: return {7023, 7024};
        case 6: return {7025, 7026};
        case 7: return {7027, 7028};
        case 8: return {7029, 7030};
        case 9: case 10: return {7031};
        case 11: return {7032};
        case 12: return {7033};
        case 13: return {7034, 7070};
        case 14: return {7035};
        case 15: return {7038};
        case 16: return {7039};
        case 17: return {7040};
        case 32: return {7041, 7042};
        case 33: return {7049};
        case 34: return {7050};
        case 51: return {7071};
        case 52: return {7072};
        case 53: return {7356};
        case 57: return {7374};
        case 58: return {7373};
        default: return {};
    }
}

}  // namespace

CString ObjIconsHelper::GetTypeName(EArmObjectType type, bool group) {
    Names n = NamesOf(type);
    return n.group ? HalvexLoadString(group ? n.group : n.single) : CString();
}

CString ObjIconsHelper::GetSchemeEditShortName(EArmObjectType type) { return NamesOf(type).shortName; }
CString ObjIconsHelper::GetCompilerName(EArmObjectType type) { return NamesOf(type).compiler; }

CString ObjIconsHelper::GetCompilerNameCft(EArmObjectType type) {
    return CompileIncludeSpace::IsSchemeOutputType(type) ? GetCompilerName(type) + L"CFT" : CString();
}

void ObjIconsHelper::GetIconsIDsForImageList(EArmObjectType type, std::vector<int>& ids, bool clear) {
    if (clear) ids.clear();
    for (int id : IconsOf(type)) ids.push_back(id);
}

void ObjIconsHelper::GetIconsForImageList(EArmObjectType type, std::vector<HICON>& icons, bool clear) {
    if (clear) icons.clear();
    for (int id : IconsOf(type)) icons.push_back(HalvexLoadIcon(id));
}

void ObjIconsHelper::GetIconsForImageList(const std::vector<EArmObjectType>& types, std::vector<HICON>& icons) {
    icons.clear();
    for (EArmObjectType t : types) GetIconsForImageList(t, icons, false);
}

int ObjIconsHelper::GetNumIconInImageList(const ArmObject* object, int base, ETblLevel level) {
    if (!object) return -1;
    int id = object->GetObjectIconID(level);
    if (id == -1) return -1;
    std::vector<int> ids = IconsOf(object->GetArmObjectType());
    auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? -1 : base + int(it - ids.begin());
}

int ObjIconsHelper::GetNumIconInMixedImageList(const std::vector<EArmObjectType>& types, const ArmObject* object,
                                               int base) {
    if (!object) return -1;
    int before = 0;
    for (EArmObjectType t : types) {
        if (t == object->GetArmObjectType()) {
            int own = GetNumIconInImageList(object, 0, eTblLevelFirst);
            return own < 0 ? -1 : base + before + own;
        }
        before += int(IconsOf(t).size());
    }
    return -1;
}

HICON ObjIconsHelper::GetIconLock() { return HalvexLoadIcon(7000); }

int ObjIconsHelper::GetIconIDForSchemEditType(ESchemeEditType kind) {
    switch (kind) {
        case 0: return 7044;
        case 1: return 7048;
        case 2: return 7045;
        case 3: return 7047;
        case 4: case 5: return 7046;
        case 6: return 7043;
        default: return -1;
    }
}

HICON ObjIconsHelper::GetIconForSchemEditType(ESchemeEditType kind) {
    int id = GetIconIDForSchemEditType(kind);
    return id < 0 ? nullptr : HalvexLoadIcon(id);
}
