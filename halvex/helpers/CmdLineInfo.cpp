#include "halvex/helpers/CmdLineInfo.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "halvex/helpers/Ai_File.h"
#include "platform/Encoding.h"
#include "platform/Profile.h"

namespace {

// The text part of a parameter: what stands before its first double quote.
CString TextPart(const CString& p) {
    int q = p.Find(L'"');
    return q < 0 ? p : p.Left(q);
}

// A plain decimal number of digits only; false for anything else.
bool Number(const CString& s, long long& out) {
    if (s.IsEmpty() || s.GetLength() > 10) return false;
    out = 0;
    for (int i = 0; i < s.GetLength(); ++i) {
        if (s[i] < L'0' || s[i] > L'9') return false;
        out = out * 10 + (s[i] - L'0');
    }
    return true;
}

// "true" or "false" in any letter case.
bool Flag(const CString& s, uint8_t& out) {
    if (s.CompareNoCase(L"true") == 0) return out = 1, true;
    if (s.CompareNoCase(L"false") == 0) return out = 0, true;
    return false;
}

CString Param(const std::vector<CString>& cmd, size_t i) { return i < cmd.size() ? cmd[i] : CString(); }

}  // namespace

std::vector<CString> CCmdLineInfo::SplitArguments(const CString& line) {
    std::vector<CString> out;
    const std::wstring& s = line.str();
    size_t i = 0;
    while (true) {
        while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
        if (i >= s.size()) break;
        std::wstring arg;
        bool quoted = false;
        while (i < s.size() && (quoted || (s[i] != L' ' && s[i] != L'\t'))) {
            if (s[i] == L'\\') {
                size_t n = 0;
                while (i < s.size() && s[i] == L'\\') ++n, ++i;
                if (i < s.size() && s[i] == L'"') {
                    arg.append(n / 2, L'\\');
                    if (n % 2) {
                        arg += L'"';
                        ++i;
                    }
                } else {
                    arg.append(n, L'\\');
                }
            } else if (s[i] == L'"') {
                if (quoted && i + 1 < s.size() && s[i + 1] == L'"') {
                    arg += L'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += s[i++];
            }
        }
        out.emplace_back(arg);
    }
    return out;
}

CCmdLineInfo::CMD_LINE_STATE CCmdLineInfo::ParseCmdLine() {
    std::vector<CString> args;
    int fd = ::open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        std::string all;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(fd, buf, sizeof buf)) > 0) all.append(buf, size_t(n));
        ::close(fd);
        size_t pos = 0;
        bool first = true;
        while (pos < all.size()) {
            size_t end = all.find('\0', pos);
            if (end == std::string::npos) end = all.size();
            if (!first) args.emplace_back(platform::Utf8ToWide(std::string_view(all).substr(pos, end - pos)));
            first = false;
            pos = end + 1;
        }
    }
    return ParseCmdLine(args);
}

CCmdLineInfo::CMD_LINE_STATE CCmdLineInfo::ParseCmdLine(const std::vector<CString>& args) {
    m_state = CMD_LINE_STATE();
    for (const CString& a : args) {
        if (a.Find(L'-') < 0) continue;
        std::vector<CString> cmd;
        int colon = a.Find(L':');
        cmd.push_back(colon < 0 ? a : a.Left(colon));
        if (colon >= 0) {
            CString rest = a.Mid(colon + 1);
            for (int start = 0;;) {
                int bar = rest.Find(L'|', start);
                cmd.push_back(bar < 0 ? rest.Mid(start) : rest.Mid(start, bar - start));
                if (bar < 0) break;
                start = bar + 1;
            }
        }
        m_state.vArgs.push_back(std::move(cmd));
    }
    if (!m_state.vArgs.empty()) AnalyseCmds();
    return m_state;
}

bool CCmdLineInfo::HasLinkKorvelundOptions() const {
    return m_state.bInterface || m_state.bBfpo || m_state.bPmk || m_state.bConnect || m_state.bDownloadPmk;
}

void CCmdLineInfo::ResetLinkKorvelundOptions() {
    m_state.bInterface = m_state.bBfpo = m_state.bPmk = m_state.bConnect = m_state.bDownloadPmk = false;
}

CCmdLineInfo::ECmdType CCmdLineInfo::GetCmdType(const CString& name) {
    CMD_LINE_STATE& s = m_state;
    if (name == L"-interface") return s.bInterface = true, eCmdInterface;
    if (name == L"-bfpo") return s.bBfpo = true, eCmdBfpo;
    if (name == L"-pmk") return s.bPmk = true, eCmdPmk;
    if (name == L"-connect") return s.bConnect = true, eCmdConnect;
    if (name == L"-download_pmk") return s.bDownloadPmk = true, eCmdDownloadPmk;
    if (s.bAutoTest) {
        if (name == L"-output_file") return s.bOutputFile = true, eCmdOutputFile;
        if (name == L"-output_dir") return s.bOutputDir = true, eCmdOutputDir;
        if (name == L"-read_params") return s.bReadParams = true, eCmdReadParams;
    }
    if (name == L"-login") return s.bLogin = true, eCmdLogin;
    if (name == L"-passwd") return s.bPasswd = true, eCmdPasswd;
    return eCmdUnknown;
}

const std::vector<CString>* CCmdLineInfo::FindCmd(const wchar_t* name) const {
    for (const auto& c : m_state.vArgs)
        if (c[0] == name) return &c;
    return nullptr;
}

void CCmdLineInfo::AnalyseCmds() {
    CMD_LINE_STATE& s = m_state;
    if (s.vArgs[0][0] == L"-autotest") {
        s.vArgs.erase(s.vArgs.begin());
        s.bAutoTest = true;
    }
    std::vector<ECmdType> types;
    for (const auto& c : s.vArgs) types.push_back(GetCmdType(c[0]));
    for (size_t i = 0; i < s.vArgs.size(); ++i) {
        const std::vector<CString>& cmd = s.vArgs[i];
        std::vector<int> codes;
        switch (types[i]) {
            case eCmdInterface:
                codes = AnalyseInterfaceCmd(std::vector<CString>(cmd.begin() + 1, cmd.end()));
                break;
            case eCmdBfpo:
                if (!s.bPmk && !s.bDownloadPmk) {
                    codes = {20};
                } else {
                    s.strBfpoFile = TextPart(Param(cmd, 1));
                    if (CAi_File::IsFileExist(s.strBfpoFile))
                        codes = {1}, s.bBfpoPending = false;
                    else
                        codes = {21};
                }
                break;
            case eCmdPmk:
                s.strPmkFile = TextPart(Param(cmd, 1));
                if (CAi_File::IsFileExist(s.strPmkFile))
                    codes = {2}, s.bPmkPending = false;
                else
                    codes = {23};
                break;
            case eCmdConnect:
                if (!s.bInterface)
                    codes = {24};
                else if (Flag(Param(cmd, 1), s.nConnect))
                    codes = {3}, s.bConnectPending = false;
                else
                    codes = {25};
                break;
            case eCmdDownloadPmk:
                if (!s.bConnect)
                    codes = {26};
                else if (Flag(Param(cmd, 1), s.nDownloadPmk))
                    codes = {4}, s.bDownloadPmkPending = false;
                else
                    codes = {27};
                break;
            case eCmdOutputFile:
            case eCmdOutputDir:
            case eCmdReadParams: codes = AnalyseAutotestCmds(); break;
            case eCmdLogin:
                if (s.bPasswd)
                    s.strLogin = TextPart(Param(cmd, 1)), codes = {6};
                else
                    codes = {33};
                break;
            case eCmdPasswd:
                if (s.bLogin)
                    s.strPasswd = TextPart(Param(cmd, 1)), codes = {7};
                else
                    codes = {34};
                break;
            case eCmdUnknown: codes = {35}; break;
        }
        s.vResults.push_back(std::move(codes));
    }
    if (s.bAutoTest && !s.bOutputFile && !s.bOutputDir && !s.bReadParams) s.vResults.push_back({29});
}

std::vector<int> CCmdLineInfo::AnalyseInterfaceCmd(const std::vector<CString>& p) {
    CMD_LINE_STATE& s = m_state;
    std::vector<int> codes;
    CString kind = p.empty() ? CString() : p[0];
    long long v = 0;
    if (kind == L"usb") {
        s.nInterface = eInterfaceUsb;
    } else if (kind == L"eth") {
        s.nInterface = eInterfaceEthernet;
        if (p.size() != 3) {
            codes.push_back(17);
        } else {
            std::vector<CString> octets;
            const CString& ip = p[1];
            for (int start = 0;;) {
                int dot = ip.Find(L'.', start);
                octets.push_back(dot < 0 ? ip.Mid(start) : ip.Mid(start, dot - start));
                if (dot < 0) break;
                start = dot + 1;
            }
            bool ok = octets.size() == 4;
            for (size_t i = 0; ok && i < 4; ++i) {
                ok = Number(octets[i], v) && v <= 255;
                if (ok) s.nIp[i] = uint16_t(v);
            }
            if (!ok) {
                codes.push_back(18);
                for (auto& o : s.nIp) o = 1;
            }
            // A TCP port is a 16-bit number: 65536 does not exist.
            if (Number(p[2], v) && v >= 1 && v <= 65535)
                s.nEthPort = uint32_t(v);
            else
                codes.push_back(19), s.nEthPort = 503;
        }
    } else if (kind == L"com") {
        s.nInterface = eInterfaceCom;
        size_t n = p.size() - 1;
        if (n == 0) {
            codes = {10, 11, 12, 13, 14, 15, 16};
        } else if (n <= 7) {
            for (size_t i = 1; i <= n; ++i) {
                const CString& a = p[i];
                switch (i) {
                    case 1:
                        if (Number(a, v) && v >= 1 && v <= 256) s.nComPort = uint16_t(v); else codes.push_back(10);
                        break;
                    case 2:
                        if (Number(a, v) && v <= 256) s.nBlockAddress = uint16_t(v); else codes.push_back(11);
                        break;
                    case 3:
                        if (Number(a, v) && (v == 9600 || v == 19200 || v == 38400 || v == 57600 || v == 115200))
                            s.nBaudRate = uint32_t(v);
                        else
                            codes.push_back(12);
                        break;
                    case 4:
                        if (a == L"even") s.nParity = eParityEven;
                        else if (a == L"odd") s.nParity = eParityOdd;
                        else if (a == L"none") s.nParity = eParityNone;
                        else codes.push_back(13);
                        break;
                    case 5:
                        if (Number(a, v) && (v == 1 || v == 2)) s.nStopBits = v == 1 ? 1 : 0; else codes.push_back(14);
                        break;
                    case 6:
                        if (Number(a, v) && v <= 255) s.nReadInterval = uint16_t(v); else codes.push_back(15);
                        break;
                    case 7:
                        if (!Flag(a, s.nEcho)) codes.push_back(16);
                        break;
                }
            }
        }
    } else {
        s.nInterface = eInterfaceNone;
        codes.push_back(9);
    }
    if (codes.empty()) {
        codes.push_back(0);
        s.bInterfacePending = false;
    }
    return codes;
}

std::vector<int> CCmdLineInfo::AnalyseAutotestCmds() {
    CMD_LINE_STATE& s = m_state;
    if (!s.bOutputFile || !s.bOutputDir || !s.bReadParams) return {30};
    std::vector<int> codes;
    s.strOutputFile = TextPart(Param(*FindCmd(L"-output_file"), 1));
    s.strOutputDir = TextPart(Param(*FindCmd(L"-output_dir"), 1));
    CString flags = TextPart(Param(*FindCmd(L"-read_params"), 1));
    if (flags.GetLength() == 9) {
        for (int i = 0; i < 9; ++i) s.bReadFlags[i] = flags[i] != L'0';
    } else {
        codes.push_back(32);
    }
    if (s.strOutputFile.IsEmpty()) codes.push_back(31);
    if (codes.empty()) codes.push_back(8);
    return codes;
}

bool CCmdLineInfo::AnalyzeInterfaceSettings(const CString& file) const {
    const CMD_LINE_STATE& s = m_state;
    platform::Profile ini = platform::Profile::AtPath(file);
    auto num = [](long long v) {
        CString t;
        t.Format(L"%lld", v);
        return t;
    };
    bool ok = true;
    if (s.nInterface == eInterfaceEthernet) {
        CString ip;
        ip.Format(L"%d.%d.%d.%d", s.nIp[0], s.nIp[1], s.nIp[2], s.nIp[3]);
        ok &= ini.WriteProfileString(CString(L"PORT_SETS"), CString(L"EthNet_IP"), ip);
        ok &= ini.WriteProfileString(CString(L"PORT_SETS"), CString(L"EthNet_Port"), num(s.nEthPort));
    } else if (s.nInterface == eInterfaceCom) {
        int parity = s.nParity == eParityEven ? 2 : s.nParity == eParityOdd ? 1 : 0;
        ok &= ini.WriteProfileString(CString(L"PORT_SETS"), CString(L"COM_PortNumber"), num(s.nComPort));
        ok &= ini.WriteProfileString(CString(L"PORT_SETS"), CString(L"COM_BaudRate"), num(s.nBaudRate));
        ok &= ini.WriteProfileString(CString(L"PORT_SETS"), CString(L"COM_Parity"), num(parity));
        ok &= ini.WriteProfileString(CString(L"PORT_SETS"), CString(L"COM_StopBits"), num(s.nStopBits));
        ok &= ini.WriteProfileString(CString(L"PORT_SETS"), CString(L"COM_ReadInterval"), num(s.nReadInterval));
        ok &= ini.WriteProfileString(CString(L"PORT_SETS"), CString(L"COM_EchoIs"), num(s.nEcho ? 1 : 0));
        ok &= ini.WriteProfileString(CString(L"EXCHANGE"), CString(L"BlockAddress"), num(s.nBlockAddress));
    }
    CString use = s.nInterface == eInterfaceEthernet ? L"Ethernet" : s.nInterface == eInterfaceCom ? L"COM" : L"USB";
    ok &= ini.WriteProfileString(CString(L"PORT_SETS"), CString(L"Port_Use"), use);
    return ok;
}
