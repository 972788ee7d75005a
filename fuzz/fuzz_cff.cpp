// The single-file COMTRADE form ".cff" as the program opens it, and the file finder's reading.
#include "FuzzSupport.h"
#include "app/FileFinder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const std::string path = fuzz::Write("rec.cff", std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::OpenRecord(path);
    FoundFileRecord found;
    ReadComtradeInfo(fuzz::Wide(path), true, found);
    return 0;
}
