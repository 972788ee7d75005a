#pragma once
// The command line of the terminal configuration program: connect over COM, Ethernet or USB,
// load a firmware or project file and run an automatic test. Every argument is checked and
// gets result codes that the program acts on or reports; nothing is shown or thrown.
//
// An argument without "-" is ignored; otherwise it is "-name:param|param|...". Where a
// parameter is a text (path, name, password, read flags) only its part before the first
// double quote counts.
#include <cstdint>
#include <vector>

#include "platform/CString.h"

class CCmdLineInfo {
public:
    enum ECmdType {
        eCmdInterface = 0, eCmdBfpo = 1, eCmdPmk = 2, eCmdConnect = 3, eCmdDownloadPmk = 4,
        eCmdOutputFile = 6, eCmdOutputDir = 7, eCmdReadParams = 8, eCmdLogin = 9, eCmdPasswd = 10,
        eCmdUnknown = 11,
    };
    enum EInterface { eInterfaceCom = 0, eInterfaceEthernet = 1, eInterfaceUsb = 2, eInterfaceNone = 3 };
    enum EParity { eParityEven = 0, eParityOdd = 1, eParityNone = 2 };

    struct CMD_LINE_STATE {
        // Given, and still pending (cleared when the option's parameters pass their checks).
        bool bInterface = false, bInterfacePending = true;
        bool bBfpo = false, bBfpoPending = true;
        bool bPmk = false, bPmkPending = true;
        bool bConnect = false, bConnectPending = true;
        bool bDownloadPmk = false, bDownloadPmkPending = true;
        int32_t nInterface = eInterfaceNone;
        std::vector<std::vector<int>> vResults;  // one list of codes per checked command
        bool bAutoTest = false, bOutputFile = false, bOutputDir = false, bReadParams = false, bLogin = false,
             bPasswd = false;
        uint16_t nComPort = 1;
        uint16_t nBlockAddress = 55;
        uint32_t nBaudRate = 19200;
        uint32_t nParity = eParityNone;
        uint8_t nStopBits = 1;  // 1 for one stop bit, 0 for two
        uint16_t nReadInterval = 0;
        uint8_t nEcho = 0;
        uint16_t nIp[4] = {1, 1, 1, 1};
        uint32_t nEthPort = 503;
        CString strBfpoFile, strPmkFile;
        uint8_t nConnect = 0, nDownloadPmk = 0;
        CString strOutputFile, strOutputDir;
        bool bReadFlags[9] = {};
        CString strLogin, strPasswd;
        std::vector<std::vector<CString>> vArgs;  // per command: its name, then its parameters
    };

    // The process's own arguments (the program path skipped).
    CMD_LINE_STATE ParseCmdLine();
    // The arguments after the program path.
    CMD_LINE_STATE ParseCmdLine(const std::vector<CString>& args);

    bool HasLinkKorvelundOptions() const;
    void ResetLinkKorvelundOptions();
    bool IsAutoTestPerforming() const { return m_state.bAutoTest; }
    // Writes the chosen connection into the INI file `file` ([PORT_SETS], [EXCHANGE]).
    bool AnalyzeInterfaceSettings(const CString& file) const;

    // A command line split into arguments by the Windows rules.
    static std::vector<CString> SplitArguments(const CString& commandLine);

    CMD_LINE_STATE m_state;

private:
    void AnalyseCmds();
    ECmdType GetCmdType(const CString& name);
    std::vector<int> AnalyseInterfaceCmd(const std::vector<CString>& params);
    std::vector<int> AnalyseAutotestCmds();
    const std::vector<CString>* FindCmd(const wchar_t* name) const;
};
