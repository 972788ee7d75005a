// A characteristic-block library (".tvb", UTF-16 or UTF-8 XML) as the program reads every
// library beside it, for the impedance plane and for the differential diagram, and each
// block's figures computed from its parameters.
#include <filesystem>

#include "FuzzSupport.h"
#include "diagrams/ProtectionBlock.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    std::filesystem::create_directories(fuzz::PathOf("blocks"));
    fuzz::Write("blocks/lib.tvb", std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::QuietUi ui;
    for (bool diff : {false, true}) {
        std::vector<ProtectionBlock> blocks;
        LoadProtectionBlocks(blocks, diff, fuzz::Wide(fuzz::PathOf("blocks")));
        BlockTypeOptions(blocks);
        for (ProtectionBlock& block : blocks) block.ApplyParameters();
    }
    return 0;
}
