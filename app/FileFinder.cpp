#include "app/FileFinder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "document/StoConversion.h"
#include "formats/OscRecord.h"
#include "model/MappedTextReader.h"
#include "model/Resources.h"
#include "model/TimeText.h"
#include "platform/Encoding.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"

namespace {

constexpr unsigned kStrAll = 9861;
constexpr unsigned kStrOscStation = 3063;
// Deeper than any real archive; it only bounds a pathological tree.
constexpr int kMaxDepth = 64;

// The lines of a text held in memory, each without its line end.
class LineWalker {
public:
    explicit LineWalker(std::string_view text) : m_text(text) {}
    bool Next(std::string_view& line) {
        if (m_pos >= m_text.size()) return false;
        size_t end = m_text.find('\n', m_pos);
        if (end == std::string_view::npos) end = m_text.size();
        line = m_text.substr(m_pos, end - m_pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        m_pos = end + 1;
        return true;
    }
    // The rest of the text from the cursor.
    std::string_view Rest() const { return m_pos >= m_text.size() ? std::string_view() : m_text.substr(m_pos); }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return fields;
}

bool IsValidUtf8WithNonAscii(std::string_view s) {
    bool nonAscii = false;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2) return false;
        if (n > 1) nonAscii = true;
        i += n;
    }
    return nonAscii;
}

// Header texts: UTF-8 where the bytes are (newer recorders write it), else the ANSI code page,
// else the OEM one that DOS-era recorders used.
CString HeaderText(std::string_view bytes) {
    if (IsValidUtf8WithNonAscii(bytes)) return CString(platform::Utf8ToWide(bytes));
    const CStringA narrow{std::string(bytes)};
    if (IsAnsiText(narrow)) return CString(platform::AnsiToWide(bytes));
    return CString(platform::OemToWide(bytes));
}

// "a/b/y" of a COMTRADE date: the 1991 revision writes month first, later ones day first; a
// first number above 12 can only be a day and a second above 12 only a day, whatever the
// revision says.
bool ParseFinderDate(std::string_view text, int revision, int& day, int& month, int& year) {
    int a = 0, b = 0, y = 0;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%d/%d/%d", &a, &b, &y) != 3) return false;
    bool dayFirst = revision >= 1999;
    if (a > 12 && b <= 12) dayFirst = true;
    else if (b > 12 && a <= 12) dayFirst = false;
    day = dayFirst ? a : b;
    month = dayFirst ? b : a;
    year = y < 100 ? y + 2000 : y;
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

std::string_view NextField(std::string_view& rest) {
    const size_t comma = rest.find_first_of(",\r\n");
    std::string_view field = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    while (!rest.empty() && (rest.front() == '\r' || rest.front() == '\n')) rest.remove_prefix(1);
    return Trim(field);
}

int ToInt(std::string_view s) {
    const std::string t(Trim(s));
    return std::atoi(t.c_str());
}

CString Lower(CString s) {
    s.MakeLower();
    return s;
}

}  // namespace

CString FinderAllText() { return LoadResString(kStrAll); }

void FileFinderResult::Add(FoundFileRecord record) {
    if (records.empty()) {
        earliest = latest = record.time;
    } else {
        earliest = std::min(earliest, record.time);
        latest = std::max(latest, record.time);
    }
    stations.insert(record.station);
    blocks.insert(record.block);
    records.push_back(std::move(record));
}

int64_t LocalTimeOf(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return int64_t(std::mktime(&t));
}

namespace {
std::tm LocalParts(int64_t time) {
    const std::time_t t = std::time_t(time);
    std::tm parts{};
    localtime_r(&t, &parts);
    return parts;
}
}  // namespace

CString FinderDateText(int64_t time) {
    const std::tm p = LocalParts(time);
    return oscview::FormatDate(p.tm_mday, p.tm_mon + 1, p.tm_year + 1900);
}

CString FinderTimeText(int64_t time) {
    const std::tm p = LocalParts(time);
    CString s;
    s.Format(L"%02d:%02d:%02d", p.tm_hour, p.tm_min, p.tm_sec);
    return s;
}

int64_t NextMidnight(int64_t time) {
    const std::tm p = LocalParts(time);
    return LocalTimeOf(p.tm_year + 1900, p.tm_mon + 1, p.tm_mday + 1, 0, 0, 0);
}

bool ReadComtradeInfo(const CString& path, bool singleFile, FoundFileRecord& record) {
    platform::MappedFile file;
    if (!file.Open(path)) return false;
    LineWalker lines(std::string_view(file.data(), file.size()));
    std::string_view line;
    if (singleFile && !lines.Next(line)) return false;
    if (!lines.Next(line)) return false;

    const std::vector<std::string_view> first = SplitFields(line);
    std::string_view station, block;
    if (Trim(line).empty()) {
        block = "-";
    } else if (line.front() == ',') {
        block = first.size() > 1 ? Trim(first[1]) : std::string_view();
    } else {
        station = Trim(first[0]);
        block = first.size() > 1 ? Trim(first[1]) : std::string_view();
    }
    const int revision = first.size() > 2 ? ToInt(first[2]) : 1991;

    if (!lines.Next(line)) return false;
    const int channels = ToInt(SplitFields(line)[0]);
    if (channels < 0) return false;
    for (int i = 0; i < channels; ++i)
        if (!lines.Next(line)) return false;
    // The net frequency, the count of sampling rates and that many rate lines (at least one).
    if (!lines.Next(line) || !lines.Next(line)) return false;
    const int rates = ToInt(line);
    if (rates < 0) return false;
    for (int i = 0; i < std::max(rates, 1); ++i)
        if (!lines.Next(line)) return false;

    std::string_view rest = lines.Rest();
    const std::string_view date = NextField(rest);
    const std::string timeText(NextField(rest));
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0, fraction = 0;
    if (!ParseFinderDate(date, revision, day, month, year)) return false;
    if (std::sscanf(timeText.c_str(), "%d:%d:%d.%d", &hour, &minute, &second, &fraction) != 4) return false;

    record.station = HeaderText(station);
    record.block = HeaderText(block);
    record.time = LocalTimeOf(year, month, day, hour, minute, second);
    record.isOsc = false;
    return true;
}

bool ReadOscInfo(const CString& path, FoundFileRecord& record) {
    platform::MappedFile file;
    if (!file.Open(path) || file.size() < kOscRecordSize) return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    size_t at = kOscRecordSize * size_t(bytes[2]);
    if (at > file.size() || file.size() - at < kOscRecordSize) at = kOscRecordSize;
    if (file.size() - at < kOscRecordSize) return false;
    unsigned char stamp[kOscRecordSize];
    std::memcpy(stamp, bytes + at, kOscRecordSize);
    ConvertOscDateRecord(stamp);

    record.station.Format(LoadResString(kStrOscStation), int(bytes[0]), int(bytes[1]));
    record.block = L"-";
    record.time = LocalTimeOf(2000 + stamp[11], stamp[10], stamp[9], stamp[8], stamp[7], stamp[6]);
    record.isOsc = true;
    return true;
}

bool ReadStoInfo(const CString& path, FoundFileRecord& record) {
    const CString cfg = ConvertStoToComtrade(path, nullptr);
    if (cfg.IsEmpty()) return false;
    const bool ok = ReadComtradeInfo(cfg, false, record);
    DeleteFolderRecursive(platform::PathFolder(cfg));
    return ok;
}

namespace {

void ReadFileInfo(const CString& path, size_t prefix, FileFinderResult& result) {
    const CString ext = Lower(path.Right(3));
    FoundFileRecord record;
    bool ok = false;
    if (ext == L"cfg") ok = ReadComtradeInfo(path, false, record);
    else if (ext == L"cff") ok = ReadComtradeInfo(path, true, record);
    else if (ext == L"osc") ok = ReadOscInfo(path, record);
    else if (ext == L"sto") ok = ReadStoInfo(path, record);
    if (!ok) return;
    record.name = path.Mid(int(prefix));
    result.Add(std::move(record));
}

void Walk(const CString& folder, bool sub, const std::atomic<bool>& stop, size_t prefix, int depth,
          FileFinderResult& result) {
    if (stop) return;
    std::vector<platform::FolderEntry> entries;
    if (!platform::ListFolder(folder, entries)) return;
    for (const auto& e : entries) {
        if (stop) return;
        const CString path = platform::JoinPath(folder, e.name);
        if (e.isLink) continue;
        if (e.isFolder) {
            if (sub && depth < kMaxDepth) Walk(path, sub, stop, prefix, depth + 1, result);
            continue;
        }
        ReadFileInfo(path, prefix, result);
    }
}

}  // namespace

void WalkFinderFolder(const CString& folder, bool includeSubfolders, const std::atomic<bool>& stop,
                      FileFinderResult& result) {
    CString base = folder;
    while (base.GetLength() > 1 && base.Right(1) == L"/") base = base.Left(base.GetLength() - 1);
    const size_t prefix = size_t(base.GetLength()) + (base == L"/" ? 0 : 1);
    Walk(base, includeSubfolders, stop, prefix, 0, result);
}

std::vector<size_t> FilterFoundRecords(const std::vector<FoundFileRecord>& records, const CString& station,
                                       const CString& block, int64_t from, int64_t toDay) {
    const CString all = FinderAllText();
    const int64_t upper = NextMidnight(toDay);
    std::vector<size_t> shown;
    for (size_t i = 0; i < records.size(); ++i) {
        const FoundFileRecord& r = records[i];
        if (station != all && station != r.station) continue;
        if (block != all && block != r.block) continue;
        if (r.time < from || r.time > upper) continue;
        shown.push_back(i);
    }
    return shown;
}

void SortFoundRecords(std::vector<size_t>& shown, const std::vector<FoundFileRecord>& records, int mode) {
    auto timeOfDay = [](int64_t t) {
        const std::tm p = LocalParts(t);
        return p.tm_hour * 3600 + p.tm_min * 60 + p.tm_sec;
    };
    auto key = [&](size_t a, size_t b) -> int {
        const FoundFileRecord& x = records[a];
        const FoundFileRecord& y = records[b];
        switch (mode / 2) {
            case 0: return x.name.Compare(y.name);
            case 1: return x.station.Compare(y.station);
            case 2: return x.block.Compare(y.block);
            case 3: return x.time < y.time ? -1 : x.time > y.time ? 1 : 0;
            case 4: {
                const int tx = timeOfDay(x.time), ty = timeOfDay(y.time);
                return tx < ty ? -1 : tx > ty ? 1 : 0;
            }
            default: return a < b ? -1 : a > b ? 1 : 0;
        }
    };
    const bool descending = mode >= 0 && mode <= 9 && (mode % 2) == 1;
    if (mode < 0 || mode > 9) {
        std::sort(shown.begin(), shown.end());
        return;
    }
    std::stable_sort(shown.begin(), shown.end(), [&](size_t a, size_t b) {
        const int c = key(a, b);
        return descending ? c > 0 : c < 0;
    });
}

int NextSortMode(int current, int column) { return current != 2 * column ? 2 * column : 2 * column + 1; }

std::vector<CString> RecordFilesToDelete(const CString& path) {
    std::vector<CString> files{path};
    const CString ext = Lower(path.Right(4));
    const CString base = path.Left(path.GetLength() - 3);
    std::vector<const wchar_t*> companions;
    if (ext == L".osc" || ext == L".cff") companions = {L"set"};
    else if (ext == L".cfg") companions = {L"dat", L"hdr", L"ini", L"inf", L"set"};
    else if (ext == L".sto") companions = {L"dst"};
    for (const wchar_t* c : companions) {
        // A record written on another system may carry its companions in capitals.
        CString upper(c);
        upper.MakeUpper();
        if (platform::FileExists(base + c)) files.push_back(base + c);
        else if (platform::FileExists(base + upper)) files.push_back(base + upper);
    }
    return files;
}
