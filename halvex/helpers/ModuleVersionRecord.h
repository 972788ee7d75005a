#pragma once
// The version record a module carries in its own ELF section, so that its version can be read
// from the file without loading it. A module defines one with TV_MODULE_VERSION_RECORD.
#include <cstdint>

#define TV_VERSION_SECTION ".tv_version"

struct MODULE_VERSION_RECORD {
    char magic[8];       // "TVVER01"
    uint32_t fixed[13];  // signature, structure version, file MS/LS, product MS/LS, flags mask,
                         // flags, OS, type, subtype, date MS/LS
    // CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright, OriginalFileName,
    // ProductName, ProductVersion, Comments, LegalTrademarks, PrivateBuild, SpecialBuild (UTF-8).
    char texts[12][96];
};

#define TV_MODULE_VERSION_RECORD(name)                                                                 \
    extern "C" __attribute__((section(TV_VERSION_SECTION), used, visibility("hidden")))               \
    const MODULE_VERSION_RECORD name
