// A record's settings file (".set": UTF-16 XML, or the INI text of older files) beside a sound
// record, applied as the record opens; written back as a save writes it; then applied again as
// another record's settings ("Загрузка настроек"), as one step that undo takes back.
#include "FuzzSupport.h"
#include "document/TenvorikDoc.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string cfg = fuzz::WriteBaseRecord("rec");
    fuzz::Write("rec.set", bytes);
    fuzz::QuietUi ui;
    CTenvorikDoc doc;
    // A settings file never keeps a sound record from opening: what it spoils is left out.
    if (!doc.OnOpenDocument(fuzz::Wide(cfg))) fuzz::Fail("a settings file kept the record from opening");
    doc.SettingsFileBytes();
    ui.openFileAnswer = fuzz::Wide(fuzz::Write("other.set", bytes));
    doc.OnLoadSettings();
    doc.SettingsFileBytes();
    return 0;
}
