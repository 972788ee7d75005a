// The ".dst" description: reading, writing, the check word and the record header.
#include <gtest/gtest.h>

#include <cstdio>

#include "StoFixture.h"
#include "TestUtil.h"
#include "orvinel/ComtradeConverter.h"
#include "platform/Encoding.h"
#include "utils/ArmXmlHelper.h"
#include "utils/ParamsTreeNode.h"

namespace {

CString Path(const std::string& utf8) { return CString(platform::Utf8ToWide(utf8)); }

sto::Description TwoUnits() {
    sto::Description d;
    d.station = "ПС Северная";
    d.recDev = "Терминал";
    d.units = {{38, 0, {{16, 1, "Ia", "1000", "A", true, "50", "600"}, {16, 2, "Ib", "1000", "A", true, "50", ""}}},
               {40, -1, {{1, 5, "Пуск", "1", "", true, "0", ""}}}};
    d.freqInputs = {"F1"};
    return d;
}

TEST(CheckWord, IsSwappedModbusCrcOfTheSizeXorControlSum) {
    const unsigned char digits[] = "123456789";
    EXPECT_EQ(ComtradeConverter::CalcCrc(digits, 9), 0x374B);  // CRC-16/MODBUS 0x4B37, bytes swapped
    EXPECT_EQ(ComtradeConverter::CalcCrc(digits, 0), 0xFFFF);
    EXPECT_EQ(ComtradeConverter::CalcCrc(nullptr, -3), 0xFFFF);
    const unsigned char zeros[4] = {};
    EXPECT_EQ(ComtradeConverter::GetSizeCRC(0, 0), ComtradeConverter::CalcCrc(zeros, 4));
    const unsigned char mixed[4] = {0x34 ^ 0x39, 0x12 ^ 0x30, 0, 0};  // 0x1234 xor 12345 (0x3039)
    EXPECT_EQ(ComtradeConverter::GetSizeCRC(0x1234, 12345), ComtradeConverter::CalcCrc(mixed, 4));

    ComtradeConverter c(0, false);
    EXPECT_EQ(c.GetSizeCRC(0), ComtradeConverter::CalcCrc(zeros, 4));  // empty ControlSum counts as 0
    c.ControlSum = L"12345abc";
    EXPECT_EQ(c.GetSizeCRC(0x1234), ComtradeConverter::GetSizeCRC(0x1234, 12345));
}

TEST(Description, ReadsEveryElementAndSurvivesItsOwnWriting) {
    testutil::TempDir dir;
    sto::Description d = TwoUnits();
    d.extra =
        "<TimeZoneOffsetHours>-3600</TimeZoneOffsetHours><SwitchToSummerTime>True</SwitchToSummerTime>"
        "<IsUseCompTimeForBlock>True</IsUseCompTimeForBlock><FreqAnalogInpName>F1</FreqAnalogInpName>"
        "<NameRaschVhToParams><RaschVhName>Calc1<MsRaschVhCoeff>0.5</MsRaschVhCoeff><MsRaschVhPhase>A</MsRaschVhPhase>"
        "</RaschVhName><RaschVhName><MsRaschVhCoeff>9</MsRaschVhCoeff></RaschVhName></NameRaschVhToParams>";
    testutil::WriteFile(dir.File("a.dst"), d.Xml());

    ComtradeConverter c(100, false);
    ASSERT_TRUE(c.ReadFromXml(Path(dir.File("a.dst"))));
    EXPECT_EQ(c.StationName, L"ПС Северная");
    EXPECT_EQ(c.RecDev, L"Терминал");
    EXPECT_EQ(c.ControlSum, L"12345");
    EXPECT_EQ(c.TimeZoneOffsetHours, -3600);
    EXPECT_TRUE(c.SwitchToSummerTime);
    EXPECT_TRUE(c.IsUseCompTimeForBlock);
    ASSERT_EQ(c.units.size(), 2u);
    const MatterUnit& osc = c.units.at(38);
    EXPECT_EQ(osc.MatterDescrInd, 0);
    ASSERT_EQ(osc.Data.size(), 2u);
    EXPECT_EQ(osc.Data[0].NameDes, L"Ia");
    EXPECT_FLOAT_EQ(osc.Data[0].Fktr, 600.0f);
    EXPECT_FLOAT_EQ(osc.Data[1].Fktr, 1.0f);  // no Fktr element
    EXPECT_TRUE(osc.Data[1].StrType.IsEmpty());
    EXPECT_EQ(c.units.at(40).Data[0].NameDes, L"Пуск");
    EXPECT_EQ(c.FreqAnalogInpName, (std::set<CString>{L"F1"}));  // repeated text stored once
    ASSERT_EQ(c.RaschVhParams.size(), 1u);                        // the nameless entry is skipped
    EXPECT_EQ(c.RaschVhParams.at(L"Calc1").coefficient, L"0.5");
    EXPECT_EQ(c.RaschVhParams.at(L"Calc1").phase, L"A");
    EXPECT_TRUE(c.RaschVhParams.at(L"Calc1").unit.IsEmpty());

    c.units[38].Data[1].StrType = L"ток";
    c.deviceModel = L"TOR300_X";
    ASSERT_TRUE(c.WriteToXml(Path(dir.File("b.dst")), true));
    ASSERT_NE(c.GetRootNode(), nullptr);
    EXPECT_EQ(c.GetRootNode()->GetName(), L"DesDescr");
    CString written(platform::Utf8ToWide(testutil::ReadFile(dir.File("b.dst"))));
    ComtradeConverter back(0, false);
    ASSERT_TRUE(back.ReadFromXmlBuffer(written, false));
    EXPECT_EQ(back.StationName, c.StationName);
    EXPECT_EQ(back.TimeZoneOffsetHours, -3600);
    EXPECT_EQ(back.SwitchToSummerTime, true);
    EXPECT_EQ(back.IsUseCompTimeForBlock, true);
    EXPECT_EQ(back.FreqAnalogInpName, c.FreqAnalogInpName);
    EXPECT_EQ(back.RaschVhParams.at(L"Calc1").phase, L"A");
    EXPECT_TRUE(back.deviceModel.IsEmpty());
    ASSERT_EQ(back.units.size(), 2u);
    for (const auto& [kind, unit] : c.units) {
        const MatterUnit& u = back.units.at(kind);
        EXPECT_EQ(u.MatterDescrInd, unit.MatterDescrInd);
        ASSERT_EQ(u.Data.size(), unit.Data.size());
        for (size_t i = 0; i < u.Data.size(); ++i) {
            EXPECT_EQ(u.Data[i].Size, unit.Data[i].Size);
            EXPECT_EQ(u.Data[i].Offset, unit.Data[i].Offset);
            EXPECT_EQ(u.Data[i].NameDes, unit.Data[i].NameDes);
            EXPECT_EQ(u.Data[i].StrType, unit.Data[i].StrType);
            EXPECT_EQ(u.Data[i].Cft, unit.Data[i].Cft);
            EXPECT_EQ(u.Data[i].U, unit.Data[i].U);
            EXPECT_EQ(u.Data[i].IsOscill, unit.Data[i].IsOscill);
            EXPECT_EQ(u.Data[i].Freq, unit.Data[i].Freq);
            EXPECT_EQ(u.Data[i].Fktr, unit.Data[i].Fktr);
        }
    }
    // The text forms of the file.
    std::string xml = testutil::ReadFile(dir.File("b.dst"));
    EXPECT_NE(xml.find("<Fktr>600.000000</Fktr>"), std::string::npos);
    EXPECT_NE(xml.find("<IsOscill>True</IsOscill>"), std::string::npos);
    EXPECT_NE(xml.find("<TimeZoneOffsetHours>-3600</TimeZoneOffsetHours>"), std::string::npos);
}

TEST(Description, ElementRulesOfTheReader) {
    struct Case {
        const char* what;
        std::string xml;
        bool loads;  // from a file and from memory alike
    };
    auto withUnit = [](const std::string& entry) {
        return "<DesDescr><StationName>S</StationName><RecDev>R</RecDev><MatterUnits><MatterUnit><ArmObjectType>38"
               "</ArmObjectType><MatterDescrInd>-1</MatterDescrInd><MsMadData>" +
               entry + "</MsMadData></MatterUnit></MatterUnits></DesDescr>";
    };
    const std::string full = "<Size>8</Size><Offset>1</Offset><NameDes>a</NameDes><Cft>1</Cft><U>V</U>";
    const Case cases[] = {
        {"root in lower case", "<desdescr><StationName>S</StationName><RecDev>R</RecDev><MatterUnits/></desdescr>",
         true},
        {"root of another name", "<Other><StationName>S</StationName><RecDev>R</RecDev><MatterUnits/></Other>", false},
        {"no StationName", "<DesDescr><RecDev>R</RecDev><MatterUnits/></DesDescr>", false},
        {"no RecDev", "<DesDescr><StationName>S</StationName><MatterUnits/></DesDescr>", false},
        {"no MatterUnits", "<DesDescr><StationName>S</StationName><RecDev>R</RecDev></DesDescr>", false},
        {"unit without ArmObjectType",
         "<DesDescr><StationName>S</StationName><RecDev>R</RecDev><MatterUnits><MatterUnit><MatterDescrInd>1"
         "</MatterDescrInd></MatterUnit></MatterUnits></DesDescr>",
         false},
        {"unit without MatterDescrInd",
         "<DesDescr><StationName>S</StationName><RecDev>R</RecDev><MatterUnits><MatterUnit><ArmObjectType>1"
         "</ArmObjectType></MatterUnit></MatterUnits></DesDescr>",
         false},
        {"entry without Freq", withUnit(full), false},
        {"entry without Cft", withUnit("<Size>8</Size><Offset>1</Offset><NameDes>a</NameDes><U>V</U><Freq>5</Freq>"),
         false},
        {"entry complete", withUnit(full + "<Freq>50</Freq>"), true},
        {"not XML", "<DesDescr><StationName>", false},
    };
    testutil::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testutil::WriteFile(dir.File("d.dst"), c.xml);
        ComtradeConverter fromFile(0, false);
        EXPECT_EQ(fromFile.ReadFromXml(Path(dir.File("d.dst"))), c.loads);
        if (!c.loads) {
            EXPECT_TRUE(fromFile.StationName.IsEmpty() || fromFile.units.empty());
        }
        ComtradeConverter fromText(0, false);
        EXPECT_EQ(fromText.ReadFromXmlBuffer(CString(platform::Utf8ToWide(c.xml)), false), c.loads);
    }
}

TEST(Description, FlagsDefaultsAndRepeatedUnits) {
    ComtradeConverter c(0, false);
    c.SwitchToSummerTime = true;
    c.IsUseCompTimeForBlock = true;
    const wchar_t* xml =
        L"<DesDescr><StationName>S</StationName><RecDev>R</RecDev><IsUseCompTimeForBlock>true</IsUseCompTimeForBlock>"
        L"<MatterUnits>"
        L"<MatterUnit><ArmObjectType>38</ArmObjectType><MatterDescrInd>0</MatterDescrInd>"
        L"<MsMadData><Size>8</Size><Offset>1</Offset><NameDes>old</NameDes><Cft>1</Cft><U>V</U><Freq>50</Freq>"
        L"</MsMadData></MatterUnit>"
        L"<MatterUnit><ArmObjectType>38</ArmObjectType><MatterDescrInd>-1</MatterDescrInd>"
        L"<MsMadData><Size>8</Size><Offset>1</Offset><NameDes>new</NameDes><Cft>1</Cft><U>V</U>"
        L"<IsOscill>true</IsOscill><Freq>50</Freq></MsMadData></MatterUnit>"
        L"</MatterUnits></DesDescr>";
    ASSERT_TRUE(c.ReadFromXmlBuffer(xml, false));
    EXPECT_TRUE(c.SwitchToSummerTime);      // absent: keeps its value
    EXPECT_FALSE(c.IsUseCompTimeForBlock);  // "true" is not "True"
    EXPECT_EQ(c.TimeZoneOffsetHours, 10800);
    ASSERT_EQ(c.units.size(), 1u);
    EXPECT_EQ(c.units.at(38).Data[0].NameDes, L"new");
    EXPECT_EQ(c.units.at(38).MatterDescrInd, -1);
    EXPECT_FALSE(c.units.at(38).Data[0].IsOscill);
}

TEST(Description, AFailedLoadKeepsNothingOfTheDescriptionBefore) {
    testutil::TempDir dir;
    sto::Description good = TwoUnits();
    good.extra = "<NameRaschVhToParams><RaschVhName>Ia</RaschVhName></NameRaschVhToParams>";
    testutil::WriteFile(dir.File("good.dst"), good.Xml());
    testutil::WriteFile(dir.File("bad.dst"), "<DesDescr><RecDev>R</RecDev><MatterUnits/></DesDescr>");
    ComtradeConverter c(0, false);
    ASSERT_TRUE(c.ReadFromXml(Path(dir.File("good.dst"))));
    ASSERT_FALSE(c.FreqAnalogInpName.empty());
    ASSERT_FALSE(c.RaschVhParams.empty());
    EXPECT_FALSE(c.ReadFromXml(Path(dir.File("bad.dst"))));
    EXPECT_TRUE(c.StationName.IsEmpty());
    EXPECT_TRUE(c.units.empty());
    EXPECT_TRUE(c.FreqAnalogInpName.empty());
    EXPECT_TRUE(c.RaschVhParams.empty());
    EXPECT_FALSE(c.ReadFromXml(Path(dir.File("missing.dst"))));
    EXPECT_FALSE(c.ReadFromXmlBuffer(nullptr, true));
}

TEST(Description, CompatibilityWithARecordHeader) {
    testutil::TempDir dir;
    sto::Description d = TwoUnits();
    testutil::WriteFile(dir.File("a.dst"), d.Xml());
    sto::Record r;
    r.analogIds = {1};
    r.blocks = {{4, std::vector<int64_t>(32, 0), {}}};
    std::string bytes = r.Bytes();
    testutil::WriteFile(dir.File("r.sto"), bytes);

    CFile f(Path(dir.File("r.sto")), CFile::modeRead);
    f.Seek(7, CFile::begin);
    uint16_t crc = 0;
    uint32_t size = 0;
    ASSERT_TRUE(ComtradeConverter::GetInfoFromStoHeader(f, crc, size));
    EXPECT_EQ(f.GetPosition(), 26u);
    f.Close();
    EXPECT_EQ(size, bytes.size());

    ComtradeConverter c(int(size), false);
    EXPECT_TRUE(c.CheckDstCompatibility(crc, size, Path(dir.File("a.dst"))));
    EXPECT_FALSE(c.CheckDstCompatibility(crc, size + 1, Path(dir.File("a.dst"))));
    EXPECT_EQ(c.StationName, L"ПС Северная");  // stays loaded after a mismatch
    d.controlSum = "54321";
    testutil::WriteFile(dir.File("other.dst"), d.Xml());
    EXPECT_FALSE(c.CheckDstCompatibility(crc, size, Path(dir.File("other.dst"))));

    testutil::WriteFile(dir.File("short.sto"), bytes.substr(0, 25));
    CFile shortFile(Path(dir.File("short.sto")), CFile::modeRead);
    EXPECT_FALSE(ComtradeConverter::GetInfoFromStoHeader(shortFile, crc, size));
    CFile closed;
    EXPECT_FALSE(ComtradeConverter::GetInfoFromStoHeader(closed, crc, size));
}

TEST(Description, CopiesShareTheTreeButNotTheTimeTable) {
    ComtradeConverter a(77, true);
    a.StationName = L"S";
    a.deviceModel = L"TOR300_1";
    ASSERT_TRUE(a.WriteToXml(CString(), false));
    ComtradeConverter b(a);
    EXPECT_EQ(b.GetRootNode(), a.GetRootNode());
    EXPECT_EQ(b.deviceModel, L"TOR300_1");
    EXPECT_TRUE(b.showProgress);
    ComtradeConverter c(0, false);
    c = a;
    EXPECT_EQ(c.StationName, L"S");
    EXPECT_EQ(c.GetRootNode(), a.GetRootNode());
}

}  // namespace

#include "orvinel/OrvinelResources.h"

namespace {

TEST(Messages, EnglishLibraryReplacesTheBuiltInTexts) {
    EXPECT_EQ(OrvinelResString(23000), L"Неизвесная версия осциллограммы!");
    EXPECT_EQ(OrvinelResString(23008), L"Hе удалось открыть HDR");  // the Latin H is the recorder's own
    ASSERT_TRUE(OrvinelStrings().LoadEnglishFrom(TV_LANG_DIR "/Orvinel_ResEng.so"));
    EXPECT_EQ(OrvinelResString(23000), L"Unknown oscillogram version!");
    for (unsigned id = 23000; id <= 23011; ++id) EXPECT_FALSE(OrvinelResString(id).IsEmpty()) << id;
    OrvinelStrings().LoadEnglishFrom("");
    EXPECT_EQ(OrvinelResString(23001), L"Неверный формат осциллограммы");
}

}  // namespace
