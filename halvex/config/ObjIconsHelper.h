#pragma once
// Per object kind: the display name (group or single item), the three-letter short name of
// scheme editing, the name in files for the terminal's compiler, and the icons of the kind.
#include <vector>

#include "halvex/config/ArmObject.h"
#include "halvex/helpers/CompileIncludeSpace.h"
#include "halvex/helpers/HalvexIcons.h"

class ObjIconsHelper {
public:
    static CString GetTypeName(EArmObjectType type, bool group);
    static CString GetSchemeEditShortName(EArmObjectType type);
    static CString GetCompilerName(EArmObjectType type);
    // The compiler name + "CFT" for the scheme output kinds; empty for every other kind.
    static CString GetCompilerNameCft(EArmObjectType type);

    // The icon ids of a kind in image-list order (emptied first when `clear`).
    static void GetIconsIDsForImageList(EArmObjectType type, std::vector<int>& ids, bool clear);
    static void GetIconsForImageList(EArmObjectType type, std::vector<HICON>& icons, bool clear);
    // The icons of every kind of `types`, kind after kind; `icons` is emptied first.
    static void GetIconsForImageList(const std::vector<EArmObjectType>& types, std::vector<HICON>& icons);
    // Where the object's icon stands in an image list of its kind's icons starting at `base`; -1
    // when the object has none of them.
    static int GetNumIconInImageList(const ArmObject* object, int base, ETblLevel level);
    // The same in an image list made by the list form of GetIconsForImageList; -1 when the
    // object's kind is not in `types`.
    static int GetNumIconInMixedImageList(const std::vector<EArmObjectType>& types, const ArmObject* object, int base);

    static HICON GetIconLock();  // the mark of a locked object
    static int GetIconIDForSchemEditType(ESchemeEditType kind);  // -1 for none
    static HICON GetIconForSchemEditType(ESchemeEditType kind);
};
