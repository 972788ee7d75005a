// A terminal record (".sto") with its description (".dst") beside it, cut from one input at
// kSplit (description first): opened as the program opens it (converted by the converter
// library, then read as COMTRADE), through the library's plain C interface, and by the file
// finder. The record's check word is made to fit the description, as it does in a real pair,
// so that the conversion is reached.
#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "app/FileFinder.h"
#include "orvinel/ComtradeConverter.h"
#include "orvinel/Orvinel.h"
#include "platform/Encoding.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Clear();
    const auto parts = fuzz::Split(data, size, 2);
    const std::string dst = fuzz::Write("rec.dst", parts[0]);
    std::string record(parts.size() > 1 ? parts[1] : std::string_view());
    uint16_t crc = 0;
    uint32_t declared = 0;
    if (ComtradeConverter::GetInfoFromStoHeader(record.data(), record.size(), crc, declared)) {
        ComtradeConverter description(int(record.size()), false);
        if (description.ReadFromXml(fuzz::Wide(dst))) {
            const uint16_t fit = description.GetSizeCRC(declared);
            record[8] = char(fit & 0xFF);
            record[9] = char(fit >> 8);
        }
    }
    const std::string sto = fuzz::Write("rec.sto", record);
    fuzz::OpenRecord(sto, false);
    {
        fuzz::QuietUi ui;
        FoundFileRecord found;
        ReadStoInfo(fuzz::Wide(sto), found);
    }

    const std::u16string text = platform::WideToU16(fuzz::WideFromBytes(parts[0]).view());
    char* cfgText = nullptr;
    char* datText = nullptr;
    int cfgLength = 0, datLength = 0;
    char16_t error[ORVINEL_ERROR_TEXT_CAPACITY];
    if (ConvertScadaBufStoComtradeEx(text.c_str(), record.data(), unsigned(record.size()), &cfgText, &datText,
                                     &cfgLength, &datLength, error)) {
        if (!cfgText || !datText || cfgLength < 1 || datLength < 1 || cfgText[cfgLength - 1] != 0 ||
            datText[datLength - 1] != 0)
            fuzz::Fail("the converter's buffers are not what it says");
    }
    FreeMemAfterConvertScadaBuf();
    return 0;
}
