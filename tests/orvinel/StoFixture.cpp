#include "StoFixture.h"

#include "orvinel/ComtradeConverter.h"
#include "platform/Encoding.h"

namespace sto {

namespace {

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string Record::Bytes() const {
    std::string body;
    if (variant == 0) {
        Put(body, analogIds.size(), 1);
        Put(body, digitalIds.size(), 1);
        for (int id : analogIds) Put(body, uint64_t(id), 1);
        for (int id : digitalIds) Put(body, uint64_t(id), 1);
    } else {
        body += char(0xFF);
        body += char(variant);
        if (variant == 3) {
            Put(body, headerN, 2);
            Put(body, 0, 2);
        }
        Put(body, analogIds.size(), 2);
        Put(body, digitalIds.size(), 2);
        for (int id : analogIds) Put(body, uint64_t(id), 2);
        for (int id : digitalIds) Put(body, uint64_t(id), 2);
    }
    for (const Block& block : blocks) {
        Put(body, block.divisor, 4);
        for (int64_t v : block.values) Put(body, uint64_t(v), width);
        for (uint8_t s : block.states) Put(body, s, 1);
    }
    body += trailing;

    std::string header;
    uint32_t size = uint32_t(26 + body.size());
    Put(header, size, 4);
    Put(header, 0xA5A5A5A5u, 4);
    Put(header, ComtradeConverter::GetSizeCRC(size, controlSum), 2);
    Put(header, ringBlocks, 1);
    Put(header, ringStart, 1);
    Put(header, 0x5A5A5A5Au, 4);
    Put(header, clockHz, 4);
    Put(header, triggerSeconds, 4);
    Put(header, triggerMs, 2);
    return header + body;
}

std::string Description::Xml() const {
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DesDescr>\n";
    x += "  <StationName>" + station + "</StationName>\n";
    x += "  <RecDev>" + recDev + "</RecDev>\n";
    x += "  <ControlSum>" + controlSum + "</ControlSum>\n";
    x += "  <MatterUnits>\n";
    for (const Unit& unit : units) {
        x += "    <MatterUnit><ArmObjectType>" + std::to_string(unit.kind) + "</ArmObjectType><MatterDescrInd>" +
             std::to_string(unit.descrInd) + "</MatterDescrInd>\n";
        for (const Entry& e : unit.entries) {
            x += "      <MsMadData><Size>" + std::to_string(e.size) + "</Size><Offset>" + std::to_string(e.offset) +
                 "</Offset><NameDes>" + e.name + "</NameDes><Cft>" + e.cft + "</Cft><U>" + e.unit + "</U><IsOscill>" +
                 (e.oscill ? "True" : "False") + "</IsOscill><Freq>" + e.freq + "</Freq>";
            if (!e.fktr.empty()) x += "<Fktr>" + e.fktr + "</Fktr>";
            x += "</MsMadData>\n";
        }
        x += "    </MatterUnit>\n";
    }
    x += "  </MatterUnits>\n";
    for (const std::string& name : freqInputs) x += "  <FreqAnalogInpName>" + name + "</FreqAnalogInpName>\n";
    x += extra;
    x += "</DesDescr>\n";
    return x;
}

std::wstring Description::Wide() const { return platform::Utf8ToWide(Xml()); }

}  // namespace sto
