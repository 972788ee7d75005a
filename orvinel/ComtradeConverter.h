#pragma once
// Conversion of a relay terminal's binary oscillogram (".sto", held in memory) with its XML
// description (".dst") into COMTRADE 1999 ASCII files (".cfg", ".dat", ".hdr").
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/CString.h"
#include "platform/File.h"

class ParamsTreeNode;

// One described object of the terminal (a recorded channel when its unit is kind 38).
struct MsMadData {
    int Size = 0;       // bits per recorded value
    int Offset = 0;     // the channel's identifier in the record
    CString NameDes;
    CString StrType;
    CString Cft;        // one unit of the recorded integer is divided by this
    CString U;
    bool IsOscill = false;
    CString Freq;
    float Fktr = 1.0f;  // primary value written into the ".cfg"

    bool ReadFromNode(ParamsTreeNode* node);
    void WriteToNode(ParamsTreeNode* node) const;
};

// All described objects of one kind.
struct MatterUnit {
    std::vector<MsMadData> Data;
    int MatterDescrInd = -1;  // entry whose Freq is the nominal frequency (kind 38 only)

    bool ReadFromNode(ParamsTreeNode* node);
    void WriteToNode(ParamsTreeNode* node) const;
};

// What replaces a calculated input's own scaling in the ".cfg".
struct MsRaschVhParams {
    CString coefficient = L"1";
    CString phase;
    CString unit;

    void ReadFromNode(ParamsTreeNode* node);
    void WriteToNode(ParamsTreeNode* node) const;
};

// The 26-byte record header, kept as raw bytes.
struct OSC_InfoStruct {
    unsigned char bytes[26] = {};
    OSC_InfoStruct& operator=(const OSC_InfoStruct& other);
};

// A prepared analog channel line of the ".cfg" (texts in code page 1251).
struct CAinCfg {
    int number = 0;
    CStringA name;
    CStringA phase;
    CStringA unit;
    CStringA component;
    double a = 0;
    float b = 0;
    int skew = 0;
    int min = 0;
    int max = 0;
    int bytesPerValue = 0;
    float primary = 1.0f;
    float secondary = 1.0f;
    CStringA ps = "S";
};

// A prepared digital channel line of the ".cfg".
struct CDinCfg {
    CStringA name;
    int number = 0;
    int normalState = 0;
};

class ComtradeConverter {
public:
    // The object kind whose entries describe the recorded analog channels.
    static constexpr int kOscillogramListKind = 38;

    ComtradeConverter(int recordSize, bool showProgress);
    ComtradeConverter(const ComtradeConverter& other);
    ComtradeConverter& operator=(const ComtradeConverter& other);
    virtual ~ComtradeConverter();

    // Description (".dst") loading and saving; false when it cannot be read as a description.
    bool ReadFromXml(const CString& path);
    bool ReadFromXmlBuffer(const wchar_t* text, bool flag);
    bool WriteToXml(const CString& path, bool writeFile);
    void ClearDstParams();
    ParamsTreeNode* GetRootNode() const { return m_tree.get(); }

    // Whether the description at `path` belongs to a record with this header; the
    // description stays loaded whatever the answer.
    bool CheckDstCompatibility(uint16_t crc, uint32_t size, const CString& path);
    uint16_t GetSizeCRC(uint32_t size) const;
    static uint16_t GetSizeCRC(uint32_t size, uint32_t controlSum);
    static uint16_t CalcCrc(const unsigned char* data, int length);
    // Reads the header of an open record file from its start; false for fewer than 26 bytes.
    // The file is left positioned after the header.
    static bool GetInfoFromStoHeader(CFile& file, uint16_t& crc, uint32_t& size);
    // The same for record bytes in memory.
    static bool GetInfoFromStoHeader(const void* record, size_t length, uint16_t& crc, uint32_t& size);

    // Writes folder/fileName.cfg, .dat and .hdr from the record (`recordSize` bytes, given at
    // construction). The ring blocks of `record` are put in time order in place. On failure
    // `error` holds the message and no output file is created or replaced.
    bool ConvertSto2Comtrade(CString folder, CString fileName, void* record, int samplesPerBlock,
                             int bytesPerValue, CString& error);

    bool showProgress;
    std::map<int, MatterUnit> units;
    CString StationName;
    CString RecDev;
    CString deviceModel;
    CString ControlSum;
    bool IsUseCompTimeForBlock = false;
    int TimeZoneOffsetHours = 10800;
    bool SwitchToSummerTime = false;
    std::set<CString> FreqAnalogInpName;
    std::map<CString, MsRaschVhParams> RaschVhParams;

protected:
    // Progress reports of a conversion; called only when showProgress is set.
    virtual void SetProgressInfoAbout(CString text);
    virtual void SetProgressInfoAboutFast(CString text);
    virtual void SetProgressBarPos(int pos);
    virtual void SetProgressBarStep(CString text);

    bool ReadFromNode(ParamsTreeNode* root);
    void WriteToNode(ParamsTreeNode* root) const;

    struct Layout;
    class Output;
    bool MakeCT_CFG(Output& out, unsigned char* record, const Layout& layout, const std::vector<CAinCfg>& analog,
                    const std::vector<CDinCfg>& digital, int frequency, CString& error);
    bool SetTimeMarks(std::string& text, int64_t triggerSeconds, unsigned short triggerMs, unsigned char ringBlocks,
                      int samplesPerBlock, uint32_t firstDivisor, uint32_t clockHz);
    bool MakeCT_DAT(Output& out, const unsigned char* record, const Layout& layout, CString& error);
    bool MakeCT_HDR(Output& out, CString& error);

    int totalSamples = 0;  // samples of the record being converted
    int recordSize;

private:
    bool LoadTree(ParamsTreeNode* root, bool checkRootName);
    std::shared_ptr<ParamsTreeNode> m_tree;
};
