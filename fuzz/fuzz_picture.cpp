// A picture file (BMP, PNG, GIF, JPEG, TIFF, ICO...) through the drawing layer's loader, as a
// mimic picture and the library's image calls load it, and the BMP size reader.
#include "FuzzSupport.h"
#include "halvex/helpers/Ai_Bmp.h"
#include "platform/draw/GdiObjects.h"
#include "platform/draw/GdiPlus.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const std::string path = fuzz::Write("picture", std::string_view(reinterpret_cast<const char*>(data), size));
    const CString wide = fuzz::Wide(path);
    fuzz::QuietUi ui;
    std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromFile(wide.GetString()));
    if (image) {
        image->GetWidth();
        image->GetHeight();
    }
    SIZE bmp{};
    CAi_Bmp::GetBitmapSize(wide, &bmp);
    return 0;
}
