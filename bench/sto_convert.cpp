// Converting a large terminal record to COMTRADE files: 8 analog channels of 16-bit values
// and 8 digital channels, 256 samples a block, about a million samples.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "orvinel/ComtradeConverter.h"
#include "platform/Encoding.h"

namespace {

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

std::string MakeRecord(int blocks, int samples, int analog, int digital) {
    std::string body;
    body += char(analog);
    body += char(digital);
    for (int a = 0; a < analog; ++a) body += char(a + 1);
    for (int d = 0; d < digital; ++d) body += char(100 + d);
    for (int b = 0; b < blocks; ++b) {
        Put(body, b < blocks / 2 ? 20 : 10, 4);
        for (int a = 0; a < analog; ++a)
            for (int s = 0; s < samples; ++s) Put(body, uint64_t(int16_t((b * samples + s) * (a + 1))), 2);
        for (int d = 0; d < digital; ++d) body += char((b >> d) & 1);
    }
    uint32_t size = uint32_t(26 + body.size());
    std::string header;
    Put(header, size, 4);
    Put(header, 0, 4);
    Put(header, ComtradeConverter::GetSizeCRC(size, 1), 2);
    Put(header, 16, 1);
    Put(header, 5, 1);
    Put(header, 0, 4);
    Put(header, 20000000, 4);
    Put(header, 1700000000, 4);
    Put(header, 0, 2);
    return header + body;
}

std::wstring MakeDescription(int samples, int analog, int digital) {
    std::wstring x = L"<DesDescr><StationName>Bench</StationName><RecDev>R</RecDev><ControlSum>1</ControlSum><MatterUnits>"
                     L"<MatterUnit><ArmObjectType>38</ArmObjectType><MatterDescrInd>0</MatterDescrInd>";
    // Samples per block are the entries of the unit times the first entry's width.
    int entries = samples / 16;
    for (int e = 0; e < entries; ++e) {
        int id = e < analog ? e + 1 : 1000 + e;
        x += L"<MsMadData><Size>16</Size><Offset>" + std::to_wstring(id) + L"</Offset><NameDes>U" +
             std::to_wstring(e) + L"</NameDes><Cft>100</Cft><U>kV</U><IsOscill>True</IsOscill><Freq>50</Freq></MsMadData>";
    }
    x += L"</MatterUnit><MatterUnit><ArmObjectType>40</ArmObjectType><MatterDescrInd>-1</MatterDescrInd>";
    for (int d = 0; d < digital; ++d)
        x += L"<MsMadData><Size>1</Size><Offset>" + std::to_wstring(100 + d) + L"</Offset><NameDes>D" + std::to_wstring(d) +
             L"</NameDes><Cft>1</Cft><U></U><IsOscill>True</IsOscill><Freq>0</Freq></MsMadData>";
    x += L"</MatterUnit></MatterUnits></DesDescr>";
    return x;
}

void BM_ConvertLargeRecord(benchmark::State& state) {
    const int samples = 256, analog = 8, digital = 8;
    const int blocks = int(state.range(0)) / samples;
    const std::string record = MakeRecord(blocks, samples, analog, digital);
    const std::wstring description = MakeDescription(samples, analog, digital);
    std::string dir = std::filesystem::temp_directory_path().string() + "/sto-bench-XXXXXX";
    if (!mkdtemp(dir.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    CString folder(platform::Utf8ToWide(dir));
    for (auto _ : state) {
        std::vector<unsigned char> bytes(record.begin(), record.end());
        ComtradeConverter converter(int(bytes.size()), false);
        converter.ReadFromXmlBuffer(description.c_str(), false);
        CString error;
        if (!converter.ConvertSto2Comtrade(folder, L"bench", bytes.data(), 24, 2, error)) {
            state.SkipWithError("conversion failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(blocks) * samples);
    state.SetBytesProcessed(state.iterations() * int64_t(record.size()));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ConvertLargeRecord)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
