// A COMTRADE record as the program opens it: the ".cfg", its ".dat" (ASCII, BINARY or binary32,
// whatever the ".cfg" says) and the ".hdr", cut from one input at kSplit; then the file finder's
// reading of the same ".cfg".
#include "FuzzSupport.h"
#include "app/FileFinder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const auto parts = fuzz::Split(data, size, 3);
    const std::string cfg = fuzz::Write("rec.cfg", parts[0]);
    if (parts.size() > 1) fuzz::Write("rec.dat", parts[1]);
    if (parts.size() > 2) fuzz::Write("rec.hdr", parts[2]);
    fuzz::OpenRecord(cfg);
    FoundFileRecord found;
    ReadComtradeInfo(fuzz::Wide(cfg), false, found);
    return 0;
}
