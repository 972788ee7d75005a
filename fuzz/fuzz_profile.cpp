// The program's profile file (an INI-like text with escapes) as every run reads it: the
// options and recent files of the program, a value written into it (which merges the file as
// it is on disk), and the text written for what was read, which must read back the same.
#include "FuzzSupport.h"
#include "app/AppProfile.h"
#include "platform/Profile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

namespace {

bool Same(const std::vector<platform::Profile::Section>& a, const std::vector<platform::Profile::Section>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].entries.size() != b[i].entries.size()) return false;
        for (size_t k = 0; k < a[i].entries.size(); ++k)
            if (a[i].entries[k].key != b[i].entries[k].key || a[i].entries[k].value != b[i].entries[k].value)
                return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto sections = platform::Profile::Parse(text);
    const auto again = platform::Profile::Parse(platform::Profile::Serialize(sections));
    if (!Same(sections, again)) fuzz::Fail("a profile read, written and read again changed");

    const std::string path = fuzz::Write("Tenvorik.ini", text);
    platform::Profile profile = platform::Profile::AtPath(fuzz::Wide(path));
    AppOptions options;
    LoadAppOptions(profile, options);
    LoadRecentFiles(profile);
    profile.GetProfileInt(L"Workspace", L"ApplicationLook", 215);
    profile.GetProfileString(L"FileFinder", L"Path");
    profile.WriteProfileString(L"Settings", L"Dst folder", L"/tmp");
    SaveRecentFiles(profile, {L"/a.cfg", L"/b.osc"});
    return 0;
}
