#include "halvex/helpers/HalvexResources.h"

platform::StringTableView halvex_builtin_strings();

platform::StringTable& HalvexStrings() {
    static platform::StringTable table(halvex_builtin_strings(), "Halvex_ResEng.so",
                                       reinterpret_cast<const void*>(&HalvexStrings));
    return table;
}

CString HalvexLoadString(unsigned id) { return HalvexStrings().Get(id); }
