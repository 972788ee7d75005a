#include <climits>
#include <cmath>

#include "orvinel/CoeffTrLink.h"
#include "orvinel/ComtradeConverter.h"
#include "orvinel/ConverterOutput.h"
#include "orvinel/OrvinelResources.h"
#include "orvinel/RecordLayout.h"
#include "orvinel/TextNumbers.h"

using orvinel::ReadU16;
using orvinel::ReadU32;

namespace {

enum : unsigned {
    kUnknownVersion = 23000,
    kBadFormat = 23001,
    kMismatch = 23002,
    kIncomplete = 23011,
};

bool Fail(CString& error, unsigned id) {
    error = OrvinelResString(id);
    return false;
}

CStringA Ansi(const CString& text) { return CStringA(text); }

}  // namespace

bool ComtradeConverter::ConvertSto2Comtrade(CString folder, CString fileName, void* recordPtr, int samplesPerBlock,
                                            int bytesPerValue, CString& error) {
    error.Empty();
    CCoeffTrLink links(deviceModel);
    auto* record = static_cast<unsigned char*>(recordPtr);
    const int64_t size = recordSize;
    if (!record || size < 32) return Fail(error, kIncomplete);

    // Header and channel lists.
    Layout layout;
    layout.ringBlocks = record[10];
    layout.ringStart = record[11];
    layout.clockHz = ReadU32(record + 16);
    layout.triggerSeconds = ReadU32(record + 20);
    layout.triggerMs = ReadU16(record + 24);
    layout.samplesPerBlock = samplesPerBlock;
    layout.bytesPerValue = bytesPerValue;
    if (record[26] != 0xFF) {
        layout.variant = 0;
        layout.analogCount = record[26];
        layout.digitalCount = record[27];
        layout.dataStart = 28 + layout.analogCount + layout.digitalCount;
        if (layout.dataStart > size) return Fail(error, kIncomplete);
        for (int64_t i = 0; i < layout.analogCount; ++i) layout.analogIds.push_back(record[28 + i]);
        for (int64_t i = 0; i < layout.digitalCount; ++i)
            layout.digitalIds.push_back(record[28 + layout.analogCount + i]);
    } else {
        if (record[27] != 2 && record[27] != 3) return Fail(error, kUnknownVersion);
        layout.variant = record[27];
        int64_t lists = layout.variant == 2 ? 32 : 36;
        if (lists > size) return Fail(error, kIncomplete);  // the counts themselves lie past the record
        const unsigned char* counts = record + (layout.variant == 2 ? 28 : 32);
        layout.analogCount = ReadU16(counts);
        layout.digitalCount = ReadU16(counts + 2);
        layout.dataStart = lists + 2 * (layout.analogCount + layout.digitalCount);
        if (layout.dataStart > size) return Fail(error, kIncomplete);
        for (int64_t i = 0; i < layout.analogCount; ++i) layout.analogIds.push_back(ReadU16(record + lists + 2 * i));
        for (int64_t i = 0; i < layout.digitalCount; ++i)
            layout.digitalIds.push_back(ReadU16(record + lists + 2 * (layout.analogCount + i)));
    }

    // A record without a single channel has nothing to convert.
    if (layout.analogCount == 0 && layout.digitalCount == 0) return Fail(error, kBadFormat);

    auto oscUnit = units.find(kOscillogramListKind);
    if (oscUnit == units.end()) return Fail(error, kBadFormat);
    const std::vector<MsMadData>& entries = oscUnit->second.Data;

    // Analog lines.
    std::vector<CAinCfg> analog(size_t(layout.analogCount));
    bool allAnalog = true;
    for (size_t i = 0; i < analog.size(); ++i) {
        const MsMadData* entry = nullptr;
        for (const MsMadData& e : entries)
            if (e.Offset == layout.analogIds[i]) {
                entry = &e;
                break;
            }
        if (!entry) {
            allAnalog = false;
            continue;
        }
        // A width the record cannot hold would make every block size and sample count meaningless.
        if (entry->Size < 1 || entry->Size > 32) return Fail(error, kMismatch);
        CAinCfg& line = analog[i];
        line.number = entry->Offset + 1;
        line.name = Ansi(entry->NameDes);
        if (FreqAnalogInpName.size() == 1 && *FreqAnalogInpName.begin() == entry->NameDes) line.component = "system";
        line.primary = entry->Fktr;
        CString main = links.FindMainChannel(entry->NameDes);
        if (!main.IsEmpty()) {
            CString folded = links.ToLatin(main);
            for (const MsMadData& e : entries)
                if (links.ToLatin(e.NameDes) == folded) {
                    line.primary = e.Fktr;
                    break;
                }
        }
        double cft = orvinel::ParseDouble(entry->Cft);
        line.a = (cft == 0 || !std::isfinite(cft)) ? 0.0 : 1.0 / cft;
        line.unit = Ansi(entry->U);
        int n = entry->Size % 32;
        int64_t h = n == 0 ? 0 : int64_t(1) << (n - 1);
        line.max = n == 0 ? 0 : int(h - 1);
        line.min = -line.max;
        line.bytesPerValue = (entry->U == L"Status" && entry->Size == 7) ? 2 : (entry->Size + 7) / 8;
        if (auto rv = RaschVhParams.find(entry->NameDes); rv != RaschVhParams.end()) {
            line.phase = Ansi(rv->second.phase);
            line.unit = Ansi(rv->second.unit);
            line.a = orvinel::ParseDouble(rv->second.coefficient);
        }
    }

    if (layout.variant == 3) layout.samplesPerBlock = ReadU16(record + 28);
    else layout.samplesPerBlock = entries.empty() ? 0 : int64_t(entries.size()) * entries.front().Size;
    if (layout.samplesPerBlock < 0 || layout.samplesPerBlock > INT_MAX) return Fail(error, kBadFormat);
    if (layout.analogCount > 0) layout.bytesPerValue = analog.front().bytesPerValue;
    if (layout.analogCount > 0 && !allAnalog) return Fail(error, kMismatch);

    // Digital lines: the first described unit that knows the id decides.
    std::vector<CDinCfg> digital(size_t(layout.digitalCount));
    for (size_t i = 0; i < digital.size(); ++i) {
        bool matched = false, decided = false;
        for (const auto& [kind, unit] : units) {
            if (unit.Data.empty() || !unit.Data.front().IsOscill) continue;
            for (const MsMadData& e : unit.Data) {
                if (e.Offset != layout.digitalIds[i]) continue;
                decided = true;
                if (e.IsOscill) {
                    digital[i].name = Ansi(e.NameDes);
                    digital[i].number = int(i) + 1;
                    digital[i].normalState = 1;
                    matched = true;
                }
                break;
            }
            if (decided) break;
        }
        if (!matched) return Fail(error, kMismatch);
    }

    int frequency = 50;
    int index = oscUnit->second.MatterDescrInd;
    if (index >= 0 && size_t(index) < entries.size()) {
        frequency = orvinel::ParseInt(entries[size_t(index)].Freq);
        if (frequency == 0) frequency = 50;
    }

    // Block geometry, in 64 bits: counts and widths come from the record and its description.
    const int64_t n = layout.samplesPerBlock;
    layout.status = layout.analogCount > 0 && analog.front().unit == "Status" && layout.bytesPerValue == 2;
    if (!layout.status && layout.analogCount > 0 && (layout.bytesPerValue < 1 || layout.bytesPerValue > 4))
        return Fail(error, kBadFormat);
    layout.analogBytes = layout.status ? 2 * layout.analogCount : layout.analogCount * n * layout.bytesPerValue;
    layout.blockSize = 4 + layout.analogBytes + layout.digitalCount;
    layout.blocks = (size - layout.dataStart) / layout.blockSize;
    // Every sample written comes from the record: a header that declares more samples than its
    // blocks have bits for (no values of their own, or one status word for them all) would make
    // a few bytes into millions of lines.
    if (layout.blocks > 0 && n > 0 && layout.blocks * n > 8 * (size - layout.dataStart)) return Fail(error, kIncomplete);

    bool ok = false;
    try {
        Output out(folder, fileName);
        ok = MakeCT_CFG(out, record, layout, analog, digital, frequency, error) &&
             MakeCT_DAT(out, record, layout, error) && MakeCT_HDR(out, error);
        if (ok && !out.Commit()) ok = Fail(error, kBadFormat);
    } catch (const std::bad_alloc&) {
        ok = Fail(error, kBadFormat);
    }
    return ok;
}
