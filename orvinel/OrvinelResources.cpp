#include "orvinel/OrvinelResources.h"

platform::StringTableView orvinel_builtin_strings();

platform::StringTable& OrvinelStrings() {
    static platform::StringTable table(orvinel_builtin_strings(), "Orvinel_ResEng.so",
                                       reinterpret_cast<const void*>(&OrvinelStrings));
    return table;
}

CString OrvinelResString(unsigned id) { return OrvinelStrings().Get(id); }

namespace {

// Library entry: the English table is looked for once, when the library is loaded, so that
// every later message comes from the same source.
__attribute__((constructor)) void OrvinelLoaded() { OrvinelStrings().IsEnglish(); }

}  // namespace
