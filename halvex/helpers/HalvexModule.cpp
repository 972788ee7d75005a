#include "halvex/helpers/HalvexModule.h"

extern "C" __attribute__((visibility("default"))) void HalvexSetUiServices(platform::UiServices* services) {
    platform::SetModuleUiServices(services);
}

// The library's own version record, read by CAi_File::DetectFileVersionInfo.
#include "halvex/helpers/ModuleVersionRecord.h"

TV_MODULE_VERSION_RECORD(g_halvexVersionRecord) = {
    "TVVER01",
    {0xFEEF04BD, 0x00010000, (1u << 16) | 18, (3u << 16) | 12042, (1u << 16) | 18, (3u << 16) | 12042, 0x3F, 0,
     0x40004, 2, 0, 0, 0},
    {"Korvelund", "Halvex shared library", "1.18.3.12042", "Halvex", "", "libHalvex.so", "Halvex",
     "1.18.3.12042", "", "", "", ""},
};
