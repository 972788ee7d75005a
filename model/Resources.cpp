#include "model/Resources.h"

platform::StringTableView tenvorik_builtin_strings();

platform::StringTable& TenvorikStrings() {
    static platform::StringTable table(tenvorik_builtin_strings(), "Tenvorik_ResEng.so",
                                       reinterpret_cast<const void*>(&TenvorikStrings));
    return table;
}

CString LoadResString(unsigned id) { return TenvorikStrings().Get(id); }
